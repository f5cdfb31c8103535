// A day of item changes in a few minutes: drives the real kvt.scr with posted
// WM_TIMER messages (the saver's timer 0) at one second per item, over channels that
// fail, one of 1,000 items and a few small ones, and samples what the process holds
// along the way. Then the saver's CPU time over a minute of ordinary running and a
// minute on the title screen without channels.
//
// Wine 8 answers neither GetGuiResources (0, ERROR_CALL_NOT_IMPLEMENTED) nor
// GetProcessHandleCount (0) nor PrivateUsage (0) nor, for another process,
// GetProcessTimes (0). So this counts the process's handles in the system's list of
// all handles, reads its threads, page-file bytes, address space and CPU time from
// its entry of SystemProcessInformation, counts GDI objects from Wine's own trace of
// every GDI handle the saver allocates and frees, and counts the saver's windows as
// its USER objects.
#include "e2e.h"
#include "feed_server.h"

#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

// The process's open handles, from the system's list of every handle (Wine keeps
// that list in its server; GetProcessHandleCount answers 0 there).
long HandlesOf(DWORD pid) {
    struct Entry {
        PVOID object;
        ULONG_PTR pid, handle;
        ULONG access;
        USHORT backTrace, type;
        ULONG attributes, reserved;
    };
    struct Table {
        ULONG_PTR count, reserved;
        Entry entries[1];
    };
    const auto kExtendedHandleInformation = SYSTEM_INFORMATION_CLASS(64);
    std::vector<unsigned char> buffer(1 << 22);
    for (ULONG needed = 0;
         NtQuerySystemInformation(kExtendedHandleInformation, buffer.data(), ULONG(buffer.size()), &needed) != 0;) {
        if (buffer.size() >= (256u << 20)) return -1;
        buffer.resize(buffer.size() * 2);
    }
    const auto* table = reinterpret_cast<const Table*>(buffer.data());
    long count = 0;
    for (ULONG_PTR i = 0; i < table->count; ++i) count += table->entries[i].pid == pid;
    return count;
}

// From the process's entry of SystemProcessInformation.
struct ProcessFigures {
    bool found = false;
    long handles = 0;
    unsigned long threads = 0;
    unsigned long long pagefileBytes = 0, virtualBytes = 0;
    unsigned long long cpu100ns = 0;  // user + kernel
};

ProcessFigures ReadProcessFigures(DWORD pid) {
    ProcessFigures f;
    std::vector<unsigned char> buffer(1 << 20);
    for (;;) {
        ULONG needed = 0;
        if (NtQuerySystemInformation(SystemProcessInformation, buffer.data(), ULONG(buffer.size()), &needed) == 0)
            break;
        if (buffer.size() >= (64u << 20)) return f;
        buffer.resize(buffer.size() * 2);
    }
    for (std::size_t at = 0;;) {
        const auto* p = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + at);
        if (DWORD(reinterpret_cast<ULONG_PTR>(p->UniqueProcessId)) == pid) {
            f.found = true;
            f.threads = p->NumberOfThreads;
            f.pagefileBytes = p->VirtualMemoryCounters.PagefileUsage;
            f.virtualBytes = p->VirtualMemoryCounters.VirtualSize;
            f.cpu100ns = static_cast<unsigned long long>(p->UserTime.QuadPart + p->KernelTime.QuadPart);
            f.handles = HandlesOf(pid);
            return f;
        }
        if (!p->NextEntryOffset) return f;
        at += p->NextEntryOffset;
    }
}

struct WindowCount {
    DWORD pid;
    int count;
};

BOOL CALLBACK CountChild(HWND window, LPARAM param) {
    auto* c = reinterpret_cast<WindowCount*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    c->count += pid == c->pid;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
    CountChild(window, param);
    EnumChildWindows(window, CountChild, param);
    return TRUE;
}

// The process's windows: top-level ones, their children and message-only ones.
int WindowsOf(DWORD pid) {
    WindowCount c = {pid, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&c));
    for (HWND w = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr)) {
        CountTopLevel(w, reinterpret_cast<LPARAM>(&c));
    }
    return c.count;
}

