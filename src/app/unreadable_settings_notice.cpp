#include "app/unreadable_settings_notice.h"

#include "config/unreadable_settings.h"
#include "settings/settings_dialog.h"

bool NoticeUnreadableSettings(HWND owner, const std::string& path) {
    const std::string copy = KeepUnreadableSettings(path);
    std::string text = "設定ファイルを読み込めませんでした。\n" + path + "\n\n";
    if (copy.empty()) {
        text += "このファイルの写しを作れなかったため、OK を押してもこのファイルは書き換えません。\n\n";
    } else {
        text += "このファイルは次の名前で残しました。\n" + copy + "\n\n";
    }
    text += "設定の画面は既定の設定で開きます。";
    // The owner comes from the command line or is the window that was in front when the
    // program started, which may have gone since: a box without a living owner is never
    // shown, so it then has none.
    MessageBoxA(IsWindow(owner) ? owner : nullptr, text.c_str(), kSettingsCaption, MB_OK | MB_ICONWARNING);
    return !copy.empty();
}
