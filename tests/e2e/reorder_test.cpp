// Reordering channels with a real mouse drag in the real kvt.scr /c, then the saved
// order in show mode. The mouse is driven with xdotool on the X display Wine draws on.
#include "display/saver_display.h"
#include "e2e.h"
#include "every_height_paint.h"
#include "res/resource.h"
#include "test_paths.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {
size_t FirstInk(const Screenshot& s) {
    return size_t(std::find_if(s.pixels.begin(), s.pixels.end(), [](std::uint32_t p) { return p; }) - s.pixels.begin());
}

// The screen shows channel `name`'s failure line, moved down by its random height.
bool ShowsFailureOf(const Screenshot& shot, const std::string& name) {
    std::map<std::uint32_t, int> counts;  // the text's own colour fills most of its ink
    for (std::uint32_t c : shot.pixels) counts[c] += c != 0;
    const std::uint32_t c =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    SaverScreen screen;
    screen.item = ToDisplayCodes("｢" + name + "｣の取得に失敗しました");
    screen.colour = RGB(Red(c), Green(c), Blue(c));
    screen.font_face = SaverSettings().font_face;
    const Screenshot want = PaintOffscreen(shot.width, shot.height, [&](HDC dc) {
        PaintSaverScreenEveryHeight(dc, shot.width, shot.height, screen, [] { return 0; });
    });
    const size_t a = FirstInk(shot) / size_t(shot.width), b = FirstInk(want) / size_t(want.width);
    if (!c || a < b) return false;
    const long shift = long(a - b) * shot.width;
    return std::equal(want.pixels.begin(), want.pixels.end() - shift, shot.pixels.begin() + shift);
}
}  // namespace

TEST(Reorder, ARealDragReordersTheSavedChannelsAndTheSaverShowsThemSo) {
    std::vector<SiteEntry> sites;  // nothing listens on port 1: each shows a line naming it
    for (int i = 0; i < 6; ++i)
        sites.push_back(Channel(("s" + std::to_string(i)).c_str(), "http://127.0.0.1:1/" + std::to_string(i)));
    SaverRun configure(ConfigFile(WithChannels(sites, 99, false)));
    HWND dialog = OpenSettings(configure);
    ASSERT_NE(dialog, nullptr);

    HWND list = GetDlgItem(dialog, IDC_CHANNEL_LIST);
    ASSERT_GT(ListRow(list, 0).bottom, ListRow(list, 0).top);
    auto row = [&](int i) { return RowPoint(list, i); };
    // Select s1 and s3, press on s1, move down row by row and let go on s4.
    std::string drag = "xdotool mousemove" + row(1) + " click 1 sleep 0.2 keydown ctrl mousemove" + row(3) +
                       " click 1 keyup ctrl sleep 0.6 mousemove" + row(1) + " mousedown 1 sleep 0.2";
    for (int i : {2, 3, 4}) drag += " mousemove" + row(i) + " sleep 0.1";
    ASSERT_TRUE(RunUnix(drag + " mouseup 1 sleep 0.3"));
    PostTo(dialog, WM_COMMAND, IDOK);
    ASSERT_TRUE(configure.WaitForExit(15000));
    std::vector<SiteEntry> moved;
    for (int i : {0, 2, 4, 1, 3, 5}) moved.push_back(sites[size_t(i)]);
    ASSERT_EQ(ReadFileBytes(configure.ConfigPath()), ConfigFile(WithChannels(moved, 99, false)));

    // Show mode on the saved file: a key leaves the title screen, Down moves on a channel.
    SaverRun show(ReadFileBytes(configure.ConfigPath()));
    HWND window = StartShow(show);
    ASSERT_NE(window, nullptr);
    for (const SiteEntry& channel : moved) {
        PostTo(window, WM_KEYDOWN, &channel == &moved.front() ? 'A' : VK_DOWN);
        bool shown = false;
        for (DWORD start = GetTickCount(); !shown && GetTickCount() - start < 5000;)
            shown = ShowsFailureOf(StableCapture(), channel.title);
        EXPECT_TRUE(shown) << channel.title;
    }
}
