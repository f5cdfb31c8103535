// HeaderText on any channel name and fetch time. Input: one byte of switches (bit 0
// no channels, 1 with the name, 2 with the time, 3 no channel at all), eight bytes of
// fetch time (little endian, seconds), then the name.
//  - with no channels, the fixed message; without a channel, nothing;
//  - otherwise the name, then "(H時MM分取得)" with H:MM the fetch time in local time
//    (here a fixed UTC+9, computed from the seconds alone), cut to the longest start of
//    whole characters within 1,023 bytes;
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
const std::int64_t kUtcOffset = 9 * 3600;                                            // TZ=JST-9

std::string Stamp(std::int64_t minuteOfDay) {
    const std::int64_t minute = minuteOfDay % 60;
    return "(" + std::to_string(minuteOfDay / 60) + kHour + (minute < 10 ? "0" : "") + std::to_string(minute) +
           kMinuteFetched;
}

// The fetch time's minute of the local day: the seconds since 1970 in UTC+9, whole days
// taken off.
std::int64_t LocalMinuteOfDay(std::int64_t when) {
    const std::int64_t day = 24 * 60 * 60;
    return ((when + kUtcOffset) % day + day) % day / 60;
}

// The longest start of `text` within `limit` bytes that ends where a character ends, the
// characters taken as the code page has them: a lead byte and the byte after it.
std::string WholeCharactersWithin(const std::string& text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + (Cp932Lead(text[end]) && end + 1 < text.size() ? 2 : 1);
        if (next > limit) break;
        end = next;
    }
    return text.substr(0, end);
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
    const std::string name = withTitle ? channel.title : std::string();
    const std::int64_t seconds = std::int64_t(when);
    const std::uint64_t distance = seconds < 0 ? 0 - when : when;
    if (!withDate || distance < (std::uint64_t(1) << 55)) {  // within a billion years: a date of the calendar
        const std::string stamp = withDate ? Stamp(LocalMinuteOfDay(seconds)) : std::string();
        FUZZ_CHECK(header == WholeCharactersWithin(name + stamp, kMaxHeaderBytes));
    } else {
        // Beyond some billion years the year no longer fits the calendar's int, and the
        // time then reads as 0:00; close to that limit either is right.
        const bool beyond = distance >= (std::uint64_t(1) << 57);
        FUZZ_CHECK(
            header == WholeCharactersWithin(name + Stamp(0), kMaxHeaderBytes) ||
            (!beyond && header == WholeCharactersWithin(name + Stamp(LocalMinuteOfDay(seconds)), kMaxHeaderBytes)));
    }
    FUZZ_CHECK(ToDisplayCodes(header).size() <= kMaxDisplayChars);
    return 0;
}
