// The feed intake (PrepareDocument) on any bytes, converters as glibc's iconv has them:
//  - no DOCTYPE is left outside comments, CDATA sections and processing instructions
//    (whose content no XML reader parses), and expat finds none in the result;
//  - the result is never longer than four times the input and a few bytes;
//  - when expat, reading no external entities, accepts the input, and its DOCTYPE
//    declares no entity but general ones of one character and skips none, expat
//    accepts the result too and reads the same elements and text from it (unless the
//    document is UTF-16 whose surrogates do not pair, which expat reads its own way).
// Input: the document's bytes as they are.
#include "feed/feed_intake.h"
#include "fuzz_input.h"
#include "iconv_code_pages.h"

#include <expat.h>

#include <cstring>

namespace {

bool StartsAt(const std::string& text, std::size_t at, const char* literal) {
    return text.compare(at, std::strlen(literal), literal) == 0;
}

// Whether `text` holds "<!DOCTYPE", in any case, outside comments, CDATA sections and
// processing instructions.
bool HasDoctype(const std::string& text) {
    static const struct {
        const char* open;
        const char* close;
    } kOpaque[] = {{"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}};
    std::size_t at = 0;
    while ((at = text.find('<', at)) != std::string::npos) {
        bool skipped = false;
        for (const auto& opaque : kOpaque) {
            if (!StartsAt(text, at, opaque.open)) continue;
            const std::size_t close = text.find(opaque.close, at + std::strlen(opaque.open));
            if (close == std::string::npos) return false;
            at = close + std::strlen(opaque.close);
            skipped = true;
            break;
        }
        if (skipped) continue;
        std::string word = text.substr(at, 9);
        for (char& c : word) c = char(std::toupper(static_cast<unsigned char>(c)));
        if (word == "<!DOCTYPE") return true;
        ++at;
    }
    return false;
}

std::size_t Utf8Characters(const char* s, int length) {
    std::size_t count = 0;
    for (int i = 0; i < length; ++i) count += (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80;
    return count;
}

// What expat reads from a document: its elements and text in order, whether it saw a
// DOCTYPE, and whether every entity declared is general and of one character and
// none was skipped.
struct Reading {
    bool wellFormed = false;
    bool doctype = false;
    bool onlySingleCharacterEntities = true;
    std::string events;

    static void Start(void* self, const XML_Char* name, const XML_Char**) {
        static_cast<Reading*>(self)->events += std::string("<") + name + ">";
    }
    static void End(void* self, const XML_Char*) { static_cast<Reading*>(self)->events += "</>"; }
    static void Text(void* self, const XML_Char* s, int length) {
        static_cast<Reading*>(self)->events.append(s, std::size_t(length));
    }
    static void Doctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
        static_cast<Reading*>(self)->doctype = true;
    }
    static void Entity(void* self, const XML_Char*, int parameter, const XML_Char* value, int length, const XML_Char*,
                       const XML_Char*, const XML_Char*, const XML_Char*) {
        if (parameter || !value || Utf8Characters(value, length) != 1)
            static_cast<Reading*>(self)->onlySingleCharacterEntities = false;
    }
    static void Skipped(void* self, const XML_Char*, int) {
        static_cast<Reading*>(self)->onlySingleCharacterEntities = false;
    }
};

// Whether `document` is UTF-16, its byte order told as the intake tells it, with a
// surrogate that does not pair: expat takes whatever unit follows a high surrogate as its
// pair, while the intake reads U+FFFD, so the two cannot be compared on it.
bool HasUnpairedSurrogate(const std::string& document) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(document[at]); };
    if (document.size() < 2) return false;
    bool bigEndian;
    std::size_t at = 0;
    if (byte(0) == 0xFE && byte(1) == 0xFF) {
        bigEndian = true, at = 2;
    } else if (byte(0) == 0xFF && byte(1) == 0xFE) {
        bigEndian = false, at = 2;
    } else if ((byte(0) == 0) != (byte(1) == 0)) {
        bigEndian = byte(0) == 0;
    } else {
        return false;
    }
    const auto unit = [&](std::size_t i) {
        return bigEndian ? byte(i) << 8 | byte(i + 1) : byte(i + 1) << 8 | byte(i);
    };
    for (; at + 1 < document.size(); at += 2) {
        const unsigned u = unit(at);
        if (u >= 0xDC00 && u <= 0xDFFF) return true;
        if (u < 0xD800 || u > 0xDBFF) continue;
        if (at + 3 >= document.size() || unit(at + 2) < 0xDC00 || unit(at + 2) > 0xDFFF) return true;
        at += 2;
    }
    return false;
}

Reading Read(const std::string& document) {
    Reading reading;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &reading);
    XML_SetElementHandler(parser, Reading::Start, Reading::End);
    XML_SetCharacterDataHandler(parser, Reading::Text);
    XML_SetStartDoctypeDeclHandler(parser, Reading::Doctype);
    XML_SetEntityDeclHandler(parser, Reading::Entity);
    XML_SetSkippedEntityHandler(parser, Reading::Skipped);
    reading.wellFormed = XML_Parse(parser, document.data(), int(document.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string document(reinterpret_cast<const char*>(data), size);
    std::string ready;
    const IntakeResult result = PrepareDocument(document, IconvCodePageToUtf8, &ready);
    FUZZ_CHECK(result == IntakeResult::kReady || ready.empty());
    FUZZ_CHECK(ready.size() <= 4 * size + 16);
    FUZZ_CHECK(!HasDoctype(ready));
    const Reading after = Read(ready);
    FUZZ_CHECK(!after.doctype);

    const Reading before = Read(document);
    if (before.wellFormed && before.onlySingleCharacterEntities && !HasUnpairedSurrogate(document)) {
        FUZZ_CHECK(result == IntakeResult::kReady);
        FUZZ_CHECK(after.wellFormed);
        FUZZ_CHECK(after.events == before.events);
    }
    return 0;
}
