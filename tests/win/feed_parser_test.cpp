// FetchChannel on RSS, RDF and site-list documents, and on broken and hostile
// input from files and over the loopback feed server.
#include "feed/feed_parser.h"
#include "feed_server.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <wincrypt.h>

#include <string>
#include <vector>

namespace {

struct Item {
    const char* title;
    const char* link;
};

struct Feed {
    const char* fixture;
    const char* title;
    const char* link;
    const char* description;
    std::vector<Item> items;
    bool siteList = false;
};

const Feed kRss2 = {"rss2.xml",
                    "Tom & Jerry ニュース",
                    "http://127.0.0.1/news/",
                    "今日の <見出し>",
                    {{"最初の記事", "http://127.0.0.1/news/1.html"},
                     {"Second \"story\"", "http://127.0.0.1/news/2.html?a=1&b=2"},
                     {"三番目", "http://127.0.0.1/news/3.html"}}};
const Feed kUtf8 = {"utf8.xml",
                    "文字コード UTF-8",
                    "http://127.0.0.1/UTF-8/",
                    "日本語の説明：ソフトウェア、表示",
                    {{"ニュース一番", "http://127.0.0.1/UTF-8/1"}, {"ﾊﾝｶｸ カナ 漢字", "http://127.0.0.1/UTF-8/2"}}};

void ExpectItems(const ChannelContent& content, const std::vector<Item>& expected) {
    ASSERT_EQ(content.items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(content.items[i].title, expected[i].title) << "item " << i;
        EXPECT_EQ(content.items[i].link, expected[i].link) << "item " << i;
    }
}

void ExpectFeed(const std::string& address, const Feed& f) {
    SCOPED_TRACE(address);
    const std::time_t before = std::time(nullptr);
    const ChannelContent c = FetchChannel(address.c_str());
    EXPECT_TRUE(c.valid);
    EXPECT_EQ(c.is_site_list, f.siteList);
    EXPECT_GE(c.fetched_at, before);
    EXPECT_EQ(c.title, f.title);
    EXPECT_EQ(c.link, f.link);
    EXPECT_EQ(c.description, f.description);
    ExpectItems(c, f.items);
}

// A failed fetch carries nothing but its time.
void ExpectFailed(const std::string& address) {
    SCOPED_TRACE(address);
    const std::time_t before = std::time(nullptr);
    const ChannelContent c = FetchChannel(address.c_str());
    EXPECT_FALSE(c.valid);
    EXPECT_FALSE(c.is_site_list);
    EXPECT_GE(c.fetched_at, before);
    EXPECT_LE(c.fetched_at, std::time(nullptr));
    EXPECT_EQ(c.title + c.link + c.description, "");
    EXPECT_TRUE(c.items.empty());
}

class FetchChannelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitFeedEnvironment(); }
    static std::string Served(const std::string& path) {
        std::string url = FeedServerUrl(path);
        EXPECT_FALSE(url.empty()) << "the feed server is not running";
        return url;
    }
};

TEST_F(FetchChannelTest, EveryKindOfChannelAndTheSiteList) {
    const Feed feeds[] = {
        kRss2,
        {"rss1.xml",
         "RDF チャンネル",
         "http://127.0.0.1/rdf/",
         "RSS 1.0 feed",  // items beside the channel
         {{"Alpha", "http://127.0.0.1/rdf/a"},
          {"ベータ", "http://127.0.0.1/rdf/b"},
          {"Gamma", "http://127.0.0.1/rdf/c"}}},
        {"mixed_case.xml",
         "Upper",
         "http://127.0.0.1/upper/",
         "Mixed case tags",
         {{"one", "http://127.0.0.1/upper/1"}, {"two", "http://127.0.0.1/upper/2"}}},
        {"comments_pi.xml", "Real title", "http://127.0.0.1/pi/", "", {{"only item", "http://127.0.0.1/pi/1"}}},
        // Missing fields are empty strings and no item is dropped; the first of two counts.
        {"missing_fields.xml",
         "",
         "",
         "",
         {{"no link", ""}, {"", "http://127.0.0.1/no-title"}, {"", ""}, {"first", "http://127.0.0.1/a"}}},
        {"empty_channel.xml", "Nothing new", "http://127.0.0.1/e/", "", {}},
        // Items in the wrong place are not read.
        {"rss_items_under_root.xml", "Items misplaced", "http://127.0.0.1/m/", "", {}},
        {"rdf_items_in_channel.xml", "RDF misplaced", "", "", {}},
        {"site_list.xml",
         "",
         "",
         "",
         {{"一つ目", "http://127.0.0.1/one.xml"},
          {"Disabled", "http://127.0.0.1/two.xml"},
          {"Third", "http://127.0.0.1/three.xml"}},
         true},
        kUtf8,
    };
    for (const Feed& f : feeds) ExpectFeed(FixturePath(f.fixture), f);
}

TEST_F(FetchChannelTest, UnrecognisedDocumentsFail) {
    for (const char* fixture : {"rss_no_channel.xml", "rdf_no_channel.xml", "atom.xml", "page.html", "text_edges.xml"})
        ExpectFailed(FixturePath(fixture));
}

TEST_F(FetchChannelTest, JapaneseInUtf8OverHttp) { ExpectFeed(Served("/feeds/utf8.xml"), kUtf8); }

