#pragma once
#include <string>

// The folder part of a code page 932 path, up to and including its last
// backslash or slash (a trail byte 0x5C of a double-byte character does not count).
std::string DirectoryOf(const std::string& path);

// The full path of "kvtini.xml" beside the running executable.
std::string ConfigFilePath();
