// The servo curve page in its frame: the real image widget paints the model's graph, and
// drawing on it with the mouse moves the right point, in the model and in the painted pixels.
// In the main window the address frame stands beside it, and what the user does on one frame
// shows on the other.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowHarness.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/pages/servo/KornelAdrPage.h"
#include "core/pages/servo/KornelPage.h"
#include "gui/app/TFormMain.h"
#include "gui/pages/PageFrame.h"
#include "gui/pages/PageImage.h"

class TstKornelFrame : public QObject {
    Q_OBJECT

    hz::test::ScriptedPrompter prompter;

private slots:
    void drawingWithTheMouseMovesThePoint();
    void spinnerAndGridListReachTheModel();
    void aCountBeyondTheLimitShowsTheStoredNumberOnceTheFieldIsLeft();
    void addressFrameBesideItSharesTheWorkingCopy();
};

namespace {

// The fixture's curve 1: ten points (i x 13 + 7) & 127, the relay on at points 0 and 5.
void load(hz::Session& session, PageFrame& frame)
{
    QCOMPARE(session.LoadFile(hz::test::fixture("servo_kornel4.hex")), hz::LoadOutcome::Done);
    frame.setGeometry(0, 0, 540, 555);
    frame.refresh();
    frame.show();
}

} // namespace

void TstKornelFrame::drawingWithTheMouseMovesThePoint()
{
    hz::Session session(prompter);
    hz::pages::KornelPage& page = session.pages.page<hz::pages::KornelPage>();
    PageFrame frame(page, nullptr);
    load(session, frame);

    auto* image = frame.findChild<PageImage*>("servo_Image1");
    QVERIFY(image);
    QCOMPARE(image->size(), QSize(530, 201));
    QCOMPARE(image->cursor().shape(), Qt::CrossCursor);
    // point 1 (position 20) stands at x 52, y trunc(201 - 20 x 1.5703125) = 169; the top row is white
    QCOMPARE(page.CurveData[1], 20);
    QCOMPARE(image->image().pixel(52, 1), qRgb(255, 255, 255));
    QCOMPARE(image->image().pixel(52, 169), qRgb(0, 0, 0));

    // press, move to the top above point 1 (x 26 snaps to it), release
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(26, 0));
    QTest::mouseMove(image, QPoint(26, 0));
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(26, 0));
    QCOMPARE(page.CurveData[1], 127);
    QCOMPARE(page.CurveData[0], 0x87);
    QCOMPARE(page.CurveData[2], 33);
    QVERIFY(page.hasPending());
    QVERIFY(frame.findChild<QWidget*>("servo_btn_uebernehmen")->isEnabled());
    // the square of point 1 now sits at the top: red inside, black outline; its old place is
    // crossed only by the new line from point 0
    QCOMPARE(image->image().pixel(51, 0), qRgb(255, 0, 0));
    QCOMPARE(image->image().pixel(54, 2), qRgb(0, 0, 0));
    QCOMPARE(image->image().pixel(60, 169), qRgb(255, 255, 255));

    // moves without a pressed button draw nothing
    QTest::mouseMove(image, QPoint(104, 200));
    QCOMPARE(page.CurveData[2], 33);

    // the relay graph: point 1 switched on from row 0
    auto* relay = frame.findChild<PageImage*>("servo_Image2");
    QVERIFY(relay && relay->isVisible());
    QCOMPARE(relay->image().pixel(70, 30), qRgb(255, 255, 255));
    QTest::mousePress(relay, Qt::LeftButton, {}, QPoint(70, 0));
    QTest::mouseMove(relay, QPoint(70, 0));
    QTest::mouseRelease(relay, Qt::LeftButton, {}, QPoint(70, 0));
    QCOMPARE(page.CurveData[1], 0x80 | 127);
    QCOMPARE(relay->image().pixel(70, 30), qRgb(255, 0, 0));
}

