#include "every_height_fit.h"

#include <algorithm>

ItemFit FitItem(int startHeight, int freeHeight, int width, const MeasureAtHeight& measure) {
    int fit = std::max(1, startHeight);
    LayoutResult atFit = measure(fit);
    while (atFit.bottom > freeHeight && fit > 1) atFit = measure(--fit);

    ItemFit chosen = {fit, atFit.bottom};
    int bestFill = LastLineFill(atFit, width);
    for (int h = fit - 1; h > fit * 75 / 100 && h >= 1; h -= 2) {
        const LayoutResult m = measure(h);
        if (m.bottom > freeHeight || m.lines < atFit.lines - 1) break;
        const int fill = LastLineFill(m, width);
        if (fill > bestFill) {
            bestFill = fill;
            chosen = {h, m.bottom};
        }
    }
    return chosen;
}
