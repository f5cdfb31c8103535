#include "config/xml_node.h"

#include "common/kernel_holders.h"
#include "common/last_error.h"
#include "feed/text_convert.h"

#include <windows.h>

namespace {
// Writes all bytes to a new file and forces them to the disk.
HRESULT WriteWholeFile(const char* path, const std::string& bytes) {
    // No sharing: a second writer of the same temporary file fails instead of
    // interleaving with this one.
    KernelHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastErrorResult();
    HRESULT result = S_OK;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = DWORD(bytes.size() - done > 0x10000 ? 0x10000 : bytes.size() - done);
        DWORD written = 0;
        if (!WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            result = LastErrorResult();
            break;
        }
        done += written;
    }
    if (SUCCEEDED(result) && !FlushFileBuffers(file.Get())) result = LastErrorResult();
    if (!file.Close() && SUCCEEDED(result)) result = LastErrorResult();
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
    const std::string bytes = XmlDocumentText(*this, ToUtf8);
    const std::string temp = std::string(path) + ".tmp";
    HRESULT result = WriteWholeFile(temp.c_str(), bytes);
    if (SUCCEEDED(result) && !MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        result = LastErrorResult();
    if (FAILED(result)) DeleteFileA(temp.c_str());
    return result;
}
