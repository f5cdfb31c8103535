// The settings file as the XML writer makes it (SettingsTree, XmlDocumentText), for
// any settings with arbitrary bytes in every string field, read back by expat:
//  - the document is well-formed, whatever the fields hold;
//  - it reads back as the same values: the numbers and switches as stored, and each
//    text as the converter gave it, character by character, with one space in place of
//    each character that expat does not take and of each byte that starts none.
// The converter is a model of our own, so the expected text is known piece by piece:
// either code page 932 as the runtime converts it (a lead byte takes any non-zero byte
// after it into one character), or one that returns any characters and stray bytes.
// Input: one byte of switches (bit 0, 1: the header options; bit 2: the converter of any
// characters, which reads each field as tokens, see AnyPieces), two ints of four bytes
// (the intervals), then fields ended by a zero byte: the font, then title, link,
// description and check (its first byte's bit 0) of each channel.
#include "config/settings_tree.h"
#include "feed/decimal_text.h"
#include "fuzz_input.h"

#include <expat.h>
#include <iconv.h>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

// What a converter gives for one character or stray byte sequence of its input.
struct Piece {
    std::string bytes;
    bool character;  // a whole UTF-8 character (surrogates included); else bytes of none
};

const char kReplacement[] = "\xE3\x83\xBB";  // U+30FB, what the runtime gives for a pair the code page lacks

// Code page 932 as the runtime's mbtowc walks it: up to the first zero, a lead byte with
// the non-zero byte after it, whether or not the code page has that pair; a single byte
// it cannot convert becomes a space.
std::vector<Piece> Cp932Pieces(const std::string& text) {
    static iconv_t cd = iconv_open("UTF-8", "CP932");
    std::vector<Piece> pieces;
    const char* p = text.c_str();
    const char* end = p + std::strlen(p);
    while (p < end) {
        const std::size_t in = Cp932Lead(*p) && p + 1 < end ? 2 : 1;
        char buffer[8];
        char* src = const_cast<char*>(p);
        char* dst = buffer;
        std::size_t srcLeft = in, dstLeft = sizeof buffer;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != std::size_t(-1) && srcLeft == 0)
            pieces.push_back({std::string(buffer, std::size_t(dst - buffer)), true});
        else
            pieces.push_back({in == 2 ? kReplacement : " ", true});
        p += in;
    }
    return pieces;
}

std::string Encode(std::uint32_t c) {
    std::string s;
    if (c < 0x80) {
        s += char(c);
    } else if (c < 0x800) {
        s += char(0xC0 | c >> 6), s += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += char(0xE0 | c >> 12), s += char(0x80 | (c >> 6 & 0x3F)), s += char(0x80 | (c & 0x3F));
    } else {
        s += char(0xF0 | c >> 18), s += char(0x80 | (c >> 12 & 0x3F)), s += char(0x80 | (c >> 6 & 0x3F));
        s += char(0x80 | (c & 0x3F));
    }
    return s;
}

// A converter that returns anything, read from the text as tokens: a byte below 0x80 is
// that character; 0x80 to 0xEF and two more bytes give any code point up to U+10FFFF
// (seven bits from each byte; surrogates, U+FFFE and controls too); 0xF0 to 0xFF and one
// more byte give bytes of no character: a byte that never starts one, a lone
// continuation byte, a character cut short, an over-long form or one beyond U+10FFFF.
// A lone continuation byte never follows a character cut short, which it would complete.
std::vector<Piece> AnyPieces(const std::string& text) {
    std::vector<Piece> pieces;
    bool cutShort = false;
    for (std::size_t i = 0; i < text.size();) {
        const std::uint8_t b = std::uint8_t(text[i++]);
        if (b < 0x80) {
            pieces.push_back({std::string(1, char(b)), true}), cutShort = false;
            continue;
        }
        if (b < 0xF0) {
            std::uint32_t c = b & 0x7F;
            for (int k = 0; k < 2; ++k) c = c << 7 | (i < text.size() ? std::uint8_t(text[i++]) & 0x7F : 0);
            pieces.push_back({Encode(c % 0x110000), true}), cutShort = false;
            continue;
        }
        const std::uint8_t v = i < text.size() ? std::uint8_t(text[i++]) : 0;
        std::string bytes;
        switch (b & 3) {
        case 0: bytes = v % 3 == 0 ? "\xC0" : v % 3 == 1 ? "\xC1" : std::string(1, char(0xF5 + v % 11)); break;
        case 1: bytes = cutShort ? "\xFF" : std::string(1, char(0x80 | (v & 0x3F))); break;
        case 2: bytes = Encode(0x80 + std::uint32_t(v) * 0x10F7), bytes.pop_back(); break;
        case 3: bytes = v % 2 ? "\xE0\x80" + std::string(1, char(0x80 | (v & 0x3F))) : "\xF4\x90\x80\x80"; break;
        }
        cutShort = (b & 3) == 2;
        pieces.push_back({bytes, false});
    }
    return pieces;
}

