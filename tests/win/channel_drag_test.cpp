// Dragging rows of the real settings dialog's channel list, in-process: the begin
// notification and the mouse messages are sent as the list and the capture deliver them.
#include "settings/channel_drag.h"
#include "settings_dialog_fixture.h"

#include <string>

namespace {
class ChannelDrag : public SettingsDialogFixture {
protected:
    // The dialog on channels s0, s1, ... with s1 disabled and s3's box just unchecked
    // by the user, dragging from row `anchor` with the rows `selected` selected.
    void BeginDrag(int channels, const std::vector<int>& selected, int anchor) {
        CloseSettings();
        saverSettings.sites.clear();
        for (int i = 0; i < channels; ++i) saverSettings.sites.push_back({"s" + std::to_string(i), "", "", i != 1, {}});
        OpenSettings();
        Tick(list_, 3, false);
        Select(list_, selected);
        NMLISTVIEW nm = {{list_, IDC_CHANNEL_LIST, LVN_BEGINDRAG}, anchor, 0, 0, 0, 0, {}, 0};
        SendMessageA(settings_, WM_NOTIFY, IDC_CHANNEL_LIST, LPARAM(&nm));
    }
    // A mouse message of the dialog at height `y` of the list's client area.
    void Mouse(UINT message, int y) {
        POINT p = {60, y};
        MapWindowPoints(list_, settings_, &p, 1);
        SendMessageA(settings_, message, 0, MAKELPARAM(p.x, p.y));
    }
    // The middle of row `row`, where it is or would be.
    int RowMiddle(int row) const {
        RECT r = {LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(list_, LVM_GETITEMRECT, 0, LPARAM(&r));
        return r.top + (r.bottom - r.top) * row + (r.bottom - r.top) / 2;
    }
    // The channels in order, "-" marking a row whose box is unchecked, "*" a selected row.
    std::string Rows() const {
        std::string s;
        for (size_t i = 0; i < saverSettings.sites.size(); ++i)
            s += (i ? " " : "") + saverSettings.sites[i].title + (CheckState(list_, int(i)) == 1 ? "-" : "") +
                 (Selected(list_, int(i)) ? "*" : "");
        return s;
    }
    bool SingleSelection() const { return GetWindowLongPtrA(list_, GWL_STYLE) & LVS_SINGLESEL; }
};
}  // namespace

TEST_F(ChannelDrag, EveryEndingGivesTheOrderAndSelectionAndLeavesMultipleSelection) {
    enum Ending { Drop, FocusLost, CaptureTaken };
    const struct {
        Ending ending;
        int row;  // where the cursor goes and the button is let go
        const char* rows;
    } cases[] = {
        {Drop, 4, "s0 s2 s4 s1-* s3-* s5"},     {Drop, 6, "s0 s2 s4 s5 s1-* s3-*"},  // below s5
        {Drop, 40, "s0 s1-* s2 s3-* s4 s5"},                                         // far below the list
        {Drop, -3, "s0 s1-* s2 s3-* s4 s5"},                                         // above it
        {FocusLost, 4, "s0 s1- s2 s3- s4* s5"}, {CaptureTaken, 4, "s0 s1- s2 s3- s4* s5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "ending " << c.ending << " at row " << c.row);
        BeginDrag(6, {1, 3}, 1);
        ASSERT_EQ(GetCapture(), settings_);
        Mouse(WM_MOUSEMOVE, RowMiddle(c.row));
        EXPECT_TRUE(SingleSelection());
        EXPECT_TRUE(c.row != 4 || Rows() == "s0 s1- s2 s3- s4* s5") << "the marker follows the cursor";
        if (c.ending == FocusLost) SetFocus(GetDlgItem(settings_, IDOK));
        if (c.ending == CaptureTaken) SetCapture(GetDlgItem(settings_, IDOK));
        Mouse(WM_LBUTTONUP, RowMiddle(c.row));  // without the capture it drops nothing
        ReleaseCapture();
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_FALSE(SingleSelection());
        EXPECT_EQ(dragActive, nullptr);
    }
}

TEST_F(ChannelDrag, EachMoveInAScrollZoneScrollsOneRow) {
    BeginDrag(40, {0}, 0);
    RECT client;
    GetClientRect(list_, &client);
    std::vector<LRESULT> tops;
    for (int y : {int(client.bottom) + 1, int(client.bottom) + 1, int(client.bottom) + 1, -1, 1}) {
        Mouse(WM_MOUSEMOVE, y);
        PumpFor(100);  // holding still scrolls nothing more
        tops.push_back(SendMessageA(list_, LVM_GETTOPINDEX, 0, 0));
    }
    EXPECT_EQ(tops, (std::vector<LRESULT>{1, 2, 3, 2, 1}));
}
