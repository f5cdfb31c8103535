// A user adds a channel through the channel editor of the real kvt.scr /c: the
// popup menu's new URL command, a typed address, the fetch test on screen, add, OK.
#include "e2e.h"
#include "feed_server.h"
#include "res/resource.h"
#include "test_paths.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {
HWND WaitForTopWindow(const char* className, const char* caption) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; PumpFor(50))
        if (HWND w = FindWindowA(className, caption); w && IsWindowVisible(w)) return w;
    return nullptr;
}

}  // namespace

TEST(ChannelEditorRun, ANewUrlIsTypedTriedAddedAndSaved) {
    const SaverSettings before = WithChannels({Channel("既存", "http://127.0.0.1:9/0.rdf", false)});
    SaverRun run(ConfigFile(before));
    HWND settings = OpenSettings(run);
    ASSERT_NE(settings, nullptr);

    // Right-click below the rows, then W for "新規URL(&W)".
    RECT r;
    GetWindowRect(GetDlgItem(settings, IDC_CHANNEL_LIST), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    ASSERT_NE(WaitForTopWindow("#32768", nullptr), nullptr) << "the popup menu";
    keybd_event('W', 0, 0, 0);
    keybd_event('W', 0, KEYEVENTF_KEYUP, 0);
    HWND editor = WaitForTopWindow("#32770", "新規ＵＲＬ");
    ASSERT_NE(editor, nullptr);

    const std::string url = FeedServerUrl("/feeds/utf8.xml");
    for (char c : url) PostTo(GetDlgItem(editor, IDC_EDITOR_URL), WM_CHAR, WPARAM(static_cast<unsigned char>(c)));
    PostTo(GetDlgItem(editor, IDC_EDITOR_FETCH_TEST), BM_CLICK);
    for (DWORD start = GetTickCount();
         Text(GetDlgItem(editor, IDC_EDITOR_CHANNEL_NAME)).empty() && GetTickCount() - start < 10000;)
        PumpFor(50);
    EXPECT_EQ(Text(GetDlgItem(editor, IDC_EDITOR_URL)), url);
    EXPECT_EQ(Text(GetDlgItem(editor, IDC_EDITOR_CHANNEL_NAME)), "文字コード UTF-8");
    EXPECT_EQ(SendMessageA(GetDlgItem(editor, IDC_EDITOR_CONTENT), LVM_GETITEMCOUNT, 0, 0), 2);
    GetWindowRect(GetDlgItem(editor, IDC_EDITOR_CONTENT), &r);
    const auto titlesShown = [&](const Screenshot& s) {
        return s.Count(r, [](std::uint32_t c) { return Red(c) < 80 && Green(c) < 80 && Blue(c) < 80; }) > 100;
    };
    const Screenshot shot = WaitForScreen(titlesShown);
    shot.SaveBmp(BuildPath("e2e-channel-editor.bmp"));
    EXPECT_TRUE(titlesShown(shot)) << "item titles on screen";

    PostTo(GetDlgItem(editor, IDOK), BM_CLICK);
    for (DWORD start = GetTickCount(); IsWindow(editor) && GetTickCount() - start < 10000;) PumpFor(50);
    EXPECT_FALSE(IsWindow(editor));
    PostTo(settings, WM_COMMAND, IDOK);
    DWORD code = 99;
    ASSERT_TRUE(run.WaitForExit(15000, &code));
    EXPECT_EQ(code, 1u);
    SaverSettings after = before;
    after.sites.push_back({"文字コード UTF-8", url, "日本語の説明：ソフトウェア、表示", true, {}});
    EXPECT_EQ(ReadFileBytes(run.ConfigPath()), ConfigFile(after));
}
