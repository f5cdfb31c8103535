// The settings file as the XML writer makes it (SettingsTree, XmlDocumentText), for
// any settings with arbitrary bytes in every string field, read back by expat:
//  - the document is well-formed, whatever the fields hold;
//  - it reads back as the same values: the numbers and switches as stored, each text
//    as converted to UTF-8 with one space for each character XML cannot hold;
//  - exactly the converted texts that XML cannot hold are changed.
// Input: one byte of switches (bit 0, 1: the header options; bit 2: pass the bytes on
// as they are instead of converting them from code page 932, as a converter that
// returns anything would), two ints of four bytes (the intervals), then fields ended by
// a zero byte: the font, then title, link, description and check (its first byte's
// bit 0) of each channel.
#include "config/settings_tree.h"
#include "feed/decimal_text.h"
#include "fuzz_input.h"

#include <expat.h>
#include <iconv.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

// Code page 932 to UTF-8 character by character, as the Windows conversion does: up to
// the first zero, and one space for each byte that starts no character of the code page.
std::string Cp932ToUtf8(const std::string& text) {
    static iconv_t cd = iconv_open("UTF-8", "CP932");
    std::string out;
    const char* p = text.c_str();
    const char* end = p + std::strlen(p);
    while (p < end) {
        std::size_t in = Cp932Lead(*p) && p + 1 < end ? 2 : 1;
        char buffer[8];
        char* src = const_cast<char*>(p);
        char* dst = buffer;
        std::size_t srcLeft = in, dstLeft = sizeof buffer;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == std::size_t(-1) || srcLeft != 0) {
            out += ' ';
            ++p;
        } else {
            out.append(buffer, std::size_t(dst - buffer));
            p += in;
        }
    }
    return out;
}

std::string AsIs(const std::string& text) { return text; }

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

// Whether expat reads `utf8` as the text of an element, markup escaped.
bool XmlCanHold(const std::string& utf8) {
    std::string doc = "<?xml version='1.0' encoding='UTF-8'?><a>";
    for (char c : utf8) doc += c == '<' ? "&lt;" : c == '&' ? "&amp;" : c == '>' ? "&gt;" : std::string(1, c);
    return Parse(doc + "</a>") != nullptr;
}

void CheckText(const Element& e, const char* name, const std::string& stored, Utf8Converter convert) {
    FUZZ_CHECK(e.name == name && e.children.empty());
    const std::string converted = convert(stored);
    const std::string written = XmlCharactersOnly(converted);
    FUZZ_CHECK((written == converted) == XmlCanHold(converted));
    FUZZ_CHECK(e.text == written);
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
    const Utf8Converter convert = switches & 4 ? AsIs : Cp932ToUtf8;
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

    const std::string document = XmlDocumentText(SettingsTree(s), convert);
    const std::unique_ptr<Element> root = Parse(document);
    FUZZ_CHECK(root != nullptr);
    FUZZ_CHECK(root->name == "kvtini" && root->children.size() == 5 + s.sites.size());
    const auto& options = root->children;
    CheckNumber(*options[0], "disp_header_title", s.disp_header_title);
    CheckNumber(*options[1], "disp_header_date", s.disp_header_date);
    CheckNumber(*options[2], "disp_interval", s.disp_interval);
    CheckNumber(*options[3], "load_interval", s.load_interval);
    CheckText(*options[4], "font_face", s.font_face, convert);
    for (std::size_t i = 0; i < s.sites.size(); ++i) {
        const Element& site = *root->children[5 + i];
        FUZZ_CHECK(site.name == "site" && site.children.size() == 4);
        CheckText(*site.children[0], "title", s.sites[i].title, convert);
        CheckText(*site.children[1], "link", s.sites[i].link, convert);
        CheckText(*site.children[2], "description", s.sites[i].description, convert);
        CheckNumber(*site.children[3], "check", s.sites[i].check);
    }
    return 0;
}
