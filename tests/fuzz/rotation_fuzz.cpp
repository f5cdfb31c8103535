// The rotation driven by a byte-coded sequence of timer ticks, keys, fetch completions
// and clock jumps, with fetches that end whenever the input says (or never).
// Input: the number of channels (0 to 8), the display interval, the update interval
// (two bytes), one byte per channel for the kind of its link, then one byte per event:
// its low three bits pick one tick, several ticks, a key (twice as often as the rest),
// Enter, the end of a fetch under way, a clock jump, or a next fetch that ends at once;
// the high bits and, for the last three, the byte after say which, how far or how.
//  - the current channel is always one of the list;
//  - what the screen shows is the current item: its title's codes, once items are shown;
//  - at most one fetch per channel is under way, and none holds the screen longer
//    than the time-out: 30 ticks of the one-second timer;
//  - Enter yields the link of the item on screen, without surrounding blanks, when it
//    is a web address the shell may open, and nothing otherwise.
#include "app/link_rule.h"
#include "display/rotation.h"
#include "display/rotation_probe.h"
#include "fuzz_input.h"

#include <cstring>
#include <deque>
#include <map>
#include <set>

namespace {

std::string AnyLink(int kind, const std::string& id) {
    switch (kind % 8) {
    case 0: return "http://127.0.0.1/" + id;
    case 1: return " HTTPS://127.0.0.1/" + id + "\t";
    case 2: return "javascript:" + id;
    case 3: return "http://127.0.0.1/" + id + "/" + std::string(1100, 'x');
    case 4: return "http://127.0.0.1/" + id + " x";
    case 5: return "file:///c:/" + id;
    case 6: return "http://127.0.0.1/\x82\xA0" + id + "\"";
    default: return "http://127.0.0.1/" + id + "\x01";
    }
}

// Links of every kind the rule must tell apart; the web addresses among them go to `web`.
std::string Link(int kind, const std::string& id, std::set<std::string>& web) {
    const std::string link = AnyLink(kind, id);
    if (kind % 8 < 2) web.insert(link);
    return link;
}

struct Fetch {
    std::size_t channel;
    std::time_t started;
    FetchDone done;
};

struct Saver {
    SaverSettings settings;
    std::map<std::string, std::size_t> channelOf;  // links are told apart by the channel's name in them
    std::set<std::string> web;                     // the links that are plain web addresses
    std::vector<int> running;                      // fetches under way, per channel
    std::deque<Fetch> fetches;                     // those whose end has not come yet
    std::time_t clock = 1700000000;
    bool atOnce = false;      // the next fetch ends inside startFetch, with `result`
    std::uint8_t result = 0;  // how a fetch ends
    int waitingTicks = 0;     // ticks seen while the last fetch begun held the screen
    unsigned random = 1;

    ChannelContent Content(std::size_t channel, std::time_t started, std::uint8_t how) {
        ChannelContent c;
        c.fetched_at = started;
        if (how % 4 == 0) return c;  // failed
        c.valid = true;
        c.title = "feed";
        const int items = how % 4 == 1 ? 0 : 1 + how / 4 % 8;
        for (int k = 0; k < items; ++k) {
            const std::string id = "c" + std::to_string(channel) + "i" + std::to_string(k);
            c.items.push_back({id + (k % 2 ? " \x81\x40\x82" : ""), Link(how / 32 + k, id, web)});
        }
        return c;
    }

    RotationPlatform Platform() {
        return {
            [this](const std::string& url, FetchDone done) {
                const std::size_t channel = channelOf.at(url);
                FUZZ_CHECK(running[channel] == 0);  // at most one fetch per channel
                if (atOnce) {
                    atOnce = false;
                    done(Content(channel, clock, result));
                    return;
                }
                ++running[channel];
                fetches.push_back({channel, clock, std::move(done)});
                waitingTicks = 0;  // a step waits for this one now
            },
            [this] { return clock; },
            [this] { return int((random = random * 1103515245 + 12345) >> 16 & 0x7FFF); },
            [] {},
        };
    }

