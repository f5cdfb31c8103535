#pragma once
// The channel list view of the settings dialog: one row per entry of
// saverSettings.sites, in order, with a check box for the entry's `check`.
#include <windows.h>

#include <vector>

// The settings dialog's channel list view.
HWND ChannelList(HWND dialog);

// Inserts the three columns: channel name, URL, description, as wide as the list's
// DPI asks.
void InitChannelColumns(HWND list);
// Scales the columns to a new DPI (the dialog moved to a monitor of another scaling).
void RescaleChannelColumns(HWND list, UINT dpi);
// Replaces every row with the entries of saverSettings.sites; no row selected.
void FillChannelList(HWND list);
// Rewrites the existing rows in place from saverSettings.sites, keeping their
// selection. Rows beyond the end of either side are left alone.
void RefreshChannelList(HWND list);
// Copies each row's check box into the `check` of the entry at the same position.
void ReadChannelChecks(HWND list);

int RowCount(HWND list);
bool IsRowSelected(HWND list, int row);
// The selected rows in ascending order.
std::vector<int> SelectedRows(HWND list);
// Sets the state bits of `mask` of one row (all rows for -1) to `state`.
void SetRowState(HWND list, int item, UINT mask, UINT state);
void SetRowSelected(HWND list, int item, bool selected);
void SetRowCheck(HWND list, int item, bool check);
// State image index minus one: 0 unchecked, 1 checked; -1 for no such row.
int RowCheckState(HWND list, int item);
