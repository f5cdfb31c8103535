#pragma once
// Reading what another program dropped: its memory block is not promised to
// hold a terminating zero, so text is read within the block only.
#include <cstddef>
#include <cstdint>
#include <string>

constexpr std::size_t kUrlFieldLimit = 1023;  // as much of the channel editor's URL field as is read

// The text at `bytes`: up to the first zero, but never more than `size` bytes
// (the block's size) nor more than `limit` bytes. A cut never splits a
// double-byte character of code page 932.
std::string TextWithin(const char* bytes, std::size_t size, std::size_t limit = SIZE_MAX);
