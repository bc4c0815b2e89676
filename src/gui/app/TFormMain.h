#pragma once
// The main window: owner of the one Session (image, identification, address page, page
// models), the load and save sequences, the status bar and the arrangement of the window
// around the shown page. The address rows live in AddressRowsView, the page frames in
// PageHostView; the frames are thin mirrors of the session's page models (pages/PageFrame.h).
//
// All arranged controls are placed with absolute pixel geometry; the page formulas below are
// what the decoder pages were designed against, so no Qt layouts are used for them. Window
// sizes are those of the window's client area (status bar included).

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Session.h"
#include "core/SessionView.h"
#include "core/pages/servo/KornelPage.h"
#include "gui/app/AddressRowsView.h"
#include "gui/app/FileDialogs.h"
#include "gui/app/FolderBrowser.h"
#include "gui/app/MessageBoxPrompter.h"
#include "gui/app/PageHostView.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class PageHostView;
class PageFrame;

namespace hz::gui {

// What the window needs from its surroundings. Every member may stay empty; the window then
// uses message boxes, QFileDialog, QDesktopServices and the settings file next to the program.
struct MainWindowServices {
    Prompter* prompter = nullptr;
    FileDialogs* dialogs = nullptr;
    std::function<void(const QString& url)> openUrl;
    QString settingsPath;
    // Replaces the HEX information dialog that "HEX Info" opens modally (InfoDialog).
    std::function<void(QWidget* owner)> showInfo;
};

} // namespace hz::gui

class TFormMain : public QMainWindow, public hz::SessionView {
    Q_OBJECT

public:
    static constexpr int kRows = hz::AddressPage::kRows;
    // The pattern of the picture link, of our own making.
    static constexpr int kImageWidth = 200;
    static constexpr int kImageHeight = 32;

    explicit TFormMain(hz::gui::MainWindowServices services = {}, QWidget* parent = nullptr);
    ~TFormMain() override;

private:
    // The one prompter of the window: message boxes, or the answers of services.prompter. It
    // needs nothing but the window to exist, so it comes first and the session can hold it.
    hz::gui::MessageBoxPrompter m_prompter;

public:
    hz::Session session;
    FolderBrowser browser;
    // Grid of the servo curve editor: the curve page keeps and changes it, the settings file
    // stores it.
    int& RasterX = session.pages.page<hz::pages::KornelPage>().RasterX;
    int& RasterY = session.pages.page<hz::pages::KornelPage>().RasterY;

    // Sequences and handlers (also reachable from the tests and from main()).
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

    // Page host: the session's page host shows the models, these place the frames.
    void ShowPage(int kind) override;
    void HidePages() override;
    void ArrangeWindow(int left, int right, int height, int width);
    void ResetLayout() override;
    void FitHeader(const std::string& name) override;
    // Before the loaded file is left (another load, "Ende", the close box): asks
    // "Die Änderungen wurden nicht gespeichert. Trotzdem fortfahren?" when the image, the
    // address rows or a page's working copy differ from what was last loaded or saved.
    // False: stay with everything.
    bool ConfirmDiscardChanges();
    // The page frames in the host's order.
    const std::vector<PageFrame*>& frames() const { return m_pageHost->frames(); }

    // Address page.
    void LayoutRows(int columnBreak, int gap) override;
    void ShowRows() override;
    void ColourRows() override;
    void HideAllRows() override;

    QString settingsPath() const { return m_settingsPath; }

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

    // The 48 address rows; AddressRows[k] makes row k's widgets at the first request.
    AddressRowsView AddressRows;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // SessionView: the rest of what the load sequence asks of the window.
    void SetProgress(int maximum, int position) override;
    void RowTextsChanged(int row) override;
    void FocusRow(int row, bool functionField) override;
    void DocPageChanged(const std::string& url) override;

    void createControls();
    void createFrames();
    void connectHandlers();
    // Runs an event handler; an exception is shown as an error and the program goes on.
    void guarded(const std::function<void()>& handler);
    void refreshStatus();
    void openUrl(const QString& url);
    // The current state is what was loaded or saved: unsaved changes are measured from here.
    void markSaved();
    // LoadFile after ConfirmDiscardChanges; false when nothing was loaded (no name, or No).
    bool loadAfterAsking(const QString& fileName);

    hz::gui::MainWindowServices m_services;
    std::unique_ptr<hz::gui::FileDialogs> m_ownDialogs;
    hz::gui::FileDialogs* m_dialogs = nullptr;
    QString m_settingsPath;
    std::unique_ptr<PageHostView> m_pageHost;
    bool m_closeConfirmed = false;
};
