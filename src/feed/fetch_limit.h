#pragma once
// How long a fetch may take, for the saver's rotation and for the dialogs' waits alike.

// A fetch that has not finished after this long counts as failed.
constexpr int kFetchTimeoutSeconds = 30;
