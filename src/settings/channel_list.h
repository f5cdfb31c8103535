#pragma once
// The channel list view of the settings dialog: one row per entry of
// saverSettings.sites, in order, with a check box for the entry's `check`.
#include <windows.h>

// Inserts the three columns: channel name, URL, description.
void InitChannelColumns(HWND list);
// Replaces every row with the entries of saverSettings.sites; no row selected.
void FillChannelList(HWND list);
// Rewrites the existing rows in place from saverSettings.sites, keeping their
// selection. Rows beyond the end of either side are left alone.
void RefreshChannelList(HWND list);
// Copies each row's check box into the `check` of the entry at the same position.
void ReadChannelChecks(HWND list);
