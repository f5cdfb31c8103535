// HeaderText on any channel name and fetch time. Input: one byte of switches (bit 0
// no channels, 1 with the name, 2 with the time, 3 no channel at all), eight bytes of
// fetch time (little endian, seconds), then the name.
//  - with no channels, the fixed message; without a channel, nothing;
//  - otherwise the name, then "(H時MM分取得)" with an hour of 0 to 23 and two digits
//    of minutes, cut to at most 1,023 bytes without splitting a double-byte character;
//  - its display codes fit the header's 1,023.
#include "display/display_codes.h"
#include "display/header_text.h"
#include "fuzz_input.h"

#include <cstdlib>

namespace {
const std::string kNoChannels =  // "表示するチャンネルがありません"
    "\x95\x5C\x8E\xA6\x82\xB7\x82\xE9\x83\x60\x83\x83\x83\x93\x83\x6C\x83\x8B\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9"
    "\x82\xF1";
const std::string kHour = "\x8E\x9E", kMinuteFetched = "\x95\xAA\x8E\xE6\x93\xBE)";  // "時", "分取得)"

// True for "(H時MM分取得)" with H in 0..23 and MM in 00..59.
bool IsStamp(const std::string& s) {
    if (s.size() < 2 || s[0] != '(') return false;
    std::size_t i = 1;
    int hour = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && i < 3) hour = hour * 10 + (s[i++] - '0');
    if (i == 1 || hour > 23 || s.compare(i, kHour.size(), kHour) != 0) return false;
    i += kHour.size();
    if (i + 2 > s.size() || s[i] < '0' || s[i] > '5' || s[i + 1] < '0' || s[i + 1] > '9') return false;
    return s.substr(i + 2) == kMinuteFetched;
}

// True when walking `s` by characters ends on a lead byte that has lost its second byte.
bool EndsInLeadByte(const std::string& s) {
    std::size_t i = 0;
    bool lone = false;
    while (i < s.size()) {
        lone = Cp932Lead(s[i]) && i + 1 == s.size();
        i += Cp932Lead(s[i]) && i + 1 < s.size() ? 2 : 1;
    }
    return lone;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "JST-9", 1);  // the same local time wherever it runs
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::uint8_t switches = in.Byte();
    const bool noChannels = switches & 1, withTitle = switches & 2, withDate = switches & 4;
    SiteEntry channel;
    std::uint64_t when = in.Bits(4);
    when |= std::uint64_t(in.Bits(4)) << 32;
    channel.content.fetched_at = std::time_t(when);
    channel.title = in.Rest().c_str();  // names come from C strings: no zero inside
    const SiteEntry* given = switches & 8 ? nullptr : &channel;

    const std::string header = HeaderText(noChannels, given, withTitle, withDate);
    if (noChannels) {
        FUZZ_CHECK(header == kNoChannels);
        return 0;
    }
    if (!given) {
        FUZZ_CHECK(header.empty());
        return 0;
    }
    FUZZ_CHECK(header.size() <= kMaxHeaderBytes);
    const std::string name = withTitle ? channel.title : std::string();
    const bool whole = header.compare(0, name.size(), name) == 0 &&
                       (withDate ? IsStamp(header.substr(std::min(name.size(), header.size()))) : header == name);
    // Shorter than the longest start that fits: nothing was cut.
    if (header.size() + 1 < kMaxHeaderBytes) FUZZ_CHECK(whole);
    if (!whole) {
        // Cut: a start of the name, or the name and a start of the time; and no double-byte
        // character split. (A name that ends in a lone lead byte takes the "(" after it.)
        FUZZ_CHECK(header.size() + 1 >= kMaxHeaderBytes);
        const std::size_t common = std::min(name.size(), header.size());
        FUZZ_CHECK(header.compare(0, common, name, 0, common) == 0);
        FUZZ_CHECK(!EndsInLeadByte(header));
    }
    FUZZ_CHECK(ToDisplayCodes(header).size() <= kMaxDisplayChars);
    return 0;
}
