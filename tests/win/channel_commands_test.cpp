// The channel list's popup menu, commands, double-click and drops, on the real
// settings dialog with the real drop target.
#include "app/shell_state.h"
#include "config/settings.h"
#include "editor/fetch_beep.h"
#include "feed_server.h"
#include "link_recorder.h"
#include "list_view_text.h"
#include "res/resource.h"
#include "saver_process.h"
#include "settings/settings_dialog.h"
#include "test_data_object.h"
#include "test_paths.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::string beeps;
BOOL WINAPI RecordBeep(UINT type) {
    beeps += type == MB_OK ? "ok " : type == MB_ICONHAND ? "err " : "? ";
    return TRUE;
}

// Each row as "title|link" with + for a ticked box and - for a clear one, and * when selected.
std::string Rows(HWND list) {
    std::string out;
    const int n = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        const LRESULT state = SendMessageA(list, LVM_GETITEMSTATE, WPARAM(i), LVIS_STATEIMAGEMASK | LVIS_SELECTED);
        out += (i ? " " : "") + ListCell(list, i, 0) + "|" + ListCell(list, i, 1) + ((state >> 12) == 2 ? "+" : "-") +
               (state & LVIS_SELECTED ? "*" : "");
    }
    return out;
}

class ChannelCommands : public ::testing::Test {
protected:
    void SetUp() override {
        InitFeedEnvironment();
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        appInstance = GetModuleHandleA(nullptr);
        saved_ = saverSettings;
        saverSettings = SaverSettings();
        beeps.clear();
        fetchBeep = RecordBeep;
    }
    void TearDown() override {
        if (dialog_ && IsWindow(dialog_)) DestroyWindow(dialog_);
        saverSettings = saved_;
        fetchBeep = MessageBeep;
    }
    // Opens the dialog on these sites ("a" gives title "a" and link "http://127.0.0.1/a").
    HWND Open(const std::vector<SiteEntry>& sites) {
        saverSettings.sites = sites;
        dialog_ = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, SettingsDialogProc, 0);
        list_ = GetDlgItem(dialog_, IDC_CHANNEL_LIST);
        return dialog_;
    }
    void Close() {
        DestroyWindow(dialog_);
        dialog_ = nullptr;
    }
    void Command(WORD id) { SendMessageA(dialog_, WM_COMMAND, id, 0); }
    void Select(std::vector<int> rows) {
        LVITEMA lv = {};
        lv.stateMask = LVIS_SELECTED;
        SendMessageA(list_, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&lv));
        lv.state = LVIS_SELECTED;
        for (int r : rows) SendMessageA(list_, LVM_SETITEMSTATE, WPARAM(r), LPARAM(&lv));
    }
    void Tick(int row, bool on) {
        LVITEMA lv = {};
        lv.stateMask = LVIS_STATEIMAGEMASK;
        lv.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
        SendMessageA(list_, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&lv));
    }
    void Notify(UINT code, int row, POINT at = {5, 5}) {
        NMITEMACTIVATE n = {};
        n.hdr.hwndFrom = list_;
        n.hdr.idFrom = IDC_CHANNEL_LIST;
        n.hdr.code = code;
        n.iItem = row;
        n.ptAction = at;
        SendMessageA(dialog_, WM_NOTIFY, IDC_CHANNEL_LIST, LPARAM(&n));
    }
    // Drags `data` onto the middle of the list through the dialog's registered drop target.
    DWORD Drop(IDataObject* data) {
        auto* target = static_cast<IDropTarget*>(GetPropA(dialog_, "OleDropTargetInterface"));
        EXPECT_TRUE(target);
        if (!target) return 0;
        RECT r;
        GetWindowRect(list_, &r);
        POINTL at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
        target->DragEnter(data, 0, at, &effect);
        target->DragOver(0, at, &effect);
        target->Drop(data, 0, at, &effect);
        return effect;
    }

    static SiteEntry Site(const std::string& name, bool check = false, const std::string& link = std::string()) {
        return {name, link.empty() ? "http://127.0.0.1/" + name : link, "", check, {}};
    }

    SaverSettings saved_;
    HWND dialog_ = nullptr;
    HWND list_ = nullptr;
};

