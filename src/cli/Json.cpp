#include "cli/Json.h"

#include <cstdio>
#include <ostream>
#include <string>

namespace hz::cli {

namespace {

// Length of the valid UTF-8 sequence starting at s[i], or 0.
std::size_t utf8Length(std::string_view s, std::size_t i)
{
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    std::size_t n = 0;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4;
    else
        return 0;
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((b(i + k) & 0xC0) != 0x80)
            return 0;
    if (n == 3 && ((c == 0xE0 && b(i + 1) < 0xA0) || (c == 0xED && b(i + 1) >= 0xA0)))
        return 0;
    if (n == 4 && ((c == 0xF0 && b(i + 1) < 0x90) || (c == 0xF4 && b(i + 1) >= 0x90)))
        return 0;
    return n;
}

} // namespace

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t n = utf8Length(text, i);
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

bool isUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = utf8Length(text, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string jsonFileFields(const std::string& key, std::string_view name)
{
    if (isUtf8(name))
        return "\"" + key + "\": " + jsonString(name);
    std::string shown, bytes;
    for (std::size_t i = 0; i < name.size();) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const std::size_t n = c < 0x80 ? 1 : utf8Length(name, i);
        if (n == 0) {
            shown += "\xEF\xBF\xBD"; // U+FFFD
            ++i;
        } else {
            shown.append(name.substr(i, n));
            i += n;
        }
    }
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

} // namespace hz::cli
