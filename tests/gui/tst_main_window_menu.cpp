// The window as a desktop program: the menu bar above the unchanged client area, the
// shortcuts that run the buttons' handlers, the title with the file and its unsaved mark,
// .hex files dropped on the window and the list of recently opened files.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <tuple>

#include "MainWindowHarness.h"
#include "core/Session.h"
#include "core/Version.h"
#include "core/editor/FolderBrowser.h"
#include "gui/app/MainMenu.h"
#include "gui/app/Settings.h"
#include "gui/app/TFormMain.h"

using namespace hz::test::window;

namespace {

const QString kTitle = QStringLiteral("Hex Zwirbel 2020-06-02");

QAction* action(TFormMain& w, const char* name) { return w.findChild<QAction*>(QString::fromLatin1(name)); }

// Shown and active, so that the window's shortcuts reach it.
void showActive(TFormMain& w)
{
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

bool loaded(const TFormMain& w, const QString& file) { return status(w)[3].startsWith(file); }

// Three firmwares side by side in `folder`, for "<" and ">".
QStringList threeFiles(const QDir& folder)
{
    const QStringList files{folder.filePath("a.hex"), folder.filePath("b.hex"), folder.filePath("c.hex")};
    QFile::copy(fx("classic_629_turnout.hex"), files[0]);
    QFile::copy(fx("classic_684_idbits.hex"), files[1]);
    QFile::copy(fx("classic_676_turntable.hex"), files[2]);
    return files;
}

} // namespace

class TstMainWindowMenu : public QObject {
    Q_OBJECT

private slots:
    void clientAreaBelowTheMenuBar();
    void entries();
    void shortcutsRunTheButtons_data();
    void shortcutsRunTheButtons();
    void saveFollowsTheButtonsState();
    void prevNextAndAbout();
    void titleFollowsFileAndChanges();
    void drop_data();
    void drop();
    void dropAsksAboutUnsavedChanges();
    void recentFiles();
    void recentFilesKeptInTheSettingsFile();
    void fileNamedAtStartUpIsOpenedAsAnyFile();
};

void TstMainWindowMenu::clientAreaBelowTheMenuBar()
{
    Harness h;
    TFormMain& w = h.make();
    showActive(w);
    const QWidget* bar = w.menuWidget();
    QVERIFY(bar && bar->isVisible());
    // Everything below the menu bar stands where it stood without one.
    QCOMPARE(w.centralWidget()->y(), bar->height());
    QCOMPARE(w.centralWidget()->height() + w.StatusBar1->height(),
             500 + w.StatusBar1->height() + w.GroupBoxButtons->height() + 50);
    QCOMPARE(w.GroupBoxMain->geometry(), QRect(5, 5, 400, 505));
    QCOMPARE(w.width(), 720);

    w.LoadFile(fx("servo_kornelchen.hex")); // a page that widens and heightens the window
    QCOMPARE(w.centralWidget()->y(), bar->height());
    QCOMPARE(w.centralWidget()->height() + w.StatusBar1->height(), clientHeight(w));
    QCOMPARE(w.minimumSize(), w.size());
}

void TstMainWindowMenu::entries()
{
    Harness h;
    TFormMain& w = h.make();
    const std::tuple<const char*, const char*, QKeySequence, bool> entries[] = {
        {"act_open", "Ö&ffnen…", QKeySequence(Qt::CTRL | Qt::Key_O), true},
        {"act_save", "&Speichern", QKeySequence(Qt::CTRL | Qt::Key_S), false},
        {"act_save_as", "Speichern &unter…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), false},
        {"act_prev", "&Vorherige Datei im Ordner", QKeySequence(), true},
        {"act_next", "&Nächste Datei im Ordner", QKeySequence(), true},
        {"act_quit", "&Beenden", QKeySequence(Qt::CTRL | Qt::Key_Q), true},
        // wired to the session's snapshots elsewhere; disabled until then
        {"act_undo", "&Rückgängig", QKeySequence(Qt::CTRL | Qt::Key_Z), false},
        {"act_redo", "&Wiederherstellen", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), false},
        {"act_revert", "Auf &Dateistand zurücksetzen", QKeySequence(), false},
        {"act_manual", "&Handbuch", QKeySequence(Qt::Key_F1), true},
        {"act_about", "Ü&ber HEX Zwirbel", QKeySequence(), true},
    };
    for (const auto& [name, text, keys, enabled] : entries) {
        QAction* a = action(w, name);
        QVERIFY2(a, name);
        QCOMPARE(a->text(), QString::fromUtf8(text));
        QCOMPARE(a->shortcut(), keys);
        QVERIFY2(a->isEnabled() == enabled, name);
    }
    QStringList menus;
    for (QAction* a : w.menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{"&Datei", "&Bearbeiten", "&Hilfe"}));
    QVERIFY(w.findChild<QMenu*>(QStringLiteral("menu_recent")));
}

