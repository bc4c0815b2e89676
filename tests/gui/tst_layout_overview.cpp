// Datei > Anlagen-Übersicht…: the table model over the scan of the fixture layout (lines,
// sorting, filters, highlighted double uses, rows without an address), and the window that
// scans on a worker thread, opens a file by double click, exports the table, lists the double
// uses above it, groups them and keeps the address columns in view.

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowHarness.h"
#include "core/tools/LayoutReport.h"
#include "core/tools/LayoutScan.h"
#include "gui/app/TFormMain.h"
#include "gui/tools/LayoutOverviewDialog.h"
#include "gui/tools/LayoutTableModel.h"

using namespace hz::test::window;
using hz::tools::ColAddress;
using hz::tools::ColCaption;
using hz::tools::ColDoubleUse;
using hz::tools::ColFile;
using hz::tools::ColFunction;
using hz::tools::ColType;

namespace {

const QString kLayout = QStringLiteral(HZ_FIXTURE_DIR "/layout");

QStringList column(const QAbstractItemModel& m, std::size_t col)
{
    QStringList cells;
    for (int r = 0; r < m.rowCount(); ++r)
        cells << m.index(r, static_cast<int>(col)).data().toString();
    return cells;
}

} // namespace

class TstLayoutOverview : public QObject {
    Q_OBJECT

private slots:
    void modelLinesAndHighlight();
    void sortNumbersAsNumbers();
    void filters_data();
    void filters();
    void dialogScansOpensAndExports();
    void dialogCancels();
    void dialogShowsCvDecodersAndUncheckedAddresses();
    void dialogListsDoubleUsesAboveTheTableAndKeepsTheAddressesInView();
    void dialogGroupsEachDoubleUse();
    void menuEntry();
};

void TstLayoutOverview::modelLinesAndHighlight()
{
    LayoutTableModel model;
    model.setScan(hz::tools::ScanLayout({kLayout.toStdString()}));
    QCOMPARE(model.rowCount(), 18); // 5 + 9 + 2 + 2 address rows
    QCOMPARE(model.columnCount(), 12);
    QCOMPARE(model.headerData(static_cast<int>(ColAddress), Qt::Horizontal).toString(), QStringLiteral("Adresse"));
    QCOMPARE(model.types(),
             (QStringList{"Relaisdekoder 8", "Stelldua/Forsta - F-Dekoder Neon ab V0.60", "Stellino  ab V3.51"}));
    int doubles = 0;
    for (int r = 0; r < model.rowCount(); ++r) {
        const QModelIndex i = model.index(r, static_cast<int>(ColCaption));
        const bool doubleUse = i.data(LayoutTableModel::DoubleUseRole).toBool();
        doubles += doubleUse ? 1 : 0;
        const QVariant background = i.data(Qt::BackgroundRole);
        QCOMPARE(background.isValid(), doubleUse);
        if (doubleUse) {
            // every other double use in the darker shade
            const int use = i.data(LayoutTableModel::UseRole).toInt();
            QVERIFY(use >= 0);
            QCOMPARE(
                background.value<QBrush>().color(),
                QColor::fromRgb(use % 2 == 0 ? LayoutTableModel::kDoubleUseRgb : LayoutTableModel::kDoubleUseOtherRgb));
            QVERIFY(i.data(Qt::ToolTipRole).toString().startsWith(QStringLiteral("Doppelt belegt: ")));
        }
    }
    QCOMPARE(doubles, 4);
    QCOMPARE(model.index(0, static_cast<int>(ColFile)).data(LayoutTableModel::FileRole).toString(),
             kLayout + QStringLiteral("/neon_funktion.hex"));
}

