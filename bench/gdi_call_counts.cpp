#include "gdi_call_counts.h"

#include <windows.h>

GdiCallCounts gdiCallCounts;

namespace {

decltype(&GetTextExtentPoint32A) realMeasure;
decltype(&CreateFontA) realCreateFont;

BOOL WINAPI CountedMeasure(HDC dc, LPCSTR text, int length, LPSIZE size) {
    ++gdiCallCounts.measures;
    return realMeasure(dc, text, length, size);
}

HFONT WINAPI CountedCreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                               DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                               DWORD quality, DWORD pitchAndFamily, LPCSTR face) {
    ++gdiCallCounts.fonts;
    return realCreateFont(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                          outPrecision, clipPrecision, quality, pitchAndFamily, face);
}

// Points every import table entry of this program that holds `real` at `counted`.
bool Redirect(void* real, void* counted) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const LONG ntAt = reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + ntAt);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    bool found = false;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        for (auto* t = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); t->u1.Function; ++t) {
            if (reinterpret_cast<void*>(t->u1.Function) != real) continue;
            DWORD was;
            VirtualProtect(&t->u1.Function, sizeof t->u1.Function, PAGE_READWRITE, &was);
            t->u1.Function = reinterpret_cast<ULONG_PTR>(counted);
            VirtualProtect(&t->u1.Function, sizeof t->u1.Function, was, &was);
            found = true;
        }
    }
    return found;
}

}  // namespace

bool CountGdiCalls() {
    // Read through the import table, before it is changed: the functions themselves.
    realMeasure = &GetTextExtentPoint32A;
    realCreateFont = &CreateFontA;
    const bool measures = Redirect(reinterpret_cast<void*>(realMeasure), reinterpret_cast<void*>(CountedMeasure));
    const bool fonts = Redirect(reinterpret_cast<void*>(realCreateFont), reinterpret_cast<void*>(CountedCreateFont));
    return measures && fonts;
}
