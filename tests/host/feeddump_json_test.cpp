// feeddump's JSON line, with the identity standing in for the UTF-8 conversion.
#include "json_line.h"

#include <gtest/gtest.h>

namespace {
std::string Same(const std::string& s) { return s; }
std::string Marked(const std::string& s) { return "<" + s + ">"; }
}  // namespace

TEST(FeeddumpJson, EscapesQuotesBackslashesAndControls) {
    EXPECT_EQ(JsonString("plain"), "\"plain\"");
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("l1\nl2\r\t"), "\"l1\\nl2\\r\\t\"");
    EXPECT_EQ(JsonString(std::string("\x01\x1f", 2)), "\"\\u0001\\u001f\"");
    EXPECT_EQ(JsonString("\xE6\x97\xA5/"), "\"\xE6\x97\xA5/\"");  // UTF-8 and '/' pass through
}

TEST(FeeddumpJson, LineHasEveryFieldInOrder) {
    ChannelContent c;
    c.valid = true;
    c.fetched_at = 1765100000;
    c.title = "T";
    c.link = "L";
    c.description = "D\"";
    c.items = {{"i1", "l1"}, {"i2", ""}};
    EXPECT_EQ(
        ChannelJsonLine(c, &Same),
        "{\"valid\":true,\"is_site_list\":false,\"fetched_at\":1765100000,\"title\":\"T\",\"link\":\"L\","
        "\"description\":\"D\\\"\",\"items\":[{\"title\":\"i1\",\"link\":\"l1\"},{\"title\":\"i2\",\"link\":\"\"}]}");
    // Every text goes through the converter.
    ChannelContent empty;
    empty.is_site_list = true;
    EXPECT_EQ(ChannelJsonLine(empty, &Marked),
              "{\"valid\":false,\"is_site_list\":true,\"fetched_at\":0,\"title\":\"<>\",\"link\":\"<>\","
              "\"description\":\"<>\",\"items\":[]}");
}
