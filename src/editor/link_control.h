#pragma once
// A static label that looks and acts like a hyperlink: blue underlined text on
// the button face, a pointing-hand cursor, and a size that follows its text.
#include <windows.h>

// The label's own font with the underline set, kept for the rest of the process.
// It follows the label's font: whenever the label is given another font (at set-up,
// or when the dialog is rescaled for a new DPI), this becomes its underlined copy.
extern HFONT linkFont;
// The label's procedure before LinkControlProc replaced it; gets every
// message LinkControlProc does not handle.
extern WNDPROC linkPreviousProc;

LRESULT CALLBACK LinkControlProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam);

// Makes `linkFont` the underlined copy of `labelFont` and gives it to the label.
void SetLinkFont(HWND label, HFONT labelFont);
