#include "app/saver_geometry.h"

SaverGeometry ShowGeometry(const ScreenRect& virtualScreen, const ScreenRect& primary) {
    SaverGeometry g;
    g.window = virtualScreen.Empty() ? primary : virtualScreen;
    // The client area starts at the window's top-left corner, which may lie left of
    // or above the primary monitor's origin.
    g.paint = {primary.left - g.window.left, primary.top - g.window.top, primary.right - g.window.left,
               primary.bottom - g.window.top};
    return g;
}

SaverGeometry PreviewGeometry(int width, int height) {
    SaverGeometry g;
    g.window = {0, 0, width, height};
    g.paint = g.window;
    return g;
}
