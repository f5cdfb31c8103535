#include "test_paths.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

namespace {
std::string FromUnix(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return "Z:" + path;
}
}  // namespace

std::string SourcePath(const std::string& relative) { return FromUnix(std::string(KVT_SOURCE_DIR) + "/" + relative); }
std::string BuildPath(const std::string& relative) { return FromUnix(std::string(KVT_BINARY_DIR) + "/" + relative); }

std::string BinFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\') + 1);
}

std::string ReadFileBytes(const std::string& path) {
    std::string out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::string TempFolder() {
    char temp[MAX_PATH];
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    return std::string(temp, n);
}

std::string MakeTempFolder(const char* prefix) {
    const std::string temp = TempFolder();
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH + 64];
        std::snprintf(name, sizeof name, "%s%s-%lu-%u\\", temp.c_str(), prefix, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, nullptr)) return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return std::string();
    }
}

void RemoveFolder(const std::string& folder) {
    if (folder.empty()) return;
    std::string from = folder;
    if (from.back() == '\\') from.pop_back();
    from.push_back('\0');  // SHFileOperation wants a double-terminated list
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}
