#include "config/settings_io.h"

#include "config/settings_rescue.h"
#include "feed/decimal_text.h"
#include "feed/document_source.h"
#include "feed/xml_doc.h"

#include <cwchar>

namespace {

// A site's four values in one walk of its children.
SiteEntry ReadSite(IXMLElement* site) {
    static const TagNames names{"title", "link", "description", "check"};
    std::vector<std::string> texts;
    XmlDoc::ChildTexts(site, names, &texts);
    SiteEntry entry;
    entry.title = texts[0];
    entry.link = texts[1];
    entry.description = texts[2];
    entry.check = ReadDecimal(texts[3].c_str()) != 0;
    return entry;
}

}  // namespace

std::int32_t LoadSettings(const char* path, bool onlyChecked) {
    std::string bytes;
    HRESULT hr = ReadDocument(path, &bytes);
    if (FAILED(hr)) return hr;
    XmlDoc doc;
    hr = doc.LoadDocument(bytes);
    if (FAILED(hr) && hr != kEmptyDocument) {
        const std::string repaired = RepairedSettingsText(bytes);
        if (repaired != bytes && SUCCEEDED(doc.LoadDocument(repaired))) hr = S_OK;
    }
    if (FAILED(hr)) return hr;
    // Another kind of document leaves the settings as they are.
    if (!IsSettingsRoot(doc.RootTag())) return S_OK;

    IXMLElement* root = doc.Root();
    SaverSettings& settings = saverSettings;
    // A missing option reads as 0 or empty, not as its default.
    settings.disp_header_title = XmlDoc::ChildInt(root, "disp_header_title") != 0;
    settings.disp_header_date = XmlDoc::ChildInt(root, "disp_header_date") != 0;
    settings.disp_interval = kDispIntervalRange.Clamp(XmlDoc::ChildInt(root, "disp_interval"));
    settings.load_interval = kLoadIntervalRange.Clamp(XmlDoc::ChildInt(root, "load_interval"));
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

bool SettingsFileUnreadable(const char* path, std::int32_t loadResult) {
    const DWORD attributes = GetFileAttributesA(path);
    return FAILED(loadResult) && loadResult != kEmptyDocument && attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
