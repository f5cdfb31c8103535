// The channel list's popup menu, commands, double-click and drops, on the real
// settings dialog with the real drop target.
#include "config/settings_io.h"
#include "list_view_text.h"
#include "settings_dialog_fixture.h"
#include "test_data_object.h"
#include "test_paths.h"

#include <string>
#include <vector>

namespace {
// Each row as "title|link" with + for a ticked box and - for a clear one, and * when selected.
std::string Rows(HWND list) {
    std::string out;
    const int n = ItemCount(list);
    for (int i = 0; i < n; ++i)
        out += (i ? " " : "") + ListCell(list, i, 0) + "|" + ListCell(list, i, 1) +
               (CheckState(list, i) == 2 ? "+" : "-") + (Selected(list, i) ? "*" : "");
    return out;
}

class ChannelCommands : public SettingsDialogFixture {
protected:
    // Opens the dialog on these sites ("a" gives title "a" and link "http://127.0.0.1/a").
    HWND Open(const std::vector<SiteEntry>& sites) {
        saverSettings.sites = sites;
        return OpenSettings();
    }
    void Command(WORD id) { SendMessageA(settings_, WM_COMMAND, id, 0); }
    void Notify(UINT code, int row, POINT at = {5, 5}) {
        NMITEMACTIVATE n = {{list_, IDC_CHANNEL_LIST, code}, row, 0, 0, 0, 0, at, 0, 0};
        SendMessageA(settings_, WM_NOTIFY, IDC_CHANNEL_LIST, LPARAM(&n));
    }
    // Drags `data` onto the middle of the list; the effect the drop answered.
    DWORD Drop(IDataObject* data) { return DragTo(settings_, data, Centre(list_)).drop; }

