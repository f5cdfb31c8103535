#include "screen_capture.h"

#include <gtest/gtest.h>

namespace {
bool White(std::uint32_t c) { return c == 0xFFFFFF; }
bool Black(std::uint32_t c) { return c == 0; }
bool Any(std::uint32_t) { return true; }
}  // namespace

// The screenshot helpers never read beyond the pixels a screenshot holds: one that could
// not be taken has no size, and what lies outside a screenshot is black.
TEST(ScreenCapture, NothingIsReadBeyondTheScreenshotsPixels) {
    const Screenshot none = PaintOffscreen(1 << 20, 1 << 20, [](HDC) {});  // terabytes: no bitmap
    EXPECT_EQ(none.width, 0);
    EXPECT_EQ(none.height, 0);
    EXPECT_EQ(none.Count(RECT{0, 0, 100, 100}, Any), 0);
    EXPECT_EQ(none.At(5, 5), 0u);

    const Screenshot white = PaintOffscreen(4, 3, [](HDC dc) { PatBlt(dc, 0, 0, 4, 3, WHITENESS); });
    ASSERT_EQ(white.Count(RECT{0, 0, 4, 3}, White), 12);
    EXPECT_EQ(white.At(-1, 0) | white.At(4, 0) | white.At(0, 3), 0u);
    const Screenshot part = Crop(white, RECT{2, 1, 6, 5});  // beyond the right and bottom edges
    EXPECT_EQ(part.width, 4);
    EXPECT_EQ(part.height, 4);
    EXPECT_EQ(part.Count(RECT{0, 0, 2, 2}, White), 4);
    EXPECT_EQ(part.Count(RECT{0, 0, 4, 4}, Black), 12) << "black beyond the screenshot";
    EXPECT_TRUE(Crop(white, RECT{3, 3, 1, 1}).pixels.empty());
}
