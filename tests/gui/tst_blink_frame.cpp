// The blink pattern frame over its core model: painting with the mouse on the real image
// widgets sets the step bits of the working copy and the pixels of the bars, the spinner
// arrows step the count, and "Übernehmen" writes the table into the image.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/pages/blink/BlinkmusterPage.h"
#include "gui/pages/BlinkmusterFrame.h"
#include "gui/pages/PageImage.h"

using hz::pages::BlinkmusterLedPage;
using hz::pages::BlinkmusterPage;

class TstBlinkFrame : public QObject {
    Q_OBJECT

    hz::test::ScriptedPrompter prompter;

    // Loads a fixture and shows its page in a frame of the size the host gives it.
    static void show(hz::Session& session, BlinkmusterFrame& f, const char* fixture, int height)
    {
        QCOMPARE(session.LoadFile(hz::test::fixture(fixture)), hz::LoadOutcome::Done);
        f.setGeometry(0, 0, 540, height);
        f.refresh();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
    }
    static void drag(PageImage* image, std::initializer_list<QPoint> points)
    {
        QTest::mousePress(image, Qt::LeftButton, {}, *points.begin());
        for (const QPoint& p : points)
            QTest::mouseMove(image, p);
        QTest::mouseRelease(image, Qt::LeftButton, {}, *(points.end() - 1));
    }
    static QRgb red() { return qRgb(255, 0, 0); }
    static QRgb white() { return qRgb(255, 255, 255); }

private slots:
    void paintingWithTheMouseSetsBitsAndPixels();
    void theLedFramePaintsTheSecondEntryOfAStep();
    void spinnerArrowsStepTheCount();
};

void TstBlinkFrame::paintingWithTheMouseSetsBitsAndPixels()
{
    hz::Session session(prompter);
    BlinkmusterPage& page = session.pages.page<BlinkmusterPage>();
    BlinkmusterFrame f(page, nullptr);
    show(session, f, "classic_684_blinkmuster.hex", BlinkmusterPage::kHeight);
    QCOMPARE(f.objectName(), QStringLiteral("FrameBlinkmuster1"));

    PageImage* out2 = f.image(2);
    QVERIFY(out2);
    QCOMPARE(out2->geometry(), QRect(40, 144, 490, 41));
    QCOMPARE(out2->cursor().shape(), Qt::CrossCursor);
    // address 1, 10 steps of 48 pixels: Out#2 is off in steps 0 and 1, on in step 2
    QCOMPARE(page.PatternData[0] & 2, 0);
    QCOMPARE(out2->image().pixel(20, 20), white());
    QCOMPARE(out2->image().pixel(100, 20), red());
    auto* accept = f.findChild<QPushButton*>("blinkmuster_btn_uebernehmen");
    QVERIFY(accept && !accept->isEnabled());

    // pressing alone paints nothing, which the image's tool tip tells
    QCOMPARE(out2->toolTip(), QStringLiteral("Maustaste drücken und ziehen: oben = an, unten = aus"));
    QTest::mousePress(out2, Qt::LeftButton, {}, QPoint(20, 2));
    QCOMPARE(page.PatternData[0] & 2, 0);
    QTest::mouseRelease(out2, Qt::LeftButton, {}, QPoint(20, 2));
    QVERIFY(!accept->isEnabled());

    // a drag in the upper part (rows 0..24) switches steps 0 and 1 on
    drag(out2, {QPoint(20, 24), QPoint(60, 3)});
    QCOMPARE(page.PatternData[0], 0x07);
    QCOMPARE(page.PatternData[1], 0x07);
    QCOMPARE(out2->image().pixel(20, 20), red());
    QCOMPARE(out2->image().pixel(0, 20), qRgb(0, 0, 0)); // the bar's outline
    QCOMPARE(out2->image().pixel(20, 8), qRgb(0, 0, 0));
    QCOMPARE(out2->image().pixel(20, 7), white());
    QVERIFY(accept->isEnabled());

    // row 25 and below switch off: step 2 on Out#2, and Out#1 in step 0 on its own image
    drag(out2, {QPoint(100, 25)});
    QCOMPARE(page.PatternData[2], 0x04);
    QCOMPARE(out2->image().pixel(100, 20), white());
    drag(f.image(1), {QPoint(10, 40)});
    QCOMPARE(page.PatternData[0], 0x06);
    QCOMPARE(f.image(1)->image().pixel(20, 20), white());

    // "Übernehmen" writes the working copy into the low bytes of words 0x300...
    QTest::mouseClick(accept, Qt::LeftButton);
    QVERIFY(!accept->isEnabled());
    QCOMPARE(session.image.get_Hex_ROM(0x600), std::string("06"));
    QCOMPARE(session.image.get_Hex_ROM(0x602), std::string("07"));
    QCOMPARE(session.image.get_Hex_ROM(0x604), std::string("04"));
    QCOMPARE(session.image.get_Hex_ROM(0x601), std::string("34")); // retlw stays
    QVERIFY(prompter.shown.empty());
}

