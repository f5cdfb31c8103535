#pragma once
// The element tree of "kvtini.xml" for a set of settings, in the order the reader
// expects: the options, then one "site" per channel.
#include "config/settings.h"
#include "config/xml_node.h"

// The root element of such a file, which also makes a fetched document a list of channels.
constexpr char kSettingsRootTag[] = "kvtini";

XmlNode SettingsTree(const SaverSettings& settings);
