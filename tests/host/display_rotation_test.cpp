#include "display/rotation.h"
#include "display/rotation_probe.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace {

// The platform under the rotation: feeds by URL, a settable clock, scripted random
// numbers and a count of repaints and fetches; and the rotation over channels "ch-URL".
class RotationTest : public ::testing::Test {
protected:
    std::map<std::string, std::vector<std::string>> feeds;  // item titles; absent = unreachable
    std::map<std::string, int> fetches;
    std::time_t clock = 100000;
    std::deque<int> randoms;
    int repaints = 0;
    SaverSettings settings;

    Rotation Start(std::initializer_list<const char*> urls, int dispInterval = 5) {
        settings.disp_interval = dispInterval;
        for (const char* url : urls) settings.sites.push_back({std::string("ch-") + url, url, "", true, {}});
        return Rotation(settings, {
                                      [this](const std::string& url, FetchDone done) {
                                          if (async)
                                              inFlight.emplace_back(url, std::move(done));
                                          else
                                              done(Fetch(url));
                                      },
                                      [this] { return clock; },
                                      [this] {
                                          if (randoms.empty()) return 0x7FFF;  // always a bright colour
                                          int r = randoms.front();
                                          randoms.pop_front();
                                          return r;
                                      },
                                      [this] { ++repaints; },
                                  });
    }
    ChannelContent Fetch(const std::string& url) {
        ++fetches[url];
        ChannelContent c;
        c.fetched_at = clock;
        auto found = feeds.find(url);
        if (found == feeds.end()) return c;
        c.valid = true;
        for (const auto& title : found->second) c.items.push_back({title, url + "#" + title});
        return c;
    }
    // With `async` set, fetches wait here until the test finishes them.
    bool async = false;
    std::deque<std::pair<std::string, FetchDone>> inFlight;
    void Finish(const std::string& url) {
        for (auto it = inFlight.begin(); it != inFlight.end(); ++it) {
            if (it->first != url) continue;
            FetchDone done = std::move(it->second);
            inFlight.erase(it);
            done(Fetch(url));
            return;
        }
        ADD_FAILURE() << url << " is not being fetched";
    }
};

std::string Shown(const Rotation& r) { return r.CurrentItem() ? r.CurrentItem()->title : "<none>"; }

// Plays `script` and returns what shows after each step: '.' a tick, '<' '>' the Left
// and Right keys (previous and next item), '^' 'v' Up and Down (previous and next channel).
std::vector<std::string> Play(Rotation& r, const std::string& script) {
    std::vector<std::string> shown;
    for (char c : script) {
        if (c == '.') r.Tick();
        if (c == '<' || c == '>') r.StepItem(c == '<' ? -1 : +1);
        if (c == '^' || c == 'v') r.StepChannel(c == '^' ? -1 : +1);
        if (c != '.') r.ShowCurrentItem();
        shown.push_back(Shown(r));
    }
    return shown;
}
using Seen = std::vector<std::string>;

TEST_F(RotationTest, EachItemStaysForTheDisplayIntervalAndAKeyRestartsTheCount) {
    feeds["a"] = {"a1", "a2", "a3"};
    Rotation r = Start({"a", "b"}, 3);
    EXPECT_EQ(r.State(), DisplayState::TitleScreen);
    r.Tick();  // the first tick fetches the first channel only, and shows its first item
    EXPECT_EQ(r.State(), DisplayState::ShowingItems);
    EXPECT_EQ(fetches, (std::map<std::string, int>{{"a", 1}}));
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(Play(r, ".....>..."),
              (Seen{"a1", "a1", "a2", "a2", "a2", "a3", "a3", "a3", "｢ch-b｣の取得に失敗しました"}));
}

TEST_F(RotationTest, OneChannelWrapsAndIsFetchedAgainOnlyWhenStale) {
    feeds["a"] = {"a1", "a2"};
    Rotation r = Start({"a"}, 1);
    EXPECT_EQ(Play(r, "..."), (Seen{"a1", "a2", "a1"}));
    EXPECT_EQ(fetches["a"], 1);
    clock += 60 * 60 + 1;
    feeds["a"] = {"new"};
    // a2 from memory: the channel is only fetched when it is entered.
    EXPECT_EQ(Play(r, ".."), (Seen{"a2", "new"}));
    EXPECT_EQ(fetches["a"], 2);
}

