#include "display/text_layout.h"

#include <algorithm>
#include <cmath>

LayoutResult LayoutText(CharCanvas& canvas, int x0, int y0, int right, const DisplayText& text,
                        int advancePercent, bool draw) {
    int x = x0, y = y0, lineHeight = 0, lines = 1;
    for (std::uint32_t code : text) {
        if (x == x0 && code == 0x20) continue;  // no line starts with a space
        const CharSize size = canvas.Measure(code);
        if (x + size.cx > right) {
            y += lineHeight;
            lineHeight = 0;
            ++lines;
            x = x0;
            if (code == 0x20 || code == 0xA4) continue;  // dropped at the break
        }
        lineHeight = std::max(lineHeight, size.cy);
        if (draw) canvas.Draw(x, y, code);
        x += size.cx * advancePercent / 100;
    }
    return {x - x0, y + lineHeight, lines};
}

HeaderFit FitHeader(int windowHeight, std::size_t textLength, const MeasureAtHeight& measure) {
    const int floorHeight = windowHeight / 26;
    // Every character starts at most one new line, so more lines than this never come
    // out; once that many are allowed and none matched, the last size measured stands.
    const std::size_t maxLines = textLength + 1;
    int fontHeight = std::max(1, windowHeight / 12);
    std::size_t allowedLines = 1;
    HeaderFit fit;
    for (;;) {
        const LayoutResult r = measure(fontHeight);
        fit = {fontHeight, r.bottom};
        if (std::size_t(r.lines) == allowedLines || allowedLines >= maxLines) break;
        fontHeight -= 2;
        if (fontHeight <= floorHeight) {
            ++allowedLines;
            fontHeight = std::max(1, fontHeight) * 220 / 100;
        }
    }
    return fit;
}

namespace {

int LastLineFill(const LayoutResult& m, int width) { return width > 0 ? m.last_line_width * 100 / width : 0; }

// From the fit height down to three quarters of it, in steps of 2: a smaller font
// that still fits, with at most one line less, and fills the last line better.
ItemFit PreferFullerLastLine(int fit, const LayoutResult& atFit, int freeHeight, int width,
                             const MeasureAtHeight& measure) {
    ItemFit chosen = {fit, atFit.bottom};
    int bestFill = LastLineFill(atFit, width);
    for (int h = fit - 1; h > fit * 75 / 100 && h >= 1; h -= 2) {
        const LayoutResult m = measure(h);
        if (m.bottom > freeHeight || m.lines < atFit.lines - 1) break;
        const int fill = LastLineFill(m, width);
        if (fill > bestFill) {  // a tie keeps the larger height
            bestFill = fill;
            chosen = {h, m.bottom};
        }
    }
    return chosen;
}

}  // namespace

ItemFit FitItem(int startHeight, int freeHeight, int width, const MeasureAtHeight& measure) {
    int fit = std::max(1, startHeight);
    LayoutResult r = measure(fit);
    while (r.bottom > freeHeight && fit > 1) r = measure(--fit);
    return PreferFullerLastLine(fit, r, freeHeight, width, measure);
}

ItemFit FitItemFast(int startHeight, int freeHeight, int width, const MeasureAtHeight& measure) {
    int fit = std::max(1, startHeight);
    LayoutResult r = measure(fit);
    if (r.bottom > freeHeight && fit > 1) {
        // `tooTall` does not fit, nor does any height above it; `fits` fits, or is 0
        // while no height has been seen to fit (the search then ends at 1).
        int tooTall = fit, fits = 0;
        int lastHeight = fit;
        LayoutResult last = r;
        for (int probe = 0; tooTall - fits > 1; ++probe) {
            int h;
            if (probe < 4 && last.bottom > 0 && freeHeight > 0) {
                // The text's height grows about with the square of the font's (more
                // and taller lines): aim where that puts the free height.
                h = int(lastHeight * std::sqrt(double(freeHeight) / last.bottom));
                h = std::min(std::max(h, fits + 1), tooTall - 1);
            } else {
                h = fits + (tooTall - fits) / 2;
            }
            last = measure(h);
            lastHeight = h;
            if (last.bottom > freeHeight)
                tooTall = h;
            else
                fits = h;
        }
        fit = std::max(1, fits);
        r = measure(fit);
    }
    // On one line, a smaller font only shortens the line: it never fills it better.
    if (r.lines == 1) return {fit, r.bottom};
    return PreferFullerLastLine(fit, r, freeHeight, width, measure);
}

int ItemTop(int freeHeight, int textHeight, int headerSpace, const std::function<int()>& random) {
    const int room = freeHeight - textHeight;
    const int y = room > 0 ? random() % room : 0;
    return headerSpace > 0 ? y + headerSpace : y;
}
