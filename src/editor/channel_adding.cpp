#include "editor/channel_adding.h"

#include <algorithm>
#include <set>

namespace {
struct SiteListWalk {
    const ChannelAddingSteps& steps;
    std::vector<SiteEntry>& sites;
    std::set<std::string> followed;  // site lists already fetched in this call

    void Add(const std::string& url, int depth) {
        if (followed.count(url)) {
            steps.beep(false);
            return;
        }
        ChannelContent content = steps.fetch(url);
        if (content.is_site_list) {
            Follow(url, content, depth);
            return;
        }
        steps.beep(content.valid);
        steps.takeChecks();
        SiteEntry entry;
        entry.title = content.title;
        entry.link = url;
        entry.description = content.description;
        entry.check = content.valid;
        entry.content = std::move(content);
        steps.show(AddOrReplaceSite(sites, std::move(entry)));
    }

    void Follow(const std::string& url, const ChannelContent& list, int depth) {
        followed.insert(url);
        const bool tooDeep = depth >= kMaxSiteListDepth;
        steps.beep(!tooDeep);
        if (tooDeep) return;
        for (const FeedItem& site : list.items) {
            Add(site.link, depth + 1);
            steps.repaint();
        }
    }
};
}  // namespace

std::size_t AddOrReplaceSite(std::vector<SiteEntry>& sites, SiteEntry entry) {
    for (std::size_t k = 0; k < sites.size(); ++k) {
        if (sites[k].link == entry.link) {
            sites[k] = std::move(entry);
            return k;
        }
    }
    sites.push_back(std::move(entry));
    return sites.size() - 1;
}

void AddChannel(std::vector<SiteEntry>& sites, const std::string& url, const ChannelAddingSteps& steps) {
    SiteListWalk walk{steps, sites, {}};
    walk.Add(url, 0);
}

void DeleteSites(std::vector<SiteEntry>& sites, std::vector<std::size_t> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        if (*row < sites.size()) sites.erase(sites.begin() + std::ptrdiff_t(*row));
}
