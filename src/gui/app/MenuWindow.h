#pragma once
// What the menu bar needs of the main window: the window itself, its buttons, the editor core
// it works through (with the signal of what changed), and the commands that have no button. The
// main window implements this; the menu knows nothing more of it, so the window can own its menu.

#include <QString>

#include <functional>

class EditorAdapter;
class QMainWindow;
class QPrinter;
class QWidget;
class WindowControls;
namespace hz::gui {
class FileDialogs;
}

class MenuWindow {
public:
    virtual QMainWindow& mainWindow() = 0;
    virtual WindowControls& controls() = 0;
    virtual EditorAdapter& editorAdapter() = 0;
    virtual QString settingsPath() const = 0;
    // The file dialogs and the print dialog the window asks through (its own, or a test's).
    virtual hz::gui::FileDialogs& fileDialogs() = 0;
    virtual const std::function<bool(QPrinter&, QWidget*)>& printDialog() const = 0;
    // "Vergleichen mit…", "Einstellungen übernehmen aus…" and "Hilfe ▸ Handbuch".
    virtual void compareWithFile() = 0;
    virtual void takeSettingsFromFile() = 0;
    virtual void showManual() = 0;

protected:
    ~MenuWindow() = default;
};
