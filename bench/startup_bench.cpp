// Measures how long kvt.scr takes from process start to the first paint of its
// title screen: the time until its window exists, and until the title's white
// pixels are on the screen. Runs show mode N times and prints each run and the median.
// For scale, it also times the same program started with /a, which sets up OLE,
// COM and the locale and ends at once: what any program pays to start under Wine.
#include "saver_process.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// True when a white pixel shows in the band where the title is drawn: the left
// third of the screen, around the middle.
bool TitleVisible() {
    const int w = GetSystemMetrics(SM_CXSCREEN) / 3, h = GetSystemMetrics(SM_CYSCREEN);
    const int top = h / 2 - h / 14, rows = h / 7;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof bi.bmiHeader, w, -rows, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, rows, screen, 0, top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    const bool found =
        std::any_of(p, p + size_t(w) * size_t(rows), [](std::uint32_t c) { return (c & 0xFFFFFF) == 0xFFFFFF; });
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return found;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    std::vector<double> windowMs, paintMs;
    for (int i = 0; i < runs; ++i) {
        SaverRun run;
        if (!run.Start("/s")) return 1;
        HWND window = run.WaitForWindow("KVT WINDOW", 20000);
        const double w = run.ElapsedMs();
        while (window && !TitleVisible() && run.ElapsedMs() < 20000) Sleep(1);
        const double p = run.ElapsedMs();
        if (!window) return 1;
        windowMs.push_back(w);
        paintMs.push_back(p);
        std::printf("run %d: window %.1f ms, title painted %.1f ms\n", i + 1, w, p);
        PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
        run.WaitForExit(10000);
    }
    std::vector<double> bareMs;
    for (int i = 0; i < runs; ++i) {
        SaverRun run;
        if (!run.Start("/a") || !run.WaitForExit(20000)) return 1;
        bareMs.push_back(run.ElapsedMs());
    }
    std::printf("median of %d runs: window %.1f ms, title painted %.1f ms\n", runs, Median(windowMs), Median(paintMs));
    std::printf("median of %d runs of /a (start and end only): %.1f ms; title painted / that = %.2f\n", runs,
                Median(bareMs), Median(paintMs) / Median(bareMs));
    return 0;
}
