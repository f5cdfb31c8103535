// TextWithin on a dropped memory block that need not hold a zero. Input: two bytes
// (little endian) of the limit, 0xFFFF for none (the channel list's drop), then the
// block's bytes, copied into a block of exactly that size so that a read past it is caught.
//  - the text is the block up to its first zero, read only within the block;
//  - when that is longer than the limit it is cut to the longest start that fits and
//    does not split a double-byte character.
#include "editor/drop_text.h"
#include "fuzz_input.h"

#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::uint32_t limitBits = in.Bits(2);
    const std::string bytes = in.Rest();
    const std::size_t limit = limitBits == 0xFFFF ? SIZE_MAX : limitBits;
    std::unique_ptr<char[]> block(new char[bytes.size()]);
    if (!bytes.empty()) std::memcpy(block.get(), bytes.data(), bytes.size());

    const std::string text =
        limitBits == 0xFFFF ? TextWithin(block.get(), bytes.size()) : TextWithin(block.get(), bytes.size(), limit);
    const std::size_t whole = std::min(bytes.find('\0'), bytes.size());
    FUZZ_CHECK(text.size() <= whole && text.size() <= limit);
    FUZZ_CHECK(bytes.compare(0, text.size(), text) == 0);
    if (whole <= limit) {
        FUZZ_CHECK(text.size() == whole);
    } else {
        // Walk the characters: the cut falls between two, and the next one did not fit.
        std::size_t i = 0;
        while (i < text.size()) i += Cp932Lead(bytes[i]) && i + 1 < whole ? 2 : 1;
        FUZZ_CHECK(i == text.size());
        const std::size_t next = i + (Cp932Lead(bytes[i]) && i + 1 < whole ? 2 : 1);
        FUZZ_CHECK(next > limit);
    }
    FUZZ_CHECK(TextWithin(nullptr, bytes.size()).empty());
    return 0;
}
