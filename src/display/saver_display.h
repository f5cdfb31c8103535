#pragma once
// The saver screen's process-wide rotation and its painting, bound to the saver window.
#include "common/app_messages.h"
#include "display/rotation.h"
#include "display/text_layout.h"

#include <windows.h>

#include <functional>
#include <string>

// The one rotation of the process: it fetches on worker threads, reads the clock
// with time(), draws random numbers with rand() and repaints the saver window.
Rotation& SaverRotation();
// The window the rotation repaints and its fetches report to, and the part of it that
// shows the saver screen; set once the window exists.
void BindSaverDisplay(HWND window, const RECT& paintArea);

// Hands the result of the fetch with this tag (WM_SAVER_FETCHED's wParam) to the rotation.
void FinishSaverFetch(WPARAM tag);

// WM_PAINT handlers, given the paint device context and the window's client size.
void PaintTitleScreen(HDC dc, int width, int height);
void PaintSaver(HDC dc, int width, int height);

// What one paint of the saver screen shows.
struct SaverScreen {
    DisplayText item;          // the item text
    COLORREF colour = 0;       // the item's colour; the header is drawn at half its brightness
    bool no_channels = false;  // the product title, from a smaller start height
    bool header = false;       // whether a header is shown at all
    DisplayText header_codes;
    std::string font_face;
};

struct SaverScreenLayout {
    HeaderFit header;  // font height and height of the header text
    bool header_at_bottom = false;
    ItemFit item;
    int item_y = 0;  // top of the item text
};

// Lays out and paints the saver screen into `dc` (width x height, cleared to black).
// `random` stands for rand(): first the header's side is drawn, then the text's height.
// Each distinct character is measured once per font height, the searches measure a
// few heights each, and each line is drawn with one call. The heights chosen are
// remembered and reused while the screen's texts, font and size stay the same.
SaverScreenLayout PaintSaverScreen(HDC dc, int width, int height, const SaverScreen& screen,
                                   const std::function<int()>& random);
