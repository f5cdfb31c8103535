// The channel editor in-process on the real dialog, fetching from the loopback feed server.
#include "editor/channel_editor.h"
#include "editor/fetch_test.h"
#include "list_view_text.h"
#include "screen_capture.h"
#include "settings_dialog_fixture.h"
#include "test_data_object.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {
// The first column of each row.
std::vector<std::string> Rows(HWND list) {
    std::vector<std::string> rows;
    for (int i = 0; i < ItemCount(list); ++i) rows.push_back(ListCell(list, i, 0));
    return rows;
}

class ChannelEditor : public SettingsDialogFixture {
protected:
    void TearDown() override {
        if (editor_ && IsWindow(editor_)) DestroyWindow(editor_);
        SettingsDialogFixture::TearDown();
    }
    void Request(bool edit, const std::string& url, const std::string& title = "",
                 const std::string& description = "") {
        channelEditRequest = {edit, list_, url, title, description};
    }
    // The modeless editor on this request.
    HWND Open(bool edit, const std::string& url, const std::string& title = "", const std::string& description = "") {
        Request(edit, url, title, description);
        editor_ =
            CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_CHANNEL_EDITOR), settings_, ChannelEditorProc, 0);
        BringToTop(editor_);
        return editor_;
    }
    HWND Item(int id) const { return GetDlgItem(editor_, id); }
    void FetchTest() { SendMessageA(editor_, WM_COMMAND, IDC_EDITOR_FETCH_TEST, 0); }
    // Runs the fetch test while `watch` runs over and over on another thread, as the
    // dialog's own thread is held in the fetch; the milliseconds the fetch took.
    DWORD FetchTestWatched(const std::function<void()>& watch) {
        std::atomic<bool> done{false};
        std::thread watcher([&] {
            while (!done) watch();
        });
        const DWORD start = GetTickCount();
        FetchTest();
        const DWORD took = GetTickCount() - start;
        done = true;
        watcher.join();
        return took;
    }
    // "1" for each of OK, Cancel and the fetch test that is enabled, "0" for each that is not.
    std::string ButtonsEnabled() const {
        std::string s;
        for (int id : {IDOK, IDCANCEL, IDC_EDITOR_FETCH_TEST}) s += IsWindowEnabled(Item(id)) ? "1" : "0";
        return s;
    }

    HWND editor_ = nullptr;
};

}  // namespace

TEST_F(ChannelEditor, TemplateHoldsTheControlsInTabOrder) {
    const DialogTemplate t = ReadDialogTemplate(IDD_CHANNEL_EDITOR);
    EXPECT_EQ(t.style, DWORD(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT));
    EXPECT_EQ(t.caption + "|" + t.font, "新規サイト|ＭＳ Ｐゴシック");
    EXPECT_EQ(t.controls, (std::vector<TemplateControl>{
                              {IDC_EDITOR_URL, "EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
                              {IDC_EDITOR_CONTENT, "SysListView32", "",
                               WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOLABELWRAP | LVS_AUTOARRANGE},
                              {IDOK, "BUTTON", "新規登録", WS_TABSTOP | BS_DEFPUSHBUTTON},
                              {IDCANCEL, "BUTTON", "ｷｬﾝｾﾙ", WS_TABSTOP},
                              {IDC_EDITOR_FETCH_TEST, "BUTTON", "取得テスト", WS_TABSTOP},
                              {-1, "STATIC", "URL", WS_GROUP | SS_CENTERIMAGE},
                              {IDC_EDITOR_DESCRIPTION, "EDIT", "", WS_BORDER | ES_READONLY | ES_AUTOHSCROLL},
                              {IDC_EDITOR_CHANNEL_NAME, "EDIT", "", WS_BORDER | ES_READONLY | ES_AUTOHSCROLL},
                              {-1, "STATIC", "チャンネル名", WS_GROUP | SS_CENTERIMAGE},
                              {-1, "STATIC", "説明", WS_GROUP | SS_CENTERIMAGE},
                              {-1, "STATIC", "内容", WS_GROUP | SS_CENTERIMAGE},
                          }));
}

TEST_F(ChannelEditor, StartShowsTheRequestForANewOrAnEditedChannel) {
    lastTestContent.items = {{"an earlier test", "http://127.0.0.1/"}};  // not shown again
    for (bool edit : {false, true}) {
        ASSERT_TRUE(Open(edit, "http://127.0.0.1/a.rdf", "名前", "説明です"));
        EXPECT_EQ(Text(editor_), edit ? "ＵＲＬ編集" : "新規ＵＲＬ");
        EXPECT_EQ(Text(Item(IDOK)), edit ? "OK" : "新規登録");
        EXPECT_EQ(Text(Item(IDC_EDITOR_URL)) + "|" + Text(Item(IDC_EDITOR_CHANNEL_NAME)) + "|" +
                      Text(Item(IDC_EDITOR_DESCRIPTION)),
                  "http://127.0.0.1/a.rdf|名前|説明です");
        EXPECT_EQ(GetFocus(), Item(IDC_EDITOR_URL));
        HWND list = Item(IDC_EDITOR_CONTENT);
        EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x421, 0x421);
        const ListColumn col = Column(list, 0);
        ASSERT_TRUE(col.exists);
        RECT client;
        GetClientRect(list, &client);
        EXPECT_EQ(col.text + " " + std::to_string(col.width) + " " + std::to_string(col.format & LVCFMT_JUSTIFYMASK),
                  "項目 " + std::to_string(client.right) + " 0");
        EXPECT_FALSE(Column(list, 1).exists) << "one column";
        EXPECT_EQ(ItemCount(list), 0);
        EXPECT_TRUE(DropTargetOf(editor_)) << "the dialog is a drop target";
        DestroyWindow(editor_);
        EXPECT_FALSE(DropTargetOf(editor_));
    }
}

