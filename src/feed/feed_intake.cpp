#include "feed/feed_intake.h"

#include "feed/html_entities.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>

namespace {

// Name to replacement for each entity the document declares, first declaration first;
// an empty replacement marks one that cannot be rewritten.
using DeclaredEntities = std::map<std::string, std::string>;

bool At(const std::string& text, std::size_t at, const char* literal) {
    return text.compare(at, std::strlen(literal), literal) == 0;
}

bool AtIgnoringCase(const std::string& text, std::size_t at, const char* upper) {
    for (std::size_t i = 0; upper[i]; ++i) {
        if (at + i >= text.size()) return false;
        char c = text[at + i];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c != upper[i]) return false;
    }
    return true;
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A byte of a name: ASCII letters, digits and . - _ :, and every byte of a non-ASCII character.
bool IsNameByte(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '.' || u == '-' ||
           u == '_' || u == ':' || u >= 0x80;
}

// The position after `close` found from `from` on, or the end of the text when it is missing.
std::size_t After(const std::string& text, std::size_t from, const char* close) {
    const std::size_t found = text.find(close, from);
    return found == std::string::npos ? text.size() : found + std::strlen(close);
}

// The position after the quoted literal that starts at `at`, or the end of the text.
std::size_t AfterLiteral(const std::string& text, std::size_t at) {
    const std::size_t close = text.find(text[at], at + 1);
    return close == std::string::npos ? text.size() : close + 1;
}

std::string CharacterReference(std::uint32_t code) { return "&#" + std::to_string(code) + ";"; }

// True when `text` is exactly one multi-byte UTF-8 sequence: a lead byte and its
// continuation bytes.
bool IsOneUtf8Character(const std::string& text) {
    if (text.empty()) return false;
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || text.size() != length) return false;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return false;
    }
    return true;
}

// The code point of `text` when it is exactly one character reference, else -1.
long ReferencedCode(const std::string& text) {
    if (text.size() < 4 || text.compare(0, 2, "&#") != 0 || text.back() != ';') return -1;
    const bool hex = text[2] == 'x';
    std::size_t at = hex ? 3 : 2;
    if (at + 1 >= text.size()) return -1;
    long code = 0;
    for (; at + 1 < text.size(); ++at) {
        const char c = text[at];
        int digit = c >= '0' && c <= '9' ? c - '0' : -1;
        if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return -1;
        code = code * (hex ? 16 : 10) + digit;
        if (code > 0x10FFFF) return -1;
    }
    return code;
}

// What a reference to an entity with this literal value becomes: a character reference
// for one ASCII character or a character reference, the bytes themselves for one other
// character; empty for anything else. Line ends count as XML reads them, one line feed.
std::string ReplacementFor(std::string value, bool utf8) {
    for (std::size_t at = 0; (at = value.find('\r', at)) != std::string::npos;) {
        if (at + 1 < value.size() && value[at + 1] == '\n')
            value.erase(at, 1);
        else
            value[at] = '\n';
    }
    const long code = ReferencedCode(value);
    if (code >= 0) return CharacterReference(std::uint32_t(code));
    if (value.size() == 1 && static_cast<unsigned char>(value[0]) < 0x80) {
        return value[0] == '&' || value[0] == '%' ? std::string() : CharacterReference(std::uint32_t(value[0]));
    }
    // Bytes of 0x80 and above are never markup, in UTF-8 as in the other encodings that
    // pass through: one character of a single- or double-byte encoding is one or two of them.
    const bool one = utf8 ? IsOneUtf8Character(value)
                          : (value.size() == 1 || value.size() == 2) && static_cast<unsigned char>(value[0]) >= 0x80;
    return one ? value : std::string();
}

// Reads the declaration that starts at `at` ("<!" in an internal subset), records it
// when it declares a general entity, and returns the position after it.
std::size_t ReadDeclaration(const std::string& text, std::size_t at, bool utf8, DeclaredEntities* entities) {
    std::size_t p = at + 2;
    if (At(text, p, "ENTITY") && p + 6 < text.size() && IsXmlSpace(text[p + 6])) {
        p += 6;
        while (p < text.size() && IsXmlSpace(text[p])) ++p;
        const bool parameter = p < text.size() && text[p] == '%';
        if (parameter) ++p;
        while (p < text.size() && IsXmlSpace(text[p])) ++p;
        const std::size_t name = p;
        while (p < text.size() && IsNameByte(text[p])) ++p;
        const std::string entity = text.substr(name, p - name);
        while (p < text.size() && IsXmlSpace(text[p])) ++p;
        std::string replacement;  // stays empty for an external entity
        if (p < text.size() && (text[p] == '"' || text[p] == '\'')) {
            const std::size_t end = AfterLiteral(text, p);
            if (end > p + 1 && text[end - 1] == text[p])
                replacement = ReplacementFor(text.substr(p + 1, end - p - 2), utf8);
            p = end;
        }
        if (!parameter && !entity.empty()) entities->emplace(entity, replacement);
    }
    // The rest of the declaration, up to its '>' outside quotes.
    while (p < text.size() && text[p] != '>') {
        p = text[p] == '"' || text[p] == '\'' ? AfterLiteral(text, p) : p + 1;
    }
    return p < text.size() ? p + 1 : p;
}

