#include "editor/add_channel.h"

#include "common/wait_cursor.h"
#include "editor/channel_adding.h"
#include "editor/fetch_beep.h"
#include "feed/fetch_worker.h"
#include "settings/channel_list.h"

#include <commctrl.h>

namespace {
void ShowRow(HWND list, std::size_t row) {
    FillChannelList(list);
    SendMessageA(list, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
    SetRowSelected(list, int(row), true);
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
