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
        out += toUtf8(EscapeXmlText(text));
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
            default: out += c; break;
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
