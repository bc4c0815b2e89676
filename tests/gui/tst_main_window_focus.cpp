// Where the keyboard focus starts and where Tab takes it: the address rows, then the pages top
// to bottom and left to right (a column to its end before the next), then the buttons below
// them and the documentation button - for every kind of layout a decoder brings.

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <cstring>

#include "MainWindowHarness.h"
#include "gui/app/TFormMain.h"

using namespace hz::test::window;

namespace {

void showActive(TFormMain& w)
{
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

// Every widget of the window that Tab can reach now.
QList<QWidget*> reachable(TFormMain& w)
{
    QList<QWidget*> all;
    for (QWidget* c : w.findChildren<QWidget*>()) {
        // the inner edit of a spin box is reached through the box
        if (qobject_cast<QAbstractSpinBox*>(c->parentWidget()) || qobject_cast<QComboBox*>(c->parentWidget()))
            continue;
        if (c->isVisibleTo(&w) && c->isEnabled() && (c->focusPolicy() & Qt::TabFocus) && !c->focusProxy())
            all << c;
    }
    return all;
}

// The widgets Tab visits from the focused one on, until the focus is back where it started.
QList<QWidget*> tabCycle()
{
    QList<QWidget*> cycle;
    QWidget* start = QApplication::focusWidget();
    if (!start)
        return cycle;
    cycle << start;
    for (int k = 0; k < 2000; ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || now == start)
            break;
        cycle << now;
    }
    return cycle;
}

QStringList names(const QList<QWidget*>& widgets)
{
    QStringList n;
    for (const QWidget* w : widgets)
        n << w->objectName();
    return n;
}

// The row of an address row's widget ("edt_adr_12" is 12); -1 for any other widget.
int addressRow(const QWidget* w)
{
    const QString n = w->objectName();
    for (const char* prefix : {"edt_adr_", "edt_fkt_", "btn_RG_"})
        if (n.startsWith(QLatin1String(prefix)))
            return n.mid(static_cast<qsizetype>(std::strlen(prefix))).toInt();
    return -1;
}

const QStringList kButtons{"btn_prev", "btn_load", "btn_next", "btn_save", "btn_info", "btn_close", "btn_goweb"};

} // namespace

class TstMainWindowFocus : public QObject {
    Q_OBJECT

private slots:
    void startsAtLoadWithoutAFile();
    void readingOrder_data();
    void readingOrder();
    void aLoadThatStopsGoesBackToLoad();
};

// An empty window: "HEX laden" has the focus, and Tab goes on through the buttons in the order
// they stand.
void TstMainWindowFocus::startsAtLoadWithoutAFile()
{
    Harness h;
    TFormMain& w = h.make();
    showActive(w);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.btn_load));
    // "speichern" is disabled without a file: Tab passes it by
    QCOMPARE(names(tabCycle()),
             (QStringList{"btn_load", "btn_next", "btn_info", "btn_close", "btn_goweb", "btn_prev"}));
}

void TstMainWindowFocus::readingOrder_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("first");      // the focus after the load
    QTest::addColumn<QStringList>("frames"); // the shown page frames, in the order Tab reaches them
    QTest::newRow("rows in one column, additional functions beside them") << "classic_629_turnout.hex"
                                                                          << "edt_adr_1" << QStringList{"FrameZusatz1"};
    // the turntable's rows start at row 4
    QTest::newRow("rows in two columns, no page") << "classic_676_turntable.hex"
                                                  << "edt_adr_4" << QStringList{};
    QTest::newRow("servo: rows, the servo address page below them, the curve page beside")
        << "servo_kornel4.hex"
        << "edt_adr_1" << QStringList{"FrameKornelAdr1", "FrameKornel1"};
    QTest::newRow("register page over the address area") << "f18324_function.hex"
                                                         << "" << QStringList{"FrameRegister1"};
    QTest::newRow("blink pattern page") << "classic_684_blinkmuster.hex"
                                        << "edt_adr_1" << QStringList{"FrameBlinkmuster1"};
    QTest::newRow("LED blink pattern page") << "classic_684_lumo_blinkmuster.hex"
                                            << "edt_adr_1" << QStringList{"FrameBlinkmuster_led1"};
}