// What the popup showed: each item's text with (g) when grayed; read while it is open.
std::string menuSeen;
POINT menuAt;
void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    menuSeen.clear();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, UINT(i), MF_BYPOSITION);
        menuSeen += std::string(i ? " " : "") +
                    (state & MF_SEPARATOR ? std::string("-") : text + std::string(state & MF_GRAYED ? "(g)" : ""));
    }
    RECT r;
    GetWindowRect(popup, &r);
    menuAt = {r.left, r.top};
    EndMenu();
}
}  // namespace

TEST_F(ChannelCommands, TheMenuOpensAtTheClickAndGraysWhatNeedsASelection) {
    ASSERT_TRUE(Open({Site("a"), Site("b")}));
    SetWindowPos(dialog_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const std::string all = "すべて選択(&A) 選択の切り替え(&I) - 有効(&C) 無効(&U) - 新規URL(&W) 編集(&E) - 削除(&D)";
    const std::string grayed =
        "すべて選択(&A) 選択の切り替え(&I) - 有効(&C)(g) 無効(&U)(g) - 新規URL(&W) 編集(&E)(g) - 削除(&D)(g)";
    for (bool selected : {false, true}) {
        Select(selected ? std::vector<int>{1} : std::vector<int>{});
        menuSeen = "<no menu>";
        UINT_PTR timer = SetTimer(nullptr, 0, 50, ReadOpenMenu);
        Notify(NM_RCLICK, -1, POINT{40, 150});  // below the rows
        KillTimer(nullptr, timer);
        EXPECT_EQ(menuSeen, selected ? all : grayed);
        POINT expected = {40, 150};
        ClientToScreen(list_, &expected);
        EXPECT_EQ(menuAt.x, expected.x);
        EXPECT_EQ(menuAt.y, expected.y);
    }
}

TEST_F(ChannelCommands, SelectInvertEnableDisableAndDeleteActOnTheSelectedRows) {
    ASSERT_TRUE(Open({Site("a"), Site("b", true), Site("c"), Site("d", true), Site("e"), Site("f", true)}));
    const std::string p = "|http://127.0.0.1/";
    Select({0, 2});
    Command(ID_SELECT_INVERT);
    EXPECT_EQ(Rows(list_), "a" + p + "a- b" + p + "b+* c" + p + "c- d" + p + "d+* e" + p + "e-* f" + p + "f+*");
    Select({0, 2});
    Command(ID_CHANNEL_ENABLE);
    Select({3, 5});
    Command(ID_CHANNEL_DISABLE);
    Command(ID_SELECT_ALL);
    EXPECT_EQ(Rows(list_), "a" + p + "a+* b" + p + "b+* c" + p + "c+* d" + p + "d-* e" + p + "e-* f" + p + "f-*");

    Select({1, 3, 4});
    Command(ID_CHANNEL_DELETE);
    EXPECT_EQ(Rows(list_), "a" + p + "a+ c" + p + "c+ f" + p + "f-");
    Close();
    ASSERT_EQ(saverSettings.sites.size(), 3u);
    const char* names[] = {"a", "c", "f"};
    const bool checks[] = {true, true, false};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(saverSettings.sites[i].title, names[i]);
        EXPECT_EQ(saverSettings.sites[i].check, checks[i]) << names[i];
    }
}

