#pragma once
// Reading and writing "kvtini.xml". Both return a COM status code (0 on success).
#include "config/settings.h"
#include "config/settings_tree.h"

#include <cstdint>
#include <cwchar>
#include <iterator>
#include <string>

// Fills saverSettings from the file; with onlyChecked, disabled channels are left out.
std::int32_t LoadSettings(const char* path, bool onlyChecked);

// Writes saverSettings to the file.
std::int32_t SaveSettings(const char* path);

// True for the root element of such a file (kSettingsRootTag, in any letter case).
inline bool IsSettingsRoot(const wchar_t* tag) {
    static const std::wstring root(std::begin(kSettingsRootTag), std::end(kSettingsRootTag) - 1);  // ASCII
    return tag && _wcsicmp(tag, root.c_str()) == 0;
}
