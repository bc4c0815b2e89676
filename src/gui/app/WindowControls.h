#pragma once
// The main window's own controls - the address group box with the decoder's name above the
// rows, the group of load and save buttons with the progress bar, the link picture and the
// web button, the status bar - made once, and arranged around the page a decoder shows.
//
// All of them are placed with absolute pixel geometry; the arrangement formulas below are
// what the decoder pages were designed against, so no Qt layouts are used for them. Window
// sizes are those of the window's client area (status bar included); the menu bar, where the
// window has one, comes on top of them.

#include <array>
#include <string>

#include <QString>

#include "core/editor/WindowLayout.h"

class QGroupBox;
class QLabel;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QWidget;

namespace hz {
struct StatusPanels;
}

class WindowControls {
public:
    // The pattern of the picture link, of our own making.
    static constexpr int kImageWidth = hz::kLinkPictureWidth;
    static constexpr int kImageHeight = hz::kLinkPictureHeight;

    // Controls, named as the window has always named them (their object names).
    QWidget* central = nullptr;
    QGroupBox* GroupBoxMain = nullptr;
    QLabel* lbl_header = nullptr;
    QLabel* lbl_start = nullptr; // what to do in a window without a file
    QGroupBox* GroupBoxButtons = nullptr;
    QPushButton* btn_prev = nullptr;
    QPushButton* btn_load = nullptr;
    QPushButton* btn_next = nullptr;
    QPushButton* btn_save = nullptr;
    QPushButton* btn_info = nullptr;
    QPushButton* btn_close = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QGroupBox* GroupBoxImage = nullptr;
    QLabel* Image2 = nullptr;
    QPushButton* btn_goweb = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 4> StatusPanels{};
    // Right of the four panels: the decoder type and its version (shortened with "…" where the
    // window is too narrow for it; the tool tip then holds it whole).
    QLabel* StatusTypePanel = nullptr;

    // The lower groups start at `left` (the link picture) and `right` (the buttons), below a
    // page `height` high and `width` wide; the window takes the size that holds them, and
    // keeps it: the pages are laid out in pixels, so a larger window would only add an empty
    // margin, and a smaller one would cut the page.
    void ArrangeWindow(int left, int right, int height, int width);

protected:
    explicit WindowControls(QMainWindow& window) : m_window(window) {}
    // Makes every control, hidden where the window starts without it.
    void createControls();
    // The decoder name in the header, at the largest of 15, 13, 11, 10 and 9 points that fits
    // the address group box.
    void showHeader(const std::string& name);
    void showStatus(const hz::StatusPanels& status);
    // The progress bar clamps to 0..maximum; it shows while the work runs ...
    void showProgress(int maximum, int position);
    // ... and goes back to 0 and out of sight when the load is done or stopped; the hint of
    // the empty window shows again where the load left no file.
    void endProgress(bool fileLoaded);

private:
    // The type panel as wide as its text, within what the window leaves beside the four panels.
    void fitTypePanel();

    QMainWindow& m_window;
    QString m_typeText;
};