TEST_F(ChannelCommands, DroppedTextAndFilesAddOrReplaceChannelsInTheirOrder) {
    const std::string feed = FeedServerUrl("/feeds/rss2.xml");
    const std::string rdf = FixturePath("rss1.xml"), missing = FixturePath("missing.xml");
    ASSERT_TRUE(Open({Site("a", true), Site("old", true, rdf), Site("c")}));
    Tick(0, false);  // the user's ticks before the drop survive it
    Tick(2, true);

    // Text without a terminator inside its block.
    OneFormatData text(CF_TEXT, feed);
    EXPECT_EQ(Drop(&text), DWORD(DROPEFFECT_COPY | DROPEFFECT_LINK));
    EXPECT_EQ(beeps, "ok ");
    EXPECT_EQ(Rows(list_), "a|http://127.0.0.1/a- old|" + rdf + "+ c|http://127.0.0.1/c+ Tom & Jerry ニュース|" + feed + "+*");
    EXPECT_EQ(GetFocus(), list_);

    OneFormatData files(CF_HDROP, FileDropBlock({missing, rdf, feed}));
    Drop(&files);
    EXPECT_EQ(beeps, "ok err ok ok ");
    EXPECT_EQ(Rows(list_), "a|http://127.0.0.1/a- RDF チャンネル|" + rdf + "+ c|http://127.0.0.1/c+ Tom & Jerry ニュース|" +
                               feed + "+* |" + missing + "-");
    EXPECT_EQ(saverSettings.sites[1].description, "RSS 1.0 feed");
}

TEST_F(ChannelCommands, ASiteListAddsEachSiteAndOneThatListsItselfEnds) {
    const std::string folder = MakeTempFolder("kvt-sitelist");
    auto siteList = [&](const std::string& name, std::vector<std::string> links) {
        std::string xml = "<?xml version=\"1.0\"?>\n<kvtini>\n";
        for (auto& l : links) xml += "<site><title>t</title><link>" + l + "</link><check>0</check></site>\n";
        WriteFileBytes(folder + name, xml + "</kvtini>\n");
        return folder + name;
    };
    const std::string rss2 = FeedServerUrl("/feeds/rss2.xml"), rdf = FixturePath("rss1.xml");
    const std::string two = siteList("two.xml", {rss2, rdf});
    const std::string loop = siteList("loop.xml", {folder + "loop.xml", rdf});
    ASSERT_TRUE(Open({}));
    OneFormatData drop(CF_TEXT, two + '\0');
    Drop(&drop);
    EXPECT_EQ(beeps, "ok ok ok ");
    EXPECT_EQ(Rows(list_), "Tom & Jerry ニュース|" + rss2 + "+ RDF チャンネル|" + rdf + "+*");

    beeps.clear();
    OneFormatData self(CF_TEXT, loop + '\0');
    Drop(&self);
    EXPECT_EQ(beeps, "ok err ok ");
    EXPECT_EQ(saverSettings.sites.size(), 2u) << "the site list itself is never added";
    RemoveFolder(folder);
}

TEST_F(ChannelCommands, ADoubleClickOpensOnlyAWebLinkOfARowWhoseBoxItDidNotToggle) {
    BrowserStandIn browser({"javascript"});
    ASSERT_TRUE(Open({Site("web", true, "http://127.0.0.1/opened"), Site("file", true, FixturePath("rss2.xml")),
                      Site("script", true, "javascript:alert(1)")}));
    // The clicks toggled the box of row 0: nothing is opened.
    Notify(NM_CLICK, 0);
    Tick(0, false);
    Notify(NM_DBLCLK, 0);
    for (int row : {1, 2}) {
        Notify(NM_CLICK, row);
        Notify(NM_DBLCLK, row);
    }
    Notify(NM_CLICK, 0);
    Notify(NM_DBLCLK, 0);
    std::vector<std::string> links;
    for (int i = 0; i < 100 && links.empty(); ++i) {
        PumpFor(50);
        links = browser.Links();
    }
    PumpFor(500);  // anything opened before it would have arrived by now
    EXPECT_EQ(browser.Links(), std::vector<std::string>{"http://127.0.0.1/opened"});
}
