#pragma once
// The channel editor (resource IDD_CHANNEL_EDITOR): the user types or drops one
// URL, tries it with the fetch test and adds it to the settings dialog's list.
#include <windows.h>

// Opened by the settings dialog with channelEditRequest filled in. Ends with 1
// after OK has added the channel, 0 otherwise.
INT_PTR CALLBACK ChannelEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The format of the data being dragged over the editor, as reported by the
// last DROP_ENTER (DROP_OVER brings none). Apart from the settings dialog's.
extern UINT editorDropFormat;
