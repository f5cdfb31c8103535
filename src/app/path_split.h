#pragma once
// Splitting a code page 932 path, without the platform.
#include <string>

// The folder part of a path, up to and including its last backslash or slash (a
// trail byte 0x5C of a double-byte character does not count).
std::string DirectoryOf(const std::string& path);
