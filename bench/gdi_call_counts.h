#pragma once
// Counts this program's calls of the two GDI functions that cost most in a paint, by
// pointing their entries in its import table at counting stand-ins that call on.

struct GdiCallCounts {
    long long measures = 0;  // GetTextExtentPoint32A
    long long fonts = 0;     // CreateFontA
};
extern GdiCallCounts gdiCallCounts;

// Starts counting; false when an entry was not found.
bool CountGdiCalls();
