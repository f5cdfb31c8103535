#include "app/open_link.h"

#include "app/shell_state.h"
#include "common/user_holders.h"

#include <shellapi.h>

namespace {
// The object's name, or false when it cannot be read.
bool ObjectName(HANDLE object, char (&name)[256]) {
    DWORD needed = 0;
    name[0] = '\0';
    return object && GetUserObjectInformationA(object, UOI_NAME, name, sizeof name - 1, &needed);
}
}  // namespace

bool OnUserDesktop() {
    char station[256], desktop[256];
    if (!ObjectName(GetProcessWindowStation(), station)) return false;
    // An input desktop this process may not open (the secure desktop) is not the user's.
    const Desktop input(OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS));
    return ObjectName(input.Get(), desktop) && IsUserDesktop(station, desktop);
}

void OpenChosenLink() {
    if (!openLinkOnExit) return;
    Sleep(1000);
    if (!OnUserDesktop()) return;
    ShellExecuteA(nullptr, nullptr, pendingLink, nullptr, nullptr, SW_SHOWNORMAL);
}

bool OpenWebLink(HWND owner, const char* link) {
    char accepted[kLinkBufferSize];
    if (!AcceptLink(link, accepted)) return false;
    ShellExecuteA(owner, nullptr, accepted, nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}
