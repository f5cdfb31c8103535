// feeddump: fetches each URL or file path given with FetchChannel and prints
// the result as one line of JSON in UTF-8. Exit code 0 when every fetch was
// valid, 1 otherwise. With --stats first, each fetch's time and the process's
// peak working set go to standard error.
#include "feed/feed_parser.h"
#include "feed/text_convert.h"
#include "json_line.h"

#include <windows.h>
#include <ole2.h>
#include <psapi.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>

namespace {

void PrintStats(const char* url, double ms) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    std::fprintf(stderr, "feeddump: %.0f ms, peak working set %llu KiB: %s\n", ms,
                 static_cast<unsigned long long>(counters.PeakWorkingSetSize / 1024), url);
}

}  // namespace

int main(int argc, char** argv) {
    // Set up as the saver does: OLE and COM on this thread, the Japanese locale.
    if (FAILED(OleInitialize(nullptr))) {
        std::fprintf(stderr, "feeddump: OLE could not be initialised\n");
        return 1;
    }
    CoInitialize(nullptr);
    std::setlocale(LC_ALL, "Japanese");
    _setmode(_fileno(stdout), _O_BINARY);

    int first = 1;
    bool stats = argc > 1 && std::strcmp(argv[1], "--stats") == 0;
    if (stats) ++first;
    if (first >= argc) std::fprintf(stderr, "usage: feeddump [--stats] URL-or-path...\n");

    bool allValid = first < argc;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int i = first; i < argc; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        ChannelContent content = FetchChannel(argv[i]);
        QueryPerformanceCounter(&end);
        std::string line = ChannelJsonLine(content, &ToUtf8);
        line.push_back('\n');
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fflush(stdout);
        if (stats) PrintStats(argv[i], 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart);
        if (!content.valid) allValid = false;
    }

    CoUninitialize();
    OleUninitialize();
    return allValid ? 0 : 1;
}
