// The manual (doc/manual) against the window it describes:
//  - every place it names for a control - "links unten", "rechts", "oben" - is where that control
//    is in the real window. A place is marked in the page as <span data-ort="NAME">unten
//    links</span>, NAME being the control's object name ("btn_goweb"), "seite" for the decoder's
//    page, or "WINDOW/NAME" for a control of another window;
//  - every menu entry it names (<i>Datei ▸ Öffnen…</i>) is in the window's menu, with the
//    shortcut the manual gives for it, and every entry of the window's menus is described, with
//    its shortcut at least once.

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QtTest>

#include <map>

#include "MainWindowHarness.h"
#include "gui/app/TFormMain.h"
#include "gui/pages/PageFrame.h"
#include "gui/tools/LayoutOverviewDialog.h"

using namespace hz::test::window;

namespace {

struct Page {
    QString name;
    QString text;
};

QList<Page> manualPages()
{
    QList<Page> pages;
    const QDir dir(QStringLiteral(HZ_SOURCE_DIR "/doc/manual"));
    for (const QString& name : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            pages.append({name, QString::fromUtf8(f.readAll())});
    }
    return pages;
}

// Tags taken out and blanks made one, as a reader sees the text.
QString plain(QString text)
{
    return text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")).trimmed();
}

// One place the manual names: which half of the window, across and down (empty: not said).
struct Place {
    QString horizontal; // "links" or "rechts"
    QString vertical;   // "oben" or "unten"
};

Place placeNamed(const QString& words)
{
    const QString w = words.toLower();
    Place p;
    if (w.contains(QLatin1String("links")))
        p.horizontal = QStringLiteral("links");
    if (w.contains(QLatin1String("rechts")))
        p.horizontal = p.horizontal.isEmpty() ? QStringLiteral("rechts") : QStringLiteral("links und rechts");
    if (w.contains(QLatin1String("oben")))
        p.vertical = QStringLiteral("oben");
    if (w.contains(QLatin1String("unten")))
        p.vertical = p.vertical.isEmpty() ? QStringLiteral("unten") : QStringLiteral("oben und unten");
    return p;
}

// Where `control` is in `window`: the half its middle lies in.
Place placeOf(const QWidget& control, const QWidget& window)
{
    const QRect r(control.mapTo(&window, QPoint(0, 0)), control.size());
    const QPointF mid = QRectF(r).center();
    return {mid.x() < window.width() / 2.0 ? QStringLiteral("links") : QStringLiteral("rechts"),
            mid.y() < window.height() / 2.0 ? QStringLiteral("oben") : QStringLiteral("unten")};
}

QString withoutMnemonic(QString text) { return text.remove(QLatin1Char('&')); }

// A shortcut as the German window shows it.
QString germanKeys(const QKeySequence& keys)
{
    return keys.toString(QKeySequence::PortableText)
        .replace(QLatin1String("Ctrl"), QLatin1String("Strg"))
        .replace(QLatin1String("Shift"), QLatin1String("Umschalt"));
}

} // namespace

class TstManualMatchesWindow : public QObject {
    Q_OBJECT

private slots:
    void placesAreWhereTheControlsAre();
    void menuEntriesAreTheWindows();
    void readingTheMarks_data();
    void readingTheMarks();
};

// The test's own reading of the position words, on made-up marks: a fault here would let a
// wrong place pass.
void TstManualMatchesWindow::readingTheMarks_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("horizontal");
    QTest::addColumn<QString>("vertical");
    QTest::newRow("unten links") << "unten links"
                                 << "links"
                                 << "unten";
    QTest::newRow("Rechts unten, capital") << "Rechts unten"
                                           << "rechts"
                                           << "unten";
    QTest::newRow("only across") << "links"
                                 << "links"
                                 << "";
    QTest::newRow("only down") << "ganz unten"
                               << ""
                               << "unten";
    QTest::newRow("both across") << "links und rechts"
                                 << "links und rechts"
                                 << "";
}

void TstManualMatchesWindow::readingTheMarks()
{
    QFETCH(QString, words);
    QFETCH(QString, horizontal);
    QFETCH(QString, vertical);
    const Place p = placeNamed(words);
    QCOMPARE(p.horizontal, horizontal);
    QCOMPARE(p.vertical, vertical);
}