// Reads Wine's "gdi" trace of the saver as it grows and keeps, per kind of GDI
// object, how many were allocated and freed: "alloc_gdi_handle allocated
// NTGDI_OBJ_FONT 0x... N/65536" and "free_gdi_handle freed NTGDI_OBJ_FONT ...".
// Wine writes a process's trace to the standard error it was started with, so the
// saver's goes where this program's does: the script sends that to `path`.
class GdiTrace {
public:
    explicit GdiTrace(const std::string& path)
        : file_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr)) {
        ReadToEnd();  // whatever came before the saver
        totals_ = Totals();
    }
    ~GdiTrace() {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    }
    GdiTrace(const GdiTrace&) = delete;
    GdiTrace& operator=(const GdiTrace&) = delete;

    bool Open() const { return file_ != INVALID_HANDLE_VALUE; }

    struct Totals {
        long long live = 0, fonts_created = 0, fonts_deleted = 0, wine_count = 0;
        std::map<std::string, long long> live_by_kind;
    };
    // What the saver has traced so far: it writes each line before going on.
    Totals Snapshot() {
        ReadToEnd();
        return totals_;
    }

private:
    void ReadToEnd() {
        if (!Open()) return;
        std::vector<char> chunk(1 << 16);
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file_, chunk.data(), DWORD(chunk.size()), &got, nullptr) || got == 0) return;
            for (DWORD i = 0; i < got; ++i) {
                if (chunk[i] != '\n') {
                    line_ += chunk[i];
                    continue;
                }
                Count(line_);
                line_.clear();
            }
        }
    }

    void Count(const std::string& line) {
        static const char kAllocated[] = "alloc_gdi_handle allocated ";
        static const char kFreed[] = "free_gdi_handle freed ";
        std::size_t at = line.find(kAllocated);
        int step = +1;
        if (at != std::string::npos) {
            at += sizeof kAllocated - 1;
        } else if ((at = line.find(kFreed)) != std::string::npos) {
            at += sizeof kFreed - 1;
            step = -1;
        } else {
            return;
        }
        const std::string kind = line.substr(at, line.find(' ', at) - at);
        totals_.live += step;
        totals_.live_by_kind[kind] += step;
        if (kind == "NTGDI_OBJ_FONT") ++(step > 0 ? totals_.fonts_created : totals_.fonts_deleted);
        // Wine's own count of the process's GDI handles: after the allocation, or
        // before the free.
        const std::size_t slash = line.rfind('/');
        const std::size_t space = line.rfind(' ', slash);
        if (slash != std::string::npos && space != std::string::npos)
            totals_.wine_count = std::atoll(line.c_str() + space + 1) - (step < 0 ? 1 : 0);
    }

    HANDLE file_;
    std::string line_;
    Totals totals_;
};

// Waits until the saver's window thread has handled what was sent before (a sent
// message is answered at its next message wait, after the message it is handling).
bool Settle(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) &&
           SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

// The left 48 columns of the screen: the item text and the header both start at the
// left edge, and each item change draws them at a new height in a new colour.
std::vector<std::uint32_t> LeftStrip() {
    const int width = 48, height = GetSystemMetrics(SM_CYSCREEN);
    return PaintOffscreen(width, height,
                          [&](HDC mem) {
                              HDC screen = GetDC(nullptr);
                              BitBlt(mem, 0, 0, width, height, screen, 0, 0, SRCCOPY);
                              ReleaseDC(nullptr, screen);
                          })
        .pixels;
}

double Seconds(const LARGE_INTEGER& from) {
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return double(now.QuadPart - from.QuadPart) / double(freq.QuadPart);
}

struct Sample {
    const char* label;
    long changes;
    double seconds;
    GdiTrace::Totals gdi;
    int windows;
    ProcessFigures process;
};

Sample TakeSample(const char* label, long changes, const LARGE_INTEGER& start, HWND window, DWORD pid,
                  GdiTrace& trace) {
    Settle(window);
    Sample s = {label, changes, Seconds(start), trace.Snapshot(), WindowsOf(pid), ReadProcessFigures(pid)};
    return s;
}

