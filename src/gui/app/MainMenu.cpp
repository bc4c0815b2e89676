#include "gui/app/MainMenu.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <string>

#include "core/Version.h"
#include "gui/app/QtText.h"
#include "gui/app/Settings.h"
#include "gui/app/SheetPrinting.h"
#include "gui/app/TFormMain.h"
#include "gui/pages/AddressRowsFrame.h"
#include "gui/pages/PageFrame.h"

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

MainMenu::MainMenu(TFormMain& window, std::function<void(const QString&)> open)
    : QObject(&window), m_window(window), m_open(std::move(open)), m_baseTitle(window.windowTitle()),
      m_recent(ReadRecentFiles(window.settingsPath()))
{
    QMenuBar* bar = window.menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));

    QMenu* file = bar->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("menu_file"));
    buttonAction(file, "act_open", QStringLiteral("Ö&ffnen…"), QKeySequence(Qt::CTRL | Qt::Key_O), window.btn_load);
    m_recentMenu = file->addMenu(QStringLiteral("&Zuletzt geöffnet"));
    m_recentMenu->setObjectName(QStringLiteral("menu_recent"));
    // Built anew each time it opens, so that a file gone since (a stick pulled out) shows so.
    connect(m_recentMenu, &QMenu::aboutToShow, this, &MainMenu::fillRecentMenu);
    file->addSeparator();
    // The save always asks for the name, proposing the loaded file's: a decoder's firmware is
    // often saved beside the original under a new name, and overwriting the file it came from
    // without a look would lose the only copy of the factory state. So both entries run the
    // one sequence of "speichern", and Ctrl+S only spares the way to the button.
    buttonAction(file, "act_save", QStringLiteral("&Speichern"), QKeySequence(Qt::CTRL | Qt::Key_S), window.btn_save);
    buttonAction(file, "act_save_as", QStringLiteral("Speichern &unter…"),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), window.btn_save);
    file->addSeparator();
    buttonAction(file, "act_prev", QStringLiteral("&Vorherige Datei im Ordner"), {}, window.btn_prev);
    buttonAction(file, "act_next", QStringLiteral("&Nächste Datei im Ordner"), {}, window.btn_next);
    file->addSeparator();
    // The settings sheet to file with the decoder, of a file whose type is known.
    m_sheetActions = {addAction(file, "act_print_sheet", QStringLiteral("Einstellungsblatt &drucken…"), {}),
                      addAction(file, "act_sheet_pdf", QStringLiteral("Einstellungsblatt als &PDF…"), {})};
    connect(m_sheetActions[0], &QAction::triggered, this,
            [this] { hz::gui::PrintSettingsSheet(m_window.session, m_file, &m_window, m_window.printDialog()); });
    connect(m_sheetActions[1], &QAction::triggered, this,
            [this] { hz::gui::SaveSettingsSheetPdf(m_window.session, m_file, &m_window, m_window.fileDialogs()); });
    refreshSheetActions();
    file->addSeparator();
    buttonAction(file, "act_quit", QStringLiteral("&Beenden"), QKeySequence(Qt::CTRL | Qt::Key_Q), window.btn_close);

    // Undo, redo and the return to the file's state belong to the session's snapshots; they are
    // wired there, and until then these entries stay disabled and do nothing.
    QMenu* edit = bar->addMenu(QStringLiteral("&Bearbeiten"));
    edit->setObjectName(QStringLiteral("menu_edit"));
    addAction(edit, "act_undo", QStringLiteral("&Rückgängig"), QKeySequence(Qt::CTRL | Qt::Key_Z))->setEnabled(false);
    addAction(edit, "act_redo", QStringLiteral("&Wiederherstellen"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z))
        ->setEnabled(false);
    addAction(edit, "act_revert", QStringLiteral("Auf &Dateistand zurücksetzen"), {})->setEnabled(false);

    QMenu* help = bar->addMenu(QStringLiteral("&Hilfe"));
    help->setObjectName(QStringLiteral("menu_help"));
    // The manual is the documentation page of the loaded firmware, as the web button shows it.
    buttonAction(help, "act_manual", QStringLiteral("&Handbuch"), QKeySequence(Qt::Key_F1), window.btn_goweb);
    connect(addAction(help, "act_about", QStringLiteral("Ü&ber HEX Zwirbel"), {}), &QAction::triggered, this,
            &MainMenu::showAbout);

    fillRecentMenu();
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    // Every user edit reaches the session through a frame, which says so.
    for (PageFrame* frame : window.frames())
        connect(frame, &PageFrame::modelEvent, this, &MainMenu::refreshTitle);
    connect(&window.addressRows(), &PageFrame::modelEvent, this, &MainMenu::refreshTitle);
}

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
    if (watched != &m_window)
        return false;
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

void MainMenu::loaded(const QString& file, hz::LoadOutcome outcome)
{
    if (outcome == hz::LoadOutcome::Done)
        m_file = file;
    else if (outcome == hz::LoadOutcome::Stopped)
        m_file.clear(); // nothing of any file is shown
    refreshTitle();
    refreshSheetActions();
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

void MainMenu::saved(const QString& file)
{
    m_file = file;
    remember(file);
    refreshTitle();
}

void MainMenu::refreshSheetActions()
{
    const bool known = !m_file.isEmpty() && m_window.session.ident.Type;
    for (QAction* action : m_sheetActions)
        action->setEnabled(known);
}

void MainMenu::refreshTitle()
{
    if (m_file.isEmpty()) {
        m_window.setWindowTitle(m_baseTitle);
        m_window.setWindowModified(false);
        return;
    }
    m_window.setWindowTitle(m_baseTitle + QStringLiteral(" - ") + QFileInfo(m_file).fileName() + QStringLiteral("[*]"));
    m_window.setWindowModified(m_window.session.HasUnsavedChanges());
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
    const std::string text = std::string("HEX Zwirbel ") + hz::kProgramVersion +
                             "\n\nFür HEX Zwirbel ist noch keine Lizenz festgelegt. Bis dahin behalten die Urheber "
                             "alle Rechte.";
    m_window.session.prompter().tell(hz::MsgKind::Plain, text, hz::Buttons::Ok);
}
