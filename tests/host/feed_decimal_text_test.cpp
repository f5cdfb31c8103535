#include "feed/decimal_text.h"
#include "settings/interval_text.h"

#include <gtest/gtest.h>

#include <climits>

// The settings file's integers as atoi reads them, held at the ends of int; the typed
// intervals the same, never negative. (The fuzz target decimal checks any text.)
TEST(DecimalText, ReadsAsAtoiWouldButHoldsAtTheEndsOfInt) {
    const struct {
        const char* text;
        int read, interval;
    } cases[] = {
        {nullptr, 0, 0},
        {"", 0, 0},
        {" \t+17x", 17, 17},
        {"-5", -5, 0},
        {"2147483648", INT_MAX, INT_MAX},
        {"-2147483649", INT_MIN, 0},
        {"-", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        EXPECT_EQ(ReadDecimal(c.text), c.read);
        EXPECT_EQ(IntervalFromText(c.text), c.interval);
    }
}
