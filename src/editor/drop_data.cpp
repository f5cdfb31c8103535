#include "editor/drop_data.h"

#include "common/kernel_holders.h"
#include "editor/drop_text.h"

#include <shellapi.h>

bool DroppedText(HGLOBAL data, std::string* text, std::size_t limit) {
    const GlobalLockGuard lock(data);
    if (!lock.Bytes()) return false;
    *text = TextWithin(lock.Bytes(), lock.Size(), limit);
    return true;
}

std::vector<std::string> DroppedFiles(HGLOBAL data) {
    std::vector<std::string> names;
    HDROP drop = static_cast<HDROP>(data);
    // The count is asked again before each name, as the list could change under us.
    for (UINT i = 0; data && i < DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0); ++i) {
        char name[255] = "";
        DragQueryFileA(drop, i, name, sizeof name);
        names.push_back(name);
    }
    return names;
}