// The file opened as the command line opens it; then Tab, key by key, once round the window.
void TstMainWindowFocus::readingOrder()
{
    QFETCH(QString, file);
    QFETCH(QString, first);
    QFETCH(QStringList, frames);
    Harness h;
    TFormMain& w = h.make();
    w.LoadFile(fx(file.toLatin1().constData()));
    w.RedoLayout();
    showActive(w);

    const QList<QWidget*> cycle = tabCycle();
    QVERIFY(!cycle.isEmpty());
    if (!first.isEmpty())
        QCOMPARE(cycle.front()->objectName(), first);

    // once round: every widget that takes the focus, each once
    QList<QWidget*> all = reachable(w);
    QCOMPARE(cycle.size(), all.size());
    for (QWidget* c : cycle)
        QVERIFY2(all.removeOne(c), qPrintable(c->objectName()));

    // the address rows first, in the order of their numbers (a column to its end) ...
    qsizetype k = 0;
    int lastRow = 0;
    for (; k < cycle.size() && addressRow(cycle[k]) >= 0; ++k) {
        QVERIFY2(addressRow(cycle[k]) >= lastRow, qPrintable(names(cycle).join(' ')));
        lastRow = addressRow(cycle[k]);
    }
    if (first.isEmpty()) {
        QCOMPARE(k, 0); // no address rows: the page's first control has the focus
        QVERIFY(frameOf(w, qPrintable(frames.front()))->isAncestorOf(cycle.front()));
    }
    // ... then the pages, one after the other, each top to bottom and left to right ...
    for (const QString& name : frames) {
        PageFrame* frame = frameOf(w, qPrintable(name));
        QVERIFY(frame && frame->isVisible());
        const qsizetype start = k;
        QPoint last(-1, -1);
        int lastRight = -1;
        for (; k < cycle.size() && frame->isAncestorOf(cycle[k]); ++k) {
            const QPoint at = cycle[k]->mapTo(frame, QPoint(0, 0));
            // lower, or on the same line (within a few pixels) further right, or in a column
            // to the right of the last control
            const bool below = at.y() > last.y() + 8;
            const bool sameLineRight = std::abs(at.y() - last.y()) <= 8 && at.x() > last.x();
            const bool nextColumn = at.x() >= lastRight;
            QVERIFY2(below || sameLineRight || nextColumn, qPrintable(QStringLiteral("%1 at (%2,%3) after (%4,%5)")
                                                                          .arg(cycle[k]->objectName())
                                                                          .arg(at.x())
                                                                          .arg(at.y())
                                                                          .arg(last.x())
                                                                          .arg(last.y())));
            last = at;
            lastRight = at.x() + cycle[k]->width();
        }
        QVERIFY2(k > start, qPrintable(name + " was not reached: " + names(cycle).join(' ')));
    }
    // ... then the buttons as they stand, and the documentation button last
    QStringList rest = names(cycle.mid(k));
    QStringList buttons = kButtons;
    buttons.removeAll(QStringLiteral("btn_prev")); // nothing before the first file of a folder
    rest.removeAll(QStringLiteral("btn_prev"));
    QCOMPARE(rest, buttons);
}

// After a load that stops, no file is open: the focus goes back to "HEX laden".
void TstMainWindowFocus::aLoadThatStopsGoesBackToLoad()
{
    Harness h;
    TFormMain& w = h.make();
    showActive(w);
    w.LoadFile(fx("classic_629_turnout.hex"));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("edt_adr_1"));
    hz::test::writeFile(h.path("broken.hex").toStdString(), ":10000000ZZ\r\n");
    w.LoadFile(h.path("broken.hex"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.btn_load));
}

QTEST_MAIN(TstMainWindowFocus)
#include "tst_main_window_focus.moc"
