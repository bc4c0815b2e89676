#pragma once
// The main window: owner of the one Session (image, identification, address page), the load
// and save sequences, the 48 address rows and the six editor frames, and the page host that
// arranges the window around the page of the loaded decoder type.
//
// All arranged controls are placed with absolute pixel geometry; the page formulas below are
// what the decoder pages were designed against, so no Qt layouts are used for them. Window
// sizes are those of the window's client area (status bar included).
//
// Object names of the address row controls, row k = 0..47 (children of GroupBoxMain):
//   lbl_adr_<k>   caption label        100 x 20
//   edt_adr_<k>   address field         40 x 20
//   edt_fkt_<k>   function-number field 30 x 20
//   btn_RG_<k>    R/G button            30 x 16

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "Session.h"
#include "SessionView.h"
#include "app/FileDialogs.h"
#include "app/FolderBrowser.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class TFrameRegister;

namespace hz::gui {

class MessageBoxPrompter;

// What the window needs from its surroundings. Every member may stay empty; the window then
// uses message boxes, QFileDialog, QDesktopServices and the settings file next to the program.
struct MainWindowServices {
    Prompter* prompter = nullptr;
    FileDialogs* dialogs = nullptr;
    std::function<void(const QString& url)> openUrl;
    QString settingsPath;
    // Opens the HEX information dialog modally with the window as owner.
    std::function<void(QWidget* owner)> showInfo;
};

} // namespace hz::gui

class TFormMain : public QMainWindow, public hz::SessionView {
    Q_OBJECT

public:
    static constexpr int kRows = 48;
    // The pattern of the picture link, of our own making.
    static constexpr int kImageWidth = 200;
    static constexpr int kImageHeight = 32;

    explicit TFormMain(hz::gui::MainWindowServices services = {}, QWidget* parent = nullptr);
    ~TFormMain() override;

private:
    // Declared before the session: the session holds a reference to the prompter.
    std::unique_ptr<hz::gui::MessageBoxPrompter> m_ownPrompter;
    hz::Prompter* m_prompter = nullptr;

public:
    hz::Session session;
    FolderBrowser browser;
    // Grid of the servo curve editor, kept here between reading and writing the settings.
    int RasterX = 0;
    int RasterY = 0;

    // Sequences (also reachable from the tests and from main()).
    hz::LoadOutcome LoadFile(const QString& fileName);
    // The second identification pass after a start-up load: layout, page and header only.
    void RedoLayout();
    void btn_loadClick();
    void btn_saveClick();
    // Returns whether the window was closed.
    bool btn_closeClick();
    void btn_infoClick();
    void btn_prevClick();
    void btn_nextClick();
    void btn_gowebClick();
    void gointoweb();
    void btn_RGClick(int row);

    // Page host.
    void ShowPage(int kind);
    void ArrangeWindow(int left, int right, int height, int width);
    void ResetLayout();
    void FitHeader(const QString& name);
    bool ConfirmPendingPageChanges();
    // Before the loaded file is left (another load, "Ende", the close box): asks
    // "Die Änderungen wurden nicht gespeichert. Trotzdem fortfahren?" when the image or the
    // address rows differ from what was last loaded or saved. False: stay with everything.
    bool ConfirmDiscardChanges();

    // Address page.
    void LayoutRows(int columnBreak, int gap);
    void ShowRows();
    void ColourRows();
    void HideAllRows();

    QString settingsPath() const { return m_settingsPath; }

    // SessionView.
    void hidePages() override;
    void resetLayout() override;
    void layoutRows(int columnBreak, int gap) override;
    void showPage(int kind) override;
    void fitHeader(const std::string& name) override;
    void showRows() override;
    void hideAllRows() override;
    void setProgress(int maximum, int position) override;
    void rowTextsChanged(int row) override;
    void focusRow(int row, bool functionField) override;
    void colourRows() override;
    void docPageChanged(const std::string& url) override;

    // Controls, named as in the window description.
    QWidget* central = nullptr;
    QGroupBox* GroupBoxMain = nullptr;
    QLabel* lbl_header = nullptr;
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

    QFrame* FrameZusatz1 = nullptr;
    QFrame* FrameBlinkmuster1 = nullptr;
    QFrame* FrameBlinkmuster_led1 = nullptr;
    QFrame* FrameKornelAdr1 = nullptr;
    QFrame* FrameKornel1 = nullptr;
    TFrameRegister* FrameRegister1 = nullptr;

    struct AddressRowControls {
        QLabel* caption = nullptr;
        QLineEdit* address = nullptr;
        QLineEdit* function = nullptr;
        QPushButton* rg = nullptr;
    };
    std::array<AddressRowControls, kRows> AddressRows{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createAddressRows();
    void createFrames();
    void connectHandlers();
    // Runs an event handler; an exception is shown as an error and the program goes on.
    void guarded(const std::function<void()>& handler);
    void refreshStatus();
    void syncCaptions();
    void copyRowTextsToSession();
    void openUrl(const QString& url);
    // The current state is what was loaded or saved: unsaved changes are measured from here.
    void markSaved();
    // LoadFile after ConfirmDiscardChanges; false when nothing was loaded (no name, or No).
    bool loadAfterAsking(const QString& fileName);
    bool m_closeConfirmed = false;

    hz::gui::MainWindowServices m_services;
    std::unique_ptr<hz::gui::FileDialogs> m_ownDialogs;
    hz::gui::FileDialogs* m_dialogs = nullptr;
    QString m_settingsPath;
};
