#pragma once
// The fields of one Intel HEX line, read by character position (counting from 1) the way our
// firmware files have always been read:
//
//   1       start code (ignored)
//   2..3    RECLEN, the record length in bytes
//   4..7    LOAD OFFSET, high byte then low byte
//   8..9    RECTYP, compared as text ("00" data, "01" end, "04" extended linear address, ...)
//   10..    data, two characters a byte, then the checksum (never verified)
//
// Numbers are read with the lenient HexByteValue; a field that runs past the end of the line
// is shortened or empty, so a short line never makes a read fail. Both the loader and the
// comparison with a second file read their lines through these helpers; what they accept and
// what they say about a line is each one's own business.

#include <cstddef>
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

} // namespace hz
