#include "editor/drop_data.h"

#include "editor/drop_text.h"

#include <shellapi.h>

bool DroppedText(HGLOBAL data, std::string* text) {
    const void* bytes = data ? GlobalLock(data) : nullptr;
    if (!bytes) return false;
    *text = TextWithin(static_cast<const char*>(bytes), GlobalSize(data));
    GlobalUnlock(data);
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
