#include "display/size_cache.h"
#include "display/text_layout.h"
#include "every_height_fit.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <vector>

namespace {

// A font whose characters are all `width` wide (spaces half that) and `height` high;
// it records what it draws.
struct FakeCanvas : CharCanvas {
    int width = 10, height = 12;
    std::map<std::uint32_t, int> widths;  // exceptions
    std::vector<std::vector<int>> drawn;  // x, y, code
    int measured = 0;
    CharSize Measure(std::uint32_t code) override {
        ++measured;
        auto found = widths.find(code);
        return {found != widths.end() ? found->second : code == 0x20 ? width / 2 : width, height};
    }
    void DrawLine(int y, const std::vector<PlacedChar>& line) override {
        for (const PlacedChar& c : line) drawn.push_back({c.x, y, int(c.code)});
    }
};

DisplayText Codes(const char* ascii) {
    DisplayText t;
    for (const char* p = ascii; *p; ++p) t.push_back(std::uint8_t(*p));
    return t;
}

TEST(LayoutText, EmptyTextIsOneLineOfNoHeight) {
    FakeCanvas c;
    const LayoutResult r = LayoutText(c, 0, 7, 100, {}, 94, true);
    EXPECT_EQ(r.last_line_width, 0);
    EXPECT_EQ(r.bottom, 7);
    EXPECT_EQ(r.lines, 1);
}

TEST(LayoutText, AdvancesBy94PercentTruncatedButWrapsOnTheFullWidth) {
    FakeCanvas c;
    c.width = 15;  // advances 14 (14.1 truncated)
    const LayoutResult r = LayoutText(c, 0, 0, 44, Codes("abcd"), 94, true);
    // 0, 14, 28: the third ends at 43; the fourth would end at 57 > 44 and wraps.
    ASSERT_EQ(c.drawn.size(), 4u);
    EXPECT_EQ(c.drawn[2], (std::vector<int>{28, 0, 'c'}));
    EXPECT_EQ(c.drawn[3], (std::vector<int>{0, 12, 'd'}));
    EXPECT_EQ(r.lines, 2);
    EXPECT_EQ(r.bottom, 24);
    EXPECT_EQ(r.last_line_width, 14);
}

std::vector<int> DrawnCodes(const FakeCanvas& c) {
    std::vector<int> codes;
    for (const auto& d : c.drawn) codes.push_back(d[2]);
    return codes;
}

TEST(LayoutText, NoLineStartsWithASpaceAndABreakingSpaceOrCommaIsDropped) {
    // Right edge 30: three characters of 10 fit (0, 9, 18 -> ends at 28); the fourth wraps.
    const int kComma = 0xA4;
    const struct {
        DisplayText text;
        std::vector<int> drawn;
    } cases[] = {
        {Codes("  abc def"), {'a', 'b', 'c', 'd', 'e', 'f'}},  // leading spaces skipped, breaking one dropped
        {{'a', 'b', 'c', kComma, 'd'}, {'a', 'b', 'c', 'd'}},  // a breaking comma is dropped
        {{'a', kComma}, {'a', kComma}},                        // a comma inside a line is kept
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        FakeCanvas canvas;
        canvas.widths[kComma] = 10;
        LayoutText(canvas, 0, 0, 30, c.text, 100, true);
        EXPECT_EQ(DrawnCodes(canvas), c.drawn);
        if (c.drawn.size() > 3) {
            EXPECT_EQ(canvas.drawn[3], (std::vector<int>{0, 12, c.drawn[3]}));  // the fourth starts line two
        }
    }
}

TEST(LayoutText, ACharacterWiderThanTheWindowStillBreaksFirst) {
    FakeCanvas c;
    c.width = 50;
    const LayoutResult r = LayoutText(c, 0, 0, 20, Codes("ab"), 94, true);
    EXPECT_EQ(r.lines, 3);  // each starts a new line, the first one included
    EXPECT_EQ(r.bottom, 24);
}

// A text of `chars` characters whose lines hold W / h characters at height h.
MeasureAtHeight SquareFont(int chars, int width, std::vector<int>* asked = nullptr) {
    return [=](int h) {
        if (asked) asked->push_back(h);
        const int perLine = std::max(1, width / h);
        const int lines = (chars + perLine - 1) / perLine;
        const int last = chars - (lines - 1) * perLine;
        return LayoutResult{last * h, lines * h, lines};
    };
}

TEST(FitHeader, ShrinksByTwoFromATwelfthThenGrowsBy220PercentWithOneMoreLine) {
    const struct {
        int chars, width;
        std::vector<int> asked;
        int font_height, lines;
    } cases[] = {
        // 10 characters in 130 pixels: one line from height 13 down.
        {10, 130, {20, 18, 16, 14, 12}, 12, 1},
        // 20 characters in 100 pixels: never one line above 240 / 26 = 9. 20 ... 10, then 8
        // is at most 9: 8 * 220 / 100 = 17 for two lines, down to 11; then 9 * 220 / 100 = 19
        // for three lines, which height 13 gives.
        {20, 100, {20, 18, 16, 14, 12, 10, 17, 15, 13, 11, 19, 17, 15, 13}, 13, 3},
    };
    for (const auto& c : cases) {
        std::vector<int> asked;
        const HeaderFit fit = FitHeader(240, c.chars, SquareFont(c.chars, c.width, &asked));
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(fit.font_height, c.font_height);
        EXPECT_EQ(fit.height, c.lines * c.font_height);
    }
}

TEST(FitItem, TheStartHeightWhenItFitsAtOnce) {
    std::vector<int> asked;
    const ItemFit fit = FitItem(20, 1000, 1000, SquareFont(10, 1000, &asked));
    EXPECT_EQ(fit.font_height, 20);  // one line: a smaller size cannot fill it better than...
    EXPECT_EQ(fit.text_height, 20);
    EXPECT_EQ(asked.front(), 20);
}

// Scripted layouts by height; records the heights asked for.
MeasureAtHeight Scripted(const std::map<int, LayoutResult>& m, std::vector<int>* asked) {
    return [&m, asked](int h) {
        asked->push_back(h);
        return m.at(h);
    };
}

TEST(FitItem, LargestFitThenAFullerLastLine) {
    // Scripted layouts: 30 too tall, 29 fits with a poor last line, 28 and 26 better.
    std::map<int, LayoutResult> m = {
        {30, {50, 130, 4}}, {29, {10, 99, 3}}, {28, {60, 90, 3}},
        {26, {60, 80, 3}},  {24, {90, 70, 3}}, {22, {90, 60, 3}},
    };
    std::vector<int> asked;
    const ItemFit fit = FitItem(30, 100, 100, Scripted(m, &asked));
    EXPECT_EQ(fit.font_height, 24);  // ties keep the larger height: 28 over 26, 24 over 22
    EXPECT_EQ(asked, (std::vector<int>{30, 29, 28, 26, 24, 22}));  // down to above 29 * 75 / 100
}

TEST(FitItem, FullerLastLineSearchStopsWhenTooTallOrTwoLinesShorter) {
    std::map<int, LayoutResult> m = {{20, {10, 60, 3}}, {19, {50, 57, 3}}, {15, {99, 30, 2}}};
    for (const LayoutResult at17 : {LayoutResult{90, 34, 1}, LayoutResult{90, 61, 3}}) {
        m[17] = at17;  // two lines fewer, or too tall: the search ends there
        std::vector<int> asked;
        EXPECT_EQ(FitItem(20, 60, 100, Scripted(m, &asked)).font_height, 19);
        EXPECT_EQ(asked.back(), 17);
    }
}

TEST(FitSearches, EndInTinyAndEmptyWindows) {
    for (int free : {-50, 0, 1, 5, 7, 30}) {
        for (int width : {0, 1, 3}) {
            SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(free));
            int calls = 0;
            auto measure = [&](int h) {
                ++calls;
                return SquareFont(40, width)(h);
            };
            EXPECT_GE(FitHeader(std::max(free, 0), 40, measure).font_height, 1);
            EXPECT_LT(calls, 200);
            const std::function<ItemFit(int, int, int, const MeasureAtHeight&)> fits[] = {
                FitItem, [](int s, int f, int w, const MeasureAtHeight& m) { return FitItemFast(s, f, w, m, m); }};
            for (const auto& fit : fits) {
                calls = 0;
                EXPECT_EQ(fit(free * 20 / 100, free, width, measure).font_height, 1);
                EXPECT_LT(calls, 10);
            }
        }
    }
}

