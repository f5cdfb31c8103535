#include "display/rotation.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace {

// The platform under the rotation: feeds by URL, a settable clock, scripted random
// numbers and a count of repaints and fetches.
struct FakeWorld {
    std::map<std::string, std::vector<std::string>> feeds;  // item titles; absent = unreachable
    std::map<std::string, int> fetches;
    std::time_t clock = 100000;
    std::deque<int> randoms;
    int repaints = 0;

    RotationPlatform Platform() {
        return {
            [this](const std::string& url) {
                ++fetches[url];
                ChannelContent c;
                c.fetched_at = clock;
                auto found = feeds.find(url);
                if (found == feeds.end()) return c;
                c.valid = true;
                for (const auto& title : found->second) c.items.push_back({title, url + "#" + title});
                return c;
            },
            [this] { return clock; },
            [this] {
                if (randoms.empty()) return 0x7FFF;  // always a bright colour
                int r = randoms.front();
                randoms.pop_front();
                return r;
            },
            [this] { ++repaints; },
        };
    }
};

SaverSettings WithChannels(std::initializer_list<const char*> urls) {
    SaverSettings s;
    s.sites.clear();
    for (const char* url : urls) s.sites.push_back({std::string("ch-") + url, url, "", true, {}});
    return s;
}

std::string Shown(const Rotation& r) { return r.CurrentItem() ? r.CurrentItem()->title : "<none>"; }

TEST(Rotation, EachItemStaysForTheDisplayIntervalAndAKeyRestartsTheCount) {
    FakeWorld w;
    w.feeds["a"] = {"a1", "a2", "a3"};
    SaverSettings s = WithChannels({"a", "b"});
    s.disp_interval = 3;
    Rotation r(s, w.Platform());
    EXPECT_EQ(r.State(), DisplayState::TitleScreen);
    r.Tick();  // the first tick fetches the first channel only, and shows its first item
    EXPECT_EQ(r.State(), DisplayState::ShowingItems);
    EXPECT_EQ(w.fetches["a"], 1);
    EXPECT_EQ(w.fetches.count("b"), 0u);
    EXPECT_EQ(w.repaints, 1);
    r.Tick();
    r.Tick();
    EXPECT_EQ(Shown(r), "a1");
    r.Tick();
    EXPECT_EQ(Shown(r), "a2");
    r.Tick();
    r.Tick();
    r.StepItem(+1);  // as the Right key does
    r.ShowCurrentItem();
    EXPECT_EQ(Shown(r), "a3");
    r.Tick();
    r.Tick();
    EXPECT_EQ(Shown(r), "a3");
    r.Tick();
    EXPECT_EQ(Shown(r), "｢ch-b｣の取得に失敗しました");
}

TEST(Rotation, OneChannelWrapsAndIsFetchedAgainOnlyWhenStale) {
    FakeWorld w;
    w.feeds["a"] = {"a1", "a2"};
    SaverSettings s = WithChannels({"a"});
    s.disp_interval = 1;
    Rotation r(s, w.Platform());
    r.Tick();
    r.Tick();
    EXPECT_EQ(Shown(r), "a2");
    r.Tick();
    EXPECT_EQ(Shown(r), "a1");
    EXPECT_EQ(w.fetches["a"], 1);
    w.clock += 60 * 60 + 1;
    w.feeds["a"] = {"new"};
    r.Tick();  // a2, from memory: the channel is only fetched when it is entered
    EXPECT_EQ(Shown(r), "a2");
    r.Tick();
    EXPECT_EQ(Shown(r), "new");
    EXPECT_EQ(w.fetches["a"], 2);
}

TEST(Rotation, UpdateIntervalOfOneMinuteRefetchesAfter61SecondsNotAfter60) {
    FakeWorld w;
    w.feeds["a"] = {"a1"};
    w.feeds["b"] = {"b1"};
    SaverSettings s = WithChannels({"a", "b"});
    s.load_interval = 1;
    Rotation r(s, w.Platform());
    r.Tick();  // a fetched now
    r.StepChannel(+1);
    w.clock += 60;
    r.StepChannel(+1);
    EXPECT_EQ(w.fetches["a"], 1);
    r.StepChannel(+1);
    w.clock += 1;
    r.StepChannel(+1);
    EXPECT_EQ(w.fetches["a"], 2);
}

TEST(Rotation, UnreachableChannelShowsOneFailureItemAndIsTriedAgainAtItsNextTurn) {
    FakeWorld w;
    w.feeds["b"] = {"b1"};
    SaverSettings s = WithChannels({"a", "b"});
    s.sites[0].title = "ニュース";
    s.disp_interval = 1;
    Rotation r(s, w.Platform());
    r.Tick();
    ASSERT_EQ(s.sites[0].content.items.size(), 1u);
    EXPECT_EQ(Shown(r), "｢ニュース｣の取得に失敗しました");
    EXPECT_EQ(r.CurrentItem()->link, "a");  // Enter opens the feed's own address
    EXPECT_FALSE(s.sites[0].content.valid);
    r.Tick();
    EXPECT_EQ(Shown(r), "b1");
    r.Tick();  // back to a: fetched again however recent the failure
    EXPECT_EQ(w.fetches["a"], 2);
    w.feeds["a"] = {"a1"};
    r.Tick();
    r.Tick();
    EXPECT_EQ(Shown(r), "a1");
}

