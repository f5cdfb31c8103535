#pragma once
// The settings dialog's texts are code page 932. Where the process was given another code
// page (Windows 10, whose manifest support knows no locale names, on a system whose language
// for non-Unicode programs is not Japanese), the dialog would show garbled text: say why first.
#include <windows.h>

// Shows one message box, written with the wide-character functions so that it reads right
// under any code page, when the process code page is not 932.
void NoticeWhenNotJapaneseCodePage(HWND owner);
