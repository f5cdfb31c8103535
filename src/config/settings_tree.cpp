#include "config/settings_tree.h"

XmlNode SettingsTree(const SaverSettings& s) {
    XmlNode root(kSettingsRootTag);
    root.AddChild("disp_header_title").SetInt(s.disp_header_title);
    root.AddChild("disp_header_date").SetInt(s.disp_header_date);
    root.AddChild("disp_interval").SetInt(s.disp_interval);
    root.AddChild("load_interval").SetInt(s.load_interval);
    root.AddChild("font_face").SetText(s.font_face);
    for (const SiteEntry& entry : s.sites) {
        XmlNode& site = root.AddChild("site");
        site.AddChild("title").SetText(entry.title);
        site.AddChild("link").SetText(entry.link);
        site.AddChild("description").SetText(entry.description);
        site.AddChild("check").SetInt(entry.check ? 1 : 0);
    }
    return root;
}