TEST_F(RotationTest, UpdateIntervalOfOneMinuteRefetchesAfter61SecondsNotAfter60) {
    feeds["a"] = {"a1"};
    feeds["b"] = {"b1"};
    settings.load_interval = 1;
    Rotation r = Start({"a", "b"});
    r.Tick();  // a fetched now
    clock += 60;
    Play(r, "vv");
    EXPECT_EQ(fetches["a"], 1);
    clock += 1;
    Play(r, "vv");
    EXPECT_EQ(fetches["a"], 2);
}

TEST_F(RotationTest, UnreachableChannelShowsOneFailureItemAndIsTriedAgainAtItsNextTurn) {
    feeds["b"] = {"b1"};
    Rotation r = Start({"a", "b"}, 1);
    settings.sites[0].title = "ニュース";
    r.Tick();
    ASSERT_EQ(settings.sites[0].content.items.size(), 1u);
    EXPECT_EQ(Shown(r), "｢ニュース｣の取得に失敗しました");
    EXPECT_EQ(r.CurrentItem()->link, "a");  // Enter opens the feed's own address
    EXPECT_FALSE(settings.sites[0].content.valid);
    EXPECT_EQ(Play(r, "."), Seen{"b1"});
    r.Tick();  // back to a: fetched again however recent the failure
    EXPECT_EQ(fetches["a"], 2);
    feeds["a"] = {"a1"};
    EXPECT_EQ(Play(r, ".."), (Seen{"b1", "a1"}));
}

TEST_F(RotationTest, ArrowKeysCrossChannelEnds) {
    feeds["a"] = {"a1", "a2"};
    feeds["b"] = {"b1"};
    feeds["c"] = {"c1", "c2", "c3"};
    Rotation r = Start({"a", "b", "c"});
    r.Tick();
    // Left on the first item of the first channel, Right on the last of the last; Up
    // goes to the previous channel's last item, Down to the next one's first.
    EXPECT_EQ(Play(r, "<>>><^^vv"), (Seen{"c3", "a1", "a2", "b1", "a2", "c3", "b1", "c1", "a1"}));
}

TEST_F(RotationTest, ArrowKeysWithOneChannelStayInIt) {
    feeds["a"] = {"a1", "a2", "a3"};
    Rotation r = Start({"a"});
    r.Tick();
    EXPECT_EQ(Play(r, "<>>^v"), (Seen{"a3", "a1", "a2", "a3", "a1"}));
    EXPECT_EQ(RotationProbe::CurrentChannelIndex(r), 0u);
}

TEST_F(RotationTest, ChannelWithoutItemsShowsOneLineAndNeverSpins) {
    feeds["a"] = {};
    feeds["b"] = {};
    Rotation r = Start({"a", "b"}, 1);
    r.Tick();
    EXPECT_EQ(Shown(r), "｢ch-a｣には記事がありません");
    for (const std::string& shown : Play(r, "<><^<><^")) EXPECT_NE(shown, "<none>");
    fetches.clear();
    repaints = 0;
    for (int tick = 0; tick < 10; ++tick) r.Tick();
    // One channel per tick, and each fetched only once within the update interval.
    EXPECT_EQ(fetches["a"] + fetches["b"], 0);
    EXPECT_EQ(repaints, 10);
}

