#include "config/xml_node.h"

#include <windows.h>

namespace {
// Code page 932 (the ANSI code page) to UTF-8 through UTF-16, each UTF-16
// unit encoded on its own, as the feed layer converts text for the file.
std::string AnsiToUtf8ForConfig(const std::string& text) {
    std::string out;
    if (text.empty()) return out;
    int units = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    if (units <= 0) return out;
    std::wstring wide(size_t(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), &wide[0], units);
    out.reserve(wide.size() * 3);
    for (wchar_t w : wide) {
        unsigned u = unsigned(w) & 0xFFFF;
        if (u < 0x80) {
            out += char(u);
        } else if (u < 0x800) {
            out += char(0xC0 | (u >> 6));
            out += char(0x80 | (u & 0x3F));
        } else {
            out += char(0xE0 | (u >> 12));
            out += char(0x80 | ((u >> 6) & 0x3F));
            out += char(0x80 | (u & 0x3F));
        }
    }
    return out;
}

HRESULT LastErrorResult() {
    DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

// Writes all bytes to a new file and forces them to the disk.
HRESULT WriteWholeFile(const char* path, const std::string& bytes) {
    // No sharing: a second writer of the same temporary file fails instead of
    // interleaving with this one.
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastErrorResult();
    HRESULT result = S_OK;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = DWORD(bytes.size() - done > 0x10000 ? 0x10000 : bytes.size() - done);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            result = LastErrorResult();
            break;
        }
        done += written;
    }
    if (SUCCEEDED(result) && !FlushFileBuffers(file)) result = LastErrorResult();
    if (!CloseHandle(file) && SUCCEEDED(result)) result = LastErrorResult();
    return result;
}
}  // namespace

// The new content goes to a temporary file beside the target, is flushed, and
// then replaces the target in one rename. A failure at any step (full disk,
// read-only or locked target, a crash in between) leaves the previous file as
// it was, and the temporary file is removed.
std::int32_t XmlNode::Save(const char* path) const {
    if (!path || !*path) return E_INVALIDARG;
    // A read-only file is left alone. Windows refuses to rename over it anyway,
    // but not every file system it runs on does.
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    const std::string bytes = XmlDocumentText(*this, AnsiToUtf8ForConfig);
    const std::string temp = std::string(path) + ".tmp";
    HRESULT result = WriteWholeFile(temp.c_str(), bytes);
    if (SUCCEEDED(result) &&
        !MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        result = LastErrorResult();
    if (FAILED(result)) DeleteFileA(temp.c_str());
    return result;
}
