// ParseCommandLine on any bytes (the input up to its first zero is the command line).
//  - the result is that of the first form in the table of switches below that the line
//    takes (its second character, in either case, and what must follow it), and the
//    settings dialog with no number for a line that takes none;
//  - the number is what "%d" would read where the form has it, kept only when it fits
//    32 bits, else 0;
//  - the first character never matters.
#include "app/command_line.h"
#include "fuzz_input.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
// The switches: the letter, the text that must follow it, the mode, and whether a
// number is read after that text or the foreground window owns the dialog.
struct Form {
    char letter;
    const char* then;
    RunMode mode;
    bool number, foreground;
};
const Form kForms[] = {
    {'a', "", RunMode::ChangePassword, true, false}, {'c', ":", RunMode::Configure, true, false},
    {'c', "", RunMode::Configure, false, true},      {'p', "", RunMode::Preview, true, false},
    {'s', "", RunMode::Show, false, false},
};

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

CommandLine Expected(const char* s) {
    CommandLine expected;
    if (s[0] == '\0') return expected;
    for (const Form& f : kForms) {
        if (std::tolower(static_cast<unsigned char>(s[1])) != f.letter) continue;
        const std::size_t then = std::strlen(f.then);
        if (std::strncmp(s + 2, f.then, then) != 0) continue;
        expected.mode = f.mode;
        expected.host_window = f.number ? NumberAt(s + 2 + then) : 0;
        expected.owner_is_foreground = f.foreground;
        break;
    }
    return expected;
}

bool Same(const CommandLine& a, const CommandLine& b) {
    return a.mode == b.mode && a.host_window == b.host_window && a.owner_is_foreground == b.owner_is_foreground;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text = FuzzInput(data, size).Rest();
    text.resize(std::strlen(text.c_str()));  // up to the first zero
    const CommandLine parsed = ParseCommandLine(text.c_str());
    FUZZ_CHECK(Same(parsed, Expected(text.c_str())));
    if (!text.empty()) {
        text[0] = text[0] == '/' ? '-' : '/';
        FUZZ_CHECK(Same(ParseCommandLine(text.c_str()), parsed));
    }
    return 0;
}
