// The XML access layer against Wine's real XML object, and the text conversions.
#include "feed/text_convert.h"
#include "feed/xml_doc.h"
#include "feed_server.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

class TextConvert : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitFeedEnvironment(); }
};

TEST_F(TextConvert, ToMultibyte) {
    // One space per UTF-16 unit without a code page 932 form (Hangul and non-BMP
    // characters are read through the XML object below).
    const wchar_t loneHalf[] = {0xD800, 0};
    EXPECT_EQ(ToMultibyte(loneHalf), " ");
    EXPECT_EQ(ToMultibyte(L"\uFF71"), Bytes({0xB1}));  // half-width katakana is one byte
    EXPECT_EQ(ToMultibyte(nullptr), "");
    // A leading byte order mark of either order is dropped; a later one has no form.
    EXPECT_EQ(ToMultibyte(L"\uFFFEabc"), "abc");
    EXPECT_EQ(ToMultibyte(L"\uFEFF"), "");
    EXPECT_EQ(ToMultibyte(L"a\uFEFFb"), "a b");
    Bstr wide = ToWide("ＭＳ Ｐゴシック");
    ASSERT_NE(wide.Get(), nullptr);
    EXPECT_EQ(std::wstring(wide.Get(), SysStringLen(wide.Get())), L"ＭＳ Ｐゴシック");
    EXPECT_EQ(ToMultibyte(wide.Get()), "ＭＳ Ｐゴシック");
    EXPECT_EQ(SysStringLen(ToWide(nullptr).Get()), 0u);
}

TEST_F(TextConvert, ToUtf8) {
    EXPECT_EQ(ToUtf8("abc"), "abc");
    EXPECT_EQ(ToUtf8(Bytes({0x82, 0x6C, 0x82, 0x72})), Bytes({0xEF, 0xBC, 0xAD, 0xEF, 0xBC, 0xB3}));  // ＭＳ
    EXPECT_EQ(ToUtf8(Bytes({0xB1})), Bytes({0xEF, 0xBD, 0xB1}));  // ｱ, three bytes
    EXPECT_EQ(ToUtf8(Bytes({0x81, 0x8B})), Bytes({0xC2, 0xB0}));  // °, two bytes
    EXPECT_EQ(ToUtf8(std::string("ab\0cd", 5)), "ab");            // a C string ends at zero
    // A lead byte with nothing after it is not code page 932: one
    // replacement character at most, nothing read past the end.
    std::string cut = ToUtf8(Bytes({'a', 0x82}));
    EXPECT_EQ(cut.substr(0, 1), "a");
    EXPECT_LE(cut.size(), 4u);
}

#define KVT_NO_DISPATCH                                                                                               \
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }                                  \
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }                     \
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }    \
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { \
        return E_NOTIMPL;                                                                                             \
    }

// IUnknown for an object that lives on the test's stack and counts its references
// in `refs`, answering for IUnknown and one further interface.
#define KVT_COUNTED_ON_STACK(otherIid)                                          \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { \
        *out = iid == IID_IUnknown || iid == otherIid ? this : nullptr;         \
        if (!*out) return E_NOINTERFACE;                                        \
        AddRef();                                                               \
        return S_OK;                                                            \
    }                                                                           \
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }                \
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }

// Hands out a real collection's children one per call, answering S_OK as if the
// whole batch asked for had come, or fails on the first call.
class StingyEnum : public IEnumVARIANT {
public:
    IXMLElementCollection* real = nullptr;
    bool fail = false;
    LONG next = 0, refs = 1;

    KVT_COUNTED_ON_STACK(IID_IEnumVARIANT)
    HRESULT STDMETHODCALLTYPE Next(ULONG, VARIANT* items, ULONG* fetched) override {
        *fetched = 0;
        if (fail) return E_FAIL;
        LONG length = 0;
        real->get_length(&length);
        if (next >= length) return S_FALSE;
        VARIANT position, omitted;
        VariantInit(&position);
        position.vt = VT_I4;
        position.lVal = next++;
        VariantInit(&omitted);
        omitted.vt = VT_ERROR;
        omitted.scode = DISP_E_PARAMNOTFOUND;
        items[0].vt = VT_DISPATCH;
        if (FAILED(real->item(position, omitted, &items[0].pdispVal))) return E_FAIL;
        *fetched = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reset() override { return next = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }
};

// Wraps a real collection and refuses enumeration, so children are fetched by index,
// or enumerates through `enumerator` when given; counts its references.
class IndexOnlyCollection : public IXMLElementCollection {
public:
    IXMLElementCollection* real = nullptr;
    StingyEnum* enumerator = nullptr;
    LONG refs = 1;
    int itemCalls = 0;

    KVT_COUNTED_ON_STACK(IID_IDispatch)
    KVT_NO_DISPATCH
    HRESULT STDMETHODCALLTYPE put_length(LONG) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE get_length(LONG* length) override { return real->get_length(length); }
    HRESULT STDMETHODCALLTYPE get__newEnum(IUnknown** out) override {
        *out = enumerator;
        if (!enumerator) return E_NOTIMPL;
        enumerator->AddRef();
        return S_OK;
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

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return real_->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    KVT_NO_DISPATCH
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

class XmlDocTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitFeedEnvironment(); }
    void SetUp() override {
        ASSERT_EQ(doc_.Load(FixturePath("text_edges.xml").c_str()), S_OK);
        ASSERT_NE(doc_.Root(), nullptr);
    }

