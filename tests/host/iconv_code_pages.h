#pragma once
// The platform's code page converters as glibc's iconv has them, for the neutral feed
// intake's host tests and fuzz target: Shift_JIS as code page 932, EUC-JP as 20932,
// ISO-2022-JP as 50220 to 50222.
#include <iconv.h>

#include <string>

inline bool IconvCodePageToUtf8(unsigned codePage, const std::string& bytes, std::string* utf8) {
    const char* name = codePage == 932                          ? "CP932"
                       : codePage == 20932                      ? "EUC-JP"
                       : codePage >= 50220 && codePage <= 50222 ? "ISO-2022-JP"
                                                                : nullptr;
    if (!name) return false;
    const iconv_t cd = iconv_open("UTF-8", name);
    if (cd == iconv_t(-1)) return false;
    utf8->assign(bytes.size() * 3 + 8, '\0');
    char* in = const_cast<char*>(bytes.data());
    char* out = &(*utf8)[0];
    std::size_t inLeft = bytes.size(), outLeft = utf8->size();
    const bool converted = iconv(cd, &in, &inLeft, &out, &outLeft) != std::size_t(-1);
    iconv_close(cd);
    utf8->resize(utf8->size() - outLeft);
    return converted;
}
