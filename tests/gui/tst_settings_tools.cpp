// "Vergleichen mit…" and "Einstellungen übernehmen aus…" in the window's file menu: the entries
// and when they can be used, the comparison of what the window shows with another file, the
// carrying of an old file's settings into the loaded one (or not, after "Abbrechen"), the
// messages for a file that cannot serve, and both entries run from the menu with the mouse.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "MainWindowHarness.h"
#include "core/Session.h"
#include "core/pages/PageAction.h"
#include "gui/app/TFormMain.h"
#include "gui/tools/SettingsDialogs.h"

using namespace hz::test::window;
using hz::gui::SettingsDiffDialog;
using hz::gui::SettingsMigrationDialog;

namespace {

QAction* action(TFormMain& w, const char* name) { return w.findChild<QAction*>(QString::fromLatin1(name)); }

void showActive(TFormMain& w)
{
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

// Runs `act` on the modal dialog of class D as soon as it is open (the window opens it with
// exec(), which returns only once `act` has closed it). The watch ends with the returned timer,
// so that it cannot reach into the next test.
template <class D> std::unique_ptr<QTimer> whenOpen(const std::function<void(D&)>& act)
{
    auto timer = std::make_unique<QTimer>();
    QTimer* t = timer.get();
    QObject::connect(t, &QTimer::timeout, [t, act] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            t->stop();
            act(*dialog);
        }
    });
    t->start(10);
    return timer;
}

// The cells of a row of a table model.
QStringList cells(const QAbstractItemModel& m, int row)
{
    QStringList c;
    for (int col = 0; col < m.columnCount(); ++col)
        c << m.data(m.index(row, col)).toString();
    return c;
}

QStringList rowsOf(const QAbstractItemModel& m)
{
    QStringList rows;
    for (int r = 0; r < m.rowCount(); ++r)
        rows << cells(m, r).join(QStringLiteral(" | "));
    return rows;
}

// Whether any of `rows` starts with `start`.
bool anyStartsWith(const QStringList& rows, const QString& start)
{
    for (const QString& row : rows)
        if (row.startsWith(start))
            return true;
    return false;
}

// The EEPROM byte `i` the window holds.
QString ee(const TFormMain& w, int i) { return QString::fromStdString(w.session.image.eeprom(i)); }

QLineEdit* timeOut(TFormMain& w) { return frameOf(w, "FrameZusatz1")->findChild<QLineEdit*>("RowEdits[0]"); }

} // namespace

class TstSettingsTools : public QObject {
    Q_OBJECT

private slots:
    void entriesFollowTheLoadedFile_data();
    void entriesFollowTheLoadedFile();
    void comparisonShowsAPageEditNotYetSaved();
    void migrationCarriesIntoTheWindow();
    void migrationCancelledChangesNothing();
    void migrationShowsCarriedPageValuesInTheFrame();
    void migrationListsWhatTheFileHoldsAlreadyOnRequest();
    void aFileThatCannotServeIsToldAbout_data();
    void aFileThatCannotServeIsToldAbout();
    void entriesRunFromTheMenu_data();
    void entriesRunFromTheMenu();
};

void TstSettingsTools::entriesFollowTheLoadedFile_data()
{
    QTest::addColumn<QString>("file"); // "" for none
    QTest::addColumn<bool>("enabled");
    QTest::newRow("nothing loaded") << QString() << false;
    QTest::newRow("known decoder") << "classic_629_turnout.hex" << true;
    QTest::newRow("unknown decoder") << "unknown.hex" << false;
    QTest::newRow("load stopped") << "broken.hex" << false;
}

