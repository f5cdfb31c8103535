// The saver screen from outside: the real kvt.scr under Wine and Xvfb, fetching feeds
// from the loopback feed server, watched through screenshots and the links it opens.
#include "display/saver_display.h"
#include "feed_server.h"
#include "link_recorder.h"
#include "saver_process.h"
#include "screen_capture.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

const char kSaverClass[] = "KVT WINDOW";

struct Site {
    const char* title;  // UTF-8
    std::string link;
    bool check = true;
};

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return out;
}

std::string Config(const std::vector<Site>& sites, bool header, int dispInterval) {
    const char* flag = header ? "1" : "0";
    std::string xml = "<?xml version='1.0' encoding='UTF-8' ?>\r\n<kvtini>\r\n";
    xml += std::string("  <disp_header_title>") + flag + "</disp_header_title>\r\n";
    xml += std::string("  <disp_header_date>") + flag + "</disp_header_date>\r\n";
    xml += "  <disp_interval>" + std::to_string(dispInterval) + "</disp_interval>\r\n";
    xml += "  <load_interval>60</load_interval>\r\n";
    xml += std::string("  <font_face>") + u8"ＭＳ Ｐゴシック" + "</font_face>\r\n";
    for (const Site& s : sites) {
        xml += "  <site>\r\n    <title>" + Escaped(s.title) + "</title>\r\n    <link>" + Escaped(s.link) +
               "</link>\r\n    <description></description>\r\n    <check>" + (s.check ? "1" : "0") +
               "</check>\r\n  </site>\r\n";
    }
    return xml + "</kvtini>\r\n";
}

// Feeds of the test fixtures: rss2.xml has the items news/1.html, 2.html?a=1&b=2, 3.html;
// rss1.xml has rdf/a, rdf/b, rdf/c.
std::vector<Site> TwoChannels() {
    return {{"RSS two", FeedServerUrl("/feeds/rss2.xml")}, {u8"RDF チャンネル", FeedServerUrl("/feeds/rss1.xml")}};
}

// A screenshot taken when two captures a tenth of a second apart agree, so no paint
// is caught half done.
Screenshot StableCapture() {
    Screenshot previous = CaptureScreen();
    for (int i = 0; i < 20; ++i) {
        PumpFor(100);
        Screenshot next = CaptureScreen();
        if (next.pixels == previous.pixels) return next;
        previous = std::move(next);
    }
    return previous;
}

bool Coloured(std::uint32_t c) { return Red(c) != Green(c) || Green(c) != Blue(c); }

// Waits until the saver shows something in colour (an item, after the title screen).
Screenshot WaitForColour(DWORD timeoutMs = 15000) {
    const DWORD start = GetTickCount();
    for (;;) {
        Screenshot shot = StableCapture();
        if (std::any_of(shot.pixels.begin(), shot.pixels.end(), Coloured) || GetTickCount() - start > timeoutMs)
            return shot;
        PumpFor(100);
    }
}

// The item text's own colour: the brightest colour that fills a good share of the
// screen's ink (edges are blends with black, the header is half as bright).
std::uint32_t MainColour(const Screenshot& shot) {
    std::map<std::uint32_t, int> counts;
    int ink = 0;
    for (std::uint32_t c : shot.pixels)
        if (c != 0) ++counts[c], ++ink;
    std::uint32_t best = 0;
    for (const auto& [colour, n] : counts)
        if (n * 20 >= ink && Red(colour) + Green(colour) + Blue(colour) > Red(best) + Green(best) + Blue(best))
            best = colour;
    return best;
}

COLORREF AsColorref(std::uint32_t c) { return RGB(Red(c), Green(c), Blue(c)); }

// What our painting code draws for `screen` at y = 0 (header, if any, at the top).
Screenshot Reference(const SaverScreen& screen, int width, int height) {
    Screenshot out;
    out.width = width;
    out.height = height;
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof bi.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    if (screen.item.empty() && !screen.header)
        PaintTitleScreen(dc, width, height);
    else
        PaintSaverScreen(dc, width, height, screen, SizeSearch::EveryHeight, [] { return 0; });
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    out.pixels.assign(p, p + size_t(width) * size_t(height));
    for (auto& px : out.pixels) px &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return out;
}

int FirstInkRow(const Screenshot& s) {
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if (s.At(x, y) != 0) return y;
    return -1;
}

