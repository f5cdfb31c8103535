// kvt.scr on a Windows whose language for non-Unicode programs is not Japanese: under
// the C.UTF-8 locale Wine gives a process code page 1252, as such a Windows does, unless
// the program's manifest asks for another. Texts are read back as UTF-16, so what is
// compared is what the user sees, not bytes in some code page.
#include "e2e.h"
#include "feed_server.h"
#include "list_view_text.h"
#include "res/resource.h"
#include "screen_reference.h"
#include "test_paths.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const char kJapanese[] = "ja_JP.UTF-8";
const char kOther[] = "C.UTF-8";

std::wstring Wide(const std::string& cp932) {
    std::wstring out(cp932.size(), L'\0');
    out.resize(size_t(MultiByteToWideChar(932, 0, cp932.data(), int(cp932.size()), &out[0], int(out.size()))));
    return out;
}

std::wstring TextOf(HWND w) {
    wchar_t buf[512] = L"";
    SendMessageW(w, WM_GETTEXT, 512, LPARAM(buf));  // marshalled across processes
    return buf;
}

SaverSettings JapaneseChannels() {
    SaverSettings s = WithChannels(
        {Channel("速報ニュース", "http://127.0.0.1:9/0.rdf"), Channel("ﾃﾝｷ 天気", "http://127.0.0.1:9/1.rdf", false)});
    s.sites[0].description = "日本語の説明";
    s.font_face = "ＭＳ 明朝";  // not offered under Wine: the list starts without a selection
    return s;
}

// The first window of the process with this title, by its text as UTF-16.
HWND WaitForTitled(const SaverRun& run, const std::wstring& title) {
    HWND found = nullptr;
    PumpUntil([&] {
        HWND w = run.WaitForWindow("#32770", 0);
        found = w && TextOf(w) == title ? w : nullptr;
        return found || !run.IsRunning();
    });
    return found;
}

BOOL CALLBACK AddText(HWND w, LPARAM texts) {
    reinterpret_cast<std::vector<std::wstring>*>(texts)->push_back(TextOf(w));
    return TRUE;
}

// Everything the settings dialog shows as text: its title, each control's text, the
// channel list's column titles and cells.
std::vector<std::wstring> DialogTexts(HWND dialog) {
    std::vector<std::wstring> texts = {TextOf(dialog)};
    EnumChildWindows(dialog, AddText, LPARAM(&texts));
    HWND list = GetDlgItem(dialog, IDC_CHANNEL_LIST);
    for (int c = 0; c < 3; ++c) texts.push_back(RemoteColumnTitle(list, c));
    for (int i = 0; i < int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); ++i)
        for (int c = 0; c < 3; ++c) texts.push_back(RemoteListCell(list, i, c));
    return texts;
}

struct DialogSeen {
    std::vector<std::wstring> texts;
    Screenshot pixels;
};

DialogSeen OpenAndLook(const char* locale) {
    DialogSeen seen;
    SaverRun run(ConfigFile(JapaneseChannels()));
    EXPECT_TRUE(run.StartUnderLocale("/c", locale));
    HWND dialog = WaitForTitled(run, L"KVT v1.0 設定");
    if (!dialog) return seen;
    const Screenshot screen = CaptureSettingsDialog(dialog);
    if (screen.pixels.empty()) return seen;
    seen.texts = DialogTexts(dialog);
    RECT r;
    GetWindowRect(dialog, &r);
    seen.pixels = Crop(screen, r);
    seen.pixels.SaveBmp(BuildPath(std::string("e2e-locale-dialog-") + locale + ".bmp"));
    PostTo(dialog, WM_COMMAND, IDCANCEL);
    run.WaitForExit(15000);
    return seen;
}

}  // namespace

TEST(OtherLocale, TheSettingsDialogShowsWhatItShowsUnderJapanese) {
    const DialogSeen japanese = OpenAndLook(kJapanese), other = OpenAndLook(kOther);
    ASSERT_FALSE(japanese.texts.empty());
    EXPECT_EQ(other.texts, japanese.texts);
    for (const std::wstring expected : {L"ヘッダチャンネル名表示", L"速報ニュース", L"ﾃﾝｷ 天気", L"日本語の説明"})
        EXPECT_NE(std::find(other.texts.begin(), other.texts.end(), expected), other.texts.end());

    ASSERT_EQ(other.pixels.pixels.size(), japanese.pixels.pixels.size());
    size_t differing = 0;
    for (size_t i = 0; i < other.pixels.pixels.size(); ++i)
        differing += other.pixels.pixels[i] != japanese.pixels.pixels[i];
    const double share = 100.0 * double(differing) / double(other.pixels.pixels.size());
    RecordProperty("differing_pixels_percent", std::to_string(share));
    EXPECT_LT(share, 0.2) << "of the dialog's pixels differ";
}