void TstLayoutOverview::sortNumbersAsNumbers()
{
    LayoutTableModel model;
    model.setScan(hz::tools::ScanLayout({kLayout.toStdString()}));
    LayoutFilterModel proxy;
    proxy.setSourceModel(&model);
    proxy.setWithoutAddress(true);
    proxy.sort(static_cast<int>(ColAddress), Qt::AscendingOrder);
    const QStringList addresses = column(proxy, ColAddress);
    // 0 (seven times), 3, 4, 5, 5, 17 (five times), 317, then the undecodable row.
    QCOMPARE(addresses.mid(7, 5), (QStringList{"3", "4", "5", "5", "17"}));
    QCOMPARE(addresses.mid(16), (QStringList{"317", ""}));
    proxy.sort(static_cast<int>(ColCaption), Qt::AscendingOrder);
    const QStringList captions = column(proxy, ColCaption);
    QCOMPARE(captions.indexOf("Ausgang / Out 2") < captions.indexOf("Ausgang / Out 3"), true);
    // Numbers within texts as numbers: "Out 3 (FL)" and "Out 4" before "Out 5" ... "All".
    QCOMPARE(captions.first(), QStringLiteral("All"));
}

void TstLayoutOverview::filters_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("doubleOnly");
    QTest::addColumn<bool>("withoutAddress");
    QTest::addColumn<int>("lines");
    struct Row {
        const char* name;
        const char* type;
        const char* address;
        bool doubleOnly, withoutAddress;
        int lines;
    } rows[] = {
        // relais_dcc.hex rows 3 to 9 and weiche_b.hex row 2 hold no address (0, or undecodable)
        {"everything", "", "", false, true, 18},
        {"rows with an address", "", "", false, false, 10},
        {"one type", "Relaisdekoder 8", "", false, true, 9},
        {"one type, rows with an address", "Relaisdekoder 8", "", false, false, 2},
        {"address 17, Mot and DCC, accessory and function", "", "17", false, false, 5},
        {"address 17 of one type", "Stellino  ab V3.51", "17", false, false, 2},
        {"address 0 is no address", "", "0", false, false, 0},
        {"address 0 when asked for", "", "0", false, true, 7},
        {"double uses", "", "", true, false, 4},
        {"double uses at 17", "", "17", true, false, 2},
        {"an address nobody has", "", "999", false, true, 0},
        {"not a number", "", "abc", false, true, 0},
    };
    for (const Row& r : rows)
        QTest::newRow(r.name) << r.type << r.address << r.doubleOnly << r.withoutAddress << r.lines;
}

void TstLayoutOverview::filters()
{
    QFETCH(QString, type);
    QFETCH(QString, address);
    QFETCH(bool, doubleOnly);
    QFETCH(bool, withoutAddress);
    QFETCH(int, lines);
    LayoutTableModel model;
    model.setScan(hz::tools::ScanLayout({kLayout.toStdString()}));
    LayoutFilterModel proxy;
    proxy.setSourceModel(&model);
    proxy.setTypeFilter(type);
    proxy.setAddressFilter(address);
    proxy.setDoubleUsesOnly(doubleOnly);
    proxy.setWithoutAddress(withoutAddress);
    QCOMPARE(proxy.rowCount(), lines);
}