// Skips the DOCTYPE that starts at `at`, keeping the entities its internal subset
// declares, and returns the position after it.
std::size_t SkipDoctype(const std::string& text, std::size_t at, bool utf8, DeclaredEntities* entities) {
    std::size_t p = at + 9;
    while (p < text.size()) {
        const char c = text[p];
        if (c == '>') return p + 1;
        if (c == '"' || c == '\'') {
            p = AfterLiteral(text, p);
        } else if (c == '[') {
            // The internal subset, up to its ']'.
            ++p;
            while (p < text.size() && text[p] != ']') {
                if (At(text, p, "<!--")) {
                    p = After(text, p + 4, "-->");
                } else if (At(text, p, "<?")) {
                    p = After(text, p + 2, "?>");
                } else if (At(text, p, "<!")) {
                    p = ReadDeclaration(text, p, utf8, entities);
                } else {
                    ++p;
                }
            }
            if (p < text.size()) ++p;
        } else {
            ++p;
        }
    }
    return p;
}

const char* const kPredefined[] = {"amp", "lt", "gt", "quot", "apos"};

// What the reference that starts at `at` ('&') becomes, with `*end` after it; empty
// when it stays as it is, and then `*end` is just after the '&'.
std::string Rewritten(const std::string& text, std::size_t at, const DeclaredEntities& entities, std::size_t* end) {
    std::size_t close = at + 1;
    while (close < text.size() && IsNameByte(text[close])) ++close;
    *end = at + 1;
    if (close == at + 1 || close >= text.size() || text[close] != ';') return std::string();
    const std::string name = text.substr(at + 1, close - at - 1);
    for (const char* predefined : kPredefined) {
        if (name == predefined) return std::string();
    }
    std::string replacement;
    const auto declared = entities.find(name);
    if (declared != entities.end()) {
        replacement = declared->second;
    } else if (unsigned code = HtmlEntityCode(name.data(), name.size())) {
        replacement = CharacterReference(code);
    }
    if (!replacement.empty()) *end = close + 1;
    return replacement;
}

// The position of the first `c` from `from` on, or the end of the text.
std::size_t Find(const std::string& text, char c, std::size_t from) {
    const void* found = std::memchr(text.data() + from, c, text.size() - from);
    return found ? std::size_t(static_cast<const char*>(found) - text.data()) : text.size();
}

// `text`, whose markup is ASCII (UTF-8 when `utf8`), without its DOCTYPEs and with the
// references they leave behind rewritten. Only what changes is copied: a document with
// neither comes back as it was.
std::string WithoutDoctype(std::string text, bool utf8) {
    DeclaredEntities entities;
    std::string out;
    std::size_t kept = 0;  // text from here on is still to be copied to `out`
    std::size_t at = 0, nextTag = Find(text, '<', 0), nextReference = Find(text, '&', 0);
    while (true) {
        if (nextTag < at) nextTag = Find(text, '<', at);
        if (nextReference < at) nextReference = Find(text, '&', at);
        at = std::min(nextTag, nextReference);
        if (at >= text.size()) break;
        if (text[at] == '&') {
            std::size_t end;
            const std::string replacement = Rewritten(text, at, entities, &end);
            if (!replacement.empty()) {
                out.append(text, kept, at - kept);
                out += replacement;
                kept = end;
            }
            at = end;
            continue;
        }
        // Only "<!" and "<?" need a look: an element's tag passes as it is.
        const char next = at + 1 < text.size() ? text[at + 1] : '\0';
        if (next == '?') {
            at = After(text, at + 2, "?>");
        } else if (next != '!') {
            ++at;
        } else if (At(text, at, "<!--")) {
            at = After(text, at + 4, "-->");
        } else if (At(text, at, "<![CDATA[")) {
            at = After(text, at + 9, "]]>");
        } else if (AtIgnoringCase(text, at, "<!DOCTYPE")) {
            out.append(text, kept, at - kept);
            at = kept = SkipDoctype(text, at, utf8, &entities);
            // A space in its place, so that what stood on either side cannot join into
            // markup: "<!DOCT" + "YPE ...", "<!-" + "-", "&am" + "p;".
            if (!out.empty()) out += ' ';
        } else {
            ++at;
        }
    }
    if (kept == 0) return text;
    out.append(text, kept, std::string::npos);
    return out;
}

}  // namespace

IntakeResult PrepareDocument(const std::string& document, CodePageConverter convert, std::string* ready) {
    ready->clear();
    if (document.empty()) return IntakeResult::kEmpty;
    if (document.size() > kMaxDocumentBytes) return IntakeResult::kTooLarge;
    std::string markup;
    const MarkupBytes bytes = ToAsciiMarkup(document, convert, &markup);
    if (bytes == MarkupBytes::kUnreadable) return IntakeResult::kUnreadableEncoding;
    const std::string declared = DeclaredEncoding(markup);
    *ready = WithoutDoctype(std::move(markup), bytes == MarkupBytes::kUtf8);
    // The object must read the result in the encoding it was scanned in. Removing a
    // DOCTYPE can bring other bytes to the front: a byte-order mark, EBCDIC's "<?xm",
    // a declaration of UTF-7; a zero byte, which no XML document holds, can make it
    // look like UTF-16. Any of these refuses the document.
    if (ready->find('\0') != std::string::npos || HasEncodingSignature(*ready) ||
        DeclaredEncoding(*ready) != declared) {
        ready->clear();
        return IntakeResult::kUnreadableEncoding;
    }
    return IntakeResult::kReady;
}
