#pragma once
// Reading an Intel HEX firmware file into the FirmwareImage.
//
// Strict about structure, lenient about content: an unexpected record kind or address stops
// the load with a message quoting the line, but record lengths are trusted and short lines are
// read as far as they go. A line with a wrong checksum, a length that does not match its
// RECLEN or characters that are no hex digits is read all the same (the image is what it would
// be with the line intact), but it is noted, and the load ends with one warning that names
// those lines: a save writes fresh checksums, so the damage would otherwise reach the
// programmer unseen.

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "core/firmware/FirmwareImage.h"
#include "core/firmware/TextFile.h"

namespace hz {

enum class LoadOutcome {
    NoFile,     // empty file name: nothing happened
    Unreadable, // the file could not be opened; image and status untouched
    Stopped,    // a line failed; the image keeps what was read before it
    Done,
};

class HexReader {
public:
    explicit HexReader(FirmwareImage& image);

    // Called when a read begins, once the file is open and before anything else of the image
    // changes, with the name the file goes by (the status bar names it from then on).
    std::function<void(const std::string&)> onReadStart;

    // Called after the image has been reset and before the first line is parsed (the main
    // window hides its editor pages there).
    std::function<void()> onImageReset;

    LoadOutcome ReadHexFile(const std::string& fileName);
    // The same sequence on a stream already open; `name` stands for the file in messages and
    // in the status bar.
    LoadOutcome ReadHexStream(std::istream& in, const std::string& name);
    // The same sequence on lines already in memory (`fileName` goes to the status bar).
    LoadOutcome ReadHexLines(const std::vector<std::string>& lines, const std::string& fileName);

    // Interprets one line; `lineNumber` (from 1, 0 when not known) goes into its messages.
    bool ParseHexLine(const std::string& line, int lineNumber = 0);

    // The lines (numbered from 1) of the last file read that are not well-formed records
    // (CheckRecord) and were read into the image. A line that stopped the load has a message
    // of its own and is not among them. Emptied at the start of every read.
    const std::vector<int>& DamagedLines() const { return m_damaged; }

    // After identification: asks about a missing PIC assignment, ID or configuration word.
    // Returns false when the user chose Cancel.
    bool CheckRequiredRecords();

private:
    // Collects the lines `read` hands over (at most one more than the image holds) and reads them.
    LoadOutcome readLines(const std::string& fileName,
                          const std::function<TextFileRead(const std::function<bool(std::string&)>&)>& read);
    // ReadHexLines with lines the reader owns: each is moved into the image's line of the same
    // number instead of copied, since nothing reads them afterwards.
    LoadOutcome readOwnLines(std::vector<std::string>& lines, const std::string& fileName);
    // The read of ReadHexLines once the lines stand in the image: `count` lines, of which those
    // beyond the image's capacity were refused already.
    LoadOutcome readStoredLines(int count);
    void startRead(const std::string& fileName);
    bool parseData(const std::string& line, int reclen, int byteAddress);
    // A well-formed data record of program memory or EEPROM, read in one pass; false (and
    // nothing done) for every other line, which ParseHexLine reads.
    bool readPlainData(const std::string& line);
    bool fail(const char* code, const std::string& line, int wordAddress = -1);
    bool failVersion(std::string_view text);
    void warnDamaged();

    FirmwareImage& m_image;
    int m_lineNumber = 0; // the line being parsed, from 1; 0 when not known
    std::vector<int> m_damaged;
};

} // namespace hz
