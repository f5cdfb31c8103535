#pragma once
// The channel list from the keyboard: its popup menu for Shift+F10 and the
// context-menu key, Delete and Ctrl+A.
#include <windows.h>
#include <commctrl.h>

// WM_CONTEXTMENU of the settings dialog. Opens the channel menu when the keyboard
// asked for it in the channel list; a right click is left to NM_RCLICK, so it opens
// one menu, not two. True when the message was the list's.
bool ShowChannelMenuForKeys(HWND dialog, HWND window, LPARAM position);
// LVN_KEYDOWN from the channel list: Delete deletes the selected rows, Ctrl+A selects
// every row. Neither the menu nor the keys act while rows are being dragged.
void RunChannelKey(HWND dialog, const NMLVKEYDOWN* key);
