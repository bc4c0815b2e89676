#pragma once
// Comparing the loaded firmware (file 1) with a second HEX file (file 2) without loading it.
//
// File 2 is read line by line with rules of its own, stricter in places than the loader's and
// with messages of its own (E201a..E206a, E205, E200); every record is compared at once with
// the same place in file 1, and each difference becomes one report line: EEPROM bytes in the
// first list, program words (with their instruction names), ID and configuration in the
// second. Only places that file 2 contains are compared. File 1 is never changed.

#include <array>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/Prompter.h"
#include "core/firmware/FirmwareImage.h"
#include "core/firmware/TextFile.h"

namespace hz {

struct CompareReport {
    enum class Outcome {
        Done,       // every line compared, the summary written
        Stopped,    // a line failed; the report holds the differences found before it
        Unreadable, // file 2 could not be read; the report is empty
    };
    Outcome outcome = Outcome::Done;
    std::array<std::string, 2> status; // "File 1 = ...", "File 2 = ..."
    std::vector<std::string> eeprom;   // Memo1a
    std::vector<std::string> rom;      // Memo3a
    int EeDiffCount = 0;
    int RomDiffCount = 0;
    int IdDiffCount = 0;
    int ConfigDiffCount = 0;

    bool differs() const { return EeDiffCount + RomDiffCount + IdDiffCount + ConfigDiffCount > 0; }
};

class HexComparison {
public:
    // `prompter` shows the messages about file 2's lines.
    HexComparison(const FirmwareImage& file1, Prompter& prompter);

    // Reads `file2` and compares every line of it, however many there are. A file that
    // cannot be read is reported through the prompter.
    CompareReport CompareWithFile(const std::string& file2);
    // The same on a stream already open (the tool's standard input); `name` stands for file 2.
    CompareReport CompareWithStream(std::istream& in, const std::string& name);
    // The same on lines already in memory.
    CompareReport CompareWithLines(const std::vector<std::string>& lines, const std::string& file2);

    // Compares one line of file 2 (upper-cased) into the report; false when the line fails.
    // `lineNumber` (from 1, 0 when not known) goes into its messages.
    bool CompareHexLine(const std::string& line, int lineNumber = 0);
    const CompareReport& report() const { return m_report; }

private:
    CompareReport compareRead(const std::string& file2,
                              const std::function<TextFileRead(const std::function<bool(std::string&)>&)>& read);
    void begin(const std::string& file2);
    void finish();
    bool compareData(const std::string& line, int reclen, int byteAddress);
    bool compareProgram(const std::string& line, int reclen, int byteAddress);
    bool compareEeprom(const std::string& line, int reclen, int first);
    void reportId(const std::string& file2Id);
    bool fail(const char* code, const std::string& line);

    const FirmwareImage& m_image;
    Prompter& m_prompter;
    CompareReport m_report;
    int CompareBase = 0;  // extended linear address base of file 2: 0 or 0x10000
    int m_lineNumber = 0; // the line of file 2 being compared, from 1; 0 when not known
};

} // namespace hz
