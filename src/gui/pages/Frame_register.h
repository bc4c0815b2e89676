#pragma once
// The CV register page: the configuration variables of the decoders that are set up as plain
// CVs, one row per CV with its caption and a small edit field holding the EEPROM byte in
// decimal. A valid number typed into a field goes into the image at once; there is no accept
// button.
//
// The page has room for 512 rows, but the longest list fills 73 of them and most decoders
// never show the page at all. A row's two controls are therefore made when the row is first
// needed (filled with a CV, or asked for by label() or edit()), not when the page is built:
// the window then starts without a thousand hidden widgets.

#include <QFrame>
#include <array>

#include "Session.h"

class QLabel;
class QLineEdit;

class TFrameRegister : public QFrame {
    Q_OBJECT
public:
    static constexpr int kRows = 512;

    TFrameRegister(hz::Session& session, QWidget* parent);

    // While set, changes of the edit fields are the frame's own writes, not user input.
    bool Updating = false;

    // Empties and hides all rows, shows the panel and places the column separators.
    void ResetRows();
    // Fills the rows with the CV list of the loaded decoder type and the values from the
    // image, and shows the rows in use. The captions of one list share one font, the largest
    // in which the longest of them fits before the edit fields; each caption is also the tool
    // tip of its label.
    void ShowCvList();
    // Change handler of every row's edit field.
    void CvEditChange(QLineEdit* sender);

    int CvCount() const { return m_cvCount; }
    int CvAddress(int row) const { return m_cvAddress[static_cast<std::size_t>(row)]; }
    // The controls of a row, made at the first request (row 0..kRows-1).
    QLabel* label(int row);
    QLineEdit* edit(int row);
    QFrame* panel() const { return pnl_cv; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeSeparators();
    // Makes the controls of rows 0..count-1 that do not exist yet, in row order.
    void makeRows(int count);

    hz::Session& m_session;
    QFrame* pnl_cv = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QFrame* Line3 = nullptr;
    std::array<QLabel*, kRows> m_labels{};
    std::array<QLineEdit*, kRows> m_edits{};
    std::array<int, kRows> m_cvAddress{};
    int m_rowsMade = 0;
    int m_cvCount = 0;
};
