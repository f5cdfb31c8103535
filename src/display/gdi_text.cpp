#include "display/gdi_text.h"

#include "common/gdi_holders.h"

HFONT MakeSaverFont(int height, const std::string& face) {
    return CreateFontA(height, 0, 0, 0, FW_MEDIUM, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

CharSize GdiCanvas::Measure(std::uint32_t code) {
    char bytes[2];
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc_, bytes, CodeBytes(code, bytes), &size);
    return {int(size.cx), int(size.cy)};
}

void GdiCanvas::DrawLine(int y, const std::vector<PlacedChar>& line) {
    if (line.empty()) return;
    bytes_.clear();
    dx_.clear();
    for (std::size_t i = 0; i < line.size(); ++i) {
        char bytes[2];
        const int n = CodeBytes(line[i].code, bytes);
        bytes_.append(bytes, std::size_t(n));
        dx_.push_back(i + 1 < line.size() ? line[i + 1].x - line[i].x : 0);
        if (n == 2) dx_.push_back(0);
    }
    ExtTextOutA(dc_, line.front().x, y, 0, nullptr, bytes_.data(), UINT(bytes_.size()), dx_.data());
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
