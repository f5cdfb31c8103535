#pragma once
// Code page 932 (Japanese Shift_JIS as Windows extends it): the one test for a byte
// that starts a double-byte character, shared by everything that walks such text.
//
// The platform-neutral code spells its narrow Japanese text as code page 932 bytes
// ("\x95\x5C..." with the text in a comment) instead of relying on the compiler's
// -fexec-charset=CP932: clang, which builds the fuzz targets, has no such option and
// would give UTF-8. The host build checks that no neutral source holds any other
// non-ASCII narrow literal.

// True for 0x81 to 0x9F and 0xE0 to 0xFC. The range up to 0xFC includes the
// extensions that names and places often need: 髙 is FB FC, 﨑 FA B1, 德 FA BA.
inline bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
