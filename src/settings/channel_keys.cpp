#include "settings/channel_keys.h"

#include "res/resource.h"
#include "settings/channel_commands.h"
#include "settings/channel_drag.h"
#include "settings/channel_list.h"

#include <windowsx.h>

#include <algorithm>

namespace {
bool KeyDown(int key) { return GetKeyState(key) < 0; }

// In list client coordinates: below the text of the focused row, else of the first
// selected one, else the list's top-left corner; always inside the list, so a row
// scrolled out of view does not send the menu elsewhere.
POINT MenuPlace(HWND list) {
    RECT client = {};
    GetClientRect(list, &client);
    int row = int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    if (row < 0) {
        const std::vector<int> selected = SelectedRows(list);
        if (!selected.empty()) row = selected.front();
    }
    RECT text = {};
    text.left = LVIR_LABEL;
    if (row < 0 || !SendMessageA(list, LVM_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&text)))
        return {client.left, client.top};
    const LONG right = std::max(client.left, client.right - 1), bottom = std::max(client.top, client.bottom - 1);
    return {std::clamp(text.left, client.left, right), std::clamp(text.bottom, client.top, bottom)};
}
}  // namespace

// While rows are dragged, the one selected row only marks where they would land:
// neither the menu nor the keys act then.
bool ShowChannelMenuForKeys(HWND dialog, HWND window, LPARAM position) {
    HWND list = ChannelList(dialog);
    // The keyboard sends no position: both coordinates are -1.
    if (window != list || GET_X_LPARAM(position) != -1 || GET_Y_LPARAM(position) != -1) return false;
    if (!dragActive) ShowChannelMenu(dialog, MenuPlace(list));
    return true;
}

void RunChannelKey(HWND dialog, const NMLVKEYDOWN* key) {
    if (dragActive) return;
    // AltGr comes as Ctrl+Alt: Ctrl+A alone selects all.
    if (key->wVKey == VK_DELETE && !KeyDown(VK_CONTROL) && !KeyDown(VK_MENU))
        RunChannelCommand(dialog, ID_CHANNEL_DELETE);
    else if (key->wVKey == 'A' && KeyDown(VK_CONTROL) && !KeyDown(VK_MENU))
        RunChannelCommand(dialog, ID_SELECT_ALL);
}
