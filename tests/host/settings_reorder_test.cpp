#include "settings/channel_reorder.h"

#include <gtest/gtest.h>

#include <string>

TEST(ChannelReorder, DropsOnARowOrAtTheEndMoveTheDraggedRows) {
    // Six rows s0 to s5; target -1 is the empty area below the rows.
    const std::vector<int> s1s3 = {1, 3}, all = {0, 1, 2, 3, 4, 5};
    const struct {
        std::vector<int> dragged;
        int anchor, target;
        std::vector<int> order, selected;
    } cases[] = {
        {s1s3, 1, 4, {0, 2, 4, 1, 3, 5}, {3, 4}},
        {s1s3, 1, 0, {1, 3, 0, 2, 4, 5}, {0, 1}},
        {s1s3, 1, 5, {0, 2, 4, 5, 1, 3}, {4, 5}},
        {s1s3, 1, 1, {0, 1, 3, 2, 4, 5}, {1, 2}},
        {s1s3, 3, 2, {0, 1, 3, 2, 4, 5}, {1, 2}},  // begun below s2: placed before it
        {s1s3, 1, -1, {0, 2, 4, 5, 1, 3}, {4, 5}},
        {{4}, 4, 1, {0, 4, 1, 2, 3, 5}, {1}},
        {all, 0, 3, all, all},
        {all, 2, -1, all, all},
        {{-1, 3, 3, 9}, 3, 0, {3, 0, 1, 2, 4, 5}, {0}},  // a stale selection loses or doubles nothing
        {s1s3, 1, 6, all, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "anchor " << c.anchor << ", target " << c.target);
        const ChannelReorder r = c.target < 0 ? DropAtEnd(6, c.dragged) : DropOnRow(6, c.dragged, c.anchor, c.target);
        EXPECT_EQ(r.order, c.order);
        EXPECT_EQ(r.selected, c.selected);
        const bool onRow = c.target >= 0 && c.target < 6;
        EXPECT_EQ(r.selectionMark, onRow ? c.target : -1);
        EXPECT_EQ(r.visibleRow, c.target < 0 ? 5 : onRow ? c.target : -1);
    }
    std::vector<int> items = {10, 11, 12};
    EXPECT_TRUE(ApplyOrder(items, {2, 0, 1}));
    EXPECT_FALSE(ApplyOrder(items, {0, 0, 1}));
    EXPECT_EQ(items, (std::vector<int>{12, 10, 11}));
}

TEST(ChannelReorder, ScrollZonesAndTheEndBandAtTheirEdges) {
    const DragGeometry g = {100, 200, 14}, noRows = {100, 200, 0};  // window top, client height, row height
    std::string zones;
    for (int y : {99, 100, 113, 114, 299, 300, 313, 314}) {
        zones += std::string(ScrollsUp(g, y) ? "U" : "") + (ScrollsDown(g, y) ? "D" : "") +
                 (TakesDropAtEnd(g, y) ? "E" : "") + " ";
        EXPECT_FALSE(ScrollsUp(noRows, y) || ScrollsDown(noRows, y) || TakesDropAtEnd(noRows, y));
    }
    EXPECT_EQ(zones, "U UE UE E E DE DE D ");
}
