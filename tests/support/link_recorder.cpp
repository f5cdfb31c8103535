#include "link_recorder.h"

#include "saver_process.h"
#include "test_paths.h"

#include <windows.h>

namespace {
std::string SchemeKey(const std::string& scheme) { return "Software\\Classes\\" + scheme; }
std::string CommandKey(const std::string& scheme) { return SchemeKey(scheme) + "\\shell\\open\\command"; }

// In the temporary folder, which is the Wine prefix's own: tests running at the same time
// in sessions of their own keep their links and handlers apart.
std::string LogPath() { return TempFolder() + "kvt-opened-links.txt"; }

void SetString(HKEY key, const char* name, const std::string& value) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
}

// The handlers as they were before the stand-in took over, one per line: scheme, whether
// the key existed, whether it had a command, the command. Written while the stand-in is
// in place, so a test that crashed leaves what the next one needs to put them back.
std::string SavedPath() { return TempFolder() + "kvt-browser-handlers.txt"; }
}  // namespace

void BrowserStandIn::Restore(const Handler& h) {
    if (!h.keyExisted) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, SchemeKey(h.scheme).c_str());
        return;
    }
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CommandKey(h.scheme).c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    if (h.hadCommand)
        SetString(key, nullptr, h.command);
    else
        RegDeleteValueA(key, nullptr);
    RegCloseKey(key);
}

void BrowserStandIn::RestoreLeftOver() {
    const std::string text = ReadFileBytes(SavedPath());
    size_t start = 0;
    for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1) {
        const std::string line = text.substr(start, nl - start);
        const size_t a = line.find('\t'), b = line.find('\t', a + 1), c = line.find('\t', b + 1);
        if (c == std::string::npos) continue;
        Restore({line.substr(0, a), line[a + 1] == '1', line[b + 1] == '1', line.substr(c + 1)});
    }
    DeleteFileA(SavedPath().c_str());
}

BrowserStandIn::BrowserStandIn(std::vector<std::string> extraSchemes) {
    RestoreLeftOver();
    DeleteFileA(LogPath().c_str());
    const std::string command = "\"" + BinFolder() + "kvt_link_recorder.exe\" \"%1\"";
    extraSchemes.insert(extraSchemes.begin(), {"http", "https"});
    for (const std::string& scheme : extraSchemes) {
        Handler h;
        h.scheme = scheme;
        HKEY key;
        h.keyExisted = RegOpenKeyExA(HKEY_LOCAL_MACHINE, SchemeKey(scheme).c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (h.keyExisted) RegCloseKey(key);
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, CommandKey(scheme).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            continue;
        char old[1024];
        DWORD size = sizeof old, type = 0;
        if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS) {
            h.command.assign(old, size ? size - 1 : 0);
            h.hadCommand = true;
        }
        SetString(key, nullptr, command);
        RegCloseKey(key);
        if (!h.keyExisted &&
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, SchemeKey(scheme).c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            SetString(key, "URL Protocol", "");
            RegCloseKey(key);
        }
        handlers_.push_back(h);
    }
    std::string saved;
    for (const Handler& h : handlers_)
        saved +=
            h.scheme + "\t" + (h.keyExisted ? "1" : "0") + "\t" + (h.hadCommand ? "1" : "0") + "\t" + h.command + "\n";
    WriteFileBytes(SavedPath(), saved);
}

BrowserStandIn::~BrowserStandIn() {
    for (const Handler& h : handlers_) Restore(h);
    DeleteFileA(SavedPath().c_str());
}

std::vector<std::string> BrowserStandIn::Links() const {
    std::vector<std::string> links;
    std::string text = ReadFileBytes(LogPath());
    size_t start = 0;
    for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        links.push_back(text.substr(start, nl - start));
    return links;
}

std::vector<std::string> LinksOpened(const BrowserStandIn& browser, DWORD settleMs, DWORD firstWithinMs) {
    if (PumpUntil([&] { return !browser.Links().empty(); }, firstWithinMs)) PumpFor(settleMs);
    return browser.Links();
}