void TstMainWindowMenu::shortcutsRunTheButtons_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("expect"); // what the button's handler did
    QTest::newRow("Ctrl+O") << QKeySequence(Qt::CTRL | Qt::Key_O) << "open";
    QTest::newRow("Ctrl+S") << QKeySequence(Qt::CTRL | Qt::Key_S) << "save";
    QTest::newRow("Ctrl+Shift+S") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) << "save";
    QTest::newRow("Ctrl+Q") << QKeySequence(Qt::CTRL | Qt::Key_Q) << "quit";
    QTest::newRow("F1") << QKeySequence(Qt::Key_F1) << "manual";
}

void TstMainWindowMenu::shortcutsRunTheButtons()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, expect);
    Harness h;
    TFormMain& w = h.make();
    const QString first = fx("classic_629_turnout.hex"), second = fx("classic_684_idbits.hex");
    w.LoadFile(first);
    showActive(w);
    // An unsaved change: the open and quit handlers ask before they leave the file.
    w.addressRows()[1].address->setText(QStringLiteral("77"));
    h.prompter.answers = {hz::Answer::Yes};
    h.dialogs.openAnswers << second;
    h.dialogs.saveAnswers << h.path("out.hex");

    QTest::keySequence(&w, keys);

    const std::vector<std::string> asked{hz::kUnsavedChangesQuestion};
    if (expect == "open") {
        QCOMPARE(h.prompter.texts(), asked);
        QVERIFY(loaded(w, second));
        QCOMPARE(h.dialogs.openProposed, QStringList{first});
    } else if (expect == "save") {
        QCOMPARE(h.dialogs.saveProposed, QStringList{first}); // the dialog, proposing the file's name
        QVERIFY(QFile::exists(h.path("out.hex")));
        QVERIFY(!w.isWindowModified());
    } else if (expect == "quit") {
        QCOMPARE(h.prompter.texts(), asked);
        QVERIFY(!w.isVisible());
        QVERIFY(QFile::exists(h.settingsPath));
    } else {
        // the manual's index, not the loaded type's page of the web button
        const QString index = QString::fromStdString(hz::DocAddress(w.session.ident.Site, nullptr));
        QVERIFY(index != QString::fromStdString(w.session.ident.DocPage));
        QCOMPARE(h.openedUrls, QStringList{QUrl::fromLocalFile(index).toString()});
    }
}

void TstMainWindowMenu::saveFollowsTheButtonsState()
{
    Harness h;
    TFormMain& w = h.make();
    showActive(w);
    h.dialogs.saveAnswers << h.path("out.hex");
    QTest::keySequence(&w, QKeySequence(Qt::CTRL | Qt::Key_S)); // nothing loaded: nothing to save
    QVERIFY(h.dialogs.saveProposed.isEmpty());
    w.LoadFile(fx("classic_629_turnout.hex"));
    QVERIFY(w.btn_save->isEnabled());
    QVERIFY(action(w, "act_save")->isEnabled() && action(w, "act_save_as")->isEnabled());
    w.LoadFile(h.path("missing.hex")); // unreadable: the last file stays savable
    QVERIFY(action(w, "act_save")->isEnabled());
    w.btn_save->setEnabled(false);
    QVERIFY(!action(w, "act_save")->isEnabled() && !action(w, "act_save_as")->isEnabled());
}

