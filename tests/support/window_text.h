#pragma once
// A window's text in tests, at most 2,047 bytes, by WM_GETTEXT, which the system also
// marshals to a window of another process.
#include <windows.h>

#include <string>

inline std::string Text(HWND w) {
    char buf[2048] = "";
    SendMessageA(w, WM_GETTEXT, sizeof buf, LPARAM(buf));
    return buf;
}
