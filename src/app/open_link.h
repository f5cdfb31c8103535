#pragma once
#include <windows.h>

// Opens the link the user chose with Enter, one second after the saver has gone.
void OpenChosenLink();

// Hands `link` to the shell's default action, owned by `owner`, when it is a plain
// web address (AcceptLink); anything else is not opened. True when it was handed on.
bool OpenWebLink(HWND owner, const char* link);

// True when the user's normal desktop takes input. A browser started anywhere else
// (the locked workstation, the logon desktop of a system account) runs where the user
// cannot see it, or with rights the user does not have.
bool OnUserDesktop();
