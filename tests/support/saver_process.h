#pragma once
// Runs the real kvt.scr from a folder of its own, so each test has its own
// "kvtini.xml", and observes it from outside: windows, exit code, files.
#include <windows.h>

#include <functional>
#include <string>

class SaverRun {
public:
    // A fresh folder holding a copy of kvt.scr and, when given, this kvtini.xml.
    explicit SaverRun(const std::string& config = std::string());
    ~SaverRun();  // ends the process if it still runs and removes the folder
    SaverRun(const SaverRun&) = delete;
    SaverRun& operator=(const SaverRun&) = delete;

    bool Start(const std::string& arguments);
    // Starts it under another Unix locale, through the Unix shell: Wine takes the process
    // code page from it, and a Windows process cannot hand a child another one.
    bool StartUnderLocale(const std::string& arguments, const char* unixLocale);
    // Starts it through the Unix shell with no file it writes allowed to grow beyond
    // `blocks` of 512 bytes, as on a disk that is full: a write past that fails.
    bool StartWithFileSizeLimit(const std::string& arguments, int blocks);
    // The first top-level window of the process with this class, or with a parent its
    // first such child window (nullptr on time-out).
    HWND WaitForWindow(const char* className, DWORD timeoutMs = 15000, HWND parent = nullptr) const;
    bool IsRunning() const;
    // True when the process ended within the time; its exit code goes to *code.
    bool WaitForExit(DWORD timeoutMs, DWORD* code = nullptr) const;
    void Kill();

    std::string ConfigPath() const { return folder_ + "kvtini.xml"; }
    std::string SaverPath() const { return folder_ + "kvt.scr"; }
    DWORD ProcessId() const { return pi_.dwProcessId; }
    // Milliseconds between the start of the process and now.
    double ElapsedMs() const;

private:
    // Runs `command` with the Unix shell, $0 being `zero` and $1 the saver's path, and
    // finds the process it starts.
    bool StartThroughShell(const std::string& command, const std::string& zero);

    std::string folder_;
    PROCESS_INFORMATION pi_ = {};
    LARGE_INTEGER started_ = {};
};

// Posts a message to a window of another process (keys, mouse moves, clicks).
void PostTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Sends a message to a window of another process and returns once it has been handled
// (false when the window did not answer within ten seconds).
bool SendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Pumps this thread's messages for the given time.
void PumpFor(DWORD ms);
// Pumps this thread's messages until `done` holds, checking every 20 ms, for at most
// `limitMs`; returns whether it holds.
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 15000);
