#include "app/saver_window.h"

#include "app/activation_rule.h"
#include "app/mouse_rule.h"
#include "app/saver_geometry.h"
#include "app/shell_state.h"
#include "common/gdi_holders.h"
#include "common/trace.h"
#include "display/saver_display.h"

HWND saverWindow = nullptr;

namespace {

const char kClassName[] = "KVT WINDOW";
const char kWindowTitle[] = "Tavelo's Rss Screensaver";

MouseRule mouseRule;
ActivationRule activationRule;
// Set once the window has been asked to close: the deactivation that its own
// destruction brings must not ask again.
bool closing = false;
// The saver screen's area in the window: the primary monitor's part in show mode.
RECT paintArea = {};

bool InPreview() { return runMode == RunMode::Preview; }

SaverGeometry WindowGeometry() {
    if (InPreview()) {
        RECT host = {};
        GetClientRect(hostWindow, &host);
        return PreviewGeometry(host.right - host.left, host.bottom - host.top);
    }
    const ScreenRect virtualScreen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    // The primary monitor's top-left corner is the origin of the screen coordinates.
    const ScreenRect primary = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return ShowGeometry(virtualScreen, primary);
}

// The other monitors stay black.
void BlackenOutsidePaintArea(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    const SavedDcState saved(dc);
    ExcludeClipRect(dc, paintArea.left, paintArea.top, paintArea.right, paintArea.bottom);
    PatBlt(dc, 0, 0, client.right, client.bottom, BLACKNESS);
}

// The saver screen is painted into the paint area as into a window of its own, and
// nothing it draws spills over onto another monitor.
void OnPaint(HWND window) {
    const PaintDc paint(window);
    HDC dc = paint.Get();
    BlackenOutsidePaintArea(window, dc);
    const SavedDcState saved(dc);
    IntersectClipRect(dc, paintArea.left, paintArea.top, paintArea.right, paintArea.bottom);
    SetViewportOrgEx(dc, paintArea.left, paintArea.top, nullptr);
    const int width = paintArea.right - paintArea.left, height = paintArea.bottom - paintArea.top;
    switch (SaverRotation().ScreenState()) {
    case DisplayState::TitleScreen: PaintTitleScreen(dc, width, height); break;
    case DisplayState::ShowingItems:
    case DisplayState::NoChannels: PaintSaver(dc, width, height); break;
    }
}

// Left and Right step through the items, Up and Down through the channels; false for
// any other key.
bool StepForArrow(Rotation& rotation, WPARAM key) {
    switch (key) {
    case VK_LEFT: rotation.StepItem(-1); return true;
    case VK_RIGHT: rotation.StepItem(+1); return true;
    case VK_UP: rotation.StepChannel(-1); return true;
    case VK_DOWN: rotation.StepChannel(+1); return true;
    default: return false;
    }
}

void OnKeyDown(WPARAM key) {
    if (InPreview()) return;  // the preview never closes and never navigates
    Rotation& rotation = SaverRotation();
    switch (rotation.State()) {
    case DisplayState::TitleScreen:
        rotation.Tick();  // starts the rotation at once; the key does not close
        return;
    case DisplayState::ShowingItems:
        if (StepForArrow(rotation, key)) {
            rotation.ShowCurrentItem();
            return;
        }
        if (key == VK_RETURN) RecordChosenLink();
        break;
    case DisplayState::NoChannels: break;
    }
    Trace("KEYDOWN\n");
    RequestClose();
}

void OnMouseMove(LPARAM lParam) {
    if (InPreview()) return;
    const auto x = static_cast<std::uint32_t>(lParam & 0xFFFF);
    const auto y = static_cast<std::uint32_t>((lParam >> 16) & 0xFFFF);
    if (mouseRule.IsJump(x, y)) {
        Trace("MOUSEMOVE\n");
        RequestClose();
    }
}

// Another window took the focus: the saver ends, as after a key, and opens nothing.
void OnActivation(bool active) {
    if (InPreview() || !activationRule.Ends(active)) return;
    Trace("DEACTIVATE\n");
    RequestClose();
}

void OnDestroy(HWND window) {
    if (!InPreview()) ShowCursor(TRUE);
    KillTimer(window, 0);
    PostQuitMessage(0);
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER: SaverRotation().Tick(); return 0;
    case WM_PAINT: OnPaint(window); return 0;
    case WM_KEYDOWN: OnKeyDown(wParam); return 0;
    case WM_SYSKEYDOWN:
    case WM_HOTKEY:
        Trace("KEYDOWN\n");
        RequestClose();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        Trace("MOUSEBUTTONDOWN\n");
        RequestClose();
        return 0;
    case WM_MOUSEMOVE: OnMouseMove(lParam); return 0;
    case WM_COMMAND: return 0;
    case WM_ACTIVATEAPP: OnActivation(wParam != FALSE); return 0;
    case WM_ACTIVATE:  // the default handling gives the window the keyboard focus
        OnActivation(LOWORD(wParam) != WA_INACTIVE);
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_CLOSE: closing = true; return DefWindowProcA(window, message, wParam, lParam);
    case WM_SAVER_FETCHED: FinishSaverFetch(wParam); return 0;
    case WM_DESTROY: OnDestroy(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

void RequestClose() {
    if (InPreview() || closing) return;
    SendMessageA(saverWindow, WM_CLOSE, 0, 0);
}

void RecordChosenLink() {
    const FeedItem* item = SaverRotation().CurrentItem();
    const char* link = item ? item->link.c_str() : "";
    Trace("ShellExecute:%s\n", link);
    // A link that is not a plain web address, or too long to keep whole, is refused:
    // Enter still closes the saver, and nothing is opened.
    openLinkOnExit = AcceptLink(link, pendingLink);
}

int RunSaverWindow() {
    SaverRotation().Reset();

    WNDCLASSA wc = {};
    wc.lpfnWndProc = SaverWindowProc;
    wc.hInstance = appInstance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);

    const SaverGeometry geometry = WindowGeometry();
    const ScreenRect& r = geometry.window;
    paintArea = {geometry.paint.left, geometry.paint.top, geometry.paint.right, geometry.paint.bottom};
    HWND parent = InPreview() ? hostWindow : nullptr;
    const DWORD style = InPreview() ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE;
    // Show mode stays above windows that are always on top (clocks, players, notifications).
    const DWORD exStyle = InPreview() ? 0 : WS_EX_TOPMOST;
    saverWindow = CreateWindowExA(exStyle, kClassName, kWindowTitle, style, r.left, r.top, r.Width(), r.Height(),
                                  parent, nullptr, appInstance, nullptr);
    if (!saverWindow) return int(E_FAIL);
    BindSaverDisplay(saverWindow, paintArea);

    if (!InPreview()) ShowCursor(FALSE);
    ShowWindow(saverWindow, SW_SHOW);
    UpdateWindow(saverWindow);
    SetTimer(saverWindow, 0, 1000, nullptr);

    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return int(message.wParam);
}