void TstLayoutOverview::dialogScansOpensAndExports()
{
    hz::test::ScriptedFileDialogs dialogs;
    hz::test::ScriptedPrompter prompter;
    QStringList opened;
    LayoutOverviewDialog dialog(dialogs, prompter, [&](const QString& f) { opened << f; });
    QSignalSpy done(&dialog, &LayoutOverviewDialog::scanFinished);

    dialogs.folderAnswers << kLayout;
    QVERIFY(dialog.chooseFolder(QStringLiteral("/vorschlag")));
    QCOMPARE(dialogs.folderProposed, QStringList{"/vorschlag"});
    QVERIFY(dialog.scanning());
    QVERIFY(done.wait(10000));
    QVERIFY(!dialog.scanning());
    QVERIFY(!dialog.findChild<QProgressBar*>(QStringLiteral("ProgressBar_scan"))->isVisible());
    QCOMPARE(dialog.table().model()->rowCount(), 10); // the rows without an address left out
    dialog.findChild<QCheckBox*>(QStringLiteral("cbx_without_address"))->click();
    QCOMPARE(dialog.table().model()->rowCount(), 18);
    dialog.findChild<QCheckBox*>(QStringLiteral("cbx_without_address"))->click();
    QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("lbl_summary"))
                ->text()
                .endsWith(QStringLiteral("4 Dateien, 4 Dekoder geladen, 2 Adressen doppelt belegt.")));

    // A double click opens the line's file through the window's own open; the table names it
    // below the folder scanned.
    const QModelIndex relais = dialog.table().model()->index(5, 0);
    QCOMPARE(relais.data().toString(), QStringLiteral("relais_dcc.hex"));
    emit dialog.table().doubleClicked(relais);
    QCOMPARE(opened, QStringList{kLayout + "/relais_dcc.hex"});

    // Cancelled file dialog: nothing started.
    QVERIFY(!dialog.chooseFolder(kLayout));

    QTemporaryDir out;
    dialogs.saveAnswers << out.filePath("a.html") << out.filePath("a.csv");
    QVERIFY(dialog.exportHtml());
    QVERIFY(dialog.exportCsv());
    QCOMPARE(dialogs.saveProposed.first(), kLayout + "/anlagen-uebersicht.html");
    QFile html(out.filePath("a.html")), csv(out.filePath("a.csv"));
    QVERIFY(html.open(QIODevice::ReadOnly) && csv.open(QIODevice::ReadOnly));
    QVERIFY(html.readAll().contains("<tr class=\"doppelt\">"));
    QVERIFY(csv.readAll().startsWith("Datei;Typ;"));
    // A page that cannot be written is said, not passed over.
    dialogs.saveAnswers << out.filePath("fehlt/b.html");
    QVERIFY(!dialog.exportHtml());
    QCOMPARE(prompter.shown.size(), std::size_t(1));
}

void TstLayoutOverview::dialogCancels()
{
    // Enough files that the scan is still running when it is cancelled.
    QTemporaryDir many;
    for (int k = 0; k < 300; ++k)
        QFile::copy(kLayout + "/relais_dcc.hex", many.filePath(QStringLiteral("r%1.hex").arg(k)));
    hz::test::ScriptedFileDialogs dialogs;
    hz::test::ScriptedPrompter prompter;
    LayoutOverviewDialog dialog(dialogs, prompter, {});
    QSignalSpy done(&dialog, &LayoutOverviewDialog::scanFinished);
    dialog.startScan({many.path()});
    dialog.cancelScan();
    QVERIFY(done.wait(20000));
    QVERIFY(dialog.model().scan().cancelled);
    QVERIFY(dialog.model().rowCount() < 300 * 9);

    // Closing the window while a scan runs waits for it; nothing is left running.
    auto* second = new LayoutOverviewDialog(dialogs, prompter, {});
    second->startScan({many.path()});
    delete second;
}

void TstLayoutOverview::menuEntry()
{
    Harness h;
    TFormMain& w = h.make();
    auto* file = w.findChild<QMenu*>(QStringLiteral("menu_file"));
    QVERIFY(file);
    const QList<QAction*> actions = file->actions();
    QAction* entry = w.findChild<QAction*>(QStringLiteral("act_overview"));
    QVERIFY(entry);
    QCOMPARE(entry->text(), QStringLiteral("&Anlagen-Übersicht…"));
    QVERIFY(actions.indexOf(entry) < actions.indexOf(w.findChild<QAction*>(QStringLiteral("act_quit"))));

    // Cancelled folder question: no window.
    entry->trigger();
    QVERIFY(!w.findChild<LayoutOverviewDialog*>() || !w.findChild<LayoutOverviewDialog*>()->isVisible());

    h.dialogs.folderAnswers << kLayout;
    entry->trigger();
    auto* dialog = w.findChild<LayoutOverviewDialog*>();
    QVERIFY(dialog && dialog->isVisible());
    if (dialog->scanning()) {
        QSignalSpy done(dialog, &LayoutOverviewDialog::scanFinished);
        QVERIFY(done.wait(10000));
    }
    // Double click: the window loads the file.
    QAbstractItemModel* m = dialog->table().model();
    emit dialog->table().doubleClicked(m->index(m->rowCount() - 1, 0));
    QVERIFY(status(w)[3].startsWith(kLayout + "/weiche_b.hex"));
}

