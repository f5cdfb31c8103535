#pragma once
// One XML document read through the platform's COM XML object ("msxml"),
// with lookups of child elements by tag name. The object never fetches anything
// itself: the bytes come from ReadDocument and pass the feed intake first. Tag names are compared without
// regard to case and only element nodes count, so a document is read alike
// whether the object reports "rdf:RDF", "RDF" or "rdf".
#include "common/com_ptr.h"

#include <windows.h>
#include <msxml.h>

#include <initializer_list>
#include <string>
#include <vector>

using XmlElement = ComPtr<IXMLElement>;

// What Load and LoadDocument report for a document the intake refuses; a document
// over the size limit gives kDocumentTooLarge (document_source.h).
constexpr HRESULT kEmptyDocument = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0A01);
constexpr HRESULT kUnreadableEncoding = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0A02);

// Tag names converted once to UTF-16, for lookups repeated on many elements.
class TagNames {
public:
    TagNames(std::initializer_list<const char*> names);
    size_t size() const { return names_.size(); }
    BSTR operator[](size_t i) const { return names_[i].Get(); }

private:
    std::vector<Bstr> names_;
};

class XmlDoc {
public:
    XmlDoc() = default;
    XmlDoc(const XmlDoc&) = delete;
    XmlDoc& operator=(const XmlDoc&) = delete;

    // Reads a URL or file path (ReadDocument) and parses it as LoadDocument does.
    // 0 on success, else the failing call's status or E_FAIL. What was obtained
    // before a failure is released with the XmlDoc.
    HRESULT Load(const char* url);
    // Parses a document's bytes: through the feed intake (PrepareDocument), then
    // handed to the XML object as a stream.
    HRESULT LoadDocument(const std::string& bytes);

    // Not add-referenced; valid while the XmlDoc lives.
    IXMLElement* Root() const { return root_.Get(); }
    // The root's tag name as the object reports it; null before a load.
    BSTR RootTag() const { return rootTag_.Get(); }

    // The first child element of `parent` named `name`. 0 on a match;
    // E_FAIL when there is none or the parent has no children.
    static HRESULT FindChild(IXMLElement* parent, const char* name, XmlElement* child);
    // Appends every child element named `name`, in document order. 0 after a
    // complete walk, matches or not; E_FAIL when the parent has no children.
    static HRESULT FindChildren(IXMLElement* parent, const char* name, std::vector<XmlElement>* found);
    // The text of the first child element named `name`, entities decoded, in
    // code page 932; empty when there is none.
    static std::string ChildText(IXMLElement* parent, const char* name);
    // ChildText for each of `names`, in one walk of the children: texts[i]
    // is the text of the first child element named names[i], or empty.
    static void ChildTexts(IXMLElement* parent, const TagNames& names, std::vector<std::string>* texts);
    // ChildText read as a decimal integer (see ReadDecimal); 0 when there is none.
    static int ChildInt(IXMLElement* parent, const char* name);

private:
    // Destroyed in reverse order: the tag name, the root, then the document.
    ComPtr<IXMLDocument> document_;
    XmlElement root_;
    Bstr rootTag_;
};
