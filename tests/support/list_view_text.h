#pragma once
// Reading a list view's cells in tests.
#include <windows.h>

#include <string>

// The text of one cell (item, subitem); at most 511 bytes.
std::string ListCell(HWND list, int item, int subItem);
// The same, and a column's title, read as UTF-16 from a list view of another process.
std::wstring RemoteListCell(HWND list, int item, int subItem);
std::wstring RemoteColumnTitle(HWND list, int column);
