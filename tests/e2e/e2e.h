#pragma once
// Shared by the end-to-end tests: configuration files, show mode, stable
// screenshots and the links handed to the shell after Enter.
#include "config/settings.h"
#include "link_recorder.h"
#include "saver_process.h"
#include "screen_capture.h"
#include "window_text.h"

#include <functional>
#include <string>
#include <vector>

extern const char kSaverClass[];

// Runs `command` with the Unix shell (xdotool, for real input on the X display Wine draws
// on) and waits until it has ended, which it shows by touching a file: Wine starts Unix
// programs itself but gives no handle to wait on.
bool RunUnix(const std::string& command);
// Row `row` of a report list view in another process, on the screen.
RECT ListRow(HWND list, int row);
// A point of that row inside its first column, as xdotool's " x y".
std::string RowPoint(HWND list, int row);

// A kvtini.xml as the program's own writer leaves it for `s`.
std::string ConfigFile(const SaverSettings& s);
// Default settings with these channels and `dispInterval` seconds per item.
SaverSettings WithChannels(std::vector<SiteEntry> sites, int dispInterval = 99, bool header = true);
SiteEntry Channel(const char* title, const std::string& feed, bool enabled = true);
// From the feed server: "RSS two" (rss2.xml: news/1.html, news/2.html?a=1&b=2, news/3.html)
// and "RDF" (rss1.xml: rdf/a, rdf/b, rdf/c).
std::vector<SiteEntry> TwoChannels();

// A bordered window to host a preview: its client area is smaller than the window.
HWND PreviewHost();
// The host's handle as the number after /p.
std::string PreviewOf(HWND host);

// Starts show mode and waits for its window (null when none comes) and its first paint.
HWND StartShow(SaverRun& run);
// Starts configure mode (`arguments`) and waits until its settings dialog has painted
// (null when it never does).
HWND OpenSettings(SaverRun& run, const std::string& arguments = "/c");
// A screenshot taken when two captures a tenth of a second apart agree, so no paint
// is caught half done.
Screenshot StableCapture();
bool Coloured(std::uint32_t c);
// Waits until a stable screenshot `shows` what is wanted; the last one on time-out.
Screenshot WaitForScreen(const std::function<bool(const Screenshot&)>& shows, DWORD timeoutMs = 15000);
// The screen once the settings dialog has painted (its link in blue, its labels in dark
// text) and holds still (null screenshot when that never happens).
Screenshot CaptureSettingsDialog(HWND dialog);
// Waits until the saver shows something in colour (an item, after the title screen).
Screenshot WaitForColour(DWORD timeoutMs = 15000);

struct EnterOutcome {
    std::vector<std::string> links;  // opened by the shell
    bool ended = false;
    DWORD code = 1;
    double windowGoneMs = 0, exitMs = 0;  // from Enter
};
// The links `browser` has been handed by the end of a saver run: Enter's link comes a
// second after the window has gone, so within a second and a half of the end, and no
// other after it.
std::vector<std::string> LinksAfterEnd(const BrowserStandIn& browser);
// Runs show mode on `s`, leaves the title screen with a key, presses `keys`, then Enter.
// http, https, javascript and kvttest addresses reach a stand-in for the browser.
EnterOutcome PressEnter(const SaverSettings& s, const std::vector<WPARAM>& keys);
