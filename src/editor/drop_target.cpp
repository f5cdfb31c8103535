#include "editor/drop_target.h"

#include "common/ole_holders.h"

#include <algorithm>
#include <iterator>
#include <new>

DropTarget* DropTarget::Create(HWND window, UINT message, const UINT* formats, int count) {
    if (count < 0 || (count > 0 && !formats)) return nullptr;
    void* memory = GlobalAlloc(GPTR, sizeof(DropTarget));
    if (!memory) return nullptr;
    DropTarget* target = new (memory) DropTarget();
    target->window_ = window;
    target->message_ = message;
    if (count > 0) {
        target->formats_ = static_cast<UINT*>(GlobalAlloc(GPTR, sizeof(UINT) * size_t(count)));
        if (!target->formats_) {
            target->Destroy();
            return nullptr;
        }
        CopyMemory(target->formats_, formats, sizeof(UINT) * size_t(count));
    }
    target->formatCount_ = count;
    return target;
}

void DropTarget::Destroy() {
    if (formats_) GlobalFree(formats_);
    this->~DropTarget();
    GlobalFree(this);
}

HRESULT DropTarget::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG DropTarget::AddRef() { return ULONG(InterlockedIncrement(&refs_)); }

ULONG DropTarget::Release() {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) Destroy();
    return ULONG(left);
}

HRESULT DropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) {
    return Notify(DROP_ENTER, data, keys, &pt, effect);
}

HRESULT DropTarget::DragOver(DWORD keys, POINTL pt, DWORD* effect) {
    return Notify(DROP_OVER, nullptr, keys, &pt, effect);
}

HRESULT DropTarget::DragLeave() { return Notify(DROP_LEAVE, nullptr, 0, nullptr, nullptr); }

HRESULT DropTarget::Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) {
    return Notify(DROP_DROP, data, keys, &pt, effect);
}

HRESULT DropTarget::Notify(DropPhase phase, IDataObject* data, DWORD keys, POINTL* pt, DWORD* effect) {
    // Render the data in the first accepted format the object says it has. A
    // format it claims but then cannot deliver ends the search: nothing is obtained.
    StgMedium medium;
    UINT format = 0;
    if (data) {
        for (int i = 0; i < formatCount_; ++i) {
            FORMATETC fe = {};
            fe.cfFormat = CLIPFORMAT(formats_[i]);
            fe.ptd = nullptr;
            fe.dwAspect = DVASPECT_CONTENT;
            fe.lindex = -1;
            fe.tymed = TYMED_HGLOBAL;
            if (data->QueryGetData(&fe) != S_OK) continue;
            StgMedium got;
            // Anything but the global memory asked for is unusable, and released.
            if (SUCCEEDED(data->GetData(&fe, got.Put())) && got.Get().tymed == TYMED_HGLOBAL && got.Get().hGlobal) {
                medium.Take(got);
                format = formats_[i];
            }
            break;
        }
    }

    info_.point = pt;
    info_.key_state = keys;
    info_.format = format;
    info_.data = format ? medium.Get().hGlobal : nullptr;
    info_.data_object = data;
    SendMessageA(window_, message_, WPARAM(phase), reinterpret_cast<LPARAM>(&info_));

    medium.Reset();
    // Nothing outlives the message: the window was told these are valid only during it.
    info_.point = nullptr;
    info_.data = nullptr;
    info_.data_object = nullptr;
    if (effect) *effect &= info_.effect;
    return S_OK;
}

int RegisterDropTarget(HWND window, UINT message, const UINT* formats, int count) {
    DropTarget* target = DropTarget::Create(window, message, formats, count);
    if (!target) return 0;
    // Hold a reference of our own across the call, so that a failed
    // registration frees the object through the same path as a revocation.
    target->AddRef();
    HRESULT hr = RegisterDragDrop(window, target);
    target->Release();
    return hr == S_OK ? 1 : 0;
}

HRESULT RevokeDropTarget(HWND window) { return RevokeDragDrop(window); }

namespace {
const UINT kDialogDropFormats[] = {CF_TEXT, CF_HDROP};
}  // namespace

bool RegisterDialogDropTarget(HWND dialog) {
    if (RegisterDropTarget(dialog, WM_DROPNOTIFY, kDialogDropFormats, int(std::size(kDialogDropFormats)))) return true;
    MessageBoxA(dialog, "ドロップターゲットの登録に失敗しました。", "Error", MB_OK | MB_ICONERROR);
    EndDialog(dialog, 0);
    return false;
}

bool IsDialogDropFormat(UINT format) {
    return std::find(std::begin(kDialogDropFormats), std::end(kDialogDropFormats), format) !=
           std::end(kDialogDropFormats);
}

void OfferDrop(WPARAM phase, DropInfo& info, UINT& format, HWND target) {
    if (phase == DROP_ENTER) format = info.format;
    const bool usable = IsDialogDropFormat(format);
    const bool over = usable && info.point && WindowFromPoint(POINT{info.point->x, info.point->y}) == target;
    info.effect = over ? DROPEFFECT_COPY | DROPEFFECT_LINK : DROPEFFECT_NONE;
}
