#include "core/firmware/HexText.h"

#include <cstdarg>
#include <cstdio>

namespace hz {

namespace {

int nibble(unsigned char c)
{
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c & 0x0F;
}

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

int HexByteValue(std::string_view text)
{
    const unsigned char hi = text.size() > 0 ? static_cast<unsigned char>(text[0]) : 0;
    const unsigned char lo = text.size() > 1 ? static_cast<unsigned char>(text[1]) : 0;
    return nibble(hi) * 16 + nibble(lo);
}

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

void upperAsciiInPlace(std::string& text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
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

std::string strprintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<std::size_t>(n));
    }
    va_end(args);
    return out;
}

std::string_view at(std::string_view line, std::size_t pos, std::size_t count)
{
    if (pos == 0 || pos > line.size())
        return {};
    return line.substr(pos - 1, count);
}

} // namespace hz
