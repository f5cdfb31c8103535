#include "list_view_text.h"

#include <commctrl.h>

std::string ListCell(HWND list, int item, int subItem) {
    char buf[512] = "";
    LVITEMA lv = {};
    lv.iSubItem = subItem;
    lv.pszText = buf;
    lv.cchTextMax = sizeof buf;
    SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(item), reinterpret_cast<LPARAM>(&lv));
    return buf;
}

namespace {
// Sends `message` with a structure and a text buffer placed in the list's own process,
// where the list view writes the text, and reads the text back.
template <class Struct>
std::wstring RemoteText(HWND list, UINT message, WPARAM wParam, Struct s) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return L"";
    constexpr int kChars = 512;
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof s + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    wchar_t text[kChars] = L"";
    if (remote) {
        s.pszText = reinterpret_cast<wchar_t*>(remote + sizeof s);
        s.cchTextMax = kChars;
        WriteProcessMemory(process, remote, &s, sizeof s, nullptr);
        SendMessageW(list, message, wParam, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote + sizeof s, text, sizeof text - sizeof(wchar_t), nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}
}  // namespace

std::wstring RemoteListCell(HWND list, int item, int subItem) {
    LVITEMW lv = {};
    lv.iSubItem = subItem;
    return RemoteText(list, LVM_GETITEMTEXTW, WPARAM(item), lv);
}

std::wstring RemoteColumnTitle(HWND list, int column) {
    LVCOLUMNW c = {};
    c.mask = LVCF_TEXT;
    return RemoteText(list, LVM_GETCOLUMNW, WPARAM(column), c);
}
