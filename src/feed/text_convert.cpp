#include "feed/text_convert.h"

#include <windows.h>

#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>

void SelectJapaneseLocale() {
    // Asking the runtime for its code page is far cheaper than setlocale,
    // which the conversions would otherwise pay once per string.
    if (___lc_codepage_func() != 932) std::setlocale(LC_ALL, "Japanese");
}

Bstr ToWide(const char* text) {
    if (!text) text = "";
    size_t length = std::strlen(text);
    if (length == 0 || length > INT_MAX) return Bstr(SysAllocStringLen(nullptr, 0));
    int n = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    if (n <= 0) return Bstr(SysAllocStringLen(nullptr, 0));
    Bstr wide(SysAllocStringLen(nullptr, static_cast<UINT>(n)));
    if (!wide.Get()) return wide;
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide.Get(), n);
    return wide;
}

std::string ToMultibyte(const wchar_t* text) {
    std::string out;
    if (!text) return out;
    SelectJapaneseLocale();
    if (*text == 0xFEFF || *text == 0xFFFE) ++text;
    out.reserve(2 * std::wcslen(text));
    char scratch[MB_LEN_MAX];
    for (; *text; ++text) {
        // Code page 932 keeps ASCII as it is; only the rest needs the runtime.
        if (*text < 0x80) {
            out.push_back(static_cast<char>(*text));
            continue;
        }
        int n = std::wctomb(scratch, *text);
        if (n == 1 || n == 2) {
            out.append(scratch, static_cast<size_t>(n));
        } else {
            out.push_back(' ');
        }
    }
    return out;
}

std::string ToUtf8(const std::string& cp932) {
    SelectJapaneseLocale();
    std::wstring wide;
    wide.reserve(cp932.size());
    const char* p = cp932.c_str();
    const char* end = p + std::strlen(p);
    while (p < end) {
        wchar_t unit = 0;
        int n = std::mbtowc(&unit, p, static_cast<size_t>(end - p));
        if (n <= 0) {
            wide.push_back(L' ');
            ++p;
        } else {
            wide.push_back(unit);
            p += n;
        }
    }

    std::string out;
    out.reserve(wide.size() * 3);
    for (wchar_t w : wide) {
        unsigned u = static_cast<unsigned>(w) & 0xFFFF;
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (u >> 6)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (u >> 12)));
            out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        }
    }
    return out;
}

bool CodePageToUtf8(unsigned codePage, const std::string& bytes, std::string* utf8) {
    utf8->clear();
    if (!IsValidCodePage(codePage) || bytes.size() > INT_MAX / 3) return false;
    if (bytes.empty()) return true;
    const int length = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (units <= 0) return false;
    std::wstring wide(static_cast<size_t>(units), L'\0');
    if (MultiByteToWideChar(codePage, 0, bytes.data(), length, &wide[0], units) != units) return false;
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    utf8->resize(static_cast<size_t>(size));
    return WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, &(*utf8)[0], size, nullptr, nullptr) == size;
}
