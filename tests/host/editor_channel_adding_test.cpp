#include "editor/channel_adding.h"
#include "editor/drop_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {
SiteEntry Site(const std::string& link, const std::string& title = "old", bool check = true) {
    SiteEntry e;
    e.link = link;
    e.title = title;
    e.check = check;
    return e;
}

std::string Links(const std::vector<SiteEntry>& sites) {
    std::string out;
    for (const SiteEntry& s : sites) out += (out.empty() ? "" : " ") + s.link + "=" + s.title + (s.check ? "+" : "-");
    return out;
}

// A web of documents by URL; an unknown URL fails to load.
struct FakeWeb {
    std::map<std::string, ChannelContent> docs;
    std::vector<std::string> fetched;
    std::string log;  // beeps and list changes, in order

    void Feed(const std::string& url, const std::string& title) {
        ChannelContent c;
        c.valid = true;
        c.title = title;
        c.description = title + " desc";
        docs[url] = c;
    }
    void SiteList(const std::string& url, std::vector<std::string> sites) {
        ChannelContent c;
        c.valid = c.is_site_list = true;
        for (auto& s : sites) c.items.push_back({"ignored", s});
        docs[url] = c;
    }
    ChannelAddingSteps Steps() {
        ChannelAddingSteps s;
        s.fetch = [this](const std::string& url) {
            fetched.push_back(url);
            auto it = docs.find(url);
            ChannelContent c = it == docs.end() ? ChannelContent() : it->second;
            c.fetched_at = 42;
            return c;
        };
        s.beep = [this](bool ok) { log += ok ? "ok " : "err "; };
        s.takeChecks = [this] { log += "ticks "; };
        s.show = [this](std::size_t row) { log += "show" + std::to_string(row) + " "; };
        s.repaint = [this] { log += "paint "; };
        return s;
    }
};
}  // namespace

TEST(ChannelAdding, AddsOrReplacesTheFirstEntryWithTheSameLinkByteForByte) {
    struct Case {
        const char* url;
        const char* after;
        std::size_t row;
    } cases[] = {
        {"http://a/", "http://a/=A+ http://A/=old+ http://a=old+ http://a/=old+ =old+", 0},
        {"http://A/", "http://a/=old+ http://A/=A+ http://a=old+ http://a/=old+ =old+", 1},
        {"http://a", "http://a/=old+ http://A/=old+ http://a=A+ http://a/=old+ =old+", 2},
        {"", "http://a/=old+ http://A/=old+ http://a=old+ http://a/=old+ =A+", 4},
        {" http://a/", "http://a/=old+ http://A/=old+ http://a=old+ http://a/=old+ =old+  http://a/=A+", 5},
    };
    for (const Case& c : cases) {
        std::vector<SiteEntry> sites = {Site("http://a/"), Site("http://A/"), Site("http://a"), Site("http://a/"),
                                        Site("")};
        EXPECT_EQ(AddOrReplaceSite(sites, Site(c.url, "A")), c.row) << c.url;
        EXPECT_EQ(Links(sites), c.after) << c.url;
    }
}

TEST(ChannelAdding, AFetchedFeedIsEnabledAFailedOneDisabledAndTheTicksAreTakenFirst) {
    FakeWeb web;
    web.Feed("http://f/1", "One");
    std::vector<SiteEntry> sites = {Site("http://dead/"), Site("http://f/1", "was", false)};
    AddChannel(sites, "http://dead/", web.Steps());
    AddChannel(sites, "http://f/1", web.Steps());
    AddChannel(sites, "http://new/", web.Steps());
    EXPECT_EQ(Links(sites), "http://dead/=- http://f/1=One+ http://new/=-");
    EXPECT_EQ(web.log, "err ticks show0 ok ticks show1 err ticks show2 ");
    EXPECT_EQ(sites[1].description, "One desc");
    EXPECT_TRUE(sites[1].content.valid);
    EXPECT_EQ(sites[2].content.fetched_at, 42);
}

TEST(ChannelAdding, ASiteListAddsEachSiteInTurnAndIsNotAddedItself) {
    FakeWeb web;
    web.Feed("http://f/1", "One");
    web.Feed("http://f/2", "Two");
    web.SiteList("http://list", {"http://f/1", "http://dead", "http://f/2", "http://f/1"});
    std::vector<SiteEntry> sites = {Site("http://f/2")};
    AddChannel(sites, "http://list", web.Steps());
    EXPECT_EQ(Links(sites), "http://f/2=Two+ http://f/1=One+ http://dead=-");
    EXPECT_EQ(web.log, "ok ok ticks show1 paint err ticks show2 paint ok ticks show0 paint ok ticks show1 paint ");
}

TEST(ChannelAdding, SiteListsThatListThemselvesEndAndKeepWhatTheyFound) {
    FakeWeb web;
    web.Feed("http://f/1", "One");
    // a -> b -> a, with a feed on each; and a chain deeper than the limit.
    web.SiteList("http://a", {"http://a", "http://b", "http://f/1"});
    web.SiteList("http://b", {"http://a", "http://b"});
    for (int i = 0; i <= kMaxSiteListDepth; ++i)
        web.SiteList("http://deep/" + std::to_string(i), {"http://deep/" + std::to_string(i + 1), "http://f/1"});

    std::vector<SiteEntry> sites;
    AddChannel(sites, "http://a", web.Steps());
    EXPECT_EQ(Links(sites), "http://f/1=One+");
    EXPECT_EQ(web.fetched, (std::vector<std::string>{"http://a", "http://b", "http://f/1"}));
    EXPECT_EQ(web.log, "ok err paint ok err paint err paint paint ok ticks show0 paint ");

    web.fetched.clear();
    AddChannel(sites, "http://deep/0", web.Steps());
    // Lists 0..7 are followed; list 8 is fetched but not followed; each followed level adds the feed.
    EXPECT_EQ(web.fetched.size(), std::size_t(kMaxSiteListDepth + 1 + kMaxSiteListDepth));
    EXPECT_EQ(web.fetched.back(), "http://f/1");
    EXPECT_EQ(Links(sites), "http://f/1=One+");
}

TEST(DroppedText, IsReadWithinItsBlockAndCutWithoutSplittingACharacter) {
    const char sjis[] = "\x82\xA0\x82\xA2";  // two double-byte characters
    struct Case {
        std::string bytes;
        std::size_t size, limit;
        std::string text;
    } cases[] = {
        {std::string("http://a\0junk", 13), 13, 1023, "http://a"},
        {"http://abc", 6, 1023, "http:/"},  // no terminator inside the block
        {"http://abc", 10, 4, "http"},
        {sjis, 4, 3, "\x82\xA0"},
        {"", 0, 1023, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(TextWithin(c.bytes.data(), c.size, c.limit), c.text) << c.bytes;
    EXPECT_EQ(TextWithin(std::string(2000, 'x').c_str(), 2001, kUrlFieldLimit).size(), kUrlFieldLimit);
    EXPECT_EQ(TextWithin(std::string(2000, 'x').c_str(), 2001).size(), 2000u) << "no limit unless asked";
}
