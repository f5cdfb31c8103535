#pragma once
// Display codes: text as one 32-bit code per character, for painting. A single
// byte of code page 932 is its own value; a double-byte character is lead * 256 + trail.
#include "common/cp932.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using DisplayText = std::vector<std::uint32_t>;  // no terminating zero

constexpr std::size_t kMaxDisplayChars = 1023;

// Converts code page 932 text, cut after kMaxDisplayChars characters. Full-width
// space, comma, quotation marks and corner brackets become their half-width forms.
DisplayText ToDisplayCodes(const std::string& text);

// The longest start of `text` of at most maxBytes bytes that does not end inside a
// double-byte character.
std::string CutText(const std::string& text, std::size_t maxBytes);

// The one or two bytes of a display code's code page 932 character; returns how many.
int CodeBytes(std::uint32_t code, char* bytes);