void TstSettingsTools::entriesFollowTheLoadedFile()
{
    QFETCH(QString, file);
    QFETCH(bool, enabled);
    Harness h;
    TFormMain& w = h.make();
    QAction* compare = action(w, "act_compare");
    QAction* migrate = action(w, "act_migrate");
    QVERIFY(compare && migrate);
    QCOMPARE(compare->text(), QString::fromUtf8("Ver&gleichen mit…"));
    QCOMPARE(migrate->text(), QString::fromUtf8("&Einstellungen übernehmen aus…"));
    // in the file menu, together between two separators, above "Beenden"
    const QList<QAction*> entries = w.findChild<QMenu*>(QStringLiteral("menu_file"))->actions();
    const qsizetype at = entries.indexOf(compare);
    QCOMPARE(entries.indexOf(migrate), at + 1);
    QVERIFY(entries[at - 1]->isSeparator() && entries[at + 2]->isSeparator());
    QVERIFY(at < entries.indexOf(action(w, "act_quit")));

    if (file == QLatin1String("unknown.hex")) {
        writeUnknownDecoder(h.path("unknown.hex"));
        w.LoadFile(h.path("unknown.hex"));
    } else if (file == QLatin1String("broken.hex")) {
        w.LoadFile(fx("classic_629_turnout.hex")); // a file that loaded, then one that stops
        hz::test::writeFile(h.path("broken.hex").toStdString(),
                            hz::test::joinCrLf({hz::test::kBase0, ":020000040002F8", hz::test::kEnd}));
        w.LoadFile(h.path("broken.hex"));
    } else if (!file.isEmpty()) {
        w.LoadFile(fx(file.toLatin1().constData()));
    }
    QCOMPARE(compare->isEnabled(), enabled);
    QCOMPARE(migrate->isEnabled(), enabled);
}

void TstSettingsTools::comparisonShowsAPageEditNotYetSaved()
{
    Harness h;
    TFormMain& w = h.make();
    QCOMPARE(w.LoadFile(fx("zusatz_629_stellino361.hex")), hz::LoadOutcome::Done);
    showActive(w);
    timeOut(w)->clear();
    QTest::keyClicks(timeOut(w), "4");
    QCOMPARE(ee(w, 0x20), QStringLiteral("04"));
    const auto before = w.session.image.memory();
    h.prompter.clear();

    // the same file as it is saved on disk: the edit is the one difference
    h.dialogs.openAnswers << fx("zusatz_629_stellino361.hex");
    // (read inside, checked outside: a failed check must not leave the dialog open)
    QStringList shown, summary, headers;
    bool tableShowsModel = false;
    const auto watch = whenOpen<SettingsDiffDialog>([&](SettingsDiffDialog& d) {
        shown = rowsOf(*d.model);
        summary = d.lbl_summary->text().split(QLatin1Char('\n'));
        for (int c = 0; c < d.model->columnCount(); ++c)
            headers << d.model->headerData(c, Qt::Horizontal).toString();
        tableShowsModel = d.tbl_differences->model() == d.model;
        QTest::mouseClick(d.btn_close, Qt::LeftButton);
    });
    w.compareWithFile();

    QVERIFY(tableShowsModel);

    QCOMPARE(h.dialogs.openProposed, QStringList{QFileInfo(fx("zusatz_629_stellino361.hex")).absolutePath() + "/"});
    QCOMPARE(headers, (QStringList{"Seite", "Einstellung", "Geladen", "zusatz_629_stellino361.hex"}));
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].startsWith(QStringLiteral("Zusatzfunktionen | ")), qPrintable(shown[0]));
    QVERIFY2(shown[0].endsWith(QStringLiteral(" | 4 | 20")), qPrintable(shown[0]));
    QCOMPARE(summary.size(), 3);
    QVERIFY2(summary[0].endsWith(QString::fromUtf8("(mit den ungespeicherten Änderungen)")), qPrintable(summary[0]));
    QCOMPARE(summary[2], QStringLiteral("1 Unterschied."));
    // only looked at: nothing in the window changed, and nothing was said
    QVERIFY(w.session.image.memory() == before);
    QVERIFY(w.isWindowModified());
    QVERIFY(h.prompter.shown.empty());
}