TEST_F(RotationTest, NoChannelsKeepsTheTitleScreenThenShowsTheProductTitleEveryInterval) {
    Rotation r = Start({}, 2);
    r.Tick();
    EXPECT_EQ(r.State(), DisplayState::NoChannels);
    EXPECT_EQ(r.ScreenState(), DisplayState::NoChannels);
    r.Tick();
    EXPECT_EQ(repaints, 0);  // the title screen stays
    randoms = {0, 4, 255};
    r.Tick();
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(r.ItemCodes(), ToDisplayCodes("Tavelo's Rss Screensaver v1.0"));
    EXPECT_EQ(r.TextColour(), 0x0004FFu);
    randoms = {0, 255, 255};
    r.Tick();
    r.Tick();
    EXPECT_EQ(repaints, 2);
    EXPECT_EQ(r.TextColour(), 0x00FFFFu);  // a new colour with every showing
    EXPECT_EQ(r.CurrentItem(), nullptr);
}

TEST_F(RotationTest, AFetchInFlightHoldsTheScreenUntilItsResultOrItsTimeOut) {
    feeds = {{"a", {"a1", "a2"}}, {"b", {"b1"}}, {"h", {"late"}}};
    async = true;
    Rotation r = Start({"a", "h", "b"}, 1);
    r.Tick();
    // The first fetch: input follows the items, the screen keeps the title, Enter picks nothing.
    EXPECT_EQ(r.State(), DisplayState::ShowingItems);
    EXPECT_EQ(r.ScreenState(), DisplayState::TitleScreen);
    EXPECT_EQ(Play(r, "..><v^"), (Seen(6, "<none>")));
    EXPECT_EQ(repaints, 0);
    Finish("a");
    EXPECT_EQ(r.ScreenState(), DisplayState::ShowingItems);
    EXPECT_EQ(repaints, 1);
    // h hangs: a2 stays, ticks and arrows do nothing, until 30 seconds have passed.
    EXPECT_EQ(Play(r, "..<>^v"), (Seen{"a2", "a2", "a2", "a2", "a2", "a2"}));
    clock += kFetchTimeoutSeconds - 1;
    EXPECT_EQ(Play(r, "."), Seen{"a2"});
    clock += 1;
    EXPECT_EQ(Play(r, "."), Seen{"｢ch-h｣の取得に失敗しました"});
    EXPECT_EQ(Play(r, "."), Seen{"｢ch-h｣の取得に失敗しました"}) << "b is being fetched";
    Finish("b");
    EXPECT_EQ(Shown(r), "b1");
    // Back at h while its first fetch still runs: it fails at once, without a second fetch.
    EXPECT_EQ(Play(r, "..."), (Seen{"a1", "a2", "｢ch-h｣の取得に失敗しました"}));
    EXPECT_EQ(fetches["h"], 0);
    EXPECT_EQ(inFlight.size(), 1u);
    Finish("h");  // the late result is dropped
    EXPECT_EQ(Shown(r), "｢ch-h｣の取得に失敗しました");
    EXPECT_EQ(Play(r, "...."), (Seen{"b1", "a1", "a2", "a2"})) << "h's turn again: now it is fetched";
    Finish("h");
    EXPECT_EQ(Shown(r), "late");
    EXPECT_EQ(fetches["h"], 2);
}

TEST_F(RotationTest, AClockSetBackDuringAFetchHoldsTheScreenNoLongerThanThirtyTicks) {
    feeds = {{"a", {"a1"}}};
    async = true;
    Rotation r = Start({"a", "h"}, 1);
    r.Tick();
    Finish("a");
    r.Tick();  // h hangs
    clock -= 24 * 60 * 60;
    EXPECT_EQ(Play(r, std::string(kFetchTimeoutSeconds - 1, '.')).back(), "a1");
    EXPECT_EQ(Play(r, "."), Seen{"｢ch-h｣の取得に失敗しました"});
}

TEST_F(RotationTest, ColourIsDrawnBlueGreenRedAndRedrawnUntilBright) {
    Rotation r = Start({});
    // 255 + 0/4 + 0/2 = 255 is too dark; 255 + 0 + 2/2 = 256 is bright enough.
    randoms = {0x100, 0, 255, 2, 0x300, 0x1FF};
    r.PickTextColour();
    EXPECT_EQ(r.TextColour(), 0x0200FFu);  // 0x00BBGGRR, each from the low 8 bits
    EXPECT_TRUE(randoms.empty());
}

}  // namespace
