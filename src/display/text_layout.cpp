#include "display/text_layout.h"

#include <algorithm>
#include <cmath>
#include <vector>

LayoutResult LayoutText(CharCanvas& canvas, int x0, int y0, int right, const DisplayText& text,
                        int advancePercent, bool draw) {
    int x = x0, y = y0, lineHeight = 0, lines = 1;
    std::vector<PlacedChar> line;  // drawn whole when it ends
    for (std::uint32_t code : text) {
        if (x == x0 && code == 0x20) continue;  // no line starts with a space
        const CharSize size = canvas.Measure(code);
        if (x + size.cx > right) {
            if (draw && !line.empty()) canvas.DrawLine(y, line);
            line.clear();
            y += lineHeight;
            lineHeight = 0;
            ++lines;
            x = x0;
            if (code == 0x20 || code == 0xA4) continue;  // dropped at the break
        }
        lineHeight = std::max(lineHeight, size.cy);
        if (draw) line.push_back({x, code});
        x += size.cx * advancePercent / 100;
    }
    if (draw && !line.empty()) canvas.DrawLine(y, line);
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

// The same choice as PreferFullerLastLine for fonts whose characters do not get
// smaller as the font grows, measuring far fewer heights. With narrower characters the
// greedy wrap puts at least as much on every line, so over the falling heights the
// number of lines never rises and the text never grows; and between two heights with
// the same number of lines, the last line of the smaller is an end of the larger's
// last line in narrower characters: it fills no better. So between two measured
// heights with equal line counts nothing can be chosen, and only where the count
// changes are the heights in between measured, by halving. A height whose text is too
// tall, or has lost more than one line, ends the search as before.
class FullerLastLineSearch {
public:
    FullerLastLineSearch(int fit, const LayoutResult& atFit, int freeHeight, int width, const MeasureAtHeight& measure)
        : freeHeight_(freeHeight), width_(width), minLines_(atFit.lines - 1), measure_(measure) {
        heights_.push_back(fit);
        for (int h = fit - 1; h > fit * 75 / 100 && h >= 1; h -= 2) heights_.push_back(h);
        layouts_.resize(heights_.size());
        layouts_[0] = atFit;
        chosen_ = {fit, atFit.bottom};
        bestFill_ = LastLineFill(atFit, width);
    }

    // The smallest candidate first: when it keeps the fit's line count, so do all, and
    // none fills better. Otherwise probes 1, 2, 4, 8... candidates down, so that a text
    // whose line count soon falls too far (the search's end) costs a few heights, and
    // fills in between the probes.
    ItemFit Choose() {
        const std::size_t last = heights_.size() - 1;
        if (last == 0) return chosen_;
        Consider(last);
        if (layouts_[last].lines == layouts_[0].lines) return chosen_;
        for (std::size_t done = 0, step = 1; done < last; step *= 2) {
            const std::size_t next = std::min(done + step, last);
            Consider(next);
            Between(done, next);
            if (layouts_[next].lines < minLines_) break;  // and so are all smaller heights
            done = next;
        }
        return chosen_;
    }

private:
    bool Allowed(const LayoutResult& m) const { return m.bottom <= freeHeight_ && m.lines >= minLines_; }

    // Measures heights_[i] and takes it if it fills better than every larger height
    // taken so far; a tie keeps the larger height, whichever was measured first.
    void Consider(std::size_t i) {
        layouts_[i] = measure_(heights_[i]);
        const LayoutResult& m = layouts_[i];
        if (!Allowed(m)) return;
        const int fill = LastLineFill(m, width_);
        if (fill > bestFill_ || (fill == bestFill_ && heights_[i] > chosen_.font_height)) {
            bestFill_ = fill;
            chosen_ = {heights_[i], m.bottom};
        }
    }

    // The heights strictly between two measured ones.
    void Between(std::size_t lo, std::size_t hi) {
        if (hi - lo < 2 || layouts_[lo].lines == layouts_[hi].lines) return;
        const std::size_t mid = lo + (hi - lo) / 2;
        Consider(mid);
        Between(lo, mid);
        Between(mid, hi);
    }

    int freeHeight_, width_, minLines_;
    const MeasureAtHeight& measure_;
    std::vector<int> heights_;  // the fit, then the candidates, falling
    std::vector<LayoutResult> layouts_;
    ItemFit chosen_;
    int bestFill_;
};

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
            if (probe < 2 && last.bottom > 0 && freeHeight > 0) {
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
    return FullerLastLineSearch(fit, r, freeHeight, width, measure).Choose();
}

int ItemTop(int freeHeight, int textHeight, int headerSpace, const std::function<int()>& random) {
    const int room = freeHeight - textHeight;
    const int y = room > 0 ? random() % room : 0;
    return headerSpace > 0 ? y + headerSpace : y;
}
