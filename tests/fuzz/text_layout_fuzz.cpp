// The text layout and the font-size searches with a fake font made from the input.
// Input: width (2 bytes, 0 to 3999), free height (2 bytes, -64 to 2435), a height for
// the layout checks, the line height in percent of the font height, sixteen character
// widths in percent of the font height (by code modulo 16; a space is a third as wide),
// then the text's code page 932 bytes. The widths grow with the font, as the size
// searches assume of real fonts.
//  - LayoutText draws every character of the text in order, each line from the left
//    edge, none past the right edge but a line's first; it leaves out only a space at
//    the start of a line and a space or comma at a break;
//  - the fast item search chooses what the search through every height chooses (in a
//    window no narrower than any character), and its choice fits the free height (or
//    is the smallest height);
//  - the header search ends, with a height of at least 1 whose layout it reports.
#include "display/size_cache.h"
#include "display/text_layout.h"
#include "every_height_fit.h"
#include "fuzz_input.h"

#include <vector>

namespace {

struct Font {
    int linePercent = 100;
    int widthPercent[16] = {};
    CharSize At(int height, std::uint32_t code) const {
        const int percent = code == 0x20 ? widthPercent[0] / 3 : widthPercent[code % 16];
        return {(height * percent + 99) / 100, (height * linePercent + 99) / 100};
    }
};

struct Drawn {
    int x, y;
    std::uint32_t code;
};

class RecordingCanvas : public CharCanvas {
public:
    RecordingCanvas(const Font& font, int height) : font_(font), height_(height) {}
    CharSize Measure(std::uint32_t code) override { return font_.At(height_, code); }
    void DrawLine(int y, const std::vector<PlacedChar>& line) override {
        FUZZ_CHECK(!line.empty());
        FUZZ_CHECK(lines.empty() || y > lines.back());
        lines.push_back(y);
        for (const PlacedChar& c : line) drawn.push_back({c.x, y, c.code});
    }
    std::vector<int> lines;
    std::vector<Drawn> drawn;

private:
    const Font& font_;
    int height_;
};

void CheckLayout(const Font& font, int height, int width, const DisplayText& text) {
    RecordingCanvas canvas(font, height);
    const LayoutResult r = LayoutText(canvas, 0, 0, width, text, kAdvancePercent, true);
    FUZZ_CHECK(r.lines >= 1 && r.lines >= int(canvas.lines.size()) && r.bottom >= 0);
    std::size_t next = 0;  // the next drawn character to find in the text
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (next < canvas.drawn.size() && canvas.drawn[next].code == text[i]) {
            const Drawn& d = canvas.drawn[next];
            const Drawn* before = next > 0 ? &canvas.drawn[next - 1] : nullptr;
            const bool startsLine = !before || before->y != d.y;
            FUZZ_CHECK(startsLine ? d.x == 0 : d.x > before->x || font.At(height, before->code).cx * 94 / 100 == 0);
            FUZZ_CHECK(startsLine || d.x + font.At(height, d.code).cx <= width);
            FUZZ_CHECK(!startsLine || d.code != 0x20);
            FUZZ_CHECK(d.y + font.At(height, d.code).cy <= r.bottom);
            ++next;
        } else {
            FUZZ_CHECK(text[i] == 0x20 || text[i] == 0xA4);  // left out: only a space or a comma
        }
    }
    FUZZ_CHECK(next == canvas.drawn.size());  // all that was drawn, in the text's order
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const int width = int(in.Bits(2) % 4000);
    const int freeHeight = int(in.Bits(2) % 2500) - 64;
    const int layoutHeight = 1 + in.Byte();
    Font font;
    font.linePercent = 100 + in.Byte() % 64;
    for (int& w : font.widthPercent) w = 1 + in.Byte();
    const DisplayText text = ToDisplayCodes(in.Rest());

    CheckLayout(font, layoutHeight, width, text);

    const auto measureChar = [&font](int h, std::uint32_t code) { return font.At(h, code); };
    const int start = std::max(freeHeight, 0) * 20 / 100;
    CharSizeCache fullCache(measureChar);
    const ItemFit full = FitItem(start, freeHeight, width, CachedMeasure(fullCache, width, text));
    CharSizeCache cache(measureChar);
    TextLayouts layouts(cache, width, text);
    const ItemFit fast = FitItemFast(
        start, freeHeight, width, [&](int h) { return layouts.Measured(h); },
        [&](int h) { return layouts.Estimated(h); });
    // The searches agree where the window is at least as wide as each character at the
    // start height (see FitItemFast); in a narrower one only the fit is promised.
    bool everyCharacterFits = true;
    for (std::uint32_t code : text) everyCharacterFits = everyCharacterFits && font.At(start, code).cx <= width;
    if (everyCharacterFits) FUZZ_CHECK(fast.font_height == full.font_height && fast.text_height == full.text_height);
    FUZZ_CHECK(fast.font_height >= 1 && (fast.text_height <= freeHeight || fast.font_height == 1));
    FUZZ_CHECK(fast.text_height == layouts.Measured(fast.font_height).bottom);

    // The header search tries one more line at a time: a short text keeps it quick.
    const DisplayText headerText(text.begin(), text.begin() + std::ptrdiff_t(std::min<std::size_t>(text.size(), 200)));
    int measured = 0;
    CharSizeCache headerCache(measureChar);
    const MeasureAtHeight headerLayout = CachedMeasure(headerCache, width, headerText);
    const HeaderFit header = FitHeader(std::max(freeHeight, 0), headerText.size(), [&](int h) {
        ++measured;
        return headerLayout(h);
    });
    FUZZ_CHECK(header.font_height >= 1 && header.height == headerLayout(header.font_height).bottom);
    FUZZ_CHECK(measured <= (int(headerText.size()) + 2) * (std::max(freeHeight, 0) / 2 + 2));
    return 0;
}
