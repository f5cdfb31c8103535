// ParseCommandLine on any bytes (the input up to its first zero is the command line).
// Only the second character decides the mode; /a, /p and /c: read a number as "%d"
// would, which is kept only when it fits 32 bits; everything else leaves 0.
#include "app/command_line.h"
#include "fuzz_input.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace {
// What "%d" reads at `p`, when it reads digits that fit; 0 otherwise.
std::int32_t NumberAt(const char* p) {
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    const char* digits = *p == '+' || *p == '-' ? p + 1 : p;
    if (!std::isdigit(static_cast<unsigned char>(*digits))) return 0;
    errno = 0;
    const long long n = std::strtoll(p, nullptr, 10);
    if (errno == ERANGE || n < INT32_MIN || n > INT32_MAX) return 0;
    return std::int32_t(n);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = FuzzInput(data, size).Rest();
    const char* s = text.c_str();  // ends at the first zero byte
    const CommandLine parsed = ParseCommandLine(s);

    RunMode mode = RunMode::Configure;
    std::int32_t host = 0;
    bool foreground = false;
    if (s[0] != '\0' && s[1] != '\0') {
        switch (std::tolower(static_cast<unsigned char>(s[1]))) {
        case 'a': mode = RunMode::ChangePassword, host = NumberAt(s + 2); break;
        case 'p': mode = RunMode::Preview, host = NumberAt(s + 2); break;
        case 's': mode = RunMode::Show; break;
        case 'c':
            if (s[2] == ':')
                host = NumberAt(s + 3);
            else
                foreground = true;
            break;
        }
    }
    FUZZ_CHECK(parsed.mode == mode);
    FUZZ_CHECK(parsed.host_window == host);
    FUZZ_CHECK(parsed.owner_is_foreground == foreground);
    FUZZ_CHECK(ParseCommandLine(nullptr).mode == RunMode::Configure);
    return 0;
}
