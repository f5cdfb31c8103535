#include "editor/link_control.h"

#include "app/shell_state.h"
#include "common/gdi_holders.h"
#include "res/resource.h"

HFONT linkFont = nullptr;
WNDPROC linkPreviousProc = nullptr;

namespace {
void PaintLink(HWND label) {
    char text[256] = "";
    GetWindowTextA(label, text, sizeof text);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(label, &ps);
    if (dc) {
        SelectedObject font(dc, linkFont);
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        SetBkMode(dc, OPAQUE);
        RECT r;
        GetClientRect(label, &r);
        DrawTextA(dc, text, -1, &r, DT_CALCRECT);
        DrawTextA(dc, text, -1, &r, 0);
        // The label takes the size of its text, so the hand and the click
        // apply over the text only.
        SetWindowPos(label, nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER);
    }
    EndPaint(label, &ps);
}
}  // namespace

LRESULT CALLBACK LinkControlProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETCURSOR:
            SetCursor(LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_LINK_CURSOR)));
            return 0;
        case WM_PAINT:
            PaintLink(label);
            return 0;
    }
    return linkPreviousProc ? CallWindowProcA(linkPreviousProc, label, message, wParam, lParam)
                            : DefWindowProcA(label, message, wParam, lParam);
}
