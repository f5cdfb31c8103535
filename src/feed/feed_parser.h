#pragma once
#include "config/settings.h"

// Fetches the document behind a URL or path and reads it as an RSS or RDF
// channel or as a site list. Never fails but by returning valid false.
ChannelContent FetchChannel(const char* url);
