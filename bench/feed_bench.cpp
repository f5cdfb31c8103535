// Benchmark, not a test: FetchChannel on the given addresses, split into the
// XML object's load (fetch and parse) and our reading of the loaded document
// (the child walks and conversions). Prints one Markdown table row per address:
//   | address | items | runs | ms per feed | items per s | load ms | read ms | read share |
// Usage: kvt_feed_bench [--runs N] ADDRESS...  (N defaults to as many runs as fit in ~3 s, at most 20)
#include "feed/feed_parser.h"
#include "feed/xml_doc.h"

#include <windows.h>
#include <ole2.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Sample {
    double load_ms = 0;
    double read_ms = 0;
    size_t items = 0;
    bool valid = false;
};

// The same steps as FetchChannel, timed apart.
Sample Measure(const char* address) {
    Sample s;
    ChannelContent content;
    content.fetched_at = std::time(nullptr);
    double start = Now();
    XmlDoc doc;
    bool loaded = SUCCEEDED(doc.Load(address));
    double loadedAt = Now();
    if (loaded) ReadChannelDocument(doc, &content);
    double readAt = Now();
    s.load_ms = loadedAt - start;
    s.read_ms = readAt - loadedAt;
    s.items = content.items.size();
    s.valid = content.valid;
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    OleInitialize(nullptr);
    CoInitialize(nullptr);
    std::setlocale(LC_ALL, "Japanese");

    int fixedRuns = 0;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--runs") == 0) {
        fixedRuns = std::atoi(argv[2]);
        first = 3;
    }
    std::printf("| address | items | runs | ms per feed | items per s | load ms | read ms | read share |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
    int status = 0;
    for (int i = first; i < argc; ++i) {
        Sample warm = Measure(argv[i]);  // also fills caches, as repeated fetches would
        if (!warm.valid) status = 1;
        int runs = fixedRuns;
        if (runs <= 0) {
            double per = warm.load_ms + warm.read_ms;
            runs = per > 0 ? static_cast<int>(3000.0 / per) : 20;
            if (runs < 1) runs = 1;
            if (runs > 20) runs = 20;
        }
        Sample total;
        for (int r = 0; r < runs; ++r) {
            Sample s = Measure(argv[i]);
            total.load_ms += s.load_ms;
            total.read_ms += s.read_ms;
            total.items = s.items;
        }
        double load = total.load_ms / runs, read = total.read_ms / runs, whole = load + read;
        std::printf("| %s | %zu | %d | %.1f | %.0f | %.1f | %.1f | %.0f%% |\n", argv[i], total.items, runs, whole,
                    whole > 0 ? 1000.0 * static_cast<double>(total.items) / whole : 0.0, load, read,
                    whole > 0 ? 100.0 * read / whole : 0.0);
        std::fflush(stdout);
    }
    CoUninitialize();
    OleUninitialize();
    return status;
}
