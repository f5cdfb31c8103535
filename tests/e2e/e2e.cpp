#include "e2e.h"

#include "config/settings_io.h"
#include "feed_server.h"
#include "link_recorder.h"
#include "res/resource.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <algorithm>

const char kSaverClass[] = "KVT WINDOW";

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

SiteEntry Channel(const char* title, const std::string& feed, bool enabled) {
    return {title, feed, "", enabled, {}};
}

std::vector<SiteEntry> TwoChannels() {
    return {Channel("RSS two", FeedServerUrl("/feeds/rss2.xml")), Channel("RDF", FeedServerUrl("/feeds/rss1.xml"))};
}

HWND StartShow(SaverRun& run) {
    EXPECT_TRUE(run.Start("/s"));
    HWND window = run.WaitForWindow(kSaverClass);
    EXPECT_NE(window, nullptr);
    if (window) PumpFor(300);
    return window;
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
    RECT link, whole;
    GetWindowRect(GetDlgItem(dialog, IDC_LINK), &link);
    GetWindowRect(dialog, &whole);
    // The controls paint one after another, slowly under emulation: the link in blue and
    // the labels' dark text both show once it is done.
    const auto painted = [&](const Screenshot& s) {
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
    WaitForColour();                   // arrow keys do nothing until its first item is shown
    for (WPARAM key : keys) {
        PostTo(window, WM_KEYDOWN, key);
        PumpFor(500);  // a key that enters another channel waits for its fetch
    }
    PumpFor(500);
    EXPECT_TRUE(run.IsRunning());
    const double enter = run.ElapsedMs();
    PostTo(window, WM_KEYDOWN, VK_RETURN);
    while (IsWindow(window) && run.ElapsedMs() - enter < 10000) PumpFor(5);
    o.windowGoneMs = run.ElapsedMs() - enter;
    o.ended = run.WaitForExit(10000, &o.code);
    o.exitMs = run.ElapsedMs() - enter;
    // The stand-in runs on its own time.
    for (DWORD start = GetTickCount(); browser.Links().empty() && GetTickCount() - start < 1500;) PumpFor(20);
    PumpFor(300);
    o.links = browser.Links();
    return o;
}
