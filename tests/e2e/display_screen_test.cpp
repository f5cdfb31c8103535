// The saver screen from outside: the real kvt.scr under Wine and Xvfb, fetching feeds
// from the loopback feed server, its screenshots compared with what our painting code
// draws, and the links it opens.
#include "display/saver_display.h"
#include "e2e.h"
#include "feed_server.h"
#include "screen_reference.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

void Save(const Screenshot& shot, const std::string& name) { shot.SaveBmp(BuildPath("display-" + name + ".bmp")); }

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

}  // namespace

TEST(DisplayScreen, TitleScreenIsTheProductTitleInWhiteAtAFourteenthOfTheHeight) {
    const std::string slow = HangingFeedUrl(8);
    SaverRun run(ConfigFile(WithChannels({Channel("slow", slow)})));
    ASSERT_NE(StartShow(run), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return FeedServerWasAsked(slow); })) << "the first fetch has begun, and hangs";
    const Screenshot shot = StableCapture();
    const Screenshot expected = Reference(SaverScreen(), shot.width, shot.height);
    EXPECT_FALSE(std::any_of(shot.pixels.begin(), shot.pixels.end(), Coloured));
    EXPECT_TRUE(SameTextAt(shot, expected, "title"));
    EXPECT_EQ(FirstInkRow(shot), FirstInkRow(expected)) << "vertically centred as painted";
}

TEST(DisplayScreen, ItemsAreBrightAndTheHeaderKeepsToItsEdge) {
    SaverRun run(ConfigFile(WithChannels(TwoChannels(), 1)));
    ASSERT_NE(StartShow(run), nullptr);
    Screenshot shot = WaitForColour();
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        if (round) {  // the next item, a second later
            const Screenshot before = shot;
            shot = WaitForScreen([&](const Screenshot& s) { return s.pixels != before.pixels && MainColour(s); });
        }
        Save(shot, "item-" + std::to_string(round));
        const std::uint32_t c = MainColour(shot);
        ASSERT_NE(c, 0u);
        EXPECT_GE(Red(c) + Green(c) / 4 + Blue(c) / 2, 256) << std::hex << c;
        // The header: the channel name and fetch time, in half the brightness, in the
        // band of one twelfth of the height at the top or at the bottom, without item text.
        const std::uint32_t half = (c >> 1) & 0x7F7F7F;
        const int band = shot.height / 12;
        const RECT top = {0, 0, shot.width, band}, bottom = {0, shot.height - band, shot.width, shot.height};
        const int inTop = shot.Count(top, [&](std::uint32_t p) { return p == half; });
        const int inBottom = shot.Count(bottom, [&](std::uint32_t p) { return p == half; });
        ASSERT_NE(inTop, inBottom) << "a header at one edge";
        EXPECT_EQ(shot.Count(inTop > inBottom ? top : bottom, [&](std::uint32_t p) { return p == c; }), 0)
            << "item text in the header";
    }
}

TEST(DisplayScreen, FailedOrEmptyChannelsAndNoChannelsShowOneLineInColour) {
    const struct {
        const char* name;
        SiteEntry channel;
        const char* line;
    } cases[] = {
        // Nothing listens on port 1.
        {"failure", Channel("取得不能", "http://127.0.0.1:1/feed.xml"), "｢取得不能｣の取得に失敗しました"},
        {"empty", Channel("空", FeedServerUrl("/feeds/empty_channel.xml")), "｢空｣には記事がありません"},
        {"no-channels", Channel("off", FeedServerUrl("/feeds/rss2.xml"), false), "Tavelo's Rss Screensaver v1.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The product title comes only once a display interval has passed.
        SaverRun run(ConfigFile(WithChannels({c.channel}, c.channel.check ? 99 : 1, false)));
        ASSERT_NE(StartShow(run), nullptr);
        const Screenshot shot = WaitForColour();
        SaverScreen expected;
        expected.item = ToDisplayCodes(c.line);
        expected.no_channels = !c.channel.check;
        expected.colour = RGB(Red(MainColour(shot)), Green(MainColour(shot)), Blue(MainColour(shot)));
        expected.font_face = SaverSettings().font_face;
        EXPECT_TRUE(SameTextAt(shot, Reference(expected, shot.width, shot.height), c.name));
    }
}

TEST(DisplayScreen, ArrowKeysMoveAcrossItemsAndChannels) {
    const std::string rdf = "http://127.0.0.1/rdf/", news = "http://127.0.0.1/news/";
    const struct {
        std::vector<WPARAM> keys;
        std::string link;
    } cases[] = {
        {{VK_LEFT}, rdf + "c"},
        {{VK_RIGHT, VK_RIGHT, VK_RIGHT}, rdf + "a"},
        {{VK_DOWN, VK_UP}, news + "3.html"},
        {{VK_UP, VK_RIGHT, VK_RIGHT}, news + "2.html?a=1&b=2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        EXPECT_EQ(PressEnter(WithChannels(TwoChannels()), c.keys).links, std::vector<std::string>{c.link});
    }
}
