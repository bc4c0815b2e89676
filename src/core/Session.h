#pragma once
// Everything the program knows about the one loaded firmware file, and the load and save
// sequences that do not depend on a window. The main window and the command-line tool both
// drive a Session; the window adds its widgets through the hooks.

#include <functional>
#include <string>

#include "Prompter.h"
#include "firmware/FirmwareImage.h"
#include "firmware/HexReader.h"
#include "firmware/StatusPanels.h"

namespace hz {

class Session {
public:
    explicit Session(Prompter& prompter);

    Prompter& prompter() { return m_prompter; }

    // Reads the file, identifies it and asks about missing records. Returns the reader's
    // outcome; Stopped also when the user chose Cancel at one of the questions.
    LoadOutcome LoadFile(const std::string& fileName);

    // Regenerates the HEX lines and writes them atomically to `path`. Failures are reported
    // through the prompter.
    bool SaveTo(const std::string& path);

    FirmwareImage image;
    StatusPanels status;
    AddressRowStore rows;
    HexReader reader;

    // Called after the image has been reset by a load (the window hides its pages there).
    std::function<void()> onImageReset;

private:
    Prompter& m_prompter;
};

} // namespace hz
