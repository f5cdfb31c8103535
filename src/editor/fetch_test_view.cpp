#include "editor/fetch_test_view.h"

// "  --- 取得に失敗しました ---" as code page 932 bytes (see common/cp932.h).
const char kFetchFailedText[] = "  --- \x8E\xE6\x93\xBE\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD ---";

FetchTestView ViewFetchTest(const ChannelContent& content) {
    FetchTestView view;
    if (!content.valid || content.is_site_list) {
        view.channel_name = kFetchFailedText;
        return view;
    }
    view.ok = true;
    view.channel_name = content.title;
    view.description = content.description;
    view.rows.reserve(content.items.size());
    for (const FeedItem& item : content.items) view.rows.push_back(item.title);
    return view;
}
