#include "screen_reference.h"

#include "every_height_paint.h"
#include "test_paths.h"

Screenshot Reference(const SaverScreen& screen, int width, int height) {
    return PaintOffscreen(width, height, [&](HDC dc) {
        if (screen.item.empty())
            PaintTitleScreen(dc, width, height);
        else
            PaintSaverScreenEveryHeight(dc, width, height, screen, [] { return 0; });
    });
}

int FirstInkRow(const Screenshot& s) {
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if (s.At(x, y) != 0) return y;
    return -1;
}

namespace {
void Save(const Screenshot& shot, const std::string& name) { shot.SaveBmp(BuildPath("display-" + name + ".bmp")); }

}  // namespace

::testing::AssertionResult SameTextAt(const Screenshot& shot, const Screenshot& expected, const std::string& name) {
    Save(shot, name);
    const int a = FirstInkRow(shot), b = FirstInkRow(expected);
    if (a < 0 || b < 0) return ::testing::AssertionFailure() << "nothing on the screen";
    const int dy = a - b;
    int differing = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            const int from = y - dy;
            const std::uint32_t want = from >= 0 && from < expected.height ? expected.At(x, from) : 0;
            if (shot.At(x, y) != want) ++differing;
        }
    if (differing) {
        Save(expected, name + "-expected");
        return ::testing::AssertionFailure() << differing << " pixels differ (moved by " << dy << ")";
    }
    return ::testing::AssertionSuccess();
}
