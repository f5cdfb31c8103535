// The entry point: the screen-saver switches decide between the settings dialog,
// the full-screen saver, the preview and doing nothing.
#include "app/code_page_notice.h"
#include "app/command_line.h"
#include "app/config_path.h"
#include "common/gdi_holders.h"
#include "common/ole_holders.h"
#include "app/instance_guard.h"
#include "app/open_link.h"
#include "app/saver_window.h"
#include "app/shell_state.h"
#include "app/unreadable_settings_notice.h"
#include "common/trace.h"
#include "config/settings_io.h"
#include "feed/fetch_worker.h"
#include "res/resource.h"
#include "settings/save_report.h"
#include "settings/settings_dialog.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

namespace {

const char kRule[] = "------------------------------------------------------------------------";

// Trace messages are invisible to users; a debugger or a test can read them.
void TraceToDebugger(const char* message) { OutputDebugStringA(message); }

void TraceEnvironment() {
    Trace("%s\n", kRule);
    SYSTEMTIME now;
    GetLocalTime(&now);
    Trace("start WinMain (%d/%d/%d %02d:%02d:%02d)\n", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
          now.wSecond);
    char folder[1024] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    Trace("Current Directory : %s\n", folder);
    const WindowDc desktop(GetDesktopWindow());
    Trace("Desktop : %dx%dx%d\n", GetDeviceCaps(desktop.Get(), HORZRES), GetDeviceCaps(desktop.Get(), VERTRES),
          GetDeviceCaps(desktop.Get(), BITSPIXEL));
    char layout[KL_NAMELENGTH] = "";
    GetKeyboardLayoutNameA(layout);
    Trace("keyboard layout name : %s %x\n", layout, unsigned(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))));
    Trace("keyboard type : %d %d %d\n", GetKeyboardType(0), GetKeyboardType(1), GetKeyboardType(2));
}

int RunConfigure() {
    const std::string path = ConfigFilePath();
    // A missing or empty file leaves the defaults. One that cannot be read is copied aside
    // before the defaults may replace it, and stays as it is when no copy can be made.
    const bool mayReplace = !SettingsFileUnreadable(path.c_str(), LoadSettings(path.c_str(), false)) ||
                            NoticeUnreadableSettings(hostWindow, path);

    NoticeWhenNotJapaneseCodePage(hostWindow);  // then the dialog opens all the same
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const INT_PTR result =
        DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_SETTINGS), hostWindow, SettingsDialogProc, 0);
    // Only OK saves: Cancel, the close box and a dialog that could not be shown leave the file alone.
    if (result <= 0) return 0;
    if (!mayReplace || FAILED(SaveSettings(path.c_str()))) ReportSaveFailure(hostWindow, path.c_str());
    return int(result);
}

int RunSaver() {
    if (runMode == RunMode::Show && !AcquireInstanceGuard()) return 0;
    std::srand(unsigned(std::time(nullptr)));
    LoadSettings(ConfigFilePath().c_str(), true);  // only enabled channels rotate
    const int result = RunSaverWindow();
    Trace("exit WinMain (return value:%d)\n", result);
    Trace("%s\n\n", kRule);
    OpenChosenLink();
    return result;
}

// A worker may still be stuck in a fetch that was given up. Ending the process the
// normal way would wait for it, or for locks it holds, so it is ended at once.
int EndProcess(int result) {
    if (RunningFetchWorkers() > 0) TerminateProcess(GetCurrentProcess(), UINT(result));
    return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    SetTraceSink(TraceToDebugger);
    // Both are undone, COM first, when WinMain returns.
    const OleSession ole;
    if (ole.Result() != S_OK) {
        MessageBoxA(nullptr, "OLEの初期化に失敗しました。", "Error", MB_ICONERROR);
        return 0;
    }
    const ComApartment com;  // its result does not matter: OLE has set up COM already
    std::setlocale(LC_ALL, "Japanese");
    appInstance = instance;
    TraceEnvironment();

    const CommandLine parsed = ParseCommandLine(commandLine);
    runMode = parsed.mode;
    hostWindow = parsed.owner_is_foreground ? GetForegroundWindow()
                                            : reinterpret_cast<HWND>(static_cast<INT_PTR>(parsed.host_window));

    int result = 0;
    switch (runMode) {
    case RunMode::ChangePassword: break;
    case RunMode::Configure: result = RunConfigure(); break;
    case RunMode::Preview:
    case RunMode::Show: result = RunSaver(); break;
    }
    return EndProcess(result);
}
