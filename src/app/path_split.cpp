#include "app/path_split.h"

#include "common/cp932.h"

std::string DirectoryOf(const std::string& path) {
    std::size_t cut = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(c) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/' || (c == ':' && i == 1)) cut = i + 1;
    }
    return path.substr(0, cut);
}
