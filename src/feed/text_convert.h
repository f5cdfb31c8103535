#pragma once
// Conversions between the UTF-16 of the XML object model, the program's code
// page 932 strings and the UTF-8 of the configuration file. The multibyte side
// goes through the runtime library's "Japanese" locale.
#include "common/com_ptr.h"

#include <string>

// Multibyte (code page 932) to a new BSTR; an absent string gives an empty one.
Bstr ToWide(const char* text);

// Zero-terminated UTF-16 to code page 932. A leading byte-order mark is dropped;
// each unit without a code page 932 form (also each surrogate half) becomes
// one space. An absent string gives the empty string.
std::string ToMultibyte(const wchar_t* text);

// Code page 932 to UTF-8 without a byte-order mark, each UTF-16 unit encoded on
// its own. Stops at the first zero byte; a byte sequence that is not code page
// 932 becomes one space.
std::string ToUtf8(const std::string& cp932);

// Text in a Windows code page (932, 20932, ...) to UTF-8, through the platform's
// converter. False when the platform has none for that code page.
bool CodePageToUtf8(unsigned codePage, const std::string& bytes, std::string* utf8);

// Selects the "Japanese" locale for the runtime's conversions unless code page
// 932 is already in force. The conversions call it themselves.
void SelectJapaneseLocale();
