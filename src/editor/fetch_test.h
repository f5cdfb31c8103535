#pragma once
// The channel editor's fetch test: fetches the URL field once and shows the
// channel's name, description and item titles.
#include "config/settings.h"

#include <windows.h>

// The latest fetch test's result, kept for the life of the process. Row i of
// the content list shows its item i; a double-click on that row opens its link.
extern ChannelContent lastTestContent;

// Runs the test in `dialog` (the channel editor). The fetch blocks this thread;
// the buttons are disabled and the cleared fields painted before it starts.
void RunFetchTest(HWND dialog);
