// The channel list's edits in any order, on any (also stale) selection: adding or
// replacing a URL, deleting rows, and a drag that drops at the end or on a row.
// Input: the number of channels to start with, then per edit a byte (modulo 5 the
// edit, divided by 5 an argument) and the bytes of its arguments; selections are a
// length and that many row numbers, which may repeat or lie outside the list.
//  - adding a URL replaces the first channel with exactly that link, or appends one;
//  - deleting removes the listed rows that exist, the others keep their order;
//  - a drop gives an order that is a permutation of the rows, the unmoved rows keep
//    their order, the moved ones stand together in the order of the selection, and
//    they are the rows selected after; a drop on no row moves nothing;
//  - any other order is applied only when it is a permutation, and refused otherwise.
#include "editor/channel_adding.h"
#include "fuzz_input.h"
#include "settings/channel_reorder.h"

#include <algorithm>
#include <set>

namespace {
// Each channel carries a name of its own, so a permutation can be told from a copy.
int serial = 0;
SiteEntry Site(int link) {
    SiteEntry s;
    s.title = std::to_string(serial++);
    s.link = "http://127.0.0.1/" + std::to_string(link);
    return s;
}

std::vector<int> Selection(FuzzInput& in) {
    std::vector<int> rows(in.Byte() % 8);
    for (int& r : rows) r = int(std::int8_t(in.Byte()));  // -128 to 127
    return rows;
}

std::vector<std::string> Names(const std::vector<SiteEntry>& sites) {
    std::vector<std::string> names;
    for (const SiteEntry& s : sites) names.push_back(s.title);
    return names;
}

// Applies a drop's result and checks it; `moves` is false for a target outside the rows.
void Drop(std::vector<SiteEntry>& sites, const ChannelReorder& r, const std::vector<int>& selection, bool moves) {
    const int n = int(sites.size());
    const std::vector<std::string> before = Names(sites);
    FUZZ_CHECK(IsPermutation(r.order, sites.size()));
    FUZZ_CHECK(ApplyOrder(sites, r.order));
    FUZZ_CHECK(r.visibleRow < n && r.selectionMark < n);
    if (!moves) {
        FUZZ_CHECK(Names(sites) == before && r.selected.empty());
        return;
    }
    // The moved rows: each row of the selection that exists, once, in the selection's order.
    std::vector<int> moved;
    for (int i : selection)
        if (i >= 0 && i < n && std::find(moved.begin(), moved.end(), i) == moved.end()) moved.push_back(i);
    FUZZ_CHECK(r.selected.size() == moved.size());
    if (moved.empty()) {
        FUZZ_CHECK(Names(sites) == before);
        return;
    }
    for (std::size_t k = 0; k < moved.size(); ++k) {
        FUZZ_CHECK(r.selected[k] == r.selected[0] + int(k));  // together
        FUZZ_CHECK(sites[std::size_t(r.selected[k])].title == before[std::size_t(moved[k])]);
    }
    // The others keep their order around them.
    std::vector<std::string> others, othersAfter;
    for (int i = 0; i < n; ++i)
        if (std::find(moved.begin(), moved.end(), i) == moved.end()) others.push_back(before[std::size_t(i)]);
    for (int i = 0; i < n; ++i)
        if (i < r.selected.front() || i > r.selected.back()) othersAfter.push_back(sites[std::size_t(i)].title);
    FUZZ_CHECK(others == othersAfter);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::vector<SiteEntry> sites;
    for (int i = in.Byte() % 16; i > 0; --i) sites.push_back(Site(int(sites.size())));

    for (int edits = 0; !in.Empty() && edits < 200; ++edits) {
        const std::uint8_t e = in.Byte();
        const int arg = e / 5;
        switch (e % 5) {
        case 0: {  // add or replace, by one of a few links so that some are already there
            const std::vector<SiteEntry> before = sites;
            SiteEntry entry = Site(arg % 24);
            const std::string name = entry.title, link = entry.link;
            const std::size_t row = AddOrReplaceSite(sites, std::move(entry));
            std::size_t first = 0;
            while (first < before.size() && before[first].link != link) ++first;
            FUZZ_CHECK(row == first && row < sites.size() && sites[row].title == name);
            FUZZ_CHECK(sites.size() == before.size() + (first == before.size() ? 1 : 0));
            for (std::size_t i = 0; i < before.size(); ++i)
                if (i != row) FUZZ_CHECK(sites[i].title == before[i].title);
            break;
        }
        case 1: {  // delete the selected rows
            const std::vector<std::string> before = Names(sites);
            const std::vector<int> rows = Selection(in);
            std::vector<std::size_t> listed;
            for (int r : rows) listed.push_back(std::size_t(r));  // negative rows become huge ones
            DeleteSites(sites, listed);
            std::vector<std::string> kept;
            for (std::size_t i = 0; i < before.size(); ++i)
                if (std::find(listed.begin(), listed.end(), i) == listed.end()) kept.push_back(before[i]);
            FUZZ_CHECK(Names(sites) == kept);
            break;
        }
        case 2: {  // dropped below the rows
            const std::vector<int> selection = Selection(in);
            const ChannelReorder r = DropAtEnd(int(sites.size()), selection);
            Drop(sites, r, selection, true);
            FUZZ_CHECK(r.selected.empty() || r.selected.back() == int(sites.size()) - 1);
            break;
        }
        case 3: {  // dropped on a row; the anchor and the target may be any row, or none
            const std::vector<int> selection = Selection(in);
            const int anchor = int(std::int8_t(in.Byte())), target = int(std::int8_t(in.Byte()));
            const int n = int(sites.size());
            const ChannelReorder r = DropOnRow(n, selection, anchor, target);
            // Before the target when the drag began at or below it, after it when above.
            const int insertAt = target + (anchor < target ? 1 : 0);
            int before = 0;
            for (int i = 0; i < std::min(insertAt, n); ++i)
                before += std::find(selection.begin(), selection.end(), i) == selection.end();
            Drop(sites, r, selection, target >= 0 && target < n);
            if (!r.selected.empty()) FUZZ_CHECK(r.selected.front() == before);
            break;
        }
        case 4: {  // any order at all: applied when it is a permutation, else refused
            std::vector<int> order(std::size_t(arg % 20));
            for (int& i : order) i = int(std::int8_t(in.Byte()));
            std::vector<bool> seen(sites.size(), false);
            bool permutation = order.size() == sites.size();
            for (int i : order) {
                permutation = permutation && i >= 0 && std::size_t(i) < sites.size() && !seen[std::size_t(i)];
                if (permutation) seen[std::size_t(i)] = true;
            }
            const std::vector<std::string> before = Names(sites);
            FUZZ_CHECK(IsPermutation(order, sites.size()) == permutation);
            FUZZ_CHECK(ApplyOrder(sites, order) == permutation);
            for (std::size_t k = 0; k < sites.size(); ++k)
                FUZZ_CHECK(sites[k].title == before[permutation ? std::size_t(order[k]) : k]);
            break;
        }
        }
    }
    return 0;
}
