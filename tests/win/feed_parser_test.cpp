// FetchChannel on RSS, RDF and site-list documents, from files and over the
// loopback feed server, and on broken and hostile input.
#include "feed/feed_parser.h"
#include "feed_server.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Expected {
    const char* title;
    const char* link;
};

void ExpectItems(const ChannelContent& content, const std::vector<Expected>& expected) {
    ASSERT_EQ(content.items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(content.items[i].title, expected[i].title) << "item " << i;
        EXPECT_EQ(content.items[i].link, expected[i].link) << "item " << i;
    }
}

// A failed fetch carries nothing but its time.
void ExpectFailed(const ChannelContent& content, std::time_t before) {
    EXPECT_FALSE(content.valid);
    EXPECT_FALSE(content.is_site_list);
    EXPECT_GE(content.fetched_at, before);
    EXPECT_LE(content.fetched_at, std::time(nullptr));
    EXPECT_EQ(content.title, "");
    EXPECT_EQ(content.link, "");
    EXPECT_EQ(content.description, "");
    EXPECT_TRUE(content.items.empty());
}

// Every case runs on the fixture as a file path and as served over HTTP.
class FetchChannelTest : public ::testing::TestWithParam<bool> {
protected:
    static void SetUpTestSuite() { InitFeedEnvironment(); }
    std::string Address(const std::string& fixture) {
        if (!GetParam()) return FixturePath(fixture);
        std::string url = FeedServerUrl("/feeds/" + fixture);
        EXPECT_FALSE(url.empty()) << "the feed server is not running";
        return url;
    }
    ChannelContent Fetch(const std::string& fixture) { return FetchChannel(Address(fixture).c_str()); }
};

TEST_P(FetchChannelTest, Rss2ItemsInOrder) {
    std::time_t before = std::time(nullptr);
    ChannelContent c = Fetch("rss2.xml");
    EXPECT_TRUE(c.valid);
    EXPECT_FALSE(c.is_site_list);
    EXPECT_GE(c.fetched_at, before);
    EXPECT_EQ(c.title, "Tom & Jerry ニュース");
    EXPECT_EQ(c.link, "http://127.0.0.1/news/");
    EXPECT_EQ(c.description, "今日の <見出し>");
    ExpectItems(c, {{"最初の記事", "http://127.0.0.1/news/1.html"},
                    {"Second \"story\"", "http://127.0.0.1/news/2.html?a=1&b=2"},
                    {"三番目", "http://127.0.0.1/news/3.html"}});
}

TEST_P(FetchChannelTest, Rss1ItemsBesideTheChannel) {
    ChannelContent c = Fetch("rss1.xml");
    EXPECT_TRUE(c.valid);
    EXPECT_EQ(c.title, "RDF チャンネル");
    EXPECT_EQ(c.link, "http://127.0.0.1/rdf/");
    EXPECT_EQ(c.description, "RSS 1.0 feed");
    ExpectItems(c, {{"Alpha", "http://127.0.0.1/rdf/a"},
                    {"ベータ", "http://127.0.0.1/rdf/b"},
                    {"Gamma", "http://127.0.0.1/rdf/c"}});
}

TEST_P(FetchChannelTest, TagsInAnyCase) {
    ChannelContent c = Fetch("mixed_case.xml");
    EXPECT_TRUE(c.valid);
    EXPECT_EQ(c.title, "Upper");
    EXPECT_EQ(c.description, "Mixed case tags");
    ExpectItems(c, {{"one", "http://127.0.0.1/upper/1"}, {"two", "http://127.0.0.1/upper/2"}});
}

TEST_P(FetchChannelTest, CommentsAndProcessingInstructionsAreSkipped) {
    ChannelContent c = Fetch("comments_pi.xml");
    EXPECT_TRUE(c.valid);
    EXPECT_EQ(c.title, "Real title");
    ExpectItems(c, {{"only item", "http://127.0.0.1/pi/1"}});
}

TEST_P(FetchChannelTest, MissingFieldsGiveEmptyStringsAndNoItemIsDropped) {
    ChannelContent c = Fetch("missing_fields.xml");
    EXPECT_TRUE(c.valid);
    EXPECT_EQ(c.title, "");
    EXPECT_EQ(c.link, "");
    EXPECT_EQ(c.description, "");
    ExpectItems(c, {{"no link", ""}, {"", "http://127.0.0.1/no-title"}, {"", ""}, {"first", "http://127.0.0.1/a"}});
}

TEST_P(FetchChannelTest, ValidWithoutItems) {
    ChannelContent empty = Fetch("empty_channel.xml");
    EXPECT_TRUE(empty.valid);
    EXPECT_EQ(empty.title, "Nothing new");
    EXPECT_TRUE(empty.items.empty());
    // Items in the wrong place are not read.
    ChannelContent rss = Fetch("rss_items_under_root.xml");
    EXPECT_TRUE(rss.valid);
    EXPECT_EQ(rss.title, "Items misplaced");
    EXPECT_TRUE(rss.items.empty());
    ChannelContent rdf = Fetch("rdf_items_in_channel.xml");
    EXPECT_TRUE(rdf.valid);
    EXPECT_EQ(rdf.title, "RDF misplaced");
    EXPECT_TRUE(rdf.items.empty());
}

TEST_P(FetchChannelTest, UnrecognisedDocumentsFail) {
    for (const char* fixture : {"rss_no_channel.xml", "rdf_no_channel.xml", "atom.xml", "page.html", "text_edges.xml"}) {
        SCOPED_TRACE(fixture);
        std::time_t before = std::time(nullptr);
        ExpectFailed(Fetch(fixture), before);
    }
}

