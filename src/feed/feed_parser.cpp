#include "feed/feed_parser.h"

#include "config/settings_io.h"
#include "feed/xml_doc.h"

#include <cwchar>

namespace {

enum class RootKind { kNone, kRss, kRdf, kSiteList };

// The object may report a qualified name ("rdf:RDF") or just the local one
// ("RDF"); both spellings are taken, any other prefix is not.
RootKind ClassifyRoot(BSTR tag) {
    if (!tag) return RootKind::kNone;
    if (_wcsicmp(tag, L"rss") == 0) return RootKind::kRss;
    if (_wcsicmp(tag, L"rdf") == 0) return RootKind::kRdf;
    if (_wcsicmp(tag, L"rdf:rdf") == 0) return RootKind::kRdf;
    if (IsSettingsRoot(tag)) return RootKind::kSiteList;
    return RootKind::kNone;
}

// Appends title and link of each element as an item, releasing the elements
// as it goes. Each element's children are walked once for both names.
void ReadItems(std::vector<XmlElement>* elements, ChannelContent* content) {
    const TagNames names = {"title", "link"};
    std::vector<std::string> texts;
    content->items.reserve(content->items.size() + elements->size());
    for (XmlElement& element : *elements) {
        XmlDoc::ChildTexts(element.Get(), names, &texts);
        element.Reset();
        content->items.push_back(FeedItem{std::move(texts[0]), std::move(texts[1])});
    }
}

void ReadSiteList(IXMLElement* root, ChannelContent* content) {
    std::vector<XmlElement> sites;
    XmlDoc::FindChildren(root, "site", &sites);
    ReadItems(&sites, content);
    content->valid = true;
    content->is_site_list = true;
}

void ReadFeed(IXMLElement* root, RootKind kind, ChannelContent* content) {
    XmlElement channel;
    if (FAILED(XmlDoc::FindChild(root, "channel", &channel))) return;
    std::vector<std::string> texts;
    XmlDoc::ChildTexts(channel.Get(), {"link", "title", "description"}, &texts);
    content->link = std::move(texts[0]);
    content->title = std::move(texts[1]);
    content->description = std::move(texts[2]);

    // RSS keeps its items inside the channel, RDF beside it.
    std::vector<XmlElement> items;
    XmlDoc::FindChildren(kind == RootKind::kRss ? channel.Get() : root, "item", &items);
    channel.Reset();
    ReadItems(&items, content);
    content->valid = true;
}

}  // namespace

void ReadChannelDocument(const XmlDoc& doc, ChannelContent* content) {
    RootKind kind = ClassifyRoot(doc.RootTag());
    if (kind == RootKind::kNone) return;
    if (kind == RootKind::kSiteList) {
        ReadSiteList(doc.Root(), content);
    } else {
        ReadFeed(doc.Root(), kind, content);
    }
}

ChannelContent FetchChannel(const char* url) {
    ChannelContent content;
    content.fetched_at = std::time(nullptr);
    XmlDoc doc;
    if (FAILED(doc.Load(url))) return content;
    ReadChannelDocument(doc, &content);
    return content;
}
