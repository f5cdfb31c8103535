#include "feed_server.h"

#include "test_paths.h"

#include <windows.h>
#include <ole2.h>

#include <clocale>

namespace {
const char kStateFolder[] = "feed-server";

// "SCHEME://HOST:PORT" + path with the port from the state folder's file `portFile`.
std::string ServerUrl(const char* portFile, const char* start, const std::string& path) {
    std::string port = ReadFileBytes(BuildPath(std::string(kStateFolder) + "/" + portFile));
    while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
    if (port.empty()) return std::string();
    return start + port + path;
}
}  // namespace

std::string FeedServerUrl(const std::string& path) { return ServerUrl("port", "http://127.0.0.1:", path); }

std::string FeedServerHttpsUrl(const std::string& path) { return ServerUrl("https_port", "https://localhost:", path); }

std::string FeedServerAuthority() { return ReadFileBytes(BuildPath(std::string(kStateFolder) + "/tls/ca.der")); }

std::string GeneratedFeedPath(const std::string& name) {
    return BuildPath(std::string(kStateFolder) + "/generated/" + name);
}

std::string HangingFeedUrl(int seconds) {
    // Unique across the Wine sessions that share the server, whose process numbers may agree.
    static int count = 0;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const std::string tag = std::to_string(now.QuadPart) + "-" + std::to_string(++count);
    return FeedServerUrl("/never?s=" + std::to_string(seconds) + "&tag=" + tag);
}

bool FeedServerWasAsked(const std::string& hangingUrl) {
    const std::string tag = hangingUrl.substr(hangingUrl.rfind("&tag=") + 5);
    return ("\n" + ReadFileBytes(GeneratedFeedPath("asked"))).find("\n" + tag + "\n") != std::string::npos;
}

std::string FeedServerRequests() { return ReadFileBytes(GeneratedFeedPath("requests")); }

std::string FixturePath(const std::string& name) { return SourcePath("tests/fixtures/" + name); }

void InitFeedEnvironment() {
    static bool done = false;
    if (done) return;
    done = true;
    OleInitialize(nullptr);
    CoInitialize(nullptr);
    std::setlocale(LC_ALL, "Japanese");
}
