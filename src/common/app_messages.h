#pragma once
// The program's private window messages, in one place, so that no two share a number.
#include <windows.h>

// Posted to the saver window when a fetch worker has finished; wParam: the fetch's tag.
constexpr UINT WM_SAVER_FETCHED = WM_APP + 1;
// Sent by a DropTarget to its window at each step of a drag; wParam: the DropPhase,
// lParam: a DropInfo*, valid only while the message is handled.
constexpr UINT WM_DROPNOTIFY = WM_APP + 100;
// Posted by the settings dialog to itself on a DPI change, to follow the dialog's new
// font once its own rescaling is done.
constexpr UINT WM_FOLLOW_DIALOG_FONT = WM_APP + 102;