void TstSettingsTools::migrationCarriesIntoTheWindow()
{
    Harness h;
    TFormMain& w = h.make();
    QCOMPARE(w.LoadFile(fx("zusatz_629_stellino361.hex")), hz::LoadOutcome::Done);
    showActive(w);
    QVERIFY(!w.isWindowModified());
    const QString ownAddress = w.addressRows()[1].address->text();
    h.prompter.clear();

    // The V3.51 Stellino: its rows go across, its time-out of 195 does not (1..127 in V3.61).
    h.dialogs.openAnswers << fx("classic_629_turnout.hex");
    QStringList carried, notCarried, headings;
    QString summary;
    bool applyEnabled = false;
    const auto watch = whenOpen<SettingsMigrationDialog>([&](SettingsMigrationDialog& d) {
        carried = rowsOf(*d.carried);
        notCarried = rowsOf(*d.notCarried);
        summary = d.lbl_summary->text();
        headings << d.lbl_carried->text() << d.lbl_not_carried->text();
        applyEnabled = d.btn_apply->isEnabled();
        QTest::mouseClick(d.btn_apply, Qt::LeftButton);
    });
    w.takeSettingsFromFile();

    QVERIFY(applyEnabled);
    QCOMPARE(headings,
             (QStringList{QString::fromUtf8("Wird übernommen (2):"), QString::fromUtf8("Wird nicht übernommen (2):")}));

    QVERIFY2(anyStartsWith(carried, QStringLiteral("Adresszeilen | Zeile 1 <")), qPrintable(carried.join('\n')));
    QVERIFY2(anyStartsWith(notCarried, QString::fromUtf8("Zusatzfunktionen | Time Out (1..127) | 195 | 20 | "
                                                         "NEU nimmt \"195\" nicht an (Ungültige Eingabe.")),
             qPrintable(notCarried.join('\n')));
    QVERIFY2(summary.startsWith(QStringLiteral("ALT: classic_629_turnout.hex - ")), qPrintable(summary));

    // Every frame shows what was carried; the time-out keeps the new file's own value, and the
    // page's refusal was not shown again as a message: the dialog listed it.
    hz::test::ScriptedPrompter p;
    hz::Session old(p);
    QCOMPARE(old.LoadFile(fx("classic_629_turnout.hex").toStdString()), hz::LoadOutcome::Done);
    QCOMPARE(w.addressRows()[1].address->text(), QString::fromStdString(old.addresses.addressText(1)));
    QVERIFY(w.addressRows()[1].address->text() != ownAddress);
    QCOMPARE(timeOut(w)->text(), QStringLiteral("20"));
    QVERIFY(h.prompter.shown.empty());
    QVERIFY(w.isWindowModified());

    // the carrying is one step: undo takes all of it back, redo brings it again
    w.editor.undo();
    QCOMPARE(w.addressRows()[1].address->text(), ownAddress);
    QVERIFY(!w.isWindowModified());
    w.editor.redo();
    QCOMPARE(w.addressRows()[1].address->text(), QString::fromStdString(old.addresses.addressText(1)));
    QVERIFY(w.isWindowModified());

    // saved with "speichern" as any edit: the file holds the carried address
    h.dialogs.saveAnswers << h.path("neu.hex");
    w.btn_save->click();
    QVERIFY(!w.isWindowModified());
    hz::test::ScriptedPrompter q;
    hz::Session saved(q);
    QCOMPARE(saved.LoadFile(h.path("neu.hex").toStdString()), hz::LoadOutcome::Done);
    QCOMPARE(saved.addresses.addressText(1), old.addresses.addressText(1));
}

void TstSettingsTools::migrationCancelledChangesNothing()
{
    Harness h;
    TFormMain& w = h.make();
    QCOMPARE(w.LoadFile(fx("zusatz_629_stellino361.hex")), hz::LoadOutcome::Done);
    const auto before = w.session.image.memory();
    const auto rows = w.session.addresses.addressTexts();
    const QString shownAddress = w.addressRows()[1].address->text();

    h.dialogs.openAnswers << fx("classic_629_turnout.hex");
    bool opened = false;
    const auto watch = whenOpen<SettingsMigrationDialog>([&](SettingsMigrationDialog& d) {
        opened = true;
        QTest::mouseClick(d.btn_cancel, Qt::LeftButton);
    });
    w.takeSettingsFromFile();

    QVERIFY(opened);
    QVERIFY(w.session.image.memory() == before);
    QCOMPARE(w.session.addresses.addressTexts(), rows);
    QCOMPARE(w.addressRows()[1].address->text(), shownAddress);
    QVERIFY(!w.session.HasUnsavedChanges());
    QVERIFY(!w.isWindowModified());
}

