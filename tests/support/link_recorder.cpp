#include "link_recorder.h"

#include "test_paths.h"

#include <windows.h>

namespace {
const char* const kSchemes[2] = {"http", "https"};

std::string CommandKey(const char* scheme) {
    return std::string("Software\\Classes\\") + scheme + "\\shell\\open\\command";
}

std::string LogPath() { return BinFolder() + "opened-links.txt"; }
}  // namespace

BrowserStandIn::BrowserStandIn() {
    DeleteFileA(LogPath().c_str());
    std::string command = "\"" + BinFolder() + "kvt_link_recorder.exe\" \"%1\"";
    for (int i = 0; i < 2; ++i) {
        HKEY key;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, CommandKey(kSchemes[i]).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
            continue;
        char old[1024];
        DWORD size = sizeof old, type = 0;
        if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS) {
            previous_[i].assign(old, size ? size - 1 : 0);
            hadPrevious_[i] = true;
        }
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       DWORD(command.size() + 1));
        RegCloseKey(key);
    }
}

BrowserStandIn::~BrowserStandIn() {
    for (int i = 0; i < 2; ++i) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CommandKey(kSchemes[i]).c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            continue;
        if (hadPrevious_[i])
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_[i].c_str()),
                           DWORD(previous_[i].size() + 1));
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
