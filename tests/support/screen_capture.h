#pragma once
// Screenshots taken from inside Wine with GDI, for pixel checks and for looking at.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Its size is that of its pixels: a screenshot that could not be taken has neither.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first

    // Black outside the screenshot.
    std::uint32_t At(int x, int y) const {
        const bool inside = x >= 0 && y >= 0 && x < width && y < height;
        return inside ? pixels[size_t(y) * size_t(width) + size_t(x)] : 0;
    }
    // Pixels in the rectangle that satisfy `keep`; what lies outside the screenshot counts
    // as nothing (a window partly off the screen, or no screenshot at all).
    template <class Pred>
    int Count(const RECT& r, Pred keep) const {
        int n = 0;
        for (int y = std::max(0, int(r.top)); y < std::min(height, int(r.bottom)); ++y)
            for (int x = std::max(0, int(r.left)); x < std::min(width, int(r.right)); ++x)
                if (keep(At(x, y))) ++n;
        return n;
    }
    // Writes a 24-bit BMP (for people to look at; scripts turn it into PNG).
    bool SaveBmp(const std::string& path) const;
};

// The whole virtual screen, every monitor: pixel 0, 0 is its top-left corner.
Screenshot CaptureScreen();
// What `paint` draws on a black 32-bit memory bitmap of this size; an empty screenshot
// when no such bitmap can be made.
Screenshot PaintOffscreen(int width, int height, const std::function<void(HDC)>& paint);
// The part of `shot` inside `r`, as large as `r`: black where `r` lies outside it.
Screenshot Crop(const Screenshot& shot, const RECT& r);

inline int Red(std::uint32_t c) { return int((c >> 16) & 0xFF); }
inline int Green(std::uint32_t c) { return int((c >> 8) & 0xFF); }
inline int Blue(std::uint32_t c) { return int(c & 0xFF); }
