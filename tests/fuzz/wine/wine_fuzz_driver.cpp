// Runs documents through the real readers under Wine, for scripts/fuzz-wine:
//
//   kvt_fuzz_driver feeds|settings LIST [FIRST]
//
// LIST holds one path per line; from line FIRST (0 by default) on, each document is
// read as the saver reads it: a feed through FetchChannel on a fetch worker, a settings
// file through LoadSettings. A settings file that loads is saved and loaded again, and
// must come back the same. Each document ends in one line on standard output:
//
//   <line> <outcome> <milliseconds> <detail> <peak working set in KiB>
//
// with the outcome valid or invalid (a feed), loaded or refused (a settings file),
// changed (a settings file that did not come back the same; the detail names the first
// field that differs) or hang (not done after 30 seconds: the driver ends there, with
// exit code 3). A crash ends the driver without the line of its document.
#include "config/settings_io.h"
#include "feed/fetch_worker.h"

#include <windows.h>
#include <ole2.h>
#include <psapi.h>

#include <clocale>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <fstream>
#include <string>
#include <vector>

namespace {

unsigned long long PeakKiB() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / 1024;
}

// The first field in which two settings differ, or empty.
std::string Difference(const SaverSettings& a, const SaverSettings& b) {
    if (a.disp_header_title != b.disp_header_title) return "disp_header_title";
    if (a.disp_header_date != b.disp_header_date) return "disp_header_date";
    if (a.disp_interval != b.disp_interval) return "disp_interval";
    if (a.load_interval != b.load_interval) return "load_interval";
    if (a.font_face != b.font_face) return "font_face";
    if (a.sites.size() != b.sites.size()) return "sites";
    for (size_t i = 0; i < a.sites.size(); ++i) {
        const std::string at = "site" + std::to_string(i) + ".";
        if (a.sites[i].title != b.sites[i].title) return at + "title";
        if (a.sites[i].link != b.sites[i].link) return at + "link";
        if (a.sites[i].description != b.sites[i].description) return at + "description";
        if (a.sites[i].check != b.sites[i].check) return at + "check";
    }
    return std::string();
}

struct SettingsJob {
    std::string path, scratch;
    std::string outcome, detail;
};

// Loads the file as the program does at start, checks the ranges the reader promises,
// then saves what it read and loads that again.
DWORD WINAPI LoadSettingsJob(LPVOID param) {
    auto* job = static_cast<SettingsJob*>(param);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    saverSettings = SaverSettings();
    const HRESULT hr = LoadSettings(job->path.c_str(), false);
    const SaverSettings loaded = saverSettings;
    job->outcome = FAILED(hr) ? "refused" : "loaded";
    job->detail = "sites=" + std::to_string(loaded.sites.size());
    if (SUCCEEDED(hr) && (loaded.disp_interval < 1 || loaded.disp_interval > 99 || loaded.load_interval < 1 ||
                          loaded.load_interval > 999)) {
        job->outcome = "changed", job->detail = "interval-range";
    } else if (SUCCEEDED(hr)) {
        if (FAILED(SaveSettings(job->scratch.c_str()))) {
            job->outcome = "changed", job->detail = "save-failed";
        } else {
            saverSettings = SaverSettings();
            const HRESULT again = LoadSettings(job->scratch.c_str(), false);
            const std::string difference = Difference(loaded, saverSettings);
            if (FAILED(again))
                job->outcome = "changed", job->detail = "reload-failed";
            else if (!difference.empty())
                job->outcome = "changed", job->detail = difference;
        }
    }
    CoUninitialize();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (std::string(argv[1]) != "feeds" && std::string(argv[1]) != "settings")) {
        std::fprintf(stderr, "usage: kvt_fuzz_driver feeds|settings LIST [FIRST]\n");
        return 2;
    }
    const bool feeds = std::string(argv[1]) == "feeds";
    std::vector<std::string> paths;
    std::ifstream list(argv[2]);
    for (std::string line; std::getline(list, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        paths.push_back(line);
    }
    const size_t first = argc > 3 ? std::stoul(argv[3]) : 0;

    // Set up as the saver does: OLE and COM, the Japanese locale.
    OleInitialize(nullptr);
    std::setlocale(LC_ALL, "Japanese");
    _setmode(_fileno(stdout), _O_BINARY);
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string scratch = std::string(temp) + "kvt-fuzz-" + std::to_string(GetCurrentProcessId()) + ".xml";

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (size_t i = first; i < paths.size(); ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        std::string outcome, detail;
        bool done;
        if (feeds) {
            std::shared_ptr<FetchJob> job = FetchJob::Start(paths[i]);
            done = WaitForSingleObject(job->DoneEvent(), kFetchTimeoutSeconds * 1000) == WAIT_OBJECT_0;
            if (done) {
                const ChannelContent content = job->Take();
                outcome = content.valid ? "valid" : "invalid";
                detail = std::string(content.is_site_list ? "sites=" : "items=") + std::to_string(content.items.size());
            }
        } else {
            SettingsJob job{paths[i], scratch, "", ""};
            HANDLE thread = CreateThread(nullptr, 0, LoadSettingsJob, &job, 0, nullptr);
            done = thread && WaitForSingleObject(thread, kFetchTimeoutSeconds * 1000) == WAIT_OBJECT_0;
            if (done) outcome = job.outcome, detail = job.detail;
            if (thread && done) CloseHandle(thread);
        }
        QueryPerformanceCounter(&end);
        const double ms = 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        std::printf("%zu %s %.0f %s %llu\n", i, done ? outcome.c_str() : "hang", ms, done ? detail.c_str() : "-",
                    PeakKiB());
        std::fflush(stdout);
        if (!done) {
            // A worker is still inside the XML object: end at once, as the saver does.
            DeleteFileA(scratch.c_str());
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
    DeleteFileA(scratch.c_str());
    // Workers of fetches that never ended would hold a normal exit.
    if (RunningFetchWorkers() > 0) TerminateProcess(GetCurrentProcess(), 0);
    OleUninitialize();
    return 0;
}
