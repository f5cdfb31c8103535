#include "feed/decimal_text.h"

#include <climits>

namespace {
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
}  // namespace

int ReadDecimal(const char* text) {
    if (!text) return 0;
    while (IsSpace(*text)) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    // Once past the range of int the value only needs to stay past it.
    const long long cap = static_cast<long long>(INT_MAX) + 1;
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (value < cap) value = value * 10 + (*text - '0');
    }
    if (negative) return value >= cap ? INT_MIN : static_cast<int>(-value);
    return value >= cap ? INT_MAX : static_cast<int>(value);
}
