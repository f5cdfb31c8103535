#include "display/display_codes.h"

namespace {
std::uint32_t HalfWidthForm(std::uint32_t code) {
    switch (code) {
    case 0x8140: return 0x20;  // ideographic space
    case 0x8141: return 0xA4;  // ideographic comma
    case 0x8166: return 0x27;  // right single quotation mark
    case 0x8167: return 0x22;  // left double quotation mark
    case 0x8168: return 0x22;  // right double quotation mark
    case 0x8175: return 0xA2;  // left corner bracket
    case 0x8176: return 0xA3;  // right corner bracket
    default: return code;
    }
}
}  // namespace

DisplayText ToDisplayCodes(const std::string& text) {
    DisplayText codes;
    const auto* p = reinterpret_cast<const unsigned char*>(text.c_str());
    while (*p && codes.size() < kMaxDisplayChars) {
        if (IsLeadByte(p[0]) && p[1] != 0) {
            codes.push_back(HalfWidthForm(std::uint32_t(p[0]) * 256 + p[1]));
            p += 2;
        } else {
            codes.push_back(*p++);  // a lead byte at the very end stands alone
        }
    }
    return codes;
}

std::string CutText(const std::string& text, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < text.size() && text[end] != '\0') {
        // As in ToDisplayCodes, a lead byte before the end or a zero stands alone.
        const bool pair =
            IsLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() && text[end + 1] != '\0';
        const std::size_t width = pair ? 2 : 1;
        if (end + width > maxBytes) break;
        end += width;
    }
    return text.substr(0, end);
}

int CodeBytes(std::uint32_t code, char* bytes) {
    if (code < 256) {
        bytes[0] = char(code);
        return 1;
    }
    bytes[0] = char(code >> 8);
    bytes[1] = char(code & 0xFF);
    return 2;
}
