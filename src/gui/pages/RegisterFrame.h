#pragma once
// The CV register page in the window: a thin frame over the core model
// (pages/register/RegisterPage). The model lays out the rows and reads and writes the image;
// the frame only chooses the font in which the captions of the shown list fit before their
// edit fields - that needs the screen's font metrics - and shows each caption in full as the
// label's tool tip (the model's hint).

#include <QFont>

#include "core/pages/register/RegisterPage.h"
#include "gui/pages/PageFrame.h"

class QLabel;
class QLineEdit;

class RegisterFrame : public PageFrame {
    Q_OBJECT
public:
    static constexpr int kRows = hz::pages::RegisterPage::kRows;

    RegisterFrame(hz::pages::RegisterPage& page, QWidget* parent);

    hz::pages::RegisterPage& page() { return m_register; }
    // The controls of a row, made at the first request (row 0..kRows-1).
    QLabel* label(int row);
    QLineEdit* edit(int row);
    QFrame* panel();
    // The font the captions of the shown list share.
    QFont captionFont() const { return m_captionFont; }

protected:
    void styleWidget(const hz::pages::Control& c, QWidget* w) override;
    // The caption font follows the list shown.
    void beforeRefresh() override;

private:
    hz::pages::RegisterPage& m_register;
    int m_fontFor = 0; // the list the caption font was chosen for
    QFont m_captionFont;
};
