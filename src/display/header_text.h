#pragma once
// The text of the saver screen's header: the channel's name and the local time of its
// last fetch, or the message that there is no channel to show.
#include "config/settings.h"

#include <string>

constexpr std::size_t kMaxHeaderBytes = 1023;  // the text is cut to this, whole characters only

// `channel` may be null (nothing to name). `noChannels` gives the no-channel message.
std::string HeaderText(bool noChannels, const SiteEntry* channel, bool withTitle, bool withDate);
