#include "display/saver_display.h"

#include "common/gdi_holders.h"
#include "config/settings.h"
#include "display/gdi_text.h"
#include "display/header_text.h"
#include "display/paint_comparison.h"
#include "display/size_cache.h"
#include "feed/fetch_worker.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>

namespace {

// Draws `text` with the measurer's font of that height, taking sizes from the cache.
void DrawCodesCached(HDC dc, GdiCharMeasurer& gdi, CharSizeCache& cache, int fontHeight, int y0, int right,
                     const DisplayText& text) {
    gdi.Use(fontHeight);
    GdiCanvas drawer(dc);
    CachedCanvas canvas(cache, fontHeight, &drawer);
    LayoutText(canvas, 0, y0, right, text, kAdvancePercent, true);
}

// The font heights the last fast paint chose, and what they were chosen for: a window
// that is uncovered paints the same item again, and the search is most of a paint.
struct RememberedFits {
    int width = -1, height = -1;
    SaverScreen screen;  // its colour plays no part
    HeaderFit header;
    ItemFit item;

    bool For(int w, int h, const SaverScreen& s) const {
        return width == w && height == h && screen.item == s.item && screen.no_channels == s.no_channels &&
               screen.header == s.header && screen.header_codes == s.header_codes && screen.font_face == s.font_face;
    }
};
RememberedFits rememberedFits;

// The saver's fetches in flight, by the tag their worker posts back when it ends.
struct SaverFetch {
    std::shared_ptr<FetchJob> job;
    FetchDone done;
};
std::map<WPARAM, SaverFetch> saverFetches;

// The saver window, and the part of it where the screen is painted.
HWND displayWindow = nullptr;
RECT displayArea = {};
WPARAM lastFetchTag = 0;

void StartSaverFetch(const std::string& url, FetchDone done) {
    const WPARAM tag = ++lastFetchTag;
    saverFetches[tag] = {FetchJob::Start(url, displayWindow, WM_SAVER_FETCHED, tag), std::move(done)};
}

}  // namespace

void BindSaverDisplay(HWND window, const RECT& paintArea) {
    displayWindow = window;
    displayArea = paintArea;
}

void FinishSaverFetch(WPARAM tag) {
    auto found = saverFetches.find(tag);
    if (found == saverFetches.end()) return;
    SaverFetch fetch = std::move(found->second);
    saverFetches.erase(found);
    fetch.done(fetch.job->Take());
}

Rotation& SaverRotation() {
    static Rotation rotation(saverSettings, RotationPlatform{
                                                StartSaverFetch,
                                                [] { return std::time(nullptr); },
                                                [] { return std::rand(); },
                                                [] {
                                                    InvalidateRect(displayWindow, &displayArea,
                                                                   TRUE);  // the other monitors stay black as they are
                                                    UpdateWindow(displayWindow);
                                                },
                                            });
    return rotation;
}

void PaintTitleScreen(HDC dc, int width, int height) {
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    GdiObject font(MakeSaverFont(std::max(1, height / 14), saverSettings.font_face));
    SelectedObject selected(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    const DisplayText title = ToDisplayCodes(kProductTitle);
    GdiCanvas canvas(dc);
    const int h = LayoutText(canvas, 0, 0, width, title, kAdvancePercent, false).bottom;
    LayoutText(canvas, 0, (height - h) / 2, width, title, kAdvancePercent, true);
}

SaverScreenLayout PaintSaverScreenWith(HDC dc, int width, int height, const SaverScreen& screen,
                                       const std::function<int()>& random, const ScreenTextWays& ways) {
    SaverScreenLayout layout;
    int headerSpace = 0;  // positive at the top, negative at the bottom
    if (screen.header) {
        layout.header_at_bottom = (random() & 1) != 0;
        layout.header = ways.fit_header(screen.header_codes, height);
        headerSpace = layout.header_at_bottom ? -layout.header.height : layout.header.height;
    }
    const int freeHeight = height - std::abs(headerSpace);
    const int start = screen.no_channels ? freeHeight / 10 : freeHeight * 20 / 100;
    layout.item = ways.fit_item(screen.item, start, freeHeight);
    layout.item_y = ItemTop(freeHeight, layout.item.text_height, headerSpace, random);

    SetBkMode(dc, TRANSPARENT);
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    if (screen.header) {
        SetTextColor(dc, (screen.colour >> 1) & 0x7F7F7F);
        const int headerTop = layout.header_at_bottom ? height - layout.header.height : 0;
        ways.draw(screen.header_codes, layout.header.font_height, headerTop);
    }
    SetTextColor(dc, screen.colour);
    ways.draw(screen.item, layout.item.font_height, layout.item_y);
    return layout;
}

SaverScreenLayout PaintSaverScreen(HDC dc, int width, int height, const SaverScreen& screen,
                                   const std::function<int()>& random) {
    GdiCharMeasurer gdi(dc, screen.font_face);
    CharSizeCache cache([&gdi](int fontHeight, std::uint32_t code) { return gdi.Measure(fontHeight, code); });
    const bool remembered = rememberedFits.For(width, height, screen);
    ScreenTextWays ways;
    ways.fit_header = [&](const DisplayText& text, int windowHeight) {
        if (remembered) return rememberedFits.header;
        return FitHeader(windowHeight, text.size(), CachedMeasure(cache, width, text));
    };
    ways.fit_item = [&](const DisplayText& text, int start, int freeHeight) {
        if (remembered) return rememberedFits.item;
        TextLayouts layouts(cache, width, text);
        return FitItemFast(
            start, freeHeight, width, [&](int h) { return layouts.Measured(h); },
            [&](int h) { return layouts.Estimated(h); });
    };
    ways.draw = [&](const DisplayText& text, int fontHeight, int y) {
        DrawCodesCached(dc, gdi, cache, fontHeight, y, width, text);
    };
    const SaverScreenLayout layout = PaintSaverScreenWith(dc, width, height, screen, random, ways);
    rememberedFits = {width, height, screen, layout.header, layout.item};
    return layout;
}

void ForgetSaverFits() { rememberedFits = RememberedFits(); }

void PaintSaver(HDC dc, int width, int height) {
    const Rotation& rotation = SaverRotation();
    SaverScreen screen;
    screen.item = rotation.ItemCodes();
    screen.colour = rotation.TextColour();
    screen.no_channels = rotation.State() == DisplayState::NoChannels;
    screen.header = saverSettings.disp_header_title || saverSettings.disp_header_date;
    if (screen.header)
        screen.header_codes =
            ToDisplayCodes(HeaderText(screen.no_channels, rotation.CurrentChannel(), saverSettings.disp_header_title,
                                      saverSettings.disp_header_date));
    screen.font_face = saverSettings.font_face;

    PaintSaverScreen(dc, width, height, screen, [] { return std::rand(); });
}
