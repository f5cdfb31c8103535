#pragma once
// Reading and writing "kvtini.xml". Both return a COM status code (0 on success).
#include "config/settings.h"
#include "config/settings_tree.h"

#include <cstdint>
#include <cwchar>
#include <iterator>
#include <string>

// Fills saverSettings from the file; with onlyChecked, disabled channels are left out.
// A file that does not load is read once more with what the program's own writer once
// wrote into it repaired (RepairedSettingsText); the file itself is not changed.
std::int32_t LoadSettings(const char* path, bool onlyChecked);

// True when LoadSettings failed on a file at `path` that is there and holds something,
// so that writing the settings would replace what could not be read. A missing or empty
// file counts as no file, and so does a folder of that name.
bool SettingsFileUnreadable(const char* path, std::int32_t loadResult);

// Writes saverSettings to the file.
std::int32_t SaveSettings(const char* path);

// True for the root element of such a file (kSettingsRootTag, in any letter case).
inline bool IsSettingsRoot(const wchar_t* tag) {
    static const std::wstring root(std::begin(kSettingsRootTag), std::end(kSettingsRootTag) - 1);  // ASCII
    return tag && _wcsicmp(tag, root.c_str()) == 0;
}
