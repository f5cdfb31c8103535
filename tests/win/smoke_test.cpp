#include <windows.h>

#include <gtest/gtest.h>

TEST(Platform, AnsiCodePageIsJapanese) { EXPECT_EQ(GetACP(), 932u); }