TEST_F(ChannelEditor, ADpiChangeScalesTheColumn) {
    ASSERT_TRUE(Open(false, ""));
    HWND list = Item(IDC_EDITOR_CONTENT);
    const int before = int(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
    ChangeDpi(editor_, 144);
    EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0), MulDiv(before, 3, 2));
}

TEST_F(ChannelEditor, FetchTestShowsTheChannelOrTheFailureLine) {
    const std::string failed = "  --- 取得に失敗しました ---";
    ASSERT_TRUE(Open(true, "", "保存された名前", "保存された説明"));
    const struct {
        std::string url, name, description;
        std::vector<std::string> rows;
        const char* beep;
    } tests[] = {
        {FeedServerUrl("/feeds/utf8.xml"),
         "文字コード UTF-8",
         "日本語の説明：ソフトウェア、表示",
         {"ニュース一番", "ﾊﾝｶｸ カナ 漢字"},
         "ok "},
        {FeedServerUrl("/feeds/site_list.xml"), failed, "", {}, "err "},  // valid, but not one channel
        {FeedServerUrl("/feeds/empty_channel.xml"), "Nothing new", "", {}, "ok "},
        {"http://127.0.0.1:9/dead.xml", failed, "", {}, "err "},
    };
    for (const auto& t : tests) {
        SCOPED_TRACE(t.url);
        SetDlgItemTextA(editor_, IDC_EDITOR_URL, t.url.c_str());
        beeps.clear();
        FetchTest();
        EXPECT_EQ(beeps, t.beep);
        EXPECT_EQ(Text(Item(IDC_EDITOR_CHANNEL_NAME)), t.name);
        EXPECT_EQ(Text(Item(IDC_EDITOR_DESCRIPTION)), t.description);
        EXPECT_EQ(Rows(Item(IDC_EDITOR_CONTENT)), t.rows);
        EXPECT_EQ(ButtonsEnabled(), "111");
        EXPECT_EQ(Text(Item(IDC_EDITOR_URL)), t.url);
    }
}

TEST_F(ChannelEditor, WhileTheFetchRunsTheButtonsAreDisabledAndTheOldContentIsOffTheScreen) {
    ASSERT_TRUE(Open(true, FeedServerUrl("/feeds/utf8.xml"), "保存された名前", "保存された説明"));
    FetchTest();
    SetDlgItemTextA(editor_, IDC_EDITOR_URL, FeedServerUrl("/slow/feeds/rss2.xml?ms=3000").c_str());
    // Dark text in the name field or among the rows (below the list's header) on screen.
    RECT name, rows, header;
    GetWindowRect(Item(IDC_EDITOR_CHANNEL_NAME), &name);
    GetWindowRect(Item(IDC_EDITOR_CONTENT), &rows);
    GetWindowRect(reinterpret_cast<HWND>(SendMessageA(Item(IDC_EDITOR_CONTENT), LVM_GETHEADER, 0, 0)), &header);
    rows.top = header.bottom;
    InflateRect(&rows, -3, -3);
    auto dark = [](std::uint32_t c) { return Red(c) < 80 && Green(c) < 80 && Blue(c) < 80; };
    auto shown = [&] {
        const Screenshot shot = CaptureScreen();
        return shot.Count(name, dark) || shot.Count(rows, dark) ? " shown" : " blank";
    };
    ASSERT_TRUE(PumpUntil([&] { return std::string(shown()) == " shown"; }));
    std::vector<std::string> states;  // "enabled buttons, text on screen", each change once
    FetchTestWatched([&] {            // sends the dialog nothing
        const std::string state = ButtonsEnabled() + shown();
        if (states.empty() || states.back() != state) states.push_back(state);
    });
    EXPECT_NE(std::find(states.begin(), states.end(), "000 blank"), states.end())
        << "disabled and cleared on screen together: " << testing::PrintToString(states);
    EXPECT_EQ(ButtonsEnabled(), "111");
    EXPECT_TRUE(PumpUntil([&] { return std::string(shown()) == " shown"; }));
    EXPECT_EQ(Text(Item(IDC_EDITOR_CHANNEL_NAME)), "Tom & Jerry ニュース");
}

