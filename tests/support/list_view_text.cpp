#include "list_view_text.h"

#include <commctrl.h>

std::string ListCell(HWND list, int item, int subItem) {
    char buf[512] = "";
    LVITEMA lv = {};
    lv.iSubItem = subItem;
    lv.pszText = buf;
    lv.cchTextMax = sizeof buf;
    SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(item), reinterpret_cast<LPARAM>(&lv));
    return buf;
}
