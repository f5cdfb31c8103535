#pragma once
// Configure mode's start when the settings file is there but cannot be read: the dialog
// opens with the defaults, so the file is kept aside first and the user told where.
#include <windows.h>

#include <string>

// Copies the file at `path` beside itself and says so in one message box, or says that
// no copy could be made. True when the file may be replaced by the next save: only once
// a copy of it exists.
bool NoticeUnreadableSettings(HWND owner, const std::string& path);
