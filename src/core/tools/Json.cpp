#include "core/tools/Json.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "core/Utf8Text.h"

namespace hz::tools {

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t n = Utf8SequenceLength(text, i);
            if (n) {
                out.append(text.substr(i, n));
                i += n;
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
                ++i;
            }
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
        ++i;
    }
    out += "\"";
    return out;
}

std::string jsonSchemaField() { return "\"schema\": " + std::to_string(kJsonSchema) + ", "; }

bool isUtf8(std::string_view text) { return IsUtf8(text); }

std::string jsonFileFields(const std::string& key, std::string_view name)
{
    if (isUtf8(name))
        return "\"" + key + "\": " + jsonString(name);
    const std::string shown = ValidUtf8(name);
    std::string bytes;
    static const char* const kHex = "0123456789abcdef";
    for (const char ch : name) {
        const unsigned char c = static_cast<unsigned char>(ch);
        bytes += kHex[c >> 4];
        bytes += kHex[c & 0xF];
    }
    return "\"" + key + "\": " + jsonString(shown) + ", \"" + key + "_bytes\": \"" + bytes + "\"";
}

void writeJsonStringList(std::ostream& out, const char* key, const std::vector<std::string>& texts, bool last)
{
    out << "  \"" << key << "\": [";
    for (std::size_t k = 0; k < texts.size(); ++k)
        out << (k ? "," : "") << "\n    " << jsonString(texts[k]);
    out << (texts.empty() ? "]" : "\n  ]") << (last ? "\n" : ",\n");
}

} // namespace hz::tools
