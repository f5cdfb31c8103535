#pragma once
// The dropped data of a DROP_DROP notification, read safely.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// CF_TEXT: the text within the block and `limit` (see TextWithin); false when it cannot
// be locked.
bool DroppedText(HGLOBAL data, std::string* text, std::size_t limit = SIZE_MAX);
// CF_HDROP: the dropped file names in the drop's order, each read into 255 bytes
// (so cut to 254 characters).
std::vector<std::string> DroppedFiles(HGLOBAL data);
