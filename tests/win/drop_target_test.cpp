#include "editor/drop_target.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace {
// Counts the releases of media handed out by TestData; frees the memory itself.
struct MediumOwner final : IUnknown {
    HGLOBAL memory;
    int* releases;
    MediumOwner(HGLOBAL m, int* r) : memory(m), releases(r) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override {
        ++*releases;
        GlobalFree(memory);
        delete this;
        return 0;
    }
};

// A data object of our own: says it has `offered`, and delivers those in `deliverable`.
struct TestData final : IDataObject {
    std::vector<CLIPFORMAT> offered, deliverable;
    std::vector<CLIPFORMAT> asked;  // GetData calls
    int queries = 0;
    int mediumReleases = 0;

    static bool Has(const std::vector<CLIPFORMAT>& v, CLIPFORMAT f) { return std::count(v.begin(), v.end(), f) > 0; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* fe) override {
        ++queries;
        bool ok = fe->tymed == TYMED_HGLOBAL && fe->dwAspect == DVASPECT_CONTENT && fe->lindex == -1 && !fe->ptd;
        return ok && Has(offered, fe->cfFormat) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* fe, STGMEDIUM* m) override {
        asked.push_back(fe->cfFormat);
        if (!Has(deliverable, fe->cfFormat)) return DV_E_FORMATETC;
        const char text[] = "http://127.0.0.1/feed.rdf";
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
        CopyMemory(GlobalLock(h), text, sizeof text);
        GlobalUnlock(h);
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = h;
        m->pUnkForRelease = new MediumOwner(h, &mediumReleases);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
};

// What the window saw in each notification, as "PHASE at X,Y keys K format F data TEXT
// object O released N", the data read and the releases counted while the message was handled.
std::vector<std::string> seen;
DWORD effectOnLeave = 0;
DWORD offer = 0;  // what the window offers on enter and over
TestData* current = nullptr;

std::string Last() { return seen.empty() ? "<nothing>" : seen.back(); }

LRESULT CALLBACK RecordingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m != WM_DROPNOTIFY) return DefWindowProcA(w, m, wp, lp);
    auto* info = reinterpret_cast<DropInfo*>(lp);
    const char* phases[] = {"enter", "over", "leave", "drop"};
    std::string s = std::string(phases[wp]) + " at ";
    s += info->point ? std::to_string(info->point->x) + "," + std::to_string(info->point->y) : "-";
    s += " keys " + std::to_string(info->key_state) + " format " + std::to_string(info->format) + " data ";
    if (info->data) {
        s += static_cast<const char*>(GlobalLock(info->data));
        GlobalUnlock(info->data);
    } else {
        s += "-";
    }
    s += std::string(" object ") + (!info->data_object ? "-" : info->data_object == current ? "ours" : "other");
    s += " released " + std::to_string(current ? current->mediumReleases : -1);
    seen.push_back(s);
    if (wp == DROP_ENTER || wp == DROP_OVER) info->effect = offer;
    if (wp == DROP_LEAVE) effectOnLeave = info->effect;
    return 0;
}

class DropTargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        OleInitialize(nullptr);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KvtDropTestWindow";
        RegisterClassA(&wc);
        window_ = CreateWindowA("KvtDropTestWindow", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                nullptr);
        target_ = DropTarget::Create(window_, WM_DROPNOTIFY, formats_, 2);
        ASSERT_TRUE(target_);
        target_->AddRef();
        seen.clear();
        offer = DROPEFFECT_COPY | DROPEFFECT_LINK;
        current = &data_;
    }
    void TearDown() override {
        EXPECT_EQ(target_->Release(), 0u);
        DestroyWindow(window_);
        current = nullptr;
        OleUninitialize();
    }
    const UINT formats_[2] = {CF_TEXT, CF_HDROP};
    HWND window_ = nullptr;
    DropTarget* target_ = nullptr;
    TestData data_;
};
}  // namespace

TEST_F(DropTargetTest, TextIsPreferredAndReleasedRightAfterTheMessage) {
    data_.offered = data_.deliverable = {CF_HDROP, CF_TEXT};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target_->DragEnter(&data_, MK_LBUTTON, POINTL{120, 34}, &effect), S_OK);
    EXPECT_EQ(Last(), "enter at 120,34 keys 1 format 1 data http://127.0.0.1/feed.rdf object ours released 0");
    EXPECT_EQ(data_.mediumReleases, 1);
    EXPECT_EQ(data_.asked, std::vector<CLIPFORMAT>{CF_TEXT});
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY | DROPEFFECT_LINK));

    data_.offered = data_.deliverable = {CF_HDROP};
    EXPECT_EQ(target_->Drop(&data_, 0, POINTL{1, 2}, &effect), S_OK);
    EXPECT_EQ(Last(), "drop at 1,2 keys 0 format 15 data http://127.0.0.1/feed.rdf object ours released 1");
    EXPECT_EQ(data_.mediumReleases, 2);
}

