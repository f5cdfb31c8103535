#pragma once
// Owning holders for kernel objects and global memory: released on every path, never
// copied (a copy would release twice).
#include "common/unique_handle.h"

#include <windows.h>

struct KernelHandleTraits {
    using Handle = HANDLE;
    static BOOL Release(HANDLE handle) { return CloseHandle(handle); }
};

// A kernel handle (an event, a thread, a file). INVALID_HANDLE_VALUE, which CreateFile
// returns on failure, is held as no handle.
class KernelHandle : public UniqueHandle<KernelHandleTraits> {
public:
    explicit KernelHandle(HANDLE h = nullptr) : UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
};

// GlobalLock on a memory block for the life of the object.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block) : block_(block), bytes_(block ? GlobalLock(block) : nullptr) {}
    ~GlobalLockGuard() {
        if (bytes_) GlobalUnlock(block_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    // The block's bytes; null when it could not be locked.
    const char* Bytes() const { return static_cast<const char*>(bytes_); }
    SIZE_T Size() const { return bytes_ ? GlobalSize(block_) : 0; }

private:
    HGLOBAL block_;
    void* bytes_;
};
