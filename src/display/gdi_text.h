#pragma once
// Measuring and drawing display codes with GDI in the saver's font.
#include "display/text_layout.h"

#include <windows.h>

#include <string>

// Running totals of the GDI calls that cost most in a paint: one
// GetTextExtentPoint32A per character measured, and font creations.
struct GdiTextCounts {
    long long measure_calls = 0;
    long long font_creations = 0;
};
extern GdiTextCounts gdiTextCounts;

// The saver's font at a cell height: medium weight, Shift-JIS, proof quality. Caller deletes.
HFONT MakeSaverFont(int height, const std::string& face);

// Measures and draws one character at a time with the font selected in a device context.
class GdiCanvas : public CharCanvas {
public:
    explicit GdiCanvas(HDC dc) : dc_(dc) {}
    CharSize Measure(std::uint32_t code) override;
    void Draw(int x, int y, std::uint32_t code) override;

private:
    HDC dc_;
};

// Creates the font of that height, lays the text out at 0, 0 without drawing, and
// deletes the font again.
LayoutResult MeasureText(HDC dc, int fontHeight, int right, const DisplayText& text, const std::string& face);

// Measures characters at any font height. The font of the height last asked for
// stays selected until another height is asked for or the measurer goes away.
class GdiCharMeasurer {
public:
    GdiCharMeasurer(HDC dc, std::string face) : dc_(dc), face_(std::move(face)) {}
    ~GdiCharMeasurer() { Release(); }
    GdiCharMeasurer(const GdiCharMeasurer&) = delete;
    GdiCharMeasurer& operator=(const GdiCharMeasurer&) = delete;

    CharSize Measure(int fontHeight, std::uint32_t code);
    // Selects the font of this height (for drawing with it).
    void Use(int fontHeight);
    // Selects the device context's own font back and deletes ours.
    void Release();

private:
    HDC dc_;
    std::string face_;
    HFONT font_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    int height_ = 0;
};
