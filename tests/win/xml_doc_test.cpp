// The XML access layer against Wine's real XML object, and the text conversions.
#include "feed/text_convert.h"
#include "feed/xml_doc.h"
#include "feed_server.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

class TextConvert : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitFeedEnvironment(); }
};

TEST_F(TextConvert, UnitsWithoutACodePage932FormBecomeSpaces) {
    // One space per UTF-16 unit: a Hangul syllable is one unit, a character
    // outside the BMP is a surrogate pair.
    EXPECT_EQ(ToMultibyte(L"A\uD55CB"), "A B");
    EXPECT_EQ(ToMultibyte(L"x\U0001F600y"), "x  y");
    const wchar_t loneHalf[] = {0xD800, 0};
    EXPECT_EQ(ToMultibyte(loneHalf), " ");
    EXPECT_EQ(ToMultibyte(L"日本"), "日本");
    EXPECT_EQ(ToMultibyte(L"\uFF71"), Bytes({0xB1}));  // half-width katakana is one byte
    EXPECT_EQ(ToMultibyte(nullptr), "");
    EXPECT_EQ(ToMultibyte(L""), "");
}

TEST_F(TextConvert, LeadingByteOrderMarkIsDropped) {
    EXPECT_EQ(ToMultibyte(L"\uFEFFabc"), "abc");
    EXPECT_EQ(ToMultibyte(L"\uFFFEabc"), "abc");
    EXPECT_EQ(ToMultibyte(L"\uFEFF"), "");
    // Only a leading mark: a later one has no code page 932 form.
    EXPECT_EQ(ToMultibyte(L"a\uFEFFb"), "a b");
}

TEST_F(TextConvert, ToUtf8) {
    EXPECT_EQ(ToUtf8("abc"), "abc");
    EXPECT_EQ(ToUtf8(Bytes({0x82, 0x6C, 0x82, 0x72})), Bytes({0xEF, 0xBC, 0xAD, 0xEF, 0xBC, 0xB3}));
    EXPECT_EQ(ToUtf8(Bytes({0xB1})), Bytes({0xEF, 0xBD, 0xB1}));          // ｱ, three bytes
    EXPECT_EQ(ToUtf8(Bytes({0x81, 0x8B})), Bytes({0xC2, 0xB0}));          // °, two bytes
    EXPECT_EQ(ToUtf8(""), "");
    EXPECT_EQ(ToUtf8(std::string("ab\0cd", 5)), "ab");                  // a C string ends at zero
    // A lead byte with nothing after it is not code page 932: one
    // replacement character at most, nothing read past the end.
    std::string cut = ToUtf8(Bytes({'a', 0x82}));
    EXPECT_EQ(cut.substr(0, 1), "a");
    EXPECT_LE(cut.size(), 4u);
}

TEST_F(TextConvert, ToWideRoundTrips) {
    Bstr wide = ToWide("ＭＳ Ｐゴシック");
    ASSERT_NE(wide.Get(), nullptr);
    EXPECT_EQ(std::wstring(wide.Get(), SysStringLen(wide.Get())), L"ＭＳ Ｐゴシック");
    EXPECT_EQ(ToMultibyte(wide.Get()), "ＭＳ Ｐゴシック");
    Bstr empty = ToWide(nullptr);
    ASSERT_NE(empty.Get(), nullptr);
    EXPECT_EQ(SysStringLen(empty.Get()), 0u);
}

class XmlDocTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitFeedEnvironment(); }
    void SetUp() override {
        ASSERT_EQ(doc_.Load(FixturePath("text_edges.xml").c_str()), S_OK);
        ASSERT_NE(doc_.Root(), nullptr);
    }
    XmlDoc doc_;
};

TEST_F(XmlDocTest, OnlyElementNodesMatch) {
    // Text, comment and processing-instruction nodes carry names too ("text",
    // "comment", the PI's target); only the elements may be found.
    EXPECT_EQ(XmlDoc::ChildText(doc_.Root(), "text"), "element named text");
    EXPECT_EQ(XmlDoc::ChildText(doc_.Root(), "comment"), "element named comment");
}

