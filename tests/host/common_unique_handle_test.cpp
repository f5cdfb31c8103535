#include "common/unique_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<int> released;  // the handles released, in order

struct CountedTraits {
    using Handle = int*;
    static bool Release(int* h) {
        released.push_back(*h);
        return *h != 0;  // a zero handle fails to be released
    }
};
using Counted = UniqueHandle<CountedTraits>;
}  // namespace

// Each handle is released once, by the holder that has it last; a failed release is
// reported by Close.
TEST(UniqueHandle, ReleasesEachHandleOnceWhereverItWasMoved) {
    int a = 1, b = 2, c = 3, failing = 0;
    released.clear();
    {
        Counted first(&a);
        Counted second(std::move(first));
        EXPECT_FALSE(first);
        Counted third(&b);
        third = std::move(second);  // b goes
        EXPECT_EQ(third.Get(), &a);
        third.Reset(&a);  // the handle it holds: kept
        third.Reset(&c);  // a goes
        Counted broken(&failing);
        EXPECT_FALSE(broken.Close());
        EXPECT_TRUE(broken.Close()) << "nothing left to release";
        EXPECT_TRUE(Counted().Close());
    }  // c goes
    EXPECT_EQ(released, (std::vector<int>{2, 1, 0, 3}));
}
