#pragma once
// What the settings dialog asks the channel editor to edit. One for the process:
// the settings dialog fills it just before it opens the editor, and the editor
// writes the confirmed URL back into it on OK.
#include <windows.h>

#include <string>

struct ChannelEditRequest {
    bool is_edit = false;         // false: a new channel; true: the selected one
    HWND channel_list = nullptr;  // the settings dialog's list, to which OK adds the channel
    std::string url;              // shown at start; the URL field's text after OK
    std::string title;
    std::string description;
};

extern ChannelEditRequest channelEditRequest;
