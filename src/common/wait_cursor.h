#pragma once
// The wait cursor for the life of the object; the cursor before it comes back after.
#include <windows.h>

class WaitCursor {
public:
    WaitCursor() : wait_(LoadCursorA(nullptr, IDC_WAIT)), previous_(SetCursor(wait_)) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    // Shows it again, after messages that may have set another cursor.
    void Show() const { SetCursor(wait_); }

private:
    HCURSOR wait_;
    HCURSOR previous_;
};
