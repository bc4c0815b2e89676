#pragma once
// Everything the HEX information dialog shows, kept here so that the dialog only copies texts
// into its controls: the listings of the loaded image when it opens, and the report of a
// comparison with a second file after "vergleiche mit 2. HEX-File".

#include <array>
#include <string>
#include <vector>

#include "core/Prompter.h"
#include "core/firmware/FirmwareImage.h"
#include "core/inspect/HexCompare.h"
#include "core/inspect/HexListing.h"

namespace hz {

class HexInfo {
public:
    // Fills everything from the image; the image is only read, now and later.
    explicit HexInfo(const FirmwareImage& image);

    // The comparison with `file2`, the file the user chose. Both lists then show the report
    // (as far as it got when a line of file 2 failed) and the status texts name both files.
    // An empty name (the dialog was cancelled) or a file that cannot be read changes nothing.
    CompareReport::Outcome compareWith(const std::string& file2, Prompter& prompter);

    std::array<std::string, 4> config; // edt_config_1..4
    std::array<std::string, 4> id;     // edt_ID_1..4
    std::string romCount;              // lbl_anzahl
    std::vector<std::string> memo1;    // Memo1a: EEPROM listing, or the report's EEPROM part
    std::vector<std::string> memo3;    // Memo3a: program listing, or the rest of the report
    std::array<std::string, 2> status; // StatusBar1

private:
    const FirmwareImage& m_image;
};

} // namespace hz
