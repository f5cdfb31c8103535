#include "app/shell_state.h"

HINSTANCE appInstance = nullptr;
RunMode runMode = RunMode::Configure;
HWND hostWindow = nullptr;
HANDLE instanceGuard = nullptr;
char pendingLink[kLinkBufferSize] = "";
bool openLinkOnExit = false;
