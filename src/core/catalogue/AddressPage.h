#pragma once
// The logic of the address page: where each row's code lives in the EEPROM image, decoding
// the codes into addresses at load, and validating, encoding and writing them back at save.
//
// Storage: row r owns slot s(r); the slot's three code bytes are EEPROM bytes s, s+16, s+32.
// Rows 0..15 own slots 0..15 (bytes 0x00..0x2F), rows 16..30 slots 65..79 (bytes 0x41..0x6F).

#include <array>
#include <string>

#include "core/AddressRowCount.h"
#include "core/Prompter.h"
#include "core/SessionView.h"
#include "core/catalogue/Identification.h"
#include "core/firmware/FirmwareImage.h"

namespace hz {

// Where a row's four controls stand in the address group box (left, top of each), as the
// page lays out its rows.
struct RowPlace {
    int captionX = 0, captionY = 0;
    int addressX = 0, addressY = 0;
    int functionX = 0, functionY = 0;
    int rgX = 0, rgY = 0;
};

struct RowLayout {
    bool headerShown = false;
    std::array<RowPlace, kAddressRows> places{};
};

// The layout of rows 1..47: one column below the header (columnBreak >= kAddressRows), with
// the address fields right of the widest caption (`widestCaption`, in pixels, as the window's
// font measures it), or two columns broken after row `columnBreak`; 10 extra pixels below row
// `gap` (0: none).
RowLayout LayoutAddressRows(int columnBreak, int gap, int widestCaption);

class AddressPage {
public:
    static constexpr int kRows = kAddressRows;
    // Marks a row whose code matched no address.
    static constexpr int kUndecoded = 999999;

    AddressPage(FirmwareImage& image, AddressRowStore& rows, IdentificationState& state);

    // Slot number of a row; -1 for a row that has no storage of its own.
    static int slotOf(int row);
    // Whether a row has EEPROM room for its code. Rows without are shown but not decoded,
    // checked or written (the window shows their field disabled).
    static bool hasStorage(int row);

    // The texts of each row's address and function-number fields, as the user sees them.
    std::array<std::string, kRows> AddressText{};
    std::array<std::string, kRows> FunctionText{};
    // 1 = green, 0 = red; only red/green rows use it.
    std::array<int, kRows> RowState{};

    // The tool tips of a row's address and function-number fields: what a save accepts there.
    // Motorola function-decoder rows have codes for 1..255 only and no "unused" code; a row
    // without EEPROM room says that the firmware keeps no address for it.
    std::string AddressHint(int row) const;
    std::string FunctionHint(int row) const;

    // The one door for typing into a row, used by the window's fields and the command-line
    // tool alike: the texts of the address field and, where given, of the function-number
    // field and the R/G state (1 green, 0 red). Nothing is validated here - that is the save's
    // job - but a row the page does not offer is refused with a German `error`: a row without
    // caption or without EEPROM room, a function number on a row that has none, a colour on a
    // row without red and green, or any row when the firmware takes no addresses.
    bool TypeRow(int row, const std::string& address, const std::string* function, const int* state,
                 std::string& error);

    void DecodeRows(SessionView& view);
    // Checks every captioned row; on failure shows the message, focuses the field and
    // returns false. Nothing is written into the image here.
    bool ValidateRows(SessionView& view);
    void EncodeRows();
    void WriteRows();
    // The R/G button of a row: green becomes red, anything else green.
    void btn_RGClick(int row, SessionView& view);

private:
    FirmwareImage& m_image;
    AddressRowStore& m_rows;
    IdentificationState& m_state;
};

} // namespace hz
