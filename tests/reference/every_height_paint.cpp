#include "every_height_paint.h"

#include "common/gdi_holders.h"
#include "display/gdi_text.h"
#include "every_height_fit.h"

namespace {

// Measures one character per call (as GdiCanvas does) and draws one per TextOutA.
class CharByCharCanvas : public GdiCanvas {
public:
    explicit CharByCharCanvas(HDC dc) : GdiCanvas(dc), dc_(dc) {}
    void DrawLine(int y, const std::vector<PlacedChar>& line) override {
        for (const PlacedChar& c : line) {
            char bytes[2];
            TextOutA(dc_, c.x, y, bytes, CodeBytes(c.code, bytes));
        }
    }

private:
    HDC dc_;
};

// Lays `text` out (and draws it) at 0, y0 with a font of its own of that height.
LayoutResult LayOut(HDC dc, const std::string& face, int fontHeight, int y0, int right, const DisplayText& text,
                    bool draw) {
    GdiObject font(MakeSaverFont(fontHeight, face));
    SelectedObject selected(dc, font.Get());
    CharByCharCanvas canvas(dc);
    return LayoutText(canvas, 0, y0, right, text, kAdvancePercent, draw);
}

}  // namespace

SaverScreenLayout PaintSaverScreenEveryHeight(HDC dc, int width, int height, const SaverScreen& screen,
                                              const std::function<int()>& random) {
    const auto measureOf = [&](const DisplayText& text) {
        return [&, width](int fontHeight) { return LayOut(dc, screen.font_face, fontHeight, 0, width, text, false); };
    };
    ScreenTextWays ways;
    ways.fit_header = [&](const DisplayText& text, int windowHeight) {
        return FitHeader(windowHeight, text.size(), measureOf(text));
    };
    ways.fit_item = [&](const DisplayText& text, int start, int freeHeight) {
        return FitItem(start, freeHeight, width, measureOf(text));
    };
    ways.draw = [&](const DisplayText& text, int fontHeight, int y) {
        LayOut(dc, screen.font_face, fontHeight, y, width, text, true);
    };
    return PaintSaverScreenWith(dc, width, height, screen, random, ways);
}