TEST_F(DropTargetTest, NoFormatWhenNoneIsOfferedOrTheOfferedOneCannotBeHad) {
    data_.offered = data_.deliverable = {CF_UNICODETEXT};
    DWORD effect = DROPEFFECT_COPY;
    offer = DROPEFFECT_NONE;
    target_->DragEnter(&data_, 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(Last(), "enter at 0,0 keys 0 format 0 data - object ours released 0");
    EXPECT_TRUE(data_.asked.empty());
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));

    // Text is claimed but refused; files would be given, and are not tried.
    data_.offered = {CF_TEXT, CF_HDROP};
    data_.deliverable = {CF_HDROP};
    target_->Drop(&data_, 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(Last(), "drop at 0,0 keys 0 format 0 data - object ours released 0");
    EXPECT_EQ(data_.asked, std::vector<CLIPFORMAT>{CF_TEXT});
    EXPECT_EQ(data_.mediumReleases, 0);
}

TEST_F(DropTargetTest, OverCarriesNoDataAndLeaveCarriesNothing) {
    data_.offered = data_.deliverable = {CF_TEXT};
    DWORD effect = DROPEFFECT_COPY;
    target_->DragEnter(&data_, 0, POINTL{5, 6}, &effect);
    const int queries = data_.queries;
    target_->DragOver(MK_CONTROL, POINTL{7, 8}, &effect);
    EXPECT_EQ(Last(), "over at 7,8 keys 8 format 0 data - object - released 1");
    EXPECT_EQ(data_.queries, queries);

    offer = DROPEFFECT_MOVE;  // kept in the record: the window sees it on leave
    target_->DragOver(0, POINTL{7, 8}, &effect);
    EXPECT_EQ(target_->DragLeave(), S_OK);
    EXPECT_EQ(Last(), "leave at - keys 0 format 0 data - object - released 1");
    EXPECT_EQ(effectOnLeave, DWORD(DROPEFFECT_MOVE));
}

TEST_F(DropTargetTest, EffectNeverHoldsABitTheSourceDidNotAllow) {
    const DWORD some[] = {DROPEFFECT_NONE,
                          DROPEFFECT_COPY,
                          DROPEFFECT_MOVE,
                          DROPEFFECT_LINK,
                          DROPEFFECT_COPY | DROPEFFECT_MOVE,
                          DROPEFFECT_COPY | DROPEFFECT_LINK,
                          DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK | DROPEFFECT_SCROLL,
                          0xFFFFFFFF};
    for (DWORD allowed : some) {
        for (DWORD offered : some) {
            offer = offered;
            DWORD effect = allowed;
            target_->DragOver(0, POINTL{0, 0}, &effect);
            EXPECT_EQ(effect, allowed & offered);
            // A drop keeps what the last DROP_OVER offered.
            effect = allowed;
            target_->Drop(&data_, 0, POINTL{0, 0}, &effect);
            EXPECT_EQ(effect, allowed & offered);
        }
    }
}

// OLE keeps the registered object in the window property "OleDropTargetInterface".
TEST(DropTargetRegistration, OleHoldsTheObjectUntilRevokedAndThenItFreesItself) {
    const UINT formats[2] = {CF_TEXT, CF_HDROP};
    DropTarget* t = DropTarget::Create(nullptr, WM_DROPNOTIFY, formats, 1);
    ASSERT_TRUE(t);
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(t->QueryInterface(IID_IDataObject, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(t->QueryInterface(IID_IUnknown, &out), S_OK);  // the first reference
    EXPECT_EQ(t->Release(), 0u);                             // and the last: freed

    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    HWND w = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(RegisterDropTarget(w, WM_DROPNOTIFY, formats, 2), 1);
    auto* registered = static_cast<IDropTarget*>(GetPropA(w, "OleDropTargetInterface"));
    ASSERT_TRUE(registered);
    IDropTarget* same = nullptr;
    ASSERT_EQ(registered->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&same)), S_OK);
    EXPECT_EQ(RegisterDropTarget(w, WM_DROPNOTIFY, formats, 2), 0);  // already registered
    EXPECT_EQ(RevokeDropTarget(w), S_OK);
    EXPECT_EQ(same->Release(), 0u);        // OLE let go: ours was the last reference
    EXPECT_NE(RevokeDropTarget(w), S_OK);  // no longer registered
    DestroyWindow(w);
    OleUninitialize();
}

TEST(DropTargetRegistration, FailsWithoutOle) {
    int result = -1;
    std::thread([&] {
        HWND w = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        const UINT formats[1] = {CF_TEXT};
        result = RegisterDropTarget(w, WM_DROPNOTIFY, formats, 1);
        DestroyWindow(w);
    }).join();
    EXPECT_EQ(result, 0);
}
