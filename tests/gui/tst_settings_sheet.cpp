// The settings sheet from the window's menu: "Einstellungsblatt drucken…" and "Einstellungsblatt
// als PDF…", each chosen in the opened "Datei" menu with the mouse as a user does.

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QtTest>

#include "MainWindowHarness.h"
#include "gui/app/TFormMain.h"

using namespace hz::test::window;

namespace {

QAction* action(TFormMain& w, const char* name) { return w.findChild<QAction*>(QString::fromLatin1(name)); }

// Opens "Datei" and clicks the entry, through the menu's own event handling.
void choose(TFormMain& w, const char* name)
{
    QMenu* menu = w.findChild<QMenu*>(QStringLiteral("menu_file"));
    QVERIFY(menu);
    menu->popup(w.mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QAction* a = action(w, name);
    QVERIFY(a && a->isEnabled());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
    QTRY_VERIFY(!menu->isVisible());
}

QByteArray head(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.read(5) : QByteArray();
}

} // namespace

class TstSettingsSheet : public QObject {
    Q_OBJECT

private slots:
    void entriesOnlyForAKnownDecoder();
    void pdfOfTheUnsavedStateAsShown();
    void printThroughThePrintDialog();
};

void TstSettingsSheet::entriesOnlyForAKnownDecoder()
{
    Harness h;
    TFormMain& w = h.make();
    QCOMPARE(action(w, "act_print_sheet")->text(), QStringLiteral("Einstellungsblatt &drucken…"));
    QCOMPARE(action(w, "act_sheet_pdf")->text(), QStringLiteral("Einstellungsblatt als &PDF…"));
    for (const char* name : {"act_print_sheet", "act_sheet_pdf"})
        QVERIFY2(!action(w, name)->isEnabled(), name); // nothing loaded
    w.LoadFile(fx("servo_kornel4.hex"));
    for (const char* name : {"act_print_sheet", "act_sheet_pdf"})
        QVERIFY2(action(w, name)->isEnabled(), name);
    // A file no decoder type matches has no sheet.
    const QString unknown = h.path("unknown.hex");
    QFile f(unknown);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromStdString(
        hz::test::joinCrLf({hz::test::rec(0x0000, "02300430"), hz::test::rec(0x4000, "0100030006000000"),
                            hz::test::rec(0x400E, "C431"), hz::test::kEnd})));
    f.close();
    w.LoadFile(unknown);
    for (const char* name : {"act_print_sheet", "act_sheet_pdf"})
        QVERIFY2(!action(w, name)->isEnabled(), name);
}

void TstSettingsSheet::pdfOfTheUnsavedStateAsShown()
{
    Harness h;
    TFormMain& w = h.make();
    const QString firmware = h.path("weiche.hex");
    QVERIFY(QFile::copy(fx("classic_629_turnout.hex"), firmware));
    w.LoadFile(firmware);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.addressRows()[1].address->setText(QStringLiteral("77")); // an unsaved change
    const QString pdf = h.path("blatt.pdf");

    h.dialogs.saveAnswers << QString(); // cancelled: nothing written
    choose(w, "act_sheet_pdf");
    QCOMPARE(h.dialogs.saveProposed, QStringList{h.path("weiche.pdf")});
    QVERIFY(!QFile::exists(pdf));

    h.dialogs.saveAnswers << pdf;
    choose(w, "act_sheet_pdf");
    QCOMPARE(head(pdf), QByteArray("%PDF-"));
    QCOMPARE(h.dialogs.suffixes.last(), QStringLiteral("pdf"));
    QVERIFY(h.prompter.texts().empty());
    // The sheet is no save: the change is still unsaved.
    QVERIFY(w.session.HasUnsavedChanges());
}

void TstSettingsSheet::printThroughThePrintDialog()
{
    Harness h;
    const QString out = h.path("gedruckt.pdf");
    int asked = 0;
    h.printDialog = [&](QPrinter& printer, QWidget*) {
        ++asked;
        // A4 portrait is what the dialog starts with.
        if (printer.pageLayout().pageSize().id() != QPageSize::A4 ||
            printer.pageLayout().orientation() != QPageLayout::Portrait)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        return asked == 2; // the first time the user cancels
    };
    TFormMain& w = h.make();
    w.LoadFile(fx("classic_684_blinkmuster.hex"));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    choose(w, "act_print_sheet");
    QCOMPARE(asked, 1);
    QVERIFY(!QFile::exists(out));
    choose(w, "act_print_sheet");
    QCOMPARE(asked, 2);
    QCOMPARE(head(out), QByteArray("%PDF-"));
}

QTEST_MAIN(TstSettingsSheet)
#include "tst_settings_sheet.moc"
