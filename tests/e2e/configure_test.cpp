// Configure mode from outside: the real kvt.scr /c under Wine and Xvfb, its
// settings dialog, and the kvtini.xml it leaves behind.
#include "config/settings_io.h"
#include "saver_process.h"
#include "screen_capture.h"
#include "test_paths.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {
// What SaveSettings writes for `s`: the file OK must leave behind.
std::string WriterOutput(const SaverSettings& s) {
    const SaverSettings kept = saverSettings;
    saverSettings = s;
    const std::string folder = MakeTempFolder("kvt-expected");
    EXPECT_EQ(SaveSettings((folder + "kvtini.xml").c_str()), 0);
    const std::string bytes = ReadFileBytes(folder + "kvtini.xml");
    RemoveFolder(folder);
    saverSettings = kept;
    return bytes;
}

SaverSettings Channels() {
    SaverSettings s;
    s.disp_header_title = false;
    s.disp_interval = 9;
    s.load_interval = 120;
    s.font_face = "IPAゴシック";
    const char* names[3] = {"速報 \"A\" & <B>", "", "天気"};
    for (int i = 0; i < 3; ++i) {
        SiteEntry e;
        e.title = names[i];
        e.link = "http://127.0.0.1:9/" + std::to_string(i) + ".rdf";
        e.description = i == 1 ? "" : "説明 'quoted'";
        e.check = i != 1;
        s.sites.push_back(e);
    }
    return s;
}

std::string TextOf(HWND w) {
    char buf[512] = "";
    SendMessageA(w, WM_GETTEXT, sizeof buf, LPARAM(buf));  // marshalled across processes
    return buf;
}

HWND OpenDialog(SaverRun& run) {
    EXPECT_TRUE(run.Start("/c"));
    HWND dialog = run.WaitForWindow("#32770");
    EXPECT_NE(dialog, nullptr);
    if (dialog) PumpFor(500);  // let it paint
    return dialog;
}

bool Ends(const SaverRun& run, DWORD* code) { return run.WaitForExit(15000, code); }
}  // namespace

TEST(Configure, ShowsTheDialogWithItsLabelsListAndLink) {
    SaverRun run(WriterOutput(Channels()));
    HWND dialog = OpenDialog(run);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(dialog), "KVT v1.0 設定");
    HWND list = GetDlgItem(dialog, 1000);
    HWND header = HWND(SendMessageA(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 3);

    Screenshot shot = CaptureScreen();
    shot.SaveBmp(BuildPath("e2e-configure-dialog.bmp"));
    RECT link;
    GetWindowRect(GetDlgItem(dialog, 1015), &link);
    EXPECT_GT(shot.Count(link, [](std::uint32_t c) { return c == 0x0000FF; }), 20) << "the link is blue";
    RECT whole;
    GetWindowRect(dialog, &whole);
    EXPECT_GT(shot.Count(whole, [](std::uint32_t c) { return Red(c) < 80 && Green(c) < 80 && Blue(c) < 80; }), 500)
        << "there is dark text";

    PostTo(dialog, WM_COMMAND, IDCANCEL);
    DWORD code = 1;
    EXPECT_TRUE(Ends(run, &code));
}

TEST(Configure, OkWithoutAFileWritesTheDefaultsAsTheWriterDoes) {
    SaverRun run;
    HWND dialog = OpenDialog(run);
    ASSERT_NE(dialog, nullptr);
    PostTo(dialog, WM_COMMAND, IDOK);
    DWORD code = 0;
    ASSERT_TRUE(Ends(run, &code));
    EXPECT_EQ(code, 1u);
    // Under Wine no Shift-JIS face reports the full name "ＭＳ Ｐゴシック", so the
    // list has no selection and the face is kept.
    EXPECT_EQ(ReadFileBytes(run.ConfigPath()), WriterOutput(SaverSettings()));
}

TEST(Configure, CancelAndTheCloseBoxLeaveTheFileAsItWas) {
    const std::string given = WriterOutput(Channels());
    for (bool closeBox : {false, true}) {
        for (bool hasFile : {true, false}) {
            SaverRun run(hasFile ? given : std::string());
            HWND dialog = OpenDialog(run);
            ASSERT_NE(dialog, nullptr);
            if (closeBox)
                PostTo(dialog, WM_SYSCOMMAND, SC_CLOSE);
            else
                PostTo(dialog, WM_COMMAND, IDCANCEL);
            DWORD code = 1;
            ASSERT_TRUE(Ends(run, &code)) << closeBox;
            EXPECT_EQ(code, 0u);
            if (hasFile)
                EXPECT_EQ(ReadFileBytes(run.ConfigPath()), given) << closeBox;
            else
                EXPECT_EQ(GetFileAttributesA(run.ConfigPath().c_str()), INVALID_FILE_ATTRIBUTES) << closeBox;
        }
    }
}

TEST(Configure, OkRewritesAGivenConfigurationByteForByte) {
    const std::string given = WriterOutput(Channels());
    SaverRun run(given);
    HWND dialog = OpenDialog(run);
    ASSERT_NE(dialog, nullptr);
    PostTo(dialog, WM_COMMAND, IDOK);
    DWORD code = 0;
    ASSERT_TRUE(Ends(run, &code));
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(ReadFileBytes(run.ConfigPath()), given);
}

TEST(Configure, ASecondStartShowsWhatWasSaved) {
    const SaverSettings channels = Channels();
    SaverRun run(WriterOutput(channels));
    HWND dialog = OpenDialog(run);
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, 1000);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), LRESULT(channels.sites.size()));
    SendMessageA(GetDlgItem(dialog, 1007), WM_SETTEXT, 0, LPARAM("17"));
    SendMessageA(GetDlgItem(dialog, 1006), WM_SETTEXT, 0, LPARAM("250"));
    SendMessageA(GetDlgItem(dialog, 1014), BM_CLICK, 0, 0);  // header title: off -> on
    SendMessageA(GetDlgItem(dialog, 1016), BM_CLICK, 0, 0);  // header date: on -> off
    PostTo(dialog, WM_COMMAND, IDOK);
    DWORD code = 0;
    ASSERT_TRUE(Ends(run, &code));
    EXPECT_EQ(code, 1u);

    SaverRun again(ReadFileBytes(run.ConfigPath()));
    dialog = OpenDialog(again);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, 1007)), "17");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, 1006)), "250");
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, 1014), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, 1016), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    list = GetDlgItem(dialog, 1000);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), LRESULT(channels.sites.size()));
    for (size_t i = 0; i < channels.sites.size(); ++i) {
        const LRESULT state = SendMessageA(list, LVM_GETITEMSTATE, WPARAM(i), LVIS_STATEIMAGEMASK) >> 12;
        EXPECT_EQ(state, channels.sites[i].check ? 2 : 1) << i;
    }
    PostTo(dialog, WM_COMMAND, IDCANCEL);
    EXPECT_TRUE(Ends(again, &code));
}
