#include "editor/link_control.h"

#include "app/shell_state.h"
#include "common/gdi_holders.h"
#include "res/resource.h"

#include <utility>

GdiObject linkFont;

namespace {
// The label's procedure before LinkControlProc replaced it; gets every message
// LinkControlProc does not handle.
WNDPROC linkPreviousProc = nullptr;

void PaintLink(HWND label) {
    char text[256] = "";
    GetWindowTextA(label, text, sizeof text);
    const PaintDc paint(label);
    if (HDC dc = paint.Get()) {
        SelectedObject font(dc, linkFont.Get());
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
    GdiObject font(CreateFontIndirectA(&lf));
    // Through the label's own procedure, which keeps the font without coming back here.
    CallPrevious(label, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    // The previous font goes: the label no longer uses it, and no other label does (one
    // settings dialog at a time).
    linkFont = std::move(font);
    InvalidateRect(label, nullptr, TRUE);
}

void InstallLinkControl(HWND label) {
    HFONT labelFont = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
    linkPreviousProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkControlProc)));
    SetLinkFont(label, labelFont);
}

LRESULT CALLBACK LinkControlProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR: SetCursor(LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_LINK_CURSOR))); return 0;
    case WM_PAINT: PaintLink(label); return 0;
    case WM_SETFONT:
        if (reinterpret_cast<HGDIOBJ>(wParam) == linkFont.Get()) break;
        SetLinkFont(label, reinterpret_cast<HFONT>(wParam));
        return 0;
    }
    return CallPrevious(label, message, wParam, lParam);
}
