// Show mode on two monitors side by side, 800 x 600 each (see run.sh): the real
// kvt.scr covers both, keeps the second one black and lays the saver screen out on
// the primary one exactly as on a single monitor of its size.
#include "e2e.h"
#include "screen_reference.h"
#include "test_paths.h"

#include <gtest/gtest.h>

namespace {
const RECT kPrimary = {0, 0, 800, 600}, kSecond = {800, 0, 1600, 600};

BOOL CALLBACK CountMonitor(HMONITOR, HDC, LPRECT, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int Ink(const Screenshot& shot, const RECT& r) {
    return shot.Count(r, [](std::uint32_t c) { return c != 0; });
}
}  // namespace

// A fixed line without a header: on the primary monitor pixel for pixel what an
// 800 x 600 screen shows; items with a header: all of it on the primary monitor.
TEST(TwoMonitors, ShowModeCoversBothAndPaintsOnThePrimaryAlone) {
    int monitors = 0;
    EnumDisplayMonitors(nullptr, nullptr, CountMonitor, reinterpret_cast<LPARAM>(&monitors));
    ASSERT_EQ(monitors, 2) << "run by run.sh, with the stand-in libXinerama";
    ASSERT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1600);
    const std::string failure = "｢取得不能｣の取得に失敗しました";
    const struct {
        const char* name;
        SiteEntry channel;
        bool header;
    } cases[] = {
        // Nothing listens on port 1.
        {"failure", Channel("取得不能", "http://127.0.0.1:1/feed.xml"), false},
        {"items", Channel("RSS two", SourcePath("tests/fixtures/rss2.xml")), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SaverRun run(ConfigFile(WithChannels({c.channel}, 99, c.header)));
        HWND window = StartShow(run);
        ASSERT_NE(window, nullptr);
        RECT rect;
        GetWindowRect(window, &rect);
        const RECT both = {0, 0, 1600, 600};
        EXPECT_TRUE(EqualRect(&rect, &both));
        EXPECT_EQ(WindowFromPoint(POINT{1200, 300}), window) << "the second monitor is covered";

        const Screenshot shot = WaitForColour();
        shot.SaveBmp(BuildPath("display-two-monitors-" + std::string(c.name) + ".bmp"));
        EXPECT_GT(Ink(shot, kPrimary), 0);
        EXPECT_EQ(Ink(shot, kSecond), 0) << "the second monitor is black";
        if (!c.header) {
            SaverScreen expected;
            expected.item = ToDisplayCodes(failure);
            expected.colour = shot.At(0, 0);
            for (std::uint32_t p : shot.pixels)
                if (Red(p) + Green(p) + Blue(p) > Red(expected.colour) + Green(expected.colour) + Blue(expected.colour))
                    expected.colour = p;
            expected.colour = RGB(Red(expected.colour), Green(expected.colour), Blue(expected.colour));
            expected.font_face = SaverSettings().font_face;
            EXPECT_TRUE(SameTextAt(Crop(shot, kPrimary), Reference(expected, 800, 600), "two-monitors-primary"));
        }
    }
}
