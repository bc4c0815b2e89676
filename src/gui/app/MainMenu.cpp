#include "gui/app/MainMenu.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <string>

#include "core/Session.h"
#include "core/Version.h"
#include "gui/app/EditorAdapter.h"
#include "gui/app/MenuWindow.h"
#include "gui/app/Settings.h"
#include "gui/app/SheetPrinting.h"
#include "gui/app/WindowControls.h"
#include "gui/common/QtText.h"
#include "gui/tools/LayoutOverviewDialog.h"

QString firstHexFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (path.endsWith(QLatin1String(".hex"), Qt::CaseInsensitive))
            return path;
    }
    return {};
}

MainMenu::MainMenu(MenuWindow& window, std::function<void(const QString&)> open)
    : QObject(&window.mainWindow()), m_window(window), m_open(std::move(open)),
      m_baseTitle(window.mainWindow().windowTitle()), m_recent(ReadRecentFiles(window.settingsPath()))
{
    QMenuBar* bar = window.mainWindow().menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));

    QMenu* file = bar->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("menu_file"));
    buttonAction(file, "act_open", QStringLiteral("Ö&ffnen…"), QKeySequence(Qt::CTRL | Qt::Key_O),
                 window.controls().btn_load);
    m_recentMenu = file->addMenu(QStringLiteral("&Zuletzt geöffnet"));
    m_recentMenu->setObjectName(QStringLiteral("menu_recent"));
    // Built anew each time it opens, so that a file gone since (a stick pulled out) shows so.
    connect(m_recentMenu, &QMenu::aboutToShow, this, &MainMenu::fillRecentMenu);
    file->addSeparator();
    // The save always asks for the name, proposing the loaded file's (after a save, the name
    // saved to): a decoder's firmware is often saved beside the original under a new name, and
    // overwriting the file it came from without a look would lose the only copy of the factory
    // state. So both entries run the one sequence of "speichern", and Ctrl+S only spares the
    // way to the button.
    buttonAction(file, "act_save", QStringLiteral("&Speichern"), QKeySequence(Qt::CTRL | Qt::Key_S),
                 window.controls().btn_save);
    buttonAction(file, "act_save_as", QStringLiteral("Speichern &unter…"),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), window.controls().btn_save);
    file->addSeparator();
    buttonAction(file, "act_prev", QStringLiteral("&Vorherige Datei im Ordner"), {}, window.controls().btn_prev);
    buttonAction(file, "act_next", QStringLiteral("&Nächste Datei im Ordner"), {}, window.controls().btn_next);
    file->addSeparator();
    // What works on the shown file with another one, the settings sheet to file with the
    // decoder, and the whole layout: there are no buttons for these.
    QAction* compare = addAction(file, "act_compare", QStringLiteral("Ver&gleichen mit…"), {});
    QAction* migrate = addAction(file, "act_migrate", QStringLiteral("&Einstellungen übernehmen aus…"), {});
    file->addSeparator();
    QAction* print = addAction(file, "act_print_sheet", QStringLiteral("Einstellungsblatt &drucken…"), {});
    QAction* pdf = addAction(file, "act_sheet_pdf", QStringLiteral("Einstellungsblatt als &PDF…"), {});
    file->addSeparator();
    connect(addAction(file, "act_overview", QStringLiteral("&Anlagen-Übersicht…"), {}), &QAction::triggered, this,
            &MainMenu::showLayoutOverview);
    file->addSeparator();
    connect(compare, &QAction::triggered, this, [&window] { window.compareWithFile(); });
    connect(migrate, &QAction::triggered, this, [&window] { window.takeSettingsFromFile(); });
    connect(print, &QAction::triggered, this,
            [this] { hz::gui::PrintSettingsSheet(editor(), &m_window.mainWindow(), m_window.printDialog()); });
    connect(pdf, &QAction::triggered, this,
            [this] { hz::gui::SaveSettingsSheetPdf(editor(), &m_window.mainWindow(), m_window.fileDialogs()); });
    m_fileTools = {compare, migrate, print, pdf};
    refreshFileTools();
    buttonAction(file, "act_quit", QStringLiteral("&Beenden"), QKeySequence(Qt::CTRL | Qt::Key_Q),
                 window.controls().btn_close);

    // Undo, redo and the return to the file's state work on the session's history of whole
    // editable states, so every kind of edit - rows, R/G, page controls, strokes - goes back alike.
    QMenu* edit = bar->addMenu(QStringLiteral("&Bearbeiten"));
    edit->setObjectName(QStringLiteral("menu_edit"));
    m_undo = addAction(edit, "act_undo", QStringLiteral("&Rückgängig"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(m_undo, &QAction::triggered, this, [this] { editor().undo(); });
    m_redo = addAction(edit, "act_redo", QStringLiteral("&Wiederherstellen"),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    connect(m_redo, &QAction::triggered, this, [this] { editor().redo(); });
    m_revert = addAction(edit, "act_revert", QStringLiteral("Auf &Dateistand zurücksetzen"), {});
    connect(m_revert, &QAction::triggered, this, [this] { editor().revertToFile(); });

    QMenu* help = bar->addMenu(QStringLiteral("&Hilfe"));
    help->setObjectName(QStringLiteral("menu_help"));
    // The manual itself; the web button leads to the page of the loaded decoder type.
    connect(addAction(help, "act_manual", QStringLiteral("&Handbuch"), QKeySequence(Qt::Key_F1)), &QAction::triggered,
            this, [&window] { window.showManual(); });
    connect(addAction(help, "act_about", QStringLiteral("Ü&ber HEX Zwirbel"), {}), &QAction::triggered, this,
            &MainMenu::showAbout);

    for (QAction* action : m_fileTools)
        action->setEnabled(false); // until a file of a known decoder type is loaded
    fillRecentMenu();
    window.mainWindow().setAcceptDrops(true);
    window.mainWindow().installEventFilter(this);
    // The filter on the application sees every widget of the window, also the line edits the
    // pages and rows make as they need them: drops on them, and their undo shortcut. A text
    // field would take Ctrl+Z for its own undo, which knows only that field; the window's
    // history already keeps the keystrokes in one field as one step.
    qApp->installEventFilter(this);
    connect(&window.editorAdapter(), &EditorAdapter::changed, this, &MainMenu::showChanges);
}

hz::Editor& MainMenu::editor() const { return m_window.editorAdapter().editor(); }

QString MainMenu::shownFile() const { return hz::gui::fromPath(editor().file()); }

QAction* MainMenu::addAction(QMenu* menu, const char* name, const QString& text, const QKeySequence& keys)
{
    auto* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    return action;
}

QAction* MainMenu::buttonAction(QMenu* menu, const char* name, const QString& text, const QKeySequence& keys,
                                QPushButton* button)
{
    QAction* action = addAction(menu, name, text, keys);
    connect(action, &QAction::triggered, button, [button] { button->click(); });
    action->setEnabled(button->isEnabled());
    button->installEventFilter(this);
    m_mirrors.emplace_back(button, action);
    return action;
}

bool MainMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        for (const auto& [button, action] : m_mirrors)
            if (button == watched)
                action->setEnabled(button->isEnabled());
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride && windowTakesShortcut(watched, static_cast<QKeyEvent*>(event)))
        return true; // not accepted: the shortcut goes to the menu entry
    if (watched != &m_window.mainWindow()) {
        // A .hex file dropped on a line edit of the window is a file for the window, as
        // anywhere else on it - not its path as text for the field. Other drops are the edit's.
        const auto type = event->type();
        const auto* edit = qobject_cast<const QLineEdit*>(watched);
        if ((type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) || !edit ||
            edit->window() != &m_window.mainWindow() ||
            firstHexFile(static_cast<QDropEvent*>(event)->mimeData()).isEmpty())
            return false;
    }
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (firstHexFile(drag->mimeData()).isEmpty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString file = firstHexFile(drop->mimeData());
        if (file.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        // After the drop has ended: the source waits for its end while a question is open.
        QTimer::singleShot(0, this, [this, file] { m_open(file); });
        return true;
    }
    default: return false;
    }
}

