#pragma once
// The raw contents of the loaded firmware as the information view lists them: the
// configuration and ID words as edit texts, the EEPROM as a byte listing, the program memory
// as a word listing. Only reads the image.

#include <array>
#include <string>
#include <vector>

#include "core/firmware/FirmwareImage.h"

namespace hz {

struct HexListing {
    std::array<std::string, 4> config; // edt_config_1..4: CONFIG 1..4 as words, high byte first
    std::array<std::string, 4> id;     // edt_ID_1..4
    std::string romCount;              // lbl_anzahl
    std::vector<std::string> eeprom;   // Memo1a
    std::vector<std::string> rom;      // Memo3a
};

HexListing ListFirmware(const FirmwareImage& image);

// CONFIG k as the word it is: the file holds the low byte first ("C431"), shown is "31C4".
// Only the first word of a longer text is shown.
std::array<std::string, 4> ConfigValueTexts(const FirmwareImage& image);
// 16F18324: the four ID words, each high byte first. Classic PICs: the ID digits in the first
// edit. No PIC assigned: nothing.
std::array<std::string, 4> IdValueTexts(const FirmwareImage& image);
// "Anzahl ROM Bytes (File 1): N" with the highest program-memory byte address read.
std::string RomCountText(const FirmwareImage& image);

// EEPROM bytes 0..EepromTop, 16 to a line:
//   0x000 FF02.02FF.FFFF.FFFF FFFF.FFFF.FFFF.FFFF
//   0x010:FFFF.FFFF
// A byte reading "error" ends the listing before its line.
std::vector<std::string> EepromListing(const FirmwareImage& image);
// Program words from byte address 0 to RomTop, high byte first, 8 to a line, with a line of
// one blank before every 128 words:
//   $0000: 3008.3003.3000.2805 0009.1683.303F.0085
// A byte reading "error" ends the listing before its line.
std::vector<std::string> RomListing(const FirmwareImage& image);

// "$0012": a program word address as listings and reports start their lines.
std::string WordAddressText(int word);

} // namespace hz
