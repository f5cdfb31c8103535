#pragma once
#include <windows.h>

// The settings dialog's title, which the boxes shown on its behalf carry too.
extern const char kSettingsCaption[];

// The settings dialog (resource IDD_SETTINGS). Ends with 1 after OK, 0 otherwise.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
