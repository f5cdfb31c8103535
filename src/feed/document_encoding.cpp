#include "feed/document_encoding.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace {

enum class Start { kEightBit, kUtf8Mark, kUtf16BigEndian, kUtf16LittleEndian, kUnreadable };

// The first bytes that tell an encoding before any name is read (the XML 1.0
// autodetection table, its Appendix F), longest first.
struct Signature {
    const char* bytes;
    std::size_t length;
    std::size_t skip;  // the byte-order mark's length
    Start start;
};
const Signature kSignatures[] = {
    {"\x00\x00\xFE\xFF", 4, 0, Start::kUnreadable},  // UCS-4 in any byte order
    {"\xFF\xFE\x00\x00", 4, 0, Start::kUnreadable},
    {"\x00\x00\xFF\xFE", 4, 0, Start::kUnreadable},
    {"\xFE\xFF\x00\x00", 4, 0, Start::kUnreadable},
    {"\x00\x00\x00\x3C", 4, 0, Start::kUnreadable},
    {"\x3C\x00\x00\x00", 4, 0, Start::kUnreadable},
    {"\x00\x00\x3C\x00", 4, 0, Start::kUnreadable},
    {"\x00\x3C\x00\x00", 4, 0, Start::kUnreadable},
    {"\x4C\x6F\xA7\x94", 4, 0, Start::kUnreadable},  // "<?xm" in EBCDIC
    {"\x00\x3C\x00\x3F", 4, 0, Start::kUtf16BigEndian},
    {"\x3C\x00\x3F\x00", 4, 0, Start::kUtf16LittleEndian},
    {"\xEF\xBB\xBF", 3, 3, Start::kUtf8Mark},
    {"\xFE\xFF", 2, 2, Start::kUtf16BigEndian},
    {"\xFF\xFE", 2, 2, Start::kUtf16LittleEndian},
};

const Signature* FindSignature(const std::string& text) {
    for (const Signature& signature : kSignatures) {
        if (text.size() >= signature.length && std::memcmp(text.data(), signature.bytes, signature.length) == 0)
            return &signature;
    }
    // No 8-bit document holds a zero byte; one in the first two bytes is taken as half
    // of a UTF-16 character, as expat takes it, whatever the character is.
    static const Signature kBigEndian = {"", 0, 0, Start::kUtf16BigEndian};
    static const Signature kLittleEndian = {"", 0, 0, Start::kUtf16LittleEndian};
    if (text.size() >= 2 && (text[0] == 0) != (text[1] == 0)) return text[0] == 0 ? &kBigEndian : &kLittleEndian;
    return nullptr;
}

// What the intake does with a document whose declaration names an encoding.
enum class Family { kUtf8, kOtherAscii, kShiftJis, kEucJp, kIso2022Jp, kUtf16, kUnknown };

struct EncodingName {
    const char* name;
    Family family;
};
// Names as feeds write them, lower-cased. The Japanese ones are converted because the
// XML object under Wine lacks them (and ISO-2022-JP hides its characters in ASCII bytes).
const EncodingName kNames[] = {
    {"utf-8", Family::kUtf8},
    {"utf8", Family::kUtf8},
    {"us-ascii", Family::kUtf8},
    {"ascii", Family::kUtf8},
    {"shift_jis", Family::kShiftJis},
    {"shift-jis", Family::kShiftJis},
    {"sjis", Family::kShiftJis},
    {"x-sjis", Family::kShiftJis},
    {"windows-31j", Family::kShiftJis},
    {"cp932", Family::kShiftJis},
    {"ms_kanji", Family::kShiftJis},
    {"csshiftjis", Family::kShiftJis},
    {"euc-jp", Family::kEucJp},
    {"x-euc-jp", Family::kEucJp},
    {"iso-2022-jp", Family::kIso2022Jp},
    {"csiso2022jp", Family::kIso2022Jp},
    {"utf-16", Family::kUtf16},
    {"utf-16le", Family::kUtf16},
    {"utf-16be", Family::kUtf16},
    {"ucs-2", Family::kUtf16},
    {"iso-10646-ucs-2", Family::kUtf16},
    {"gb2312", Family::kOtherAscii},
    {"gbk", Family::kOtherAscii},
    {"gb18030", Family::kOtherAscii},
    {"euc-cn", Family::kOtherAscii},
    {"big5", Family::kOtherAscii},
    {"big5-hkscs", Family::kOtherAscii},
    {"euc-kr", Family::kOtherAscii},
    {"ks_c_5601-1987", Family::kOtherAscii},
    {"koi8-r", Family::kOtherAscii},
    {"koi8-u", Family::kOtherAscii},
    {"tis-620", Family::kOtherAscii},
    {"windows-874", Family::kOtherAscii},
    {"macintosh", Family::kOtherAscii},
    {"latin1", Family::kOtherAscii},
};
// Families of single-byte encodings known by a numbered name.
const char* const kAsciiPrefixes[] = {"iso-8859-", "iso8859-", "iso_8859-", "windows-125", "cp125"};

