#pragma once
// What the load sequence asks of a window. The main window implements it; the command-line
// tool and most tests use the do-nothing defaults. Messages and questions do not go through
// here but through the Prompter.

#include <string>

#include "core/AddressRowCount.h"

namespace hz {

class SessionView {
public:
    virtual ~SessionView() = default;

    // The reader has reset the image: hide all six editor pages.
    virtual void HidePages() {}
    // Base arrangement of the window (as for a decoder without page). The row captions have
    // already been emptied in the identification state.
    virtual void ResetLayout() {}
    // Arrange address rows 1..47: one column below the header (columnBreak >= kAddressRows) or two
    // columns broken after row `columnBreak`; 10 extra pixels below row `gap` (0: none).
    virtual void LayoutRows(int columnBreak, int gap) { (void)columnBreak; (void)gap; }
    // Show the editor page of the identified type (kinds 1, 2, 3, 4, 6).
    virtual void ShowPage(int kind) { (void)kind; }
    // Show the decoder name in the header at the largest size that fits.
    virtual void FitHeader(const std::string& name) { (void)name; }
    // Show or hide every row by its caption and set the range hints.
    virtual void ShowRows() {}
    // Format "ohne": hide all four controls of every row.
    virtual void HideAllRows() {}
    // Progress of the address decoding (the bar clamps to 0..maximum).
    virtual void SetProgress(int maximum, int position) { (void)maximum; (void)position; }
    // Row texts (address, function number) were set by the core: show them.
    virtual void RowTextsChanged(int row) { (void)row; }
    // Put the input focus into a row's address field or function-number field.
    virtual void FocusRow(int row, bool functionField) { (void)row; (void)functionField; }
    // Colour the address fields by row state.
    virtual void ColourRows() {}
    // The web button's caption follows the documentation page.
    virtual void DocPageChanged(const std::string& url) { (void)url; }
};

} // namespace hz
