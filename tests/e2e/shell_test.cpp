#include "saver_process.h"

#include <gtest/gtest.h>

TEST(Shell, ChangePasswordEndsAtOnce) {
    SaverRun run;
    ASSERT_TRUE(run.Start("/a 1234"));
    DWORD code = 1;
    ASSERT_TRUE(run.WaitForExit(15000, &code));
    EXPECT_EQ(code, 0u);
}
