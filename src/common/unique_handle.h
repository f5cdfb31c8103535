#pragma once
// The owning holder for a handle that one call releases. Traits names the handle's
// type and that call:
//   struct MenuTraits { using Handle = HMENU; static BOOL Release(HMENU h) { return DestroyMenu(h); } };
// A holder is never copied (a copy would release twice); it can be moved and reset.

template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    explicit UniqueHandle(Handle h = nullptr) : h_(h) {}
    ~UniqueHandle() { Close(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.h_) { other.h_ = nullptr; }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.h_);
            other.h_ = nullptr;
        }
        return *this;
    }

    Handle Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    // Releases what is held (unless it is `h` itself) and holds `h` instead.
    void Reset(Handle h = nullptr) {
        if (h_ && h_ != h) Traits::Release(h_);
        h_ = h;
    }
    // Releases the handle now; false when the release call fails (a file's last write can).
    bool Close() {
        const bool released = !h_ || Traits::Release(h_);
        h_ = nullptr;
        return released;
    }

private:
    Handle h_;
};
