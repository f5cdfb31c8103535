#pragma once
// A static label that looks and acts like a hyperlink: blue underlined text on
// the button face, a pointing-hand cursor, and a size that follows its text.
#include "common/gdi_holders.h"

#include <windows.h>

// The label's own font with the underline set, kept for the rest of the process.
// It follows the label's font: whenever the label is given another font (at set-up,
// or when the dialog is rescaled for a new DPI), this becomes its underlined copy.
extern GdiObject linkFont;

// Makes `label` a link: LinkControlProc takes over its messages, and linkFont becomes
// the underlined copy of its font.
void InstallLinkControl(HWND label);
LRESULT CALLBACK LinkControlProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam);

// Makes `linkFont` the underlined copy of `labelFont` and gives it to the label.
void SetLinkFont(HWND label, HFONT labelFont);
