#pragma once
// Working out which decoder type and firmware version a loaded image holds, and preparing the
// window for it.

#include <array>
#include <string>

#include "core/Prompter.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/DocLinks.h"
#include "core/firmware/FirmwareImage.h"

namespace hz {

struct IdentificationState {
    int Identifier = 0;
    // Literal bytes of program words 0..2 (0 when a word is no movlw); shown when unknown.
    int IdByte0 = 0, IdByte1 = 0, IdByte2 = 0;
    // Address format. Mot is tested first wherever the format matters; neither: "ohne".
    bool Mot = false;
    bool DCC = false;
    bool NoAddressInput = false;
    // Row mode of the applied entry.
    bool RedGreen = false;
    bool FunctionDecoder = false;
    bool PageOnly = false;
    // Valid ranges of the address page; they keep their values for a file of format "ohne".
    int MaxAddress = 0;
    int MaxFunction = 0;
    // What the window shows: header name, documentation page, row captions and arrangement.
    std::string DecoderName = "Hex Zwirbel"; // the header keeps the last name for unknown files
    // Where the documentation links lead (set by the window from its settings before the first
    // load), and the address of the web button: the identified type's page, or the manual's
    // start while no type is identified.
    DocSite Site;
    std::string DocPage = DocAddress(Site, nullptr);
    std::array<std::string, kAddressRows> Captions{};
    int ColumnBreak = 15;
    int GapAfterRow = 0;
    const DecoderType* Type = nullptr; // the applied entry, nullptr when none matched

    // "Mot", "DCC" or "ohne".
    std::string formatText() const;
    bool hasCaption(int row) const
    {
        return row >= 0 && row < kAddressRows && !Captions[static_cast<std::size_t>(row)].empty();
    }
};

// What applying a decoder type changes beyond the identification state, in the order it
// happens: the base arrangement, the rows' layout, the type's page, the header, which rows
// show, the web button. The session turns these into the address page's and the window's work.
class IdentificationView {
public:
    virtual ~IdentificationView() = default;
    // Base arrangement (as for a decoder without page); the row captions are empty by now.
    virtual void ResetLayout() = 0;
    // Rows 1..47: one column below the header (columnBreak >= kAddressRows) or two columns
    // broken after row `columnBreak`; 10 extra pixels below row `gap` (0: none).
    virtual void LayoutRows(int columnBreak, int gap) = 0;
    // The editor page of the identified type (kinds 1, 2, 3, 4, 6).
    virtual void ShowPage(int kind) = 0;
    // The decoder name in the header.
    virtual void FitHeader(const std::string& name) = 0;
    // Every row shown or hidden by its caption, with its range hints.
    virtual void ShowRows() = 0;
    // The web button follows the documentation page.
    virtual void DocPageChanged(const std::string& url) = 0;
};

class Identification {
public:
    Identification(FirmwareImage& image, IdentificationState& state);

    // Identifier from program words 0..2 (movlw literals), with the two turntable fallbacks
    // at program word 137.
    void IdentifyDecoder();
    // Address format from the signatures in program words 8 and 35.
    void DetectAddressFormat();
    // Applies the catalogue entry and ends with FinishIdentification.
    void ApplyDecoderType(IdentificationView& view);
    // The PIC among the facts (the status bar names it), standard configuration, ranges, rows,
    // placement checks, not-recognised message, web button.
    void FinishIdentification(IdentificationView& view);
    // The window part of ApplyDecoderType once more (layout, page, header), without any
    // message or change of the facts. Used after start-up with a file argument.
    void RedoLayout(IdentificationView& view);

private:
    FirmwareImage& m_image;
    IdentificationState& m_state;
};

} // namespace hz
