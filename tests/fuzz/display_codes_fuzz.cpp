// ToDisplayCodes and CutText on any code page 932 bytes. Input: two bytes (little
// endian) of CutText's limit, then the text.
//  - every lead byte joins the byte after it into one code, unless the text ends there;
//    the code is lead * 256 + trail, but for the seven full-width characters painted in
//    their half-width forms; a single byte is its own code;
//  - at most 1,023 codes, and the text up to its first zero converted whole when it
//    holds no more characters than that;
//  - CodeBytes gives back each code's one or two bytes;
//  - CutText gives the longest start within the limit that ends on a character's end.
#include "display/display_codes.h"
#include "fuzz_input.h"

#include <cstring>
#include <map>

namespace {
// The full-width space, comma, quotation marks and corner brackets, and the codes they are
// painted with.
const std::map<std::uint32_t, std::uint32_t> kHalfWidthForms = {
    {0x8140, 0x20}, {0x8141, 0xA4}, {0x8166, 0x27}, {0x8167, 0x22}, {0x8168, 0x22}, {0x8175, 0xA2}, {0x8176, 0xA3}};

std::uint32_t PairCode(unsigned char lead, unsigned char trail) {
    const std::uint32_t code = std::uint32_t(lead) << 8 | trail;
    const auto form = kHalfWidthForms.find(code);
    return form == kHalfWidthForms.end() ? code : form->second;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::size_t limit = in.Bits(2);
    const std::string text = in.Rest();
    const std::size_t length = std::strlen(text.c_str());  // what the conversion may read

    // The characters of the text as the code page has them: where each one starts.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < length; i += Cp932Lead(text[i]) && i + 1 < length ? 2 : 1) starts.push_back(i);

    const DisplayText codes = ToDisplayCodes(text);
    FUZZ_CHECK(codes.size() <= kMaxDisplayChars);
    FUZZ_CHECK(codes.size() == std::min(starts.size(), kMaxDisplayChars));
    for (std::size_t k = 0; k < codes.size(); ++k) {
        const unsigned char first = text[starts[k]];
        const bool pair = Cp932Lead(first) && starts[k] + 1 < length;
        FUZZ_CHECK(codes[k] == (pair ? PairCode(first, text[starts[k] + 1]) : first));
        char bytes[2];
        const int n = CodeBytes(codes[k], bytes);
        FUZZ_CHECK(n == (codes[k] > 0xFF ? 2 : 1));
        FUZZ_CHECK(std::uint8_t(bytes[n - 1]) == (codes[k] & 0xFF) &&
                   (n == 1 || std::uint8_t(bytes[0]) == codes[k] >> 8));
    }

    const std::string cut = CutText(text, limit);
    FUZZ_CHECK(cut.size() <= limit && cut.size() <= length);
    FUZZ_CHECK(text.compare(0, cut.size(), cut) == 0);
    // It ends where a character ends, and the next character would not have fitted.
    std::size_t end = 0, next = 0;
    for (std::size_t s : starts) {
        if (s > cut.size()) break;
        end = s;
    }
    if (cut.size() == length) end = length;
    FUZZ_CHECK(end == cut.size());
    for (std::size_t i = 0; i < starts.size(); ++i)
        if (starts[i] == cut.size()) next = i + 1 < starts.size() ? starts[i + 1] : length;
    if (cut.size() < length) FUZZ_CHECK(next > limit);
    return 0;
}
