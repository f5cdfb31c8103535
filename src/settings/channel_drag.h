#pragma once
// Reordering the channel list by dragging its rows with the left mouse button. The
// settings dialog tracks the drag with the mouse capture; while it lasts the list is
// in single selection and its one selected row marks where the rows would land.
#include <windows.h>

#include <vector>

// One settings dialog at a time.
extern HWND dragActive;                 // the settings dialog while a drag lasts, else null
extern int dragAnchor;                  // the row the drag began on
extern std::vector<int> dragSelection;  // the rows selected when it began, ascending

// LVN_BEGINDRAG from the channel list; `item` is the row the drag began on.
void BeginChannelDrag(HWND dialog, int item);
// WM_MOUSEMOVE of the dialog, `position` in its client coordinates.
void MoveChannelDrag(HWND dialog, LPARAM position);
// WM_LBUTTONUP of the dialog, `position` in its client coordinates.
void DropChannelDrag(HWND dialog, LPARAM position);
// NM_KILLFOCUS from the channel list: ends a drag without moving anything.
void CancelChannelDrag(HWND dialog);
// WM_CAPTURECHANGED of the dialog, `newOwner` the window that took the capture.
void ChannelDragLostCapture(HWND dialog, HWND newOwner);
