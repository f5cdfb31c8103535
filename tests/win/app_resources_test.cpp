// What Windows and the program read from kvt.scr's resources, and the text encoding
// the program is built with.
#include "res/resource.h"
#include "test_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {
class SaverModule : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExA((BinFolder() + "kvt.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { FreeLibrary(module_); }

    std::string Resource(LPCSTR type, LPCSTR name) const {
        HRSRC found = FindResourceA(module_, name, type);
        if (!found) return std::string();
        HGLOBAL data = LoadResource(module_, found);
        return std::string(static_cast<const char*>(LockResource(data)), SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};
}  // namespace

TEST(Encoding, NarrowLiteralsAreCodePage932AndSoIsTheAnsiCodePage) {
    EXPECT_EQ(GetACP(), 932u);
    EXPECT_EQ(std::string("ＭＳ Ｐゴシック"), "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");
    EXPECT_EQ(std::string("｢"), "\xA2");
}

TEST_F(SaverModule, StringOneAndTheVersionNameTheProduct) {
    char name[128] = "";
    ASSERT_GT(LoadStringA(module_, IDS_SAVER_NAME, name, sizeof name), 0);  // what Windows lists
    EXPECT_STREQ(name, "Tavelo's Rss Screensaver");
    const std::string version = Resource(RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO));
    const std::wstring wide(reinterpret_cast<const wchar_t*>(version.data()), version.size() / 2);
    EXPECT_NE(wide.find(L"Tavelo's Rss Screensaver"), std::wstring::npos);
    EXPECT_NE(wide.find(L"kvt.scr"), std::wstring::npos);
}

TEST_F(SaverModule, ManifestAsksForCommonControls6AndPerMonitorDpi) {
    const std::string manifest = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    for (const char* part :
         {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", "PerMonitorV2", "true/pm", "supportedOS"})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

TEST_F(SaverModule, IconAndCursorsHaveTheirSizesAndHotSpots) {
    HICON icon = static_cast<HICON>(LoadImageA(module_, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    DestroyIcon(icon);

    struct {
        int id;
        DWORD x, y;
    } cursors[] = {{IDC_LINK_CURSOR, 12, 6}, {IDC_DRAG_CURSOR, 8, 3}};
    for (const auto& c : cursors) {
        HCURSOR cursor = LoadCursorA(module_, MAKEINTRESOURCEA(c.id));
        ASSERT_NE(cursor, nullptr) << c.id;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(info.xHotspot, c.x) << c.id;
        EXPECT_EQ(info.yHotspot, c.y) << c.id;
        BITMAP mask = {};
        GetObjectA(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, 32);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}
