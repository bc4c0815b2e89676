// The main window's settings file: read at start-up, written however the window closes
// ("Ende" or the close box), the servo page's grid as its raster, and a write that fails.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "MainWindowHarness.h"
#include "core/Session.h"
#include "core/catalogue/Catalogue.h"
#include "gui/app/Settings.h"
#include "gui/app/TFormMain.h"
#include "gui/pages/PageFrame.h"
#include "gui/pages/RegisterFrame.h"

using hz::test::fixture;
using namespace hz::test::window;

class TstMainWindowSettings : public QObject {
    Q_OBJECT

private slots:
    void settingsAreReadAtStartUp();
    void settingsWrittenHoweverTheWindowCloses_data();
    void settingsWrittenHoweverTheWindowCloses();
    void servoGridIsTheSettingsRaster();
    void settingsWriteFailure_data();
    void settingsWriteFailure();
};

void TstMainWindowSettings::settingsAreReadAtStartUp()
{
    Harness h;
    SettingsValues v;
    v.rasterX = 3;
    v.rasterY = 2;
    v.width = 900;
    v.top = 33;
    v.left = 44;
    v.lastFileName = QStringLiteral("/daten/weiche.hex");
    QString error;
    QVERIFY2(WriteSettings(h.settingsPath, v, &error), qPrintable(error));

    TFormMain& w = h.make();
    QCOMPARE(w.pos(), QPoint(44, 33));
    QCOMPARE(w.RasterX, 3);
    QCOMPARE(w.RasterY, 2);
    QCOMPARE(w.width(), 720); // the base layout sizes the window for the empty page again
    QCOMPARE(status(w)[3], QStringLiteral(" HEX Zwirbel ")); // the last file is proposed, not loaded

    w.btn_load->click();
    QCOMPARE(h.dialogs.openProposed, QStringList{QStringLiteral("/daten/weiche.hex")});
    QVERIFY(h.prompter.shown.empty());
}

namespace {

// Closes the window the way the user chose: the "Ende" button or the window's close box.
void closeBy(TFormMain& w, const QString& how)
{
    if (how == QLatin1String("Ende"))
        w.btn_close->click();
    else
        w.close();
}

} // namespace

void TstMainWindowSettings::settingsWrittenHoweverTheWindowCloses_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Ende") << QStringLiteral("Ende");
    QTest::newRow("close box") << QStringLiteral("close box");
}

void TstMainWindowSettings::settingsWrittenHoweverTheWindowCloses()
{
    QFETCH(QString, how);
    Harness h;
    TFormMain& w = h.make();
    w.LoadFile(fx("classic_629_turnout.hex"));
    w.RasterX = 4;
    w.RasterY = 1;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QPoint pos = w.pos();
    closeBy(w, how);
    QVERIFY(!w.isVisible());
    QVERIFY(h.prompter.shown.empty());

    const SettingsValues v = ReadSettings(h.settingsPath);
    QCOMPARE(v.rasterX, 4);
    QCOMPARE(v.rasterY, 1);
    QCOMPARE(v.width, 740);
    QCOMPARE(v.left, pos.x());
    QCOMPARE(v.top, pos.y());
    QCOMPARE(v.lastFileName, fx("classic_629_turnout.hex"));

    // Read again by the next start: the window stands where it was left.
    TFormMain& again = h.make();
    QCOMPARE(again.pos(), pos);
    QCOMPARE(again.RasterX, 4);
}

// The servo page's grid lists show the raster of the settings file; picking a grid there is
// what "Ende" writes back.
void TstMainWindowSettings::servoGridIsTheSettingsRaster()
{
    Harness h;
    SettingsValues v;
    v.rasterX = 3;
    v.rasterY = 2;
    QString error;
    QVERIFY2(WriteSettings(h.settingsPath, v, &error), qPrintable(error));
    TFormMain& w = h.make();
    QCOMPARE(w.LoadFile(fx("servo_kornel4.hex")), hz::LoadOutcome::Done);
    auto* x = w.findChild<QComboBox*>(QStringLiteral("cbx_raster_x"));
    auto* y = w.findChild<QComboBox*>(QStringLiteral("cbx_raster_y"));
    QVERIFY(x && y && x->isVisibleTo(&w));
    QCOMPARE(x->currentIndex(), 3);
    QCOMPARE(y->currentIndex(), 2);
    x->setCurrentIndex(7);
    QCOMPARE(w.RasterX, 7);
    w.btn_close->click();
    QCOMPARE(ReadSettings(h.settingsPath).rasterX, 7);
    QCOMPARE(ReadSettings(h.settingsPath).rasterY, 2);
}

void TstMainWindowSettings::settingsWriteFailure_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("staysOpen");
    // "Ende" stays open so that the user can mend what the message names; the close box
    // says the same and closes all the same.
    QTest::newRow("Ende") << QStringLiteral("Ende") << true;
    QTest::newRow("close box") << QStringLiteral("close box") << false;
}

void TstMainWindowSettings::settingsWriteFailure()
{
    QFETCH(QString, how);
    QFETCH(bool, staysOpen);
    QTemporaryDir dir;
    Harness h(dir.path()); // a folder cannot be written as a file
    TFormMain& w = h.make();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    closeBy(w, how);
    QCOMPARE(h.prompter.shown.size(), std::size_t(1));
    QCOMPARE(h.prompter.shown[0].kind, hz::MsgKind::Error);
    QVERIFY(h.prompter.shown[0].text.find(dir.path().toStdString()) != std::string::npos);
    QCOMPARE(w.isVisible(), staysOpen);
}

QTEST_MAIN(TstMainWindowSettings)
#include "tst_main_window_settings.moc"
