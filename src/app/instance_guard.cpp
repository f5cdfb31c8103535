#include "app/instance_guard.h"

#include "app/shell_state.h"
#include "common/trace.h"

bool AcquireInstanceGuard() {
    // Never closed: the guard lasts until the process ends, including the wait
    // before a chosen link is opened.
    instanceGuard = CreateMutexA(nullptr, FALSE, "Tavelo's Rss Screensaver");
    if (!instanceGuard) {
        Trace("FAILED CreateMutex\n");
        return false;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        Trace("mutex ALREADY EXISTS\n");
        return false;
    }
    return true;
}
