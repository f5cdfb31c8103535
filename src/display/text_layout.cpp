#include "display/text_layout.h"

#include <algorithm>

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

HeaderFit FitHeader(int windowHeight, const MeasureAtHeight& measure) {
    const int floorHeight = windowHeight / 26;
    int fontHeight = std::max(1, windowHeight / 12);
    int allowedLines = 1;
    HeaderFit fit;
    // Each round shrinks the font or allows one more line. A text of n characters never
    // takes more than n + 1 lines, so once more are allowed than that, no size can match
    // exactly and the last size measured stands.
    for (;;) {
        const LayoutResult r = measure(fontHeight);
        fit = {fontHeight, r.bottom};
        if (r.lines == allowedLines || allowedLines > int(kMaxDisplayChars) + 1) break;
        fontHeight -= 2;
        if (fontHeight <= floorHeight) {
            ++allowedLines;
            fontHeight = std::max(1, fontHeight) * 220 / 100;
        }
    }
    return fit;
}

ItemFit FitItem(int startHeight, int freeHeight, int width, const MeasureAtHeight& measure) {
    int fit = std::max(1, startHeight);
    LayoutResult r = measure(fit);
    while (r.bottom > freeHeight && fit > 1) r = measure(--fit);

    auto fill = [width](const LayoutResult& m) { return width > 0 ? m.last_line_width * 100 / width : 0; };
    ItemFit chosen = {fit, r.bottom};
    int bestFill = fill(r);
    const int fitLines = r.lines;
    for (int h = fit - 1; h > fit * 75 / 100 && h >= 1; h -= 2) {
        const LayoutResult m = measure(h);
        if (m.bottom > freeHeight || m.lines < fitLines - 1) break;
        if (fill(m) > bestFill) {
            bestFill = fill(m);
            chosen = {h, m.bottom};
        }
    }
    return chosen;
}
