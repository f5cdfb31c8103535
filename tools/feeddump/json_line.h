#pragma once
// feeddump's output: one fetch as one line of JSON. Platform-neutral; the
// caller supplies the conversion of the record's code page 932 text to UTF-8.
#include "config/settings.h"

#include <string>

using Utf8Converter = std::string (*)(const std::string& cp932);

// `utf8` as a quoted JSON string: quote, backslash and control characters escaped.
std::string JsonString(const std::string& utf8);

// {"valid":..,"is_site_list":..,"fetched_at":..,"title":..,"link":..,
//  "description":..,"items":[{"title":..,"link":..},..]} without a line end.
std::string ChannelJsonLine(const ChannelContent& content, Utf8Converter toUtf8);