void Save(const Screenshot& shot, const std::string& name) { shot.SaveBmp(BuildPath("display-" + name + ".bmp")); }

// True when `shot` is `expected` moved down by some rows, pixel for pixel. A mismatch
// leaves the expected screen beside the screenshot, as display-NAME-expected.bmp.
::testing::AssertionResult SameTextAt(const Screenshot& shot, const Screenshot& expected, const std::string& name) {
    const int a = FirstInkRow(shot), b = FirstInkRow(expected);
    if (a < 0 || b < 0) return ::testing::AssertionFailure() << "nothing on the screen";
    const int dy = a - b;
    int differing = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            const int from = y - dy;
            const std::uint32_t want = from >= 0 && from < expected.height ? expected.At(x, from) : 0;
            if (shot.At(x, y) != want) ++differing;
        }
    if (differing) {
        Save(expected, name + "-expected");
        return ::testing::AssertionFailure() << differing << " pixels differ (moved by " << dy << ")";
    }
    return ::testing::AssertionSuccess();
}

HWND StartShow(SaverRun& run) {
    if (!run.Start("/s")) return nullptr;
    return run.WaitForWindow(kSaverClass);
}

// Runs the saver on two channels, presses the keys once items show, then Enter, and
// returns the links that were opened.
std::vector<std::string> LinksAfterKeys(const std::vector<WPARAM>& keys) {
    BrowserStandIn browser;
    SaverRun run(Config(TwoChannels(), false, 99));
    HWND window = StartShow(run);
    if (!window) return {"<no window>"};
    WaitForColour();
    for (WPARAM key : keys) {
        PostTo(window, WM_KEYDOWN, key);
        PumpFor(200);
    }
    PostTo(window, WM_KEYDOWN, VK_RETURN);
    run.WaitForExit(15000);
    // The browser stand-in writes the link on its own time.
    for (DWORD start = GetTickCount(); browser.Links().empty() && GetTickCount() - start < 5000;) PumpFor(20);
    PumpFor(500);
    return browser.Links();
}

std::string News(int n) { return n == 2 ? "http://127.0.0.1/news/2.html?a=1&b=2" : "http://127.0.0.1/news/" + std::to_string(n) + ".html"; }
std::string Rdf(char c) { return std::string("http://127.0.0.1/rdf/") + c; }

}  // namespace

TEST(DisplayScreen, TitleScreenIsTheProductTitleAtAFourteenthOfTheHeight) {
    SaverRun run(Config({{"slow", FeedServerUrl("/never?s=8")}}, true, 99));
    ASSERT_NE(StartShow(run), nullptr);
    PumpFor(1500);  // the first fetch hangs: the title screen stays
    const Screenshot shot = StableCapture();
    Save(shot, "title");
    EXPECT_FALSE(std::any_of(shot.pixels.begin(), shot.pixels.end(), Coloured));
    EXPECT_TRUE(SameTextAt(shot, Reference(SaverScreen(), shot.width, shot.height), "title"));
    EXPECT_EQ(FirstInkRow(shot), FirstInkRow(Reference(SaverScreen(), shot.width, shot.height)))
        << "vertically centred as painted";
}

TEST(DisplayScreen, ItemsAreBrightAndTheHeaderKeepsToItsEdge) {
    SaverRun run(Config(TwoChannels(), true, 1));
    ASSERT_NE(StartShow(run), nullptr);
    Screenshot shot = WaitForColour();
    int atTop = 0, atBottom = 0;
    for (int round = 0; round < 6; ++round) {
        if (round) {
            PumpFor(1000);
            shot = StableCapture();
        }
        if (round < 2) Save(shot, round ? "item-2" : "item-1");
        const std::uint32_t c = MainColour(shot);
        ASSERT_NE(c, 0u);
        const bool bright = Red(c) + Green(c) / 4 + Blue(c) / 2 >= 256;
        EXPECT_TRUE(bright) << std::hex << c;
        if (!bright) Save(shot, "dark-" + std::to_string(round));
        // The header: the channel name and fetch time, in half the brightness, in the
        // band of one twelfth of the height at the top or at the bottom.
        const std::uint32_t half = (c >> 1) & 0x7F7F7F;
        const int band = shot.height / 12;
        const RECT top = {0, 0, shot.width, band}, bottom = {0, shot.height - band, shot.width, shot.height};
        const int inTop = shot.Count(top, [&](std::uint32_t p) { return p == half; });
        const int inBottom = shot.Count(bottom, [&](std::uint32_t p) { return p == half; });
        if (inTop == inBottom) Save(shot, "no-header-" + std::to_string(round));
        ASSERT_NE(inTop, inBottom) << "a header at one edge";
        const RECT& header = inTop > inBottom ? top : bottom;
        (inTop > inBottom ? atTop : atBottom)++;
        EXPECT_EQ(shot.Count(header, [&](std::uint32_t p) { return p == c; }), 0) << "item text in the header";
    }
    EXPECT_GT(atTop + atBottom, 0);
}

