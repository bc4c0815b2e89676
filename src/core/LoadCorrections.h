#pragma once
// The corrections of a load: bytes that differ from the file without the user having done
// anything, and how they are worded for the user. The window tells them in one message, the
// command-line tool one line each on stderr, `info --json` lists them, the settings diff
// names them.

#include <string>
#include <vector>

#include "core/firmware/FirmwareImage.h"

namespace hz {

namespace pages {
class Page;
}

// A byte that differs from the file: a page corrected it when it was shown, or a working copy
// held pending right after set-up would write it at "übernehmen" or at a save.
struct LoadCorrection {
    FirmwareImage::ByteChange change;
    std::string reason;
    bool pending = false;
};

// The corrections of a load that went through, program memory first: what the shown pages'
// set-up changed in `image` against `stored` (the memory as the file held it), then what each
// pending working copy would write.
std::vector<LoadCorrection> CollectLoadCorrections(const FirmwareImage::Memory& stored, const FirmwareImage& image,
                                                   const std::vector<pages::Page*>& shown);

// "EEPROM 0x20", "Programmwort 0x0532 Low-Byte": where an image byte is, as the user reads it.
std::string ByteLocation(bool eeprom, int index);
// "0x44" for a byte text, the text in quotes for anything else the file held.
std::string ByteValue(const std::string& text);
// "EEPROM 0x20: 0x44 → 0x11 (unbekannter Überblend-Code)": one line per correction, the same
// in the window's message and on the tool's stderr.
std::string CorrectionLine(const LoadCorrection& c);
// The window's message about the corrections of a load; empty when there are none.
std::string CorrectionsMessage(const std::vector<LoadCorrection>& corrections);

} // namespace hz
