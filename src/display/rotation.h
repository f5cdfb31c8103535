#pragma once
// What the running saver shows and when: the title screen, then the items of the
// channels in list order, one per display interval, fetching a channel when its turn
// comes and its content is missing, failed or older than the update interval.
// Platform-neutral: fetching, the clock, random numbers and repainting come in as
// callbacks.
#include "config/settings.h"
#include "display/display_codes.h"
#include "feed/fetch_limit.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

enum class DisplayState { TitleScreen = 0, ShowingItems = 1, NoChannels = 2 };

// Hands a fetch's result back to the rotation, on the rotation's own thread.
using FetchDone = std::function<void(ChannelContent content)>;

struct RotationPlatform {
    // Starts fetching `url`; `done` is called with the result later, on the rotation's
    // thread, or before startFetch returns.
    std::function<void(const std::string& url, FetchDone done)> startFetch;
    std::function<std::time_t()> now;
    std::function<int()> random;    // 0..32767, as rand()
    std::function<void()> repaint;  // paints before it returns
};

extern const char* const kProductTitle;  // "Tavelo's Rss Screensaver v" and KVT_PRODUCT_VERSION

class Rotation {
public:
    Rotation(SaverSettings& settings, RotationPlatform platform);

    // Back to the title screen with the first-tick guard cleared.
    void Reset();
    // One step of the one-second timer (also called for a key on the title screen).
    // While a fetch is in flight it only checks for the time-out.
    void Tick();
    // Moves to another channel (-1, 0, +1), fetching it when needed; selects its
    // first item (0, +1) or last item (-1). Needs at least one channel.
    void StepChannel(int step);
    // Moves to the neighbouring item, crossing into the next or previous channel.
    void StepItem(int step);
    // Shows the current item at once, in a new colour, restarting its interval.
    void ShowCurrentItem();
    void PickTextColour();

    // The state that input follows: ShowingItems from the first tick on, even while the
    // first channel is still being fetched.
    DisplayState State() const { return displayState_; }
    // What the screen shows: the title screen until the first item is shown.
    DisplayState ScreenState() const {
        return displayState_ == DisplayState::ShowingItems && !itemShown_ ? DisplayState::TitleScreen : displayState_;
    }
    // The current channel, and the item on screen; nullptr when there is none.
    const SiteEntry* CurrentChannel() const;
    const FeedItem* CurrentItem() const;
    const DisplayText& ItemCodes() const { return itemCodes_; }
    std::uint32_t TextColour() const { return textColour_; }  // 0x00BBGGRR

private:
    friend struct RotationProbe;

    // A step to a channel that is being fetched: what is on screen stays, ticks are not
    // counted and steps do nothing until the result (or the time-out) completes it.
    struct PendingStep {
        bool waiting = false;
        std::size_t channel = 0;
        int step = 0;
        std::uint64_t ticket = 0;
        std::time_t started = 0;
        int ticks = 0;  // timer ticks while waiting
    };

    std::size_t ItemCount() const;
    void FetchFinished(std::uint64_t ticket, std::size_t channel, ChannelContent content);
    // Makes `channel` current at its first (step >= 0) or last item, taking the fetched
    // content when there is one; a failed or empty channel gets its one line.
    void EnterChannel(std::size_t channel, int step, ChannelContent* fetched);
    void CheckTimeOut();

    SaverSettings& settings_;
    RotationPlatform platform_;
    DisplayState displayState_ = DisplayState::TitleScreen;
    bool titleTickSeen_ = false;
    std::size_t currentChannel_ = 0;
    int currentItem_ = 0;
    int ticksShown_ = 0;
    std::uint32_t textColour_ = 0;
    DisplayText itemCodes_;
    bool itemShown_ = false;
    PendingStep step_;
    std::uint64_t lastTicket_ = 0;
    bool starting_ = false;               // inside startFetch: a result then completes the step at once
    std::vector<std::uint64_t> running_;  // per channel: the ticket of its fetch still running, or 0
};
