#pragma once
// Shared by the tests that run the settings dialog and the channel editor in-process
// on the real dialogs: the set-up, the settings dialog with its channel list, and
// small readers and movers of their controls.
#include "config/settings.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

class BrowserStandIn;

// The text of a window or control; at most 2,047 bytes.
std::string Text(HWND w);
// The middle of a window, in screen coordinates.
POINTL Centre(HWND w);
// Puts the dialog above every other window and paints it, for tests that read the
// screen or look up windows under a point.
void BringToTop(HWND dialog);
// Tells the dialog it was moved to a monitor of this many dpi.
void ChangeDpi(HWND dialog, int dpi);
// Pumps messages until the browser stand-in was handed an address (5 seconds at
// most), then `settleMs` more for any that should not come; the addresses it got.
std::vector<std::string> LinksOpened(const BrowserStandIn& browser, DWORD settleMs = 0);

int ItemCount(HWND list);
// A row's state image: 1 for a clear box, 2 for a ticked one.
int CheckState(HWND list, int row);
bool Selected(HWND list, int row);
void Tick(HWND list, int row, bool on);
// Selects exactly these rows.
void Select(HWND list, const std::vector<int>& rows);
struct ListColumn {
    bool exists;
    std::string text;
    int width, format;
};
ListColumn Column(HWND list, int index);

// The window's registered drop target; nullptr when it has none.
IDropTarget* DropTargetOf(HWND window);
// Drags `data` onto `at` through the window's drop target, as a drag with the left
// button held that offers copy, move and link; the effect each step answered.
struct DropEffects {
    DWORD enter, over, drop;
};
DropEffects DragTo(HWND window, IDataObject* data, POINTL at);

// saverSettings.sites, one "title|link|description|on" (or "off") line each.
std::string Sites();

// OLE, COM, the locale and the common controls as the program sets them up; the
// settings and the channel edit request put back after each test; fetch beeps
// recorded instead of sounded.
class SettingsDialogFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The modeless settings dialog on saverSettings; sets settings_ and list_.
    HWND OpenSettings();
    // Destroying the dialog runs its read-back into saverSettings.
    void CloseSettings();

    static BOOL WINAPI RecordBeep(UINT type);
    static std::string beeps;  // "ok " for each success beep, "err " for each failure beep

    SaverSettings saved_;
    HWND settings_ = nullptr, list_ = nullptr;
};
