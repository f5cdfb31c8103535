#include "app/command_line.h"

#include <gtest/gtest.h>

TEST(ParseCommandLine, EmptyTextIsConfigureWithoutOwner) {
    CommandLine c = ParseCommandLine("");
    EXPECT_EQ(c.mode, RunMode::Configure);
    EXPECT_EQ(c.host_window, 0);
    EXPECT_FALSE(c.owner_is_foreground);
}