void TstSettingsTools::migrationShowsCarriedPageValuesInTheFrame()
{
    Harness h;
    // the old neon decoder with its welder output switched on, saved as the tool would
    {
        hz::test::ScriptedPrompter p;
        hz::Session old(p);
        QCOMPARE(old.LoadFile(fx("zusatz_684_neon338.hex").toStdString()), hz::LoadOutcome::Done);
        std::string error;
        QVERIFY2(hz::pages::ApplyPageAction(old.shownPages(), "cbx_zusatz_2=1", error), error.c_str());
        QVERIFY(old.SaveTo(h.path("alt.hex").toStdString()));
    }
    TFormMain& w = h.make();
    QCOMPARE(w.LoadFile(fx("zusatz_684_neon348.hex")), hz::LoadOutcome::Done);
    auto* welder = frameOf(w, "FrameZusatz1")->findChild<QCheckBox*>(QStringLiteral("cbx_zusatz_2"));
    QVERIFY(welder && !welder->isChecked());

    h.dialogs.openAnswers << h.path("alt.hex");
    const auto watch = whenOpen<SettingsMigrationDialog>(
        [](SettingsMigrationDialog& d) { QTest::mouseClick(d.btn_apply, Qt::LeftButton); });
    w.takeSettingsFromFile();

    QVERIFY(welder->isChecked());
    QVERIFY(w.isWindowModified());
}

// Two CVs changed out of 73: the dialog lists the two with the value the loaded file holds,
// counts the other 71 and lists them when asked; "Übernehmen" carries all the same.
void TstSettingsTools::migrationListsWhatTheFileHoldsAlreadyOnRequest()
{
    Harness h;
    {
        hz::test::ScriptedPrompter p;
        hz::Session old(p);
        QCOMPARE(old.LoadFile(fx("f18324_function.hex").toStdString()), hz::LoadOutcome::Done);
        std::string error;
        for (const char* action : {"CvEdits[6]=7", "CvEdits[9]=3"})
            QVERIFY2(hz::pages::ApplyPageAction(old.shownPages(), action, error), error.c_str());
        QVERIFY(old.SaveTo(h.path("alt.hex").toStdString()));
    }
    TFormMain& w = h.make();
    QCOMPARE(w.LoadFile(fx("f18324_function.hex")), hz::LoadOutcome::Done);
    const QString konfig = QString::fromStdString(w.session.pages.shown()[0]->find("CvEdits[6]")->text);

    h.dialogs.openAnswers << h.path("alt.hex");
    QStringList first, all, again, headers;
    QString box;
    bool boxEnabled = false;
    const auto watch = whenOpen<SettingsMigrationDialog>([&](SettingsMigrationDialog& d) {
        first = rowsOf(*d.carried);
        for (int c = 0; c < d.carried->columnCount(); ++c)
            headers << d.carried->headerData(c, Qt::Horizontal).toString();
        box = d.cbx_unchanged->text();
        boxEnabled = d.cbx_unchanged->isEnabled();
        d.cbx_unchanged->click();
        all = rowsOf(*d.carried);
        d.cbx_unchanged->click();
        again = rowsOf(*d.carried);
        QTest::mouseClick(d.btn_apply, Qt::LeftButton);
    });
    w.takeSettingsFromFile();

    QCOMPARE(headers, (QStringList{"Seite", "Einstellung", "Wert", "Bisher geladen"}));
    QCOMPARE(first, (QStringList{"CV-Register | CV029: Konfigbyte | 7 | " + konfig,
                                 "CV-Register | CV061: Blinker Frequenz | 3 | 255"}));
    QVERIFY(boxEnabled);
    QCOMPARE(box, QString::fromUtf8("auch unveränderte zeigen (71)"));
    QCOMPARE(all.size(), 73);
    QCOMPARE(all[0], QStringLiteral("CV-Register | CV001: Kurze Adresse | 3 | 3"));
    QCOMPARE(again, first);
    QCOMPARE(QString::fromStdString(w.session.pages.shown()[0]->find("CvEdits[6]")->text), QStringLiteral("7"));
}