void TstMainWindowMenu::prevNextAndAbout()
{
    Harness h;
    const QStringList files = threeFiles(QDir(h.dir.path()));
    TFormMain& w = h.make();
    h.dialogs.openAnswers << files[1];
    action(w, "act_open")->trigger();
    action(w, "act_prev")->trigger();
    QVERIFY(loaded(w, files[0]));
    action(w, "act_next")->trigger();
    action(w, "act_next")->trigger();
    QVERIFY(loaded(w, files[2]));
    QVERIFY(h.prompter.shown.empty());

    // "Über HEX Zwirbel": a box of its own title that names the program's version and the date
    // of the layout the window's title shows, and says what the program does
    QString title, about;
    QTimer::singleShot(0, &w, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        about = box->text();
        box->accept();
    });
    action(w, "act_about")->trigger();
    QCOMPARE(title, QStringLiteral("Über HEX Zwirbel"));
    QVERIFY2(about.contains(QStringLiteral("Programmversion ") + QString::fromLatin1(hz::kProgramVersion)),
             qPrintable(about));
    QVERIFY2(about.contains(QStringLiteral("Fensteraufbau vom 2020-06-02")), qPrintable(about));
    QVERIFY2(about.contains(QStringLiteral("Modellbahn-Decodern")), qPrintable(about));
    QVERIFY2(about.contains(QStringLiteral("keine Lizenz")) && about.contains(QStringLiteral("alle Rechte")),
             qPrintable(about));
    QVERIFY(h.prompter.shown.empty());
}

void TstMainWindowMenu::titleFollowsFileAndChanges()
{
    Harness h;
    TFormMain& w = h.make();
    showActive(w);
    QCOMPARE(w.windowTitle(), kTitle);
    QVERIFY(!w.isWindowModified());

    QVERIFY(QFile::copy(fx("classic_629_turnout.hex"), h.path("weiche.hex")));
    h.dialogs.openAnswers << h.path("weiche.hex");
    w.btn_load->click();
    // the decoder type follows the file's name, as the catalogue names it
    QCOMPARE(w.windowTitle(), kTitle + " - weiche.hex (Stellino ab V3.51)[*]");
    QVERIFY(!w.isWindowModified());

    // typed into an address row, as the user types
    QLineEdit* row = w.addressRows()[1].address;
    row->setFocus();
    row->selectAll();
    QTest::keyClicks(row, QStringLiteral("77"));
    QVERIFY(w.isWindowModified());
    // saved under a new name: that name, and nothing unsaved
    h.dialogs.saveAnswers << h.path("weiche 2.hex");
    w.btn_save->click();
    QCOMPARE(w.windowTitle(), kTitle + " - weiche 2.hex (Stellino ab V3.51)[*]");
    QVERIFY(!w.isWindowModified());

    // a save cancelled in its dialog leaves the mark of the change
    row->selectAll();
    QTest::keyClicks(row, QStringLiteral("78"));
    QVERIFY(w.isWindowModified());
    w.btn_save->click();
    QCOMPARE(w.windowTitle(), kTitle + " - weiche 2.hex (Stellino ab V3.51)[*]");
    QVERIFY(w.isWindowModified());

    // a file that cannot be read changes nothing; one that stops shows no file any more
    w.LoadFile(h.path("missing.hex"));
    QCOMPARE(w.windowTitle(), kTitle + " - weiche 2.hex (Stellino ab V3.51)[*]");
    hz::test::writeFile(h.path("broken.hex").toStdString(), ":10000000ZZ\r\n");
    w.LoadFile(h.path("broken.hex"));
    QCOMPARE(w.windowTitle(), kTitle);
    QVERIFY(!w.isWindowModified());
}

