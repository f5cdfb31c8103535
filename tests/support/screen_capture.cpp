#include "screen_capture.h"

#include <cstdio>

Screenshot PaintOffscreen(int width, int height, const std::function<void(HDC)>& paint) {
    Screenshot shot;
    if (width <= 0 || height <= 0) return shot;
    HDC mem = CreateCompatibleDC(nullptr);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof bi.bmiHeader, width, -height /* top row first */, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    paint(mem);
    GdiFlush();
    if (const auto* p = static_cast<const std::uint32_t*>(bits)) {
        shot.width = width;
        shot.height = height;
        shot.pixels.assign(p, p + size_t(width) * size_t(height));
        for (auto& px : shot.pixels) px &= 0xFFFFFF;
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    return shot;
}

Screenshot Crop(const Screenshot& shot, const RECT& r) {
    Screenshot part;
    part.width = std::max(0, int(r.right - r.left));
    part.height = std::max(0, int(r.bottom - r.top));
    for (int y = 0; y < part.height; ++y)
        for (int x = 0; x < part.width; ++x) part.pixels.push_back(shot.At(r.left + x, r.top + y));
    return part;
}

Screenshot CaptureScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return PaintOffscreen(width, height, [&](HDC mem) {
        HDC screen = GetDC(nullptr);
        BitBlt(mem, 0, 0, width, height, screen, left, top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

bool Screenshot::SaveBmp(const std::string& path) const {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const int rowBytes = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + DWORD(rowBytes) * DWORD(height);
    ih.biSize = sizeof ih;
    ih.biWidth = width;
    ih.biHeight = height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&ih, sizeof ih, 1, f);
    std::vector<unsigned char> row(size_t(rowBytes), 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t c = At(x, y);
            row[size_t(x) * 3] = Blue(c);
            row[size_t(x) * 3 + 1] = Green(c);
            row[size_t(x) * 3 + 2] = Red(c);
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    return std::fclose(f) == 0;
}
