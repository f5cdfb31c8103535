#include "app/code_page_notice.h"

namespace {

const wchar_t kCaption[] = L"Tavelo's Rss Screensaver";
const wchar_t kText[] =
    L"この Windows では、設定の画面を正しく表示するには、Unicode 対応ではないプログラムの言語を日本語にする"
    L"必要があります。\n"
    L"コントロール パネル → 時計と地域 → 地域 → 管理 → システム ロケールの変更 で「日本語 (日本)」を選び、"
    L"「ベータ: ワールドワイド言語サポートで Unicode UTF-8 を使用」をオフにして、Windows を再起動してください。\n"
    L"\n"
    L"On this Windows, the settings need Japanese as the language for non-Unicode programs to be shown "
    L"correctly.\n"
    L"In Control Panel → Clock and Region → Region → Administrative → Change system locale, choose "
    L"\"Japanese (Japan)\", clear \"Beta: Use Unicode UTF-8 for worldwide language support\", and restart Windows.";

}  // namespace

void NoticeWhenNotJapaneseCodePage(HWND owner) {
    if (GetACP() != 932) MessageBoxW(owner, kText, kCaption, MB_OK | MB_ICONWARNING);
}
