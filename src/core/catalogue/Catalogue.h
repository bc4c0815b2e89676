#pragma once
// The decoder types and firmware versions the program knows.
//
// Every firmware of the family carries a 24-bit identifier in its first three program words
// (identification computes it). The catalogue says, per identifier, everything the window
// needs to present the decoder: name, PIC, editor page, how the address rows work, their
// captions and arrangement, and the documentation page. It is compiled in; there is no file.

#include <array>
#include <string>
#include <vector>

#include "core/AddressRowCount.h"

namespace hz {

// The editor page of a decoder type. There is no kind 5.
enum PageKind : int {
    PageNone = 0,
    PageZusatz = 1,         // additional functions
    PageBlinkmuster = 2,    // blink pattern
    PageBlinkmusterLed = 3, // LED blink pattern
    PageServo = 4,          // servo curves and servo addresses
    PageRegister = 6,       // CV list
};

using CaptionArray = std::array<std::string, kAddressRows>;

// The captions of a type's address rows, index = row number. Many types share one caption set
// (all versions of a firmware, types with the same outputs), so a type refers to its set's rows
// instead of keeping 48 texts of its own.
class CaptionRows {
public:
    CaptionRows() = default;
    // The rows of caption set `set` (0: the empty set). A set's rows are made when they are
    // first read, so that looking up a type costs nothing for the sets no file uses.
    explicit CaptionRows(int set) : m_set(set) {}
    const std::string& operator[](std::size_t row) const { return rows()[row]; }
    CaptionArray::const_iterator begin() const { return rows().begin(); }
    CaptionArray::const_iterator end() const { return rows().end(); }
    operator const CaptionArray&() const { return rows(); }

private:
    const CaptionArray& rows() const;
    int m_set = 0;
};

struct DecoderType {
    int Identifier = 0;
    int Identifier2 = 0; // a second identifier answering to the same entry; 0 when none
    std::string Name;
    int PicModel = 0; // 629, 676, 684, 688 or 18324
    int Page = PageNone;
    // Row mode: at most one of the three is set (one entry, 0x4000, has none).
    bool RedGreen = false;
    bool FunctionDecoder = false;
    bool PageOnly = false;
    // The 16F18324 entries always use the DCC address format.
    bool SetsDcc = false;
    int CaptionSet = 0; // number of the caption set, 0 = none
    // Captions of the address rows, index = row number; row 0 never has one. An empty caption
    // means the row is not in use; a single blank is a caption.
    CaptionRows Captions;
    int ColumnBreak = 0; // 0: one column below the header; n: rows 1..n, then a second column
    int GapAfterRow = 0; // 0: none; n: 10 extra pixels below row n
    // Name of the type's page on the documentation site ("stellino.html"), shared by the
    // versions of a type and by a few relatives; empty for the types documented on the site's
    // start page. DocLinks.h turns it into an address.
    std::string DocPage;
};

// True when the type's address rows hold an address and a function number: the function
// decoders, and the early neon firmware 0x4000, whose two captioned rows have no row mode of
// their own but are function-decoder rows like those of its successors (without a mode they
// could neither be loaded nor saved).
bool HasFunctionRows(const DecoderType& type);

// The type's name as a sentence shows it (the window's title, the documentation button): the
// catalogue's name with every run of blanks as one ("Stellino  ab V3.51" is "Stellino ab V3.51").
// The header shows the name as the catalogue writes it.
std::string ShownTypeName(const DecoderType& type);

// All 88 entries, in catalogue order.
const std::vector<DecoderType>& DecoderCatalogue();

// The entry whose identifier (or second identifier) equals `identifier` exactly; nullptr when
// there is none. No ranges, masks or nearest versions.
const DecoderType* FindDecoderType(int identifier);

struct PicInfo {
    int PicModel = 0;
    std::string StatusSuffix;                 // appended to the file name in status panel 3
    std::array<std::string, 4> DefaultConfig; // configuration words, low byte first; "" when none
};

// The PIC table; nullptr for a part number that is not in it (0 included).
const PicInfo* FindPic(int picModel);

// The maker's home page, behind the picture in the main window.
extern const char* const kHomePage;

} // namespace hz
