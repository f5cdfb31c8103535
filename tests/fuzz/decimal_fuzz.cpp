// The decimal reader of the settings file (ReadDecimal) and the settings dialog's
// interval reader on any bytes (up to the first zero). ReadDecimal reads as atoi does
// but holds values beyond int at INT_MAX or INT_MIN; a typed interval is never
// negative, and a number too large is the largest interval, never a wrapped one.
#include "feed/decimal_text.h"
#include "fuzz_input.h"
#include "settings/interval_text.h"

#include <climits>

namespace {
bool Space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool Digit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = FuzzInput(data, size).Rest();
    const char* p = text.c_str();

    // The value as written, compared digit by digit with the limits of int.
    while (Space(*p)) ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    while (*p == '0') ++p;
    std::string digits;
    while (Digit(*p)) digits += *p++;
    const std::string limit = negative ? "2147483648" : "2147483647";
    const bool beyond = digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit);

    const int read = ReadDecimal(text.c_str());
    if (beyond) {
        FUZZ_CHECK(read == (negative ? INT_MIN : INT_MAX));
    } else {
        long long expected = 0;
        for (char d : digits) expected = expected * 10 + (d - '0');
        FUZZ_CHECK(read == (negative ? -expected : expected));
    }

    const int interval = IntervalFromText(text.c_str());
    FUZZ_CHECK(interval >= 0);
    FUZZ_CHECK(interval == (negative ? 0 : read));
    if (beyond && !negative) FUZZ_CHECK(interval == INT_MAX);
    return 0;
}
