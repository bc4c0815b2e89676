#pragma once
// Writing the FirmwareImage back as an Intel HEX file.
//
// Every line is regenerated from the image rather than edited: program memory from byte 0 to
// the highest byte read, the ID record, the configuration record(s), the EEPROM, the end
// record. Whatever the image holds, every line written is well-formed Intel HEX; a byte text
// that is not two hexadecimal digits stops the build with "Problem bei der
// Checksummen-Berechnung" instead of producing a damaged file.

#include <string>
#include <string_view>
#include <vector>

#include "core/firmware/FirmwareImage.h"

namespace hz {

// Shown instead of writing a file that would hold no program word, EEPROM byte, ID or
// configuration word at all.
inline constexpr const char* kNothingToSave =
    "Es gibt nichts zu speichern: Es ist keine Firmware geladen, die Programmspeicher, EEPROM, ID "
    "oder Config-Werte enthält. Es wurde nichts geschrieben.";

// Fills the image's HexString with the new lines and sets LineCount; returns the number of
// lines, 0 on failure (LineCount is then 0 as well).
int BuildHexLines(FirmwareImage& image);

// The lines BuildHexLines produced (HexString 0 .. LineCount-1).
std::vector<std::string> builtLines(const FirmwareImage& image);
// The same lines as the file holds them, each ended by CR LF.
std::string builtText(const FirmwareImage& image);

// Intel HEX checksum of a record body (without ":"): two upper-case digits, or "error" after
// the warning "Problem bei der Checksummen-Berechnung" when the body is not whole bytes of
// hexadecimal digits.
std::string CalcChecksum(std::string_view body, Prompter& prompter);

// Writes the lines of the last BuildHexLines to `path` by the rules of FileSet; a failure (or
// the warning of a write that went through) is reported through the image's prompter.
bool WriteBuiltLines(const FirmwareImage& image, const std::string& path);

// BuildHexLines and WriteBuiltLines together, for callers that need no dialog in
// between. Failures are reported through the image's prompter.
bool SaveHexFile(FirmwareImage& image, const std::string& path);

} // namespace hz
