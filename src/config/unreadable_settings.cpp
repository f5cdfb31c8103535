#include "config/unreadable_settings.h"

#include "config/settings_rescue.h"

#include <windows.h>

#include <ctime>

std::string KeepUnreadableSettings(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (!local) return std::string();
    const std::tm when = *local;
    for (int attempt = 1; attempt <= 99; ++attempt) {
        const std::string copy = UnreadableCopyPath(path, when, attempt);
        if (GetFileAttributesA(copy.c_str()) != INVALID_FILE_ATTRIBUTES) continue;  // an earlier copy's name
        if (CopyFileA(path.c_str(), copy.c_str(), TRUE)) return copy;
        // The copy did not exist before: what a failed copy left of it goes.
        DeleteFileA(copy.c_str());
        return std::string();
    }
    return std::string();
}