void TstBlinkFrame::theLedFramePaintsTheSecondEntryOfAStep()
{
    hz::Session session(prompter);
    BlinkmusterLedPage& page = session.pages.page<BlinkmusterLedPage>();
    BlinkmusterLedFrame f(page, nullptr);
    show(session, f, "classic_684_lumo_blinkmuster.hex", BlinkmusterLedPage::kHeight);
    // 8 steps of 60 pixels; Out#7 (bit 2 of entries 128..) is off in step 3
    PageImage* out7 = f.image(7);
    QCOMPARE(out7->geometry(), QRect(40, 333, 490, 38));
    QCOMPARE(page.PatternData[128 + 3] & 4, 0);
    drag(out7, {QPoint(200, 23)});
    QCOMPARE(page.PatternData[128 + 3], 0x08 | 0x04);
    QCOMPARE(page.PatternData[3], 0x0F); // outputs 1..4 of the step untouched
    QCOMPARE(out7->image().pixel(200, 30), red());
    QCOMPARE(out7->image().pixel(200, 37), qRgb(0, 0, 0)); // the bar ends at the image's edge
    // dragged high on beyond the window's right edge: the last step shown, 7; nothing beyond
    // the count changes (step 99's entry is not programmed, 0xFF)
    QCOMPARE(page.PatternData[128 + 7] & 4, 0);
    drag(out7, {QPoint(300, 2), QPoint(7000, 2)});
    QCOMPARE(page.PatternData[128 + 5] & 4, 4);
    QCOMPARE(page.PatternData[128 + 7] & 4, 4);
    QCOMPARE(page.PatternData[128 + 99], 0xFF);
    QVERIFY(f.findChild<QPushButton*>("led_blinkmuster_btn_uebernehmen")->isEnabled());
}

void TstBlinkFrame::spinnerArrowsStepTheCount()
{
    hz::Session session(prompter);
    BlinkmusterPage& page = session.pages.page<BlinkmusterPage>();
    BlinkmusterFrame f(page, nullptr);
    show(session, f, "classic_684_blinkmuster.hex", BlinkmusterPage::kHeight);
    QSpinBox* arrows = f.arrows("UpDown3");
    QVERIFY(arrows);
    QCOMPARE(arrows->value(), 10);
    arrows->stepUp();
    QCOMPARE(f.findChild<QLineEdit*>("blinkmuster_edt_Anzahl")->text(), QStringLiteral("11"));
    QCOMPARE(page.PatternData[53], 11);
    // typing moves the arrows' value along
    f.findChild<QLineEdit*>("blinkmuster_edt_Anzahl")->setText(QStringLiteral("60"));
    QCOMPARE(f.findChild<QLineEdit*>("blinkmuster_edt_Anzahl")->text(), QStringLiteral("50"));
    QCOMPARE(arrows->value(), 50);
    QCOMPARE(f.findChild<QLabel*>("blinkmuster_lbl_KurveInfo2")->text(), QStringLiteral("Gesamtzeit = 10.0000 s"));
}

QTEST_MAIN(TstBlinkFrame)
#include "tst_blink_frame.moc"
