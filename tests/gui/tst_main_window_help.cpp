// Help that works offline: F1 opens the installed manual, the web button the page of the shown
// decoder type; with a documentation site named in the settings both lead there instead. A page
// that is missing, or an address nothing could open, is said - not passed over in silence.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>
#include <QtTest>

#include "MainWindowHarness.h"
#include "core/Session.h"
#include "gui/app/Settings.h"
#include "gui/app/TFormMain.h"

using namespace hz::test::window;

namespace {

void showActive(TFormMain& w)
{
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("<!DOCTYPE html>\n");
}

// A data folder with the manual's index and the page of the Stellino 0x208 only.
QString dataFolder(const Harness& h)
{
    const QString data = h.path("share");
    touch(data + "/handbuch/index.html");
    touch(data + "/handbuch/typen/0x208.html");
    return data;
}

void writeBase(const Harness& h, const QString& base)
{
    QFile ini(h.settingsPath);
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(("[Documentation]\nBaseUrl=" + base + "\n").toUtf8());
}

QString fileUrl(const QString& path) { return QUrl::fromLocalFile(path).toString(); }

const QString kTurnout = QStringLiteral("classic_629_turnout.hex"); // 0x208 "Stellino  ab V3.51"

} // namespace

class TstMainWindowHelp : public QObject {
    Q_OBJECT

private slots:
    void f1OpensTheManual_data();
    void f1OpensTheManual();
    void webButtonOpensTheTypePage_data();
    void webButtonOpensTheTypePage();
    void failuresAreSaid_data();
    void failuresAreSaid();
    void theBuildsOwnManual();
    void baseKeptInTheSettingsFile();
};

void TstMainWindowHelp::f1OpensTheManual_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("expect"); // "" for the manual's index
    QTest::newRow("no base: the manual") << QString() << QString();
    QTest::newRow("a site") << "https://example.net/doku"
                            << "https://example.net/doku";
    QTest::newRow("blanks around it") << "  https://example.net/doku/  "
                                      << "https://example.net/doku/";
}

void TstMainWindowHelp::f1OpensTheManual()
{
    QFETCH(QString, base);
    QFETCH(QString, expect);
    Harness h;
    h.dataFolder = dataFolder(h);
    writeBase(h, base);
    TFormMain& w = h.make();
    // a type is shown: F1 is the manual all the same, not the type's page
    w.LoadFile(fx(kTurnout.toLatin1().constData()));
    showActive(w);
    QTest::keyClick(&w, Qt::Key_F1);
    QCOMPARE(h.openedUrls, QStringList{expect.isEmpty() ? fileUrl(h.dataFolder + "/handbuch/index.html") : expect});
    QVERIFY(h.prompter.shown.empty());
}

void TstMainWindowHelp::webButtonOpensTheTypePage_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("typePage");    // "" for the local page
    QTest::addColumn<QString>("programPage"); // "" for the manual's index
    QTest::newRow("no base: the generated page") << QString() << QString() << QString();
    QTest::newRow("a site") << "https://example.net/doku"
                            << "https://example.net/doku/stellino.html"
                            << "https://example.net/doku";
    QTest::newRow("a site ending in /") << "https://example.net/doku/"
                                        << "https://example.net/doku/stellino.html"
                                        << "https://example.net/doku/";
}

// A page of the local manual is named by what it is about, and the hint says that it is on
// this computer; an address on a documentation site is shown as it is, with the site's hint.
void TstMainWindowHelp::webButtonOpensTheTypePage()
{
    QFETCH(QString, base);
    QFETCH(QString, typePage);
    QFETCH(QString, programPage);
    Harness h;
    h.dataFolder = dataFolder(h);
    writeBase(h, base);
    const QString localIndex = h.dataFolder + "/handbuch/index.html";
    const QString localType = h.dataFolder + "/handbuch/typen/0x208.html";
    const bool local = base.isEmpty();
    const QString siteHint = QStringLiteral("Gehe auf die WebSite zu dieser Software-Variante");
    TFormMain& w = h.make();
    // nothing loaded: the program's own page
    QCOMPARE(w.btn_goweb->text(), local ? QStringLiteral("Handbuch") : programPage);
    QCOMPARE(w.btn_goweb->toolTip(), local ? QStringLiteral("Öffnet das Handbuch von HEX Zwirbel im Browser.\nEs "
                                                            "liegt auf diesem Rechner, dafür braucht es kein Internet.")
                                           : siteHint);
    showActive(w);
    QTest::mouseClick(w.btn_goweb, Qt::LeftButton);
    QCOMPARE(h.openedUrls, QStringList{local ? fileUrl(localIndex) : programPage});
    h.openedUrls.clear();

    w.LoadFile(fx(kTurnout.toLatin1().constData()));
    QCOMPARE(w.btn_goweb->text(), local ? QStringLiteral("Handbuch: Stellino ab V3.51") : typePage);
    QCOMPARE(w.btn_goweb->toolTip(),
             local ? QStringLiteral("Öffnet die Seite des Handbuchs zu diesem Decoder-Typ im Browser.\nSie liegt auf "
                                    "diesem Rechner, dafür braucht es kein Internet.")
                   : siteHint);
    QTest::mouseClick(w.btn_goweb, Qt::LeftButton);
    QCOMPARE(h.openedUrls, QStringList{local ? fileUrl(localType) : typePage});

    // a file no type matches leads back to the program's page
    writeUnknownDecoder(h.path("unknown.hex"));
    w.LoadFile(h.path("unknown.hex"));
    QCOMPARE(w.btn_goweb->text(), local ? QStringLiteral("Handbuch") : programPage);
    QCOMPARE(QString::fromStdString(w.session.ident.DocPage), local ? localIndex : programPage);
}

