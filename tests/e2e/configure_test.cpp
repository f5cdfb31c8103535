// Configure mode from outside: the real kvt.scr /c under Wine and Xvfb, its
// settings dialog, and the kvtini.xml it leaves behind.
#include "e2e.h"
#include "res/resource.h"
#include "test_paths.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {
SaverSettings Channels() {
    SaverSettings s =
        WithChannels({Channel("速報 \"A\" & <B>", "http://127.0.0.1:9/0.rdf"),
                      Channel("", "http://127.0.0.1:9/1.rdf", false), Channel("天気", "http://127.0.0.1:9/2.rdf")},
                     9, false);
    s.disp_header_date = true;
    s.load_interval = 120;
    s.font_face = "IPAゴシック";
    s.sites[0].description = s.sites[2].description = "説明 'quoted'";
    return s;
}

// Sets the display scaling (HKCU\Control Panel\Desktop LogPixels) that programs started
// while it lives take (Wine reads it when a process starts), then puts the previous
// value back, so every other test stays at 96 dpi.
class LogPixels {
public:
    explicit LogPixels(DWORD dpi) {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &key_, nullptr);
        DWORD size = sizeof old_;
        had_ = RegQueryValueExA(key_, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_), &size) ==
               ERROR_SUCCESS;
        RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    ~LogPixels() {
        if (had_)
            RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_), sizeof old_);
        else
            RegDeleteValueA(key_, "LogPixels");
        RegCloseKey(key_);
    }
    LogPixels(const LogPixels&) = delete;
    LogPixels& operator=(const LogPixels&) = delete;

private:
    HKEY key_ = nullptr;
    DWORD old_ = 0;
    bool had_ = false;
};

// Ends the dialog with `message` and returns the exit code (1 for OK, 0 otherwise).
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
        HWND dialog = OpenSettings(run);
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
            HWND dialog = OpenSettings(run, closeBox ? "/c:0" : "/c");
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(closeBox ? Close(run, dialog, WM_SYSCOMMAND, SC_CLOSE) : Close(run, dialog, WM_COMMAND, IDCANCEL),
                      0u);
            if (hasFile)
                EXPECT_EQ(ReadFileBytes(run.ConfigPath()), given);
            else
                EXPECT_EQ(GetFileAttributesA(run.ConfigPath().c_str()), INVALID_FILE_ATTRIBUTES);
        }
    }
    // What the commands change is the dialog's until OK.
    for (WORD command : {ID_CHANNEL_ENABLE, ID_CHANNEL_DELETE}) {
        SCOPED_TRACE(command);
        SaverRun run(given);
        HWND dialog = OpenSettings(run);
        ASSERT_NE(dialog, nullptr);
        HWND list = GetDlgItem(dialog, IDC_CHANNEL_LIST);
        SendMessageA(dialog, WM_COMMAND, ID_SELECT_ALL, 0);
        SendMessageA(dialog, WM_COMMAND, command, 0);
        if (command == ID_CHANNEL_DELETE)
            EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 0);
        else
            EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK) >> 12, 2) << "the second is on";
        EXPECT_EQ(Close(run, dialog, WM_COMMAND, IDCANCEL), 0u);
        EXPECT_EQ(ReadFileBytes(run.ConfigPath()), given);
    }
}

TEST(Configure, ShowsTheDialogAndASecondStartShowsWhatWasSaved) {
    const SaverSettings channels = Channels();
    SaverRun run(ConfigFile(channels));
    HWND dialog = OpenSettings(run);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), "KVT v1.0 設定");
    const Screenshot shot = CaptureSettingsDialog(dialog);
    ASSERT_FALSE(shot.pixels.empty()) << "the dialog never painted its link and labels";
    shot.SaveBmp(BuildPath("e2e-configure-dialog.bmp"));

    SendMessageA(GetDlgItem(dialog, IDC_DISP_INTERVAL), WM_SETTEXT, 0, LPARAM("17"));
    SendMessageA(GetDlgItem(dialog, IDC_LOAD_INTERVAL), WM_SETTEXT, 0, LPARAM("250"));
    SendMessageA(GetDlgItem(dialog, IDC_HEADER_TITLE), BM_CLICK, 0, 0);  // off -> on
    SendMessageA(GetDlgItem(dialog, IDC_HEADER_DATE), BM_CLICK, 0, 0);   // on -> off
    ASSERT_EQ(Close(run, dialog, WM_COMMAND, IDOK), 1u);

    SaverRun again(ReadFileBytes(run.ConfigPath()));
    dialog = OpenSettings(again);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(GetDlgItem(dialog, IDC_DISP_INTERVAL)), "17");
    EXPECT_EQ(Text(GetDlgItem(dialog, IDC_LOAD_INTERVAL)), "250");
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

// At 150 % the whole dialog is larger, its columns half as wide again as at 100 %,
// and the link as large as the labels' text. The screenshot is left as
// e2e-configure-dialog-144dpi.bmp.
TEST(Configure, At150PercentTheColumnsAndTheLinkGrowWithTheDialog) {
    struct Seen {
        std::string widths;
        int dialogWidth = 0, linkHeight = 0;
    };
    auto open = [](DWORD dpi) {
        Seen seen;
        SaverRun run(ConfigFile(Channels()));
        HWND dialog;
        {
            LogPixels scaling(dpi);
            dialog = OpenSettings(run);
        }
        if (!dialog) return seen;
        HWND list = GetDlgItem(dialog, IDC_CHANNEL_LIST);
        for (int i = 0; i < 3; ++i)
            seen.widths += std::to_string(SendMessageA(list, LVM_GETCOLUMNWIDTH, WPARAM(i), 0)) + " ";
        RECT r;
        GetWindowRect(dialog, &r);
        seen.dialogWidth = r.right - r.left;
        GetWindowRect(GetDlgItem(dialog, IDC_LINK), &r);
        seen.linkHeight = r.bottom - r.top;
        CaptureScreen().SaveBmp(BuildPath("e2e-configure-dialog-" + std::to_string(dpi) + "dpi.bmp"));
        Close(run, dialog, WM_COMMAND, IDCANCEL);
        return seen;
    };
    const Seen normal = open(96), scaled = open(144);
    EXPECT_EQ(normal.widths, "150 300 500 ");
    EXPECT_EQ(scaled.widths, "225 450 750 ");
    EXPECT_GT(scaled.dialogWidth * 10, normal.dialogWidth * 14) << "the dialog itself scales";
    EXPECT_GT(scaled.linkHeight * 10, normal.linkHeight * 14) << normal.linkHeight << " -> " << scaled.linkHeight;
}
