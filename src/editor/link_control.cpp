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

LRESULT CallPrevious(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    return linkPreviousProc ? CallWindowProcA(linkPreviousProc, label, message, wParam, lParam)
                            : DefWindowProcA(label, message, wParam, lParam);
}
}  // namespace

void SetLinkFont(HWND label, HFONT labelFont) {
    if (!labelFont) labelFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTA lf = {};
    GetObjectA(labelFont, sizeof lf, &lf);
    lf.lfUnderline = 1;
    HFONT previous = linkFont;
    linkFont = CreateFontIndirectA(&lf);
    // Through the label's own procedure, which keeps the font without coming back here.
    CallPrevious(label, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont), FALSE);
    // The label no longer uses it, and no other label does: one settings dialog at a time.
    if (previous) DeleteObject(previous);
    InvalidateRect(label, nullptr, TRUE);
}

LRESULT CALLBACK LinkControlProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETCURSOR:
            SetCursor(LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_LINK_CURSOR)));
            return 0;
        case WM_PAINT:
            PaintLink(label);
            return 0;
        case WM_SETFONT:
            if (reinterpret_cast<HFONT>(wParam) == linkFont) break;
            SetLinkFont(label, reinterpret_cast<HFONT>(wParam));
            return 0;
    }
    return CallPrevious(label, message, wParam, lParam);
}
