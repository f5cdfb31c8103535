#pragma once
// Owning holders for COM interface pointers and BSTRs: released on every path.
#include <windows.h>
#include <oleauto.h>

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(T* p) : p_(p) {}  // takes over one reference
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            Reset();
            p_ = o.p_;
            o.p_ = nullptr;
        }
        return *this;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters: releases what was held and hands out the slot.
    T** Put() {
        Reset();
        return &p_;
    }
    void Reset() {
        if (p_) {
            p_->Release();
            p_ = nullptr;
        }
    }

private:
    T* p_ = nullptr;
};

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(BSTR s) : s_(s) {}  // takes ownership
    ~Bstr() { Reset(); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& o) noexcept : s_(o.s_) { o.s_ = nullptr; }
    Bstr& operator=(Bstr&& o) noexcept {
        if (this != &o) {
            Reset();
            s_ = o.s_;
            o.s_ = nullptr;
        }
        return *this;
    }

    BSTR Get() const { return s_; }
    BSTR* Put() {
        Reset();
        return &s_;
    }
    void Reset() {
        if (s_) {
            SysFreeString(s_);
            s_ = nullptr;
        }
    }

private:
    BSTR s_ = nullptr;
};
