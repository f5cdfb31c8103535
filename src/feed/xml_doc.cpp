#include "feed/xml_doc.h"

#include "feed/decimal_text.h"
#include "feed/document_source.h"
#include "feed/feed_intake.h"
#include "feed/text_convert.h"

#include <ocidl.h>
#include <shlwapi.h>

#include <climits>
#include <cwchar>

// MinGW's libuuid has neither of these.
extern "C" const IID IID_IXMLDocument = {0xF52E2B61, 0x18A1, 0x11D1, {0xB1, 0x05, 0x00, 0x80, 0x5F, 0x49, 0x91, 0x6B}};
extern "C" const IID IID_IXMLElement = {0x3F7F31AC, 0xE15F, 0x11D0, {0x9C, 0x25, 0x00, 0xC0, 0x4F, 0xC9, 0x9C, 0x8E}};

namespace {

constexpr LONG kElementNode = 0;  // XMLELEMTYPE_ELEMENT

bool SameName(BSTR a, BSTR b) { return _wcsicmp(a ? a : L"", b ? b : L"") == 0; }

// The children of `parent` and their number. The object answers S_FALSE and
// no collection for an element without children.
HRESULT GetChildren(IXMLElement* parent, ComPtr<IXMLElementCollection>* children, LONG* length) {
    if (!parent) return E_FAIL;
    HRESULT hr = parent->get_children(children->Put());
    if (FAILED(hr)) return hr;
    if (!*children) return E_FAIL;
    *length = 0;
    if (FAILED((*children)->get_length(length)) || *length <= 0) return E_FAIL;
    return S_OK;
}

// Walks the children in document order and calls `visit(element, tag)` for
// each element node until it returns false. The collection's enumerator steps
// from one child to the next; fetching by index instead can cost a walk from
// the first child per call (Wine's object does that), which makes reading a
// feed of n items take n*n steps. Without an enumerator it falls back to
// indexes. A child that cannot be fetched is skipped.
template <class Visit>
void WalkElements(IXMLElementCollection* children, LONG length, Visit visit) {
    // One child as an element node with its tag name, or false.
    auto asElement = [](IDispatch* item, XmlElement* element, Bstr* tag) {
        if (!item) return false;
        // Asked for rather than assumed: the collection hands out IDispatch.
        if (FAILED(item->QueryInterface(IID_IXMLElement, reinterpret_cast<void**>(element->Put()))) || !*element) {
            return false;
        }
        LONG type = -1;
        if (FAILED((*element)->get_type(&type)) || type != kElementNode) return false;
        return SUCCEEDED((*element)->get_tagName(tag->Put()));
    };

    // Asks until nothing more comes: an enumerator may hand out fewer than asked for
    // and still answer S_OK. One that yields nothing at its first call, although the
    // collection has children, leaves them to the walk by index.
    ComPtr<IUnknown> unknown;
    ComPtr<IEnumVARIANT> items;
    if (SUCCEEDED(children->get__newEnum(unknown.Put())) && unknown &&
        SUCCEEDED(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(items.Put()))) && items &&
        SUCCEEDED(items->Reset())) {
        constexpr ULONG kBatch = 64;
        VARIANT batch[kBatch];
        bool started = false, stop = false;
        while (!stop) {
            for (VARIANT& v : batch) VariantInit(&v);
            ULONG fetched = 0;
            const HRESULT hr = items->Next(kBatch, batch, &fetched);
            if (FAILED(hr) || fetched > kBatch) fetched = 0;  // nothing it says can be trusted
            for (ULONG i = 0; i < fetched; ++i) {
                XmlElement element;
                Bstr tag;
                IDispatch* item = batch[i].vt == VT_DISPATCH ? batch[i].pdispVal : nullptr;
                if (!stop && asElement(item, &element, &tag)) stop = !visit(std::move(element), tag.Get());
            }
            for (VARIANT& v : batch) VariantClear(&v);
            if (fetched == 0) break;
            started = true;
        }
        if (started) return;
    }

    for (LONG i = 0; i < length; ++i) {
        VARIANT position;
        VariantInit(&position);
        position.vt = VT_I4;
        position.lVal = i;
        VARIANT omitted;  // the standard encoding of an omitted optional argument
        VariantInit(&omitted);
        omitted.vt = VT_ERROR;
        omitted.scode = DISP_E_PARAMNOTFOUND;
        ComPtr<IDispatch> item;
        if (FAILED(children->item(position, omitted, item.Put()))) continue;
        XmlElement element;
        Bstr tag;
        if (asElement(item.Get(), &element, &tag) && !visit(std::move(element), tag.Get())) return;
    }
}

}  // namespace

