#pragma once
// The CV register page (frame TFrameRegister): one row per configuration variable, a caption
// that names the CV and a small edit field with the EEPROM byte in decimal. A valid number
// typed into a field goes into the image at once; there is no accept button.
//
// Controls: the panel pnl_cv, the column separators Line1..Line3, and 512 rows of the arrays
// CvLabels[k] and CvEdits[k]. Rows run down a column (edit at y = 15 + 25k, label 4 pixels
// lower); a new column starts after rows 20, 41, 62 and 80. The longest list (73 rows) ends in
// the fourth column; the fifth one, for rows 81 and up, lies outside the frame and is never
// filled.

#include <array>
#include <string>

#include "core/pages/Page.h"

namespace hz {
class FirmwareImage;
class Prompter;
} // namespace hz

namespace hz::pages {

class RegisterPage : public Page {
public:
    static constexpr int kRows = 512;
    // Frame size when the host shows it (the designed panel is 940 x 571).
    static constexpr int kWidth = 940;
    static constexpr int kHeight = 555;
    // Row layout. The four columns share the frame's width: in each a caption, 4 pixels of air
    // and a field wide enough for "255"; between two columns a separator with 4 pixels of air
    // at each side. The captions take what is left - the first column a little more, for the
    // longest caption of the lists stands there - so that the frame can give them a readable
    // font (it fits the font into each caption's room).
    static constexpr int kColumns = 5;
    static constexpr std::array<int, kColumns> kColumnLefts{5, 253, 484, 715, 945};
    static constexpr std::array<int, kColumns> kCaptionRooms{204, 187, 187, 187, 187};
    static constexpr int kCaptionGap = 4; // caption to field
    static constexpr int kEditWidth = 30;
    static constexpr int kRowHeight = 20;

    RegisterPage();

    const char* frameName() const override { return "TFrameRegister"; }
    const char* objectName() const override { return "FrameRegister1"; }
    PagePlace placeIn(const AddressArea& area) const override;
    // The register page over the address area is hidden by the load, not when another page
    // is shown, as the firmware editor has always done it.
    bool hiddenOnlyByLoad() const override { return true; }
    // Empties the rows, then reads the decoder type's CV list and its values.
    void showFor(const PageContext& context) override;

    int CvCount() const { return m_cvCount; }
    // The identifier whose list the rows show; 0 for none.
    int ListShown() const { return m_listShown; }
    int CvAddress(int row) const { return m_cvAddress[static_cast<std::size_t>(row)]; }
    const Control& label(int row) const { return build(row + 1).m_controls[labelIndex(row)]; }
    const Control& edit(int row) const { return build(row + 1).m_controls[editIndex(row)]; }
    static std::string labelName(int row) { return "CvLabels[" + std::to_string(row) + "]"; }
    static std::string editName(int row) { return "CvEdits[" + std::to_string(row) + "]"; }

    // Geometry of row `row`'s label and edit within pnl_cv.
    static Rect labelRect(int row);
    static Rect editRect(int row);

    const std::vector<Control>& controls() const override { return build(kRows).m_controls; }

private:
    // Empties and hides all rows, shows the panel and places the column separators.
    void clearRows();
    // Fills the rows with the CV list of `identifier` and the values from the image, and
    // shows the rows in use.
    void readCvList(int identifier, const FirmwareImage& image);
    // Handler of every row's edit field (row 0..511): a valid number goes into the image.
    void applyCvEdit(int row);
    static constexpr std::size_t kFirstRow = 4; // after pnl_cv, Line1, Line2, Line3
    static std::size_t labelIndex(int row) { return kFirstRow + 2 * static_cast<std::size_t>(row); }
    static std::size_t editIndex(int row) { return labelIndex(row) + 1; }
    void placeSeparators();
    // The controls are made when first needed, not with the session: most decoders never show
    // this page, the longest list fills 73 of its 512 rows, and the command-line tool starts
    // once per file. build(n) makes the panel, the separators and rows 0..n-1.
    const RegisterPage& build(int rows) const;
    RegisterPage& build(int rows);
    int m_rowsBuilt = 0;

    std::array<int, kRows> m_cvAddress{};
    int m_cvCount = 0;
    int m_listShown = 0;
};

} // namespace hz::pages
