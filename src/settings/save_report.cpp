#include "settings/save_report.h"

#include <string>

void ReportSaveFailure(HWND owner, const char* path) {
    const std::string text = std::string("設定を保存できませんでした。\n") + path;
    MessageBoxA(owner, text.c_str(), "Error", MB_ICONERROR);
}