TEST_P(FetchChannelTest, SiteListGivesEverySite) {
    ChannelContent c = Fetch("site_list.xml");
    EXPECT_TRUE(c.valid);
    EXPECT_TRUE(c.is_site_list);
    EXPECT_EQ(c.title, "");
    EXPECT_EQ(c.link, "");
    EXPECT_EQ(c.description, "");
    ExpectItems(c, {{"一つ目", "http://127.0.0.1/one.xml"},
                    {"Disabled", "http://127.0.0.1/two.xml"},
                    {"Third", "http://127.0.0.1/three.xml"}});
}

TEST_P(FetchChannelTest, JapaneseInUtf8) {
    ChannelContent c = Fetch("utf8.xml");
    EXPECT_TRUE(c.valid);
    EXPECT_EQ(c.title, "文字コード UTF-8");
    EXPECT_EQ(c.description, "日本語の説明：ソフトウェア、表示");
    ExpectItems(c, {{"ニュース一番", "http://127.0.0.1/UTF-8/1"}, {"ﾊﾝｶｸ カナ 漢字", "http://127.0.0.1/UTF-8/2"}});
}

// Wine's XML object has no Shift_JIS or EUC-JP decoder: it rejects these
// documents as not well-formed. Windows' object reads them.
TEST_P(FetchChannelTest, JapaneseInShiftJisAndEucJp) {
    if (RunningUnderWine()) GTEST_SKIP() << "Wine's XML object cannot decode Shift_JIS or EUC-JP";
    for (const char* fixture : {"sjis.xml", "eucjp.xml"}) {
        SCOPED_TRACE(fixture);
        ChannelContent c = Fetch(fixture);
        EXPECT_TRUE(c.valid);
        EXPECT_EQ(c.description, "日本語の説明：ソフトウェア、表示");
        ASSERT_EQ(c.items.size(), 2u);
        EXPECT_EQ(c.items[1].title, "ﾊﾝｶｸ カナ 漢字");
    }
}

INSTANTIATE_TEST_SUITE_P(FromFileAndHttp, FetchChannelTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Http" : "File"; });

// Broken and hostile input: each ends with a clear result in bounded time.
class FetchChannelHostile : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitFeedEnvironment(); }
    std::string Url(const std::string& path) {
        std::string url = FeedServerUrl(path);
        EXPECT_FALSE(url.empty()) << "the feed server is not running";
        return url;
    }
};

TEST_F(FetchChannelHostile, ErrorsAndBrokenResponsesFail) {
    for (const char* path : {"/status/404", "/status/500", "/empty", "/notxml", "/half/gen/items-100.xml",
                             "/feeds/no-such-feed.xml"}) {
        SCOPED_TRACE(path);
        std::time_t before = std::time(nullptr);
        ExpectFailed(FetchChannel(Url(path).c_str()), before);
    }
}

TEST_F(FetchChannelHostile, UnreachableAddressFails) {
    // Nothing listens on loopback port 9 (discard) here: the connection is refused.
    std::time_t before = std::time(nullptr);
    ExpectFailed(FetchChannel("http://127.0.0.1:9/feed.xml"), before);
}

TEST_F(FetchChannelHostile, SlowServerIsWaitedFor) {
    ChannelContent c = FetchChannel(Url("/slow/feeds/rss2.xml?ms=800").c_str());
    EXPECT_TRUE(c.valid);
    EXPECT_EQ(c.items.size(), 3u);
}

TEST_F(FetchChannelHostile, HundredThousandItems) {
    for (const std::string& address : {GeneratedFeedPath("items-100000.xml"), Url("/gen/items-100000.xml")}) {
        SCOPED_TRACE(address);
        ChannelContent c = FetchChannel(address.c_str());
        EXPECT_TRUE(c.valid);
        ASSERT_EQ(c.items.size(), 100000u);
        EXPECT_EQ(c.items.front().title, "Item 1 headline text for the screen");
        EXPECT_EQ(c.items.back().title, "Item 100000 headline text for the screen");
        EXPECT_EQ(c.items.back().link, "http://127.0.0.1/generated/100000.html");
    }
}

TEST_F(FetchChannelHostile, EntityExpansionBombIsRefused) {
    std::time_t before = std::time(nullptr);
    ExpectFailed(FetchChannel(GeneratedFeedPath("bomb.xml").c_str()), before);
    ExpectFailed(FetchChannel(Url("/gen/bomb.xml").c_str()), before);
}

TEST_F(FetchChannelHostile, TenThousandLevelsOfNesting) {
    // The parser may refuse the depth (Wine's does) or read it; either way
    // the result is whole and the deep item is read correctly.
    for (const std::string& address : {GeneratedFeedPath("deep.xml"), Url("/gen/deep.xml")}) {
        SCOPED_TRACE(address);
        std::time_t before = std::time(nullptr);
        ChannelContent c = FetchChannel(address.c_str());
        if (!c.valid) {
            ExpectFailed(c, before);
            continue;
        }
        EXPECT_EQ(c.title, "deep");
        ExpectItems(c, {{"t", ""}});
    }
}

TEST_F(FetchChannelHostile, TitleOfAHundredThousandCharacters) {
    // 90,000 ASCII letters and 10,000 hiragana of two bytes each.
    ChannelContent c = FetchChannel(Url("/gen/longtitle.xml").c_str());
    EXPECT_TRUE(c.valid);
    EXPECT_EQ(c.title.size(), 110000u);
    EXPECT_EQ(c.title.substr(0, 11), "abcdefghiあ");
    ASSERT_EQ(c.items.size(), 1u);
    EXPECT_EQ(c.items[0].title, c.title);
}

}  // namespace