void TstManualMatchesWindow::placesAreWhereTheControlsAre()
{
    Harness h;
    TFormMain& w = h.make();
    // A decoder with a page, so that the window has its full arrangement.
    w.LoadFile(QStringLiteral(HZ_SOURCE_DIR "/examples/stellino_12f629.hex"));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    LayoutOverviewDialog overview(h.dialogs, h.prompter, {}, &w);
    overview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&overview));
    const std::map<QString, QWidget*> windows{{QString(), &w}, {QStringLiteral("LayoutOverview"), &overview}};

    const QRegularExpression mark(QStringLiteral("<span data-ort=\"([^\"]+)\">([^<]+)</span>"));
    bool gowebChecked = false;
    for (const Page& page : manualPages()) {
        for (auto it = mark.globalMatch(page.text); it.hasNext();) {
            const auto m = it.next();
            const QString where = page.name + QStringLiteral(": ") + m.captured(0);
            const QString ref = m.captured(1);
            const qsizetype slash = ref.indexOf(QLatin1Char('/'));
            const QString windowName = slash < 0 ? QString() : ref.left(slash);
            const QString controlName = slash < 0 ? ref : ref.mid(slash + 1);
            const auto window = windows.find(windowName);
            QVERIFY2(window != windows.end(), qPrintable(where + " - kein solches Fenster"));
            const QWidget* control = nullptr;
            if (controlName == QLatin1String("seite")) {
                for (const PageFrame* f : w.frames())
                    if (f->isVisibleTo(&w))
                        control = f;
            } else {
                control = window->second->findChild<QWidget*>(controlName);
            }
            QVERIFY2(control && control->isVisibleTo(window->second), qPrintable(where + " - kein sichtbares Element"));
            const Place said = placeNamed(m.captured(2));
            QVERIFY2(!said.horizontal.isEmpty() || !said.vertical.isEmpty(), qPrintable(where + " - kein Ort genannt"));
            const Place is = placeOf(*control, *window->second);
            const QString found = QStringLiteral(" - steht %1 %2").arg(is.vertical, is.horizontal);
            if (!said.horizontal.isEmpty())
                QVERIFY2(said.horizontal == is.horizontal, qPrintable(where + found));
            if (!said.vertical.isEmpty())
                QVERIFY2(said.vertical == is.vertical, qPrintable(where + found));
            gowebChecked = gowebChecked || controlName == QLatin1String("btn_goweb");
        }
    }
    // The marks were read at all: the documentation button's place, which the manual once gave
    // wrong, is among them.
    QVERIFY(gowebChecked);
}

void TstManualMatchesWindow::menuEntriesAreTheWindows()
{
    Harness h;
    TFormMain& w = h.make();
    // menu title -> entry text -> shortcut as the window shows it
    std::map<QString, std::map<QString, QString>> menus;
    for (QAction* top : w.menuBar()->actions()) {
        if (!top->menu())
            continue;
        auto& entries = menus[withoutMnemonic(top->text())];
        for (QAction* a : top->menu()->actions())
            if (!a->isSeparator())
                entries[withoutMnemonic(a->text())] = germanKeys(a->shortcut());
    }
    QVERIFY(menus.count(QStringLiteral("Datei")) == 1);

    // <i>Datei ▸ Speichern</i> (<kbd>Strg+S</kbd>), or in a table: ...</i></td><td><kbd>Strg+S</kbd>
    const QRegularExpression reference(
        QStringLiteral("<i>([^<▸]+)▸([^<]+)</i>(?:\\s*\\(<kbd>([^<]+)</kbd>\\)|</td>\\s*<td><kbd>([^<]+)</kbd>)?"));
    std::map<QString, bool> named, namedWithKeys;
    for (const Page& page : manualPages()) {
        for (auto it = reference.globalMatch(page.text); it.hasNext();) {
            const auto m = it.next();
            const QString where = page.name + QStringLiteral(": ") + plain(m.captured(0));
            const QString menu = plain(m.captured(1));
            const QString entry = plain(m.captured(2));
            const QString keys = m.captured(3).isEmpty() ? m.captured(4) : m.captured(3);
            const auto found = menus.find(menu);
            QVERIFY2(found != menus.end(), qPrintable(where + " - kein solches Menü"));
            const auto e = found->second.find(entry);
            QVERIFY2(e != found->second.end(), qPrintable(where + " - kein solcher Eintrag"));
            if (!keys.isEmpty())
                QVERIFY2(keys == e->second, qPrintable(where + " - die Taste ist " + e->second));
            named[menu + "/" + entry] = true;
            if (!keys.isEmpty())
                namedWithKeys[menu + "/" + entry] = true;
        }
    }
    for (const auto& [menu, entries] : menus) {
        for (const auto& [entry, keys] : entries) {
            const QString id = menu + "/" + entry;
            QVERIFY2(named.count(id), qPrintable(menu + " ▸ " + entry + " steht nicht im Handbuch"));
            if (!keys.isEmpty())
                QVERIFY2(namedWithKeys.count(id),
                         qPrintable(menu + " ▸ " + entry + ": die Taste " + keys + " steht nicht im Handbuch"));
        }
    }
}

QTEST_MAIN(TstManualMatchesWindow)
#include "tst_manual_matches_window.moc"