void TstKornelFrame::spinnerAndGridListReachTheModel()
{
    hz::Session session(prompter);
    hz::pages::KornelPage& page = session.pages.page<hz::pages::KornelPage>();
    PageFrame frame(page, nullptr);
    load(session, frame);

    auto* count = frame.findChild<QLineEdit*>("edt_Anzahl");
    auto* spin = frame.findChild<QSpinBox*>("UpDown1");
    QVERIFY(count && spin);
    QCOMPARE(spin->value(), 10);
    spin->stepUp();
    QCOMPARE(count->text(), QStringLiteral("11"));
    QCOMPARE(page.CurveData[101], 11);

    auto* grid = frame.findChild<QComboBox*>("cbx_raster_x");
    QVERIFY(grid);
    grid->setCurrentIndex(4);
    QCOMPARE(page.RasterX, 4);
    // eleven points: lines at x = trunc(j x single(520 / 11) x 11 / 5)
    auto* image = frame.findChild<PageImage*>("servo_Image1");
    QCOMPARE(image->image().pixel(104, 30), qRgb(0, 255, 0));
}

void TstKornelFrame::aCountBeyondTheLimitShowsTheStoredNumberOnceTheFieldIsLeft()
{
    hz::Session session(prompter);
    hz::pages::KornelPage& page = session.pages.page<hz::pages::KornelPage>();
    PageFrame frame(page, nullptr);
    load(session, frame);
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));

    auto* count = frame.findChild<QLineEdit*>("edt_Anzahl");
    auto* stretch = frame.findChild<QLineEdit*>("edt_stretch");
    auto* total = frame.findChild<QLabel*>("lbl_KurveInfo2");
    QVERIFY(count && stretch && total);
    count->setFocus();
    QTRY_VERIFY(count->hasFocus());
    count->selectAll();
    QTest::keyClicks(count, "150");
    // While typing the field keeps what was typed and the label follows it; the curve holds 100.
    QCOMPARE(count->text(), QStringLiteral("150"));
    QCOMPARE(page.CurveData[101], 100);
    QCOMPARE(total->text(), QStringLiteral("Gesamtzeit für diese Kurve = 29800 ms"));
    // Leaving the field shows the number stored, and the label follows that.
    stretch->setFocus();
    QTRY_VERIFY(stretch->hasFocus());
    QCOMPARE(count->text(), QStringLiteral("100"));
    QCOMPARE(total->text(), QStringLiteral("Gesamtzeit für diese Kurve = 19800 ms"));
    QCOMPARE(frame.findChild<QSpinBox*>("UpDown1")->value(), 100);
    QCOMPARE(page.CurveData[101], 100);
    // A number within the limits stays as typed when the field is left.
    stretch->selectAll();
    QTest::keyClicks(stretch, "7");
    count->setFocus();
    QTRY_VERIFY(count->hasFocus());
    QCOMPARE(stretch->text(), QStringLiteral("7"));
    QCOMPARE(page.CurveData[102], 7);
}

