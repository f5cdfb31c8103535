#include "editor/fetch_test_view.h"

const char kFetchFailedText[] = "  --- 取得に失敗しました ---";

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
