#include "settings/channel_commands.h"

#include "app/open_link.h"
#include "app/shell_state.h"
#include "common/user_holders.h"
#include "config/settings.h"
#include "editor/add_channel.h"
#include "editor/channel_adding.h"
#include "editor/channel_edit_request.h"
#include "editor/channel_editor.h"
#include "editor/drop_data.h"
#include "res/resource.h"
#include "settings/channel_list.h"

int lastClickState = -1;

namespace {
// The count is read again before each step, as the list view's own handling may change it.
void SelectAll(HWND list) {
    for (int i = 0; i < RowCount(list); ++i) SetRowSelected(list, i, true);
}

void InvertSelection(HWND list) {
    for (int i = 0; i < RowCount(list); ++i) SetRowSelected(list, i, !IsRowSelected(list, i));
}

void CheckSelected(HWND list, bool check) {
    for (int row : SelectedRows(list)) SetRowCheck(list, row, check);
}

void DeleteSelected(HWND list) {
    const std::vector<int> rows = SelectedRows(list);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) SendMessageA(list, LVM_DELETEITEM, WPARAM(*row), 0);
    DeleteSites(saverSettings.sites, std::vector<std::size_t>(rows.begin(), rows.end()));
    // The row that took the place of the first deleted one keeps the keyboard's place;
    // none stays selected.
    const int count = RowCount(list);
    if (!rows.empty() && count > 0)
        SetRowState(list, rows.front() < count ? rows.front() : count - 1, LVIS_FOCUSED, LVIS_FOCUSED);
}

// Edit takes the first selected row; without one it is the same as a new channel.
void OpenChannelEditor(HWND dialog, bool edit) {
    HWND list = ChannelList(dialog);
    ChannelEditRequest& request = channelEditRequest;
    request = ChannelEditRequest();
    request.channel_list = list;
    const std::vector<int> rows = SelectedRows(list);
    if (edit && !rows.empty() && std::size_t(rows.front()) < saverSettings.sites.size()) {
        const SiteEntry& site = saverSettings.sites[std::size_t(rows.front())];
        request.is_edit = true;
        request.url = site.link;
        request.title = site.title;
        request.description = site.description;
    }
    // On OK the editor itself has added the channel to the list.
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_CHANNEL_EDITOR), dialog, ChannelEditorProc, 0);
}
}  // namespace

void ShowChannelMenu(HWND dialog, POINT at) {
    HWND list = ChannelList(dialog);
    ClientToScreen(list, &at);
    const Menu menu(LoadMenuA(appInstance, MAKEINTRESOURCEA(IDR_CHANNEL_MENU)));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu.Get(), 0);
    if (SelectedRows(list).empty()) {
        for (UINT id : {ID_CHANNEL_ENABLE, ID_CHANNEL_DISABLE, ID_CHANNEL_EDIT, ID_CHANNEL_DELETE})
            EnableMenuItem(popup, id, MF_BYCOMMAND | MF_GRAYED);
    }
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, dialog, nullptr);
}

bool RunChannelCommand(HWND dialog, WORD id) {
    HWND list = ChannelList(dialog);
    switch (id) {
    case ID_SELECT_ALL: SelectAll(list); return true;
    case ID_SELECT_INVERT: InvertSelection(list); return true;
    case ID_CHANNEL_ENABLE: CheckSelected(list, true); return true;
    case ID_CHANNEL_DISABLE: CheckSelected(list, false); return true;
    case ID_CHANNEL_NEW: OpenChannelEditor(dialog, false); return true;
    case ID_CHANNEL_EDIT: OpenChannelEditor(dialog, true); return true;
    case ID_CHANNEL_DELETE: DeleteSelected(list); return true;
    }
    return false;
}

void NoteChannelClick(HWND list, const NMITEMACTIVATE* click) { lastClickState = RowCheckState(list, click->iItem); }

// A double-click whose clicks toggled the check box leaves the row's state changed
// since the click; only a double-click on the row's text opens the channel. The
// link may come from someone else's site list, so only a web address is opened.
void OpenDoubleClickedChannel(HWND dialog, HWND list, const NMITEMACTIVATE* click) {
    const int row = click->iItem;
    if (row < 0 || std::size_t(row) >= saverSettings.sites.size()) return;
    if (RowCheckState(list, row) != lastClickState) return;
    OpenWebLink(dialog, saverSettings.sites[std::size_t(row)].link.c_str());
}

void AddDroppedChannels(HWND dialog, const DropInfo& drop) {
    if (!IsDialogDropFormat(drop.format)) return;
    HWND list = ChannelList(dialog);
    SetForegroundWindow(dialog);
    UpdateWindow(dialog);
    if (drop.format == CF_TEXT) {
        std::string url;
        if (DroppedText(drop.data, &url)) AddChannelByUrl(list, url.c_str());
        return;
    }
    for (const std::string& file : DroppedFiles(drop.data)) AddChannelByUrl(list, file.c_str());
}
