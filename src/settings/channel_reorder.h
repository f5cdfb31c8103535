#pragma once
// The new order of the channel list after rows were dragged, and the geometry rules
// of the drag (scroll zones, the band below the rows that takes a drop at the end).
// Platform-neutral: the dialog measures the list and applies the result.
#include <cstddef>
#include <vector>

// What a drop does to a list of `count` rows.
struct ChannelReorder {
    std::vector<int> order;     // order[new index] = old index; a permutation of 0..count-1
    std::vector<int> selected;  // the new rows of the moved entries, to be selected
    int selectionMark = -1;     // the list's selection mark afterwards (-1 for none)
    int visibleRow = -1;        // the row scrolled fully into view (-1 for none)
};

// The rows of `dragSelection` (ascending) moved below all others, in their order.
ChannelReorder DropAtEnd(int count, const std::vector<int>& dragSelection);
// The rows of `dragSelection` placed before row `target`, or after it when the drag
// began above it (`dragAnchor` < `target`). A target outside the rows moves nothing.
ChannelReorder DropOnRow(int count, const std::vector<int>& dragSelection, int dragAnchor, int target);
// In both, indices outside 0..count-1 and repeated indices of `dragSelection` are
// ignored, so every entry appears exactly once in the new order.

// True when `order` holds each of 0..count-1 exactly once.
bool IsPermutation(const std::vector<int>& order, std::size_t count);

// Rearranges `items` by `order` (as from the functions above). Does nothing and
// returns false unless `order` is a permutation of the indices of `items`.
template <class T>
bool ApplyOrder(std::vector<T>& items, const std::vector<int>& order) {
    if (!IsPermutation(order, items.size())) return false;
    std::vector<T> out;
    out.reserve(order.size());
    for (int i : order) out.push_back(std::move(items[std::size_t(i)]));
    items = std::move(out);
    return true;
}

// The list's vertical extent while dragging, in screen pixels: the top of its window
// rectangle, the height of its client area and the height of one row (0 when the
// list has no rows).
struct DragGeometry {
    int windowTop = 0;
    int clientHeight = 0;
    int rowHeight = 0;
};

// Whether a mouse move at screen height `y` scrolls the list up or down by one row.
bool ScrollsUp(const DragGeometry& g, int y);
bool ScrollsDown(const DragGeometry& g, int y);
// Whether a drop at height `y` that hits no row lands at the end of the list: from the
// top of the list to one row height below its client area, and only when it has rows.
bool TakesDropAtEnd(const DragGeometry& g, int y);
