#pragma once
// Places text character by character: wraps at the right edge without regard to
// word boundaries and advances by a percentage of each character's width. Also the
// searches that choose the font heights of the header and of the item text.
#include "display/display_codes.h"

#include <functional>
#include <vector>

struct CharSize {
    int cx = 0;
    int cy = 0;
};

// A character of a line and where it starts.
struct PlacedChar {
    int x;
    std::uint32_t code;
};

// Where the layout measures and draws characters (display codes).
class CharCanvas {
public:
    virtual ~CharCanvas() = default;
    virtual CharSize Measure(std::uint32_t code) = 0;
    // Draws one laid-out line, its characters left to right.
    virtual void DrawLine(int y, const std::vector<PlacedChar>& line) = 0;
};

struct LayoutResult {
    int last_line_width = 0;  // x - x0 after the last character
    int bottom = 0;           // y of the last line plus its height
    int lines = 1;
};

constexpr int kAdvancePercent = 94;

LayoutResult LayoutText(CharCanvas& canvas, int x0, int y0, int right, const DisplayText& text, int advancePercent,
                        bool draw);

// The layout of a text at a font height, measured at 0, 0 without drawing.
using MeasureAtHeight = std::function<LayoutResult(int fontHeight)>;

struct HeaderFit {
    int font_height = 1;
    int height = 0;  // the text's bottom at that font height
};

// The header's font: from a twelfth of the window height down in steps of 2, on one
// line; when that cannot work above a twenty-sixth, 2.2 times larger on one more line.
// `textLength` (in characters) bounds the number of lines worth trying.
HeaderFit FitHeader(int windowHeight, std::size_t textLength, const MeasureAtHeight& measure);

// How full a layout's last line is, in percent of the width.
int LastLineFill(const LayoutResult& layout, int width);

struct ItemFit {
    int font_height = 1;
    int text_height = 0;
};

// The item's font: the largest height from `startHeight` down whose text fits the
// free height (1 at the least), then a somewhat smaller one if it fills the last line
// better. For fonts whose characters do not get smaller as the font grows, in a window
// at least as wide as each of the text's characters at the start height (then a larger
// font never makes the text shorter) this measures only a few heights: each search
// narrows a bracket of heights, probing where `estimate` (a cheap guess of the layout
// at a height, never exact) puts the answer and then the height beside it. The choice
// rests on measured layouts only; a poor estimate costs measurements, never a
// different choice. In a narrower window, where a character that cannot fit starts a
// line of its own and a space or comma there is dropped without taking any height, a
// larger font can make the text shorter, and the choice may differ from the one that
// trying every height makes (both fit).
ItemFit FitItemFast(int startHeight, int freeHeight, int width, const MeasureAtHeight& measure,
                    const MeasureAtHeight& estimate);

// The top of the item text: 0 when it fills the free height exactly (or cannot fit),
// else a random offset within the room left; below the header when that is at the
// top (`headerSpace` > 0). `random` is drawn only when there is room.
int ItemTop(int freeHeight, int textHeight, int headerSpace, const std::function<int()>& random);
