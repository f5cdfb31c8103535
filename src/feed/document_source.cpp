#include "feed/document_source.h"

#include "common/com_ptr.h"
#include "common/kernel_holders.h"
#include "common/last_error.h"
#include "feed/feed_intake.h"
#include "feed/text_convert.h"

#include <shlwapi.h>
#include <algorithm>
#include <urlmon.h>

namespace {

// One byte more than a document may have: reading that many tells it is too large.
constexpr std::size_t kReadLimit = kMaxDocumentBytes + 1;

// Follows a URL moniker's transfer: asks for a fresh copy without any dialog, and
// aborts the transfer as soon as it passes the read limit.
class CappedTransfer final : public IBindStatusCallback {
public:
    bool Exceeded() const { return exceeded_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IBindStatusCallback) {
            *object = static_cast<IBindStatusCallback*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return ULONG(left);
    }

    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding* binding) override {
        if (binding) binding->AddRef();
        *binding_.Put() = binding;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG, ULONG, LPCWSTR) override {
        if (progress < kReadLimit) return S_OK;
        exceeded_ = true;
        if (binding_) binding_->Abort();
        return E_ABORT;
    }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override {
        binding_.Reset();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO*) override {
        if (!flags) return E_POINTER;
        // A feed read within the update interval must still be the server's latest, and
        // a fetch runs unattended: a certificate or sign-in problem fails instead of asking.
        *flags |= BINDF_RESYNCHRONIZE | BINDF_NO_UI | BINDF_SILENTOPERATION;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

private:
    ~CappedTransfer() = default;

    LONG references_ = 1;
    ComPtr<IBinding> binding_;
    bool exceeded_ = false;
};

HRESULT ReadUrl(const char* url, std::string* bytes) {
    ComPtr<CappedTransfer> transfer(new CappedTransfer);
    ComPtr<IStream> stream;
    const Bstr wide = ToWide(url);
    HRESULT hr = URLOpenBlockingStreamW(nullptr, wide.Get(), stream.Put(), 0, transfer.Get());
    if (transfer->Exceeded()) return kDocumentTooLarge;
    if (FAILED(hr)) return hr;
    if (!stream) return E_FAIL;
    char buffer[0x10000];
    while (bytes->size() < kReadLimit) {
        ULONG read = 0;
        hr = stream->Read(buffer, ULONG(std::min(sizeof buffer, kReadLimit - bytes->size())), &read);
        bytes->append(buffer, read);
        if (FAILED(hr)) return hr;
        if (hr == S_FALSE || read == 0) break;
    }
    return bytes->size() > kMaxDocumentBytes ? kDocumentTooLarge : S_OK;
}

HRESULT ReadFilePath(const char* path, std::string* bytes) {
    KernelHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastErrorResult();
    char buffer[0x10000];
    while (bytes->size() < kReadLimit) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, DWORD(std::min(sizeof buffer, kReadLimit - bytes->size())), &read, nullptr))
            return LastErrorResult();
        if (read == 0) break;
        bytes->append(buffer, read);
    }
    return bytes->size() > kMaxDocumentBytes ? kDocumentTooLarge : S_OK;
}

}  // namespace

HRESULT ReadDocument(const char* location, std::string* bytes) {
    bytes->clear();
    if (!location || !*location) return E_INVALIDARG;
    return PathIsURLA(location) ? ReadUrl(location, bytes) : ReadFilePath(location, bytes);
}
