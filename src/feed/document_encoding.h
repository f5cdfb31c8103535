#pragma once
// A fetched document's encoding, and the conversions that leave every document the
// intake lets through with its markup in plain ASCII bytes: what the DOCTYPE scan
// reads, and what the XML object reads alike on Windows and under Wine.
#include <string>

// Converts text in a Windows code page to UTF-8. False when the platform has no
// converter for that code page or the converter fails. The platform layer supplies it.
using CodePageConverter = bool (*)(unsigned codePage, const std::string& bytes, std::string* utf8);

enum class MarkupBytes {
    kUtf8,        // UTF-8, given or converted to
    kOtherAscii,  // another encoding whose markup bytes are ASCII (ISO-8859-x, Big5, ...)
    kUnreadable,  // neither, nor convertible: UTF-32, EBCDIC, UTF-7, an unknown name
};

// `document` made readable as ASCII markup into `out`:
//  - UTF-16 (with a byte-order mark, or detected from its first characters) and the
//    Japanese encodings Shift_JIS, EUC-JP and ISO-2022-JP (through `convert`) become
//    UTF-8, and their XML declaration says so;
//  - a UTF-8 byte-order mark is dropped, and a declaration that names another
//    encoding after one is made to say UTF-8;
//  - UTF-8 and the other ASCII-compatible encodings pass through as they are.
// `out` is left empty when the result is kUnreadable.
MarkupBytes ToAsciiMarkup(const std::string& document, CodePageConverter convert, std::string* out);

// True when `text` starts with bytes that tell an encoding of their own: a byte-order
// mark, or the first characters of a document in UTF-16, UCS-4 or EBCDIC.
bool HasEncodingSignature(const std::string& text);

// The encoding named by the XML declaration at the start of `text` (an ASCII-compatible
// document; white space before it is skipped), lower-cased; empty when there is no declaration or it names none. With
// `begin` and `end`, the position of the name's bytes in `text`.
std::string DeclaredEncoding(const std::string& text, std::size_t* begin = nullptr, std::size_t* end = nullptr);
