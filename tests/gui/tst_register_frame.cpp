// The CV register page: which rows a decoder type shows, where they stand, how values come out
// of the EEPROM image and how typing writes them back.

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "ScriptedPrompter.h"
#include "Session.h"
#include "TestFiles.h"
#include "pages/register/CvLists.h"
#include "app/ControlFont.h"
#include "pages/Frame_register.h"

class TstRegisterFrame : public QObject {
    Q_OBJECT

    hz::test::ScriptedPrompter prompter;

    // Number of rows whose label and edit are both not hidden; the rest must be hidden both.
    static int shownRows(TFrameRegister& f)
    {
        int n = 0;
        for (int k = 0; k < TFrameRegister::kRows; ++k) {
            if (!f.label(k)->isHidden())
                ++n;
            if (f.label(k)->isHidden() != f.edit(k)->isHidden())
                return -1;
        }
        return n;
    }

    static void show(TFrameRegister& f)
    {
        f.Updating = true;
        f.ResetRows();
        f.ShowCvList();
    }

private slots:
    void rowsStandInFiveColumnsHiddenUntilFilled();
    void rowsKeepTheirFontWhenTheFrameChangesIt();
    void eachDecoderTypeShowsItsList_data();
    void eachDecoderTypeShowsItsList();
    void aShorterListHidesTheRowsOfTheLongerOne();
    void valuesComeFromTheLoadedFile();
    void typingWritesThroughAtOnce();
    void showingAgainRereadsTheImage();
};

void TstRegisterFrame::rowsStandInFiveColumnsHiddenUntilFilled()
{
    hz::Session session(prompter);
    TFrameRegister f(session, nullptr);
    QCOMPARE(f.findChild<QFrame*>("pnl_cv"), f.panel());
    // A row's controls are made when the row is first asked for, with their names.
    QVERIFY(f.findChildren<QLineEdit*>().isEmpty());
    QLineEdit* edit6 = f.edit(6);
    QCOMPARE(f.findChild<QLineEdit*>("cv_edit_6"), edit6);
    QCOMPARE(f.findChild<QLabel*>("cv_label_6"), f.label(6));
    QCOMPARE(f.findChildren<QLineEdit*>().size(), 7);
    QCOMPARE(f.CvCount(), 0);
    QCOMPARE(shownRows(f), 0);

    struct Row {
        int row, x, k;
    } rows[] = {
        {0, 5, 0},   {1, 5, 1},    {20, 5, 20},  {21, 235, 0}, {41, 235, 20},
        {42, 465, 0}, {62, 465, 20}, {63, 695, 0}, {72, 695, 9},  {80, 695, 17},
        {81, 925, 0}, {511, 925, 430},
    };
    for (const auto& r : rows) {
        QCOMPARE(f.label(r.row)->geometry(), QRect(r.x, 19 + 25 * r.k, 100, 20));
        QCOMPARE(f.edit(r.row)->geometry(), QRect(r.x + 180, 15 + 25 * r.k, 40, 20));
        QCOMPARE(f.edit(r.row)->parentWidget(), f.panel());
    }

    // The page host gives the frame its size before the rows are reset.
    f.setGeometry(5, 8, 940, 555);
    f.ResetRows();
    QCOMPARE(f.panel()->geometry(), QRect(0, 0, 940, 555));
    QCOMPARE(f.findChild<QFrame*>("Line1")->geometry(), QRect(230, 8, 2, 554));
    QCOMPARE(f.findChild<QFrame*>("Line2")->geometry(), QRect(460, 8, 2, 554));
    QCOMPARE(f.findChild<QFrame*>("Line3")->geometry(), QRect(690, 8, 2, 554));
    QVERIFY(!f.Updating);
}

void TstRegisterFrame::rowsKeepTheirFontWhenTheFrameChangesIt()
{
    hz::Session session(prompter);
    TFrameRegister f(session, nullptr);
    QFont big = f.font();
    big.setPointSize(big.pointSize() + 20);
    big.setBold(true);
    f.setFont(big);
    QCOMPARE(f.label(0)->font(), rowControlFont());
    QCOMPARE(f.edit(300)->font(), rowControlFont());
}

void TstRegisterFrame::eachDecoderTypeShowsItsList_data()
{
    QTest::addColumn<int>("identifier");
    QTest::addColumn<int>("rows");
    QTest::newRow("F-Dekoder mit CV") << 0x4400 << 25;
    QTest::newRow("Forsta 16F18324") << 0x14B00 << 73;
    QTest::newRow("Knipso 16F18324") << 0x15000 << 73;
    QTest::newRow("no CV list") << 0x14B01 << 0;
}

