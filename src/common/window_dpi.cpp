#include "common/window_dpi.h"

#include "common/gdi_holders.h"

#include <commctrl.h>

UINT WindowDpi(HWND window) {
    // Windows 10 1607 and later; looked up so the program still starts on older systems.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow) {
        if (UINT dpi = getDpiForWindow(window)) return dpi;
    }
    WindowDc dc(window);
    const int dpi = dc.Get() ? GetDeviceCaps(dc.Get(), LOGPIXELSX) : 0;
    return dpi > 0 ? UINT(dpi) : 96;
}

void ScaleListColumns(HWND list, UINT fromDpi, UINT toDpi) {
    if (fromDpi == toDpi) return;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? int(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < columns; ++i) {
        const int width = int(SendMessageA(list, LVM_GETCOLUMNWIDTH, WPARAM(i), 0));
        SendMessageA(list, LVM_SETCOLUMNWIDTH, WPARAM(i), MAKELPARAM(ScaleForDpi(width, fromDpi, toDpi), 0));
    }
}