TEST_F(XmlDocTest, NamesMatchWithoutRegardToCaseAndFirstWins) {
    EXPECT_EQ(XmlDoc::ChildText(doc_.Root(), "dup"), "first");
    EXPECT_EQ(XmlDoc::ChildText(doc_.Root(), "DUP"), "first");
    std::vector<XmlElement> found;
    EXPECT_EQ(XmlDoc::FindChildren(doc_.Root(), "dUp", &found), S_OK);
    ASSERT_EQ(found.size(), 2u);
    Bstr second;
    ASSERT_EQ(found[1]->get_text(second.Put()), S_OK);
    EXPECT_EQ(ToMultibyte(second.Get()), "second");
}

TEST_F(XmlDocTest, OnlyDirectChildrenAreSearched) {
    EXPECT_EQ(XmlDoc::ChildText(doc_.Root(), "inner"), "");
    XmlElement nested;
    ASSERT_EQ(XmlDoc::FindChild(doc_.Root(), "nested", &nested), S_OK);
    EXPECT_EQ(XmlDoc::ChildText(nested.Get(), "inner"), "in");
}

TEST_F(XmlDocTest, ElementWithoutChildren) {
    XmlElement leaf;
    ASSERT_EQ(XmlDoc::FindChild(doc_.Root(), "leaf", &leaf), S_OK);
    XmlElement child;
    EXPECT_EQ(XmlDoc::FindChild(leaf.Get(), "x", &child), E_FAIL);
    EXPECT_FALSE(child);
    std::vector<XmlElement> found;
    EXPECT_EQ(XmlDoc::FindChildren(leaf.Get(), "x", &found), E_FAIL);
    EXPECT_TRUE(found.empty());
    EXPECT_EQ(XmlDoc::ChildText(leaf.Get(), "x"), "");
    EXPECT_EQ(XmlDoc::ChildInt(leaf.Get(), "x"), 0);
    // No match among existing children is a complete walk for FindChildren.
    EXPECT_EQ(XmlDoc::FindChildren(doc_.Root(), "absent", &found), S_OK);
    EXPECT_EQ(XmlDoc::FindChild(doc_.Root(), "absent", &child), E_FAIL);
}

TEST_F(XmlDocTest, TextIsConvertedToCodePage932) {
    EXPECT_EQ(XmlDoc::ChildText(doc_.Root(), "hangul"), "A B");
    EXPECT_EQ(XmlDoc::ChildText(doc_.Root(), "astral"), "x  y");
    EXPECT_EQ(XmlDoc::ChildText(doc_.Root(), "bom"), "after mark");
    EXPECT_EQ(XmlDoc::ChildText(doc_.Root(), "kana"), "ｱｲｳ ＭＳ");
}

TEST(XmlDocLoad, FailuresLeaveNoRoot) {
    InitFeedEnvironment();
    const std::string missing = FixturePath("no-such-file.xml");
    const std::string notXml = FixturePath("../server/feed_server.py");
    for (const char* url : {missing.c_str(), notXml.c_str(), "", static_cast<const char*>(nullptr)}) {
        XmlDoc doc;
        EXPECT_TRUE(FAILED(doc.Load(url))) << (url ? url : "(null)");
        EXPECT_EQ(doc.Root(), nullptr);
        EXPECT_EQ(doc.RootTag(), nullptr);
    }
}

TEST(XmlDocLoad, OverlongUrlFailsCleanly) {
    InitFeedEnvironment();
    std::string url = FeedServerUrl("/feeds/") + std::string(100000, 'a') + ".xml";
    XmlDoc doc;
    EXPECT_TRUE(FAILED(doc.Load(url.c_str())));
    EXPECT_EQ(doc.Root(), nullptr);
}

}  // namespace
