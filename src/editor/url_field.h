#pragma once
// The channel editor's URL field, as the editor and its fetch test read it.
#include <windows.h>

#include <string>

// The field's text, at most kUrlFieldLimit bytes of it.
std::string ReadUrlField(HWND editor);
