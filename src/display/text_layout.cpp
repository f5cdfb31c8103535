#include "display/text_layout.h"

#include <algorithm>
#include <vector>

LayoutResult LayoutText(CharCanvas& canvas, int x0, int y0, int right, const DisplayText& text, int advancePercent,
                        bool draw) {
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

int LastLineFill(const LayoutResult& m, int width) { return width > 0 ? m.last_line_width * 100 / width : 0; }

namespace {

// The largest x in [yes, no) for which `holds` is true, where it is true at `yes`,
// false at `no` and changes once in between; neither bound is asked (either may lie
// outside what can be measured). `guess(yes, no)` estimates that x cheaply: the first
// probes take the guess, or the value beside `yes` when the guess is `yes` itself, so a
// good guess ends the search in two probes; then the bracket is halved, so a poor
// guess costs only a few probes more than a bisection.
int LastHolding(int yes, int no, const std::function<bool(int)>& holds, const std::function<int(int, int)>& guess) {
    for (int probe = 0; no - yes > 1; ++probe) {
        int x = probe < 4 ? guess(yes, no) : yes + (no - yes) / 2;
        x = std::min(std::max(x, yes + 1), no - 1);
        if (holds(x))
            yes = x;
        else
            no = x;
    }
    return yes;
}

// A guess for LastHolding: the largest x in [yes, no) whose estimate holds, found by
// halving (the estimates cost no measuring).
std::function<int(int, int)> GuessBy(std::function<bool(int)> estimateHolds) {
    return [estimateHolds = std::move(estimateHolds)](int yes, int no) {
        int lo = yes, hi = no - 1;
        while (lo < hi) {
            const int mid = lo + (hi - lo + 1) / 2;
            if (estimateHolds(mid))
                lo = mid;
            else
                hi = mid - 1;
        }
        return lo;
    };
}

// The choice of a fuller last line, for fonts whose characters do not get smaller as
// the font grows: from the fit height down to three quarters of it, in steps of 2, a
// smaller font that still fits, with at most one line less, that fills the last line
// better (a tie keeps the larger height). With narrower characters the greedy wrap
// puts at least as much on every line, so over the falling candidate heights the
// number of lines never rises and the text never grows; and between two heights with
// the same number of lines, the last line of the smaller is an end of the larger's
// last line in narrower characters: it fills no better. So of the heights that keep
// the fit's line count none fills better than the fit, of those with one line less the
// largest fills best, and the search stops below them: only the largest candidate with
// fewer lines than the fit can be chosen, and that is found by a search for where the
// line count falls.
ItemFit FullerLastLine(int fit, const LayoutResult& atFit, int freeHeight, int width, const MeasureAtHeight& measure,
                       const MeasureAtHeight& estimate) {
    std::vector<int> heights = {fit};  // the fit, then the candidates, falling
    for (int h = fit - 1; h > fit * 75 / 100 && h >= 1; h -= 2) heights.push_back(h);
    const int count = int(heights.size());
    const auto keepsLines = [&](const LayoutResult& r) { return r.lines >= atFit.lines; };
    const int lastKeeping = LastHolding(
        0, count, [&](int i) { return keepsLines(measure(heights[i])); },
        GuessBy([&](int i) { return keepsLines(estimate(heights[i])); }));
    const ItemFit atFitChosen = {fit, atFit.bottom};
    if (lastKeeping + 1 == count) return atFitChosen;
    const int h = heights[lastKeeping + 1];
    const LayoutResult m = measure(h);
    const bool better =
        m.bottom <= freeHeight && m.lines == atFit.lines - 1 && LastLineFill(m, width) > LastLineFill(atFit, width);
    return better ? ItemFit{h, m.bottom} : atFitChosen;
}

}  // namespace

ItemFit FitItemFast(int startHeight, int freeHeight, int width, const MeasureAtHeight& measure,
                    const MeasureAtHeight& estimate) {
    const auto fits = [freeHeight](const LayoutResult& r) { return r.bottom <= freeHeight; };
    // 0 stands for "no height fits", which ends at 1 as the full search does.
    const int fit = std::max(1, LastHolding(
                                    0, std::max(1, startHeight) + 1, [&](int h) { return fits(measure(h)); },
                                    GuessBy([&](int h) { return fits(estimate(h)); })));
    const LayoutResult r = measure(fit);
    // On one line, a smaller font only shortens the line: it never fills it better.
    if (r.lines == 1) return {fit, r.bottom};
    return FullerLastLine(fit, r, freeHeight, width, measure, estimate);
}

int ItemTop(int freeHeight, int textHeight, int headerSpace, const std::function<int()>& random) {
    const int room = freeHeight - textHeight;
    const int y = room > 0 ? random() % room : 0;
    return headerSpace > 0 ? y + headerSpace : y;
}
