// Dragging rows of the real settings dialog's channel list, in-process: the begin
// notification and the mouse messages are sent as the list and the capture deliver them.
#include "app/shell_state.h"
#include "config/settings.h"
#include "res/resource.h"
#include "saver_process.h"
#include "settings/channel_drag.h"
#include "settings/settings_dialog.h"

#include <commctrl.h>
#include <ole2.h>
#include <gtest/gtest.h>

#include <string>

namespace {
class ChannelDrag : public ::testing::Test {
protected:
    void SetUp() override {
        OleInitialize(nullptr);
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&icc);
        appInstance = GetModuleHandleA(nullptr);
        saved_ = saverSettings;
    }
    void TearDown() override {
        DestroyWindow(dialog_);
        saverSettings = saved_;
        OleUninitialize();
    }
    // The dialog on channels s0, s1, ... with s1 disabled and s3's box just unchecked
    // by the user, dragging from row `anchor` with the rows `selected` selected.
    void BeginDrag(int channels, const std::vector<int>& selected, int anchor) {
        DestroyWindow(dialog_);
        saverSettings.sites.clear();
        for (int i = 0; i < channels; ++i) saverSettings.sites.push_back({"s" + std::to_string(i), "", "", i != 1, {}});
        dialog_ = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, SettingsDialogProc, 0);
        list_ = GetDlgItem(dialog_, IDC_CHANNEL_LIST);
        LVITEMA lv = {};
        lv.stateMask = LVIS_STATEIMAGEMASK;
        lv.state = INDEXTOSTATEIMAGEMASK(1);
        SendMessageA(list_, LVM_SETITEMSTATE, 3, LPARAM(&lv));
        lv.stateMask = lv.state = LVIS_SELECTED;
        for (int row : selected) SendMessageA(list_, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&lv));
        NMLISTVIEW nm = {{list_, IDC_CHANNEL_LIST, LVN_BEGINDRAG}, anchor, 0, 0, 0, 0, {}, 0};
        SendMessageA(dialog_, WM_NOTIFY, IDC_CHANNEL_LIST, LPARAM(&nm));
    }
    // A mouse message of the dialog at height `y` of the list's client area.
    void Mouse(UINT message, int y) {
        POINT p = {60, y};
        MapWindowPoints(list_, dialog_, &p, 1);
        SendMessageA(dialog_, message, 0, MAKELPARAM(p.x, p.y));
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
        for (size_t i = 0; i < saverSettings.sites.size(); ++i) {
            const LRESULT state = SendMessageA(list_, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK | LVIS_SELECTED);
            s += (i ? " " : "") + saverSettings.sites[i].title + (state >> 12 == 1 ? "-" : "") +
                 (state & LVIS_SELECTED ? "*" : "");
        }
        return s;
    }
    bool SingleSelection() const { return GetWindowLongPtrA(list_, GWL_STYLE) & LVS_SINGLESEL; }

    SaverSettings saved_;
    HWND dialog_ = nullptr, list_ = nullptr;
};
}  // namespace

TEST_F(ChannelDrag, EveryEndingGivesTheOrderAndSelectionAndLeavesMultipleSelection) {
    enum Ending { Drop, FocusLost, CaptureTaken };
    const struct {
        Ending ending;
        int row;  // where the cursor goes and the button is let go
        const char* rows;
    } cases[] = {
        {Drop, 4, "s0 s2 s4 s1-* s3-* s5"},
        {Drop, 6, "s0 s2 s4 s5 s1-* s3-*"},   // below s5
        {Drop, 40, "s0 s1-* s2 s3-* s4 s5"},  // far below the list
        {Drop, -3, "s0 s1-* s2 s3-* s4 s5"},  // above it
        {FocusLost, 4, "s0 s1- s2 s3- s4* s5"},
        {CaptureTaken, 4, "s0 s1- s2 s3- s4* s5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "ending " << c.ending << " at row " << c.row);
        BeginDrag(6, {1, 3}, 1);
        ASSERT_EQ(GetCapture(), dialog_);
        Mouse(WM_MOUSEMOVE, RowMiddle(c.row));
        EXPECT_TRUE(SingleSelection());
        EXPECT_TRUE(c.row != 4 || Rows() == "s0 s1- s2 s3- s4* s5") << "the marker follows the cursor";
        if (c.ending == FocusLost) SetFocus(GetDlgItem(dialog_, IDOK));
        if (c.ending == CaptureTaken) SetCapture(GetDlgItem(dialog_, IDOK));
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