TEST(ItemTop, ExactFillStartsAtTheTopAndTheHeaderPushesDown) {
    int draws = 0;
    auto random = [&] { return ++draws, 1234; };
    EXPECT_EQ(ItemTop(500, 500, 0, random), 0);
    EXPECT_EQ(ItemTop(500, 520, 0, random), 0);
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(ItemTop(500, 400, 0, random), 1234 % 100);
    EXPECT_EQ(ItemTop(500, 400, 60, random), 1234 % 100 + 60);
    EXPECT_EQ(ItemTop(500, 400, -60, random), 1234 % 100);
}

// Random texts in fonts whose widths grow with the height, in random windows: the
// fast search chooses as the full one whatever its estimates say, and with the scaled
// estimates it measures a few heights.
TEST(FitItemFast, ChoosesAsTheFullSearchWhateverTheEstimates) {
    std::mt19937 rng(7);
    struct Estimates {
        const char* name;
        long heights = 0;  // measured, over all rounds
    } kinds[] = {{"scaled"}, {"everything fits on one line"}, {"nothing fits"}, {"random"}};
    long slowCalls = 0;
    for (int round = 0; round < 400; ++round) {
        DisplayText text(1 + rng() % 300);
        for (auto& code : text) code = rng() % 6 == 0 ? 0x20 : 0x41 + rng() % 20;
        std::vector<int> per(21);
        for (auto& p : per) p = 30 + int(rng() % 80);  // width per 100 pixels of height
        const int width = 1 + int(rng() % 2000), height = 1 + int(rng() % 1200);
        const int start = height * 20 / 100;
        const auto measureChar = [&](int h, std::uint32_t code) {
            const int w = code == 0x20 ? h / 3 : (h * per[code - 0x41] + 99) / 100;
            return CharSize{w, h + h / 8};
        };
        CharSizeCache slowCache(measureChar);
        const ItemFit slow = FitItem(
            start, height, width, [&, m = CachedMeasure(slowCache, width, text)](int h) { return ++slowCalls, m(h); });
        for (Estimates& kind : kinds) {
            CharSizeCache cache(measureChar);
            TextLayouts layouts(cache, width, text);
            const MeasureAtHeight estimates[] = {
                [&](int h) { return layouts.Estimated(h); },
                [](int) {
                    return LayoutResult{0, 0, 1};
                },
                [](int) {
                    return LayoutResult{0, 1 << 30, 1 << 20};
                },
                [&](int) {
                    return LayoutResult{int(rng() % 2000), int(rng() % 1200), 1 + int(rng() % 40)};
                },
            };
            std::set<int> measured;
            const ItemFit fast = FitItemFast(
                start, height, width,
                [&](int h) {
                    measured.insert(h);
                    return layouts.Measured(h);
                },
                estimates[&kind - kinds]);
            kind.heights += long(measured.size());
            ASSERT_EQ(slow.font_height, fast.font_height) << kind.name << ", round " << round;
            ASSERT_EQ(slow.text_height, fast.text_height);
        }
    }
    // Scaled estimates: each of the two searches checks its answer and the height beside
    // it, after a first guess made before anything was measured.
    EXPECT_LT(kinds[0].heights, 400 * 5);
    for (const Estimates& kind : kinds) EXPECT_LT(kind.heights * 2, slowCalls) << kind.name;
}

}  // namespace
