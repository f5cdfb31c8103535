#include "editor/channel_editor.h"

#include "app/open_link.h"
#include "common/window_dpi.h"
#include "editor/add_channel.h"
#include "editor/channel_edit_request.h"
#include "editor/drop_data.h"
#include "editor/drop_text.h"
#include "editor/drop_target.h"
#include "editor/fetch_test.h"
#include "editor/url_field.h"
#include "res/resource.h"

#include <commctrl.h>

UINT editorDropFormat = 0;

namespace {
const DWORD kContentStyles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
// The DPI the content list's column is at now.
UINT contentColumnDpi = 96;

void ShowRequest(HWND dialog) {
    const ChannelEditRequest& r = channelEditRequest;
    SetDlgItemTextA(dialog, IDC_EDITOR_URL, r.url.c_str());
    SetDlgItemTextA(dialog, IDC_EDITOR_CHANNEL_NAME, r.title.c_str());
    SetDlgItemTextA(dialog, IDC_EDITOR_DESCRIPTION, r.description.c_str());
    SetDlgItemTextA(dialog, IDOK, r.is_edit ? "OK" : "新規登録");
    SetWindowTextA(dialog, r.is_edit ? "ＵＲＬ編集" : "新規ＵＲＬ");
}

// One column, "項目", across the whole list: a row is one item's title. The list's
// size is in dialog units, so the column is already as wide as the DPI asks.
void SetUpContentList(HWND list) {
    contentColumnDpi = WindowDpi(list);
    DWORD styles = DWORD(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(styles | kContentStyles));
    RECT client = {};
    GetClientRect(list, &client);
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = client.right - client.left;
    column.pszText = const_cast<char*>("項目");
    column.iSubItem = 0;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
}

BOOL OnInitDialog(HWND dialog) {
    ShowRequest(dialog);
    SetUpContentList(GetDlgItem(dialog, IDC_EDITOR_CONTENT));
    // TRUE: the focus goes to the first tab stop, the URL field; a dialog that ended takes none.
    return RegisterDialogDropTarget(dialog) ? TRUE : FALSE;
}

// Adds whatever the field holds, the empty text included; the editor stays on
// screen until the settings dialog's list shows the result.
void AddAndClose(HWND dialog) {
    const std::string url = ReadUrlField(dialog);
    channelEditRequest.url = url;
    AddChannelByUrl(channelEditRequest.channel_list, url.c_str());
    EndDialog(dialog, 1);
}

BOOL OnCommand(HWND dialog, WORD id) {
    switch (id) {
    case IDOK: AddAndClose(dialog); break;
    case IDCANCEL: EndDialog(dialog, 0); break;
    case IDC_EDITOR_FETCH_TEST: RunFetchTest(dialog); break;
    }
    return FALSE;
}

// A row's link comes from whoever publishes the feed: only a plain web address
// reaches the shell.
void OpenItem(HWND dialog, int row) {
    if (row < 0 || size_t(row) >= lastTestContent.items.size()) return;
    OpenWebLink(dialog, lastTestContent.items[size_t(row)].link.c_str());
}

BOOL OnNotify(HWND dialog, const NMHDR* header) {
    if (header && header->idFrom == IDC_EDITOR_CONTENT && header->code == NM_DBLCLK)
        OpenItem(dialog, reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
    return FALSE;
}

bool OverUrlField(HWND dialog, const POINTL* point) {
    if (!point) return false;
    return WindowFromPoint(POINT{point->x, point->y}) == GetDlgItem(dialog, IDC_EDITOR_URL);
}

// A drop only fills the URL field; it neither fetches nor adds anything.
void TakeDrop(HWND dialog, const DropInfo& info) {
    if (!IsDialogDropFormat(info.format)) return;
    if (!OverUrlField(dialog, info.point)) return;
    SetForegroundWindow(dialog);
    UpdateWindow(dialog);
    std::string url;
    if (info.format == CF_TEXT) {
        if (!DroppedText(info.data, &url, kUrlFieldLimit)) return;
    } else {
        const std::vector<std::string> files = DroppedFiles(info.data);
        if (files.empty()) return;
        url = files.front();
    }
    SetDlgItemTextA(dialog, IDC_EDITOR_URL, url.c_str());
}

// Text and files are offered as copy or link over the URL field, and refused
// everywhere else in the dialog.
BOOL OnDropNotify(HWND dialog, WPARAM phase, DropInfo* info) {
    if (!info) return FALSE;
    switch (phase) {
    case DROP_ENTER:
    case DROP_OVER: OfferDrop(phase, *info, editorDropFormat, GetDlgItem(dialog, IDC_EDITOR_URL)); break;
    case DROP_DROP: TakeDrop(dialog, *info); break;
    }
    return FALSE;
}

// Moved to a monitor of another scaling: the column follows the list's new width.
BOOL OnDpiChanged(HWND dialog, UINT dpi) {
    ScaleListColumns(GetDlgItem(dialog, IDC_EDITOR_CONTENT), contentColumnDpi, dpi);
    contentColumnDpi = dpi;
    return FALSE;  // the dialog's own handling resizes it and its controls
}

BOOL OnDestroy(HWND dialog) {
    RevokeDropTarget(dialog);
    return FALSE;
}
}  // namespace

INT_PTR CALLBACK ChannelEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_NOTIFY: return OnNotify(dialog, reinterpret_cast<const NMHDR*>(lParam));
    case WM_DROPNOTIFY: return OnDropNotify(dialog, wParam, reinterpret_cast<DropInfo*>(lParam));
    case WM_DPICHANGED: return OnDpiChanged(dialog, LOWORD(wParam));
    case WM_DESTROY: return OnDestroy(dialog);
    }
    return FALSE;
}
