#include "settings/channel_drag.h"

#include "app/shell_state.h"
#include "config/settings.h"
#include "res/resource.h"
#include "settings/channel_list.h"
#include "settings/channel_reorder.h"

#include <commctrl.h>
#include <windowsx.h>

HWND dragActive = nullptr;
int dragAnchor = 0;
std::vector<int> dragSelection;

namespace {
void SetSingleSelection(HWND list, bool single) {
    const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    SetWindowLongPtrA(list, GWL_STYLE, single ? style | LVS_SINGLESEL : style & ~LONG_PTR(LVS_SINGLESEL));
}

// The cursor in screen coordinates, from a mouse message of the dialog.
POINT ScreenPoint(HWND dialog, LPARAM position) {
    POINT p = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ClientToScreen(dialog, &p);
    return p;
}

struct ListPlace {
    RECT window;
    DragGeometry geometry;
};

ListPlace Measure(HWND list) {
    ListPlace m = {};
    GetWindowRect(list, &m.window);
    RECT client = {};
    GetClientRect(list, &client);
    m.geometry.windowTop = m.window.top;
    m.geometry.clientHeight = client.bottom;
    RECT row = {};
    row.left = LVIR_BOUNDS;
    if (RowCount(list) > 0 && SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)))
        m.geometry.rowHeight = row.bottom - row.top;
    return m;
}

// The row under `p`, or -1. The hit test is made from the top-left corner of the
// list's window rectangle, border included, not from its client area.
int RowAt(HWND list, const RECT& window, POINT p) {
    LVHITTESTINFO hit = {};
    hit.pt = {p.x - window.left, p.y - window.top};
    return int(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void ApplyReorder(HWND list, const ChannelReorder& r) {
    if (!ApplyOrder(saverSettings.sites, r.order)) return;
    // Rewriting the rows in place keeps the selection states set on them.
    RefreshChannelList(list);
    for (int row : r.selected) SetRowSelected(list, row, true);
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, r.selectionMark);
    if (r.visibleRow >= 0) SendMessageA(list, LVM_ENSUREVISIBLE, WPARAM(r.visibleRow), FALSE);
}

// Cleared before the capture is released, so the WM_CAPTURECHANGED that the release
// sends finds no drag to end.
void EndDrag(HWND list) {
    SetSingleSelection(list, false);
    dragActive = nullptr;
}
}  // namespace

void BeginChannelDrag(HWND dialog, int item) {
    HWND list = ChannelList(dialog);
    dragAnchor = item;
    dragSelection = SelectedRows(list);
    SetFocus(list);
    SetRowState(list, -1, LVIS_FOCUSED, 0);
    SetSingleSelection(list, true);
    SetCursor(LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_DRAG_CURSOR)));
    SetCapture(dialog);
    dragActive = dialog;
}

// No timer: the list scrolls one row per mouse message while the cursor is in a zone.
void MoveChannelDrag(HWND dialog, LPARAM position) {
    if (!dragActive) return;
    HWND list = ChannelList(dialog);
    const POINT p = ScreenPoint(dialog, position);
    const ListPlace place = Measure(list);
    const int h = place.geometry.rowHeight;
    if (ScrollsUp(place.geometry, p.y)) SendMessageA(list, LVM_SCROLL, 0, -h);
    if (ScrollsDown(place.geometry, p.y)) SendMessageA(list, LVM_SCROLL, 0, h);
    // In single selection, selecting the row under the cursor deselects the last one.
    const int row = RowAt(list, place.window, p);
    if (row >= 0) SetRowSelected(list, row, true);
}

void DropChannelDrag(HWND dialog, LPARAM position) {
    if (GetCapture() != dialog) return;
    HWND list = ChannelList(dialog);
    const POINT p = ScreenPoint(dialog, position);
    const ListPlace place = Measure(list);
    const int target = RowAt(list, place.window, p);
    SetSingleSelection(list, false);
    // The moved entries take their check states with them.
    ReadChannelChecks(list);
    const int n = int(saverSettings.sites.size());
    if (target >= 0) {
        SetRowSelected(list, target, false);  // it carries the drop marker
        ApplyReorder(list, DropOnRow(n, dragSelection, dragAnchor, target));
    } else if (TakesDropAtEnd(place.geometry, p.y)) {
        for (int i = 0; i < n; ++i) SetRowSelected(list, i, false);
        ApplyReorder(list, DropAtEnd(n, dragSelection));
    }
    EndDrag(list);
    ReleaseCapture();
}

void CancelChannelDrag(HWND dialog) {
    if (!dragActive) return;
    EndDrag(ChannelList(dialog));
    ReleaseCapture();
}

// Another window took the capture without the list losing the focus first: the drag
// ends as a cancel, so the list is not left in single selection. The capture is not
// released here; it belongs to the new owner now.
void ChannelDragLostCapture(HWND dialog, HWND newOwner) {
    if (!dragActive || newOwner == dialog) return;
    EndDrag(ChannelList(dialog));
}
