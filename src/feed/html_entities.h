#pragma once
// The character entities of HTML 4.01 (&eacute;, &times;, &hellip;, ...), which feeds
// use although XML knows only its own five.
#include <cstddef>

// The code point of the entity named by the `length` bytes at `name`; 0 when HTML 4.01
// has no such entity. Names are case-sensitive: "Eacute" is not "eacute".
unsigned HtmlEntityCode(const char* name, std::size_t length);