    static SiteEntry Site(const std::string& name, bool check = false, const std::string& link = std::string()) {
        return {name, link.empty() ? "http://127.0.0.1/" + name : link, "", check, {}};
    }
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
    BringToTop(settings_);
    const std::string all = "すべて選択(&A) 選択の切り替え(&I) - 有効(&C) 無効(&U) - 新規URL(&W) 編集(&E) - 削除(&D)";
    const std::string grayed =
        "すべて選択(&A) 選択の切り替え(&I) - 有効(&C)(g) 無効(&U)(g) - 新規URL(&W) 編集(&E)(g) - 削除(&D)(g)";
    for (bool selected : {false, true}) {
        Select(list_, selected ? std::vector<int>{1} : std::vector<int>{});
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

// The channel editor that a command opened, as it showed itself: its caption and URL.
// It is cancelled once seen.
std::string editorSeen;
BOOL CALLBACK FindEditor(HWND w, LPARAM found) {
    if (!GetDlgItem(w, IDC_EDITOR_URL)) return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
}
void CALLBACK ReadOpenEditor(HWND, UINT, UINT_PTR, DWORD) {
    HWND editor = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindEditor, LPARAM(&editor));
    if (!editor) return;
    editorSeen = Text(editor) + "|" + Text(GetDlgItem(editor, IDC_EDITOR_URL));
    PostMessageA(editor, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(ChannelCommands, EditOpensTheEditorOnTheFirstSelectedRowAndWithoutOneAsNew) {
    ASSERT_TRUE(Open({Site("a"), Site("b"), Site("c"), Site("d"), Site("e")}));
    const struct {
        std::vector<int> rows;
        const char* seen;
    } cases[] = {
        {{1, 4}, "ＵＲＬ編集|http://127.0.0.1/b"},
        {{}, "新規ＵＲＬ|"},
    };
    for (const auto& c : cases) {
        Select(list_, c.rows);
        editorSeen = "<no editor>";
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadOpenEditor);
        Command(ID_CHANNEL_EDIT);  // back when the editor has been cancelled
        KillTimer(nullptr, timer);
        EXPECT_EQ(editorSeen, c.seen);
    }
    EXPECT_EQ(ItemCount(list_), 5);
}

TEST_F(ChannelCommands, SelectAllAndInvertOnAnEmptyListDoNothing) {
    ASSERT_TRUE(Open({}));
    Command(ID_SELECT_ALL);
    Command(ID_SELECT_INVERT);
    EXPECT_EQ(ItemCount(list_), 0);
    EXPECT_EQ(SendMessageA(list_, LVM_GETSELECTEDCOUNT, 0, 0), 0);
}

TEST_F(ChannelCommands, SelectInvertEnableDisableAndDeleteActOnTheSelectedRows) {
    ASSERT_TRUE(Open({Site("a"), Site("b", true), Site("c"), Site("d", true), Site("e"), Site("f", true)}));
    const std::string p = "|http://127.0.0.1/";
    Select(list_, {0, 2});
    Command(ID_SELECT_INVERT);
    EXPECT_EQ(Rows(list_), "a" + p + "a- b" + p + "b+* c" + p + "c- d" + p + "d+* e" + p + "e-* f" + p + "f+*");
    Select(list_, {0, 2});
    Command(ID_CHANNEL_ENABLE);
    Select(list_, {3, 5});
    Command(ID_CHANNEL_DISABLE);
    Command(ID_SELECT_ALL);
    EXPECT_EQ(Rows(list_), "a" + p + "a+* b" + p + "b+* c" + p + "c+* d" + p + "d-* e" + p + "e-* f" + p + "f-*");

    Select(list_, {1, 3, 4});
    Command(ID_CHANNEL_DELETE);
    EXPECT_EQ(Rows(list_), "a" + p + "a+ c" + p + "c+ f" + p + "f-");
    CloseSettings();
    EXPECT_EQ(Sites(), "a" + p + "a||on\nc" + p + "c||on\nf" + p + "f||off\n");
}

TEST_F(ChannelCommands, DroppedTextAndFilesAddOrReplaceChannelsInTheirOrder) {
    const std::string feed = FeedServerUrl("/feeds/rss2.xml");
    const std::string rdf = FixturePath("rss1.xml"), missing = FixturePath("missing.xml");
    ASSERT_TRUE(Open({Site("a", true), Site("old", true, rdf), Site("c")}));
    Tick(list_, 0, false);  // the user's ticks before the drop survive it
    Tick(list_, 2, true);

    // Text without a terminator inside its block.
    OneFormatData text(CF_TEXT, feed);
    EXPECT_EQ(Drop(&text), DWORD(DROPEFFECT_COPY | DROPEFFECT_LINK));
    EXPECT_EQ(beeps, "ok ");
    EXPECT_EQ(Rows(list_),
              "a|http://127.0.0.1/a- old|" + rdf + "+ c|http://127.0.0.1/c+ Tom & Jerry ニュース|" + feed + "+*");
    EXPECT_EQ(GetFocus(), list_);

    OneFormatData files(CF_HDROP, FileDropBlock({missing, rdf, feed}));
    Drop(&files);
    EXPECT_EQ(beeps, "ok err ok ok ");
    EXPECT_EQ(Rows(list_), "a|http://127.0.0.1/a- RDF チャンネル|" + rdf +
                               "+ c|http://127.0.0.1/c+ Tom & Jerry ニュース|" + feed + "+* |" + missing + "-");
    EXPECT_EQ(saverSettings.sites[1].description, "RSS 1.0 feed");

    // The list has no field that could hold only so much: a long address is taken whole.
    const std::string longUrl = feed + "?pad=" + std::string(1500, 'x');
    OneFormatData longText(CF_TEXT, longUrl);
    Drop(&longText);
    EXPECT_EQ(beeps, "ok err ok ok ok ");
    EXPECT_EQ(saverSettings.sites.back().link, longUrl);
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
    Tick(list_, 0, false);
    Notify(NM_DBLCLK, 0);
    for (int row : {1, 2}) {
        Notify(NM_CLICK, row);
        Notify(NM_DBLCLK, row);
    }
    Notify(NM_CLICK, 0);
    Notify(NM_DBLCLK, 0);
    // Anything opened before the last would have arrived half a second after it.
    EXPECT_EQ(LinksOpened(browser, 500), std::vector<std::string>{"http://127.0.0.1/opened"});
}

// Dropped text is read up to its first zero, so it can carry control characters and
// line ends. The file saved after OK must still load at the next start, or every
// channel is lost; the control characters come back as spaces, a line end as it was.
TEST_F(ChannelCommands, ADroppedLinkWithAControlCharacterSurvivesOkAndARestart) {
    ASSERT_TRUE(Open({Site("a"), Site("b", true)}));
    OneFormatData text(CF_TEXT, std::string("http://127.0.0.1:9/x\x01y\x1F\r\n") + '\0');
    Drop(&text);
    ASSERT_EQ(ItemCount(list_), 3);
    SendMessageA(settings_, WM_COMMAND, IDOK, 0);
    CloseSettings();
    const std::string folder = MakeTempFolder("kvt-control");
    const std::string path = folder + "kvtini.xml";
    ASSERT_EQ(SaveSettings(path.c_str()), 0);  // as the configure sequence does after OK

    saverSettings = SaverSettings();
    EXPECT_EQ(LoadSettings(path.c_str(), false), 0);
    EXPECT_EQ(Sites(), "a|http://127.0.0.1/a||off\nb|http://127.0.0.1/b||on\n|http://127.0.0.1:9/x y \r\n||off\n");
    RemoveFolder(folder);
}
