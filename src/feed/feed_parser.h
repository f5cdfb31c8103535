#pragma once
#include "config/settings.h"

class XmlDoc;

// Fetches the document behind a URL or path and reads it as an RSS or RDF
// channel or as a site list. Never fails but by returning valid false.
ChannelContent FetchChannel(const char* url);

// The reading half of FetchChannel, on a document already loaded: fills
// `content` and sets valid when the root is recognised (and, for a feed, a
// channel is found). On failure nothing but what was there is left.
void ReadChannelDocument(const XmlDoc& doc, ChannelContent* content);
