#include "settings/font_list.h"

#include "common/gdi_holders.h"

#include <cstring>
#include <set>

int fontMatchIndex = -1;
int fontCount = 0;

namespace {
struct FontListFill {
    HWND combo;
    const std::string* face;
    std::set<std::string> added;
};

int CALLBACK AddFontFace(const LOGFONTA* logFont, const TEXTMETRICA*, DWORD fontType, LPARAM param) {
    auto* fill = reinterpret_cast<FontListFill*>(param);
    const auto* full = reinterpret_cast<const ENUMLOGFONTEXA*>(logFont);
    char name[LF_FULLFACESIZE + 1] = "";
    std::memcpy(name, full->elfFullName, LF_FULLFACESIZE);  // may fill the field without a terminator
    if (name[0] == '@' || (fontType & RASTER_FONTTYPE)) return 1;
    // The platform may report a face more than once (Wine does for each font replacement
    // that names it): the list names it once, where it first came.
    if (!fill->added.insert(name).second) return 1;
    if (*fill->face == name) fontMatchIndex = fontCount;
    SendMessageA(fill->combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    ++fontCount;
    return 1;
}
}  // namespace

void FillFontList(HWND combo, const std::string& face) {
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    fontMatchIndex = -1;
    fontCount = 0;
    LOGFONTA wanted = {};
    wanted.lfCharSet = SHIFTJIS_CHARSET;
    FontListFill fill = {combo, &face, {}};
    WindowDc desktop(GetDesktopWindow());
    EnumFontFamiliesExA(desktop.Get(), &wanted, AddFontFace, reinterpret_cast<LPARAM>(&fill), 0);
    if (fontMatchIndex >= 0) SendMessageA(combo, CB_SETCURSEL, WPARAM(fontMatchIndex), 0);
}

void ReadSelectedFont(HWND combo, std::string& face) {
    LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return;
    LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, WPARAM(selected), 0);
    if (length == CB_ERR || length < 0) return;
    std::string text(size_t(length) + 1, '\0');
    LRESULT copied = SendMessageA(combo, CB_GETLBTEXT, WPARAM(selected), reinterpret_cast<LPARAM>(&text[0]));
    if (copied == CB_ERR) return;
    text.resize(std::strlen(text.c_str()));
    face = text;
}
