#pragma once
// The CV lists of the decoders whose settings are edited as plain configuration variables, and
// the value logic of one CV row.
//
// A CV of these firmwares is one EEPROM byte. Which byte belongs to which CV is fixed by the
// firmware and not a formula (CV29 lies at 0x68 in the 16F688 firmware, at 0x6A in the
// 16F18324 firmwares), so each list names caption and EEPROM address row by row.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Prompter.h"
#include "core/firmware/FirmwareImage.h"
#include "core/pages/common/NumberText.h"

namespace hz {

// Identifiers of the decoder types with a CV list.
inline constexpr int kIdFDecoderCv = 0x4400;   // "F-Dekoder mit CV", 16F688
inline constexpr int kIdForsta18324 = 0x14B00; // "Forsta 16F18324"
inline constexpr int kIdKnipso18324 = 0x15000; // "Knipso 16F18324"

struct CvEntry {
    std::string caption; // UTF-8, carries the CV number itself ("CV029: Konfigbyte")
    int address = 0;     // EEPROM byte address, 0..255
};

// The list of the decoder type: 25 rows for 0x4400, 73 rows for 0x14B00 and 0x15000 (the two
// 16F18324 lists differ in the captions of rows 8 and 9), empty for every other identifier.
const std::vector<CvEntry>& CvListFor(int identifier);

// The EEPROM address of CV `cv` in the list of the decoder type (found by the CV number its
// caption begins with); -1 when the list has no such CV.
int CvEepromAddress(int identifier, int cv);

// The DCC locomotive address a decoder with a CV list answers to, read from its CVs as the
// decoder reads them: without bit 5 of CV29 the short address CV1 (1 to 127); with it the long
// address (CV17 - 192) x 256 + CV18 (CV17 from 192 to 231, 1 to 10239). Short address 3 and
// long address 3 are two different addresses on the track.
struct CvAddress {
    bool isLong = false;
    int address = 0;     // 0 when `problem` is set
    std::string problem; // German: why the CVs give no address the decoder could answer to
};
// nullopt for a type whose CV list does not hold CV1, CV17, CV18 and CV29.
std::optional<CvAddress> ReadCvAddress(const FirmwareImage& image, int identifier);

// The warnings of a CV edit field.
inline constexpr const char* kCvNotANumber = pages::kNotANumber;
inline constexpr const char* kCvOutOfRange = "Ungültige Eingabe.\rZugelassen sind nur Zahlen von 0 bis 255";

// What the text of a CV edit field means.
enum class CvInputKind {
    Empty,      // nothing typed: ignore, the byte keeps its value
    NotANumber, // refuse with kCvNotANumber
    OutOfRange, // a whole number outside 0..255: refuse with kCvOutOfRange
    Value,      // store `value`
};

struct CvInput {
    CvInputKind kind = CvInputKind::Empty;
    int value = 0; // 0..255 when kind == Value
};

// Reads the text of a CV edit field with the program's one whole-number rule (parseWholeNumber):
// decimal digits with at most one leading "+" or "-", nothing else anywhere, not even a blank
// ("1a", " 7", "7 ", "+", "0x10" and "$10" are not numbers). Leading zeros are fine ("007" is
// 7). A number too long for an int is "not a number", as for every other field; a whole number
// in int range but outside 0..255 is OutOfRange.
CvInput ParseCvInput(std::string_view text);

enum class CvEditResult { Ignored, Refused, Stored };

// The whole reaction to a changed CV edit field of the row showing EEPROM byte `address`:
// empty text is ignored silently; a text that is not a number, or a number outside 0..255,
// is refused with a warning (single button Cancel) and leaves the image unchanged; a byte
// value is stored at once as its two-digit text. The caller gives the field the focus back
// after Refused.
//
// The range check is ours: a CV is one byte, and a value such as 256 or -1 must never reach
// the image, where it would not even be a two-digit byte text. Refusing it the same way as a
// non-number (instead of clamping or silently dropping the keystroke) tells the user why the
// value did not take.
CvEditResult ApplyCvEdit(FirmwareImage& image, Prompter& prompter, int address, std::string_view text);

} // namespace hz
