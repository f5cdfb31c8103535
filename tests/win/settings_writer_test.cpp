#include "config/settings_io.h"
#include "feed_server.h"
#include "test_paths.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {
// "ＭＳ Ｐゴシック" in UTF-8, spelled as bytes: literals here are code page 932.
const char kDefaultFaceUtf8[] = "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";

const std::string kDefaultOptions = std::string(
                                        "<?xml version='1.0' encoding='UTF-8' ?>\r\n"
                                        "<kvtini>\r\n"
                                        "  <disp_header_title>1</disp_header_title>\r\n"
                                        "  <disp_header_date>1</disp_header_date>\r\n"
                                        "  <disp_interval>5</disp_interval>\r\n"
                                        "  <load_interval>60</load_interval>\r\n"
                                        "  <font_face>") +
                                    kDefaultFaceUtf8 + "</font_face>\r\n";

class SettingsWriter : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = saverSettings;
        saverSettings = SaverSettings();
        folder_ = MakeTempFolder("kvt-writer");
        path_ = folder_ + "kvtini.xml";
    }
    void TearDown() override {
        saverSettings = saved_;
        RemoveFolder(folder_);
    }
    bool TempLeftBehind() const { return GetFileAttributesA((path_ + ".tmp").c_str()) != INVALID_FILE_ATTRIBUTES; }

    SaverSettings saved_;
    std::string folder_, path_;
};
}  // namespace

TEST_F(SettingsWriter, WritesTheFixedLayoutOverAnyPreviousFile) {
    WriteFileBytes(path_, std::string(5000, 'x'));  // longer than the new content
    ASSERT_EQ(SaveSettings(path_.c_str()), 0);
    EXPECT_EQ(ReadFileBytes(path_), kDefaultOptions + "</kvtini>\r\n");  // no sites

    saverSettings.sites.push_back(SiteEntry());  // the fourteen lines
    ASSERT_EQ(SaveSettings(path_.c_str()), 0);
    EXPECT_EQ(ReadFileBytes(path_), kDefaultOptions +
                                        "  <site>\r\n"
                                        "    <title></title>\r\n"
                                        "    <link></link>\r\n"
                                        "    <description></description>\r\n"
                                        "    <check>0</check>\r\n"
                                        "  </site>\r\n"
                                        "</kvtini>\r\n");
    EXPECT_FALSE(TempLeftBehind());
}

// Failures leave the previous file byte for byte and are reported.
// Cases Wine cannot model here, and so not tested:
//  - a read-only folder: the tests run as root, which ignores Unix permissions,
//    and Windows ignores the read-only attribute of folders;
//  - a disk that fills up while writing.
TEST_F(SettingsWriter, FailedSaveKeepsThePreviousFileAndReportsIt) {
    WriteFileBytes(path_, "<?xml version='1.0' encoding='UTF-8' ?>\r\n<kvtini>\r\n</kvtini>\r\n");
    saverSettings.disp_interval = 42;
    const std::string temp = path_ + ".tmp", taken = folder_ + "taken.xml";
    CreateDirectoryA(taken.c_str(), nullptr);
    HANDLE other = INVALID_HANDLE_VALUE;
    const struct {
        const char* why;
        std::string path;
        std::function<void()> before, after;
    } cases[] = {
        {"open elsewhere without delete sharing", path_,
         [&] {
             other = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
         },
         [&] { CloseHandle(other); }},
        {"read-only", path_, [&] { SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY); },
         [&] { SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL); }},
        {"temporary file held by another writer", path_,
         [&] { other = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr); },
         [&] { CloseHandle(other), DeleteFileA(temp.c_str()); }},
        {"name taken by a folder", taken, [] {}, [] {}},
        {"folder missing", folder_ + "no-such-folder\\kvtini.xml", [] {}, [] {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const std::string previous = ReadFileBytes(c.path);
        const bool existed = GetFileAttributesA(c.path.c_str()) != INVALID_FILE_ATTRIBUTES;
        c.before();
        EXPECT_LT(SaveSettings(c.path.c_str()), 0);
        c.after();
        EXPECT_EQ(ReadFileBytes(c.path), previous);
        EXPECT_EQ(GetFileAttributesA(c.path.c_str()) != INVALID_FILE_ATTRIBUTES, existed);
        EXPECT_EQ(GetFileAttributesA((c.path + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

namespace {
std::string RandomText(std::mt19937& rng) {
    static const char ascii[] = " !\"#$%&'()*+,-./0123456789:;<=>?@ABCXYZ[\\]^_`abcxyz{|}~";
    std::string s;
    const int length = int(rng() % 24);
    for (int i = 0; i < length; ++i) {
        switch (rng() % 4) {
        case 0: s += ascii[rng() % (sizeof ascii - 1)]; break;
        case 1: s += char(0xA1 + rng() % (0xDF - 0xA1 + 1)); break;  // half-width kana
        default: {
            // First-level kanji: leads 0x89-0x97 use every trail byte, 0x5C included.
            unsigned trail = 0x40 + rng() % (0xFC - 0x40);
            if (trail >= 0x7F) ++trail;
            s += char(0x89 + rng() % (0x97 - 0x89 + 1));
            s += char(trail);
        }
        }
    }
    return s;
}
}  // namespace

TEST_F(SettingsWriter, RandomSettingsReadBackEqual) {
    InitFeedEnvironment();
    std::mt19937 rng(20260512);
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        SaverSettings written;
        written.disp_header_title = rng() % 2;
        written.disp_header_date = rng() % 2;
        written.disp_interval = int(1 + rng() % 99);
        written.load_interval = int(1 + rng() % 999);
        written.font_face = RandomText(rng);
        for (int i = int(rng() % 40); i > 0; --i)
            written.sites.push_back(
                {RandomText(rng), "http://127.0.0.1/" + RandomText(rng), RandomText(rng), rng() % 2 == 0, {}});
        written.sites.push_back({"\"&<>'", "", "", false, {}});

        saverSettings = written;
        ASSERT_EQ(SaveSettings(path_.c_str()), 0);
        saverSettings = SaverSettings();
        ASSERT_EQ(LoadSettings(path_.c_str(), false), 0);

        const SaverSettings& read = saverSettings;
        EXPECT_EQ(read.disp_header_title, written.disp_header_title);
        EXPECT_EQ(read.disp_header_date, written.disp_header_date);
        EXPECT_EQ(read.disp_interval, written.disp_interval);
        EXPECT_EQ(read.load_interval, written.load_interval);
        EXPECT_EQ(read.font_face, written.font_face);
        ASSERT_EQ(read.sites.size(), written.sites.size());
        for (size_t i = 0; i < read.sites.size(); ++i) {
            SCOPED_TRACE("site " + std::to_string(i));
            EXPECT_EQ(read.sites[i].title, written.sites[i].title);
            EXPECT_EQ(read.sites[i].link, written.sites[i].link);
            EXPECT_EQ(read.sites[i].description, written.sites[i].description);
            EXPECT_EQ(read.sites[i].check, written.sites[i].check);
        }
    }
}
