// The servo curve page in its frame: the real image widget paints the model's graph, and
// drawing on it with the mouse moves the right point, in the model and in the painted pixels.

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "gui/pages/PageFrame.h"
#include "gui/pages/PageImage.h"

class TstKornelFrame : public QObject {
    Q_OBJECT

    hz::test::ScriptedPrompter prompter;

private slots:
    void drawingWithTheMouseMovesThePoint();
    void spinnerAndGridListReachTheModel();
};

namespace {

// The fixture's curve 1: ten points (i x 13 + 7) & 127, the relay on at points 0 and 5.
void load(hz::Session& session, TFrameBase& frame)
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
    hz::pages::KornelPage& page = session.pages.Kornel;
    TFrameBase frame(page, nullptr);
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
    hz::pages::KornelPage& page = session.pages.Kornel;
    TFrameBase frame(page, nullptr);
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

QTEST_MAIN(TstKornelFrame)
#include "tst_kornel_frame.moc"