// Converted to UTF-8 before the XML object sees them, so they read alike under Wine,
// whose object has no decoder for either, and on Windows.
TEST_F(FetchChannelTest, JapaneseInShiftJisAndEucJp) {
    for (const char* fixture : {"sjis.xml", "eucjp.xml"}) {
        for (const std::string& address : {FixturePath(fixture), Served(std::string("/feeds/") + fixture)}) {
            SCOPED_TRACE(address);
            ChannelContent c = FetchChannel(address.c_str());
            EXPECT_TRUE(c.valid);
            EXPECT_EQ(c.description, kUtf8.description);
            ASSERT_EQ(c.items.size(), 2u);
            EXPECT_EQ(c.items[1].title, kUtf8.items[1].title);
        }
    }
}

// Broken and hostile input: each ends with a clear result in bounded time.
TEST_F(FetchChannelTest, ErrorsAndBrokenResponsesFail) {
    for (const char* path : {"/status/404", "/status/500", "/empty", "/notxml", "/half/gen/items-100.xml",
                             "/feeds/no-such-feed.xml", "/gen/bomb.xml"})
        ExpectFailed(Served(path));
    ExpectFailed("http://127.0.0.1:9/feed.xml");  // nothing listens on port 9 here: refused
    ExpectFailed(GeneratedFeedPath("bomb.xml"));  // entity expansion is refused
}

// feeddump's exit code for one address: 0 when the fetch was valid. Each fetch runs in
// a process of its own, as the platform keeps what it learnt of a server's certificate
// for the life of a process.
DWORD FeeddumpExitCode(const std::string& address) {
    std::string command = "\"" + BinFolder() + "feeddump.exe\" \"" + address + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return DWORD(-1);
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// DOCTYPEs that attack their reader: entities that expand beyond any bound, and an
// external entity, DTD and parameter entity that point back at the server. No entity
// expands and nothing is fetched but the feeds; a feed that needs an entity fails.
TEST_F(FetchChannelTest, HostileDoctypesExpandNothingAndFetchNothingElse) {
    const struct {
        const char* path;
        bool valid;
        const char* title;
    } cases[] = {
        {"/hostile/quadratic?items=3", false, ""},   {"/gen/bomb.xml", false, ""},
        {"/hostile/external-entity", false, ""},     {"/hostile/external-dtd", true, "DTD ×"},
        {"/hostile/external-parameter", true, "PE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const ChannelContent content = FetchChannel(Served(c.path).c_str());
        EXPECT_EQ(content.valid, c.valid);
        EXPECT_EQ(content.title, c.title);
        EXPECT_EQ(content.items.size(), c.valid ? 1u : 0u);
        EXPECT_NE(FeedServerRequests().find(std::string(c.path).substr(0, std::string(c.path).find('?'))),
                  std::string::npos);
    }
    EXPECT_EQ(FeedServerRequests().find("/ext/"), std::string::npos) << FeedServerRequests();
    // feeddump, whose 32-bit build once ran out of memory on it, ends with "not valid".
    EXPECT_EQ(FeeddumpExitCode(Served("/hostile/quadratic")), 1u);
}

// A feed over HTTPS loads only when the system trusts its certificate: the server's own
// authority is trusted in this test's Wine prefix alone (it runs apart, in a copy).
TEST(FetchChannelHttps, LoadsOnlyOnceTheSystemTrustsTheCertificate) {
    const std::string url = FeedServerHttpsUrl("/feeds/rss2.xml");
    ASSERT_FALSE(url.empty()) << "the feed server is not running";
    EXPECT_EQ(FeeddumpExitCode(url), 1u);

    const std::string authority = FeedServerAuthority();
    ASSERT_FALSE(authority.empty());
    const HCERTSTORE root = CertOpenSystemStoreA(0, "ROOT");
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING,
                                                 reinterpret_cast<const BYTE*>(authority.data()),
                                                 DWORD(authority.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr));
    CertCloseStore(root, 0);
    EXPECT_EQ(FeeddumpExitCode(url), 0u);
}

TEST_F(FetchChannelTest, SlowServerIsWaitedFor) { ExpectFeed(Served("/slow/feeds/rss2.xml?ms=800"), kRss2); }

// Every item of a long feed, in order, from a file and over HTTP. The 100,000-item
// feeds are timed by `scripts/bench feed` instead.
TEST_F(FetchChannelTest, TenThousandItems) {
    for (const std::string& address : {GeneratedFeedPath("items-10000.xml"), Served("/gen/items-10000.xml")}) {
        SCOPED_TRACE(address);
        ChannelContent c = FetchChannel(address.c_str());
        EXPECT_TRUE(c.valid);
        ASSERT_EQ(c.items.size(), 10000u);
        EXPECT_EQ(c.items.front().title, "Item 1 headline text for the screen");
        EXPECT_EQ(c.items.back().title, "Item 10000 headline text for the screen");
        EXPECT_EQ(c.items.back().link, "http://127.0.0.1/generated/10000.html");
    }
}

TEST_F(FetchChannelTest, TenThousandLevelsOfNestingAndATitleOfAHundredThousandCharacters) {
    // The parser may refuse the depth (Wine's does) or read it; either way
    // the result is whole and the deep item is read correctly.
    const std::string deep = GeneratedFeedPath("deep.xml");
    if (FetchChannel(deep.c_str()).valid)
        ExpectFeed(deep, {"deep.xml", "deep", "", "", {{"t", ""}}});
    else
        ExpectFailed(deep);

    // 90,000 ASCII letters and 10,000 hiragana of two bytes each.
    ChannelContent c = FetchChannel(Served("/gen/longtitle.xml").c_str());
    EXPECT_TRUE(c.valid);
    EXPECT_EQ(c.title.size(), 110000u);
    EXPECT_EQ(c.title.substr(0, 11), "abcdefghiあ");
    ASSERT_EQ(c.items.size(), 1u);
    EXPECT_EQ(c.items[0].title, c.title);
}

}  // namespace
