#pragma once
// The small XML writer of the configuration file: a tree of elements held in
// memory and printed in one fixed layout (two spaces per level, CR LF line
// ends, leaf text converted to UTF-8, cleared of what XML cannot hold and escaped).
#include <cstdint>
#include <string>
#include <vector>

// Converts code page 932 text to UTF-8.
using Utf8Converter = std::string (*)(const std::string& cp932);

struct XmlNode {
    std::string name;  // tag name, plain ASCII, written unchanged
    std::string text;  // code page 932; written only when there are no children
    std::vector<XmlNode> children;

    XmlNode() = default;
    explicit XmlNode(std::string tag) : name(std::move(tag)) {}

    // Appends an empty child. The reference stays valid until the next
    // AddChild on this node.
    XmlNode& AddChild(const std::string& tag);
    void SetText(const std::string& value) { text = value; }
    // Decimal form, with a leading "-" for negative values.
    void SetInt(std::int32_t value);

    // Appends this element and its subtree at the given depth to `out`.
    void Write(std::string& out, int depth, Utf8Converter toUtf8) const;

    // Writes the document (declaration and this node as its root) to `path`
    // without ever leaving a partly written file in its place. 0 on success,
    // else the failure code of the step that failed. Win32 only.
    std::int32_t Save(const char* path) const;
};

// The four markup characters replaced by their entities and the carriage return by
// its character reference, byte by byte; every other byte unchanged. Meant for the
// converted UTF-8 text, in which no byte of a longer character is ASCII. (A carriage
// return written as itself reads back as a line feed: XML readers turn every line end
// into one.)
std::string EscapeXmlText(const std::string& text);

// `utf8` with one space in place of each character that XML 1.0 does not allow
// (control characters other than tab, line feed and carriage return; surrogates;
// U+FFFE and U+FFFF) and of each byte that belongs to no well-formed UTF-8 sequence.
// A single such character makes a document that no XML parser reads.
std::string XmlCharactersOnly(const std::string& utf8);

// The whole file: the declaration line followed by `root` at depth 0.
std::string XmlDocumentText(const XmlNode& root, Utf8Converter toUtf8);
