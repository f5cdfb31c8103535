#include "settings/channel_list.h"

#include "common/window_dpi.h"
#include "config/settings.h"
#include "res/resource.h"

#include <commctrl.h>

namespace {
// State image 1 is the unchecked box, 2 the checked one.
UINT CheckState(bool check) { return INDEXTOSTATEIMAGEMASK(check ? 2 : 1); }

void SetCell(HWND list, int item, int subItem, const std::string& text) {
    LVITEMA lv = {};
    lv.mask = LVIF_TEXT;
    lv.iItem = item;
    lv.iSubItem = subItem;
    lv.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lv));
}

void WriteRow(HWND list, int item, const SiteEntry& entry, bool insert) {
    if (insert) {
        LVITEMA lv = {};
        lv.mask = LVIF_TEXT;
        lv.iItem = item;
        lv.iSubItem = 0;
        lv.pszText = const_cast<char*>(entry.title.c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lv));
    } else {
        SetCell(list, item, 0, entry.title);
    }
    SetCell(list, item, 1, entry.link);
    SetCell(list, item, 2, entry.description);
    SetRowCheck(list, item, entry.check);
}

// Without this, the list view redraws after every change of a row: under Wine a
// rebuild of 200 rows then took seconds, so adding a site list of 20 feeds spent
// nearly all its time redrawing.
class RedrawPaused {
public:
    explicit RedrawPaused(HWND list) : list_(list) { SendMessageA(list_, WM_SETREDRAW, FALSE, 0); }
    ~RedrawPaused() {
        SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
    }
    RedrawPaused(const RedrawPaused&) = delete;
    RedrawPaused& operator=(const RedrawPaused&) = delete;

private:
    HWND list_;
};

// The DPI the columns' widths are at now.
UINT columnsDpi = 96;
}  // namespace

HWND ChannelList(HWND dialog) { return GetDlgItem(dialog, IDC_CHANNEL_LIST); }

void InitChannelColumns(HWND list) {
    struct Column {
        const char* header;
        int width;
    };
    // Widths in pixels at 96 dpi.
    static const Column columns[] = {{"チャンネル名", 150}, {"ＵＲＬ", 300}, {"説明", 500}};
    columnsDpi = WindowDpi(list);
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA col = {};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.fmt = LVCFMT_LEFT;
        col.cx = ScaleForDpi(columns[i].width, 96, columnsDpi);
        col.pszText = const_cast<char*>(columns[i].header);
        col.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(i), reinterpret_cast<LPARAM>(&col));
    }
}

void RescaleChannelColumns(HWND list, UINT dpi) {
    ScaleListColumns(list, columnsDpi, dpi);
    columnsDpi = dpi;
}

void FillChannelList(HWND list) {
    RedrawPaused paused(list);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    const auto& sites = saverSettings.sites;
    SendMessageA(list, LVM_SETITEMCOUNT, WPARAM(sites.size()), 0);
    for (size_t i = 0; i < sites.size(); ++i) WriteRow(list, int(i), sites[i], true);
}

void RefreshChannelList(HWND list) {
    RedrawPaused paused(list);
    const auto& sites = saverSettings.sites;
    const size_t rows = size_t(RowCount(list));
    for (size_t i = 0; i < sites.size() && i < rows; ++i) WriteRow(list, int(i), sites[i], false);
}

void ReadChannelChecks(HWND list) {
    auto& sites = saverSettings.sites;
    const size_t rows = size_t(RowCount(list));
    // Only an unchecked box disables the channel.
    for (size_t i = 0; i < rows && i < sites.size(); ++i) sites[i].check = RowCheckState(list, int(i)) != 0;
}

int RowCount(HWND list) { return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

bool IsRowSelected(HWND list, int row) {
    return SendMessageA(list, LVM_GETITEMSTATE, WPARAM(row), LVIS_SELECTED) & LVIS_SELECTED;
}

std::vector<int> SelectedRows(HWND list) {
    std::vector<int> rows;
    // Ascending, and never more than there are rows, whatever the list view answers.
    const int count = RowCount(list);
    for (int i = -1; int(rows.size()) < count;) {
        const int next = int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(i), LVNI_SELECTED));
        if (next <= i) break;
        rows.push_back(i = next);
    }
    return rows;
}

void SetRowState(HWND list, int item, UINT mask, UINT state) {
    LVITEMA lv = {};
    lv.stateMask = mask;
    lv.state = state;
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(item), reinterpret_cast<LPARAM>(&lv));
}

void SetRowSelected(HWND list, int item, bool selected) {
    SetRowState(list, item, LVIS_SELECTED, selected ? LVIS_SELECTED : 0);
}

void SetRowCheck(HWND list, int item, bool check) { SetRowState(list, item, LVIS_STATEIMAGEMASK, CheckState(check)); }

int RowCheckState(HWND list, int item) {
    if (item < 0 || item >= RowCount(list)) return -1;
    UINT state = UINT(SendMessageA(list, LVM_GETITEMSTATE, WPARAM(item), LVIS_STATEIMAGEMASK));
    return int((state & LVIS_STATEIMAGEMASK) >> 12) - 1;
}
