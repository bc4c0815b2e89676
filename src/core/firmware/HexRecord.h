#pragma once
// The fields of one Intel HEX line, read by character position (counting from 1) the way our
// firmware files have always been read:
//
//   1       start code (ignored)
//   2..3    RECLEN, the record length in bytes
//   4..7    LOAD OFFSET, high byte then low byte
//   8..9    RECTYP, compared as text ("00" data, "01" end, "04" extended linear address, ...)
//   10..    data, two characters a byte, then the checksum (not needed for reading: the
//           reader reads a damaged line all the same and only notes it, see CheckRecord)
//
// Numbers are read with the lenient HexByteValue; a field that runs past the end of the line
// is shortened or empty, so a short line never makes a read fail. Both the loader and the
// comparison with a second file read their lines through these helpers; what they accept and
// what they say about a line is each one's own business.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/firmware/HexText.h"

namespace hz {

struct HexRecordFields {
    std::string_view reclenText;
    std::string_view offsetHighText;
    std::string_view offsetLowText;
    std::string_view type;
    int reclen = 0; // HexByteValue of reclenText
    int offset = 0; // LOAD OFFSET: high * 256 + low
};

inline HexRecordFields RecordFields(std::string_view line)
{
    HexRecordFields f;
    f.reclenText = at(line, 2, 2);
    f.offsetHighText = at(line, 4, 2);
    f.offsetLowText = at(line, 6, 2);
    f.type = at(line, 8, 2);
    f.reclen = HexByteValue(f.reclenText);
    f.offset = HexByteValue(f.offsetHighText) * 256 + HexByteValue(f.offsetLowText);
    return f;
}

// Character position of data byte k (0-based).
constexpr std::size_t DataBytePos(int k) { return static_cast<std::size_t>(10 + 2 * k); }

// Data byte k as its two characters.
inline std::string_view RecordByte(std::string_view line, int k) { return at(line, DataBytePos(k), 2); }

// The data of a record of `reclen` bytes as one text (2 x reclen characters).
inline std::string_view RecordData(std::string_view line, int reclen)
{
    return at(line, 10, static_cast<std::size_t>(2 * reclen));
}

// Data word k (0-based) as its four characters, low byte first.
inline std::string_view RecordWord(std::string_view line, int k)
{
    return at(line, static_cast<std::size_t>(10 + 4 * k), 4);
}

// The low byte of data word k: where an EEPROM word keeps its byte.
inline std::string_view RecordWordLow(std::string_view line, int k)
{
    return at(line, static_cast<std::size_t>(10 + 4 * k), 2);
}

// The low digit of data word k: a classic PIC keeps one ID digit per ID word there.
inline std::string_view RecordWordDigit(std::string_view line, int k)
{
    return at(line, static_cast<std::size_t>(11 + 4 * k), 1);
}

// How a line differs from a well-formed Intel HEX record. The reader reads such lines all the
// same; this only tells whether the file arrived as it was made. A line is well-formed when it
// is ':' followed by hexadecimal digits only, is exactly 11 + 2 x RECLEN characters long, and
// its bytes from RECLEN to the checksum sum to 0 modulo 256. The first rule a line breaks is
// named.
enum class RecordDamage {
    None,
    Characters, // no ':' at the start, or a character after it that is no hex digit
    Length,     // not 11 + 2 x RECLEN characters
    Checksum,   // the bytes do not sum to 0 modulo 256
};
RecordDamage CheckRecord(std::string_view line);

// A message about one line of a HEX file, laid out as E201..E206 and E201a..E206a always are:
//
//   <head>:\n<line>\n\nRECLEN (Identifier 1): <..>\nLOAD OFFSET (Identifier 2): <..> <..>\n
//   <typeLabel>: <..><tail>
//
// and then "\nZeile N der Datei" when the line number N (from 1) is known, so that a user
// finds the line. The line and its fields are quoted with QuotedText.
std::string RecordMessage(std::string_view head, std::string_view line, int lineNumber,
                          std::string_view typeLabel = "RECTYP (Identifier 3)", std::string_view tail = {});

} // namespace hz