void PrintSamples(const std::vector<Sample>& samples) {
    std::printf(
        "| when | item changes | s | GDI objects (Wine's count) | fonts live | fonts created / deleted | "
        "windows | handles | threads | page-file KiB | address space MiB |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const Sample& s : samples) {
        const auto font = s.gdi.live_by_kind.find("NTGDI_OBJ_FONT");
        std::printf("| %s | %ld | %.0f | %lld (%lld) | %lld | %lld / %lld | %d | %ld | %lu | %llu | %.1f |\n", s.label,
                    s.changes, s.seconds, s.gdi.live, s.gdi.wine_count,
                    font == s.gdi.live_by_kind.end() ? 0LL : font->second, s.gdi.fonts_created, s.gdi.fonts_deleted,
                    s.windows, s.process.handles, s.process.threads, s.process.pagefileBytes / 1024,
                    double(s.process.virtualBytes) / 1048576.0);
    }
}

void PrintLiveByKind(const Sample& a, const Sample& b) {
    std::printf("GDI objects live by kind, %s -> %s:", a.label, b.label);
    for (const auto& kind : b.gdi.live_by_kind) {
        const auto before = a.gdi.live_by_kind.find(kind.first);
        std::printf(" %s %lld -> %lld;", kind.first.c_str(), before == a.gdi.live_by_kind.end() ? 0LL : before->second,
                    kind.second);
    }
    std::printf("\n");
}

SaverSettings SoakSettings() {
    SaverSettings s = WithChannels(
        {Channel("見つからない", FeedServerUrl("/status/404")), Channel("つながらない", "http://127.0.0.1:9/feed.xml"),
         Channel("千件", FeedServerUrl("/gen/items-1000.xml")),
         Channel("記事なし", FeedServerUrl("/feeds/empty_channel.xml")),
         Channel("RSS two", FeedServerUrl("/feeds/rss2.xml")), Channel("RDF", FeedServerUrl("/feeds/rss1.xml"))},
        1);
    s.load_interval = 1;  // the served channels are fetched again about every minute
    return s;
}

// Drives `changes` item changes and prints the samples. Returns false when the saver
// stopped answering or showing new items.
bool Soak(long changes, const std::string& tracePath) {
    const long warmUp = std::min(changes, std::max(1L, changes / 10));
    const long every = std::max(1L, changes / 10);
    SaverRun run(ConfigFile(SoakSettings()));
    GdiTrace trace(tracePath);
    if (!trace.Open()) std::printf("no trace at %s: GDI objects are not counted\n", tracePath.c_str());
    // The trace goes to the saver only: the variable is back to this process's own
    // value before anything else starts.
    char own[256] = "";
    const bool hadOwn = GetEnvironmentVariableA("WINEDEBUG", own, sizeof own) > 0;
    SetEnvironmentVariableA("WINEDEBUG", "-all,trace+gdi");
    const bool started = run.Start("/s");
    SetEnvironmentVariableA("WINEDEBUG", hadOwn ? own : nullptr);
    HWND window = started ? run.WaitForWindow(kSaverClass) : nullptr;
    if (!window) {
        std::printf("the saver did not start\n");
        return false;
    }
    PumpFor(300);
    const DWORD pid = run.ProcessId();
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    std::vector<Sample> samples = {TakeSample("start (title screen)", 0, start, window, pid, trace)};

    std::vector<std::uint32_t> shown = LeftStrip();
    long waited = 0;  // changes not on screen at once: fetches, mostly
    double longestWait = 0;
    bool ok = true;
    long done = 0;
    while (done < changes) {
        PostMessageA(window, WM_TIMER, 0, 0);  // timer 0, as SetTimer's ticks
        if (!Settle(window)) {
            ok = false;
            break;
        }
        LARGE_INTEGER tick;
        QueryPerformanceCounter(&tick);
        std::vector<std::uint32_t> now = LeftStrip();
        if (now == shown) {
            ++waited;
            while (now == shown && Seconds(tick) < 40) {
                Sleep(2);
                now = LeftStrip();
            }
            longestWait = std::max(longestWait, Seconds(tick));
            if (now == shown) {
                ok = false;
                break;
            }
        }
        shown = std::move(now);
        ++done;
        if (done == warmUp)
            samples.push_back(TakeSample("after warm-up", done, start, window, pid, trace));
        else if (done % every == 0 && done != changes)
            samples.push_back(TakeSample("", done, start, window, pid, trace));
    }
    if (ok) samples.push_back(TakeSample("end", done, start, window, pid, trace));
    const double wall = Seconds(start);

    std::printf("## Soak: %ld item changes at disp_interval 1\n\n", done);
    PrintSamples(samples);
    std::printf(
        "\n%ld changes in %.0f s (%.1f per second); %ld of them were not yet on screen when first "
        "looked for, the longest after %.2f s. The saver's own one-second timer ran meanwhile and "
        "changed the item about once a second more.\n",
        done, wall, double(done) / wall, waited, longestWait);
    if (samples.size() >= 2) {
        const Sample& warm = samples[1];
        const Sample& end = samples.back();
        PrintLiveByKind(samples.front(), warm);
        PrintLiveByKind(warm, end);
        std::printf(
            "end / after warm-up: GDI objects %.3f, windows %.3f, handles %.3f, threads %.3f, "
            "page-file bytes %.3f, address space %.3f\n",
            double(end.gdi.live) / double(std::max(1LL, warm.gdi.live)),
            double(end.windows) / double(std::max(1, warm.windows)),
            double(end.process.handles) / double(std::max(1L, warm.process.handles)),
            double(end.process.threads) / double(std::max(1UL, warm.process.threads)),
            double(end.process.pagefileBytes) / double(std::max(1ULL, warm.process.pagefileBytes)),
            double(end.process.virtualBytes) / double(std::max(1ULL, warm.process.virtualBytes)));
        const long long items = end.changes - warm.changes;
        if (items > 0)
            std::printf("per item change after warm-up: %.1f fonts created and deleted, %.2f ms of the saver's CPU\n",
                        double(end.gdi.fonts_created - warm.gdi.fonts_created) / double(items),
                        double(end.process.cpu100ns - warm.process.cpu100ns) / 1e4 / double(items));
    }
    PostTo(window, WM_KEYDOWN, VK_ESCAPE);
    run.WaitForExit(10000);
    return ok;
}

