#include "link_recorder.h"

#include "test_paths.h"

#include <windows.h>

namespace {
std::string SchemeKey(const std::string& scheme) { return "Software\\Classes\\" + scheme; }
std::string CommandKey(const std::string& scheme) { return SchemeKey(scheme) + "\\shell\\open\\command"; }

std::string LogPath() { return BinFolder() + "opened-links.txt"; }

void SetString(HKEY key, const char* name, const std::string& value) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
}
}  // namespace

BrowserStandIn::BrowserStandIn(std::vector<std::string> extraSchemes) {
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
        if (!h.keyExisted && RegOpenKeyExA(HKEY_LOCAL_MACHINE, SchemeKey(scheme).c_str(), 0, KEY_ALL_ACCESS, &key) ==
                                 ERROR_SUCCESS) {
            SetString(key, "URL Protocol", "");
            RegCloseKey(key);
        }
        handlers_.push_back(h);
    }
}

BrowserStandIn::~BrowserStandIn() {
    for (const Handler& h : handlers_) {
        if (!h.keyExisted) {
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, SchemeKey(h.scheme).c_str());
            continue;
        }
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CommandKey(h.scheme).c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            continue;
        if (h.hadCommand)
            SetString(key, nullptr, h.command);
        else
            RegDeleteValueA(key, nullptr);
        RegCloseKey(key);
    }
}

std::vector<std::string> BrowserStandIn::Links() const {
    std::vector<std::string> links;
    std::string text = ReadFileBytes(LogPath());
    size_t start = 0;
    for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        links.push_back(text.substr(start, nl - start));
    return links;
}
