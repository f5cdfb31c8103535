#include "display/rotation.h"

#include <utility>

const char* const kProductTitle = "Tavelo's Rss Screensaver v1.0";

Rotation::Rotation(SaverSettings& settings, RotationPlatform platform)
    : settings_(settings), platform_(std::move(platform)) {}

void Rotation::Reset() {
    displayState_ = DisplayState::TitleScreen;
    titleTickSeen_ = false;
}

const SiteEntry* Rotation::CurrentChannel() const {
    return currentChannel_ < settings_.sites.size() ? &settings_.sites[currentChannel_] : nullptr;
}

const FeedItem* Rotation::CurrentItem() const {
    const SiteEntry* channel = CurrentChannel();
    if (!channel || currentItem_ < 0 || std::size_t(currentItem_) >= channel->content.items.size()) return nullptr;
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
    if (n == 0) return;
    currentChannel_ = (n + currentChannel_ + std::size_t(step)) % n;

    SiteEntry& channel = settings_.sites[currentChannel_];
    const std::time_t now = platform_.now();
    const bool stale = now - channel.content.fetched_at > std::time_t(settings_.load_interval) * 60;
    if (!channel.content.valid || stale) {
        channel.content = platform_.fetch(channel.link);
        if (!channel.content.valid) {
            channel.content.items.clear();
            channel.content.items.push_back({"｢" + channel.title + "｣の取得に失敗しました", channel.link});
        } else if (channel.content.items.empty()) {
            // A feed without items still gets its turn, with one line that says so,
            // so the rotation never reads outside the list nor spins through empty channels.
            channel.content.items.push_back({"｢" + channel.title + "｣には記事がありません", channel.link});
        }
    }
    currentItem_ = step < 0 ? int(channel.content.items.size()) - 1 : 0;
}

void Rotation::StepItem(int step) {
    currentItem_ += step;
    if (currentItem_ >= int(ItemCount()))
        StepChannel(+1);
    else if (currentItem_ < 0)
        StepChannel(-1);
}

void Rotation::ShowCurrentItem() {
    ticksShown_ = 0;
    const FeedItem* item = CurrentItem();
    itemCodes_ = ToDisplayCodes(item ? item->title : std::string());
    PickTextColour();
    platform_.repaint();
}

void Rotation::Tick() {
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
        if (++currentItem_ >= int(ItemCount())) StepChannel(+1);
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
