#pragma once
#include <string>

// Windows form of a path under the source tree ("tests/fixtures/a.xml").
std::string SourcePath(const std::string& relative);
// Windows form of a path under the build tree.
std::string BuildPath(const std::string& relative);
// The folder of the running test program (build/<preset>/bin), with a trailing backslash.
std::string BinFolder();
// Reads a whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// The temporary folder, with a trailing backslash. Under Wine it is the prefix's own, so
// tests in Wine sessions of their own do not share it.
std::string TempFolder();
// A new empty folder under the temporary folder, with a trailing backslash.
std::string MakeTempFolder(const char* prefix);
void RemoveFolder(const std::string& folder);
