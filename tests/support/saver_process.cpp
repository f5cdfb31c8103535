#include "saver_process.h"

#include "test_paths.h"

#include <tlhelp32.h>

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
    return CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &si, &pi_) != 0;
}

bool SaverRun::StartUnderLocale(const std::string& arguments, const char* unixLocale) {
    // WINELOADER names the Wine that runs this test, so the saver runs under the same one.
    return StartThroughShell("LANG=\"$0\" LC_ALL=\"$0\" exec \"$WINELOADER\" \"$1\" " + arguments, unixLocale);
}

bool SaverRun::StartWithFileSizeLimit(const std::string& arguments, int blocks) {
    // Ignored, the signal a write past the limit raises leaves the write to fail instead.
    return StartThroughShell("ulimit -f \"$0\"; trap '' XFSZ; exec \"$WINELOADER\" \"$1\" " + arguments,
                             std::to_string(blocks));
}

bool SaverRun::StartThroughShell(const std::string& command, const std::string& zero) {
    using UnixSpawn = LONG(CDECL*)(char* const argv[], int wait);
    const auto spawn = reinterpret_cast<UnixSpawn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "__wine_unix_spawnvp")));
    if (!spawn) return false;
    std::string shell = "/bin/sh", option = "-c", line = command, word = zero, saver = SaverPath();
    char* argv[] = {&shell[0], &option[0], &line[0], &word[0], &saver[0], nullptr};
    QueryPerformanceCounter(&started_);
    if (spawn(argv, FALSE) != 0) return false;
    // Find the process by its image, which lies in this run's own folder.
    const DWORD start = GetTickCount();
    do {
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
            if (lstrcmpiA(entry.szExeFile, "kvt.scr") != 0) continue;
            const HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, entry.th32ProcessID);
            char image[MAX_PATH] = "";
            DWORD size = sizeof image;
            if (process && QueryFullProcessImageNameA(process, 0, image, &size) &&
                lstrcmpiA(image, saver.c_str()) == 0) {
                CloseHandle(snapshot);
                pi_.hProcess = process;
                pi_.dwProcessId = entry.th32ProcessID;
                return true;
            }
            if (process) CloseHandle(process);
        }
        CloseHandle(snapshot);
        PumpFor(20);
    } while (GetTickCount() - start < 15000);
    return false;
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

bool SaverRun::IsRunning() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

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

void PostTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) { PostMessageA(window, message, wParam, lParam); }

bool SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result) != 0;
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

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
    for (const DWORD start = GetTickCount();; PumpFor(20)) {
        if (done()) return true;
        if (GetTickCount() - start >= limitMs) return done();
    }
}
