#include "app/command_line.h"

#include "common/trace.h"

#include <cctype>
#include <cstdint>

namespace {
// Reads a decimal number as "%d" would: leading blanks, an optional sign, digits.
// Leaves `value` alone when there are no digits or the number does not fit 32 bits.
void ReadNumber(const char* p, std::int32_t& value) {
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    if (!std::isdigit(static_cast<unsigned char>(*p))) return;
    std::int64_t n = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        n = n * 10 + (*p - '0');
        if (n > INT64_C(2147483648)) return;
    }
    if (negative) n = -n;
    if (n < INT32_MIN || n > INT32_MAX) return;
    value = static_cast<std::int32_t>(n);
}
}  // namespace

CommandLine ParseCommandLine(const char* text) {
    CommandLine result;
    if (!text) text = "";
    Trace("cmdline[%s]\n", text);
    if (text[0] == '\0' || text[1] == '\0') return result;  // empty or a lone character: configure

    switch (std::tolower(static_cast<unsigned char>(text[1]))) {
    case 'a':
        result.mode = RunMode::ChangePassword;
        ReadNumber(text + 2, result.host_window);
        break;
    case 'c':
        result.mode = RunMode::Configure;
        if (text[2] == ':')
            ReadNumber(text + 3, result.host_window);
        else
            result.owner_is_foreground = true;
        break;
    case 'p':
        result.mode = RunMode::Preview;
        ReadNumber(text + 2, result.host_window);
        break;
    case 's': result.mode = RunMode::Show; break;
    default: break;
    }
    return result;
}
