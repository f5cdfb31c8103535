#include "config/settings_rescue.h"

std::string RepairedSettingsText(const std::string& bytes) {
    std::string repaired = bytes;
    for (char& c : repaired) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x01 && u < 0x20 && u != '\t' && u != '\n' && u != '\r') c = ' ';
    }
    return repaired;
}

std::string UnreadableCopyPath(const std::string& path, const std::tm& when, int attempt) {
    char stamp[32] = "";
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &when);
    std::string copy = path + ".unreadable-" + stamp;
    if (attempt > 1) copy += "-" + std::to_string(attempt);
    return copy;
}
