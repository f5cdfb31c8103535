#include "app/open_link.h"

#include "app/shell_state.h"

#include <shellapi.h>

namespace {
bool ObjectNameIs(HANDLE object, const char* expected) {
    char name[256] = "";
    DWORD needed = 0;
    if (!GetUserObjectInformationA(object, UOI_NAME, name, sizeof name - 1, &needed)) return false;
    return lstrcmpiA(name, expected) == 0;
}
}  // namespace

bool OnUserDesktop() {
    if (!ObjectNameIs(GetProcessWindowStation(), "WinSta0")) return false;
    HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
    if (!input) return false;  // the input desktop is one this process may not see
    const bool isDefault = ObjectNameIs(input, "Default");
    CloseDesktop(input);
    return isDefault;
}

void OpenChosenLink() {
    if (!openLinkOnExit) return;
    Sleep(1000);
    if (!OnUserDesktop()) return;
    ShellExecuteA(nullptr, nullptr, pendingLink, nullptr, nullptr, SW_SHOWNORMAL);
}
