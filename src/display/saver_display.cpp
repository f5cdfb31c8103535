#include "display/saver_display.h"

#include "app/saver_window.h"
#include "common/gdi_holders.h"
#include "config/settings.h"
#include "display/text_layout.h"
#include "feed/feed_parser.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// Measures and draws display codes with the font selected in a device context.
class GdiCanvas : public CharCanvas {
public:
    explicit GdiCanvas(HDC dc) : dc_(dc) {}
    CharSize Measure(std::uint32_t code) override {
        char bytes[2];
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc_, bytes, Encode(code, bytes), &size);
        return {int(size.cx), int(size.cy)};
    }
    void Draw(int x, int y, std::uint32_t code) override {
        char bytes[2];
        TextOutA(dc_, x, y, bytes, Encode(code, bytes));
    }

private:
    static int Encode(std::uint32_t code, char* bytes) {
        if (code < 256) {
            bytes[0] = char(code);
            return 1;
        }
        bytes[0] = char(code >> 8);
        bytes[1] = char(code & 0xFF);
        return 2;
    }
    HDC dc_;
};

HFONT MakeFont(int height) {
    return CreateFontA(height, 0, 0, 0, FW_MEDIUM, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       saverSettings.font_face.c_str());
}

LayoutResult MeasureText(HDC dc, int fontHeight, int right, const DisplayText& text) {
    GdiObject font(MakeFont(fontHeight));
    SelectedObject selected(dc, font.Get());
    GdiCanvas canvas(dc);
    return LayoutText(canvas, 0, 0, right, text, kAdvancePercent, false);
}

// The header as last laid out.
DisplayText headerCodes;
int headerFontHeight = 0;
int headerHeight = 0;
int headerAtBottom = 0;

std::string HeaderText(const Rotation& rotation) {
    if (rotation.State() == DisplayState::NoChannels) return "表示するチャンネルがありません";
    std::string text;
    const SiteEntry* channel = rotation.CurrentChannel();
    if (!channel) return text;
    if (saverSettings.disp_header_title) text += channel->title;
    if (saverSettings.disp_header_date) {
        std::time_t when = channel->content.fetched_at;
        const std::tm* local = std::localtime(&when);
        char stamp[64];
        std::snprintf(stamp, sizeof stamp, "(%d時%02d分取得)", local ? local->tm_hour : 0, local ? local->tm_min : 0);
        text += stamp;
    }
    return CutText(text, 1023);
}

// Lays out the header; positive height at the top, negative at the bottom.
int LayoutHeader(HDC dc, int width, int height) {
    headerCodes = ToDisplayCodes(HeaderText(SaverRotation()));
    headerAtBottom = std::rand() & 1;
    const HeaderFit fit =
        FitHeader(height, [&](int h) { return MeasureText(dc, h, width, headerCodes); });
    headerFontHeight = fit.font_height;
    headerHeight = fit.height;
    return headerAtBottom ? -headerHeight : headerHeight;
}

void DrawHeader(HDC dc, int width, int height, COLORREF colour) {
    GdiObject font(MakeFont(headerFontHeight));
    SelectedObject selected(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, (colour >> 1) & 0x7F7F7F);
    GdiCanvas canvas(dc);
    LayoutText(canvas, 0, headerAtBottom ? height - headerHeight : 0, width, headerCodes, kAdvancePercent, true);
}

}  // namespace

Rotation& SaverRotation() {
    static Rotation rotation(saverSettings, RotationPlatform{
        [](const std::string& url) { return FetchChannel(url.c_str()); },
        [] { return std::time(nullptr); },
        [] { return std::rand(); },
        [] {
            InvalidateRect(saverWindow, nullptr, TRUE);
            UpdateWindow(saverWindow);
        },
    });
    return rotation;
}

void PaintTitleScreen(HDC dc, int width, int height) {
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    GdiObject font(MakeFont(height / 14));
    SelectedObject selected(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    const DisplayText title = ToDisplayCodes(kProductTitle);
    GdiCanvas canvas(dc);
    const int h = LayoutText(canvas, 0, 0, width, title, kAdvancePercent, false).bottom;
    LayoutText(canvas, 0, (height - h) / 2, width, title, kAdvancePercent, true);
}

void PaintSaver(HDC dc, int width, int height) {
    const Rotation& rotation = SaverRotation();
    const bool header = saverSettings.disp_header_title || saverSettings.disp_header_date;
    const int headerSpace = header ? LayoutHeader(dc, width, height) : 0;
    const int freeHeight = height - (headerSpace < 0 ? -headerSpace : headerSpace);
    const int start = rotation.State() == DisplayState::NoChannels ? freeHeight / 10 : freeHeight * 20 / 100;

    const DisplayText& text = rotation.ItemCodes();
    const ItemFit fit =
        FitItem(start, freeHeight, width, [&](int h) { return MeasureText(dc, h, width, text); });

    GdiObject font(MakeFont(fit.font_height));
    SelectedObject selected(dc, font.Get());
    const int room = freeHeight - fit.text_height;
    int y = room > 0 ? std::rand() % room : 0;
    if (headerSpace > 0) y += headerSpace;
    SetBkMode(dc, TRANSPARENT);
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    if (header) DrawHeader(dc, width, height, rotation.TextColour());
    SetTextColor(dc, rotation.TextColour());
    GdiCanvas canvas(dc);
    LayoutText(canvas, 0, y, width, text, kAdvancePercent, true);
}