void TstMainWindowMenu::drop_data()
{
    QTest::addColumn<QStringList>("urls"); // file names in the test folder, or full URLs
    QTest::addColumn<QString>("expected"); // the file loaded, empty when the drop is refused

    QTest::newRow("one .hex") << QStringList{"b.hex"} << "b.hex";
    QTest::newRow("first .hex of several") << QStringList{"notes.txt", "c.hex", "a.hex"} << "c.hex";
    QTest::newRow("upper case") << QStringList{"B.HEX"} << "B.HEX";
    QTest::newRow("no .hex") << QStringList{"notes.txt"} << "";
    QTest::newRow("not a local file") << QStringList{"https://example.org/b.hex"} << "";
}

void TstMainWindowMenu::drop()
{
    QFETCH(QStringList, urls);
    QFETCH(QString, expected);
    Harness h;
    const QDir folder(h.dir.path());
    threeFiles(folder);
    QFile::copy(fx("classic_684_idbits.hex"), folder.filePath("B.HEX"));
    QList<QUrl> list;
    for (const QString& u : urls)
        list << (u.contains(':') ? QUrl(u) : QUrl::fromLocalFile(folder.filePath(u)));
    QMimeData mime;
    mime.setUrls(list);

    TFormMain& w = h.make();
    showActive(w);
    const QPoint at(100, 100);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    QCOMPARE(enter.isAccepted(), !expected.isEmpty());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    QCOMPARE(drop.isAccepted(), !expected.isEmpty());
    QCoreApplication::processEvents(); // the load follows the end of the drop

    if (expected.isEmpty()) {
        QCOMPARE(status(w)[3], QStringLiteral(" HEX Zwirbel "));
        return;
    }
    const QString file = folder.filePath(expected);
    QVERIFY(loaded(w, file));
    hz::FolderBrowser browsed; // "<" and ">" go on from the dropped file, as after "HEX laden"
    browsed.ScanFolder(file.toStdString());
    QCOMPARE(w.editor.folder().PrevFile, browsed.PrevFile);
    QCOMPARE(w.editor.folder().NextFile, browsed.NextFile);
    QCOMPARE(w.windowTitle(),
             kTitle + " - " + expected + " (" + QString::fromStdString(w.session.statusTexts().type) + ")[*]");
}

void TstMainWindowMenu::dropAsksAboutUnsavedChanges()
{
    Harness h;
    TFormMain& w = h.make();
    const QString first = fx("classic_629_turnout.hex");
    w.LoadFile(first);
    showActive(w);
    w.addressRows()[1].address->setText(QStringLiteral("77"));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(fx("classic_684_idbits.hex"))});
    h.prompter.answers = {hz::Answer::No};
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter); // a drop follows the drag that entered the window
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    QTRY_VERIFY(!h.prompter.shown.empty()); // the load follows the end of the drop
    QCOMPARE(h.prompter.texts(), std::vector<std::string>{hz::kUnsavedChangesQuestion});
    QVERIFY(loaded(w, first));
    QCOMPARE(w.addressRows()[1].address->text(), QStringLiteral("77"));
}

