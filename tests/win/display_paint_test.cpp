// Both size searches of the saver screen against real fonts: the fast one must lay
// out and paint exactly as the one that tries every height.
#include "display/saver_display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// A memory device context with a 32-bit bitmap of the given size.
class Surface {
public:
    Surface(int width, int height) : width_(width), height_(height) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Surface() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    std::vector<unsigned char> Pixels() const {
        GdiFlush();
        const auto* p = static_cast<const unsigned char*>(bits_);
        return std::vector<unsigned char>(p, p + size_t(width_) * size_t(height_) * 4);
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    void* bits_ = nullptr;
};

// Text of news-like words, Japanese and English, with full-width punctuation.
std::string RandomTitle(std::mt19937& rng, std::size_t chars) {
    static const char* const words[] = {"東京", "株価", "が", "上昇し、", "「新製品」", "発表", "　", "の",
                                        "Open source ", "release 2.0", ", ", "ｶﾀｶﾅ", "経済成長率", "。",
                                        "World news: ", "“引用”", "台風", "１２号", "W", "i"};
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

TEST(SaverPaint, FastSearchLaysOutAndPaintsExactlyAsTheFullSearch) {
    std::mt19937 rng(2024);
    std::vector<Case> cases;
    const int sizes[][2] = {{152, 112}, {200, 150}, {320, 240}, {640, 480}, {800, 600}, {1280, 720}, {1920, 1080}};
    for (const auto& size : sizes)
        for (std::size_t chars : {1u, 7u, 20u, 60u, 200u, 500u, 1023u})
            cases.push_back({size[0], size[1], chars, int(rng() % 3), rng() % 8 == 0});
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

        SaverScreenLayout layouts[2];
        std::vector<unsigned char> pixels[2];
        const SizeSearch searches[2] = {SizeSearch::EveryHeight, SizeSearch::Fast};
        for (int i = 0; i < 2; ++i) {
            Surface surface(std::max(1, c.width), std::max(1, c.height));
            std::mt19937 random(seed);
            layouts[i] = PaintSaverScreen(surface.Dc(), c.width, c.height, screen, searches[i],
                                          [&] { return int(random() & 0x7FFF); });
            pixels[i] = surface.Pixels();
        }
        const std::string where = std::to_string(c.width) + "x" + std::to_string(c.height) + ", " +
                                  std::to_string(screen.item.size()) + " characters";
        EXPECT_EQ(layouts[0].item.font_height, layouts[1].item.font_height) << where;
        EXPECT_EQ(layouts[0].item.text_height, layouts[1].item.text_height) << where;
        EXPECT_EQ(layouts[0].item_y, layouts[1].item_y) << where;
        EXPECT_EQ(layouts[0].header.font_height, layouts[1].header.font_height) << where;
        EXPECT_EQ(layouts[0].header.height, layouts[1].header.height) << where;
        EXPECT_TRUE(pixels[0] == pixels[1]) << where;
        // Something was drawn unless the window or the text is blank.
        const bool blank = std::count(screen.item.begin(), screen.item.end(), 0x20u) == long(screen.item.size());
        if (c.width > 100 && !blank) {
            EXPECT_NE(std::count(pixels[1].begin(), pixels[1].end(), 0), long(pixels[1].size())) << where;
        }
    }
}

TEST(SaverPaint, TextStaysInTheFreeAreaBesideTheHeader) {
    std::mt19937 rng(99);
    for (int round = 0; round < 12; ++round) {
        SaverScreen screen;
        screen.item = ToDisplayCodes(RandomTitle(rng, 5 + rng() % 400));
        screen.header = true;
        screen.header_codes = ToDisplayCodes(RandomTitle(rng, 10 + rng() % 60));
        screen.font_face = "ＭＳ Ｐゴシック";
        Surface surface(1280, 720);
        std::mt19937 random(round);
        const SaverScreenLayout l = PaintSaverScreen(surface.Dc(), 1280, 720, screen, SizeSearch::Fast,
                                                     [&] { return int(random() & 0x7FFF); });
        if (l.header_at_bottom) {
            EXPECT_LE(l.item_y + l.item.text_height, 720 - l.header.height);
        } else {
            EXPECT_GE(l.item_y, l.header.height);
            EXPECT_LE(l.item_y + l.item.text_height, 720);
        }
        EXPECT_GE(l.item.font_height, 1);
    }
}

}  // namespace
