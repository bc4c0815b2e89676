#pragma once
// The address rows in the window: the frame of the address page. Its widgets stand in the
// window's address group box (GroupBoxMain) and take the row font; the header label above
// them shows while the rows stand in one column. Everything else - what a row shows, holds and
// accepts - is the page's (core/pages/address), mirrored here like every other page.
//
// Object names, row k = 0..47: lbl_adr_<k> (the caption, as wide as its text), edt_adr_<k>
// (40 x 20), edt_fkt_<k> (30 x 20), btn_RG_<k> (30 x 16). A row's widgets are made when it is
// first shown or asked for, so the window starts without the 192 widgets of rows no decoder
// of the moment uses.

#include <array>

#include "core/pages/address/AddressPage.h"
#include "gui/pages/PageFrame.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

struct AddressRowControls {
    QLabel* caption = nullptr;
    QLineEdit* address = nullptr;
    QLineEdit* function = nullptr;
    QPushButton* rg = nullptr;
};

class AddressRowsFrame : public PageFrame {
    Q_OBJECT
public:
    static constexpr int kRows = hz::pages::AddressPage::kRows;

    // The frame itself stays hidden; the rows are made in `box`, and `header` shows while
    // the page lays the rows out below it.
    AddressRowsFrame(hz::pages::AddressPage& page, QGroupBox* box, QLabel* header);

    // The widgets of row k, made at the first request.
    AddressRowControls row(int k);
    AddressRowControls operator[](std::size_t k) { return row(static_cast<int>(k)); }
    // Going through all rows makes every row.
    const AddressRowControls* begin();
    const AddressRowControls* end() const { return m_all.data() + kRows; }

protected:
    void styleWidget(const hz::pages::Control& c, QWidget* w) override;
    void beforeRefresh() override;

private:
    hz::pages::AddressPage& m_page;
    QLabel* m_header;
    QFont m_rowFont;
    std::array<AddressRowControls, kRows> m_all{};
};
