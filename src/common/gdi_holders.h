#pragma once
// Owning holders for GDI objects and device contexts. Each keeps every handle
// its release needs, and none can be copied (a copy would release twice); a GDI
// object can be moved and reset.
#include "common/unique_handle.h"

#include <windows.h>

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    // The object must not be selected into any DC.
    static BOOL Release(HGDIOBJ object) { return DeleteObject(object); }
};
using GdiObject = UniqueHandle<GdiObjectTraits>;

// Selects an object into a DC and selects the previous one back on scope exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectedObject() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint / EndPaint for one WM_PAINT of a window. Get() is null when BeginPaint failed.
class PaintDc {
public:
    explicit PaintDc(HWND wnd) : wnd_(wnd), dc_(BeginPaint(wnd, &ps_)) {}
    ~PaintDc() { EndPaint(wnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND wnd_;
    PAINTSTRUCT ps_ = {};
    HDC dc_;
};

// SaveDC now and RestoreDC of that state on scope exit: the clipping, origin and
// selections changed meanwhile are put back.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDcState() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC dc_;
    int saved_;
};

// GetDC / ReleaseDC for one window.
class WindowDc {
public:
    explicit WindowDc(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(wnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};
