#pragma once
// The screen-saver switches: only the second character of the command line
// decides, so "/s", "-S" and "xs" are all show mode.
#include <cstdint>

enum class RunMode { Configure = 0, Preview = 1, Show = 2, ChangePassword = 3 };

struct CommandLine {
    RunMode mode = RunMode::Configure;
    std::int32_t host_window = 0;      // the number after /p, /a or /c:, 0 when none
    bool owner_is_foreground = false;  // plain /c: the current foreground window owns the dialog
};

CommandLine ParseCommandLine(const char* text);
