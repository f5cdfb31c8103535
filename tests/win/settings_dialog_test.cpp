#include "editor/channel_editor.h"
#include "editor/drop_target.h"
#include "editor/link_control.h"
#include "list_view_text.h"
#include "settings_dialog_fixture.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace {
int CALLBACK CollectFace(const LOGFONTA* lf, const TEXTMETRICA*, DWORD type, LPARAM p) {
    const char* name = reinterpret_cast<const char*>(reinterpret_cast<const ENUMLOGFONTEXA*>(lf)->elfFullName);
    if (name[0] != '@' && !(type & RASTER_FONTTYPE)) reinterpret_cast<std::vector<std::string>*>(p)->push_back(name);
    return 1;
}

// Full names of the installed Shift-JIS faces the dialog offers, as often as the
// platform reports them.
std::vector<std::string> JapaneseFaces() {
    std::vector<std::string> faces;
    LOGFONTA lf = {};
    lf.lfCharSet = SHIFTJIS_CHARSET;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExA(dc, &lf, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
    ReleaseDC(nullptr, dc);
    return faces;
}

// Each name once, where it first came.
std::vector<std::string> FirstOfEach(const std::vector<std::string>& names) {
    std::vector<std::string> once;
    for (const std::string& name : names)
        if (std::find(once.begin(), once.end(), name) == once.end()) once.push_back(name);
    return once;
}

std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    for (LRESULT i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
        char text[LF_FULLFACESIZE + 1] = "";
        SendMessageA(combo, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
        items.push_back(text);
    }
    return items;
}

class SettingsDialog : public SettingsDialogFixture {
protected:
    void SetUp() override {
        SettingsDialogFixture::SetUp();
        SaverSettings& s = saverSettings;
        s.disp_header_title = false;
        s.disp_header_date = true;
        s.disp_interval = 12;
        s.load_interval = 345;
        s.sites = {{"ニュース <1>", "http://127.0.0.1/a.rdf", "説明 & more", true, {}},
                   {"", "http://127.0.0.1/b.xml", "", false, {}},
                   {"Third", "http://127.0.0.1/c.xml", "表示", true, {}}};
    }
    HWND Item(int id) const { return GetDlgItem(settings_, id); }
    void OkAndClose() {
        SendMessageA(settings_, WM_COMMAND, IDOK, 0);
        CloseSettings();
    }
};

LOGFONTA FontOf(HGDIOBJ font) {
    LOGFONTA lf = {};
    GetObjectA(font, sizeof lf, &lf);
    return lf;
}
HFONT WindowFont(HWND w) { return reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0)); }

}  // namespace