    void EndFetch(std::size_t which, std::uint8_t how) {
        Fetch f = std::move(fetches[which % fetches.size()]);
        fetches.erase(fetches.begin() + std::ptrdiff_t(which % fetches.size()));
        --running[f.channel];
        f.done(Content(f.channel, f.started, how));
    }
};

void Key(Rotation& r, int key) {
    if (r.State() == DisplayState::TitleScreen) {
        r.Tick();  // a key on the title screen starts the rotation
        return;
    }
    if (r.State() != DisplayState::ShowingItems) return;
    if (key < 2)
        r.StepItem(key == 0 ? -1 : +1);
    else
        r.StepChannel(key == 2 ? -1 : +1);
    r.ShowCurrentItem();
}

void CheckScreen(const Rotation& r, const Saver& saver) {
    const std::size_t n = saver.settings.sites.size();
    if (n > 0 && r.State() != DisplayState::TitleScreen) FUZZ_CHECK(RotationProbe::CurrentChannelIndex(r) < n);
    if (r.ScreenState() == DisplayState::ShowingItems) {
        const FeedItem* item = r.CurrentItem();
        FUZZ_CHECK(item != nullptr);
        FUZZ_CHECK(r.ItemCodes() == ToDisplayCodes(item->title));
    }
    if (r.State() == DisplayState::NoChannels) FUZZ_CHECK(n == 0);
}

void Enter(const Rotation& r, const Saver& saver) {
    const FeedItem* item = r.CurrentItem();
    char chosen[kLinkBufferSize];
    const bool accepted = AcceptLink(item ? item->link.c_str() : "", chosen);
    if (!item) {
        FUZZ_CHECK(!accepted && chosen[0] == '\0');
        return;
    }
    FUZZ_CHECK(r.ScreenState() == DisplayState::ShowingItems);
    FUZZ_CHECK(accepted == (saver.web.count(item->link) == 1));
    std::string link = item->link;
    link.erase(0, link.find_first_not_of(" \t\r\n"));
    link.erase(link.find_last_not_of(" \t\r\n") + 1);
    FUZZ_CHECK(std::string(chosen) == (accepted ? link : std::string()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    Saver saver;
    const int channels = in.Byte() % 9;
    saver.settings.disp_interval = 1 + in.Byte() % 99;
    saver.settings.load_interval = 1 + int(in.Bits(2) % 999);
    for (int i = 0; i < channels; ++i) {
        const std::string id = "ch" + std::to_string(i);
        SiteEntry site;
        site.title = id;
        site.link = Link(in.Byte(), id, saver.web);
        site.check = true;
        saver.channelOf[site.link] = std::size_t(i);
        saver.settings.sites.push_back(site);
    }
    saver.running.assign(std::size_t(channels), 0);
    Rotation rotation(saver.settings, saver.Platform());

    for (int events = 0; !in.Empty() && events < 2000; ++events) {
        const std::uint8_t e = in.Byte();
        const int how = e >> 3;
        switch (e & 7) {
        case 0:
        case 1:
            for (int t = (e & 7) == 0 ? 1 : 1 + how; t > 0; --t) {
                ++saver.clock;
                if (RotationProbe::FetchInFlight(rotation)) ++saver.waitingTicks;
                rotation.Tick();
                // The tick that finds 30 seconds gone ends the wait.
                FUZZ_CHECK(!RotationProbe::FetchInFlight(rotation) || saver.waitingTicks < kFetchTimeoutSeconds);
                CheckScreen(rotation, saver);
            }
            break;
        case 2: Key(rotation, how % 4); break;
        case 3: Enter(rotation, saver); break;
        case 4:
            if (!saver.fetches.empty()) saver.EndFetch(how, in.Byte());
            break;
        case 5: {  // the clock set forward or back
            const std::time_t jump = std::time_t(in.Byte()) * 60 * (1 + how / 2);
            saver.clock += how % 2 ? -jump : jump;
            break;
        }
        case 6:  // the next fetch ends at once
            saver.atOnce = true;
            saver.result = std::uint8_t(how | in.Byte() << 5);
            break;
        case 7: Key(rotation, how % 4); break;
        }
        CheckScreen(rotation, saver);
    }
    return 0;
}
