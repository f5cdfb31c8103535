#pragma once
// The calling thread's last Win32 error as a COM status code.
#include <windows.h>

// E_FAIL when the failing call left no error code.
inline HRESULT LastErrorResult() {
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}
