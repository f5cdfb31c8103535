#pragma once
// Adding a URL as a channel, apart from the dialog it shows in: the dialog
// supplies the fetch and the feedback, this decides what becomes of `sites`.
#include "config/settings.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Site lists may list other site lists; deeper than this they are not followed.
constexpr int kMaxSiteListDepth = 8;

struct ChannelAddingSteps {
    std::function<ChannelContent(const std::string& url)> fetch;
    std::function<void(bool ok)> beep;          // how a fetch went
    std::function<void()> takeChecks;           // the user's ticks into `sites`, before a change
    std::function<void(std::size_t row)> show;  // the list rebuilt, `row` in view and selected
    std::function<void()> repaint;              // after each site of a site list
};

// Puts `entry` in place of the first entry whose link equals its link byte for
// byte, or appends it. Returns its position.
std::size_t AddOrReplaceSite(std::vector<SiteEntry>& sites, SiteEntry entry);

// Fetches `url` and adds or replaces its channel, enabled when the fetch
// succeeded; a failed fetch still adds it, disabled. A site list adds each of its
// sites in turn, each with its own fetch and beep; nested site lists are followed
// kMaxSiteListDepth deep, and a site list already followed in this call is not
// fetched again. What is skipped only beeps as a failure.
void AddChannel(std::vector<SiteEntry>& sites, const std::string& url, const ChannelAddingSteps& steps);

// Removes the entries at `rows` (positions in any order; those past the end are
// ignored); the later entries move up.
void DeleteSites(std::vector<SiteEntry>& sites, std::vector<std::size_t> rows);
