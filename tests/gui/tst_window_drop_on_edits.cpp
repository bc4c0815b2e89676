// A .hex file dropped on a line edit of the window - an address field, a page's field - loads
// the file as a drop anywhere else on the window does; the field does not take the file's path
// as text. Text dropped on a field stays the field's.

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QtTest>

#include "MainWindowHarness.h"
#include "gui/app/TFormMain.h"

using namespace hz::test::window;

class TstWindowDropOnEdits : public QObject {
    Q_OBJECT
private slots:
    void hexFileDroppedOnAFieldLoadsIt_data();
    void hexFileDroppedOnAFieldLoadsIt();
    void textDroppedOnAFieldStaysText();
};

namespace {

// Drags `mime` onto the middle of `target` and drops it there, as the window system does.
bool dropOn(QWidget* target, QMimeData& mime)
{
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return enter.isAccepted() && drop.isAccepted();
}

} // namespace

void TstWindowDropOnEdits::hexFileDroppedOnAFieldLoadsIt_data()
{
    QTest::addColumn<QString>("shown"); // the file the window shows before the drop
    QTest::addColumn<QString>("field"); // the line edit the file is dropped on
    QTest::newRow("address field") << "classic_629_turnout.hex"
                                   << "edt_adr_1";
    QTest::newRow("CV field") << "f18324_function.hex"
                              << "CvEdits[6]";
    QTest::newRow("curve page's scale field") << "servo_kornel4.hex"
                                              << "edt_scale";
}

void TstWindowDropOnEdits::hexFileDroppedOnAFieldLoadsIt()
{
    QFETCH(QString, shown);
    QFETCH(QString, field);
    Harness h;
    TFormMain& w = h.make();
    w.LoadFile(fx(shown.toLatin1().constData()));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QLineEdit* edit = nullptr;
    for (QLineEdit* e : w.findChildren<QLineEdit*>())
        if (e->objectName() == field && e->isVisibleTo(&w))
            edit = e;
    if (!edit && field.startsWith(QLatin1String("edt_adr")))
        edit = w.addressRows()[0].address;
    QVERIFY2(edit, qPrintable(field));
    const QString before = edit->text();

    const QString dropped = fx("classic_684_idbits.hex");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dropped)});
    mime.setText(QUrl::fromLocalFile(dropped).toString()); // as file managers offer it, too
    QVERIFY(dropOn(edit, mime));
    QCOMPARE(edit->text(), before);                       // the path went nowhere into the field
    QTRY_COMPARE(status(w)[3].startsWith(dropped), true); // the load follows the end of the drop
}

void TstWindowDropOnEdits::textDroppedOnAFieldStaysText()
{
    Harness h;
    TFormMain& w = h.make();
    w.LoadFile(fx("servo_kornel4.hex"));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QLineEdit* scale = w.findChild<QLineEdit*>(QStringLiteral("edt_scale"));
    QVERIFY(scale);
    const QString status3 = status(w)[3];
    QMimeData mime;
    mime.setText(QStringLiteral("1,5"));
    const QPoint at = scale->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(scale, &enter);
    QVERIFY(enter.isAccepted()); // the field takes it, as a field does
    QCOMPARE(status(w)[3], status3);
}

QTEST_MAIN(TstWindowDropOnEdits)
#include "tst_window_drop_on_edits.moc"
