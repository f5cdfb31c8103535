#pragma once
// What the running saver shows and when: the title screen, then the items of the
// channels in list order, one per display interval, fetching a channel when its turn
// comes and its content is missing, failed or older than the update interval.
// Platform-neutral: fetching, the clock, random numbers and repainting come in as
// callbacks.
#include "config/settings.h"
#include "display/display_codes.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

enum class DisplayState { TitleScreen = 0, ShowingItems = 1, NoChannels = 2 };

struct RotationPlatform {
    std::function<ChannelContent(const std::string& url)> fetch;
    std::function<std::time_t()> now;
    std::function<int()> random;  // 0..32767, as rand()
    std::function<void()> repaint;  // paints before it returns
};

extern const char* const kProductTitle;  // "Tavelo's Rss Screensaver v1.0"

class Rotation {
public:
    Rotation(SaverSettings& settings, RotationPlatform platform);

    // Back to the title screen with the first-tick guard cleared.
    void Reset();
    // One step of the one-second timer (also called for a key on the title screen).
    void Tick();
    // Moves to another channel (-1, 0, +1), fetching it when needed; selects its
    // first item (0, +1) or last item (-1). Needs at least one channel.
    void StepChannel(int step);
    // Moves to the neighbouring item, crossing into the next or previous channel.
    void StepItem(int step);
    // Shows the current item at once, in a new colour, restarting its interval.
    void ShowCurrentItem();
    void PickTextColour();

    DisplayState State() const { return displayState_; }
    // The current channel and item; nullptr when there is none.
    const SiteEntry* CurrentChannel() const;
    const FeedItem* CurrentItem() const;
    std::size_t CurrentChannelIndex() const { return currentChannel_; }
    int CurrentItemIndex() const { return currentItem_; }
    const DisplayText& ItemCodes() const { return itemCodes_; }
    std::uint32_t TextColour() const { return textColour_; }  // 0x00BBGGRR
    int TicksShown() const { return ticksShown_; }

private:
    std::size_t ItemCount() const;

    SaverSettings& settings_;
    RotationPlatform platform_;
    DisplayState displayState_ = DisplayState::TitleScreen;
    bool titleTickSeen_ = false;
    std::size_t currentChannel_ = 0;
    int currentItem_ = 0;
    int ticksShown_ = 0;
    std::uint32_t textColour_ = 0;
    DisplayText itemCodes_;
};
