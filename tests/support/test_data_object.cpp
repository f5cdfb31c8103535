#include "test_data_object.h"

#include <shlobj.h>

HRESULT OneFormatData::QueryInterface(REFIID riid, void** out) {
    *out = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject) ? this : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
}

HRESULT OneFormatData::QueryGetData(FORMATETC* fe) {
    return fe->cfFormat == format && (fe->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
}

HRESULT OneFormatData::GetData(FORMATETC* fe, STGMEDIUM* m) {
    if (QueryGetData(fe) != S_OK) return DV_E_FORMATETC;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!h) return E_OUTOFMEMORY;
    CopyMemory(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    *m = {};
    m->tymed = TYMED_HGLOBAL;
    m->hGlobal = h;
    return S_OK;
}

std::string FileDropBlock(const std::vector<std::string>& files) {
    DROPFILES header = {};
    header.pFiles = sizeof header;
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    for (const std::string& f : files) block += f + '\0';
    return block + '\0';
}