TEST(Rotation, ArrowKeysCrossChannelEnds) {
    FakeWorld w;
    w.feeds["a"] = {"a1", "a2"};
    w.feeds["b"] = {"b1"};
    w.feeds["c"] = {"c1", "c2", "c3"};
    SaverSettings s = WithChannels({"a", "b", "c"});
    Rotation r(s, w.Platform());
    r.Tick();
    r.StepItem(-1);  // Left on the first item of the first channel
    EXPECT_EQ(Shown(r), "c3");
    r.StepItem(+1);  // Right on the last item of the last channel
    EXPECT_EQ(Shown(r), "a1");
    r.StepItem(+1);
    r.StepItem(+1);
    EXPECT_EQ(Shown(r), "b1");
    r.StepItem(-1);
    EXPECT_EQ(Shown(r), "a2");
    r.StepChannel(-1);  // Up: the previous channel at its last item
    EXPECT_EQ(Shown(r), "c3");
    r.StepChannel(-1);
    EXPECT_EQ(Shown(r), "b1");
    r.StepChannel(+1);  // Down: the next channel at its first item
    EXPECT_EQ(Shown(r), "c1");
    r.StepChannel(+1);
    EXPECT_EQ(Shown(r), "a1");
}

TEST(Rotation, ArrowKeysWithOneChannelStayInIt) {
    FakeWorld w;
    w.feeds["a"] = {"a1", "a2", "a3"};
    SaverSettings s = WithChannels({"a"});
    Rotation r(s, w.Platform());
    r.Tick();
    r.StepItem(-1);
    EXPECT_EQ(Shown(r), "a3");
    r.StepItem(+1);
    EXPECT_EQ(Shown(r), "a1");
    r.StepItem(+1);
    r.StepChannel(-1);
    EXPECT_EQ(Shown(r), "a3");
    r.StepChannel(+1);
    EXPECT_EQ(Shown(r), "a1");
    EXPECT_EQ(r.CurrentChannelIndex(), 0u);
}

TEST(Rotation, ChannelWithoutItemsShowsOneLineAndNeverSpins) {
    FakeWorld w;
    w.feeds["a"] = {};
    w.feeds["b"] = {};
    SaverSettings s = WithChannels({"a", "b"});
    s.disp_interval = 1;
    Rotation r(s, w.Platform());
    r.Tick();
    EXPECT_EQ(Shown(r), "｢ch-a｣には記事がありません");
    for (int key = 0; key < 3; ++key) {
        r.StepItem(-1);
        r.StepItem(+1);
        r.StepChannel(-1);
        ASSERT_NE(r.CurrentItem(), nullptr);
    }
    w.fetches.clear();
    for (int tick = 0; tick < 10; ++tick) r.Tick();
    // One channel per tick, and each fetched only once within the update interval.
    EXPECT_EQ(w.fetches["a"] + w.fetches["b"], 0);
    EXPECT_EQ(w.repaints, 1 + 10);
}

TEST(Rotation, NoChannelsKeepsTheTitleScreenThenShowsTheProductTitleEveryInterval) {
    FakeWorld w;
    SaverSettings s = WithChannels({});
    s.disp_interval = 2;
    Rotation r(s, w.Platform());
    r.Tick();
    EXPECT_EQ(r.State(), DisplayState::NoChannels);
    EXPECT_EQ(w.repaints, 0);  // the title screen stays
    r.Tick();
    EXPECT_EQ(w.repaints, 0);
    w.randoms = {0, 4, 255};
    r.Tick();
    EXPECT_EQ(w.repaints, 1);
    EXPECT_EQ(r.ItemCodes(), ToDisplayCodes("Tavelo's Rss Screensaver v1.0"));
    EXPECT_EQ(r.TextColour(), 0x0004FFu);
    r.Tick();
    w.randoms = {0, 255, 255};
    r.Tick();
    EXPECT_EQ(w.repaints, 2);
    EXPECT_EQ(r.TextColour(), 0x00FFFFu);  // a new colour with every showing
    EXPECT_EQ(r.CurrentItem(), nullptr);
}

TEST(Rotation, ColourIsDrawnBlueGreenRedAndRedrawnUntilBright) {
    FakeWorld w;
    SaverSettings s = WithChannels({});
    Rotation r(s, w.Platform());
    // 255 + 0/4 + 0/2 = 255 is too dark; 255 + 0 + 2/2 = 256 is bright enough.
    w.randoms = {0x100, 0, 255, 2, 0x300, 0x1FF};
    r.PickTextColour();
    EXPECT_EQ(r.TextColour(), 0x0200FFu);  // 0x00BBGGRR, each from the low 8 bits
    EXPECT_TRUE(w.randoms.empty());
}

}  // namespace
