#pragma once
// Reading a list view's cells in tests.
#include <windows.h>

#include <string>

// The text of one cell (item, subitem); at most 511 bytes.
std::string ListCell(HWND list, int item, int subItem);
