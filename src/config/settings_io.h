#pragma once
// Reading and writing "kvtini.xml". Both return a COM status code (0 on success).
#include "config/settings.h"

#include <cstdint>
#include <cwchar>

// Fills saverSettings from the file; with onlyChecked, disabled channels are left out.
std::int32_t LoadSettings(const char* path, bool onlyChecked);

// Writes saverSettings to the file.
std::int32_t SaveSettings(const char* path);

// True for the root element of such a file ("kvtini", in any case), which also makes
// a fetched document a list of channels.
inline bool IsSettingsRoot(const wchar_t* tag) { return tag && _wcsicmp(tag, L"kvtini") == 0; }
