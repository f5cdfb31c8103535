#pragma once
// Makes a window an OLE drop target that reports each drag step as one
// message, with the dragged data already rendered in the first format of the
// window's list that the data object can give.
#include <windows.h>
#include <ole2.h>

#include "common/app_messages.h"  // WM_DROPNOTIFY

enum DropPhase {
    DROP_ENTER = 0,
    DROP_OVER = 1,
    DROP_LEAVE = 2,
    DROP_DROP = 3,
};

struct DropInfo {
    POINTL* point;             // cursor in screen coordinates; null on DROP_LEAVE
    DWORD effect;              // set by the window on DROP_ENTER and DROP_OVER; kept between calls
    DWORD key_state;           // MK_ flags; 0 on DROP_LEAVE
    UINT format;               // format of `data`; 0 when none could be obtained, always on OVER and LEAVE
    HGLOBAL data;              // released by the target right after the message returns
    IDataObject* data_object;  // on DROP_ENTER and DROP_DROP only
};

// One registered window. Allocated from the global heap with a reference count
// of 0; OLE's registration holds the references, and the last Release frees it.
class DropTarget final : public IDropTarget {
public:
    // A new object with no references yet, or null when memory runs out.
    // The formats are copied.
    static DropTarget* Create(HWND window, UINT message, const UINT* formats, int count);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;

private:
    DropTarget() = default;
    ~DropTarget() = default;
    void Destroy();
    HRESULT Notify(DropPhase phase, IDataObject* data, DWORD keys, POINTL* pt, DWORD* effect);

    LONG refs_ = 0;
    HWND window_ = nullptr;
    UINT message_ = 0;
    UINT* formats_ = nullptr;  // global heap
    int formatCount_ = 0;
    DropInfo info_ = {};
};

// Registers `window` with OLE (which must be initialised on this thread).
// 1 on success; 0 on failure, leaving nothing behind.
int RegisterDropTarget(HWND window, UINT message, const UINT* formats, int count);
// RevokeDragDrop on the window; OLE's references go and the object frees itself.
HRESULT RevokeDropTarget(HWND window);

// Both dialogs take text (CF_TEXT) and files (CF_HDROP) by WM_DROPNOTIFY. Registers
// `dialog` for them; when that fails, shows the error box, ends the dialog with 0 and
// returns false.
bool RegisterDialogDropTarget(HWND dialog);
// True for the formats the dialogs take.
bool IsDialogDropFormat(UINT format);
// The effect a dialog offers at DROP_ENTER and DROP_OVER: copy or link while the data is
// text or files and the cursor is over `target`, nothing otherwise. `format` keeps the
// format DROP_ENTER brought, as DROP_OVER brings none.
void OfferDrop(WPARAM phase, DropInfo& info, UINT& format, HWND target);
