#include "display/header_text.h"

#include "display/display_codes.h"

#include <cstdio>
#include <ctime>

namespace {
// Code page 932 bytes (see common/cp932.h).
const char kNoChannelsText[] =  // "表示するチャンネルがありません"
    "\x95\x5C\x8E\xA6\x82\xB7\x82\xE9\x83\x60\x83\x83\x83\x93\x83\x6C\x83\x8B\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9"
    "\x82\xF1";
const char kFetchTimeFormat[] = "(%d\x8E\x9E%02d\x95\xAA\x8E\xE6\x93\xBE)";  // "(%d時%02d分取得)"
}  // namespace

std::string HeaderText(bool noChannels, const SiteEntry* channel, bool withTitle, bool withDate) {
    if (noChannels) return kNoChannelsText;
    std::string text;
    if (!channel) return text;
    if (withTitle) text += channel->title;
    if (withDate) {
        const std::time_t when = channel->content.fetched_at;
        const std::tm* local = std::localtime(&when);
        char stamp[64];
        std::snprintf(stamp, sizeof stamp, kFetchTimeFormat, local ? local->tm_hour : 0, local ? local->tm_min : 0);
        text += stamp;
    }
    return CutText(text, kMaxHeaderBytes);
}
