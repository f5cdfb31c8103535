#pragma once
// Display codes: text as one 32-bit code per character, for painting. A single
// byte of code page 932 is its own value; a double-byte character is lead * 256 + trail.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using DisplayText = std::vector<std::uint32_t>;  // no terminating zero

constexpr std::size_t kMaxDisplayChars = 1023;

// Converts code page 932 text, cut after kMaxDisplayChars characters. Full-width
// space, comma, quotation marks and corner brackets become their half-width forms.
DisplayText ToDisplayCodes(const std::string& text);

// True for a byte that starts a double-byte character of code page 932.
inline bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xEF); }

// The longest start of `text` of at most maxBytes bytes that does not end inside a
// double-byte character.
std::string CutText(const std::string& text, std::size_t maxBytes);
