#include "editor/fetch_test.h"

#include "editor/fetch_beep.h"
#include "editor/fetch_test_view.h"
#include "editor/url_field.h"
#include "feed/fetch_worker.h"
#include "res/resource.h"

#include <commctrl.h>

ChannelContent lastTestContent;

namespace {
// Disabled in this order before the fetch, enabled again in the same order after it.
const int kButtons[] = {IDOK, IDCANCEL, IDC_EDITOR_FETCH_TEST};

void EnableButtons(HWND dialog, BOOL enable) {
    for (int id : kButtons) EnableWindow(GetDlgItem(dialog, id), enable);
}

void SetFieldNow(HWND dialog, int id, const char* text) {
    SetDlgItemTextA(dialog, id, text);
    UpdateWindow(GetDlgItem(dialog, id));
}

// Whatever the fetch replaces is cleared on screen before it starts.
void ClearShownContent(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_EDITOR_CONTENT);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    UpdateWindow(list);
    SetFieldNow(dialog, IDC_EDITOR_CHANNEL_NAME, "");
    SetFieldNow(dialog, IDC_EDITOR_DESCRIPTION, "");
}

void ShowRows(HWND list, const std::vector<std::string>& rows) {
    for (size_t i = 0; i < rows.size(); ++i) {
        LVITEMA row = {};
        row.mask = LVIF_TEXT;
        row.iItem = int(i);
        row.pszText = const_cast<char*>(rows[i].c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
    }
}
}  // namespace

void RunFetchTest(HWND dialog) {
    EnableButtons(dialog, FALSE);
    ClearShownContent(dialog);

    lastTestContent = FetchWhileWaiting(ReadUrlField(dialog));

    const FetchTestView view = ViewFetchTest(lastTestContent);
    SetDlgItemTextA(dialog, IDC_EDITOR_CHANNEL_NAME, view.channel_name.c_str());
    SetDlgItemTextA(dialog, IDC_EDITOR_DESCRIPTION, view.description.c_str());
    ShowRows(GetDlgItem(dialog, IDC_EDITOR_CONTENT), view.rows);
    BeepFetchResult(view.ok);
    EnableButtons(dialog, TRUE);
}
