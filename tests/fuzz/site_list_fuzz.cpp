// Adding a URL that may be a site list, over a fake web of feeds and site lists with
// cycles and depth. Input: the number of documents (1 to 16); per document a byte
// (modulo 4: a feed, a feed that fails, or a site list; divided by 4, modulo 8: how many
// sites a list names) and one byte per named site (a document, or past them an address
// that cannot be fetched); the number of channels already listed and one byte each
// for their document; then the document whose address is added.
//  - the walk ends, having fetched no site list twice, and never more documents than
//    the site lists it followed name, plus the first;
//  - it follows site lists eight deep, and fetches nothing deeper;
//  - each feed it reaches is shown in the row that holds its address, enabled when the
//    fetch succeeded; the channels it did not reach keep their place and content.
#include "editor/channel_adding.h"
#include "fuzz_input.h"

#include <map>
#include <set>

namespace {

struct Document {
    int kind = 0;  // 0 a feed, 1 a feed that fails, 2 and 3 a site list
    std::vector<std::string> sites;
};

std::string Address(int document) { return "http://127.0.0.1/" + std::to_string(document); }

struct Walk {
    std::map<std::string, Document> web;
    std::vector<SiteEntry>* sites = nullptr;
    std::map<std::string, int> fetched;  // how often each address was fetched
    std::vector<int> open;               // per site list being followed: its sites still to come
    bool listJustFetched = false;        // the next beep says whether that list is followed
    std::size_t listSize = 0;
    std::string lastFetched;
    bool lastValid = false, checksTaken = false;
    std::size_t fetches = 0, bound = 1;

    ChannelAddingSteps Steps() {
        ChannelAddingSteps steps;
        steps.fetch = [this](const std::string& url) {
            FUZZ_CHECK(!listJustFetched);
            FUZZ_CHECK(open.size() <= std::size_t(kMaxSiteListDepth));  // nothing deeper
            ++fetches;
            FUZZ_CHECK(fetches <= bound);
            ++fetched[url];
            lastFetched = url;
            lastValid = checksTaken = false;
            ChannelContent c;
            const auto found = web.find(url);
            if (found == web.end() || found->second.kind == 1) return c;
            c.valid = true;
            c.title = "t" + url;
            if (found->second.kind >= 2) {
                FUZZ_CHECK(fetched[url] == 1);  // no site list twice
                c.is_site_list = true;
                for (const std::string& site : found->second.sites) c.items.push_back({"", site});
                listJustFetched = true;
                listSize = c.items.size();
            }
            lastValid = c.valid;
            return c;
        };
        steps.beep = [this](bool ok) {
            if (!listJustFetched) return;
            listJustFetched = false;
            // Followed as long as it lies less than eight deep.
            FUZZ_CHECK(ok == (open.size() < std::size_t(kMaxSiteListDepth)));
            if (ok) bound += listSize;
            if (ok && listSize > 0) open.push_back(int(listSize));
        };
        steps.takeChecks = [this] { checksTaken = true; };
        steps.show = [this](std::size_t row) {
            FUZZ_CHECK(checksTaken);
            FUZZ_CHECK(row < sites->size());
            const SiteEntry& e = (*sites)[row];
            FUZZ_CHECK(e.link == lastFetched && e.check == lastValid && e.content.valid == lastValid);
            for (std::size_t i = 0; i < row; ++i) FUZZ_CHECK((*sites)[i].link != lastFetched);
        };
        steps.repaint = [this] {
            FUZZ_CHECK(!open.empty());
            if (--open.back() == 0) open.pop_back();  // that list's sites are done
        };
        return steps;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    Walk walk;
    const int documents = 1 + in.Byte() % 16;
    for (int d = 0; d < documents; ++d) {
        Document doc;
        const std::uint8_t b = in.Byte();
        doc.kind = b % 4;
        if (doc.kind >= 2)
            for (int k = b / 4 % 8; k > 0; --k) doc.sites.push_back(Address(in.Byte() % (documents + 2)));
        walk.web[Address(d)] = doc;
    }
    std::vector<SiteEntry> sites;
    for (int i = in.Byte() % 8; i > 0; --i) {
        SiteEntry s;
        s.link = Address(in.Byte() % (documents + 2));
        s.title = "before " + std::to_string(sites.size());
        sites.push_back(s);
    }
    const std::vector<SiteEntry> before = sites;
    walk.sites = &sites;
    const std::string url = Address(in.Byte() % (documents + 2));

    AddChannel(sites, url, walk.Steps());
    FUZZ_CHECK(walk.open.empty() && !walk.listJustFetched);

    // The rows it started with: replaced in place when a feed it reached has their
    // address (the first such row only), else untouched. New rows follow, one per address.
    FUZZ_CHECK(sites.size() >= before.size());
    std::set<std::string> seen;
    for (std::size_t i = 0; i < sites.size(); ++i) {
        const auto document = walk.web.find(sites[i].link);
        const bool reached =
            walk.fetched.count(sites[i].link) && (document == walk.web.end() || document->second.kind < 2);
        const bool firstOfItsLink = seen.insert(sites[i].link).second;
        if (i < before.size()) {
            FUZZ_CHECK(sites[i].link == before[i].link);
            if (!(reached && firstOfItsLink)) FUZZ_CHECK(sites[i].title == before[i].title);
        } else {
            FUZZ_CHECK(firstOfItsLink && walk.fetched.count(sites[i].link));
        }
    }
    return 0;
}
