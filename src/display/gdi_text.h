#pragma once
// Measuring and drawing display codes with GDI in the saver's font.
#include "common/gdi_holders.h"
#include "display/text_layout.h"

#include <windows.h>

#include <string>
#include <vector>

// The saver's font at a cell height: medium weight, Shift-JIS, proof quality. Caller deletes.
HFONT MakeSaverFont(int height, const std::string& face);

// Measures one character at a time with the font selected in a device context, and
// draws a line with one ExtTextOutA that puts each character where the layout placed it.
class GdiCanvas : public CharCanvas {
public:
    explicit GdiCanvas(HDC dc) : dc_(dc) {}
    CharSize Measure(std::uint32_t code) override;
    void DrawLine(int y, const std::vector<PlacedChar>& line) override;

private:
    HDC dc_;
    std::string bytes_;    // the line in code page 932
    std::vector<INT> dx_;  // one advance per byte: a lead byte's, then 0 for its trail byte
};

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
    GdiObject font_;              // selected into dc_ while held
    HGDIOBJ previous_ = nullptr;  // what it replaced there
    int height_ = 0;
};
