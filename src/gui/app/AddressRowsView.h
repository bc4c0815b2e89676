#pragma once
// The 48 address rows of the main window, inside GroupBoxMain: per row a caption label, the
// address field, the function-number field and the R/G button. What a row holds and accepts
// is the address page's business in core (catalogue/AddressPage); this view lays the rows
// out, shows what the session says and hands typed texts back.
//
// A row's four widgets are made when the row is first needed - when it gets a caption, a
// text or the focus, or when someone asks for it - so the window starts without the 192
// widgets of rows no decoder of the moment uses. Until then its place is kept as numbers.
//
// Object names, row k = 0..47: lbl_adr_<k> (100 x 20), edt_adr_<k> (40 x 20),
// edt_fkt_<k> (30 x 20), btn_RG_<k> (30 x 16).

#include <QColor>
#include <QPoint>
#include <QString>

#include <array>
#include <functional>

#include "core/catalogue/AddressPage.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace hz {
class Session;
}

struct AddressRowControls {
    QLabel* caption = nullptr;
    QLineEdit* address = nullptr;
    QLineEdit* function = nullptr;
    QPushButton* rg = nullptr;
};

class AddressRowsView {
public:
    static constexpr int kRows = hz::AddressPage::kRows;

    explicit AddressRowsView(hz::Session& session);
    // The group box the rows live in and the header label above them; before any other call.
    void attach(QGroupBox* box, QLabel* header);

    // The R/G button of a row was clicked.
    std::function<void(int row)> onRgClick;

    // The widgets of row k, made at the first request.
    AddressRowControls& operator[](std::size_t k) { return row(static_cast<int>(k)); }
    AddressRowControls& row(int k);
    bool made(int k) const { return m_rows[static_cast<std::size_t>(k)].caption != nullptr; }
    // Going through all rows makes every row.
    AddressRowControls* begin();
    AddressRowControls* end() { return m_rows.data() + kRows; }

    // Rows 1..47: one column below the header (columnBreak >= 48) or two columns broken after
    // row `columnBreak`, 10 extra pixels below row `gap` (0: none).
    void LayoutRows(int columnBreak, int gap);
    // Shows every captioned row and hides the others, with the range hints of the row.
    void ShowRows();
    // Format "ohne": hides all four controls of all 48 rows.
    void HideAllRows();
    // Address fields white, or red and green by row state for red/green rows.
    void ColourRows();
    // The session set a row's texts: show them.
    void RowTextsChanged(int row);
    void FocusRow(int row, bool functionField);
    // The texts typed into the rows go into the session's address page.
    void CopyTextsToSession();

private:
    struct Place {
        QPoint caption, address, function, rg;
    };
    void syncCaptions();
    void make(int k);
    void hideRow(int k);

    QGroupBox* m_box = nullptr;
    QLabel* m_header = nullptr;
    hz::Session& m_session;
    std::array<AddressRowControls, kRows> m_rows{};
    std::array<Place, kRows> m_places{};
    std::array<QColor, kRows> m_colours{};
};
