#include "display/display_codes.h"
#include "display/header_text.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

TEST(DisplayCodes, SingleAndDoubleByteCharacters) {
    // "Aｱ漢" in code page 932: A, half-width katakana A (0xB1), kan (0x8ABF).
    EXPECT_EQ(ToDisplayCodes("A\xB1\x8A\xBF"), (DisplayText{0x41, 0xB1, 0x8ABF}));
    EXPECT_EQ(ToDisplayCodes("\xE0\x40"), (DisplayText{0xE040}));
    EXPECT_TRUE(ToDisplayCodes("").empty());
}

TEST(DisplayCodes, FullWidthPunctuationBecomesHalfWidth) {
    EXPECT_EQ(ToDisplayCodes("　、’“”「」"), (DisplayText{0x20, 0xA4, 0x27, 0x22, 0x22, 0xA2, 0xA3}));
    // Neighbours of the seven stay as they are.
    EXPECT_EQ(ToDisplayCodes("。‘"), (DisplayText{0x8142, 0x8165}));
}

TEST(DisplayCodes, LeadBytesUpToFCAndDanglingLeadBytes) {
    // 髙, 﨑, 德 and ⅰ, each followed by a single byte it must not swallow.
    EXPECT_EQ(ToDisplayCodes("\xFB\xFC"
                             "A\xFA\xB1"
                             "B\xFA\xBA"
                             "C\xFA\x40"
                             "D\xF0\x40"),
              (DisplayText{0xFBFC, 0x41, 0xFAB1, 0x42, 0xFABA, 0x43, 0xFA40, 0x44, 0xF040}));
    EXPECT_EQ(ToDisplayCodes("\xFD\x40"), (DisplayText{0xFD, 0x40}));  // past the last lead byte
    EXPECT_EQ(ToDisplayCodes("a\x82"), (DisplayText{0x61, 0x82}));
    EXPECT_EQ(CutText("a\xFB\xFC", 2), "a");
}

TEST(DisplayCodes, LongTextIsCutAfter1023WholeCharacters) {
    std::string text = "a";
    for (int i = 0; i < 1100; ++i) text += "漢";
    const DisplayText codes = ToDisplayCodes(text);
    ASSERT_EQ(codes.size(), kMaxDisplayChars);
    EXPECT_EQ(codes.front(), 0x61u);
    EXPECT_EQ(codes.back(), 0x8ABFu);
}

TEST(CutText, KeepsWholeDoubleByteCharacters) {
    std::string odd = "a", even = "ab";
    for (int i = 0; i < 600; ++i) odd += "漢", even += "漢";
    EXPECT_EQ(CutText(odd, 1023).size(), 1023u);
    EXPECT_EQ(CutText(even, 1023).size(), 1022u);  // the next character would be split
    EXPECT_EQ(CutText("ab\x82", 1023), "ab\x82");  // a lead byte at the very end stands alone
    // ... and so does one before a zero, where the text ends.
    EXPECT_EQ(CutText(std::string("ab\x82\0cd", 6), 1023), "ab\x82");
}

std::time_t LocalTime(int hour, int minute) {
    std::tm t = {};
    t.tm_year = 124;
    t.tm_mon = 4;
    t.tm_mday = 10;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

TEST(HeaderText, NameAndFetchTimeStandTogetherCutToWholeCharacters) {
    SiteEntry channel{"経済", "http://127.0.0.1/x", "", true, {}};
    channel.content.fetched_at = LocalTime(9, 5);
    EXPECT_EQ(HeaderText(false, &channel, false, true), "(9時05分取得)");
    EXPECT_EQ(HeaderText(false, &channel, true, true), "経済(9時05分取得)");
    EXPECT_EQ(HeaderText(false, &channel, true, false), "経済");
    EXPECT_EQ(HeaderText(true, &channel, true, true), "表示するチャンネルがありません");
    channel.title = "x";
    for (int i = 0; i < 700; ++i) channel.title += "漢";
    const std::string text = HeaderText(false, &channel, true, true);
    EXPECT_EQ(text.size(), kMaxHeaderBytes);
    EXPECT_EQ(ToDisplayCodes(text).back(), 0x8ABFu);
}

}  // namespace
