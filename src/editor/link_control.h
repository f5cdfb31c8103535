#pragma once
// A static label that looks and acts like a hyperlink: blue underlined text on
// the button face, a pointing-hand cursor, and a size that follows its text.
#include <windows.h>

// The label's own font with the underline set; created by whoever installs
// LinkControlProc, kept for the rest of the process.
extern HFONT linkFont;
// The label's procedure before LinkControlProc replaced it; gets every
// message LinkControlProc does not handle.
extern WNDPROC linkPreviousProc;

LRESULT CALLBACK LinkControlProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam);
