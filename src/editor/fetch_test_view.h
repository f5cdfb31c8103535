#pragma once
// What the channel editor's fetch test shows for one fetch: the channel's name
// and description and one row per item, or the failure line.
#include "config/settings.h"

#include <string>
#include <vector>

extern const char kFetchFailedText[];  // "  --- 取得に失敗しました ---"

struct FetchTestView {
    bool ok = false;                // beeps MB_OK when set, MB_ICONHAND otherwise
    std::string channel_name;       // the channel's title, or the failure line
    std::string description;        // empty on failure
    std::vector<std::string> rows;  // item titles in order; none on failure
};

// A feed that loaded is a success. A site list is a failure here: the test
// shows what one channel holds, and a site list is not one.
FetchTestView ViewFetchTest(const ChannelContent& content);