struct IdleCpu {
    double cpuMs = 0, wallS = 0;
    ProcessFigures before, after;
};

// The saver's CPU time over `seconds` of running on its own, after `settleMs`.
IdleCpu MeasureIdle(const SaverSettings& settings, DWORD settleMs, int seconds) {
    IdleCpu m;
    SaverRun run(ConfigFile(settings));
    HWND window = StartShow(run);
    if (!window) return m;
    PumpFor(settleMs);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    m.before = ReadProcessFigures(run.ProcessId());
    PumpFor(DWORD(seconds) * 1000);
    m.after = ReadProcessFigures(run.ProcessId());
    m.wallS = Seconds(start);
    m.cpuMs = double(m.after.cpu100ns - m.before.cpu100ns) / 1e4;
    PostTo(window, WM_KEYDOWN, VK_ESCAPE);
    run.WaitForExit(10000);
    return m;
}

void PrintIdle(const char* what, const IdleCpu& m) {
    std::printf("| %s | %.1f | %.0f | %.3f %% | %ld -> %ld | %llu -> %llu |\n", what, m.wallS, m.cpuMs,
                m.wallS > 0 ? m.cpuMs / 10.0 / m.wallS : 0.0, m.before.handles, m.after.handles,
                m.before.pagefileBytes / 1024, m.after.pagefileBytes / 1024);
}

}  // namespace

int main(int argc, char** argv) {
    const long changes = argc > 1 ? std::max(1L, std::atol(argv[1])) : 17280;
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;
    const std::string tracePath = argc > 3 ? argv[3] : std::string();
    const bool soaked = Soak(changes, tracePath);
    std::fflush(stdout);

    // Ordinary running: two served channels at the default five seconds per item,
    // measured from a few seconds after the first item is on screen.
    const IdleCpu ordinary = MeasureIdle(WithChannels(TwoChannels(), 5), 8000, seconds);
    // No channels: the title screen for a second and five more, then the product
    // title every five seconds.
    const IdleCpu title = MeasureIdle(WithChannels({}, 5), 8000, seconds);
    std::printf("\n## The saver's CPU time while it runs on its own\n\n");
    std::printf("| case | wall s | CPU ms | of one core | handles | page-file KiB |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    PrintIdle("two channels, 5 s per item", ordinary);
    PrintIdle("no channels (product title)", title);
    if (title.cpuMs > 0)
        std::printf("\nratio of CPU time, two channels / no channels: %.2f\n", ordinary.cpuMs / title.cpuMs);
    return soaked ? 0 : 1;
}
