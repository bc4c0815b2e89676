// Undo and redo in the window: what the user types into a row's widget is a step the window
// records after the frame's event, and undo puts the widget and the unsaved state back.

#include <QLineEdit>
#include <QtTest>

#include "MainWindowHarness.h"
#include "gui/app/TFormMain.h"
#include "gui/pages/AddressRowsFrame.h"

using namespace hz::test::window;

class TstMainWindowUndo : public QObject {
    Q_OBJECT

private slots:
    void typedRowGoesBackAndForth();
};

void TstMainWindowUndo::typedRowGoesBackAndForth()
{
    Harness h;
    TFormMain& w = h.make();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.LoadFile(fx("classic_629_turnout.hex"));
    QVERIFY(!w.canUndo());
    QLineEdit* row1 = w.addressRows()[1].address;
    const QString loaded = row1->text();

    row1->setFocus();
    row1->selectAll();
    QTest::keyClicks(row1, QStringLiteral("77")); // two keystrokes, one step
    QCOMPARE(row1->text(), QStringLiteral("77"));
    QVERIFY(w.session.HasUnsavedChanges());
    QVERIFY(w.canUndo());

    w.undo();
    QCOMPARE(row1->text(), loaded);
    QVERIFY(!w.session.HasUnsavedChanges());
    QVERIFY(!w.canUndo());

    w.redo();
    QCOMPARE(row1->text(), QStringLiteral("77"));
    QVERIFY(w.session.HasUnsavedChanges());

    // back to the file's state, and that again undone
    w.revertToFile();
    QCOMPARE(row1->text(), loaded);
    QVERIFY(!w.session.HasUnsavedChanges());
    w.undo();
    QCOMPARE(row1->text(), QStringLiteral("77"));
}

QTEST_MAIN(TstMainWindowUndo)
#include "tst_main_window_undo.moc"
