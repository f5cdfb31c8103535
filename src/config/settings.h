#pragma once
// The records everything else works on: the options with the channel list,
// one configured channel, one fetch of a channel and one item. All text is
// code page 932; all lists are ordered and addressed by position.
#include <ctime>
#include <string>
#include <vector>

struct FeedItem {
    std::string title;
    std::string link;  // opened in the browser when the user picks the item
};

struct ChannelContent {
    bool valid = false;          // loaded and recognised (a feed with a channel, or a site list)
    bool is_site_list = false;   // the document was a configuration file; items are its sites
    std::time_t fetched_at = 0;  // when the fetch began, failed fetches included; 0 = never
    std::string title;
    std::string link;
    std::string description;
    std::vector<FeedItem> items;
};

struct SiteEntry {
    std::string title;
    std::string link;  // the feed URL; identifies a channel when a URL is added
    std::string description;
    bool check = false;      // enabled
    ChannelContent content;  // the latest fetch; never written to the file
};

// The range a read file's interval is held to, and that the settings dialog's arrows reach.
struct IntervalRange {
    int least, most;
    constexpr int Clamp(int value) const { return value < least ? least : value > most ? most : value; }
};
constexpr IntervalRange kDispIntervalRange = {1, 99};   // seconds per item
constexpr IntervalRange kLoadIntervalRange = {1, 999};  // minutes between fetches

struct SaverSettings {
    bool disp_header_title = true;
    bool disp_header_date = true;
    int disp_interval = 5;   // seconds per item, within kDispIntervalRange after loading
    int load_interval = 60;  // minutes before a channel is fetched again, within kLoadIntervalRange after loading
    // "ＭＳ Ｐゴシック" as code page 932 bytes (see common/cp932.h)
    std::string font_face = "\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";
    std::vector<SiteEntry> sites;
};

// The one set of settings of the process.
extern SaverSettings saverSettings;
