// Both size searches of the saver screen against real fonts: the fast one must lay
// out and paint exactly as the one that tries every height, and the text must keep
// clear of the header.
#include "common/gdi_holders.h"
#include "display/gdi_text.h"
#include "display/saver_display.h"
#include "every_height_paint.h"
#include "feed/text_convert.h"
#include "screen_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// Text of news-like words, Japanese and English, with full-width punctuation.
std::string RandomTitle(std::mt19937& rng, std::size_t chars) {
    static const char* const words[] = {"東京",       "株価", "が",           "上昇し、",    "「新製品」", "発表",
                                        "　",         "の",   "Open source ", "release 2.0", ", ",         "ｶﾀｶﾅ",
                                        "経済成長率", "。",   "World news: ", "“引用”",      "台風",       "１２号",
                                        "W",          "i"};
    std::string s;
    while (ToDisplayCodes(s).size() < chars) s += words[rng() % (sizeof words / sizeof *words)];
    return s;
}

struct Case {
    int width, height;
    std::size_t chars;
    int header;  // 0 none, 1 name and time, 2 a long header
    bool noChannels;
};

TEST(SaverPaint, FastSearchPaintsExactlyAsTheFullSearchAndTheTextKeepsClearOfTheHeader) {
    std::mt19937 rng(2024);
    std::vector<Case> cases;
    const int sizes[][2] = {{152, 112}, {200, 150}, {320, 240}, {640, 480}, {800, 600}, {1280, 720}, {1920, 1080}};
    for (const auto& size : sizes)
        for (std::size_t chars : {1u, 7u, 20u, 60u, 200u, 500u, 1023u})
            cases.push_back({size[0], size[1], chars, int(rng() % 3), rng() % 8 == 0});
    for (int i = 0; i < 12; ++i) cases.push_back({1280, 720, 5 + rng() % 400, 1, false});
    cases.push_back({3840, 2160, 20, 1, false});
    cases.push_back({3840, 2160, 300, 1, false});
    cases.push_back({17, 9, 50, 1, false});
    cases.push_back({0, 0, 10, 1, false});

    for (const Case& c : cases) {
        SaverScreen screen;
        screen.item = ToDisplayCodes(RandomTitle(rng, c.chars));
        screen.colour = RGB(200, 255, 40);
        screen.no_channels = c.noChannels;
        screen.header = c.header != 0;
        if (c.header) screen.header_codes = ToDisplayCodes(RandomTitle(rng, c.header == 1 ? 18 : 300));
        screen.font_face = rng() % 4 ? "ＭＳ Ｐゴシック" : "ＭＳ ゴシック";
        const unsigned seed = unsigned(rng());
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + ", " +
                     std::to_string(screen.item.size()) + " characters, header " + std::to_string(c.header));

        // Every height, the saver's own paint, and that again with the heights it remembered.
        SaverScreenLayout layouts[3];
        Screenshot shots[3];
        for (int i = 0; i < 3; ++i) {
            std::mt19937 random(seed);
            const auto randomNumber = [&] { return int(random() & 0x7FFF); };
            shots[i] = PaintOffscreen(std::max(1, c.width), std::max(1, c.height), [&](HDC dc) {
                layouts[i] = i == 0 ? PaintSaverScreenEveryHeight(dc, c.width, c.height, screen, randomNumber)
                                    : PaintSaverScreen(dc, c.width, c.height, screen, randomNumber);
            });
        }
        const SaverScreenLayout& l = layouts[1];
        EXPECT_EQ(layouts[0].item.font_height, l.item.font_height);
        EXPECT_EQ(layouts[0].item.text_height, l.item.text_height);
        EXPECT_EQ(layouts[0].item_y, l.item_y);
        EXPECT_EQ(layouts[0].header.font_height, l.header.font_height);
        EXPECT_EQ(layouts[0].header.height, l.header.height);
        EXPECT_TRUE(shots[0].pixels == shots[1].pixels);
        EXPECT_TRUE(shots[1].pixels == shots[2].pixels);
        // Something was drawn unless the window or the text is blank.
        const bool blank = std::count(screen.item.begin(), screen.item.end(), 0x20u) == long(screen.item.size());
        if (c.width > 100 && !blank) {
            EXPECT_NE(std::count(shots[1].pixels.begin(), shots[1].pixels.end(), 0u), long(shots[1].pixels.size()));
        }
        if (c.width >= 320 && screen.header && !screen.no_channels) {
            if (l.header_at_bottom) {
                EXPECT_LE(l.item_y + l.item.text_height, c.height - l.header.height);
            } else {
                EXPECT_GE(l.item_y, l.header.height);
                EXPECT_LE(l.item_y + l.item.text_height, c.height);
            }
        }
    }
}

TEST(SaverPaint, EveryDoubleByteCharacterOfTheCodePageIsOneCodeDrawnAsItself) {
    for (int b = 0; b < 256; ++b) EXPECT_EQ(IsLeadByte(b), bool(IsDBCSLeadByteEx(932, BYTE(b)))) << b;

    // Names whose characters the platform's conversion puts at lead bytes FA to FC,
    // each followed by a character the trail byte must not swallow.
    const wchar_t wide[] = L"髙橋 山﨑 德A ⅰ";
    const DisplayText codes = ToDisplayCodes(ToMultibyte(wide));
    EXPECT_EQ(codes, (DisplayText{0xFBFC, 0x8BB4, 0x20, 0x8E52, 0xFAB1, 0x20, 0xFABA, 0x41, 0x20, 0xFA40}));
    const auto paint = [&](bool asCodes) {
        return PaintOffscreen(64 * int(codes.size()), 64, [&](HDC dc) {
            GdiObject font(MakeSaverFont(60, "ＭＳ ゴシック"));
            SelectedObject selected(dc, font.Get());
            SetTextColor(dc, RGB(255, 255, 255));
            SetBkMode(dc, TRANSPARENT);
            std::vector<PlacedChar> line;
            for (size_t i = 0; i < codes.size(); ++i) {
                line.push_back({64 * int(i), codes[i]});
                if (!asCodes) TextOutW(dc, 64 * int(i), 0, wide + i, 1);
            }
            if (asCodes) GdiCanvas(dc).DrawLine(0, line);
        });
    };
    EXPECT_TRUE(paint(true).pixels == paint(false).pixels);
}

}  // namespace
