#include "feed/xml_doc.h"

#include "feed/decimal_text.h"
#include "feed/text_convert.h"

#include <cwchar>

// MinGW's libuuid has neither of these.
extern "C" const IID IID_IXMLDocument = {0xF52E2B61, 0x18A1, 0x11D1, {0xB1, 0x05, 0x00, 0x80, 0x5F, 0x49, 0x91, 0x6B}};
extern "C" const IID IID_IXMLElement = {0x3F7F31AC, 0xE15F, 0x11D0, {0x9C, 0x25, 0x00, 0xC0, 0x4F, 0xC9, 0x9C, 0x8E}};

namespace {

constexpr LONG kElementNode = 0;  // XMLELEMTYPE_ELEMENT

bool SameName(BSTR a, BSTR b) {
    return _wcsicmp(a ? a : L"", b ? b : L"") == 0;
}

// The children of `parent`, or null when it has none: the object answers
// S_FALSE and no collection for an element without children.
HRESULT GetChildren(IXMLElement* parent, ComPtr<IXMLElementCollection>* children, LONG* length) {
    if (!parent) return E_FAIL;
    HRESULT hr = parent->get_children(children->Put());
    if (FAILED(hr)) return hr;
    if (!*children) return E_FAIL;
    *length = 0;
    if (FAILED((*children)->get_length(length)) || *length <= 0) return E_FAIL;
    return S_OK;
}

// The child at `index` if it is an element named `wanted`.
bool MatchAt(IXMLElementCollection* children, LONG index, BSTR wanted, XmlElement* element) {
    VARIANT position;
    VariantInit(&position);
    position.vt = VT_I4;
    position.lVal = index;
    VARIANT omitted;  // the standard encoding of an omitted optional argument
    VariantInit(&omitted);
    omitted.vt = VT_ERROR;
    omitted.scode = DISP_E_PARAMNOTFOUND;

    ComPtr<IDispatch> item;
    if (FAILED(children->item(position, omitted, item.Put())) || !item) return false;
    // Asked for rather than assumed: the collection hands out IDispatch.
    if (FAILED(item->QueryInterface(IID_IXMLElement, reinterpret_cast<void**>(element->Put()))) || !*element) {
        return false;
    }
    LONG type = -1;
    if (FAILED((*element)->get_type(&type)) || type != kElementNode) return false;
    Bstr tag;
    if (FAILED((*element)->get_tagName(tag.Put()))) return false;
    return SameName(tag.Get(), wanted);
}

}  // namespace

HRESULT XmlDoc::Load(const char* url) {
    HRESULT hr = CLSIDFromProgID(L"msxml", &clsid);
    if (FAILED(hr)) return hr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDocument,
                          reinterpret_cast<void**>(document.Put()));
    if (FAILED(hr)) return hr;
    if (!document) return E_FAIL;
    Bstr wide = ToWide(url);
    hr = document->put_URL(wide.Get());
    if (FAILED(hr)) return hr;
    hr = document->get_root(root.Put());
    if (FAILED(hr)) return hr;
    if (!root) return E_FAIL;
    hr = root->get_tagName(root_tag.Put());
    if (FAILED(hr)) return hr;
    return S_OK;
}

HRESULT XmlDoc::FindChild(IXMLElement* parent, const char* name, XmlElement* child) {
    ComPtr<IXMLElementCollection> children;
    LONG length = 0;
    HRESULT hr = GetChildren(parent, &children, &length);
    if (FAILED(hr)) return hr;
    Bstr wanted = ToWide(name);
    for (LONG i = 0; i < length; ++i) {
        XmlElement element;
        if (MatchAt(children.Get(), i, wanted.Get(), &element)) {
            *child = std::move(element);
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT XmlDoc::FindChildren(IXMLElement* parent, const char* name, std::vector<XmlElement>* found) {
    ComPtr<IXMLElementCollection> children;
    LONG length = 0;
    HRESULT hr = GetChildren(parent, &children, &length);
    if (FAILED(hr)) return hr;
    Bstr wanted = ToWide(name);
    for (LONG i = 0; i < length; ++i) {
        XmlElement element;
        if (MatchAt(children.Get(), i, wanted.Get(), &element)) found->push_back(std::move(element));
    }
    return S_OK;
}

std::string XmlDoc::ChildText(IXMLElement* parent, const char* name) {
    XmlElement child;
    if (FAILED(FindChild(parent, name, &child))) return std::string();
    Bstr text;
    if (FAILED(child->get_text(text.Put()))) return std::string();
    return ToMultibyte(text.Get());
}

int XmlDoc::ChildInt(IXMLElement* parent, const char* name) {
    return ReadDecimal(ChildText(parent, name).c_str());
}