TEST(OtherLocale, JapaneseNamesAndTheChosenFontAreSavedAndASaveFailureReads) {
    SaverSettings settings = JapaneseChannels();
    {
        SaverRun run(ConfigFile(settings));
        ASSERT_TRUE(run.StartUnderLocale("/c", kOther));
        HWND dialog = WaitForTitled(run, L"KVT v1.0 設定");
        ASSERT_NE(dialog, nullptr);
        // The faces offered here have names in the user's language, which is English.
        HWND font = GetDlgItem(dialog, IDC_FONT);
        ASSERT_EQ(SendMessageW(font, CB_SETCURSEL, 1, 0), 1);
        wchar_t face[LF_FULLFACESIZE + 1] = L"";
        SendMessageW(font, CB_GETLBTEXT, 1, LPARAM(face));
        PostTo(dialog, WM_COMMAND, IDOK);
        DWORD code = 0;
        ASSERT_TRUE(run.WaitForExit(15000, &code));
        EXPECT_EQ(code, 1u);
        char cp932[2 * LF_FULLFACESIZE + 1] = "";
        WideCharToMultiByte(932, 0, face, -1, cp932, sizeof cp932, nullptr, nullptr);
        settings.font_face = cp932;
        EXPECT_EQ(ReadFileBytes(run.ConfigPath()), ConfigFile(settings));
    }
    // A folder where kvtini.xml should be cannot be saved over.
    SaverRun run;
    ASSERT_TRUE(CreateDirectoryA(run.ConfigPath().c_str(), nullptr));
    ASSERT_TRUE(run.StartUnderLocale("/c", kOther));
    HWND dialog = WaitForTitled(run, L"KVT v1.0 設定");
    ASSERT_NE(dialog, nullptr);
    PostTo(dialog, WM_COMMAND, IDOK);
    HWND box = WaitForTitled(run, L"Error");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), L"設定を保存できませんでした。\n" + Wide(run.ConfigPath()));
    PostTo(box, WM_COMMAND, IDOK);
    EXPECT_TRUE(run.WaitForExit(15000));
}

// A Japanese feed's item, drawn exactly as our painting code draws it.
TEST(OtherLocale, TheSaverPaintsAJapaneseItemAsUnderJapanese) {
    SaverRun run(ConfigFile(WithChannels({Channel("文字", FeedServerUrl("/feeds/utf8.xml"))}, 99, false)));
    ASSERT_TRUE(run.StartUnderLocale("/s", kOther));
    HWND window = run.WaitForWindow(kSaverClass);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PumpUntil([] { return FirstInkRow(CaptureScreen()) >= 0; })) << "no title screen";
    PostTo(window, WM_KEYDOWN, 'A');  // leaves the title screen
    const Screenshot shot = WaitForColour();
    SaverScreen expected;
    expected.item = ToDisplayCodes("ニュース一番");
    expected.colour = RGB(0, 0, 0);
    for (std::uint32_t c : shot.pixels)
        if (Red(c) + Green(c) + Blue(c) > Red(expected.colour) + Green(expected.colour) + Blue(expected.colour))
            expected.colour = RGB(Red(c), Green(c), Blue(c));
    expected.font_face = SaverSettings().font_face;
    EXPECT_TRUE(SameTextAt(shot, Reference(expected, shot.width, shot.height), "other-locale"));
}

// Windows 10 knows no locale name in the manifest and keeps the system's code page (or
// UTF-8, when its worldwide-language option is on). Both are emulated with a copy of
// kvt.scr whose manifest says so: the settings explain themselves once, then open.
TEST(OtherLocale, WithoutCodePage932TheSettingsFirstSayWhyInBothLanguages) {
    const struct {
        const char* name;
        std::string from, to;
    } manifests[] = {
        {"the element unknown", "activeCodePage", "activeCodePagX"},
        {"UTF-8", ">ja-JP<", ">UTF-8<"},
    };
    for (const auto& m : manifests) {
        SCOPED_TRACE(m.name);
        SaverRun run(ConfigFile(JapaneseChannels()));
        std::string image = ReadFileBytes(run.SaverPath());
        for (size_t at = image.find(m.from); at != std::string::npos; at = image.find(m.from, at))
            image.replace(at, m.from.size(), m.to);
        ASSERT_TRUE(WriteFileBytes(run.SaverPath(), image));
        ASSERT_TRUE(run.StartUnderLocale("/c", kOther));

        HWND notice = WaitForTitled(run, L"Tavelo's Rss Screensaver");
        ASSERT_NE(notice, nullptr);
        const std::wstring text = TextOf(GetDlgItem(notice, 0xFFFF));
        EXPECT_EQ(text.find(L"この Windows では、設定の画面を正しく表示するには"), 0u) << "Japanese first";
        EXPECT_NE(text.find(L"On this Windows, the settings need Japanese"), std::wstring::npos);
        PostTo(notice, WM_COMMAND, IDOK);

        HWND dialog = nullptr;
        ASSERT_TRUE(PumpUntil([&] {
            dialog = run.WaitForWindow("#32770", 0);
            return dialog && dialog != notice;
        }));
        EXPECT_NE(TextOf(dialog), L"Tavelo's Rss Screensaver") << "the notice shows once";
        PostTo(dialog, WM_COMMAND, IDCANCEL);
        DWORD code = 99;
        EXPECT_TRUE(run.WaitForExit(15000, &code));
        EXPECT_EQ(code, 0u);
    }
}
