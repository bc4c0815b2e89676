#pragma once
// The main window as a desktop program: the menu bar ("Datei", "Bearbeiten", "Hilfe") with its
// shortcuts, the list of recently opened files, the window title with the loaded file's name
// and the unsaved mark, and .hex files dropped on the window.
//
// A menu entry that stands for a button clicks that button, so both run the same handler with
// the same questions and messages, and the entry is enabled exactly while its button is.

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

#include "core/editor/Editor.h"

class QAction;
class QKeyEvent;
class QMenu;
class QMimeData;
class QPushButton;
class LayoutOverviewDialog;
class MenuWindow;

// The first local file of `data` whose name ends in ".hex" (any letter case); empty when there
// is none.
QString firstHexFile(const QMimeData* data);

class MainMenu : public QObject {
    Q_OBJECT

public:
    // `open` loads a file as "HEX laden" does after its dialog: the unsaved-changes question
    // first, then the load and the folder browsing of "<" and ">".
    MainMenu(MenuWindow& window, std::function<void(const QString&)> open);

    // What an operation of the editor changed: a file the user opened or saved under a name goes
    // to the top of the recent list (which the window writes into the settings file when it
    // closes); the title follows the file shown and the unsaved changes, the "Bearbeiten"
    // entries what the session's history can do, the file tools whether a file is shown.
    void showChanges(hz::Changes changes);
    void showSessionState();

    const QStringList& recentFiles() const { return m_recent; }
    QMenu* recentMenu() const { return m_recentMenu; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* buttonAction(QMenu* menu, const char* name, const QString& text, const QKeySequence& keys,
                          QPushButton* button);
    QAction* addAction(QMenu* menu, const char* name, const QString& text, const QKeySequence& keys);
    void fillRecentMenu();
    void remember(const QString& file);
    hz::Editor& editor() const;
    // The file the window shows, empty when none.
    QString shownFile() const;
    // Whether a key pressed in one of the window's widgets is the undo or redo shortcut.
    bool windowTakesShortcut(QObject* receiver, QKeyEvent* key) const;
    // The entries that work on the shown file: enabled while a file of a known decoder type is.
    void refreshFileTools();
    void showAbout();
    // Datei > Anlagen-Übersicht…: asks for a folder and shows its decoders (one window, kept).
    void showLayoutOverview();

    MenuWindow& m_window;
    std::function<void(const QString&)> m_open;
    QString m_baseTitle;
    QStringList m_recent;
    QMenu* m_recentMenu = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QAction* m_revert = nullptr;
    LayoutOverviewDialog* m_overview = nullptr;
    std::vector<std::pair<QPushButton*, QAction*>> m_mirrors; // actions enabled as their button
    std::vector<QAction*> m_fileTools;                        // enabled while a file of a known decoder type is loaded
};
