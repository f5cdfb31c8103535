#include "config/settings_rescue.h"

#include <gtest/gtest.h>

TEST(RepairedSettingsText, OnlyTheControlCharactersTheWriterOnceWroteBecomeSpaces) {
    const struct {
        std::string bytes, repaired;
    } cases[] = {
        {"<link>http://a/\x01x</link>", "<link>http://a/ x</link>"},
        {"\x02\x08\x0B\x0C\x0E\x1F", "      "},
        {"a\tb\r\nc\x7F", "a\tb\r\nc\x7F"},  // tab, line ends and DEL are XML's own
        // Double-byte text around them stays: UTF-8 as written, and bytes of no encoding.
        {"\xE9\x80\x9F\x01\xE5\xA0\xB1 \x82\xA0\x1F", "\xE9\x80\x9F \xE5\xA0\xB1 \x82\xA0 "},
        {std::string("a\0b", 3), std::string("a\0b", 3)},  // the writer never wrote a zero
    };
    for (const auto& c : cases) EXPECT_EQ(RepairedSettingsText(c.bytes), c.repaired) << c.bytes;
}

TEST(UnreadableCopyPath, TheLocalTimeThenANumberFromTheSecondTryOn) {
    std::tm when = {};
    when.tm_year = 2026 - 1900, when.tm_mon = 11, when.tm_mday = 8, when.tm_hour = 9, when.tm_min = 5, when.tm_sec = 7;
    EXPECT_EQ(UnreadableCopyPath("C:\\kvt\\kvtini.xml", when, 1), "C:\\kvt\\kvtini.xml.unreadable-20261208-090507");
    EXPECT_EQ(UnreadableCopyPath("C:\\kvt\\kvtini.xml", when, 3), "C:\\kvt\\kvtini.xml.unreadable-20261208-090507-3");
}
