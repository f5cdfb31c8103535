#include "config/xml_node.h"

namespace {
const char kLineEnd[] = "\r\n";

void Indent(std::string& out, int depth) {
    for (int i = 0; i < depth; ++i) out += "  ";
}
}  // namespace

XmlNode& XmlNode::AddChild(const std::string& tag) {
    children.emplace_back(tag);
    return children.back();
}

void XmlNode::SetInt(std::int32_t value) {
    // Built by hand so that the most negative value needs no special case.
    std::int64_t v = value;
    bool negative = v < 0;
    if (negative) v = -v;
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + v % 10));
        v /= 10;
    } while (v != 0);
    text = negative ? "-" + digits : digits;
}

void XmlNode::Write(std::string& out, int depth, Utf8Converter toUtf8) const {
    Indent(out, depth);
    out += '<';
    out += name;
    out += '>';
    if (!children.empty()) {
        out += kLineEnd;
        for (const XmlNode& child : children) child.Write(out, depth + 1, toUtf8);
        Indent(out, depth);
    } else {
        // Escaped after converting: the converter may take a stray lead byte together
        // with the markup character after it, and so must never see an escape.
        out += EscapeXmlText(XmlCharactersOnly(toUtf8(text)));
    }
    out += "</";
    out += name;
    out += '>';
    out += kLineEnd;
}

std::string EscapeXmlText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '"': out += "&quot;"; break;
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\r': out += "&#13;"; break;
        default: out += c; break;
        }
    }
    return out;
}

namespace {
// The length of the well-formed UTF-8 sequence at `p` (`left` bytes remain) and its
// code point, or 0 when the byte there starts none. Surrogates, which some converters
// write as three bytes each, are decoded like any other three-byte sequence.
std::size_t DecodeUtf8(const unsigned char* p, std::size_t left, std::uint32_t* code) {
    if (p[0] < 0x80) {
        *code = p[0];
        return 1;
    }
    std::size_t length;
    std::uint32_t value, least;
    if (p[0] >= 0xC2 && p[0] <= 0xDF) {
        length = 2, value = p[0] & 0x1F, least = 0x80;
    } else if (p[0] >= 0xE0 && p[0] <= 0xEF) {
        length = 3, value = p[0] & 0x0F, least = 0x800;
    } else if (p[0] >= 0xF0 && p[0] <= 0xF4) {
        length = 4, value = p[0] & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (left < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        value = value << 6 | (p[i] & 0x3F);
    }
    if (value < least || value > 0x10FFFF) return 0;  // over-long, or beyond Unicode
    *code = value;
    return length;
}

bool IsXmlChar(std::uint32_t c) {
    return c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           c >= 0x10000;
}
}  // namespace

std::string XmlCharactersOnly(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    std::size_t left = utf8.size();
    while (left > 0) {
        std::uint32_t code = 0;
        const std::size_t length = DecodeUtf8(p, left, &code);
        if (length == 0) {
            out += ' ';  // a byte that is not part of a character
            ++p, --left;
        } else {
            if (IsXmlChar(code))
                out.append(reinterpret_cast<const char*>(p), length);
            else
                out += ' ';
            p += length, left -= length;
        }
    }
    return out;
}

std::string XmlDocumentText(const XmlNode& root, Utf8Converter toUtf8) {
    std::string out = "<?xml version='1.0' encoding='UTF-8' ?>";
    out += kLineEnd;
    root.Write(out, 0, toUtf8);
    return out;
}
