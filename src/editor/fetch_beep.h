#pragma once
// The beep that tells the user how a fetch in the dialogs went: MB_OK for a
// success, MB_ICONHAND for a failure.
#include <windows.h>

using BeepFunction = BOOL(WINAPI*)(UINT type);
// MessageBeep; tests put a recorder here to hear the beeps.
extern BeepFunction fetchBeep;

inline void BeepFetchResult(bool ok) { fetchBeep(ok ? MB_OK : MB_ICONHAND); }
