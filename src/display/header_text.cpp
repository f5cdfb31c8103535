#include "display/header_text.h"

#include "display/display_codes.h"

#include <cstdio>
#include <ctime>

std::string HeaderText(bool noChannels, const SiteEntry* channel, bool withTitle, bool withDate) {
    if (noChannels) return "表示するチャンネルがありません";
    std::string text;
    if (!channel) return text;
    if (withTitle) text += channel->title;
    if (withDate) {
        const std::time_t when = channel->content.fetched_at;
        const std::tm* local = std::localtime(&when);
        char stamp[64];
        std::snprintf(stamp, sizeof stamp, "(%d時%02d分取得)", local ? local->tm_hour : 0, local ? local->tm_min : 0);
        text += stamp;
    }
    return CutText(text, kMaxHeaderBytes);
}
