#pragma once
// The HEX information dialog: the configuration and ID words, the EEPROM and program-memory
// listings of the loaded firmware, and the comparison with a second HEX file. It shows what
// core/inspect/HexInfo computes and only reads the image.

#include <QDialog>
#include <QFont>
#include <QPoint>
#include <QRect>

#include <array>

#include "core/Prompter.h"
#include "core/firmware/FirmwareImage.h"
#include "core/inspect/HexInfo.h"
#include "gui/common/FileDialogs.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace hz::gui {
// Whether every hex digit, "x", "." ":" "$" and the blank are equally wide in `font`: what the
// listings need to line up in columns.
bool hasEvenAdvance(const QFont& font);
// The font of the listings: the first of the system's fixed font and the usual monospaced
// families whose characters are equally wide.
QFont listingFont();
// Where a window `placed` so goes on `screen` (the available part): moved right and down where
// its left or top edge would stand off the screen.
QPoint onScreen(const QRect& placed, const QRect& screen);
} // namespace hz::gui

class InfoDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 978;
    static constexpr int kClientHeight = 662;

    // Fills every control from `image`. Messages about the second file go to `prompter`, the
    // second file is asked for with `dialogs`. Centred on `owner`.
    InfoDialog(const hz::FirmwareImage& image, hz::Prompter& prompter, hz::gui::FileDialogs& dialogs,
               QWidget* owner = nullptr);

    // "vergleiche mit 2. HEX-File": asks for the second file and shows the comparison.
    void btn_compareClick();
    void btn_closeClick();

    // Controls, named as in the dialog description.
    QFrame* Info = nullptr;
    QLabel* Label3 = nullptr;
    std::array<QLineEdit*, 4> edt_config{}; // edt_config_1..4
    QLabel* lbl_ID = nullptr;
    std::array<QLineEdit*, 4> edt_ID{}; // edt_ID_1..4
    QLabel* Label4 = nullptr;
    QPlainTextEdit* Memo1a = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lbl_anzahl = nullptr;
    QPlainTextEdit* Memo3a = nullptr;
    QPushButton* btn_compare = nullptr;
    QPushButton* btn_close = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 2> StatusPanels{};

private:
    void createControls();
    // Copies the texts of m_info into the controls.
    void showInfo();

    const hz::FirmwareImage& m_image;
    hz::Prompter& m_prompter;
    hz::gui::FileDialogs& m_dialogs;
    hz::HexInfo m_info;
};
