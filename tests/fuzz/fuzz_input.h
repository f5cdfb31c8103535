#pragma once
// Shared by the fuzz targets: a property check that ends the run with what failed
// (libFuzzer keeps the input), and a reader that turns the fuzzer's bytes into
// arguments. Past the end of the input every read gives 0 or nothing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}

    bool Empty() const { return p_ == end_; }
    std::uint8_t Byte() { return p_ < end_ ? *p_++ : 0; }
    // Little-endian.
    std::uint32_t Bits(int bytes) {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= std::uint32_t(Byte()) << (8 * i);
        return v;
    }
    // The bytes up to the next zero byte, which is skipped, or up to the end.
    std::string Field() {
        std::string s;
        while (p_ < end_ && *p_ != 0) s += char(*p_++);
        if (p_ < end_) ++p_;
        return s;
    }
    // Everything not read yet.
    std::string Rest() {
        std::string s(reinterpret_cast<const char*>(p_), std::size_t(end_ - p_));
        p_ = end_;
        return s;
    }

private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

// The code page 932 lead byte test, written out again so that the targets do not
// judge the code under test by its own helper.
inline bool Cp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
