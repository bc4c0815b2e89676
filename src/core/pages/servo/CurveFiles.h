#pragma once
// The servo curve files (".cur") and set-up files (".set"): plain text, one table byte per
// line in decimal (0..255: position plus 128 for the relay flag), each line ended by CR LF.
//
// - A curve file holds the points of one curve, one line per point (1..100 lines), nothing
//   else: no count line, no stretch, no header.
// - A set file holds the whole table of 512 entries in exactly 512 lines, the two halves
//   interleaved: line 2i is entry i, line 2i+1 entry 256+i (records 1 and 2 beside records 3
//   and 4, the way the decoder's two table pages are laid out).
//
// Reading is checked as a whole before anything is applied: a refused file changes nothing.
// Lines are read as any text editor leaves them: CR LF, LF or CR line ends and a UTF-8 byte
// order mark are all accepted; blanks around a number are ignored. A line that is not a whole
// number from 0 up (empty, letters, a sign before a negative number) is refused; numbers above
// 255 are limited to 255. Every line is checked whole, however long it is.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/pages/servo/CurveTransforms.h"

namespace hz::pages::servo {

inline constexpr int kTableSize = 512;
using Table = std::array<std::int32_t, kTableSize>;

inline constexpr const char* kCurveFileFilter = "CUR|*.cur|TXT|*.txt|*.*|*.*";
inline constexpr const char* kSetFileFilter = "SET|*.set|TXT|*.txt|*.*|*.*";

inline constexpr const char* kCurveFileCut = "Nur die ersten 100 Zeilen dieses File werden verwendet";
inline constexpr const char* kSetFileTooLong = "Dieses File hat zu viele Zeilen (max. 512)";
// %d: the line, counted from 0.
inline constexpr const char* kFileBadLine = "Dieses File enthält ungültige Zeichen (kein Zahlenwert) in Zeile %d";

// The lines of a curve file: points 0..n-1 of the record, n its point count clamped to 1..100.
std::vector<std::string> CurveFileLines(ConstRecord record);
// The 512 lines of a set file.
std::vector<std::string> SetFileLines(const Table& table);

// One line as a table byte: a whole number from 0 up, limited to 255; -1 when the line is
// not such a number.
int TableByteOfLine(const std::string& line);

struct CurveFileContent {
    bool cut = false;        // the file had more than 100 lines; the first 100 are used
    int badLine = -1;        // the first line that is not a number (from 0), or -1
    std::vector<int> points; // the values, when badLine is -1
};
// Checks the lines of a curve file. `totalLines` is the number of lines in the file (the
// vector may hold only the first ones; a line among the first 100 that it lacks is refused as
// not a number). An empty file is refused at its line 0.
CurveFileContent ReadCurveFile(const std::vector<std::string>& lines, std::size_t totalLines);

struct SetFileContent {
    bool tooLong = false; // more than 512 lines: refused
    int badLine = -1;     // the first line of the first pair with a line that is not a number
    Table table{};        // the entries, when neither applies
};
// Checks the lines of a set file; a line missing at the end counts as not a number.
SetFileContent ReadSetFile(const std::vector<std::string>& lines, std::size_t totalLines);

// Reads a text file as lines (any line end, a byte order mark dropped); keeps at most `keep`
// lines, each whole, and counts them all. Only the first megabyte is read: a line that does not
// end within it is counted but not kept, and a line break at its end counts one line more.
// False with a German reason in `error` when the file cannot be read.
bool ReadTextLines(const std::string& path, std::size_t keep, std::vector<std::string>& lines, std::size_t& totalLines,
                   std::string& error);

} // namespace hz::pages::servo
