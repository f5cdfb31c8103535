#include "editor/url_field.h"

#include "editor/drop_text.h"
#include "res/resource.h"

std::string ReadUrlField(HWND editor) {
    char url[kUrlFieldLimit + 1] = "";
    GetDlgItemTextA(editor, IDC_EDITOR_URL, url, sizeof url);
    return url;
}
