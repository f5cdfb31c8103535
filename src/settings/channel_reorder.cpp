#include "settings/channel_reorder.h"

namespace {
// The usable part of a drag selection, as flags per row: in range, each row once.
std::vector<bool> MovedRows(int count, const std::vector<int>& dragSelection) {
    std::vector<bool> moved(count > 0 ? std::size_t(count) : 0, false);
    for (int i : dragSelection)
        if (i >= 0 && i < count) moved[std::size_t(i)] = true;
    return moved;
}

// Appends the moved rows in the order of `dragSelection`, each once, and records
// their new rows as selected.
void AppendMoved(ChannelReorder& r, std::vector<bool> moved, const std::vector<int>& dragSelection) {
    for (int i : dragSelection) {
        if (i < 0 || std::size_t(i) >= moved.size() || !moved[std::size_t(i)]) continue;
        moved[std::size_t(i)] = false;
        r.order.push_back(i);
        r.selected.push_back(int(r.order.size()) - 1);
    }
}

ChannelReorder Unchanged(int count) {
    ChannelReorder r;
    for (int i = 0; i < count; ++i) r.order.push_back(i);
    return r;
}
}  // namespace

ChannelReorder DropAtEnd(int count, const std::vector<int>& dragSelection) {
    const std::vector<bool> moved = MovedRows(count, dragSelection);
    ChannelReorder r;
    for (int i = 0; i < count; ++i)
        if (!moved[std::size_t(i)]) r.order.push_back(i);
    AppendMoved(r, moved, dragSelection);
    r.visibleRow = count - 1;
    return r;
}

ChannelReorder DropOnRow(int count, const std::vector<int>& dragSelection, int dragAnchor, int target) {
    if (target < 0 || target >= count) return Unchanged(count);
    const std::vector<bool> moved = MovedRows(count, dragSelection);
    // The insertion point is an index of the old order: before the target when the
    // drag began at or below it, after it when the drag began above it.
    const int insertAt = target + (dragAnchor < target ? 1 : 0);
    ChannelReorder r;
    for (int i = 0; i < count; ++i) {
        if (i == insertAt) AppendMoved(r, moved, dragSelection);
        if (!moved[std::size_t(i)]) r.order.push_back(i);
    }
    if (insertAt >= count) AppendMoved(r, moved, dragSelection);
    r.selectionMark = target;
    r.visibleRow = target;
    return r;
}

bool IsPermutation(const std::vector<int>& order, std::size_t count) {
    if (order.size() != count) return false;
    std::vector<bool> seen(count, false);
    for (int i : order) {
        if (i < 0 || std::size_t(i) >= count || seen[std::size_t(i)]) return false;
        seen[std::size_t(i)] = true;
    }
    return true;
}

bool ScrollsUp(const DragGeometry& g, int y) { return g.rowHeight > 0 && y < g.windowTop + g.rowHeight; }

// The client height is counted from the top of the window rectangle, so the lower
// zone begins a border's width above the client area's lower edge.
bool ScrollsDown(const DragGeometry& g, int y) { return g.rowHeight > 0 && y >= g.windowTop + g.clientHeight; }

bool TakesDropAtEnd(const DragGeometry& g, int y) {
    return g.rowHeight > 0 && y >= g.windowTop && y < g.windowTop + g.clientHeight + g.rowHeight;
}