TEST(DisplayScreen, ChannelWithoutItemsShowsOneLineSayingWhy) {
    const struct {
        const char* name;
        std::string link;
        const char* line;
    } cases[] = {
        {u8"取得不能", "http://127.0.0.1:1/feed.xml", "｢取得不能｣の取得に失敗しました"},  // nothing listens on port 1
        {u8"空", FeedServerUrl("/feeds/empty_channel.xml"), "｢空｣には記事がありません"},
    };
    for (const auto& c : cases) {
        SaverRun run(Config({{c.name, c.link}}, false, 99));
        ASSERT_NE(StartShow(run), nullptr);
        const Screenshot shot = WaitForColour();
        const std::string name = c.link.find(":1/") != std::string::npos ? "failure" : "empty";
        Save(shot, name);
        SaverScreen expected;
        expected.item = ToDisplayCodes(c.line);
        expected.colour = AsColorref(MainColour(shot));
        expected.font_face = "ＭＳ Ｐゴシック";
        EXPECT_TRUE(SameTextAt(shot, Reference(expected, shot.width, shot.height), name));
    }
}

TEST(DisplayScreen, NoEnabledChannelShowsTheProductTitleInColour) {
    SaverRun run(Config({{"off", FeedServerUrl("/feeds/rss2.xml"), false}}, false, 1));
    ASSERT_NE(StartShow(run), nullptr);
    const Screenshot shot = WaitForColour(8000);
    Save(shot, "no-channels");
    SaverScreen expected;
    expected.item = ToDisplayCodes("Tavelo's Rss Screensaver v1.0");
    expected.no_channels = true;
    expected.colour = AsColorref(MainColour(shot));
    expected.font_face = "ＭＳ Ｐゴシック";
    EXPECT_TRUE(SameTextAt(shot, Reference(expected, shot.width, shot.height), "no-channels"));
}

TEST(DisplayScreen, ArrowKeysMoveAcrossItemsAndChannels) {
    EXPECT_EQ(LinksAfterKeys({VK_LEFT}), std::vector<std::string>{Rdf('c')});
    EXPECT_EQ(LinksAfterKeys({VK_RIGHT, VK_RIGHT, VK_RIGHT}), std::vector<std::string>{Rdf('a')});
    EXPECT_EQ(LinksAfterKeys({VK_DOWN, VK_UP}), std::vector<std::string>{News(3)});
    EXPECT_EQ(LinksAfterKeys({VK_UP, VK_RIGHT, VK_RIGHT}), std::vector<std::string>{News(2)});
}

TEST(DisplayScreen, OtherWaysOfEndingOpenNothing) {
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } endings[] = {
        {WM_KEYDOWN, VK_ESCAPE, 0},
        {WM_SYSKEYDOWN, VK_MENU, 0x20000000},
        {WM_LBUTTONDOWN, 0, MAKELPARAM(20, 20)},
        {WM_MOUSEMOVE, 0, MAKELPARAM(900, 600)},  // a jump from the first report
    };
    for (const auto& ending : endings) {
        BrowserStandIn browser;
        SaverRun run(Config(TwoChannels(), true, 99));
        HWND window = StartShow(run);
        ASSERT_NE(window, nullptr);
        WaitForColour();
        PostTo(window, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        PostTo(window, ending.message, ending.wParam, ending.lParam);
        EXPECT_TRUE(run.WaitForExit(10000)) << "message " << ending.message;
        PumpFor(1500);
        EXPECT_TRUE(browser.Links().empty()) << "message " << ending.message;
    }
}
