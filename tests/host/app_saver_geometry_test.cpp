#include "app/saver_geometry.h"

#include <gtest/gtest.h>

namespace {
std::string Text(const ScreenRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}
}  // namespace

// The window covers the virtual screen; the saver screen is the primary monitor's
// rectangle in the window's client coordinates.
TEST(SaverGeometry, ShowModeCoversEveryMonitorAndPaintsOnThePrimary) {
    const ScreenRect primary = {0, 0, 1280, 720};
    const struct {
        const char* name;
        ScreenRect virtualScreen;
        const char* window;
        const char* paint;
    } cases[] = {
        {"one monitor", {0, 0, 1280, 720}, "0,0-1280,720", "0,0-1280,720"},
        {"second on the right", {0, 0, 2560, 720}, "0,0-2560,720", "0,0-1280,720"},
        {"second on the left, higher", {-1920, -360, 1280, 720}, "-1920,-360-1280,720", "1920,360-3200,1080"},
        {"size unknown", {0, 0, 0, 0}, "0,0-1280,720", "0,0-1280,720"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SaverGeometry g = ShowGeometry(c.virtualScreen, primary);
        EXPECT_EQ(Text(g.window), c.window);
        EXPECT_EQ(Text(g.paint), c.paint);
    }
    const SaverGeometry preview = PreviewGeometry(152, 112);
    EXPECT_EQ(Text(preview.window), "0,0-152,112");
    EXPECT_EQ(Text(preview.paint), "0,0-152,112");
}
