// The channel list from the keyboard in the real kvt.scr /c: real input from xdotool,
// where the menu opens, where the focus is left, and the kvtini.xml saved after OK.
#include "e2e.h"
#include "res/resource.h"
#include "test_paths.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>

namespace {
// "A b": channel a enabled, then channel b disabled.
std::vector<SiteEntry> Sites(const std::string& names) {
    std::vector<SiteEntry> sites;
    for (char c : names) {
        const std::string name(1, char(std::tolower(c)));
        if (c != ' ') sites.push_back(Channel(name.c_str(), "http://127.0.0.1:1/" + name, c != name[0]));
    }
    return sites;
}

HWND FocusIn(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}
}  // namespace

TEST(ChannelKeys, TheMenuKeysDeleteAndCtrlAActOnTheListAndLeaveTheFocusInIt) {
    const int kNoMenu = -3, kAtCursor = -2, kCorner = -1;
    const struct {
        const char* input;   // xdotool commands; @N is a point of row N, @6 lies below the rows
        int menuAt;          // the row the menu opens under, or kCorner, kAtCursor, kNoMenu
        const char* choice;  // the key then pressed in the menu
        const char* saved;   // the channels saved after OK
        int focused;         // the list's focused row before OK
    } cases[] = {
        // A right click opens one menu: the Return for OK below would choose from a second.
        {"mousemove @0 click 1 click 3", kAtCursor, "u", "a b C d E", 0},
        // Under the focused row rather than the first selected one.
        {"mousemove @0 click 1 keydown ctrl mousemove @2 click 1 keyup ctrl key shift+F10", 2, "u", "a b c d E", 2},
        // After a delete, the row that took the place of the first deleted one.
        {"mousemove @1 click 1 keydown ctrl mousemove @3 click 1 keyup ctrl key Menu", 3, "d", "A C E", 1},
        {"mousemove @4 click 1 key Delete", kNoMenu, "", "A b C d", 3},
        {"mousemove @6 click 1 key Delete Menu", kCorner, "Escape", "A b C d E", -1},
        {"mousemove @6 click 1 key ctrl+a Menu", 0, "c", "A B C D E", -1},
        // b dragged onto e: Delete leaves e, which only marks the drop.
        {"mousemove @1 click 1 sleep 0.6 mousedown 1 sleep 0.2 mousemove @2 sleep 0.1 mousemove @3 sleep 0.1 "
         "mousemove @4 sleep 0.1 key Delete mouseup 1",
         kNoMenu, "", "A C d E b", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        SaverRun run(ConfigFile(WithChannels(Sites("A b C d E"))));
        HWND dialog = OpenSettings(run);
        ASSERT_NE(dialog, nullptr);
        HWND list = GetDlgItem(dialog, IDC_CHANNEL_LIST);
        std::string input = "xdotool ";
        for (const char* p = c.input; *p; ++p) input += *p == '@' ? RowPoint(list, *++p - '0') : std::string(1, *p);
        ASSERT_TRUE(RunUnix(input));
        if (c.menuAt != kNoMenu) {
            HWND menu = nullptr;
            ASSERT_TRUE(PumpUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }));
            RECT r;
            GetWindowRect(menu, &r);
            POINT corner = {0, 0};
            ClientToScreen(list, &corner);
            EXPECT_TRUE(c.menuAt != kCorner || (r.left == corner.x && r.top == corner.y)) << r.left << "," << r.top;
            EXPECT_TRUE(c.menuAt < 0 || std::abs(r.top - ListRow(list, c.menuAt).bottom) <= 2) << r.top;
            ASSERT_TRUE(RunUnix(std::string("xdotool key ") + c.choice));
            ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(menu); })) << "the menu stayed";
        }
        const std::vector<SiteEntry> saved = Sites(c.saved);
        auto focused = [&] { return SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED); };
        EXPECT_TRUE(PumpUntil([&] {
            return FocusIn(dialog) == list && focused() == c.focused &&
                   SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == LRESULT(saved.size());
        })) << "focus in "
            << FocusIn(dialog) << ", the list is " << list << ", row " << focused();
        ASSERT_TRUE(RunUnix("xdotool key Return"));  // the default button, OK
        DWORD code = 99;
        ASSERT_TRUE(run.WaitForExit(15000, &code));
        EXPECT_EQ(code, 1u);
        EXPECT_EQ(ReadFileBytes(run.ConfigPath()), ConfigFile(WithChannels(saved)));
    }
}
