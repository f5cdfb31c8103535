#include "config/settings_io.h"

#include "feed/xml_doc.h"

#include <algorithm>
#include <cwchar>

namespace {

SiteEntry ReadSite(IXMLElement* site) {
    SiteEntry entry;
    entry.title = XmlDoc::ChildText(site, "title");
    entry.link = XmlDoc::ChildText(site, "link");
    entry.description = XmlDoc::ChildText(site, "description");
    entry.check = XmlDoc::ChildInt(site, "check") != 0;
    return entry;
}

}  // namespace

std::int32_t LoadSettings(const char* path, bool onlyChecked) {
    XmlDoc doc;
    HRESULT hr = doc.Load(path);
    if (FAILED(hr)) return hr;
    // Another kind of document leaves the settings as they are.
    if (!doc.RootTag() || _wcsicmp(doc.RootTag(), L"kvtini") != 0) return S_OK;

    IXMLElement* root = doc.Root();
    SaverSettings& settings = saverSettings;
    // A missing option reads as 0 or empty, not as its default.
    settings.disp_header_title = XmlDoc::ChildInt(root, "disp_header_title") != 0;
    settings.disp_header_date = XmlDoc::ChildInt(root, "disp_header_date") != 0;
    settings.disp_interval = std::clamp(XmlDoc::ChildInt(root, "disp_interval"), 1, 99);
    settings.load_interval = std::clamp(XmlDoc::ChildInt(root, "load_interval"), 1, 999);
    settings.font_face = XmlDoc::ChildText(root, "font_face");

    std::vector<XmlElement> sites;
    XmlDoc::FindChildren(root, "site", &sites);
    for (XmlElement& site : sites) {
        SiteEntry entry = ReadSite(site.Get());
        site.Reset();
        if (onlyChecked && !entry.check) continue;
        settings.sites.push_back(std::move(entry));
    }
    return S_OK;
}
