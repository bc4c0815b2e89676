#pragma once
// The four texts of the main window's status bar, built in one place from the values behind
// them, so that the window, the command-line tool and the tests read the same texts.
//   0  "ID: " and the identifier of the ID record
//   1  "V " and the firmware version
//   2  the address format: "Mot", "DCC" or "ohne"
//   3  the file named: the loaded file's path and its PIC; after a save, the saved file's name

#include <array>
#include <string>
#include <string_view>

#include "core/firmware/FirmwareFacts.h"

namespace hz {

struct StatusPanels {
    std::array<std::string, 4> text{"", "", "", " HEX Zwirbel "};
    friend bool operator==(const StatusPanels&, const StatusPanels&) = default;
};

// The file the status bar names.
struct StatusFile {
    // Empty until a file is read: the program's name stands there then.
    std::string name;
    // The file the facts were read from (rather than one saved to): its PIC follows the name.
    bool read = false;
};

// `format` is the address format once the load has gone that far, empty before.
StatusPanels StatusTexts(const FirmwareFacts& facts, std::string_view format, const StatusFile& file);

} // namespace hz