TagNames::TagNames(std::initializer_list<const char*> names) {
    for (const char* name : names) names_.push_back(ToWide(name));
}

HRESULT XmlDoc::Load(const char* url) {
    std::string bytes;
    const HRESULT hr = ReadDocument(url, &bytes);
    if (FAILED(hr)) return hr;
    return LoadDocument(bytes);
}

HRESULT XmlDoc::LoadDocument(const std::string& bytes) {
    std::string ready;
    switch (PrepareDocument(bytes, CodePageToUtf8, &ready)) {
    case IntakeResult::kReady: break;
    case IntakeResult::kEmpty: return kEmptyDocument;
    case IntakeResult::kTooLarge: return kDocumentTooLarge;
    case IntakeResult::kUnreadableEncoding: return kUnreadableEncoding;
    }
    CLSID clsid = {};
    HRESULT hr = CLSIDFromProgID(L"msxml", &clsid);
    if (FAILED(hr)) return hr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDocument,
                          reinterpret_cast<void**>(document_.Put()));
    if (FAILED(hr)) return hr;
    if (!document_) return E_FAIL;
    ComPtr<IPersistStreamInit> persist;
    hr = document_->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(persist.Put()));
    if (FAILED(hr)) return hr;
    if (!persist) return E_FAIL;
    // The stream keeps a copy of its own. The intake's bound keeps the size within a UINT.
    static_assert(4 * kMaxDocumentBytes + 16 <= UINT_MAX, "the prepared document fits a stream's size");
    ComPtr<IStream> stream(SHCreateMemStream(reinterpret_cast<const BYTE*>(ready.data()), UINT(ready.size())));
    if (!stream) return E_OUTOFMEMORY;
    hr = persist->Load(stream.Get());
    if (FAILED(hr)) return hr;
    hr = document_->get_root(root_.Put());
    if (FAILED(hr)) return hr;
    if (!root_) return E_FAIL;
    hr = root_->get_tagName(rootTag_.Put());
    if (FAILED(hr)) return hr;
    return S_OK;
}

HRESULT XmlDoc::FindChild(IXMLElement* parent, const char* name, XmlElement* child) {
    ComPtr<IXMLElementCollection> children;
    LONG length = 0;
    HRESULT hr = GetChildren(parent, &children, &length);
    if (FAILED(hr)) return hr;
    Bstr wanted = ToWide(name);
    bool found = false;
    WalkElements(children.Get(), length, [&](XmlElement element, BSTR tag) {
        if (!SameName(tag, wanted.Get())) return true;
        *child = std::move(element);
        found = true;
        return false;
    });
    return found ? S_OK : E_FAIL;
}

HRESULT XmlDoc::FindChildren(IXMLElement* parent, const char* name, std::vector<XmlElement>* found) {
    ComPtr<IXMLElementCollection> children;
    LONG length = 0;
    HRESULT hr = GetChildren(parent, &children, &length);
    if (FAILED(hr)) return hr;
    Bstr wanted = ToWide(name);
    WalkElements(children.Get(), length, [&](XmlElement element, BSTR tag) {
        if (SameName(tag, wanted.Get())) found->push_back(std::move(element));
        return true;
    });
    return S_OK;
}

void XmlDoc::ChildTexts(IXMLElement* parent, const TagNames& names, std::vector<std::string>* texts) {
    texts->assign(names.size(), std::string());
    ComPtr<IXMLElementCollection> children;
    LONG length = 0;
    if (FAILED(GetChildren(parent, &children, &length))) return;
    std::vector<bool> found(names.size(), false);
    size_t missing = names.size();
    WalkElements(children.Get(), length, [&](XmlElement element, BSTR tag) {
        for (size_t i = 0; i < names.size(); ++i) {
            if (found[i] || !SameName(tag, names[i])) continue;
            found[i] = true;
            --missing;
            Bstr text;
            if (SUCCEEDED(element->get_text(text.Put()))) (*texts)[i] = ToMultibyte(text.Get());
        }
        return missing > 0;
    });
}

std::string XmlDoc::ChildText(IXMLElement* parent, const char* name) {
    XmlElement child;
    if (FAILED(FindChild(parent, name, &child))) return std::string();
    Bstr text;
    if (FAILED(child->get_text(text.Put()))) return std::string();
    return ToMultibyte(text.Get());
}

int XmlDoc::ChildInt(IXMLElement* parent, const char* name) { return ReadDecimal(ChildText(parent, name).c_str()); }
