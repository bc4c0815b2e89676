#pragma once
// Byte texts: the image keeps every byte as two upper-case hexadecimal digits, exactly as the
// byte stands in the HEX file. These helpers convert between such texts and numbers, and quote
// file content and show file names in messages.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace hz {

// Value of one character as HexByteValue reads it: "A".."F" and "a".."f" give 10..15, every
// other character the low four bits of its code.
constexpr int LenientNibble(unsigned char c)
{
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c & 0x0F;
}

// Value of the first two characters of `text`, high digit first. Deliberately lenient, as the
// firmware files have always been read: "A".."F" and "a".."f" give 10..15, every other
// character gives the low four bits of its code ("0".."9" give 0..9, "G" gives 7). A text
// shorter than two characters reads as if padded with NUL characters ("7" gives 0x70).
// Inline: identification and the pages read thousands of bytes per load through it.
inline int HexByteValue(std::string_view text)
{
    const unsigned char hi = text.size() > 0 ? static_cast<unsigned char>(text[0]) : 0;
    const unsigned char lo = text.size() > 1 ? static_cast<unsigned char>(text[1]) : 0;
    return LenientNibble(hi) * 16 + LenientNibble(lo);
}

// Value of an upper-case hexadecimal digit ("0".."9", "A".."F"); -1 for every other character.
// A byte text of two such digits is one of the 256 texts HexByteTexts() holds.
constexpr int UpperHexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// UpperHexDigit for every character, as a table: the readers of whole files look up each
// character once.
struct UpperHexDigitTable {
    signed char value[256];
    constexpr UpperHexDigitTable() : value{}
    {
        for (int c = 0; c < 256; ++c)
            value[c] = static_cast<signed char>(UpperHexDigit(static_cast<char>(c)));
    }
    int operator()(char c) const { return value[static_cast<unsigned char>(c)]; }
};
inline constexpr UpperHexDigitTable kUpperHexDigit{};

// The upper-case hexadecimal digit of a value 0..15.
constexpr char HexDigitChar(int v) { return "0123456789ABCDEF"[v & 15]; }

// The two digits of every byte value, as HexByteTexts() has them, without a std::string in
// between: the writer puts them straight into its lines.
struct HexPairTable {
    char pair[256][2];
    constexpr HexPairTable() : pair{}
    {
        for (int v = 0; v < 256; ++v) {
            pair[v][0] = HexDigitChar(v >> 4);
            pair[v][1] = HexDigitChar(v);
        }
    }
};
inline constexpr HexPairTable kHexPairs{};

// The 256 texts "00".."FF"; entry v is v as two upper-case hexadecimal digits.
const std::array<std::string, 256>& HexByteTexts();

// True when `text` is exactly two hexadecimal digits.
bool isHexByteText(std::string_view text);

// True when every character of `text` is a hexadecimal digit.
bool isHexDigits(std::string_view text);

// Upper-cases ASCII letters only; other bytes stay as they are.
std::string upperAscii(std::string_view text);
// The same on a text of one's own, without a copy.
void upperAsciiInPlace(std::string& text);
// `out` becomes upperAscii(text), in the storage `out` already has.
void assignUpperAscii(std::string& out, std::string_view text);

// A whole decimal number as the user types it into a field: an optional sign and digits,
// nothing else (no blanks, no hexadecimal). False for anything else and for numbers beyond the
// range of int.
bool parseWholeNumber(std::string_view text, int& value);

// File content as it may stand inside a message. Control characters (0x00..0x1F, 0x7F) and
// bytes above 0x7F become "\xNN" (two upper-case digits) and a backslash becomes "\\", so that
// nothing a file holds can steer the terminal a message is printed to (ESC [2J clears it) or
// garble the window's UTF-8 text, and every byte stays visible and unambiguous. A text longer
// than `limit` characters (after escaping; an escape is never split) is shortened to its start
// followed by "…".
inline constexpr std::size_t kQuoteLimit = 80;
std::string QuotedText(std::string_view text, std::size_t limit = kQuoteLimit);

// A file name as it may stand inside a text for people: a message, a report, a cell of a
// table, a web page (still to be escaped for HTML there). Control characters (0x00..0x1F,
// 0x7F and U+0080..U+009F) become "\xNN" for each of their bytes, so that a name cannot steer
// the terminal (ESC) or fake a line of its own (LF); a byte that is not part of valid UTF-8
// becomes U+FFFD, as in JSON. Everything else stays as it is - a name of plain UTF-8 without
// control characters is shown exactly as it is, a backslash too - and nothing is shortened.
// Every text that names a file names it through here; JSON keeps its own escaping and the
// bytes of the name.
std::string DisplayName(std::string_view name);

// printf-style formatting into a std::string, always with a point as the decimal separator:
// the process locale (which Qt sets from the environment) is not consulted, so a message's
// "%1.2f" reads the same on every machine. A text that wants the decimal comma says so
// (pages::CommaNumber).
std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Characters `count` from 1-based position `pos` of `line`; shortened or empty when the line
// ends earlier. The reader works by character position and never fails on a short line.
inline std::string_view at(std::string_view line, std::size_t pos, std::size_t count)
{
    if (pos == 0 || pos > line.size())
        return {};
    return line.substr(pos - 1, count);
}

} // namespace hz