void TstMainWindowHelp::failuresAreSaid_data()
{
    QTest::addColumn<bool>("f1");           // F1, or the web button
    QTest::addColumn<bool>("pageThere");    // the local page exists
    QTest::addColumn<bool>("browserOpens"); // what the opener reports
    QTest::addColumn<QString>("message");   // the start of the message; "" for none
    QTest::newRow("type page missing") << false << false << true << "Die Seite gibt es nicht:\n";
    QTest::newRow("manual missing") << true << false << true << "Die Seite gibt es nicht:\n";
    QTest::newRow("no browser, web button") << false << true << false << "Die Seite konnte nicht geöffnet werden:\n";
    QTest::newRow("no browser, F1") << true << true << false << "Die Seite konnte nicht geöffnet werden:\n";
}

void TstMainWindowHelp::failuresAreSaid()
{
    QFETCH(bool, f1);
    QFETCH(bool, pageThere);
    QFETCH(bool, browserOpens);
    QFETCH(QString, message);
    Harness h;
    h.dataFolder = pageThere ? dataFolder(h) : h.path("nowhere");
    h.browserOpens = browserOpens;
    TFormMain& w = h.make();
    w.LoadFile(fx(kTurnout.toLatin1().constData()));
    h.prompter.clear();
    const QString address =
        f1 ? h.dataFolder + "/handbuch/index.html" : QString::fromStdString(w.session.ident.DocPage);
    showActive(w);
    if (f1)
        QTest::keyClick(&w, Qt::Key_F1);
    else
        QTest::mouseClick(w.btn_goweb, Qt::LeftButton);

    // a missing page is not handed to the browser at all
    QCOMPARE(h.openedUrls.size(), pageThere ? 1 : 0);
    QCOMPARE(h.prompter.shown.size(), std::size_t(1));
    QCOMPARE(h.prompter.shown[0].kind, hz::MsgKind::Error);
    QCOMPARE(h.prompter.shown[0].buttons, hz::Buttons::Ok);
    const QString text = QString::fromStdString(h.prompter.shown[0].text);
    QVERIFY2(text.startsWith(message + address + "\n"), qPrintable(text));
    // the window goes on
    QVERIFY(w.isVisible());
}

// Without a data folder given, the window finds the manual the build wrote beside the test
// program: the index and the page of every type it is shown.
void TstMainWindowHelp::theBuildsOwnManual()
{
    Harness h;
    TFormMain& w = h.make();
    showActive(w);
    QTest::keyClick(&w, Qt::Key_F1);
    QCOMPARE(h.openedUrls.size(), 1);
    const QString index = QUrl(h.openedUrls[0]).toLocalFile();
    QVERIFY2(index.endsWith("/share/hexzwirbel/handbuch/index.html") && QFileInfo(index).isFile(), qPrintable(index));
    for (const char* file : {"classic_629_turnout.hex", "servo_kornel4.hex", "f18324_function.hex"}) {
        w.LoadFile(fx(file));
        const QString page = QString::fromStdString(w.session.ident.DocPage);
        QVERIFY2(QFileInfo(page).isFile(), qPrintable(page));
        QVERIFY(page.contains("/handbuch/typen/0x"));
        QVERIFY2(w.btn_goweb->text().startsWith("Handbuch: "), qPrintable(w.btn_goweb->text()));
    }
    QVERIFY(h.prompter.shown.empty());
}

// The base is read from the settings file and written back unchanged when the window closes;
// without one the key is written empty, where a user finds it.
void TstMainWindowHelp::baseKeptInTheSettingsFile()
{
    for (const QString& base : {QString(), QStringLiteral("https://example.net/doku")}) {
        Harness h;
        if (!base.isEmpty())
            writeBase(h, base);
        QCOMPARE(ReadSettings(h.settingsPath).docBase, base);
        TFormMain& w = h.make();
        w.close();
        QCOMPARE(ReadSettings(h.settingsPath).docBase, base);
        QFile ini(h.settingsPath);
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray text = ini.readAll();
        QVERIFY(text.contains("[Documentation]") && text.contains(("BaseUrl=" + base).toUtf8()));
    }
}

QTEST_MAIN(TstMainWindowHelp)
#include "tst_main_window_help.moc"
