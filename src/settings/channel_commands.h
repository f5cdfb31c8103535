#pragma once
// The channel list's popup menu and its commands, its clicks and double-clicks,
// and what a drop on it does.
#include "editor/drop_target.h"

#include <windows.h>
#include <commctrl.h>

extern int lastClickState;  // state image index minus one of the row last clicked; -1 beside the rows

// The popup at `at`, in list client coordinates; the commands that need a selection
// are grayed without one.
void ShowChannelMenu(HWND dialog, POINT at);
// One of the seven menu commands; false for any other id.
bool RunChannelCommand(HWND dialog, WORD id);
void NoteChannelClick(HWND list, const NMITEMACTIVATE* click);
// Opens the row's channel URL, unless the clicks toggled its check box or it is no web address.
void OpenDoubleClickedChannel(HWND dialog, HWND list, const NMITEMACTIVATE* click);
// Adds the dropped text, or each dropped file, as a channel.
void AddDroppedChannels(HWND dialog, const DropInfo& drop);
