#include "editor/add_channel.h"

#include "editor/channel_adding.h"
#include "editor/fetch_beep.h"
#include "feed/fetch_worker.h"
#include "settings/channel_list.h"

#include <commctrl.h>

namespace {
// The wait cursor for the life of the object; the cursor before it comes back after.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

void ShowRow(HWND list, std::size_t row) {
    FillChannelList(list);
    SendMessageA(list, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
    LVITEMA lv = {};
    lv.state = lv.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&lv));
    SetFocus(list);
}
}  // namespace

void AddChannelByUrl(HWND list, const char* url) {
    WaitCursor wait;
    ChannelAddingSteps steps;
    steps.fetch = [](const std::string& u) { return FetchWhileWaiting(u); };
    steps.beep = BeepFetchResult;
    steps.takeChecks = [list] { ReadChannelChecks(list); };
    steps.show = [list](std::size_t row) { ShowRow(list, row); };
    steps.repaint = [list] { UpdateWindow(list); };
    AddChannel(saverSettings.sites, url ? url : "", steps);
}
