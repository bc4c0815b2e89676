#pragma once
// The texts of the main window's status bar, built in one place from the values behind them,
// so that the window, the command-line tool and the tests read the same texts.
//   0  "ID: " and the identifier of the ID record
//   1  "V " and the firmware version
//   2  the address format: "Mot", "DCC" or "ohne"
//   3  the file named: the loaded file's path and its PIC; after a save, the saved file's name
// and, beside them, the decoder type the identification found (the window's title names it too).

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/firmware/FirmwareFacts.h"

namespace hz {

struct DecoderType;

struct StatusPanels {
    std::array<std::string, 4> text{"", "", "", " HEX Zwirbel "};
    // The decoder type and its version (DecoderTypeText); empty until the load has identified it.
    std::string type;
    friend bool operator==(const StatusPanels&, const StatusPanels&) = default;
};

// The file the status bar names.
struct StatusFile {
    // Empty until a file is read: the program's name stands there then.
    std::string name;
    // The file the facts were read from (rather than one saved to): its PIC follows the name.
    bool read = false;
};

// The decoder type of a loaded file as the window names it: the type's name, and the firmware
// version of the ID record where the name gives no version of its own ("Stellino ab V3.51",
// "Stellino V3.40"); "Typ nicht erkannt" for a file no type claims (nullptr).
std::string DecoderTypeText(const DecoderType* type, const FirmwareFacts& facts);

// `format` is the address format once the load has gone that far, empty before; `identified`
// the type the identification found (nullptr: none) once it has run, nothing before.
StatusPanels StatusTexts(const FirmwareFacts& facts, std::string_view format, const StatusFile& file,
                         std::optional<const DecoderType*> identified = std::nullopt);

} // namespace hz
