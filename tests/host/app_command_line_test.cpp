#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {
struct Case {
    const char* text;
    RunMode mode;
    std::int32_t host;
    bool foreground;
};

const Case kCases[] = {
    {nullptr, RunMode::Configure, 0, false},
    {"", RunMode::Configure, 0, false},
    {"/c", RunMode::Configure, 0, true},
    {"/C", RunMode::Configure, 0, true},
    {"/c:1234", RunMode::Configure, 1234, false},
    {"/c:", RunMode::Configure, 0, false},
    {"/c 1234", RunMode::Configure, 0, true},  // no colon: the foreground window, not the number
    {"/s", RunMode::Show, 0, false},
    {"-S", RunMode::Show, 0, false},
    {"xs", RunMode::Show, 0, false},
    {"/s 99", RunMode::Show, 0, false},  // show mode reads no number
    {"/x", RunMode::Configure, 0, false},
    {"/", RunMode::Configure, 0, false},
    {"s", RunMode::Configure, 0, false},  // one character: the second one decides, and there is none
    {"/p 1234", RunMode::Preview, 1234, false},
    {"/p1234", RunMode::Preview, 1234, false},
    {"/P  -77", RunMode::Preview, -77, false},
    {"/p", RunMode::Preview, 0, false},
    {"/p abc", RunMode::Preview, 0, false},
    {"/p 12abc", RunMode::Preview, 12, false},
    {"/a 1234", RunMode::ChangePassword, 1234, false},
    {"/A", RunMode::ChangePassword, 0, false},
    {"/p 2147483647", RunMode::Preview, 2147483647, false},
    {"/p -2147483648", RunMode::Preview, INT32_MIN, false},
    {"/p 2147483648", RunMode::Preview, 0, false},  // does not fit: no window
    {"/p 99999999999999999999999", RunMode::Preview, 0, false},
};
}  // namespace

TEST(ParseCommandLine, EverySwitchForm) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        CommandLine parsed = ParseCommandLine(c.text);
        EXPECT_EQ(parsed.mode, c.mode);
        EXPECT_EQ(parsed.host_window, c.host);
        EXPECT_EQ(parsed.owner_is_foreground, c.foreground);
    }
}
