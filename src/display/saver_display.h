#pragma once
// The saver screen's process-wide rotation and its painting, bound to the saver window.
#include "display/rotation.h"

#include <windows.h>

// The one rotation of the process: it fetches with FetchChannel, reads the clock
// with time(), draws random numbers with rand() and repaints the saver window.
Rotation& SaverRotation();

// WM_PAINT handlers, given the paint device context and the window's client size.
void PaintTitleScreen(HDC dc, int width, int height);
void PaintSaver(HDC dc, int width, int height);