void TstRegisterFrame::eachDecoderTypeShowsItsList()
{
    QFETCH(int, identifier);
    QFETCH(int, rows);
    prompter.clear();
    hz::Session session(prompter);
    session.image.resetMemory();
    session.ident.Identifier = identifier;
    TFrameRegister f(session, nullptr);
    show(f);

    QCOMPARE(f.CvCount(), rows);
    QCOMPARE(shownRows(f), rows);
    const auto& list = hz::CvListFor(identifier);
    int widest = 0;
    for (int k = 0; k < rows; ++k) {
        const QString caption = QString::fromStdString(list[static_cast<std::size_t>(k)].caption);
        QCOMPARE(f.label(k)->text(), caption);
        // Every caption can be read in full: it fits into its label, the label ends before the
        // edit field, and the tool tip repeats the caption.
        const QRect lbl = f.label(k)->geometry();
        QCOMPARE(lbl.height(), 20);
        QVERIFY2(f.label(k)->fontMetrics().horizontalAdvance(caption) <= lbl.width(), qPrintable(caption));
        QVERIFY(lbl.width() >= 100);
        QVERIFY(lbl.right() <= f.edit(k)->x() - 5);
        QCOMPARE(f.label(k)->toolTip(), caption);
        // One font for the whole list, not below 7 pt.
        QCOMPARE(f.label(k)->font(), f.label(0)->font());
        widest = std::max(widest, f.label(k)->fontMetrics().horizontalAdvance(caption));
        QCOMPARE(f.CvAddress(k), list[static_cast<std::size_t>(k)].address);
        QVERIFY(!f.label(k)->isHidden());
        QCOMPARE(f.edit(k)->text(), QStringLiteral("255")); // blank EEPROM
    }
    if (rows > 0) {
        // The font is only as small as the widest caption needs: half a point more would not
        // fit (or the list keeps the row font).
        const QFont font = f.label(0)->font();
        QVERIFY(font.pointSizeF() >= 7.0);
        QVERIFY(font.pointSizeF() <= rowControlFont().pointSizeF());
        if (font.pointSizeF() < rowControlFont().pointSizeF()) {
            QFont larger = font;
            larger.setStretch(100);
            larger.setPointSizeF(font.pointSizeF() + 0.5);
            int widestLarger = 0;
            for (const auto& entry : list)
                widestLarger = std::max(widestLarger,
                                        QFontMetrics(larger).horizontalAdvance(QString::fromStdString(entry.caption)));
            QVERIFY2(widestLarger > 175, qPrintable(QStringLiteral("%1 px").arg(widestLarger)));
        }
        QVERIFY(widest <= 175);
    }
    QVERIFY(!f.Updating);
    QVERIFY(prompter.shown.empty());
}

void TstRegisterFrame::aShorterListHidesTheRowsOfTheLongerOne()
{
    prompter.clear();
    hz::Session session(prompter);
    session.image.resetMemory();
    session.ident.Identifier = 0x14B00;
    TFrameRegister f(session, nullptr);
    show(f);
    session.ident.Identifier = 0x4400;
    show(f);
    QCOMPARE(f.CvCount(), 25);
    QCOMPARE(shownRows(f), 25);
    QCOMPARE(f.label(5)->text(), QStringLiteral("CV29: Konfiguration"));
    // The shorter list has captions of its own font, not the one the longer list needed.
    TFrameRegister fresh(session, nullptr);
    show(fresh);
    QCOMPARE(f.label(5)->font(), fresh.label(5)->font());
    QCOMPARE(f.label(61)->font(), rowControlFont());
    QVERIFY(f.label(61)->toolTip().isEmpty());
    QVERIFY(f.label(25)->text().isEmpty());
    QCOMPARE(f.label(61)->geometry(), QRect(465, 19 + 25 * 19, 100, 20)); // back to its design size

    // Row 30 still remembers address 0x98 of the longer list; its field is not in use and must
    // not write there.
    f.edit(30)->setText("5");
    QCOMPARE(QString::fromStdString(session.image.get_Hex_EE(0x98)), QStringLiteral("FF"));
    QVERIFY(prompter.shown.empty());
}