    // The lookups on the root of text_edges.xml, however its children are walked.
    static void ExpectLookups(IXMLElement* root) {
        // Text, comment and processing-instruction nodes carry names too ("text",
        // "comment", the PI's target); only the elements may be found.
        EXPECT_EQ(XmlDoc::ChildText(root, "text"), "element named text");
        EXPECT_EQ(XmlDoc::ChildText(root, "comment"), "element named comment");
        // Names match without regard to case, the first wins, only direct children count.
        EXPECT_EQ(XmlDoc::ChildText(root, "DUP"), "first");
        EXPECT_EQ(XmlDoc::ChildText(root, "inner"), "");
        std::vector<XmlElement> found;
        EXPECT_EQ(XmlDoc::FindChildren(root, "dUp", &found), S_OK);
        ASSERT_EQ(found.size(), 2u);
        Bstr second;
        ASSERT_EQ(found[1]->get_text(second.Put()), S_OK);
        EXPECT_EQ(ToMultibyte(second.Get()), "second");
        // No match among existing children is a complete walk for FindChildren.
        found.clear();
        EXPECT_EQ(XmlDoc::FindChildren(root, "absent", &found), S_OK);
        EXPECT_TRUE(found.empty());
        XmlElement child;
        EXPECT_EQ(XmlDoc::FindChild(root, "absent", &child), E_FAIL);
        // Text in code page 932: Hangul is one space, a non-BMP character two, a leading mark goes.
        std::vector<std::string> texts;
        XmlDoc::ChildTexts(root, {"hangul", "absent", "kana", "dup", "astral", "bom"}, &texts);
        EXPECT_EQ(texts, (std::vector<std::string>{"A B", "", "ｱｲｳ ＭＳ", "first", "x  y", "after mark"}));
    }

    XmlDoc doc_;
};

TEST_F(XmlDocTest, LookupsWithTheCollectionsEnumerator) {
    ExpectLookups(doc_.Root());
    XmlElement nested, leaf, child;
    ASSERT_EQ(XmlDoc::FindChild(doc_.Root(), "nested", &nested), S_OK);
    EXPECT_EQ(XmlDoc::ChildText(nested.Get(), "inner"), "in");
    // An element without children.
    ASSERT_EQ(XmlDoc::FindChild(doc_.Root(), "leaf", &leaf), S_OK);
    EXPECT_EQ(XmlDoc::FindChild(leaf.Get(), "x", &child), E_FAIL);
    EXPECT_FALSE(child);
    std::vector<XmlElement> found;
    EXPECT_EQ(XmlDoc::FindChildren(leaf.Get(), "x", &found), E_FAIL);
    EXPECT_TRUE(found.empty());
    EXPECT_EQ(XmlDoc::ChildText(leaf.Get(), "x"), "");
    EXPECT_EQ(XmlDoc::ChildInt(leaf.Get(), "x"), 0);
}

TEST_F(XmlDocTest, LookupsByIndexGiveTheSameAndReleaseEveryCollection) {
    ComPtr<IXMLElementCollection> real;
    ASSERT_EQ(doc_.Root()->get_children(real.Put()), S_OK);
    IndexOnlyCollection children;
    children.real = real.Get();
    WrappedParent parent(doc_.Root(), &children);
    ExpectLookups(&parent);
    EXPECT_GT(children.itemCalls, 0);
    EXPECT_EQ(children.refs, 1) << "a collection reference was kept or released twice";
}

TEST_F(XmlDocTest, AnEnumeratorThatHandsOutShortBatchesOrFailsAtOnceStillShowsEveryChild) {
    ComPtr<IXMLElementCollection> real;
    ASSERT_EQ(doc_.Root()->get_children(real.Put()), S_OK);
    for (bool fail : {false, true}) {
        SCOPED_TRACE(fail ? "fails at once" : "one child per call");
        StingyEnum enumerator;
        enumerator.real = real.Get();
        enumerator.fail = fail;
        IndexOnlyCollection children;
        children.real = real.Get();
        children.enumerator = &enumerator;
        WrappedParent parent(doc_.Root(), &children);
        ExpectLookups(&parent);
        EXPECT_EQ(children.itemCalls > 0, fail) << "the index walk is the fallback only";
        EXPECT_EQ(enumerator.refs, 1);
    }
}

TEST(XmlDocLoad, FailuresLeaveNoRoot) {
    InitFeedEnvironment();
    const std::string missing = FixturePath("no-such-file.xml");
    const std::string notXml = FixturePath("../server/feed_server.py");
    const std::string overlong = FeedServerUrl("/feeds/") + std::string(100000, 'a') + ".xml";
    for (const char* url : {missing.c_str(), notXml.c_str(), overlong.c_str(), "", static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(url ? std::string(url).substr(0, 80) : "(null)");
        XmlDoc doc;
        EXPECT_TRUE(FAILED(doc.Load(url)));
        EXPECT_EQ(doc.Root(), nullptr);
        EXPECT_EQ(doc.RootTag(), nullptr);
    }
}

}  // namespace
