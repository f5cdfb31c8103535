#include "json_line.h"

#include <cstdio>

std::string JsonString(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size() + 2);
    out.push_back('"');
    for (char c : utf8) {
        unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (u < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
                out += escaped;
            } else {
                out.push_back(c);
            }
        }
    }
    out.push_back('"');
    return out;
}

std::string ChannelJsonLine(const ChannelContent& content, Utf8Converter toUtf8) {
    std::string line = "{\"valid\":";
    line += content.valid ? "true" : "false";
    line += ",\"is_site_list\":";
    line += content.is_site_list ? "true" : "false";
    line += ",\"fetched_at\":" + std::to_string(static_cast<long long>(content.fetched_at));
    line += ",\"title\":" + JsonString(toUtf8(content.title));
    line += ",\"link\":" + JsonString(toUtf8(content.link));
    line += ",\"description\":" + JsonString(toUtf8(content.description));
    line += ",\"items\":[";
    for (size_t i = 0; i < content.items.size(); ++i) {
        if (i) line.push_back(',');
        line += "{\"title\":" + JsonString(toUtf8(content.items[i].title));
        line += ",\"link\":" + JsonString(toUtf8(content.items[i].link)) + "}";
    }
    line += "]}";
    return line;
}