void TstRegisterFrame::valuesComeFromTheLoadedFile()
{
    prompter.clear();
    hz::Session session(prompter);
    session.LoadFile(hz::test::fixture("f18324_function.hex"));
    QCOMPARE(session.ident.Identifier, 0x14B00);
    prompter.clear();
    // A byte text as a foreign tool may write it: showing the page must not rewrite it.
    session.image.set_Hex_EE(0x62, "0a");

    TFrameRegister f(session, nullptr);
    show(f);
    QCOMPARE(f.label(1)->text(), QStringLiteral("CV007: Versions-Nummer"));
    QCOMPARE(f.edit(0)->text(), QStringLiteral("3"));   // "03"
    QCOMPARE(f.edit(1)->text(), QStringLiteral("10"));  // "0A"
    QCOMPARE(f.edit(2)->text(), QStringLiteral("10"));  // "0a"
    QCOMPARE(f.edit(3)->text(), QStringLiteral("0"));   // "00"
    QCOMPARE(f.edit(6)->text(), QStringLiteral("6"));   // "06", CV29 at 0x6A
    QCOMPARE(f.edit(7)->text(), QStringLiteral("255")); // "FF", not in the file
    QCOMPARE(QString::fromStdString(session.image.get_Hex_EE(0x62)), QStringLiteral("0a"));
    QVERIFY(prompter.shown.empty());
}

void TstRegisterFrame::typingWritesThroughAtOnce()
{
    prompter.clear();
    hz::Session session(prompter);
    session.LoadFile(hz::test::fixture("f18324_function.hex"));
    prompter.clear();
    TFrameRegister f(session, nullptr);
    f.resize(940, 555);
    show(f);
    f.show();
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));

    QLineEdit* cv29 = f.edit(6);
    QCOMPARE(f.label(6)->text(), QStringLiteral("CV029: Konfigbyte"));
    const auto ee = [&] { return QString::fromStdString(session.image.get_Hex_EE(0x6A)); };

    // Clearing the field is no input: the byte keeps its value, nothing is said.
    cv29->clear();
    QCOMPARE(ee(), QStringLiteral("06"));
    QVERIFY(prompter.shown.empty());

    QTest::keyClicks(cv29, "7");
    QCOMPARE(ee(), QStringLiteral("07"));
    QVERIFY(prompter.shown.empty());

    // Every keystroke that leaves a number writes it; the one that does not is refused.
    cv29->clear();
    f.edit(0)->setFocus();
    QTest::keyClicks(cv29, "1a");
    QCOMPARE(ee(), QStringLiteral("01"));
    QCOMPARE(cv29->text(), QStringLiteral("1a"));
    QCOMPARE(prompter.shown.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(prompter.shown[0].text),
             QString::fromUtf8("Ungültige Eingabe.\rZugelassen sind nur Zahlen"));
    QCOMPARE(prompter.shown[0].kind, hz::MsgKind::Warning);
    QCOMPARE(prompter.shown[0].buttons, hz::Buttons::Cancel);
    QVERIFY(cv29->hasFocus());

    // A whole number that is no byte never reaches the image.
    prompter.clear();
    cv29->clear();
    f.edit(0)->setFocus();
    QTest::keyClicks(cv29, "300");
    QCOMPARE(ee(), QStringLiteral("1E")); // 30, the last valid keystroke
    QCOMPARE(prompter.shown.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(prompter.shown[0].text),
             QString::fromUtf8("Ungültige Eingabe.\rZugelassen sind nur Zahlen von 0 bis 255"));
    QVERIFY(cv29->hasFocus());

    // The first row of another column writes its own address.
    prompter.clear();
    QCOMPARE(f.label(21)->text(), QStringLiteral("CV127: Lokadresse#5, Low-Byte"));
    f.edit(21)->clear();
    QTest::keyClicks(f.edit(21), "255");
    QCOMPARE(QString::fromStdString(session.image.get_Hex_EE(0x8F)), QStringLiteral("FF"));
    f.edit(21)->setText("+12");
    QCOMPARE(QString::fromStdString(session.image.get_Hex_EE(0x8F)), QStringLiteral("0C"));
    QVERIFY(prompter.shown.empty());
}

void TstRegisterFrame::showingAgainRereadsTheImage()
{
    prompter.clear();
    hz::Session session(prompter);
    session.image.resetMemory();
    session.ident.Identifier = 0x15000;
    TFrameRegister f(session, nullptr);
    show(f);
    f.edit(6)->setText("42");
    f.edit(7)->setText("");
    session.image.set_Hex_EE(0x60, "0A"); // changed behind the page's back
    QCOMPARE(QString::fromStdString(session.image.get_Hex_EE(0x6A)), QStringLiteral("2A"));

    show(f);
    QCOMPARE(f.edit(0)->text(), QStringLiteral("10"));
    QCOMPARE(f.edit(6)->text(), QStringLiteral("42"));
    QCOMPARE(f.edit(7)->text(), QStringLiteral("255"));
    QCOMPARE(f.label(9)->text(), QStringLiteral("CV061: Blinker Frequenz 18324"));
    QVERIFY(prompter.shown.empty());
}

QTEST_MAIN(TstRegisterFrame)
#include "tst_register_frame.moc"
