#pragma once
// The main window: owner of the one Session (image, identification, address rows, page
// models) and of the editor core whose operations its buttons and menu run; what an operation
// changed comes back through EditorAdapter and the window redraws it. Its own controls and
// their arrangement are WindowControls; the address rows' frame stands in the address group
// box, the page frames in PageHostView, all thin mirrors of the session's page models.

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Session.h"
#include "core/SessionView.h"
#include "core/editor/Editor.h"
#include "core/pages/servo/KornelPage.h"
#include "gui/app/MainWindowServices.h"
#include "gui/app/MenuWindow.h"
#include "gui/app/WindowControls.h"
#include "gui/common/MessageBoxPrompter.h"

class AddressRowsFrame;
class EditorAdapter;
class MainMenu;
class PageFrame;
class PageHostView;

class TFormMain : public QMainWindow, public WindowControls, public hz::SessionView, public MenuWindow {
    Q_OBJECT

public:
    static constexpr int kRows = hz::pages::AddressPage::kRows;

    explicit TFormMain(hz::gui::MainWindowServices services = {}, QWidget* parent = nullptr);
    ~TFormMain() override;

private:
    // The one prompter of the window: message boxes, or the answers of services.prompter. It
    // needs nothing but the window to exist, so it comes first and the session can hold it.
    hz::gui::MessageBoxPrompter m_prompter;

public:
    hz::Session session;
    // The user's commands as operations over the session (and what they changed).
    hz::Editor editor{session};
    // Grid of the servo curve editor: the curve page keeps and changes it, the settings file
    // stores it.
    int& RasterX = session.pages.page<hz::pages::KornelPage>().RasterX;
    int& RasterY = session.pages.page<hz::pages::KornelPage>().RasterY;

    // Handlers (also reachable from the tests and from main()). LoadFile: the load of a file
    // named at start-up, without the question about unsaved changes.
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
    // The documentation page of the decoder type shown (the manual's start while none is).
    void btn_gowebClick();
    // "Hilfe ▸ Handbuch" and F1: the manual's index, or the documentation site's start when a
    // base address is set.
    void showManual() override;
    void gointoweb();
    // "Vergleichen mit…" and "Einstellungen übernehmen aus…" of the file menu (gui/tools).
    void compareWithFile() override;
    void takeSettingsFromFile() override;

    // The page frames in the host's order; the 48 address rows (addressRows()[k] makes row
    // k's widgets at the first request).
    const std::vector<PageFrame*>& frames() const;
    AddressRowsFrame& addressRows() { return *m_rows; }
    QString settingsPath() const override { return m_settingsPath; }
    // The file dialogs and the print dialog the window asks through (its own, or a test's).
    hz::gui::FileDialogs& fileDialogs() override { return *m_dialogs; }
    const std::function<bool(QPrinter&, QWidget*)>& printDialog() const override { return m_services.printDialog; }
    // MenuWindow: the window as its menu sees it.
    QMainWindow& mainWindow() override { return *this; }
    WindowControls& controls() override { return *this; }
    EditorAdapter& editorAdapter() override { return *m_changes; }

    // SessionView: what only the window does during a load. The core host has set up the
    // pages of a kind; they say where they stand, and the window arranges itself around them.
    void ShowPage(int kind) override;
    void HidePages() override;
    void ResetLayout() override { ArrangeWindow(5, 410, 500, 300); }
    void FitHeader(const std::string& name) override { showHeader(name); }
    void SetProgress(int maximum, int position) override { showProgress(maximum, position); }
    void DocPageChanged(const std::string& url) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectHandlers();
    // Runs an event handler; an exception is shown as an error and the program goes on.
    void guarded(const std::function<void()>& handler);
    // The parts an editor operation changed show what the session holds now.
    void showChanges(hz::Changes changes);
    // The status bar, the address rows and the menu's state, before every message.
    void refreshView();
    // The keyboard focus walks the window in reading order (core/pages/ReadingOrder.h).
    void orderFocus();
    // Where the user starts: the first field after a load, "HEX laden" without a file.
    void focusStart();
    // The documentation button names the page it opens, its hint where it opens.
    void showDocButton();
    // A documentation or web address, opened by OpenAddress.
    void openUrl(const QString& address);
    void readSettings();

    hz::gui::MainWindowServices m_services;
    std::unique_ptr<hz::gui::FileDialogs> m_ownDialogs;
    hz::gui::FileDialogs* m_dialogs = nullptr;
    QString m_settingsPath;
    std::unique_ptr<PageHostView> m_pageHost;
    MainMenu* m_menu = nullptr;
    AddressRowsFrame* m_rows = nullptr;
    EditorAdapter* m_changes = nullptr;
    bool m_closeConfirmed = false;
    std::vector<QWidget*> m_focusChain;
};