void TstKornelFrame::addressFrameBesideItSharesTheWorkingCopy()
{
    QTemporaryDir dir;
    hz::test::ScriptedFileDialogs dialogs;
    hz::gui::MainWindowServices services;
    services.prompter = &prompter;
    services.dialogs = &dialogs;
    services.openUrl = [](const QString&) { return true; };
    services.settingsPath = dir.filePath(QStringLiteral("hexzwirbel.ini"));
    TFormMain w(services);
    w.show();
    QCOMPARE(w.LoadFile(QString::fromStdString(hz::test::fixture("servo_kornel4.hex"))), hz::LoadOutcome::Done);

    // page kind 4: the address frame in the address area, the curve frame right of it
    PageFrame* adr = hz::test::window::frameOf(w, "FrameKornelAdr1");
    PageFrame* curve = hz::test::window::frameOf(w, "FrameKornel1");
    QVERIFY(adr->isVisible() && curve->isVisible());
    QCOMPARE(adr->geometry(), QRect(6, 120, 398, 530));
    QCOMPARE(curve->x(), 410);
    QVERIFY(adr->geometry().right() < curve->x());

    // the Kornel-4's eight rows with their four lists, read from the table
    const struct {
        const char* name;
        QStringList items;
        QString current;
    } lists[] = {
        {"cbx_a6_servo", {"Servo 1", "Servo 2", "Servo 3", "Servo 4"}, "Servo 2"},
        {"cbx_a6_action", {"Start", "Start Loop", "Abbruch", "Beenden"}, "Start"},
        {"cbx_a6_curve", {"Kurve 1", "Kurve 2", "Kurve 3", "Kurve 4"}, "Kurve 2"},
        {"cbx_a1_relais", {"Relais 1", "Relais 2", "Relais 3", "Relais 4"}, "Relais 1"},
        {"cbx_a8_curve", {"Kurve 1", "Kurve 2", "Kurve 3", "Kurve 4"}, "Kurve 4"},
    };
    for (const auto& l : lists) {
        auto* box = adr->findChild<QComboBox*>(QString::fromLatin1(l.name));
        QVERIFY2(box && box->isVisible(), l.name);
        QStringList items;
        for (int k = 0; k < box->count(); ++k)
            items << box->itemText(k);
        QCOMPARE(items, l.items);
        QCOMPARE(box->currentText(), l.current);
    }
    QCOMPARE(adr->findChild<QLabel*>(QStringLiteral("lbl_servo_adresse05"))->text(), QStringLiteral("Adresse 05:"));
    // the pulse times are shown, not typed
    for (const char* name : {"servo_edt_Offset_1", "servo_edt_max_1", "servo_edt_Offset_4", "servo_edt_max_4"}) {
        auto* edit = adr->findChild<QLineEdit*>(QString::fromLatin1(name));
        QVERIFY2(edit && edit->isVisible() && edit->isReadOnly(), name);
    }
    QCOMPARE(adr->findChild<QLineEdit*>(QStringLiteral("servo_edt_Offset_1"))->text(), QStringLiteral("1,000"));

    // choosing "Beenden" for address 6 in the real list: its curve list goes, and the curve
    // frame's "übernehmen" is enabled
    auto* accept = curve->findChild<QPushButton*>(QStringLiteral("servo_btn_uebernehmen"));
    QVERIFY(accept && !accept->isEnabled());
    auto* action6 = adr->findChild<QComboBox*>(QStringLiteral("cbx_a6_action"));
    action6->setCurrentIndex(3);
    QCOMPARE(w.session.pages.page<hz::pages::KornelAdrPage>().find("cbx_a6_action")->selected, 3);
    QVERIFY(!adr->findChild<QComboBox*>(QStringLiteral("cbx_a6_curve"))->isVisible());
    QVERIFY(accept->isEnabled());

    // a pulse step shows its time at once; "verwerfen" on the curve frame brings the address
    // list back on the other frame and keeps the pulse time
    adr->findChild<QPushButton*>(QStringLiteral("btn_inc10offset_1"))->click();
    QCOMPARE(adr->findChild<QLineEdit*>(QStringLiteral("servo_edt_Offset_1"))->text(), QStringLiteral("1,080"));
    curve->findChild<QPushButton*>(QStringLiteral("servo_btn_verwerfen"))->click();
    QCOMPARE(action6->currentText(), QStringLiteral("Start"));
    QVERIFY(adr->findChild<QComboBox*>(QStringLiteral("cbx_a6_curve"))->isVisible());
    QVERIFY(!accept->isEnabled());
    QCOMPARE(adr->findChild<QLineEdit*>(QStringLiteral("servo_edt_Offset_1"))->text(), QStringLiteral("1,080"));
}

QTEST_MAIN(TstKornelFrame)
#include "tst_kornel_frame.moc"