void TstMainWindowMenu::recentFiles()
{
    Harness h;
    const QDir folder(h.dir.path());
    QStringList files;
    for (int i = 0; i < 12; ++i) {
        files << folder.filePath(QStringLiteral("f%1.hex").arg(i, 2, 10, QLatin1Char('0')));
        QVERIFY(QFile::copy(fx("classic_629_turnout.hex"), files.last()));
    }
    TFormMain& w = h.make();
    QMenu* menu = w.findChild<QMenu*>(QStringLiteral("menu_recent"));
    QVERIFY(!menu->menuAction()->isEnabled()); // nothing opened yet

    for (const QString& f : files) {
        h.dialogs.openAnswers << f;
        w.btn_load->click();
    }
    w.LoadFile(h.path("missing.hex")); // a load that did not go through is no recent file
    h.prompter.clear();
    h.dialogs.openAnswers << files[5]; // opened again: to the top, once
    w.btn_load->click();
    QStringList expected{files[5], files[11], files[10], files[9], files[8],
                         files[7], files[6],  files[4],  files[3], files[2]};
    QCOMPARE(w.findChild<MainMenu*>()->recentFiles(), expected);

    h.dialogs.saveAnswers << folder.filePath("neu.hex");
    w.btn_save->click(); // saved under a new name: to the top
    expected.prepend(folder.filePath("neu.hex"));
    expected.removeLast();
    QCOMPARE(w.findChild<MainMenu*>()->recentFiles(), expected);

    // The menu, built as it opens: a file gone since is shown, disabled.
    QVERIFY(QFile::remove(files[11]));
    QMetaObject::invokeMethod(menu, "aboutToShow");
    const QList<QAction*> entries = menu->actions();
    QCOMPARE(entries.size(), 10);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QCOMPARE(entries[i]->text(), QDir::toNativeSeparators(expected[i]));
        QCOMPARE(entries[i]->isEnabled(), expected[i] != files[11]);
    }

    // An entry loads its file as "HEX laden" does, after the question about unsaved changes.
    w.addressRows()[1].address->setText(QStringLiteral("77"));
    h.prompter.answers = {hz::Answer::Yes};
    entries[3]->trigger();
    QCOMPARE(h.prompter.texts(), std::vector<std::string>{hz::kUnsavedChangesQuestion});
    QVERIFY(loaded(w, expected[3]));
    QCOMPARE(w.findChild<MainMenu*>()->recentFiles().first(), expected[3]);
    hz::FolderBrowser browsed;
    browsed.ScanFolder(expected[3].toStdString());
    QCOMPARE(w.editor.folder().NextFile, browsed.NextFile);
}

void TstMainWindowMenu::recentFilesKeptInTheSettingsFile()
{
    Harness h;
    {
        QFile f(h.settingsPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Programmer]\r\nPort=/dev/ttyUSB0\r\n[RecentFiles]\r\nFile1=/alt/x.hex\r\n");
    }
    const QStringList files = threeFiles(QDir(h.dir.path()));
    {
        TFormMain& w = h.make();
        QCOMPARE(w.findChild<MainMenu*>()->recentFiles(), QStringList{"/alt/x.hex"});
        for (const QString& f : files) {
            h.dialogs.openAnswers << f;
            w.btn_load->click();
        }
        w.btn_close->click();
        QVERIFY(!w.isVisible());
    }
    const QStringList expected{files[2], files[1], files[0], "/alt/x.hex"};
    QCOMPARE(ReadRecentFiles(h.settingsPath), expected);
    QFile f(h.settingsPath);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().startsWith("[Programmer]\r\nPort=/dev/ttyUSB0\r\n")); // other keys stay

    Harness again(h.settingsPath);
    QCOMPARE(again.make().findChild<MainMenu*>()->recentFiles(), expected);
}

QTEST_MAIN(TstMainWindowMenu)
// A file given on the command line or by the file manager ("Öffnen mit") is a file like any
// other: "<" and ">" step through its folder and it is in "Zuletzt geöffnet".
void TstMainWindowMenu::fileNamedAtStartUpIsOpenedAsAnyFile()
{
    Harness h;
    const QDir folder(h.dir.path());
    const QString a = folder.filePath(QStringLiteral("a.hex")), b = folder.filePath(QStringLiteral("b.hex"));
    QVERIFY(QFile::copy(fx("classic_629_turnout.hex"), a));
    QVERIFY(QFile::copy(fx("classic_629_turnout.hex"), b));
    TFormMain& w = h.make();
    QCOMPARE(w.LoadFile(a), hz::LoadOutcome::Done); // what main() does with its file argument
    QCOMPARE(w.findChild<MainMenu*>()->recentFiles(), QStringList{a});
    w.btn_next->click();
    QVERIFY(loaded(w, b));
    w.btn_prev->click();
    QVERIFY(loaded(w, a));
}

#include "tst_main_window_menu.moc"
