#pragma once
// The shell's process-wide state, alive for the whole process.
#include "app/command_line.h"
#include "app/link_rule.h"

#include <windows.h>

extern HINSTANCE appInstance;              // the module instance passed to WinMain
extern RunMode runMode;                    // decided once from the command line
extern HWND hostWindow;                    // owner of the settings dialog, or parent of the preview
extern HANDLE instanceGuard;               // the single-instance mutex of show mode
extern char pendingLink[kLinkBufferSize];  // the link the user chose with Enter
extern bool openLinkOnExit;                // set together with pendingLink