bool MainMenu::windowTakesShortcut(QObject* receiver, QKeyEvent* key) const
{
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || widget->window() != &m_window.mainWindow())
        return false;
    const QKeySequence pressed(key->keyCombination());
    return pressed == m_undo->shortcut() || pressed == m_redo->shortcut();
}

void MainMenu::showChanges(hz::Changes changes)
{
    if (changes.has(hz::Change::Recent))
        remember(shownFile());
    if (changes.has(hz::Change::File))
        refreshFileTools();
    showSessionState();
}

void MainMenu::remember(const QString& file)
{
    const QString path = QFileInfo(file).absoluteFilePath();
    m_recent.removeAll(path);
    m_recent.prepend(path);
    while (m_recent.size() > kRecentFilesMax)
        m_recent.removeLast();
    // Written with the other settings when the window closes.
    fillRecentMenu();
}

void MainMenu::refreshFileTools()
{
    const bool known = !editor().file().empty() && editor().settingsToolsAvailable();
    for (QAction* action : m_fileTools)
        action->setEnabled(known);
}

void MainMenu::showSessionState()
{
    const hz::Session& session = editor().session();
    const QString file = shownFile();
    m_undo->setEnabled(session.canUndo());
    m_redo->setEnabled(session.canRedo());
    m_revert->setEnabled(!file.isEmpty() && session.HasUnsavedChanges());
    if (file.isEmpty()) {
        m_window.mainWindow().setWindowTitle(m_baseTitle);
        m_window.mainWindow().setWindowModified(false);
        return;
    }
    // The decoder type and its version follow the file's name: on pages that cover the address
    // area the header above the rows is hidden, and the title is where the type always shows.
    const std::string type = session.statusTexts().type;
    m_window.mainWindow().setWindowTitle(
        m_baseTitle + QStringLiteral(" - ") + QFileInfo(file).fileName() +
        (type.empty() ? QString() : QStringLiteral(" (%1)").arg(hz::gui::fromStd(type))) + QStringLiteral("[*]"));
    m_window.mainWindow().setWindowModified(session.HasUnsavedChanges());
}

