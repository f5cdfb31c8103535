// AcceptLink on any bytes (up to the first zero), into a buffer of exactly its size.
// What it accepts is the link without surrounding blanks, starts with http:// or
// https:// (any letter case), is at most 1,023 bytes and holds no control character,
// blank or quotation mark; and every such link is accepted. A refusal leaves the
// buffer empty.
#include "app/link_rule.h"
#include "fuzz_input.h"

#include <cctype>
#include <cstring>
#include <memory>

namespace {
bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool StartsNoCase(const std::string& s, const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    if (s.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string raw = FuzzInput(data, size).Rest();
    std::string link = raw.c_str();  // up to the first zero
    std::size_t b = 0, e = link.size();
    while (b < e && Blank(link[b])) ++b;
    while (e > b && Blank(link[e - 1])) --e;
    const std::string trimmed = link.substr(b, e - b);

    bool clean = true;
    for (unsigned char c : trimmed) clean = clean && c > 0x20 && c != 0x7F && c != '"';
    const bool allowed =
        clean && trimmed.size() <= 1023 && (StartsNoCase(trimmed, "http://") || StartsNoCase(trimmed, "https://"));

    std::unique_ptr<char[]> out(new char[kLinkBufferSize]);
    std::memset(out.get(), 'x', kLinkBufferSize);
    const bool accepted = AcceptLink(raw.c_str(), out.get());
    FUZZ_CHECK(accepted == allowed);
    FUZZ_CHECK(std::memchr(out.get(), '\0', kLinkBufferSize) != nullptr);
    FUZZ_CHECK(std::string(out.get()) == (accepted ? trimmed : std::string()));
    return 0;
}
