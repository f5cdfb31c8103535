#include "app/link_rule.h"

#include <cctype>
#include <cstring>

namespace {
bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool StartsWithNoCase(const char* text, std::size_t length, const char* prefix) {
    std::size_t n = std::strlen(prefix);
    if (length < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    return true;
}
}  // namespace

bool AcceptLink(const char* link, char* out) {
    out[0] = '\0';
    if (!link) return false;
    const char* begin = link;
    const char* end = link + std::strlen(link);
    while (begin < end && IsBlank(static_cast<unsigned char>(*begin))) ++begin;
    while (end > begin && IsBlank(static_cast<unsigned char>(end[-1]))) --end;
    std::size_t length = std::size_t(end - begin);

    if (length >= kLinkBufferSize) return false;
    if (!StartsWithNoCase(begin, length, "http://") && !StartsWithNoCase(begin, length, "https://")) return false;
    for (const char* p = begin; p < end; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c <= 0x20 || c == 0x7F || c == '"') return false;
    }
    std::memcpy(out, begin, length);
    out[length] = '\0';
    return true;
}

namespace {
bool EqualNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
    return *a == *b;
}
}  // namespace

bool IsUserDesktop(const char* windowStation, const char* inputDesktop) {
    return windowStation && inputDesktop && EqualNoCase(windowStation, "WinSta0") &&
           EqualNoCase(inputDesktop, "Default");
}
