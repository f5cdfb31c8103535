#pragma once
#include <windows.h>

// Tells the user that the settings could not be written to `path`.
void ReportSaveFailure(HWND owner, const char* path);
