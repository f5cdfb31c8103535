#pragma once
// The font choice of the settings dialog: every face that supports the
// Shift-JIS character set, each name once in the order of the enumeration, without
// vertical-writing ("@") and raster faces.
#include <windows.h>

#include <string>

extern int fontMatchIndex;  // combo item equal to the configured face, -1 when none
extern int fontCount;       // faces added so far

// Fills the combo box and selects the item equal to `face` (byte for byte).
// With no match, nothing is selected.
void FillFontList(HWND combo, const std::string& face);
// The selected item's text into `face`; with no selection `face` keeps its value.
void ReadSelectedFont(HWND combo, std::string& face);
