// Cost of one paint of the saver screen with each size search: GDI text measurements,
// font creations and milliseconds, painting into a memory bitmap of the screen's size.
// Prints a Markdown table.
#include "display/gdi_text.h"
#include "display/paint_comparison.h"
#include "every_height_paint.h"
#include "gdi_call_counts.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

double NowMs() {
    LARGE_INTEGER c, f;
    QueryPerformanceCounter(&c);
    QueryPerformanceFrequency(&f);
    return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}

std::size_t CharCount(const std::string& s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++n) i += IsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
    return n;
}

// A news-like title of exactly `chars` characters, the same on every run: sentences
// of mixed kanji, kana and Latin text, so a long title has some hundreds of distinct
// characters as real headlines do.
std::string Title(std::size_t chars) {
    static const char* const sentences[] = {
        "政府は来年度の予算案を閣議決定し、防衛費と社会保障費がいずれも過去最大となった。",
        "専門家は「財政再建の道筋が見えない」と指摘している。",
        "東京株式市場では日経平均株価が一時５００円以上値上がりし、半導体関連銘柄に買い注文が集まった。",
        "Open source project releases version 2.0 with faster startup and lower memory use. ",
        "気象庁によると、台風１２号は強い勢力を保ったまま北上し、週末にかけて西日本に接近する見込み。",
        "沿岸部では高潮や土砂災害への警戒が必要だ。",
        "文部科学省は小中学校の教員不足を解消するため、採用試験の日程を前倒しする方針を固めた。",
        "国立研究所のチームが、新しい触媒を使って水から水素を効率よく取り出す技術を開発したと発表。",
        "ﾌﾟﾛ野球の優勝争いは終盤に入り、首位と２位のゲーム差は１・５に縮まった。",
        "鉄道各社は年末年始の臨時列車を増発し、帰省客の混雑緩和を図る。",
        "Researchers say the comet will be visible to the naked eye in early spring. ",
        "地方の商店街では空き店舗を改装した交流拠点が相次いで開業し、若者の起業を後押ししている。",
        "医療機関の働き方改革に伴い、救急外来の受け入れ体制を見直す病院が増えている。",
        "円相場は一時１ドル＝１５０円台まで下落し、輸入物価の上昇が家計を圧迫するとの懸念が広がった。",
    };
    std::string s;
    for (std::size_t i = 0; CharCount(s) < chars; ++i) s += sentences[i % (sizeof sentences / sizeof *sentences)];
    std::string cut;
    for (std::size_t i = 0, n = 0; n < chars; ++n) {
        const std::size_t len = IsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
        cut += s.substr(i, len);
        i += len;
    }
    return cut;
}

struct Sample {
    long long measures = 0, fonts = 0;
    double ms = 0;
    int fontHeight = 0;
    SaverScreenLayout layout;
};

// One paint; unless `again`, as the first paint of a new item (nothing remembered).
Sample PaintOnce(HDC dc, int width, int height, const SaverScreen& screen, bool everyHeight, bool again = false) {
    if (!again) ForgetSaverFits();
    const GdiCallCounts before = gdiCallCounts;
    unsigned seed = 1;
    const auto random = [&] {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) & 0x7FFF);
    };
    const double start = NowMs();
    const SaverScreenLayout layout = everyHeight ? PaintSaverScreenEveryHeight(dc, width, height, screen, random)
                                                 : PaintSaverScreen(dc, width, height, screen, random);
    GdiFlush();
    Sample s;
    s.ms = NowMs() - start;
    s.measures = gdiCallCounts.measures - before.measures;
    s.fonts = gdiCallCounts.fonts - before.fonts;
    s.fontHeight = layout.item.font_height;
    s.layout = layout;
    return s;
}

// The part of a paint that no search can save: clearing the bitmap, then drawing the
// header and the item at the heights and places a paint chose, with fonts made for them.
double ClearAndDrawMs(HDC dc, int width, int height, const SaverScreen& screen, const SaverScreenLayout& l) {
    const double start = NowMs();
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    const int headerTop = l.header_at_bottom ? height - l.header.height : 0;
    const struct {
        const DisplayText& text;
        int fontHeight, y;
    } parts[] = {{screen.header_codes, l.header.font_height, headerTop}, {screen.item, l.item.font_height, l.item_y}};
    for (const auto& part : parts) {
        HFONT font = MakeSaverFont(part.fontHeight, screen.font_face);
        HGDIOBJ old = SelectObject(dc, font);
        GdiCanvas canvas(dc);
        LayoutText(canvas, 0, part.y, width, part.text, kAdvancePercent, true);
        SelectObject(dc, old);
        DeleteObject(font);
    }
    GdiFlush();
    return NowMs() - start;
}

double MedianMs(int runs, const std::function<double()>& once) {
    once();
    std::vector<double> v;
    for (int i = 0; i < runs; ++i) v.push_back(once());
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The median time of `runs` paints after one paint to warm up.
Sample Measure(HDC dc, int width, int height, const SaverScreen& screen, bool everyHeight, int runs,
               bool again = false) {
    PaintOnce(dc, width, height, screen, everyHeight);
    std::vector<Sample> samples;
    for (int i = 0; i < runs; ++i) samples.push_back(PaintOnce(dc, width, height, screen, everyHeight, again));
    std::sort(samples.begin(), samples.end(), [](const Sample& a, const Sample& b) { return a.ms < b.ms; });
    return samples[samples.size() / 2];
}

}  // namespace

int main() {
    if (!CountGdiCalls()) std::printf("(GDI calls are not counted: their import entries were not found)\n");
    const int sizes[][2] = {{1280, 720}, {1920, 1080}, {3840, 2160}};
    std::printf(
        "| screen | title chars (distinct) | item font px | every height: measures / fonts / ms | fast: "
        "measures / fonts / ms | time ratio | fast, same item again: ms | clear + draw alone: ms | fast / that |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|\n");
    for (const auto& size : sizes) {
        const int width = size[0], height = size[1];
        HDC screenDc = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screenDc);
        ReleaseDC(nullptr, screenDc);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        for (std::size_t chars : {20u, 200u, 1023u}) {
            SaverScreen screen;
            screen.item = ToDisplayCodes(Title(chars));
            screen.colour = RGB(255, 200, 60);
            screen.header = true;
            screen.header_codes = ToDisplayCodes("ＩＴニュース(9時05分取得)");
            screen.font_face = "ＭＳ Ｐゴシック";
            const std::set<std::uint32_t> distinct(screen.item.begin(), screen.item.end());
            const Sample slow = Measure(dc, width, height, screen, true, 3);
            const Sample fast = Measure(dc, width, height, screen, false, 7);
            const Sample again = Measure(dc, width, height, screen, false, 7, true);
            const double floor = MedianMs(7, [&] { return ClearAndDrawMs(dc, width, height, screen, fast.layout); });
            std::printf(
                "| %dx%d | %zu (%zu) | %d | %lld / %lld / %.1f | %lld / %lld / %.1f | %.1fx | %.1f | %.1f | %.2f |\n",
                width, height, screen.item.size(), distinct.size(), fast.fontHeight, slow.measures, slow.fonts, slow.ms,
                fast.measures, fast.fonts, fast.ms, slow.ms / fast.ms, again.ms, floor, fast.ms / floor);
            std::fflush(stdout);
            if (slow.fontHeight != fast.fontHeight) std::printf("  (font heights differ: %d)\n", slow.fontHeight);
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    return 0;
}
