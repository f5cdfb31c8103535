#pragma once
// The one way a URL becomes a channel in the settings dialog's list.
#include <windows.h>

// Fetches `url` (used as it is, the empty text included) and adds it to
// saverSettings.sites, or replaces the first entry with the same link byte for
// byte; a site list adds each listed site in turn. The list is rebuilt and the
// new or replaced row scrolled into view, selected and focused.
void AddChannelByUrl(HWND list, const char* url);