void TstSettingsTools::aFileThatCannotServeIsToldAbout_data()
{
    QTest::addColumn<QString>("tool");  // the window's call
    QTest::addColumn<QString>("other"); // what the user picks
    QTest::addColumn<QString>("kind");  // the message's kind
    QTest::addColumn<QString>("says");  // part of the message
    for (const char* tool : {"compare", "migrate"}) {
        QTest::addRow("%s: missing", tool) << tool << "fehlt.hex"
                                           << "error"
                                           << "\"fehlt.hex\" wurde nicht geladen.";
        QTest::addRow("%s: broken", tool) << tool << "broken.hex"
                                          << "error"
                                          << "E205";
        QTest::addRow("%s: unknown decoder", tool) << tool << "unknown.hex"
                                                   << "warning"
                                                   << "eine nicht erkannte Firmware";
        QTest::addRow("%s: nothing in common", tool) << tool << "f18324_function.hex"
                                                     << "warning"
                                                     << "weder Adresszeilen gleicher Beschriftung noch dieselbe Seite";
    }
}

void TstSettingsTools::aFileThatCannotServeIsToldAbout()
{
    QFETCH(QString, tool);
    QFETCH(QString, other);
    QFETCH(QString, kind);
    QFETCH(QString, says);
    Harness h;
    TFormMain& w = h.make();
    QCOMPARE(w.LoadFile(fx("classic_629_turnout.hex")), hz::LoadOutcome::Done);
    const auto before = w.session.image.memory();
    writeUnknownDecoder(h.path("unknown.hex"));
    hz::test::writeFile(h.path("broken.hex").toStdString(),
                        hz::test::joinCrLf({hz::test::kBase0, ":020000040002F8", hz::test::kEnd}));
    h.dialogs.openAnswers << (other == QLatin1String("f18324_function.hex") ? fx("f18324_function.hex")
                                                                            : h.path(other.toLatin1().constData()));
    h.prompter.clear();
    bool opened = false;
    const auto watch = whenOpen<QDialog>([&](QDialog& d) {
        opened = true;
        d.reject();
    });

    if (tool == QLatin1String("compare"))
        w.compareWithFile();
    else
        w.takeSettingsFromFile();

    QVERIFY(!opened);
    QCOMPARE(h.prompter.shown.size(), std::size_t(1));
    QCOMPARE(h.prompter.shown[0].kind, kind == QLatin1String("error") ? hz::MsgKind::Error : hz::MsgKind::Warning);
    const QString text = QString::fromStdString(h.prompter.shown[0].text);
    QVERIFY2(text.contains(says), qPrintable(text));
    QVERIFY(w.session.image.memory() == before);
    QVERIFY(!w.isWindowModified());
}

void TstSettingsTools::entriesRunFromTheMenu_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("Vergleichen mit…") << "act_compare";
    QTest::newRow("Einstellungen übernehmen aus…") << "act_migrate";
}

void TstSettingsTools::entriesRunFromTheMenu()
{
    QFETCH(QString, entry);
    Harness h;
    TFormMain& w = h.make();
    QCOMPARE(w.LoadFile(fx("zusatz_629_stellino361.hex")), hz::LoadOutcome::Done);
    showActive(w);
    h.dialogs.openAnswers << fx("classic_629_turnout.hex");
    QString opened;
    const auto watch = whenOpen<QDialog>([&](QDialog& d) {
        opened = d.objectName();
        d.reject();
    });

    // The file menu opened from the menu bar, the entry clicked in it.
    QMenu* file = w.findChild<QMenu*>(QStringLiteral("menu_file"));
    QMenuBar* bar = w.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file->menuAction()).center());
    QTRY_VERIFY(file->isVisible());
    QAction* a = action(w, entry.toLatin1().constData());
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(a).center());

    QTRY_COMPARE(opened, entry == QLatin1String("act_compare") ? QStringLiteral("SettingsDiffDialog")
                                                               : QStringLiteral("SettingsMigrationDialog"));
    QCOMPARE(h.dialogs.openProposed.size(), 1);
    QVERIFY(!w.isWindowModified()); // looked at, or cancelled: nothing changed
}

QTEST_MAIN(TstSettingsTools)
#include "tst_settings_tools.moc"
