// Configure mode from outside: the real kvt.scr /c under Wine and Xvfb, its
// settings dialog, and the kvtini.xml it leaves behind.
#include "e2e.h"
#include "res/resource.h"
#include "test_paths.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {
SaverSettings Channels() {
    SaverSettings s = WithChannels({Channel("速報 \"A\" & <B>", "http://127.0.0.1:9/0.rdf"),
                                    Channel("", "http://127.0.0.1:9/1.rdf", false),
                                    Channel("天気", "http://127.0.0.1:9/2.rdf")},
                                   9, false);
    s.disp_header_date = true;
    s.load_interval = 120;
    s.font_face = "IPAゴシック";
    s.sites[0].description = s.sites[2].description = "説明 'quoted'";
    return s;
}

std::string TextOf(HWND w) {
    char buf[512] = "";
    SendMessageA(w, WM_GETTEXT, sizeof buf, LPARAM(buf));  // marshalled across processes
    return buf;
}

HWND OpenDialog(SaverRun& run, const std::string& arguments = "/c") {
    EXPECT_TRUE(run.Start(arguments));
    HWND dialog = run.WaitForWindow("#32770");
    EXPECT_NE(dialog, nullptr);
    if (dialog) PumpFor(500);  // let it paint
    return dialog;
}

// Ends the dialog with `message` and returns the exit code (0 for OK, 1 otherwise).
DWORD Close(SaverRun& run, HWND dialog, UINT message, WPARAM wParam) {
    PostTo(dialog, message, wParam);
    DWORD code = 99;
    EXPECT_TRUE(run.WaitForExit(15000, &code));
    return code;
}
}  // namespace

TEST(Configure, OkRewritesAGivenFileByteForByteOrWritesTheDefaults) {
    const std::string given = ConfigFile(Channels());
    for (bool hasFile : {true, false}) {
        SCOPED_TRACE(hasFile ? "given" : "none");
        SaverRun run(hasFile ? given : std::string());
        HWND dialog = OpenDialog(run);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Close(run, dialog, WM_COMMAND, IDOK), 1u);
        // Under Wine no Shift-JIS face reports the full name "ＭＳ Ｐゴシック", so the
        // list has no selection and the face is kept.
        EXPECT_EQ(ReadFileBytes(run.ConfigPath()), hasFile ? given : ConfigFile(SaverSettings()));
    }
}

TEST(Configure, CancelAndTheCloseBoxLeaveTheFileAsItWas) {
    const std::string given = ConfigFile(Channels());
    for (bool closeBox : {false, true}) {
        for (bool hasFile : {true, false}) {
            SCOPED_TRACE(std::string(closeBox ? "close box" : "Cancel") + (hasFile ? ", given" : ", none"));
            SaverRun run(hasFile ? given : std::string());
            HWND dialog = OpenDialog(run, closeBox ? "/c:0" : "/c");
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(closeBox ? Close(run, dialog, WM_SYSCOMMAND, SC_CLOSE) : Close(run, dialog, WM_COMMAND, IDCANCEL),
                      0u);
            if (hasFile)
                EXPECT_EQ(ReadFileBytes(run.ConfigPath()), given);
            else
                EXPECT_EQ(GetFileAttributesA(run.ConfigPath().c_str()), INVALID_FILE_ATTRIBUTES);
        }
    }
}

TEST(Configure, ShowsTheDialogAndASecondStartShowsWhatWasSaved) {
    const SaverSettings channels = Channels();
    SaverRun run(ConfigFile(channels));
    HWND dialog = OpenDialog(run);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(dialog), "KVT v1.0 設定");
    Screenshot shot = CaptureScreen();
    shot.SaveBmp(BuildPath("e2e-configure-dialog.bmp"));
    RECT link, whole;
    GetWindowRect(GetDlgItem(dialog, IDC_LINK), &link);
    GetWindowRect(dialog, &whole);
    EXPECT_GT(shot.Count(link, [](std::uint32_t c) { return c == 0x0000FF; }), 20) << "the link is blue";
    EXPECT_GT(shot.Count(whole, [](std::uint32_t c) { return Red(c) < 80 && Green(c) < 80 && Blue(c) < 80; }), 500)
        << "there is dark text";

    SendMessageA(GetDlgItem(dialog, IDC_DISP_INTERVAL), WM_SETTEXT, 0, LPARAM("17"));
    SendMessageA(GetDlgItem(dialog, IDC_LOAD_INTERVAL), WM_SETTEXT, 0, LPARAM("250"));
    SendMessageA(GetDlgItem(dialog, IDC_HEADER_TITLE), BM_CLICK, 0, 0);  // off -> on
    SendMessageA(GetDlgItem(dialog, IDC_HEADER_DATE), BM_CLICK, 0, 0);   // on -> off
    ASSERT_EQ(Close(run, dialog, WM_COMMAND, IDOK), 1u);

    SaverRun again(ReadFileBytes(run.ConfigPath()));
    dialog = OpenDialog(again);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_DISP_INTERVAL)), "17");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_LOAD_INTERVAL)), "250");
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_HEADER_TITLE), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_HEADER_DATE), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    HWND list = GetDlgItem(dialog, IDC_CHANNEL_LIST);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), LRESULT(channels.sites.size()));
    for (size_t i = 0; i < channels.sites.size(); ++i) {
        const LRESULT state = SendMessageA(list, LVM_GETITEMSTATE, WPARAM(i), LVIS_STATEIMAGEMASK) >> 12;
        EXPECT_EQ(state, channels.sites[i].check ? 2 : 1) << i;
    }
    Close(again, dialog, WM_COMMAND, IDCANCEL);
}
