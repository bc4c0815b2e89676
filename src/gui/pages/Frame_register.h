#pragma once
// The CV register page: the configuration variables of the decoders that are set up as plain
// CVs, one row per CV with its caption and a small edit field holding the EEPROM byte in
// decimal. A valid number typed into a field goes into the image at once; there is no accept
// button.

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
    // image, and shows the rows in use.
    void ShowCvList();
    // Change handler of every row's edit field.
    void CvEditChange(QLineEdit* sender);

    int CvCount() const { return m_cvCount; }
    int CvAddress(int row) const { return m_cvAddress[static_cast<std::size_t>(row)]; }
    QLabel* label(int row) const { return m_labels[static_cast<std::size_t>(row)]; }
    QLineEdit* edit(int row) const { return m_edits[static_cast<std::size_t>(row)]; }
    QFrame* panel() const { return pnl_cv; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeSeparators();

    hz::Session& m_session;
    QFrame* pnl_cv = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QFrame* Line3 = nullptr;
    std::array<QLabel*, kRows> m_labels{};
    std::array<QLineEdit*, kRows> m_edits{};
    std::array<int, kRows> m_cvAddress{};
    int m_cvCount = 0;
};