std::string Joined(const std::vector<Piece>& pieces) {
    std::string s;
    for (const Piece& p : pieces) s += p.bytes;
    return s;
}

std::string Cp932Converter(const std::string& text) { return Joined(Cp932Pieces(text)); }
std::string AnyConverter(const std::string& text) { return Joined(AnyPieces(text)); }

struct Element {
    std::string name, text;
    std::vector<std::unique_ptr<Element>> children;
};

struct Reader {
    std::unique_ptr<Element> root;
    std::vector<Element*> open;

    static void Start(void* self, const XML_Char* name, const XML_Char**) {
        auto* r = static_cast<Reader*>(self);
        auto element = std::make_unique<Element>();
        element->name = name;
        Element* raw = element.get();
        if (r->open.empty())
            r->root = std::move(element);
        else
            r->open.back()->children.push_back(std::move(element));
        r->open.push_back(raw);
    }
    static void End(void* self, const XML_Char*) { static_cast<Reader*>(self)->open.pop_back(); }
    static void Text(void* self, const XML_Char* s, int length) {
        static_cast<Reader*>(self)->open.back()->text.append(s, std::size_t(length));
    }
};

// Parses `document`; the root element, or null when it is not well-formed.
std::unique_ptr<Element> Parse(const std::string& document) {
    Reader reader;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &reader);
    XML_SetElementHandler(parser, Reader::Start, Reader::End);
    XML_SetCharacterDataHandler(parser, Reader::Text);
    const bool ok = XML_Parse(parser, document.data(), int(document.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return ok ? std::move(reader.root) : nullptr;
}

// Whether expat takes this one character as the text of an element.
bool XmlCanHold(const std::string& character) {
    static std::map<std::string, bool> known;
    const auto found = known.find(character);
    if (found != known.end()) return found->second;
    const std::string text = character == "<" ? "&lt;" : character == "&" ? "&amp;" : character;
    return known[character] = Parse("<?xml version='1.0' encoding='UTF-8'?><a>" + text + "</a>") != nullptr;
}

// The text a reader must get back for what the converter gave.
std::string Expected(const std::vector<Piece>& pieces) {
    std::string s;
    for (const Piece& p : pieces)
        s += p.character ? (XmlCanHold(p.bytes) ? p.bytes : " ") : std::string(p.bytes.size(), ' ');
    return s;
}

void CheckText(const Element& e, const char* name, const std::string& stored, bool any) {
    FUZZ_CHECK(e.name == name && e.children.empty());
    FUZZ_CHECK(e.text == Expected(any ? AnyPieces(stored) : Cp932Pieces(stored)));
}

void CheckNumber(const Element& e, const char* name, int stored) {
    FUZZ_CHECK(e.name == name && e.children.empty());
    FUZZ_CHECK(e.text == std::to_string(stored));
    FUZZ_CHECK(ReadDecimal(e.text.c_str()) == stored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::uint8_t switches = in.Byte();
    SaverSettings s;
    s.disp_header_title = switches & 1;
    s.disp_header_date = switches & 2;
    const bool any = switches & 4;
    s.disp_interval = int(in.Bits(4));
    s.load_interval = int(in.Bits(4));
    s.font_face = in.Field();
    while (!in.Empty() && s.sites.size() < 64) {
        SiteEntry site;
        site.title = in.Field();
        site.link = in.Field();
        site.description = in.Field();
        site.check = in.Field()[0] & 1;
        s.sites.push_back(site);
    }

    const std::string document = XmlDocumentText(SettingsTree(s), any ? AnyConverter : Cp932Converter);
    const std::unique_ptr<Element> root = Parse(document);
    FUZZ_CHECK(root != nullptr);
    FUZZ_CHECK(root->name == "kvtini" && root->children.size() == 5 + s.sites.size());
    const auto& options = root->children;
    CheckNumber(*options[0], "disp_header_title", s.disp_header_title);
    CheckNumber(*options[1], "disp_header_date", s.disp_header_date);
    CheckNumber(*options[2], "disp_interval", s.disp_interval);
    CheckNumber(*options[3], "load_interval", s.load_interval);
    CheckText(*options[4], "font_face", s.font_face, any);
    for (std::size_t i = 0; i < s.sites.size(); ++i) {
        const Element& site = *root->children[5 + i];
        FUZZ_CHECK(site.name == "site" && site.children.size() == 4);
        CheckText(*site.children[0], "title", s.sites[i].title, any);
        CheckText(*site.children[1], "link", s.sites[i].link, any);
        CheckText(*site.children[2], "description", s.sites[i].description, any);
        CheckNumber(*site.children[3], "check", s.sites[i].check);
    }
    return 0;
}
