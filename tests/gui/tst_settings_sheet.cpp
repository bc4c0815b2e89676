// The settings sheet from the window's menu: "Einstellungsblatt drucken…" and "Einstellungsblatt
// als PDF…", each chosen in the opened "Datei" menu with the mouse as a user does.

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

#include "MainWindowHarness.h"
#include "core/tools/SettingsSheet.h"
#include "gui/app/TFormMain.h"
#include "gui/common/QtText.h"
#include "print/SheetPrint.h"

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
    void pictureNeverPartedFromItsCaption();
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

// A page break never falls between a caption and its picture (the paragraph holding both starts
// on the next page when it would not end on its own), nor after a heading. The LED blink
// patterns give many strips, over several pages.
void TstSettingsSheet::pictureNeverPartedFromItsCaption()
{
    Harness h;
    TFormMain& w = h.make();
    QCOMPARE(w.LoadFile(fx("classic_684_lumo_blinkmuster.hex")), hz::LoadOutcome::Done);
    const hz::tools::SettingsSheet sheet = w.editor.settingsSheet();
    QList<QImage> pictures;
    int drawn = 0; // a pattern without outputs used is its caption alone
    for (const hz::tools::SheetPicture* p : hz::tools::SheetPictures(sheet)) {
        drawn += p->width > 0 && p->height > 0;
        const hz::tools::PicturePixels px = hz::tools::FramedPixels(*p);
        pictures.append(
            hz::print::PixelImage(px.width, px.height, reinterpret_cast<const unsigned char*>(px.pixels.data())));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QPdfWriter pdf(&buffer);
    hz::print::SetSheetPage(pdf);
    QTextDocument doc;
    const qreal pageHeight = hz::print::LayOutSheet(
        doc, pdf, hz::gui::fromStd(hz::tools::SheetHtml(sheet, hz::tools::PrintPictureTag)), pictures);
    QVERIFY(doc.pageCount() >= 2);
    int pictured = 0, moved = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0) {
            // A heading stands on the page of what it heads.
            QVERIFY(block.next().isValid());
            QCOMPARE(int(doc.documentLayout()->blockBoundingRect(block).top() / pageHeight),
                     int(doc.documentLayout()->blockBoundingRect(block.next()).top() / pageHeight));
        }
        bool picture = false;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
            picture = picture || it.fragment().charFormat().isImageFormat();
        if (!picture)
            continue;
        ++pictured;
        QVERIFY2(block.text().size() > 1, "the caption stands in the picture's paragraph");
        const QRectF r = doc.documentLayout()->blockBoundingRect(block);
        QCOMPARE(int(r.top() / pageHeight), int((r.bottom() - 1) / pageHeight));
        if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            ++moved;
    }
    QCOMPARE(pictured, drawn);
    // Everything after the moved pictures is laid out too, down to the foot line on the last page.
    const QTextBlock foot = doc.lastBlock();
    QVERIFY2(foot.text().startsWith(QStringLiteral("Gedruckt am")), qPrintable(foot.text()));
    const QRectF r = doc.documentLayout()->blockBoundingRect(foot);
    QVERIFY(r.height() > 0);
    QCOMPARE(int(r.top() / pageHeight), doc.pageCount() - 1);
    QVERIFY2(moved >= 1, "no picture had to move: the sheet shows nothing of the rule");
}

QTEST_MAIN(TstSettingsSheet)
#include "tst_settings_sheet.moc"
