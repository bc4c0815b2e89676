// Undo and redo in the window: what the user types into a row's widget is a step the window
// records after the frame's event, and undo puts the widget and the unsaved state back.

#include <QAction>
#include <QLineEdit>
#include <QtTest>

#include "MainWindowHarness.h"
#include "core/pages/PageAction.h"
#include "gui/app/TFormMain.h"
#include "gui/pages/AddressRowsFrame.h"

using namespace hz::test::window;

class TstMainWindowUndo : public QObject {
    Q_OBJECT

private slots:
    void typedRowGoesBackAndForth();
    void shortcutsReachTheHistoryFromATextField();
    void carriedSettingsAreAStepOfTheirOwn();
};

void TstMainWindowUndo::typedRowGoesBackAndForth()
{
    Harness h;
    TFormMain& w = h.make();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.LoadFile(fx("classic_629_turnout.hex"));
    QVERIFY(!w.session.canUndo());
    QLineEdit* row1 = w.addressRows()[1].address;
    const QString loaded = row1->text();

    row1->setFocus();
    row1->selectAll();
    QTest::keyClicks(row1, QStringLiteral("77")); // two keystrokes, one step
    QCOMPARE(row1->text(), QStringLiteral("77"));
    QVERIFY(w.session.HasUnsavedChanges());
    QVERIFY(w.session.canUndo());

    w.editor.undo();
    QCOMPARE(row1->text(), loaded);
    QVERIFY(!w.session.HasUnsavedChanges());
    QVERIFY(!w.session.canUndo());

    w.editor.redo();
    QCOMPARE(row1->text(), QStringLiteral("77"));
    QVERIFY(w.session.HasUnsavedChanges());

    // back to the file's state, and that again undone
    w.editor.revertToFile();
    QCOMPARE(row1->text(), loaded);
    QVERIFY(!w.session.HasUnsavedChanges());
    w.editor.undo();
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

// Typed into a CV field, then "Einstellungen übernehmen aus…" carrying another value into that
// field: one undo takes back the carrying only, the next the typing.
void TstMainWindowUndo::carriedSettingsAreAStepOfTheirOwn()
{
    Harness h;
    TFormMain& w = h.make();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QString file = fx("f18324_function.hex");
    w.LoadFile(file);
    auto* cv = w.findChild<QLineEdit*>(QStringLiteral("CvEdits[5]"));
    QVERIFY(cv && cv->isVisible());
    const QString loaded = cv->text();

    hz::test::ScriptedPrompter otherPrompter;
    hz::Session other(otherPrompter);
    QCOMPARE(other.LoadFile(file.toStdString()), hz::LoadOutcome::Done);
    std::string error;
    QVERIFY(hz::pages::ApplyPageAction(other.shownPages(), "CvEdits[5]=42", error));
    const QString otherFile = h.path("other.hex");
    QVERIFY(other.SaveTo(otherFile.toStdString()));

    cv->setFocus();
    cv->selectAll();
    QTest::keyClicks(cv, QStringLiteral("7"));
    QCOMPARE(cv->text(), QStringLiteral("7"));
    QVERIFY(w.editor.carrySettingsFrom(otherFile.toStdString(), [](const auto&, const auto&) { return true; }));
    QCOMPARE(cv->text(), QStringLiteral("42"));

    w.editor.undo();
    QCOMPARE(cv->text(), QStringLiteral("7"));
    w.editor.undo();
    QCOMPARE(cv->text(), loaded);
    QVERIFY(!w.session.canUndo());
    QVERIFY(!w.session.HasUnsavedChanges());
}

QTEST_MAIN(TstMainWindowUndo)
#include "tst_main_window_undo.moc"
