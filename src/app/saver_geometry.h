#pragma once
// Where the saver window goes and where in it the saver screen is laid out.
// Show mode covers the whole virtual screen, every monitor, and paints its text in
// the primary monitor's part of it; the preview fills its host's client area.

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
};

struct SaverGeometry {
    ScreenRect window;  // in screen coordinates (in the host's client coordinates for a preview)
    ScreenRect paint;   // the saver screen's W x H area, in the window's client coordinates
};

// `virtualScreen` and `primary` are in screen coordinates. A virtual screen that is
// empty (its size could not be read) leaves the window on the primary monitor alone.
SaverGeometry ShowGeometry(const ScreenRect& virtualScreen, const ScreenRect& primary);
SaverGeometry PreviewGeometry(int width, int height);
