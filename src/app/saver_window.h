#pragma once
// The window the saver runs in: over every monitor and above every other window in
// show mode, a child of the preview box in preview mode. Its one-second timer drives
// the rotation; input, or another window taking the focus, ends it.
#include <windows.h>

extern HWND saverWindow;

// Creates the window and runs the message loop: the loop's exit code, or E_FAIL
// when the window cannot be created.
int RunSaverWindow();

// Asks the saver window to close (synchronously); nothing in preview mode or once
// the window is closing.
void RequestClose();

// Keeps the current item's link for opening after the saver has closed.
void RecordChosenLink();
