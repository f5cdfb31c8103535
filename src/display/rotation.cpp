#include "display/rotation.h"

#include "version.h"

#include <utility>

const char* const kProductTitle = "Tavelo's Rss Screensaver v" KVT_PRODUCT_VERSION;

namespace {
// The lines that stand for a channel's items: "｢", the channel's name, then one of these
// (code page 932 bytes, see common/cp932.h).
const char kOpenBracket[] = "\xA2";  // "｢"
const char kFetchFailedSuffix[] =    // "｣の取得に失敗しました"
    "\xA3\x82\xCC\x8E\xE6\x93\xBE\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD";
const char kNoItemsSuffix[] =  // "｣には記事がありません"
    "\xA3\x82\xC9\x82\xCD\x8B\x4C\x8E\x96\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
}  // namespace

Rotation::Rotation(SaverSettings& settings, RotationPlatform platform)
    : settings_(settings), platform_(std::move(platform)) {}

void Rotation::Reset() {
    displayState_ = DisplayState::TitleScreen;
    titleTickSeen_ = false;
    itemShown_ = false;
}

const SiteEntry* Rotation::CurrentChannel() const {
    return currentChannel_ < settings_.sites.size() ? &settings_.sites[currentChannel_] : nullptr;
}

const FeedItem* Rotation::CurrentItem() const {
    const SiteEntry* channel = CurrentChannel();
    if (!itemShown_ || !channel || currentItem_ < 0 || std::size_t(currentItem_) >= channel->content.items.size())
        return nullptr;
    return &channel->content.items[std::size_t(currentItem_)];
}

std::size_t Rotation::ItemCount() const {
    const SiteEntry* channel = CurrentChannel();
    return channel ? channel->content.items.size() : 0;
}

void Rotation::PickTextColour() {
    int red, green, blue;
    do {
        blue = platform_.random() & 0xFF;
        green = platform_.random() & 0xFF;
        red = platform_.random() & 0xFF;
    } while (red + green / 4 + blue / 2 < 256);
    textColour_ = std::uint32_t(red) | (std::uint32_t(green) << 8) | (std::uint32_t(blue) << 16);
}

void Rotation::StepChannel(int step) {
    const std::size_t n = settings_.sites.size();
    if (n == 0 || step_.waiting) return;
    const std::size_t target = (n + currentChannel_ + std::size_t(step)) % n;

    SiteEntry& channel = settings_.sites[target];
    const std::time_t now = platform_.now();
    const bool stale = now - channel.content.fetched_at > std::time_t(settings_.load_interval) * 60;
    if (channel.content.valid && !stale) {
        EnterChannel(target, step, nullptr);
        return;
    }
    if (running_.size() != n) running_.assign(n, 0);
    if (running_[target]) {
        // Its last fetch has not ended yet: at most one runs per channel, and this turn fails.
        ChannelContent failed;
        failed.fetched_at = now;
        EnterChannel(target, step, &failed);
        return;
    }
    const std::uint64_t ticket = ++lastTicket_;
    running_[target] = ticket;
    step_ = {true, target, step, ticket, now};
    starting_ = true;
    platform_.startFetch(channel.link, [this, ticket, target](ChannelContent content) {
        FetchFinished(ticket, target, std::move(content));
    });
    starting_ = false;
}

void Rotation::FetchFinished(std::uint64_t ticket, std::size_t channel, ChannelContent content) {
    if (channel < running_.size() && running_[channel] == ticket) running_[channel] = 0;
    if (!step_.waiting || step_.ticket != ticket) return;  // too late: the step already failed
    step_.waiting = false;
    EnterChannel(step_.channel, step_.step, &content);
    // A result that arrives later completes the step by itself; one that comes at
    // once is shown by whoever made the step.
    if (!starting_) ShowCurrentItem();
}

// The wait ends once the clock says the time-out has passed, or after as many ticks of
// the one-second timer: a clock set back during a fetch must not hold the screen until
// it has caught up again.
void Rotation::CheckTimeOut() {
    ++step_.ticks;
    if (step_.ticks < kFetchTimeoutSeconds && platform_.now() - step_.started < kFetchTimeoutSeconds) return;
    step_.waiting = false;
    ChannelContent failed;
    failed.fetched_at = step_.started;
    EnterChannel(step_.channel, step_.step, &failed);
    ShowCurrentItem();
}

void Rotation::EnterChannel(std::size_t target, int step, ChannelContent* fetched) {
    currentChannel_ = target;
    SiteEntry& channel = settings_.sites[target];
    if (!fetched) {
        currentItem_ = step < 0 ? int(channel.content.items.size()) - 1 : 0;
        return;
    }
    channel.content = std::move(*fetched);
    if (!channel.content.valid) {
        channel.content.items.clear();
        channel.content.items.push_back({kOpenBracket + channel.title + kFetchFailedSuffix, channel.link});
    } else if (channel.content.items.empty()) {
        // A feed without items still gets its turn, with one line that says so,
        // so the rotation never reads outside the list nor spins through empty channels.
        channel.content.items.push_back({kOpenBracket + channel.title + kNoItemsSuffix, channel.link});
    }
    currentItem_ = step < 0 ? int(channel.content.items.size()) - 1 : 0;
}

void Rotation::StepItem(int step) {
    if (step_.waiting) return;
    const int next = currentItem_ + step;
    if (next >= int(ItemCount()))
        StepChannel(+1);
    else if (next < 0)
        StepChannel(-1);
    else
        currentItem_ = next;
}

void Rotation::ShowCurrentItem() {
    if (step_.waiting) return;  // the item comes with the fetch's result
    itemShown_ = true;
    ticksShown_ = 0;
    const FeedItem* item = CurrentItem();
    itemCodes_ = ToDisplayCodes(item ? item->title : std::string());
    PickTextColour();
    platform_.repaint();
}

void Rotation::Tick() {
    if (step_.waiting) {
        CheckTimeOut();
        return;
    }
    switch (displayState_) {
    case DisplayState::TitleScreen:
        if (titleTickSeen_) return;
        titleTickSeen_ = true;
        if (!settings_.sites.empty()) {
            displayState_ = DisplayState::ShowingItems;
            currentChannel_ = 0;
            StepChannel(0);
            ShowCurrentItem();
        } else {
            displayState_ = DisplayState::NoChannels;
            ticksShown_ = 0;
        }
        return;
    case DisplayState::ShowingItems:
        if (++ticksShown_ < settings_.disp_interval) return;
        StepItem(+1);
        ShowCurrentItem();
        return;
    case DisplayState::NoChannels:
        if (++ticksShown_ < settings_.disp_interval) return;
        ticksShown_ = 0;
        itemCodes_ = ToDisplayCodes(kProductTitle);
        PickTextColour();
        platform_.repaint();
        return;
    }
}
