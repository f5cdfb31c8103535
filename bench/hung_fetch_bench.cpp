// How fast the real kvt.scr ends on a key while a fetch hangs, against an idle saver
// in the same run, and how many threads it keeps after visiting a hung channel again
// and again. The loopback feed server's /never address accepts and never answers.
#include "e2e.h"
#include "feed_server.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Ending {
    double windowGoneMs, exitMs;
};

// Presses Escape and times the window's end and the process's end from the key.
Ending EndWithEscape(SaverRun& run, HWND window) {
    const double key = run.ElapsedMs();
    PostTo(window, WM_KEYDOWN, VK_ESCAPE);
    while (IsWindow(window) && run.ElapsedMs() - key < 10000) Sleep(1);
    const double gone = run.ElapsedMs() - key;
    run.WaitForExit(10000);
    return {gone, run.ElapsedMs() - key};
}

// Prints the median and maximum of both times and returns the medians.
Ending Report(const char* what, const std::vector<Ending>& runs) {
    auto summary = [&](double Ending::*field, const char* name) {
        std::vector<double> v;
        for (const Ending& e : runs) v.push_back(e.*field);
        std::sort(v.begin(), v.end());
        const double median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
        std::printf("  %-12s median %7.1f ms, max %7.1f ms\n", name, median, v.back());
        return median;
    };
    std::printf("%s, %zu runs:\n", what, runs.size());
    const double gone = summary(&Ending::windowGoneMs, "window gone");
    return {gone, summary(&Ending::exitMs, "process end")};
}

int ThreadsOf(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == pid;
    CloseHandle(snapshot);
    return count;
}

// The hung channel first, then a served one: each Down key goes to the other channel,
// and every second one visits the hung channel again.
void CountThreadsOverVisits(int visits) {
    SaverRun run(ConfigFile(WithChannels(
        {Channel("止まる", FeedServerUrl("/never?s=120")), Channel("RSS two", FeedServerUrl("/feeds/rss2.xml"))})));
    HWND window = StartShow(run);
    if (!window) return;
    const int idle = ThreadsOf(run.ProcessId());
    PumpFor(2000);  // the first tick has started the hung fetch
    const int fetching = ThreadsOf(run.ProcessId());
    Screenshot shown = WaitForColour(45000);  // its failure line, after the time-out
    int confirmed = 1;
    for (int i = 1; i < visits * 2; ++i) {
        PostTo(window, WM_KEYDOWN, VK_DOWN);
        Screenshot next = StableCapture();
        for (DWORD start = GetTickCount(); next.pixels == shown.pixels && GetTickCount() - start < 3000;)
            next = StableCapture();
        if (i % 2 == 0 && next.pixels != shown.pixels) ++confirmed;
        shown = std::move(next);
    }
    std::printf(
        "threads of kvt.scr: %d on the title screen, %d during the first hung fetch, %d after %d visits "
        "of the hung channel (%d seen on screen)\n",
        idle, fetching, ThreadsOf(run.ProcessId()), visits, confirmed);
    EndWithEscape(run, window);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    std::vector<Ending> hung, idle;
    const std::string hungConfig = ConfigFile(WithChannels({Channel("止まる", FeedServerUrl("/never?s=60"))}));
    const std::string idleConfig = ConfigFile(WithChannels({Channel("RSS two", FeedServerUrl("/feeds/rss2.xml"))}));
    for (int i = 0; i < runs; ++i) {  // alternated, so both see the same machine
        {
            SaverRun run(hungConfig);
            HWND window = StartShow(run);
            if (!window) return 1;
            PumpFor(2000);  // past the first tick, whose fetch now hangs
            hung.push_back(EndWithEscape(run, window));
        }
        {
            SaverRun run(idleConfig);
            HWND window = StartShow(run);
            if (!window) return 1;
            WaitForColour();  // an item on screen, no fetch under way
            PumpFor(500);
            idle.push_back(EndWithEscape(run, window));
        }
    }
    const Ending h = Report("Escape during a hung fetch", hung);
    const Ending i = Report("Escape on an idle saver showing an item", idle);
    std::printf("hung / idle medians: window gone %.2f, process end %.2f\n", h.windowGoneMs / i.windowGoneMs,
                h.exitMs / i.exitMs);
    CountThreadsOverVisits(20);
    return 0;
}
