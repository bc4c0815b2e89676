#pragma once
// The address rows as a page: where each row's code lives in the EEPROM image, decoding the
// codes into addresses at load, the rows' controls (caption, address field, function-number
// field and R/G button of every row), and validating, encoding and writing the rows back at
// save. Every decoder type shows these rows; the session owns the page and shows it with each
// load, beside whatever editor page the type has.
//
// Storage: row r owns slot s(r); the slot's three code bytes are EEPROM bytes s, s+16, s+32.
// Rows 0..15 own slots 0..15 (bytes 0x00..0x2F), rows 16..30 slots 65..79 (bytes 0x41..0x6F).
//
// Controls, row k = 0..47: "lbl_adr_<k>" (the caption), "edt_adr_<k>" (the address),
// "edt_fkt_<k>" (the function number), "btn_RG_<k>" (red or green). What the user typed stays
// in the edits until a save validates it.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/AddressRowCount.h"
#include "core/catalogue/Identification.h"
#include "core/firmware/FirmwareImage.h"
#include "core/pages/Page.h"

namespace hz::pages {

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

class AddressPage : public Page {
public:
    static constexpr int kRows = kAddressRows;
    // Marks a row whose code matched no address.
    static constexpr int kUndecoded = 999999;
    // The fixed sizes of a row's controls; the caption is as wide as its text.
    static constexpr int kCaptionHeight = 20;
    static constexpr int kAddressWidth = 40, kAddressHeight = 20;
    static constexpr int kFunctionWidth = 30, kFunctionHeight = 20;
    static constexpr int kRgWidth = 30, kRgHeight = 16;

    AddressPage(FirmwareImage& image, AddressRowStore& rows, IdentificationState& state);

    const char* frameName() const override { return "AddressRows"; }
    const char* objectName() const override { return "AddressRows"; }
    // The rows need nothing of the context: the session gives them the image, the code store
    // and the identification state for good.
    void showFor(const PageContext& context) override { m_context.emplace(context); }

    // Control names of row k.
    static std::string captionName(int row);
    static std::string addressName(int row);
    static std::string functionName(int row);
    static std::string rgName(int row);

    // Slot number of a row; -1 for a row that has no storage of its own.
    static int slotOf(int row);
    // Whether a row has EEPROM room for its code. Rows without are shown but not decoded,
    // checked or written (their fields are disabled).
    static bool hasStorage(int row);

    // The texts of a row's address and function-number fields, as the user sees them.
    const std::string& addressText(int row) const;
    const std::string& functionText(int row) const;
    // Those of all rows, row 0 first.
    std::vector<std::string> addressTexts() const;
    std::vector<std::string> functionTexts() const;
    // The row and field of a field's control name ("edt_fkt_4": row 4, function field); false
    // for any other name.
    static bool rowOfField(const std::string& name, int& row, bool& functionField);
    // 1 = green, 0 = red; only red/green rows use it.
    std::array<int, kRows> RowState{};

    // The tool tips of a row's address and function-number fields: what a save accepts there.
    // Motorola function-decoder rows have codes for 1..255 only and no "unused" code; a row
    // without EEPROM room says that the firmware keeps no address for it.
    std::string AddressHint(int row) const;
    std::string FunctionHint(int row) const;

    // The one door for typing into a row by number, used by the tool's `--row` and the
    // settings tools: the texts of the address field and, where given, of the function-number
    // field and the R/G state (1 green, 0 red). Nothing is validated here - that is the save's
    // job - but a row the page does not offer is refused with a German `error`: a row without
    // caption or without EEPROM room, a function number on a row that has none, a colour on a
    // row without red and green, or any row when the firmware takes no addresses.
    bool TypeRow(int row, const std::string& address, const std::string* function, const int* state,
                 std::string& error);

    // Lays out rows 1..47 (LayoutAddressRows) with the captions the identification holds.
    void layOut(int columnBreak, int gap);
    // Whether the last layout shows the header above one column of rows.
    bool headerShown() const { return m_headerShown; }
    // Shows every captioned row and hides the others, with the hints of what each accepts.
    void showRows();
    // Format "ohne": hides all four controls of every row.
    void hideAllRows();
    // Address fields white, or red and green by row state for red/green rows.
    void colourRows();
    // No file open: every row empty and red.
    void clearRows();
    // Puts the rows' texts and R/G states back as an earlier state held them (undo): nothing
    // is checked and no handler runs, the fields only show the texts again.
    void restoreRows(const std::array<std::string, kRows>& address, const std::array<std::string, kRows>& function,
                     const std::array<int, kRows>& state);

    // Decodes the image's codes into the rows; `progress(maximum, position)` follows it.
    void DecodeRows(const std::function<void(int, int)>& progress);
    // Checks every captioned row; on failure shows the message, asks for the focus in the
    // field and returns false. Nothing is written into the image here.
    bool ValidateRows();
    void EncodeRows();
    void WriteRows();

private:
    struct RowControls {
        std::size_t caption, address, function, rg; // indices into m_controls
    };
    Control& caption(int row) { return m_controls[m_row[static_cast<std::size_t>(row)].caption]; }
    Control& address(int row) { return m_controls[m_row[static_cast<std::size_t>(row)].address]; }
    Control& function(int row) { return m_controls[m_row[static_cast<std::size_t>(row)].function]; }
    Control& rg(int row) { return m_controls[m_row[static_cast<std::size_t>(row)].rg]; }
    const Control& control(int row, std::size_t RowControls::*which) const
    {
        return m_controls[m_row[static_cast<std::size_t>(row)].*which];
    }
    // The R/G button: green becomes red, anything else green.
    void toggleRedGreen(int row);
    void colourRow(int row);
    // The caption label takes the identification's caption and sizes itself to it.
    void syncCaption(int row);

    FirmwareImage& m_image;
    AddressRowStore& m_rows;
    IdentificationState& m_state;
    std::array<RowControls, kRows> m_row{};
    bool m_headerShown = false;
};

} // namespace hz::pages
