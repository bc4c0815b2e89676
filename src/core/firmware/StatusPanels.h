#pragma once
// The four texts of the main window's status bar, kept outside the widgets so that the core
// can fill them and the GUI, the command-line tool and the tests can read them.
//   0  "ID: " and the identifier digit(s) of the ID record
//   1  "V " and the firmware version text
//   2  the address format: "Mot", "DCC" or "ohne"
//   3  the loaded file's path and the PIC suffix; after a save, the saved file's name

#include <array>
#include <string>

namespace hz {

struct StatusPanels {
    std::array<std::string, 4> text{"", "", "", " HEX Zwirbel "};
};

} // namespace hz
