// LoadSettings on configuration files written by the tests.
#include "config/settings_io.h"
#include "feed/text_convert.h"
#include "feed_server.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

class LoadSettingsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitFeedEnvironment(); }
    void SetUp() override {
        folder_ = MakeTempFolder("kvt-settings");
        ASSERT_FALSE(folder_.empty());
    }
    void TearDown() override {
        saverSettings = SaverSettings();
        RemoveFolder(folder_);
    }

    // Loads `body` (code page 932) inside a root element, written as a UTF-8 file,
    // into default settings.
    int Load(const std::string& body, bool onlyChecked = false, const std::string& root = "kvtini") {
        saverSettings = SaverSettings();
        const std::string path = folder_ + "kvtini.xml";
        EXPECT_TRUE(WriteFileBytes(path, ToUtf8("<?xml version='1.0' encoding='UTF-8' ?>\r\n<" + root + ">\r\n" + body +
                                                "</" + root + ">\r\n")));
        return LoadSettings(path.c_str(), onlyChecked);
    }
    static std::string Site(const char* title, const char* check) {
        return std::string("<site><title>") + title + "</title><link>http://127.0.0.1/" + title +
               "</link><description>d</description><check>" + check + "</check></site>\r\n";
    }

    std::string folder_;
};

TEST_F(LoadSettingsTest, IntervalsReadLikeAtoiThenClamp) {
    const struct {
        const char* text;  // null: the element is left out
        int disp_interval, load_interval;
    } cases[] = {
        {"0", 1, 1},
        {"150", 99, 150},
        {"-3", 1, 1},
        {"abc", 1, 1},
        {"12abc", 12, 12},
        {" 7", 7, 7},
        {"1000", 99, 999},
        {"99", 99, 99},
        {"999", 99, 999},
        {"+5", 5, 5},
        {"7 2", 7, 7},
        {"", 1, 1},
        {nullptr, 1, 1},
        // Beyond the range of int: saturates, not wraps.
        {"4294967297", 99, 999},
        {"-4294967199", 1, 1},
        {"99999999999999999999", 99, 999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(missing)");
        std::string body = "<font_face>f</font_face>";
        if (c.text) {
            body += std::string("<disp_interval>") + c.text + "</disp_interval>";
            body += std::string("<load_interval>") + c.text + "</load_interval>";
        }
        ASSERT_EQ(Load(body), 0);
        EXPECT_EQ(saverSettings.disp_interval, c.disp_interval);
        EXPECT_EQ(saverSettings.load_interval, c.load_interval);
    }
}

TEST_F(LoadSettingsTest, FirstOfEachOptionCountsAndAMissingOneReadsAsZeroNotItsDefault) {
    ASSERT_EQ(Load("<disp_header_title>0</disp_header_title>\r\n<disp_header_date>5</disp_header_date>\r\n"
                   "<disp_interval>9</disp_interval><disp_interval>8</disp_interval><load_interval>120</load_interval>"
                   "<font_face>ＭＳ ゴシック &amp; co</font_face>"),
              0);
    EXPECT_FALSE(saverSettings.disp_header_title);
    EXPECT_EQ(static_cast<int>(*reinterpret_cast<const unsigned char*>(&saverSettings.disp_header_date)), 1);
    EXPECT_EQ(saverSettings.disp_interval, 9);
    EXPECT_EQ(saverSettings.load_interval, 120);
    EXPECT_EQ(saverSettings.font_face, "ＭＳ ゴシック & co");

    ASSERT_EQ(Load(""), 0);
    EXPECT_FALSE(saverSettings.disp_header_title);
    EXPECT_FALSE(saverSettings.disp_header_date);
    EXPECT_EQ(saverSettings.disp_interval, 1);
    EXPECT_EQ(saverSettings.load_interval, 1);
    EXPECT_EQ(saverSettings.font_face, "");
    EXPECT_TRUE(saverSettings.sites.empty());
}

TEST_F(LoadSettingsTest, TagNamesInAnyCase) {
    ASSERT_EQ(Load("<DISP_INTERVAL>4</DISP_INTERVAL><Load_Interval>20</Load_Interval>"
                   "<Disp_Header_Title>1</Disp_Header_Title><FONT_FACE>Face</FONT_FACE>"
                   "<SITE><TITLE>T</TITLE><Link>L</Link><DESCRIPTION>D</DESCRIPTION><Check>1</Check></SITE>",
                   true, "KVTINI"),
              0);
    EXPECT_EQ(saverSettings.disp_interval, 4);
    EXPECT_EQ(saverSettings.load_interval, 20);
    EXPECT_TRUE(saverSettings.disp_header_title);
    EXPECT_EQ(saverSettings.font_face, "Face");
    ASSERT_EQ(saverSettings.sites.size(), 1u);
    EXPECT_EQ(saverSettings.sites[0].title, "T");
    EXPECT_EQ(saverSettings.sites[0].link, "L");
    EXPECT_EQ(saverSettings.sites[0].description, "D");
    EXPECT_TRUE(saverSettings.sites[0].check);
}

TEST_F(LoadSettingsTest, SitesInFileOrderWithCheckReadAsInteger) {
    ASSERT_EQ(
        Load(Site("a", "1") + Site("b", "2") + Site("c", "") + Site("d", "0") + "<site><title>bare</title></site>"), 0);
    ASSERT_EQ(saverSettings.sites.size(), 5u);
    const char* titles[] = {"a", "b", "c", "d", "bare"};
    const bool checks[] = {true, true, false, false, false};
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(titles[i]);
        EXPECT_EQ(saverSettings.sites[i].title, titles[i]);
        EXPECT_EQ(saverSettings.sites[i].check, checks[i]);
        EXPECT_FALSE(saverSettings.sites[i].content.valid);
    }
    EXPECT_EQ(saverSettings.sites[0].link, "http://127.0.0.1/a");
    EXPECT_EQ(saverSettings.sites[0].description, "d");
    EXPECT_EQ(saverSettings.sites[4].link, "");
    EXPECT_EQ(saverSettings.sites[4].description, "");

    // Only the enabled ones, still in order.
    ASSERT_EQ(Load(Site("first", "1") + Site("second", "0") + Site("third", "1"), true), 0);
    ASSERT_EQ(saverSettings.sites.size(), 2u);
    EXPECT_EQ(saverSettings.sites[0].title, "first");
    EXPECT_EQ(saverSettings.sites[1].title, "third");
}

TEST_F(LoadSettingsTest, AnotherRootOrAnUnreadableFileLeavesTheDefaults) {
    const std::string broken = folder_ + "broken.xml";
    ASSERT_TRUE(WriteFileBytes(broken, "<kvtini><disp_interval>9</disp_interval>"));
    EXPECT_EQ(Load("<channel><disp_interval>9</disp_interval></channel><disp_interval>9</disp_interval>", false, "rss"),
              0);
    const SaverSettings defaults;
    EXPECT_EQ(saverSettings.disp_interval, defaults.disp_interval);
    EXPECT_EQ(saverSettings.load_interval, defaults.load_interval);
    EXPECT_EQ(saverSettings.font_face, defaults.font_face);
    EXPECT_TRUE(saverSettings.disp_header_title);
    for (const std::string& path : {folder_ + "missing.xml", broken, folder_}) {
        SCOPED_TRACE(path);
        saverSettings = SaverSettings();
        EXPECT_NE(LoadSettings(path.c_str(), false), 0);
        EXPECT_EQ(saverSettings.disp_interval, defaults.disp_interval);
        EXPECT_EQ(saverSettings.font_face, defaults.font_face);
        EXPECT_TRUE(saverSettings.sites.empty());
    }
}

}  // namespace