Family Classify(const std::string& name) {
    for (const EncodingName& known : kNames) {
        if (name == known.name) return known.family;
    }
    for (const char* prefix : kAsciiPrefixes) {
        if (name.compare(0, std::strlen(prefix), prefix) == 0 && name.size() > std::strlen(prefix))
            return Family::kOtherAscii;
    }
    return Family::kUnknown;
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void AppendUtf8(std::uint32_t code, std::string* out) {
    if (code < 0x80) {
        *out += char(code);
    } else if (code < 0x800) {
        *out += char(0xC0 | code >> 6);
        *out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out += char(0xE0 | code >> 12);
        *out += char(0x80 | (code >> 6 & 0x3F));
        *out += char(0x80 | (code & 0x3F));
    } else {
        *out += char(0xF0 | code >> 18);
        *out += char(0x80 | (code >> 12 & 0x3F));
        *out += char(0x80 | (code >> 6 & 0x3F));
        *out += char(0x80 | (code & 0x3F));
    }
}

// UTF-16 from byte `begin` on as UTF-8. An unpaired surrogate and a last odd byte each
// become U+FFFD, which the XML object reads as a character like any other.
std::string Utf16ToUtf8(const std::string& bytes, std::size_t begin, bool bigEndian) {
    const auto unit = [&](std::size_t at) {
        const unsigned a = static_cast<unsigned char>(bytes[at]), b = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? a << 8 | b : b << 8 | a;
    };
    std::string out;
    out.reserve((bytes.size() - begin) / 2 * 3 / 2);
    std::size_t at = begin;
    for (; at + 1 < bytes.size(); at += 2) {
        std::uint32_t code = unit(at);
        if (code >= 0xD800 && code <= 0xDBFF && at + 3 < bytes.size() && unit(at + 2) >= 0xDC00 &&
            unit(at + 2) <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
            at += 2;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        AppendUtf8(code, &out);
    }
    if (at < bytes.size()) AppendUtf8(0xFFFD, &out);
    return out;
}

// `text` with the encoding its declaration names replaced by UTF-8; unchanged when it
// names none or UTF-8 already.
std::string DeclaringUtf8(std::string text) {
    std::size_t begin = 0, end = 0;
    const std::string name = DeclaredEncoding(text, &begin, &end);
    if (!name.empty() && Classify(name) != Family::kUtf8) text.replace(begin, end - begin, "UTF-8");
    return text;
}

// Converts through the first of `codePages` that the platform can convert.
bool Convert(const std::string& document, CodePageConverter convert, std::initializer_list<unsigned> codePages,
             std::string* utf8) {
    if (!convert) return false;
    for (unsigned codePage : codePages) {
        if (convert(codePage, document, utf8)) return true;
    }
    return false;
}

}  // namespace

std::string DeclaredEncoding(const std::string& text, std::size_t* begin, std::size_t* end) {
    // White space before the declaration makes a document malformed; it is skipped all
    // the same, in case a reader does.
    std::size_t at = 0;
    while (at < text.size() && IsXmlSpace(text[at])) ++at;
    if (text.compare(at, 5, "<?xml") != 0 || text.size() < at + 6 || !IsXmlSpace(text[at + 5])) return std::string();
    const std::size_t close = text.find("?>", at + 5);
    if (close == std::string::npos) return std::string();
    at += 5;
    // Pseudo-attributes: name, '=', and a value in single or double quotes.
    while (at < close) {
        while (at < close && IsXmlSpace(text[at])) ++at;
        const std::size_t nameBegin = at;
        while (at < close && !IsXmlSpace(text[at]) && text[at] != '=') ++at;
        const std::string name = text.substr(nameBegin, at - nameBegin);
        while (at < close && IsXmlSpace(text[at])) ++at;
        if (at >= close || text[at] != '=') break;
        ++at;
        while (at < close && IsXmlSpace(text[at])) ++at;
        if (at >= close || (text[at] != '"' && text[at] != '\'')) break;
        const std::size_t valueEnd = text.find(text[at], at + 1);
        if (valueEnd == std::string::npos || valueEnd > close) break;
        if (name == "encoding") {
            if (begin) *begin = at + 1;
            if (end) *end = valueEnd;
            std::string value = text.substr(at + 1, valueEnd - at - 1);
            for (char& c : value) {
                if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
            }
            return value;
        }
        at = valueEnd + 1;
    }
    return std::string();
}

bool HasEncodingSignature(const std::string& text) { return FindSignature(text) != nullptr; }

MarkupBytes ToAsciiMarkup(const std::string& document, CodePageConverter convert, std::string* out) {
    out->clear();
    const Signature* signature = FindSignature(document);
    const Start start = signature ? signature->start : Start::kEightBit;
    const std::size_t skip = signature ? signature->skip : 0;
    switch (start) {
    case Start::kUnreadable: return MarkupBytes::kUnreadable;
    case Start::kUtf16BigEndian:
    case Start::kUtf16LittleEndian:
        *out = DeclaringUtf8(Utf16ToUtf8(document, skip, start == Start::kUtf16BigEndian));
        return MarkupBytes::kUtf8;
    case Start::kUtf8Mark: *out = DeclaringUtf8(document.substr(skip)); return MarkupBytes::kUtf8;
    case Start::kEightBit: break;
    }

    const std::string name = DeclaredEncoding(document);
    std::string converted;
    switch (name.empty() ? Family::kUtf8 : Classify(name)) {
    case Family::kUtf8: *out = document; return MarkupBytes::kUtf8;
    case Family::kOtherAscii: *out = document; return MarkupBytes::kOtherAscii;
    // A UTF-16 name on bytes that are not UTF-16 is a common slip; they are read as the
    // UTF-8 they most likely are, as XML readers do.
    case Family::kUtf16: *out = DeclaringUtf8(document); return MarkupBytes::kUtf8;
    case Family::kShiftJis:
        if (!Convert(document, convert, {932}, &converted)) return MarkupBytes::kUnreadable;
        break;
    case Family::kEucJp:
        if (!Convert(document, convert, {20932}, &converted)) return MarkupBytes::kUnreadable;
        break;
    case Family::kIso2022Jp:
        if (!Convert(document, convert, {50220, 50221, 50222}, &converted)) return MarkupBytes::kUnreadable;
        break;
    case Family::kUnknown: return MarkupBytes::kUnreadable;
    }
    *out = DeclaringUtf8(std::move(converted));
    return MarkupBytes::kUtf8;
}
