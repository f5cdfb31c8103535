#pragma once
// Places text character by character: wraps at the right edge without regard to
// word boundaries and advances by a percentage of each character's width.
#include "display/display_codes.h"

#include <functional>

struct CharSize {
    int cx = 0;
    int cy = 0;
};

// Where the layout measures and draws one character (a display code).
class CharCanvas {
public:
    virtual ~CharCanvas() = default;
    virtual CharSize Measure(std::uint32_t code) = 0;
    virtual void Draw(int x, int y, std::uint32_t code) = 0;
};

struct LayoutResult {
    int last_line_width = 0;  // x - x0 after the last character
    int bottom = 0;           // y of the last line plus its height
    int lines = 1;
};

constexpr int kAdvancePercent = 94;

LayoutResult LayoutText(CharCanvas& canvas, int x0, int y0, int right, const DisplayText& text,
                        int advancePercent, bool draw);

// The layout of a text at a font height, measured without drawing.
using MeasureAtHeight = std::function<LayoutResult(int fontHeight)>;

struct HeaderFit {
    int font_height = 1;
    int height = 0;  // the text's bottom at that font height
};

// The header's font: from a twelfth of the window height down in steps of 2, on one
// line; when that cannot work above a twenty-sixth, 2.2 times larger on one more line.
HeaderFit FitHeader(int windowHeight, const MeasureAtHeight& measure);

struct ItemFit {
    int font_height = 1;
    int text_height = 0;
};

// The item's font: the largest height from `startHeight` down whose text fits the
// free height, then a somewhat smaller one if it fills the last line better.
ItemFit FitItem(int startHeight, int freeHeight, int width, const MeasureAtHeight& measure);
