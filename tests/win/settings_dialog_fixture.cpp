#include "settings_dialog_fixture.h"

#include "app/shell_state.h"
#include "editor/channel_edit_request.h"
#include "editor/fetch_beep.h"
#include "feed_server.h"
#include "link_recorder.h"
#include "res/resource.h"
#include "saver_process.h"
#include "settings/settings_dialog.h"

std::string Text(HWND w) {
    char buf[2048] = "";
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

POINTL Centre(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return POINTL{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void BringToTop(HWND dialog) {
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    UpdateWindow(dialog);
}

void ChangeDpi(HWND dialog, int dpi) {
    RECT suggested;
    GetWindowRect(dialog, &suggested);
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
}

std::vector<std::string> LinksOpened(const BrowserStandIn& browser, DWORD settleMs) {
    for (int i = 0; i < 100 && browser.Links().empty(); ++i) PumpFor(50);
    PumpFor(settleMs);
    return browser.Links();
}

int ItemCount(HWND list) { return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

int CheckState(HWND list, int row) {
    return int(SendMessageA(list, LVM_GETITEMSTATE, WPARAM(row), LVIS_STATEIMAGEMASK) >> 12);
}

bool Selected(HWND list, int row) { return SendMessageA(list, LVM_GETITEMSTATE, WPARAM(row), LVIS_SELECTED) != 0; }

void Tick(HWND list, int row, bool on) {
    LVITEMA lv = {};
    lv.stateMask = LVIS_STATEIMAGEMASK;
    lv.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&lv));
}

void Select(HWND list, const std::vector<int>& rows) {
    LVITEMA lv = {};
    lv.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&lv));
    lv.state = LVIS_SELECTED;
    for (int r : rows) SendMessageA(list, LVM_SETITEMSTATE, WPARAM(r), LPARAM(&lv));
}

ListColumn Column(HWND list, int index) {
    char buf[64] = "";
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.pszText = buf;
    col.cchTextMax = sizeof buf;
    const bool exists = SendMessageA(list, LVM_GETCOLUMNA, WPARAM(index), LPARAM(&col)) != 0;
    return {exists, buf, col.cx, col.fmt};
}

IDropTarget* DropTargetOf(HWND window) { return static_cast<IDropTarget*>(GetPropA(window, "OleDropTargetInterface")); }

DropEffects DragTo(HWND window, IDataObject* data, POINTL at) {
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

std::string Sites() {
    std::string s;
    for (const SiteEntry& e : saverSettings.sites)
        s += e.title + "|" + e.link + "|" + e.description + "|" + (e.check ? "on" : "off") + "\n";
    return s;
}

std::string SettingsDialogFixture::beeps;

BOOL WINAPI SettingsDialogFixture::RecordBeep(UINT type) {
    beeps += type == MB_OK ? "ok " : type == MB_ICONHAND ? "err " : "? ";
    return TRUE;
}

void SettingsDialogFixture::SetUp() {
    InitFeedEnvironment();
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    appInstance = GetModuleHandleA(nullptr);
    saved_ = saverSettings;
    saverSettings = SaverSettings();
    beeps.clear();
    fetchBeep = RecordBeep;
}

void SettingsDialogFixture::TearDown() {
    if (settings_ && IsWindow(settings_)) DestroyWindow(settings_);
    saverSettings = saved_;
    channelEditRequest = ChannelEditRequest();
    fetchBeep = MessageBeep;
}

HWND SettingsDialogFixture::OpenSettings() {
    settings_ = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, SettingsDialogProc, 0);
    list_ = GetDlgItem(settings_, IDC_CHANNEL_LIST);
    return settings_;
}

void SettingsDialogFixture::CloseSettings() {
    DestroyWindow(settings_);
    settings_ = list_ = nullptr;
}
