#include "settings/settings_dialog.h"

#include "common/window_dpi.h"
#include "config/settings.h"
#include "editor/drop_target.h"
#include "editor/link_control.h"
#include "res/resource.h"
#include "settings/channel_commands.h"
#include "settings/channel_drag.h"
#include "settings/channel_keys.h"
#include "settings/channel_list.h"
#include "settings/font_list.h"
#include "settings/interval_text.h"
#include "version.h"

#include <commctrl.h>
#include <shellapi.h>

const char kSettingsCaption[] = "KVT v" KVT_PRODUCT_VERSION " 設定";

namespace {
// The format of the data being dragged, as reported by the last DROP_ENTER;
// DragOver brings no data object, so it is remembered for the DROP_OVERs after it.
UINT dropFormat = 0;

const DWORD kChannelListStyles =
    LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;

void CentreOnDesktop(HWND dialog) {
    RECT own, desktop;
    GetWindowRect(dialog, &own);
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int w = own.right - own.left;
    const int h = own.bottom - own.top;
    SetWindowPos(dialog, nullptr, (desktop.right - w) / 2, (desktop.bottom - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void SetSpinRange(HWND dialog, int spin, IntervalRange range) {
    SendDlgItemMessageA(dialog, spin, UDM_SETRANGE32, WPARAM(range.least), LPARAM(range.most));
}

void ShowOptions(HWND dialog) {
    const SaverSettings& s = saverSettings;
    SetDlgItemInt(dialog, IDC_DISP_INTERVAL, UINT(s.disp_interval), FALSE);
    SetDlgItemInt(dialog, IDC_LOAD_INTERVAL, UINT(s.load_interval), FALSE);
    if (s.disp_header_title) CheckDlgButton(dialog, IDC_HEADER_TITLE, BST_CHECKED);
    if (s.disp_header_date) CheckDlgButton(dialog, IDC_HEADER_DATE, BST_CHECKED);
    // The ranges bound the arrows only; a shown value outside them stays as it is.
    SetSpinRange(dialog, IDC_DISP_INTERVAL_SPIN, kDispIntervalRange);
    SetSpinRange(dialog, IDC_LOAD_INTERVAL_SPIN, kLoadIntervalRange);
}

void SetUpChannelList(HWND dialog) {
    HWND list = ChannelList(dialog);
    DWORD styles = DWORD(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(styles | kChannelListStyles));
    InitChannelColumns(list);
    FillChannelList(list);
}

BOOL OnInitDialog(HWND dialog) {
    SetWindowTextA(dialog, kSettingsCaption);
    CentreOnDesktop(dialog);
    FillFontList(GetDlgItem(dialog, IDC_FONT), saverSettings.font_face);
    ShowOptions(dialog);
    SetUpChannelList(dialog);
    if (!RegisterDialogDropTarget(dialog)) return FALSE;  // ended: nothing more is set up or focused
    InstallLinkControl(GetDlgItem(dialog, IDC_LINK));
    return TRUE;
}

void OpenMakerAddress(HWND dialog) {
    // The label shows the address it opens.
    char address[256] = "";
    GetDlgItemTextA(dialog, IDC_LINK, address, sizeof address);
    ShellExecuteA(dialog, nullptr, address, nullptr, nullptr, SW_SHOWNORMAL);
}

BOOL OnCommand(HWND dialog, WORD id, WORD code) {
    switch (id) {
    case IDOK: EndDialog(dialog, 1); break;
    case IDCANCEL: EndDialog(dialog, 0); break;
    case IDC_LINK:
        if (code == STN_CLICKED) OpenMakerAddress(dialog);
        break;
    default: RunChannelCommand(dialog, id); break;
    }
    return FALSE;
}

BOOL OnNotify(HWND dialog, const NMHDR* header) {
    if (!header || header->idFrom != IDC_CHANNEL_LIST) return FALSE;
    HWND list = header->hwndFrom;
    const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(header);
    switch (header->code) {
    case NM_RCLICK: ShowChannelMenu(dialog, click->ptAction); break;
    case NM_CLICK: NoteChannelClick(list, click); break;
    case NM_DBLCLK: OpenDoubleClickedChannel(dialog, list, click); break;
    case LVN_BEGINDRAG: BeginChannelDrag(dialog, reinterpret_cast<const NMLISTVIEW*>(header)->iItem); break;
    case NM_KILLFOCUS: CancelChannelDrag(dialog); break;
    case LVN_KEYDOWN: RunChannelKey(dialog, reinterpret_cast<const NMLVKEYDOWN*>(header)); break;
    }
    return FALSE;
}

// Drops are offered as copy or link over the channel list itself, and only for
// the formats it can take.
BOOL OnDropNotify(HWND dialog, WPARAM phase, DropInfo* info) {
    if (!info) return FALSE;
    switch (phase) {
    case DROP_ENTER:
    case DROP_OVER: OfferDrop(phase, *info, dropFormat, ChannelList(dialog)); break;
    case DROP_LEAVE: break;
    case DROP_DROP: AddDroppedChannels(dialog, *info); break;
    }
    return FALSE;
}

// Moved to a monitor of another scaling: the columns are scaled here; the dialog's
// own handling resizes it and its controls and makes its font anew, which the link
// then follows.
BOOL OnDpiChanged(HWND dialog, UINT dpi) {
    RescaleChannelColumns(ChannelList(dialog), dpi);
    PostMessageA(dialog, WM_FOLLOW_DIALOG_FONT, 0, 0);
    return FALSE;
}

void FollowDialogFont(HWND dialog) {
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (dialogFont) SetLinkFont(GetDlgItem(dialog, IDC_LINK), dialogFont);
}

int TypedInterval(HWND dialog, int id) {
    char text[64] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return IntervalFromText(text);
}

// Runs whatever ended the dialog: the caller decides whether the result is saved.
BOOL OnDestroy(HWND dialog) {
    SaverSettings& s = saverSettings;
    ReadChannelChecks(ChannelList(dialog));
    RevokeDropTarget(dialog);
    ReadSelectedFont(GetDlgItem(dialog, IDC_FONT), s.font_face);
    s.disp_interval = TypedInterval(dialog, IDC_DISP_INTERVAL);
    s.load_interval = TypedInterval(dialog, IDC_LOAD_INTERVAL);
    s.disp_header_title = IsDlgButtonChecked(dialog, IDC_HEADER_TITLE) == BST_CHECKED;
    s.disp_header_date = IsDlgButtonChecked(dialog, IDC_HEADER_DATE) == BST_CHECKED;
    return FALSE;
}
}  // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: return OnNotify(dialog, reinterpret_cast<const NMHDR*>(lParam));
    case WM_CONTEXTMENU: return ShowChannelMenuForKeys(dialog, reinterpret_cast<HWND>(wParam), lParam);
    case WM_DROPNOTIFY: return OnDropNotify(dialog, wParam, reinterpret_cast<DropInfo*>(lParam));
    case WM_MOUSEMOVE: MoveChannelDrag(dialog, lParam); return FALSE;
    case WM_LBUTTONUP: DropChannelDrag(dialog, lParam); return FALSE;
    case WM_CAPTURECHANGED: ChannelDragLostCapture(dialog, reinterpret_cast<HWND>(lParam)); return FALSE;
    case WM_DPICHANGED: return OnDpiChanged(dialog, LOWORD(wParam));
    case WM_FOLLOW_DIALOG_FONT: FollowDialogFont(dialog); return FALSE;
    case WM_DESTROY: return OnDestroy(dialog);
    }
    return FALSE;
}
