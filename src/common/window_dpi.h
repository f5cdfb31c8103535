#pragma once
// Dots per inch for the windows of a program that declares itself per-monitor DPI
// aware: what is given in pixels at 96 dpi (100 %) is scaled to the window's DPI.
#include <windows.h>

// The DPI of the monitor the window is on; the system DPI where the platform cannot
// tell per window.
UINT WindowDpi(HWND window);
// `pixels` at `fromDpi`, at `toDpi`, rounded.
inline int ScaleForDpi(int pixels, UINT fromDpi, UINT toDpi) {
    return fromDpi ? MulDiv(pixels, int(toDpi), int(fromDpi)) : pixels;
}
// Scales every column of a report list view from one DPI to another, keeping the
// widths the user gave them relative to each other.
void ScaleListColumns(HWND list, UINT fromDpi, UINT toDpi);
