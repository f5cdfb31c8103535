#include "e2e.h"

#include "config/settings_io.h"
#include "feed_server.h"
#include "link_recorder.h"
#include "res/resource.h"
#include "test_paths.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

const char kSaverClass[] = "KVT WINDOW";

bool RunUnix(const std::string& command) {
    const std::string done = "/tmp/kvt-e2e-unix-" + std::to_string(GetCurrentProcessId());
    DeleteFileA(("Z:" + done).c_str());
    std::string line = "/bin/sh -c \"" + command + "; touch " + done + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; PumpFor(20))
        if (DeleteFileA(("Z:" + done).c_str())) return true;
    return false;
}

// Rows start below the column headers; under Wine the approximate view of one row is
// one row high.
RECT ListRow(HWND list, int row) {
    RECT r = {};
    GetWindowRect(FindWindowExA(list, nullptr, "SysHeader32", nullptr), &r);
    const int h = HIWORD(SendMessageA(list, LVM_APPROXIMATEVIEWRECT, 1, MAKELPARAM(-1, -1)));
    r.top = r.bottom + row * h;
    r.bottom = r.top + h;
    return r;
}

std::string RowPoint(HWND list, int row) {
    const RECT r = ListRow(list, row);
    return " " + std::to_string(r.left + 60) + " " + std::to_string((r.top + r.bottom) / 2);
}

std::string ConfigFile(const SaverSettings& s) {
    const SaverSettings kept = saverSettings;
    saverSettings = s;
    const std::string folder = MakeTempFolder("kvt-config");
    EXPECT_EQ(SaveSettings((folder + "kvtini.xml").c_str()), 0);
    const std::string bytes = ReadFileBytes(folder + "kvtini.xml");
    RemoveFolder(folder);
    saverSettings = kept;
    return bytes;
}

SaverSettings WithChannels(std::vector<SiteEntry> sites, int dispInterval, bool header) {
    SaverSettings s;
    s.sites = std::move(sites);
    s.disp_interval = dispInterval;
    s.disp_header_title = s.disp_header_date = header;
    return s;
}

SiteEntry Channel(const char* title, const std::string& feed, bool enabled) { return {title, feed, "", enabled, {}}; }

std::vector<SiteEntry> TwoChannels() {
    return {Channel("RSS two", FeedServerUrl("/feeds/rss2.xml")), Channel("RDF", FeedServerUrl("/feeds/rss1.xml"))};
}

HWND StartShow(SaverRun& run) {
    EXPECT_TRUE(run.Start("/s"));
    HWND window = run.WaitForWindow(kSaverClass);
    EXPECT_NE(window, nullptr);
    if (window) PumpUntil([&] { return IsWindowVisible(window) && !GetUpdateRect(window, nullptr, FALSE); }, 5000);
    return window;
}

HWND OpenSettings(SaverRun& run, const std::string& arguments) {
    EXPECT_TRUE(run.Start(arguments));
    HWND dialog = run.WaitForWindow("#32770");
    EXPECT_NE(dialog, nullptr);
    if (!dialog) return nullptr;
    const bool painted = !CaptureSettingsDialog(dialog).pixels.empty();
    EXPECT_TRUE(painted) << "the dialog never painted";
    return painted ? dialog : nullptr;
}

Screenshot StableCapture() {
    Screenshot previous = CaptureScreen();
    for (int i = 0; i < 20; ++i) {
        PumpFor(100);
        Screenshot next = CaptureScreen();
        if (next.pixels == previous.pixels) return next;
        previous = std::move(next);
    }
    return previous;
}

bool Coloured(std::uint32_t c) { return Red(c) != Green(c) || Green(c) != Blue(c); }

Screenshot WaitForScreen(const std::function<bool(const Screenshot&)>& shows, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        Screenshot shot = StableCapture();
        if (shows(shot) || GetTickCount() - start > timeoutMs) return shot;
        PumpFor(100);
    }
}

Screenshot CaptureSettingsDialog(HWND dialog) {
    // The controls paint one after another, slowly under emulation: the link in blue and
    // the labels' dark text both show once it is done. The dialog may still move to its
    // place meanwhile.
    const auto painted = [&](const Screenshot& s) {
        RECT link, whole;
        GetWindowRect(GetDlgItem(dialog, IDC_LINK), &link);
        GetWindowRect(dialog, &whole);
        return s.Count(link, [](std::uint32_t c) { return c == 0x0000FF; }) > 20 &&
               s.Count(whole, [](std::uint32_t c) { return Red(c) < 80 && Green(c) < 80 && Blue(c) < 80; }) > 500;
    };
    Screenshot shot = WaitForScreen(painted);
    return painted(shot) ? shot : Screenshot();
}

Screenshot WaitForColour(DWORD timeoutMs) {
    return WaitForScreen(
        [](const Screenshot& shot) { return std::any_of(shot.pixels.begin(), shot.pixels.end(), Coloured); },
        timeoutMs);
}

EnterOutcome PressEnter(const SaverSettings& s, const std::vector<WPARAM>& keys) {
    BrowserStandIn browser({"javascript", "kvttest"});
    SaverRun run(ConfigFile(s));
    EnterOutcome o;
    HWND window = StartShow(run);
    if (!window) return o;
    PostTo(window, WM_KEYDOWN, 'A');  // leaves the title screen: the first channel is fetched
    WaitForColour();                  // arrow keys do nothing until its first item is shown
    for (WPARAM key : keys) {
        PostTo(window, WM_KEYDOWN, key);
        // A key that enters another channel starts its fetch, and keys do nothing until
        // its first item shows. Nothing outside the saver tells when that is: a fixed pause.
        PumpFor(500);
    }
    EXPECT_TRUE(run.IsRunning());
    const double enter = run.ElapsedMs();
    PostTo(window, WM_KEYDOWN, VK_RETURN);
    while (IsWindow(window) && run.ElapsedMs() - enter < 10000) PumpFor(5);
    o.windowGoneMs = run.ElapsedMs() - enter;
    o.ended = run.WaitForExit(10000, &o.code);
    o.exitMs = run.ElapsedMs() - enter;
    o.links = LinksAfterEnd(browser);
    return o;
}

std::vector<std::string> LinksAfterEnd(const BrowserStandIn& browser) { return LinksOpened(browser, 300, 1500); }

HWND PreviewHost() {
    return CreateWindowExA(0, "STATIC", "preview", WS_POPUP | WS_VISIBLE | WS_BORDER, 40, 40, 200, 150, nullptr,
                           nullptr, nullptr, nullptr);
}

std::string PreviewOf(HWND host) { return std::to_string(reinterpret_cast<INT_PTR>(host)); }