TEST_F(ChannelEditor, DoubleClickOpensTheItemsLinkOnlyWhenItIsAWebAddress) {
    BrowserStandIn browser({"javascript", "kvttest"});
    ASSERT_TRUE(Open(false, FeedServerUrl("/feeds/links.xml")));
    FetchTest();
    HWND list = Item(IDC_EDITOR_CONTENT);
    ASSERT_EQ(Rows(list).size(), 6u);
    RECT last = {};
    last.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, 5, LPARAM(&last));
    // javascript:, file:, kvttest:, too long, quoted, below the last row; then the web address.
    for (int row : {1, 2, 3, 4, 5, 6, 0}) {
        const int y = row < 6 ? last.top + (row - 5) * (last.bottom - last.top) + 2 : last.bottom + 5;
        SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, y));
        SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(10, y));
    }
    EXPECT_EQ(LinksOpened(browser, 300), std::vector<std::string>{"http://127.0.0.1/opened/page.html?q=1&r=2"});
}

namespace {
struct EditorAction {
    const char* typed;  // nullptr: the URL is left as it is
    UINT message;
    WPARAM wParam;
    bool toUrlField;  // keys go to the URL field, the rest to the dialog
};
EditorAction action;
// Acts on the modal editor from inside its own loop, once.
void CALLBACK ActOnEditor(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND editor = FindWindowA("#32770", "ＵＲＬ編集");
    if (!editor || !IsWindowVisible(editor)) return;
    KillTimer(nullptr, timer);
    HWND url = GetDlgItem(editor, IDC_EDITOR_URL);
    if (action.typed) SetWindowTextA(url, action.typed);
    PostMessageA(action.toUrlField ? url : editor, action.message, action.wParam, 0);
}
}  // namespace

TEST_F(ChannelEditor, OkAddsTheUrlToTheSettingsListAndTheOtherEndingsChangeNothing) {
    const std::string utf8 = FeedServerUrl("/feeds/utf8.xml"), rss2 = FeedServerUrl("/feeds/rss2.xml");
    const std::string longUrl = utf8 + "?" + std::string(2000, 'q');
    const std::string given = "古い名前|" + utf8 + "|古い説明|off\n二つ目|" + rss2 + "||on\n";
    const struct {
        EditorAction act;
        INT_PTR result;
        std::string sites, url;
    } tests[] = {
        // The same URL replaces its channel with what the new fetch finds, enabled as it was fetched.
        {{nullptr, WM_COMMAND, IDOK, false},
         1,
         "文字コード UTF-8|" + utf8 + "|日本語の説明：ソフトウェア、表示|on\n二つ目|" + rss2 + "||on\n",
         utf8},
        // Another URL (Enter, 1,023 bytes of it) is a new channel; the edited one stays.
        {{longUrl.c_str(), WM_KEYDOWN, VK_RETURN, true},
         1,
         given + "文字コード UTF-8|" + longUrl.substr(0, 1023) + "|日本語の説明：ソフトウェア、表示|on\n",
         longUrl.substr(0, 1023)},
        {{"", WM_COMMAND, IDOK, false}, 1, given + "|||off\n", ""},
        {{"http://127.0.0.1:9/x", WM_KEYDOWN, VK_ESCAPE, true}, 0, given, utf8},
        {{"http://127.0.0.1:9/x", WM_SYSCOMMAND, SC_CLOSE, false}, 0, given, utf8},
    };
    for (const auto& t : tests) {
        SCOPED_TRACE(std::to_string(&t - tests));
        saverSettings.sites = {{"古い名前", utf8, "古い説明", false, {}}, {"二つ目", rss2, "", true, {}}};
        ASSERT_TRUE(OpenSettings());
        Request(true, utf8, "古い名前", "古い説明");
        action = t.act;
        SetTimer(nullptr, 0, 20, ActOnEditor);
        EXPECT_EQ(DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_CHANNEL_EDITOR), settings_, ChannelEditorProc, 0),
                  t.result);
        EXPECT_EQ(Sites(), t.sites);
        EXPECT_EQ(channelEditRequest.url, t.url);
        EXPECT_EQ(ItemCount(list_), int(saverSettings.sites.size()));
        CloseSettings();
    }
}

