#pragma once
// For tests and benchmarks only: the saver screen painted with other ways of fitting and
// drawing its texts, to compare PaintSaverScreen with, and a paint that searches again.
#include "display/saver_display.h"

// Forgets the remembered heights, so the next paint searches (as for a new item).
void ForgetSaverFits();

// How a paint chooses the font heights and draws a text at one: PaintSaverScreen's
// way, or another to compare it with. `draw` draws at 0, y wrapping at the width.
struct ScreenTextWays {
    std::function<HeaderFit(const DisplayText& text, int windowHeight)> fit_header;
    std::function<ItemFit(const DisplayText& text, int startHeight, int freeHeight)> fit_item;
    std::function<void(const DisplayText& text, int fontHeight, int y)> draw;
};
// The saver screen as PaintSaverScreen lays it out and paints it, with other ways of
// fitting and drawing its texts.
SaverScreenLayout PaintSaverScreenWith(HDC dc, int width, int height, const SaverScreen& screen,
                                       const std::function<int()>& random, const ScreenTextWays& ways);
