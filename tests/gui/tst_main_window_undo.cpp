// Undo and redo in the window: what the user types into a row's widget is a step the window
// records after the frame's event, and undo puts the widget and the unsaved state back.

#include <QAction>
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
    void shortcutsReachTheHistoryFromATextField();
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

// Ctrl+Z pressed in the very field typed into takes back the window's step (a field's own undo
// would know only that field), and the "Bearbeiten" entries follow what the history can do.
void TstMainWindowUndo::shortcutsReachTheHistoryFromATextField()
{
    Harness h;
    TFormMain& w = h.make();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* undo = w.findChild<QAction*>(QStringLiteral("act_undo"));
    auto* redo = w.findChild<QAction*>(QStringLiteral("act_redo"));
    auto* revert = w.findChild<QAction*>(QStringLiteral("act_revert"));
    QVERIFY(undo && redo && revert);
    QVERIFY(!undo->isEnabled() && !redo->isEnabled() && !revert->isEnabled());

    w.LoadFile(fx("classic_629_turnout.hex"));
    QLineEdit* row1 = w.addressRows()[1].address;
    const QString loaded = row1->text();
    row1->setFocus();
    row1->selectAll();
    QTest::keyClicks(row1, QStringLiteral("77"));
    QVERIFY(undo->isEnabled() && revert->isEnabled() && !redo->isEnabled());
    QVERIFY(w.isWindowModified());

    QTest::keyClick(row1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(row1->text(), loaded);
    QVERIFY(!w.isWindowModified());
    QVERIFY(!undo->isEnabled() && redo->isEnabled() && !revert->isEnabled());

    QTest::keyClick(row1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(row1->text(), QStringLiteral("77"));
    QVERIFY(w.isWindowModified());

    revert->trigger();
    QCOMPARE(row1->text(), loaded);
    QVERIFY(!w.isWindowModified());
}

QTEST_MAIN(TstMainWindowUndo)
#include "tst_main_window_undo.moc"
