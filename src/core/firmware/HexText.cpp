#include "core/firmware/HexText.h"

#include <cstdarg>
#include <cstdio>

#include "core/Utf8Text.h"
#include "core/platform/Platform.h"

namespace hz {

namespace {

std::array<std::string, 256> buildTexts()
{
    static const char digits[] = "0123456789ABCDEF";
    std::array<std::string, 256> t;
    for (int v = 0; v < 256; ++v)
        t[static_cast<std::size_t>(v)] = std::string{digits[v >> 4], digits[v & 15]};
    return t;
}

bool isHexChar(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

} // namespace

const std::array<std::string, 256>& HexByteTexts()
{
    static const std::array<std::string, 256> texts = buildTexts();
    return texts;
}

bool isHexByteText(std::string_view text) { return text.size() == 2 && isHexDigits(text); }

bool isHexDigits(std::string_view text)
{
    for (char c : text)
        if (!isHexChar(static_cast<unsigned char>(c)))
            return false;
    return true;
}

namespace {

// Every character is written, changed or not: a loop without a branch, which the compiler turns
// into whole vectors of characters at a time. `from` and `to` may be the same.
void upperAsciiCopy(const char* from, char* to, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(from[i]);
        to[i] = static_cast<char>(c - (static_cast<unsigned char>(c - 'a') < 26 ? 'a' - 'A' : 0));
    }
}

} // namespace

void upperAsciiInPlace(std::string& text) { upperAsciiCopy(text.data(), text.data(), text.size()); }

void assignUpperAscii(std::string& out, std::string_view text)
{
    out.resize(text.size());
    upperAsciiCopy(text.data(), out.data(), text.size());
}

std::string upperAscii(std::string_view text)
{
    std::string out(text);
    upperAsciiInPlace(out);
    return out;
}

bool parseWholeNumber(std::string_view text, int& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size())
        return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL)
        return false;
    value = static_cast<int>(v);
    return true;
}

std::string QuotedText(std::string_view text, std::size_t limit)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        char piece[4];
        std::size_t n = 0;
        if (c < 0x20 || c >= 0x7F) {
            piece[0] = '\\';
            piece[1] = 'x';
            piece[2] = digits[c >> 4];
            piece[3] = digits[c & 15];
            n = 4;
        } else if (c == '\\') {
            piece[0] = piece[1] = '\\';
            n = 2;
        } else {
            piece[0] = static_cast<char>(c);
            n = 1;
        }
        if (out.size() + n > limit) {
            out += "…";
            break;
        }
        out.append(piece, n);
    }
    return out;
}

std::string DisplayName(std::string_view name)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(name.size());
    const auto escape = [&](unsigned char c) {
        out += "\\x";
        out += digits[c >> 4];
        out += digits[c & 15];
    };
    for (std::size_t i = 0; i < name.size();) {
        const auto c = static_cast<unsigned char>(name[i]);
        const std::size_t n = Utf8SequenceLength(name, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD"; // U+FFFD
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            escape(c);
            ++i;
        } else if (n == 2 && c == 0xC2 && static_cast<unsigned char>(name[i + 1]) < 0xA0) {
            // U+0080..U+009F, the C1 controls: 0xC2 0x9B is a CSI to many terminals.
            escape(c);
            escape(static_cast<unsigned char>(name[i + 1]));
            i += 2;
        } else {
            out.append(name.substr(i, n));
            i += n;
        }
    }
    return out;
}

namespace {

std::string vstrprintf(const char* format, std::va_list args)
{
    const platform::CNumbers point;
    std::va_list copy;
    va_copy(copy, args);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<std::size_t>(n));
    }
#pragma GCC diagnostic pop
    return out;
}

} // namespace

std::string strprintf(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::string out = vstrprintf(format, args);
    va_end(args);
    return out;
}

} // namespace hz
