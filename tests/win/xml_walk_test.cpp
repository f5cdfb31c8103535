// The child walk against an object whose collections cannot be enumerated:
// lookups fall back to fetching children by index, with the same results,
// and release every collection they obtain.
#include "feed/text_convert.h"
#include "feed/xml_doc.h"
#include "feed_server.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Wraps a real collection but refuses enumeration; counts its references.
class IndexOnlyCollection : public IXMLElementCollection {
public:
    IXMLElementCollection* real = nullptr;
    LONG refs = 1;
    int itemCalls = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_length(LONG) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE get_length(LONG* length) override { return real->get_length(length); }
    HRESULT STDMETHODCALLTYPE get__newEnum(IUnknown** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE item(VARIANT index, VARIANT name, IDispatch** out) override {
        ++itemCalls;
        // The omitted second argument must be marked as such.
        if (index.vt != VT_I4 || name.vt != VT_ERROR || name.scode != DISP_E_PARAMNOTFOUND) return E_INVALIDARG;
        return real->item(index, name, out);
    }
};

// Wraps a real element and hands out an IndexOnlyCollection for its children.
class WrappedParent : public IXMLElement {
public:
    WrappedParent(IXMLElement* real, IndexOnlyCollection* children) : real_(real), children_(children) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { return real_->QueryInterface(iid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_tagName(BSTR* tag) override { return real_->get_tagName(tag); }
    HRESULT STDMETHODCALLTYPE put_tagName(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_parent(IXMLElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE setAttribute(BSTR, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE getAttribute(BSTR, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE removeAttribute(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_children(IXMLElementCollection** out) override {
        children_->AddRef();
        *out = children_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_type(LONG* type) override { return real_->get_type(type); }
    HRESULT STDMETHODCALLTYPE get_text(BSTR* text) override { return real_->get_text(text); }
    HRESULT STDMETHODCALLTYPE put_text(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE addChild(IXMLElement*, LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE removeChild(IXMLElement*) override { return E_NOTIMPL; }

private:
    IXMLElement* real_;
    IndexOnlyCollection* children_;
};

class IndexWalk : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitFeedEnvironment(); }
    void SetUp() override {
        ASSERT_EQ(doc_.Load(FixturePath("text_edges.xml").c_str()), S_OK);
        ASSERT_EQ(doc_.Root()->get_children(real_.Put()), S_OK);
        ASSERT_TRUE(real_);
        children_.real = real_.Get();
    }
    void TearDown() override {
        EXPECT_EQ(children_.refs, 1) << "a collection reference was kept or released twice";
    }

    XmlDoc doc_;
    ComPtr<IXMLElementCollection> real_;
    IndexOnlyCollection children_;
};

TEST_F(IndexWalk, LookupsGiveTheSameResults) {
    WrappedParent parent(doc_.Root(), &children_);
    EXPECT_EQ(XmlDoc::ChildText(&parent, "text"), "element named text");
    EXPECT_EQ(XmlDoc::ChildText(&parent, "comment"), "element named comment");
    EXPECT_EQ(XmlDoc::ChildText(&parent, "DUP"), "first");
    EXPECT_EQ(XmlDoc::ChildText(&parent, "absent"), "");

    std::vector<XmlElement> found;
    EXPECT_EQ(XmlDoc::FindChildren(&parent, "dup", &found), S_OK);
    EXPECT_EQ(found.size(), 2u);

    std::vector<std::string> texts;
    XmlDoc::ChildTexts(&parent, {"hangul", "absent", "kana", "dup"}, &texts);
    EXPECT_EQ(texts, (std::vector<std::string>{"A B", "", "ｱｲｳ ＭＳ", "first"}));
    EXPECT_GT(children_.itemCalls, 0);
}

}  // namespace