TEST_F(SettingsDialog, TemplateHoldsTheControlsInTabOrder) {
    const DialogTemplate t = ReadDialogTemplate(IDD_SETTINGS);
    EXPECT_EQ(t.style, DWORD(DS_SETFONT | DS_MODALFRAME | DS_SETFOREGROUND | DS_CENTER | WS_POPUP | WS_VISIBLE |
                             WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(t.caption + "|" + t.font, "KVT設定|ＭＳ Ｐゴシック");
    const DWORD number = ES_RIGHT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    const DWORD spin = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;
    const DWORD label = SS_LEFT | SS_CENTERIMAGE | WS_GROUP;
    EXPECT_EQ(t.controls,
              (std::vector<TemplateControl>{
                  {IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP},
                  {IDCANCEL, "BUTTON", "ｷｬﾝｾﾙ", WS_TABSTOP},
                  {IDC_CHANNEL_LIST, "SysListView32", "",
                   LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOLABELWRAP | WS_BORDER | WS_TABSTOP},
                  {IDC_DISP_INTERVAL, "EDIT", "", number},
                  {IDC_DISP_INTERVAL_SPIN, "msctls_updown32", "", spin},
                  {IDC_LOAD_INTERVAL, "EDIT", "", number},
                  {IDC_LOAD_INTERVAL_SPIN, "msctls_updown32", "", spin},
                  {IDC_HEADER_TITLE, "BUTTON", "ヘッダチャンネル名表示", BS_AUTOCHECKBOX | WS_TABSTOP},
                  {IDC_HEADER_DATE, "BUTTON", "ヘッダ取得時刻表示", BS_AUTOCHECKBOX | WS_TABSTOP},
                  {IDC_FONT, "COMBOBOX", "", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP},
                  {-1, "STATIC", "フォント：", label},
                  {-1, "STATIC", "表示間隔：", label},
                  {-1, "STATIC", "更新間隔：", label},
                  {-1, "STATIC", "秒", SS_LEFT | WS_GROUP},
                  {-1, "STATIC", "分", SS_LEFT | WS_GROUP},
                  {IDC_LINK, "STATIC", "https://tavelo.example.jp/kvt/", SS_LEFT | SS_NOTIFY | WS_GROUP},
                  {-1, "STATIC", "Copyright (C) 2026 Tavelo  本ソフトウェアは無保証です。", SS_LEFT | WS_GROUP},
                  {-1, "STATIC", " チャンネルリスト", SS_LEFT | WS_GROUP},
              }));
}

TEST_F(SettingsDialog, SetUpShowsTheSettings) {
    const std::vector<std::string> faces = JapaneseFaces();
    ASSERT_FALSE(faces.empty());
    saverSettings.font_face = faces.back();
    ASSERT_TRUE(OpenSettings());

    EXPECT_EQ(Text(settings_), "KVT v1.0 設定");
    RECT own, desk;
    GetWindowRect(settings_, &own);
    GetWindowRect(GetDesktopWindow(), &desk);
    EXPECT_EQ(own.left, (desk.right - (own.right - own.left)) / 2);
    EXPECT_EQ(own.top, (desk.bottom - (own.bottom - own.top)) / 2);

    const struct {
        int edit, spin;
        const char* text;
        int hi;
    } numbers[] = {{IDC_DISP_INTERVAL, IDC_DISP_INTERVAL_SPIN, "12", 99},
                   {IDC_LOAD_INTERVAL, IDC_LOAD_INTERVAL_SPIN, "345", 999}};
    for (const auto& n : numbers) {
        EXPECT_EQ(Text(Item(n.edit)), n.text);
        int lo = 0, hi = 0;
        SendMessageA(Item(n.spin), UDM_GETRANGE32, WPARAM(&lo), LPARAM(&hi));
        EXPECT_EQ(lo, 1);
        EXPECT_EQ(hi, n.hi);
    }
    EXPECT_EQ(IsDlgButtonChecked(settings_, IDC_HEADER_TITLE), UINT(BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(settings_, IDC_HEADER_DATE), UINT(BST_CHECKED));
    // Every installed Shift-JIS face but the vertical ones, each once, the configured one
    // selected.
    const std::vector<std::string> offered = FirstOfEach(faces);
    EXPECT_EQ(ComboItems(Item(IDC_FONT)), offered);
    const auto chosen = std::find(offered.begin(), offered.end(), faces.back()) - offered.begin();
    EXPECT_EQ(SendMessageA(Item(IDC_FONT), CB_GETCURSEL, 0, 0), LRESULT(chosen));

    EXPECT_EQ(SendMessageA(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x435, 0x435);
    const struct {
        const char* header;
        int width;
    } columns[3] = {{"チャンネル名", 150}, {"ＵＲＬ", 300}, {"説明", 500}};
    for (int c = 0; c < 3; ++c) {
        const ListColumn col = Column(list_, c);
        ASSERT_TRUE(col.exists) << c;
        EXPECT_EQ(col.text, columns[c].header);
        EXPECT_EQ(col.width, columns[c].width);
    }
    ASSERT_EQ(ItemCount(list_), 3);
    for (int i = 0; i < 3; ++i) {
        const SiteEntry& e = saverSettings.sites[size_t(i)];
        EXPECT_EQ(ListCell(list_, i, 0) + "|" + ListCell(list_, i, 1) + "|" + ListCell(list_, i, 2),
                  e.title + "|" + e.link + "|" + e.description);
        EXPECT_EQ(CheckState(list_, i) == 2, e.check) << i;
    }
    EXPECT_EQ(SendMessageA(list_, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    EXPECT_TRUE(DropTargetOf(settings_)) << "the dialog is a drop target";
    // What OK gives back unchanged is checked end to end, on a saved file.
}

TEST_F(SettingsDialog, ReadBackTakesWhatWasTypedAsItIs) {
    const std::vector<std::string> faces = JapaneseFaces();
    ASSERT_TRUE(OpenSettings());
    SendMessageA(Item(IDC_HEADER_TITLE), BM_CLICK, 0, 0);
    SendMessageA(Item(IDC_HEADER_DATE), BM_CLICK, 0, 0);
    Tick(list_, 0, false);
    Tick(list_, 1, true);
    SendMessageA(Item(IDC_FONT), CB_SETCURSEL, 0, 0);
    SetWindowTextA(Item(IDC_FONT), "typed, not chosen");
    OkAndClose();

    const SaverSettings& s = saverSettings;
    EXPECT_TRUE(s.disp_header_title);
    EXPECT_FALSE(s.disp_header_date);
    EXPECT_EQ(Sites(),
              "ニュース <1>|http://127.0.0.1/a.rdf|説明 & more|off\n|http://127.0.0.1/b.xml||on\n"
              "Third|http://127.0.0.1/c.xml|表示|on\n");
    ASSERT_FALSE(faces.empty());
    EXPECT_EQ(s.font_face, faces.front());
}

// Neither field is held to its spin range, but a number beyond INT_MAX must not
// wrap to a negative interval (read back later as 1).
TEST_F(SettingsDialog, AnIntervalIsReadBackAsTypedAndATooLargeOneAsTheLargestInt) {
    const struct {
        const char* typed;
        int read;
    } cases[] = {
        {"abc", 0}, {"500", 500}, {"3000000000", INT_MAX}, {"50000000000000000000", INT_MAX}};  // beyond 32 and 64 bits
    for (const auto& c : cases)
        for (int id : {IDC_DISP_INTERVAL, IDC_LOAD_INTERVAL}) {
            SCOPED_TRACE(testing::Message() << c.typed << " in control " << id);
            ASSERT_TRUE(OpenSettings());
            SetDlgItemTextA(settings_, id, c.typed);
            OkAndClose();
            EXPECT_EQ(id == IDC_DISP_INTERVAL ? saverSettings.disp_interval : saverSettings.load_interval, c.read);
        }
}

TEST_F(SettingsDialog, AFaceThatIsNotOfferedLeavesNoSelectionAndIsKept) {
    const std::vector<std::string> faces = JapaneseFaces();
    ASSERT_FALSE(faces.empty());
    for (const std::string& face : {std::string("どこにもない書体"), "@" + faces.front()}) {
        saverSettings.font_face = face;
        ASSERT_TRUE(OpenSettings());
        EXPECT_EQ(SendMessageA(Item(IDC_FONT), CB_GETCURSEL, 0, 0), CB_ERR) << face;
        CloseSettings();
        EXPECT_EQ(saverSettings.font_face, face);
    }
}

TEST_F(SettingsDialog, DropsAreOfferedOverTheListOnlyAndForTextOrFiles) {
    ASSERT_TRUE(OpenSettings());
    BringToTop(settings_);
    POINTL overList = Centre(list_);
    POINTL overOk = Centre(Item(IDOK));
    POINTL overHeader = Centre(reinterpret_cast<HWND>(SendMessageA(list_, LVM_GETHEADER, 0, 0)));
    ASSERT_EQ(WindowFromPoint(POINT{overList.x, overList.y}), list_);

    auto notify = [&](DropPhase phase, UINT format, POINTL* pt) {
        DropInfo info = {pt, 0xFFFF, 0, format, nullptr, nullptr};
        SendMessageA(settings_, WM_DROPNOTIFY, phase, LPARAM(&info));
        return info.effect;
    };
    const DWORD copyOrLink = DROPEFFECT_COPY | DROPEFFECT_LINK;
    EXPECT_EQ(notify(DROP_ENTER, CF_TEXT, &overList), copyOrLink);
    EXPECT_EQ(notify(DROP_OVER, 0, &overOk), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(notify(DROP_OVER, 0, &overHeader), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(notify(DROP_OVER, 0, &overList), copyOrLink);  // the format from DROP_ENTER holds
    EXPECT_EQ(notify(DROP_ENTER, CF_HDROP, &overList), copyOrLink);
    EXPECT_EQ(notify(DROP_ENTER, CF_UNICODETEXT, &overList), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(notify(DROP_OVER, 0, &overList), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(notify(DROP_ENTER, 0, &overList), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(ItemCount(list_), 3);
}

namespace {
// Registers the dialog window with a drop target of its own as soon as it
// exists, so that the dialog's own registration fails.
HHOOK registerFirstHook;
HWND failingDialog;
LRESULT CALLBACK RegisterFirst(int code, WPARAM wp, LPARAM lp) {
    char cls[32] = "";
    if (code == HCBT_CREATEWND && GetClassNameA(HWND(wp), cls, sizeof cls) && std::string(cls) == "#32770") {
        const UINT formats[1] = {CF_TEXT};
        RegisterDropTarget(HWND(wp), WM_DROPNOTIFY, formats, 1);
        failingDialog = HWND(wp);
        UnhookWindowsHookEx(registerFirstHook);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
int errorBoxes;
std::string errorText;
void CALLBACK CloseErrorBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowA("#32770", "Error");
    if (!box || !IsWindowVisible(box)) return;
    ++errorBoxes;
    errorText = Text(GetDlgItem(box, 0xFFFF));
    SendMessageA(box, WM_COMMAND, IDOK, 0);
}
// Counts the focus given to a control of the failing dialog once its WM_INITDIALOG has
// returned. (The error box hands the focus back to its owner before that, and the
// dialog itself may take it as it is activated.)
bool failingDialogSetUp;
int focusAfterSetUp;
LRESULT CALLBACK CountFocus(int code, WPARAM wp, LPARAM lp) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lp);
    if (code == HC_ACTION && call->hwnd == failingDialog && call->message == WM_INITDIALOG) failingDialogSetUp = true;
    if (code == HC_ACTION && failingDialogSetUp && call->message == WM_SETFOCUS && call->hwnd != failingDialog &&
        GetAncestor(call->hwnd, GA_ROOT) == failingDialog)
        ++focusAfterSetUp;
    return CallNextHookEx(nullptr, code, wp, lp);
}
}  // namespace

// Both dialogs end at once when their drop target cannot be registered: after the one
// error box, nothing more is set up (the settings dialog's link is not made) and no
// control takes the focus.
TEST_F(SettingsDialog, FailedDropRegistrationShowsOneErrorAndEndsTheDialogThere) {
    const struct {
        int resource;
        DLGPROC procedure;
    } dialogs[] = {{IDD_SETTINGS, SettingsDialogProc}, {IDD_CHANNEL_EDITOR, ChannelEditorProc}};
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.resource);
        errorBoxes = focusAfterSetUp = 0;
        failingDialog = nullptr;
        failingDialogSetUp = false;
        linkFont.Reset();
        registerFirstHook = SetWindowsHookExA(WH_CBT, RegisterFirst, nullptr, GetCurrentThreadId());
        HHOOK focusHook = SetWindowsHookExA(WH_CALLWNDPROCRET, CountFocus, nullptr, GetCurrentThreadId());
        UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseErrorBox);
        const INT_PTR result = DialogBoxParamA(appInstance, MAKEINTRESOURCEA(d.resource), nullptr, d.procedure, 0);
        PumpFor(300);  // a second box would show up here
        KillTimer(nullptr, timer);
        UnhookWindowsHookEx(focusHook);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(errorBoxes, 1);
        EXPECT_EQ(errorText, "ドロップターゲットの登録に失敗しました。");
        EXPECT_TRUE(failingDialogSetUp);
        EXPECT_EQ(focusAfterSetUp, 0);
        EXPECT_FALSE(linkFont.Get());
    }
}

TEST_F(SettingsDialog, LinkFitsItsTextShowsTheHandAndOpensTheAddressKeepingTheDialog) {
    BrowserStandIn browser;
    ASSERT_TRUE(OpenSettings());
    HWND link = Item(IDC_LINK);
    RECT before;
    GetClientRect(link, &before);
    BringToTop(settings_);
    UpdateWindow(link);  // the label takes its text's size as it paints

    const std::string address = Text(link);
    EXPECT_EQ(address.rfind("https://", 0), 0u);
    EXPECT_TRUE(FontOf(WindowFont(link)).lfUnderline);
    SIZE text = {};
    HDC dc = GetDC(link);
    HGDIOBJ old = SelectObject(dc, linkFont.Get());
    GetTextExtentPoint32A(dc, address.c_str(), int(address.size()), &text);
    SelectObject(dc, old);
    ReleaseDC(link, dc);
    RECT after;
    GetClientRect(link, &after);
    EXPECT_LT(after.right, before.right);  // the template's 180 units are wider than the text
    EXPECT_EQ(after.right, text.cx);
    EXPECT_EQ(after.bottom, text.cy);

    EXPECT_EQ(SendMessageA(link, WM_SETCURSOR, WPARAM(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 0);
    EXPECT_EQ(GetCursor(), LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_LINK_CURSOR)));

    // A click on the label reaches the dialog through the static control's own handling.
    SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    const std::vector<std::string> links = LinksOpened(browser);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0], address);
    EXPECT_TRUE(IsWindowVisible(settings_));
}

// At 96 dpi the columns are as many pixels as given; a move to a monitor at 150 %
// makes them half as wide again. The link takes the underlined copy of any font the
// label is given (the dialog's rescaling gives it one) and, after a DPI change, of the
// dialog's own font.
TEST_F(SettingsDialog, ADpiChangeScalesTheColumnsAndTheLinkFollowsTheLabelsFont) {
    ASSERT_TRUE(OpenSettings());
    HWND link = Item(IDC_LINK);
    auto widths = [&] {
        std::string w;
        for (int i = 0; i < 3; ++i) w += std::to_string(SendMessageA(list_, LVM_GETCOLUMNWIDTH, WPARAM(i), 0)) + " ";
        return w;
    };
    auto linkHeight = [] {
        const LOGFONTA font = FontOf(static_cast<HFONT>(linkFont.Get()));
        return font.lfUnderline ? font.lfHeight : 0;
    };
    const LOGFONTA dialogFont = FontOf(WindowFont(settings_));
    EXPECT_EQ(widths(), "150 300 500 ");

    HFONT large = CreateFontA(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "IPAPGothic");
    SendMessageA(link, WM_SETFONT, WPARAM(large), TRUE);
    EXPECT_EQ(linkHeight(), -30);
    EXPECT_EQ(WindowFont(link), linkFont.Get());

    ChangeDpi(settings_, 144);
    PumpUntil([&] { return linkHeight() == dialogFont.lfHeight; }, 2000);  // it follows a posted message
    EXPECT_EQ(widths(), "225 450 750 ");
    EXPECT_EQ(linkHeight(), dialogFont.lfHeight) << "back to the dialog's font";
    DeleteObject(large);
}