// Two 16F18324 decoders on CV1 = 3 are a double use; one whose CV1 is 0 is said to be
// unchecked, in the table and in the summary.
void TstLayoutOverview::dialogShowsCvDecodersAndUncheckedAddresses()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fixture = QStringLiteral(HZ_FIXTURE_DIR "/f18324_function.hex");
    QVERIFY(QFile::copy(fixture, dir.filePath(QStringLiteral("a.hex"))));
    QVERIFY(QFile::copy(fixture, dir.filePath(QStringLiteral("b.hex"))));
    QFile in(fixture);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QByteArray text = in.readAll();
    const QByteArray cv1 = ":10E0C00003000A000000000000000000FF00FF0045";
    QVERIFY(text.contains(cv1));
    text.replace(cv1, ":10E0C00000000A000000000000000000FF00FF0048"); // CV1 = 0
    QFile out(dir.filePath(QStringLiteral("c.hex")));
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(text);
    out.close();

    hz::test::ScriptedFileDialogs dialogs;
    hz::test::ScriptedPrompter prompter;
    LayoutOverviewDialog dialog(dialogs, prompter, nullptr);
    QSignalSpy done(&dialog, &LayoutOverviewDialog::scanFinished);
    dialog.startScan({dir.path()});
    QVERIFY(done.wait(10000));
    QVERIFY2(dialog.findChild<QLabel*>(QStringLiteral("lbl_summary"))
                 ->text()
                 .endsWith(QString::fromUtf8("3 Dateien, 3 Dekoder geladen, 1 Adresse doppelt belegt, Adresse nicht "
                                             "geprüft bei 1 Dekoder.")),
             qPrintable(dialog.findChild<QLabel*>(QStringLiteral("lbl_summary"))->text()));
    const QAbstractItemModel& model = *dialog.table().model();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(0, hz::tools::ColDoubleUse).data().toString(), QStringLiteral("DCC-Lok kurz 3"));
    QCOMPARE(model.index(2, hz::tools::ColDoubleUse).data().toString(),
             QString::fromUtf8("Adresse nicht geprüft: CV1 = 0 ist keine kurze Adresse (1 bis 127)."));
}

namespace {

// The rows of `view` in one column, read as the user reads them.
QStringList shownColumn(const QTableView& view, std::size_t col) { return column(*view.model(), col); }

// Scans `folder` in a dialog of its own size, shown, and waits until it is through.
bool scanShown(LayoutOverviewDialog& dialog, const QString& folder)
{
    QSignalSpy done(&dialog, &LayoutOverviewDialog::scanFinished);
    dialog.show();
    dialog.startScan({folder});
    return done.wait(10000) && QTest::qWaitForWindowExposed(&dialog);
}

} // namespace

