#pragma once
// Shared by the tests that run the settings dialog and the channel editor in-process
// on the real dialogs: the set-up, the settings dialog with its channel list, and
// small readers and movers of their controls.
#include "app/shell_state.h"
#include "config/settings.h"
#include "editor/channel_edit_request.h"
#include "editor/fetch_beep.h"
#include "feed_server.h"
#include "link_recorder.h"
#include "res/resource.h"
#include "saver_process.h"
#include "settings/settings_dialog.h"
#include "window_text.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// In screen coordinates.
inline POINTL Centre(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return POINTL{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Above every other window and painted, for tests that read the screen or look up
// the window under a point.
inline void BringToTop(HWND dialog) {
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    UpdateWindow(dialog);
}

// As when the dialog is moved to a monitor of this many dpi.
inline void ChangeDpi(HWND dialog, int dpi) {
    RECT suggested;
    GetWindowRect(dialog, &suggested);
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
}

inline int ItemCount(HWND list) { return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
// A row's state image: 1 for a clear box, 2 for a ticked one.
inline int CheckState(HWND list, int row) {
    return int(SendMessageA(list, LVM_GETITEMSTATE, WPARAM(row), LVIS_STATEIMAGEMASK) >> 12);
}
inline bool Selected(HWND list, int row) { return SendMessageA(list, LVM_GETITEMSTATE, WPARAM(row), LVIS_SELECTED); }

inline void Tick(HWND list, int row, bool on) {
    LVITEMA lv = {};
    lv.stateMask = LVIS_STATEIMAGEMASK;
    lv.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&lv));
}

// Selects exactly these rows.
inline void Select(HWND list, const std::vector<int>& rows) {
    LVITEMA lv = {};
    lv.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&lv));
    lv.state = LVIS_SELECTED;
    for (int r : rows) SendMessageA(list, LVM_SETITEMSTATE, WPARAM(r), LPARAM(&lv));
}

struct ListColumn {
    bool exists;
    std::string text;
    int width, format;
};
inline ListColumn Column(HWND list, int index) {
    char buf[64] = "";
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.pszText = buf;
    col.cchTextMax = sizeof buf;
    const bool exists = SendMessageA(list, LVM_GETCOLUMNA, WPARAM(index), LPARAM(&col));
    return {exists, buf, col.cx, col.fmt};
}

// A DIALOGEX template as the resources hold it: the dialog's style, caption and font,
// and its controls in tab order, without their coordinates.
struct TemplateControl {
    int id;
    std::string cls;  // the standard classes by name, upper case
    std::string text;
    DWORD style;  // without WS_CHILD and WS_VISIBLE
    bool operator==(const TemplateControl& o) const {
        return id == o.id && _stricmp(cls.c_str(), o.cls.c_str()) == 0 && text == o.text && style == o.style;
    }
    friend std::ostream& operator<<(std::ostream& out, const TemplateControl& c) {
        return out << c.id << " " << c.cls << " \"" << c.text << "\" " << std::hex << c.style << std::dec;
    }
};
struct DialogTemplate {
    DWORD style = 0;
    std::string caption, font;
    std::vector<TemplateControl> controls;
};
inline DialogTemplate ReadDialogTemplate(int resource) {
    struct Reader {
        const BYTE* base;
        const BYTE* p;
        WORD Word() {
            WORD w;
            CopyMemory(&w, p, 2);
            p += 2;
            return w;
        }
        DWORD Dword() {
            DWORD d;
            CopyMemory(&d, p, 4);
            p += 4;
            return d;
        }
        std::string Text() {  // a string or an ordinal
            if (Word() == 0xFFFF) {
                const WORD ordinal = Word();
                const char* names[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
                return ordinal >= 0x80 && ordinal <= 0x85 ? names[ordinal - 0x80] : "#" + std::to_string(ordinal);
            }
            p -= 2;
            const wchar_t* s = reinterpret_cast<const wchar_t*>(p);
            p += (wcslen(s) + 1) * 2;
            char buf[256] = "";
            WideCharToMultiByte(932, 0, s, -1, buf, sizeof buf, nullptr, nullptr);
            return buf;
        }
        void Align() { p = base + ((p - base + 3) & ~3); }
    };
    DialogTemplate t;
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(resource), MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (!found) return t;
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    Reader r{base, base + 12};  // version, signature, help id, extended style
    t.style = r.Dword();
    const WORD count = r.Word();
    r.p += 8;  // coordinates
    r.Text();  // menu
    r.Text();  // class
    t.caption = r.Text();
    r.p += 6;  // point size, weight, italic and character set
    t.font = r.Text();
    for (WORD i = 0; i < count; ++i) {
        r.Align();
        r.p += 8;  // help id, extended style
        const DWORD style = r.Dword() & ~DWORD(WS_CHILD | WS_VISIBLE);
        r.p += 8;  // coordinates
        const int id = int(r.Dword());
        const std::string cls = r.Text(), text = r.Text();
        r.p += r.Word();  // creation data
        t.controls.push_back({id, cls, text, style});
    }
    return t;
}

inline IDropTarget* DropTargetOf(HWND window) {
    return static_cast<IDropTarget*>(GetPropA(window, "OleDropTargetInterface"));
}

// Drags `data` onto `at` through the window's drop target, with the left button
// held and copy, move and link offered; the effect each step answered.
struct DropEffects {
    DWORD enter, over, drop;
};
inline DropEffects DragTo(HWND window, IDataObject* data, POINTL at) {
    const DWORD offered = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    DropEffects e = {offered, offered, offered};
    IDropTarget* target = DropTargetOf(window);
    EXPECT_TRUE(target) << "the window is a drop target";
    if (!target) return {};
    target->DragEnter(data, MK_LBUTTON, at, &e.enter);
    target->DragOver(MK_LBUTTON, at, &e.over);
    target->Drop(data, 0, at, &e.drop);
    return e;
}

// saverSettings.sites, one "title|link|description|on" (or "off") line each.
inline std::string Sites() {
    std::string s;
    for (const SiteEntry& e : saverSettings.sites)
        s += e.title + "|" + e.link + "|" + e.description + "|" + (e.check ? "on" : "off") + "\n";
    return s;
}

// OLE, COM, the locale and the common controls as the program sets them up; the
// settings and the channel edit request put back after each test; fetch beeps
// recorded instead of sounded.
class SettingsDialogFixture : public ::testing::Test {
protected:
    void SetUp() override {
        InitFeedEnvironment();
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        appInstance = GetModuleHandleA(nullptr);
        saved_ = saverSettings;
        saverSettings = SaverSettings();
        beeps.clear();
        fetchBeep = RecordBeep;
    }
    void TearDown() override {
        if (settings_ && IsWindow(settings_)) DestroyWindow(settings_);
        saverSettings = saved_;
        channelEditRequest = ChannelEditRequest();
        fetchBeep = MessageBeep;
    }
    // The modeless settings dialog on saverSettings.
    HWND OpenSettings() {
        settings_ = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, SettingsDialogProc, 0);
        list_ = GetDlgItem(settings_, IDC_CHANNEL_LIST);
        return settings_;
    }
    // Destroying the dialog runs its read-back into saverSettings.
    void CloseSettings() {
        DestroyWindow(settings_);
        settings_ = list_ = nullptr;
    }

    static BOOL WINAPI RecordBeep(UINT type) {
        beeps += type == MB_OK ? "ok " : type == MB_ICONHAND ? "err " : "? ";
        return TRUE;
    }

    inline static std::string beeps;  // "ok " for each success beep, "err " for each failure beep
    SaverSettings saved_;
    HWND settings_ = nullptr, list_ = nullptr;
};
