#include "saver_process.h"

#include "test_paths.h"

namespace {
struct FindState {
    DWORD pid;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<FindState*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[256] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (pid == s->pid && lstrcmpiA(cls, s->className) == 0) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

SaverRun::SaverRun(const std::string& config) {
    folder_ = MakeTempFolder("kvt-run");
    CopyFileA((BinFolder() + "kvt.scr").c_str(), (folder_ + "kvt.scr").c_str(), FALSE);
    if (!config.empty()) WriteFileBytes(ConfigPath(), config);
}

SaverRun::~SaverRun() {
    Kill();
    if (pi_.hProcess) CloseHandle(pi_.hProcess);
    if (pi_.hThread) CloseHandle(pi_.hThread);
    RemoveFolder(folder_);
}

bool SaverRun::Start(const std::string& arguments) {
    std::string command = "\"" + folder_ + "kvt.scr\"";
    if (!arguments.empty()) command += " " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    QueryPerformanceCounter(&started_);
    return CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder_.c_str(), &si, &pi_) != 0;
}

HWND SaverRun::WaitForWindow(const char* className, DWORD timeoutMs, HWND parent) const {
    DWORD start = GetTickCount();
    do {
        FindState s = {pi_.dwProcessId, className, nullptr};
        if (parent)
            EnumChildWindows(parent, MatchWindow, reinterpret_cast<LPARAM>(&s));
        else
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
        if (s.found) return s.found;
        PumpFor(10);
    } while (GetTickCount() - start < timeoutMs && IsRunning());
    return nullptr;
}

bool SaverRun::IsRunning() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

bool SaverRun::WaitForExit(DWORD timeoutMs, DWORD* code) const {
    if (!pi_.hProcess) return false;
    DWORD start = GetTickCount();
    while (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
        if (GetTickCount() - start >= timeoutMs) return false;
        PumpFor(10);
    }
    if (code) GetExitCodeProcess(pi_.hProcess, code);
    return true;
}

void SaverRun::Kill() {
    if (IsRunning()) {
        TerminateProcess(pi_.hProcess, 1);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
}

double SaverRun::ElapsedMs() const {
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return double(now.QuadPart - started_.QuadPart) * 1000.0 / double(freq.QuadPart);
}

void PostTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageA(window, message, wParam, lParam);
}

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}