TEST_F(ChannelEditor, DropsFillTheUrlFieldOnlyOverIt) {
    ASSERT_TRUE(Open(false, "typed"));
    ASSERT_TRUE(DropTargetOf(editor_));
    const POINTL url = Centre(Item(IDC_EDITOR_URL)), name = Centre(Item(IDC_EDITOR_CHANNEL_NAME));
    const POINTL list = Centre(Item(IDC_EDITOR_CONTENT));
    const std::string longPath = "C:\\" + std::string(300, 'p'), cut = longPath.substr(0, 254);
    const std::string longUrl = "http://" + std::string(2000, 'u'), field = longUrl.substr(0, 1023);
    const DWORD copyOrLink = DROPEFFECT_COPY | DROPEFFECT_LINK;
    const struct {
        CLIPFORMAT format;
        std::string bytes;
        POINTL at;
        DWORD effect;
        std::string field;
    } drops[] = {
        {CF_TEXT, "http://127.0.0.1/dropped.xml", url, copyOrLink, "http://127.0.0.1/dropped.xml"},  // no zero
        {CF_HDROP, FileDropBlock({"C:\\feeds\\first.xml", "C:\\feeds\\second.xml"}), url, copyOrLink,
         "C:\\feeds\\first.xml"},
        {CF_HDROP, FileDropBlock({longPath}), url, copyOrLink, cut},
        {CF_TEXT, longUrl, url, copyOrLink, field},  // as much as the field holds
        {CF_HDROP, FileDropBlock({"C:\\elsewhere.xml"}), name, DROPEFFECT_NONE, field},
        {CF_TEXT, "http://elsewhere/", list, DROPEFFECT_NONE, field},
        {CF_UNICODETEXT, std::string("h\0t\0", 4), url, DROPEFFECT_NONE, field},
    };
    for (const auto& d : drops) {
        SCOPED_TRACE(std::to_string(&d - drops));
        OneFormatData data(d.format, d.bytes);
        // The drop is made even where it was refused; over it, the format of the enter still holds.
        const DropEffects effects = DragTo(editor_, &data, d.at);
        EXPECT_EQ(effects.enter, d.effect);
        EXPECT_EQ(effects.over, d.effect);
        EXPECT_EQ(Text(Item(IDC_EDITOR_URL)), d.field);
    }
    EXPECT_EQ(beeps, "") << "a drop fetches nothing";
    EXPECT_EQ(ItemCount(Item(IDC_EDITOR_CONTENT)), 0);
}

TEST_F(ChannelEditor, ASilentServerKeepsTheDialogPaintedAndFailsAfterTheTimeOut) {
    ASSERT_TRUE(Open(false, FeedServerUrl("/never?s=60")));
    int asked = 0, answered = 0, repainted = 0;
    const DWORD waited = FetchTestWatched([&] {
        DWORD_PTR result = 0;
        ++asked;
        answered += SendMessageTimeoutA(editor_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
        InvalidateRect(editor_, nullptr, TRUE);
        const DWORD start = GetTickCount();
        while (GetUpdateRect(editor_, nullptr, FALSE) && GetTickCount() - start < 1000) Sleep(10);
        repainted += !GetUpdateRect(editor_, nullptr, FALSE);
        Sleep(500);  // asks twice a second through the 30-second wait
    });
    EXPECT_GE(waited, 29000u);
    EXPECT_LT(waited, 40000u);
    EXPECT_GE(asked, 10);
    EXPECT_GE(answered, asked - 1);  // the last may have been asked as the wait ended
    EXPECT_GE(repainted, asked - 1);
    EXPECT_EQ(Text(Item(IDC_EDITOR_CHANNEL_NAME)), "  --- 取得に失敗しました ---");
    EXPECT_EQ(beeps, "err ");
}