// The summary and the double uses stand above the table; the long type names are cut to a
// width that keeps "Adresse" and "Funktion" in view, their whole text in the tool tip.
void TstLayoutOverview::dialogListsDoubleUsesAboveTheTableAndKeepsTheAddressesInView()
{
    hz::test::ScriptedFileDialogs dialogs;
    hz::test::ScriptedPrompter prompter;
    LayoutOverviewDialog dialog(dialogs, prompter, nullptr);
    QVERIFY(scanShown(dialog, kLayout));

    auto* summary = dialog.findChild<QLabel*>(QStringLiteral("lbl_summary"));
    auto* uses = dialog.findChild<QLabel*>(QStringLiteral("lbl_double_uses"));
    QVERIFY(summary && uses && uses->isVisible());
    QCOMPARE(uses->text().split(QLatin1Char('\n')),
             (QStringList{QStringLiteral("Doppelt belegte Adressen:"),
                          QString::fromUtf8("• Mot-Zubehör 17 rot: weiche_a.hex – Zeile 1 (Weiche); weiche_b.hex – "
                                            "Zeile 1 (Weiche)"),
                          QString::fromUtf8("• Mot-Funktion 5 F1: neon_funktion.hex – Zeile 2 (Ausgang / Out 2); "
                                            "neon_funktion.hex – Zeile 5 (Hell-Dunkel)")}));
    QTableView& table = dialog.table();
    QVERIFY(summary->geometry().bottom() <= table.geometry().top());
    QVERIFY(uses->geometry().bottom() <= table.geometry().top());

    const int type = static_cast<int>(ColType);
    const int wanted = static_cast<const QAbstractItemView&>(table).sizeHintForColumn(type);
    QVERIFY2(table.columnWidth(type) < wanted,
             qPrintable(QStringLiteral("%1 / %2").arg(table.columnWidth(type)).arg(wanted)));
    const int function = static_cast<int>(ColFunction);
    QVERIFY2(table.columnViewportPosition(function) + table.columnWidth(function) <= table.viewport()->width(),
             qPrintable(QStringLiteral("Funktion ends at %1 of %2")
                            .arg(table.columnViewportPosition(function) + table.columnWidth(function))
                            .arg(table.viewport()->width())));
    QCOMPARE(table.model()->index(0, type).data(Qt::ToolTipRole).toString(),
             QStringLiteral("Stelldua/Forsta - F-Dekoder Neon ab V0.60"));

    // A folder without double uses has no such list.
    QTemporaryDir single;
    QVERIFY(QFile::copy(kLayout + "/relais_dcc.hex", single.filePath(QStringLiteral("r.hex"))));
    QVERIFY(scanShown(dialog, single.path()));
    QVERIFY(!uses->isVisible());
}

// Two copies of one decoder: both rows answer twice, and in the scan's order the two double uses
// interleave. "nur doppelt belegte" puts each one's rows together under one cell, and goes back
// to the scan's order when it is switched off.
void TstLayoutOverview::dialogGroupsEachDoubleUse()
{
    QTemporaryDir dir;
    for (const char* name : {"a.hex", "b.hex"})
        QVERIFY(QFile::copy(kLayout + "/weiche_a.hex", dir.filePath(QString::fromLatin1(name))));
    hz::test::ScriptedFileDialogs dialogs;
    hz::test::ScriptedPrompter prompter;
    LayoutOverviewDialog dialog(dialogs, prompter, nullptr);
    QVERIFY(scanShown(dialog, dir.path()));
    QTableView& table = dialog.table();
    const int command = static_cast<int>(ColDoubleUse);
    QCOMPARE(shownColumn(table, ColDoubleUse),
             (QStringList{QString::fromUtf8("Mot-Zubehör 17 rot"), QString::fromUtf8("Mot-Zubehör 317 grün"),
                          QString::fromUtf8("Mot-Zubehör 17 rot"), QString::fromUtf8("Mot-Zubehör 317 grün")}));

    dialog.findChild<QCheckBox*>(QStringLiteral("cbx_double_only"))->click();
    QCOMPARE(shownColumn(table, ColFile), (QStringList{"a.hex", "b.hex", "a.hex", "b.hex"}));
    QCOMPARE(shownColumn(table, ColAddress), (QStringList{"17", "17", "317", "317"}));
    QCOMPARE(table.rowSpan(0, command), 2);
    QCOMPARE(table.rowSpan(2, command), 2);
    // the two groups in two shades
    QVERIFY(table.model()->index(0, 0).data(Qt::BackgroundRole) != table.model()->index(2, 0).data(Qt::BackgroundRole));
    // narrowed further by address: the one group left is still one
    dialog.findChild<QLineEdit*>(QStringLiteral("edt_filter_address"))->setText(QStringLiteral("317"));
    QCOMPARE(table.model()->rowCount(), 2);
    QCOMPARE(table.rowSpan(0, command), 2);
    dialog.findChild<QLineEdit*>(QStringLiteral("edt_filter_address"))->clear();

    dialog.findChild<QCheckBox*>(QStringLiteral("cbx_double_only"))->click();
    QCOMPARE(shownColumn(table, ColAddress), (QStringList{"17", "317", "17", "317"}));
    QCOMPARE(table.rowSpan(0, command), 1);
}

QTEST_MAIN(TstLayoutOverview)
#include "tst_layout_overview.moc"
