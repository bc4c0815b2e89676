#pragma once
// Reading an Intel HEX firmware file into the FirmwareImage.
//
// Strict about structure, lenient about content: an unexpected record kind or address stops
// the load with a message quoting the line, but checksums are not verified, record lengths are
// trusted and short lines are read as far as they go.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/firmware/FirmwareImage.h"
#include "core/firmware/StatusPanels.h"
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
    HexReader(FirmwareImage& image, StatusPanels& status);

    // Called after the image has been reset and before the first line is parsed (the main
    // window hides its editor pages there).
    std::function<void()> onImageReset;

    LoadOutcome ReadHexFile(const std::string& fileName);
    // The same sequence on lines already in memory (`fileName` goes to the status bar).
    LoadOutcome ReadHexLines(std::vector<std::string> lines, const std::string& fileName);

    bool ParseHexLine(const std::string& line);

    // After identification: asks about a missing PIC assignment, ID or configuration word.
    // Returns false when the user chose Cancel.
    bool CheckRequiredRecords();

private:
    bool parseData(const std::string& line, int reclen, int byteAddress);
    bool fail(const char* code, const std::string& line, int wordAddress = -1);
    bool failVersion(std::string_view text);

    FirmwareImage& m_image;
    StatusPanels& m_status;
};

} // namespace hz
