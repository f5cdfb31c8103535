#include "feed/feed_parser.h"

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
    if (_wcsicmp(tag, L"kvtini") == 0) return RootKind::kSiteList;
    return RootKind::kNone;
}

void ReadSiteList(IXMLElement* root, ChannelContent* content) {
    std::vector<XmlElement> sites;
    XmlDoc::FindChildren(root, "site", &sites);
    content->items.reserve(sites.size());
    for (XmlElement& site : sites) {
        FeedItem item;
        item.title = XmlDoc::ChildText(site.Get(), "title");
        item.link = XmlDoc::ChildText(site.Get(), "link");
        content->items.push_back(std::move(item));
        site.Reset();
    }
    content->valid = true;
    content->is_site_list = true;
}

void ReadFeed(IXMLElement* root, RootKind kind, ChannelContent* content) {
    XmlElement channel;
    if (FAILED(XmlDoc::FindChild(root, "channel", &channel))) return;
    content->link = XmlDoc::ChildText(channel.Get(), "link");
    content->title = XmlDoc::ChildText(channel.Get(), "title");
    content->description = XmlDoc::ChildText(channel.Get(), "description");

    // RSS keeps its items inside the channel, RDF beside it.
    std::vector<XmlElement> items;
    XmlDoc::FindChildren(kind == RootKind::kRss ? channel.Get() : root, "item", &items);
    channel.Reset();
    content->items.reserve(items.size());
    for (XmlElement& element : items) {
        FeedItem item;
        item.title = XmlDoc::ChildText(element.Get(), "title");
        item.link = XmlDoc::ChildText(element.Get(), "link");
        content->items.push_back(std::move(item));
        element.Reset();
    }
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
