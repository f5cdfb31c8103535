#include "display/gdi_text.h"

#include "common/gdi_holders.h"

GdiTextCounts gdiTextCounts;

namespace {
// A display code as the one or two bytes of its code page 932 character.
int Encode(std::uint32_t code, char* bytes) {
    if (code < 256) {
        bytes[0] = char(code);
        return 1;
    }
    bytes[0] = char(code >> 8);
    bytes[1] = char(code & 0xFF);
    return 2;
}
}  // namespace

HFONT MakeSaverFont(int height, const std::string& face) {
    ++gdiTextCounts.font_creations;
    return CreateFontA(height, 0, 0, 0, FW_MEDIUM, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

CharSize GdiCanvas::Measure(std::uint32_t code) {
    char bytes[2];
    SIZE size = {0, 0};
    ++gdiTextCounts.measure_calls;
    GetTextExtentPoint32A(dc_, bytes, Encode(code, bytes), &size);
    return {int(size.cx), int(size.cy)};
}

void GdiCharByCharCanvas::DrawLine(int y, const std::vector<PlacedChar>& line) {
    for (const PlacedChar& c : line) {
        char bytes[2];
        TextOutA(dc_, c.x, y, bytes, Encode(c.code, bytes));
    }
}

void GdiCanvas::DrawLine(int y, const std::vector<PlacedChar>& line) {
    if (line.empty()) return;
    bytes_.clear();
    dx_.clear();
    for (std::size_t i = 0; i < line.size(); ++i) {
        char bytes[2];
        const int n = Encode(line[i].code, bytes);
        bytes_.append(bytes, std::size_t(n));
        dx_.push_back(i + 1 < line.size() ? line[i + 1].x - line[i].x : 0);
        if (n == 2) dx_.push_back(0);
    }
    ExtTextOutA(dc_, line.front().x, y, 0, nullptr, bytes_.data(), UINT(bytes_.size()), dx_.data());
}

LayoutResult MeasureText(HDC dc, int fontHeight, int right, const DisplayText& text, const std::string& face) {
    GdiObject font(MakeSaverFont(fontHeight, face));
    SelectedObject selected(dc, font.Get());
    GdiCanvas canvas(dc);
    return LayoutText(canvas, 0, 0, right, text, kAdvancePercent, false);
}

void GdiCharMeasurer::Use(int fontHeight) {
    if (font_.Get() && height_ == fontHeight) return;
    GdiObject font(MakeSaverFont(fontHeight, face_));
    if (!font.Get()) return;  // measure on with the font already selected
    HGDIOBJ replaced = SelectObject(dc_, font.Get());
    if (!font_.Get()) previous_ = replaced;
    font_ = std::move(font);  // deletes our previous font, no longer selected
    height_ = fontHeight;
}

CharSize GdiCharMeasurer::Measure(int fontHeight, std::uint32_t code) {
    Use(fontHeight);
    return GdiCanvas(dc_).Measure(code);
}

void GdiCharMeasurer::Release() {
    if (!font_.Get()) return;
    SelectObject(dc_, previous_);
    font_.Reset();
    previous_ = nullptr;
}