void MainMenu::fillRecentMenu()
{
    m_recentMenu->clear();
    for (const QString& file : m_recent) {
        // A file that is gone stays in the list, disabled: it may come back with its stick.
        QAction* action = m_recentMenu->addAction(QDir::toNativeSeparators(file));
        action->setEnabled(QFileInfo::exists(file));
        connect(action, &QAction::triggered, this, [this, file] { m_open(file); });
    }
    m_recentMenu->menuAction()->setEnabled(!m_recent.isEmpty());
}

void MainMenu::showAbout()
{
    // The program's version and the date of the window's layout (the one in the title), so the
    // two numbers the user meets are explained in one place.
    const QString text =
        QStringLiteral("HEX Zwirbel\nProgrammversion %1\nFensteraufbau vom %2 (das Datum im Fenstertitel)\n\n"
                       "HEX Zwirbel ändert die Einstellungen von Modellbahn-Decodern, die in der Firmware des PIC "
                       "stehen: Adressen, CVs, Zusatzfunktionen, Servokurven und Blinkmuster. Es lädt die HEX-Datei "
                       "der Firmware, erkennt Decoder-Typ und Version und speichert eine neue HEX-Datei, die Sie "
                       "dann mit Ihrem Programmiergerät in den PIC brennen.\n\n"
                       "Für HEX Zwirbel ist noch keine Lizenz festgelegt. Bis dahin behalten die Urheber alle Rechte.")
            .arg(QString::fromLatin1(hz::kProgramVersion), QString::fromLatin1(hz::kLayoutDate));
    QMessageBox box(QMessageBox::Information, QStringLiteral("Über HEX Zwirbel"), text, QMessageBox::Ok,
                    &m_window.mainWindow());
    box.setObjectName(QStringLiteral("about_box"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MainMenu::showLayoutOverview()
{
    if (!m_overview)
        m_overview = new LayoutOverviewDialog(m_window.fileDialogs(), editor().session().prompter(), m_open,
                                              &m_window.mainWindow());
    const QString loaded = hz::gui::fromPath(editor().session().image.LastFileName);
    const QString proposed = !m_overview->folder().isEmpty() ? m_overview->folder()
                             : loaded.isEmpty()              ? QDir::homePath()
                                                             : QFileInfo(loaded).absolutePath();
    if (!m_overview->chooseFolder(proposed) && !m_overview->hasScanned())
        return;
    m_overview->show();
    m_overview->raise();
    m_overview->activateWindow();
}
