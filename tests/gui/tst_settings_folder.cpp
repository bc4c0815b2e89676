// The settings file of the main window; where it lives beside the program or in the user's folder.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include "gui/app/Settings.h"

namespace {

void touch(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

QString readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class TstSettingsFolder : public QObject {
    Q_OBJECT
private slots:
    void settingsFileFollowsWhoOwnsTheProgramFolder_data();
    void settingsFileFollowsWhoOwnsTheProgramFolder();
    void programFolderIsSeenAsTheUserSeesIt();
    void runningProgramChoosesByItsFolder();
    void missingOrBrokenSettingsGiveDefaults();
    void settingsRoundTripKeepsForeignSections();
    void unwritableSettingsReportAndKeepTheFile();
};

void TstSettingsFolder::settingsFileFollowsWhoOwnsTheProgramFolder_data()
{
    QTest::addColumn<QString>("exe");
    QTest::addColumn<uint>("owner");    // of the program's folder
    QTest::addColumn<bool>("writable"); // for the running user
    QTest::addColumn<uint>("user");     // who runs the program
    QTest::addColumn<QString>("expected");

    const QString config = QStringLiteral("/home/bahn/.config/hexzwirbel/hexzwirbel.ini");
    // A portable copy: the user's own folder.
    QTest::newRow("own folder") << "/home/bahn/hz/hexzwirbel" << 1000u << true << 1000u
                                << "/home/bahn/hz/hexzwirbel.ini";
    QTest::newRow("renamed copy keeps its own file")
        << "/media/stick/zwirbel2" << 1000u << true << 1000u << "/media/stick/zwirbel2.ini";
    QTest::newRow("Windows-style name") << "/home/bahn/hz/HexZwirbel.EXE" << 1000u << true << 1000u
                                        << "/home/bahn/hz/HexZwirbel.ini";
    // Installed, or not the user's folder: the configuration home.
    QTest::newRow("installed, run by a user") << "/usr/bin/hexzwirbel" << 0u << false << 1000u << config;
    QTest::newRow("installed, run by root")
        << "/usr/bin/hexzwirbel" << 0u << true << 0u << "/root/.config/hexzwirbel/hexzwirbel.ini";
    QTest::newRow("own folder, not writable") << "/home/bahn/hz/hexzwirbel" << 1000u << false << 1000u << config;
    QTest::newRow("another user's writable folder") << "/srv/shared/hexzwirbel" << 1001u << true << 1000u << config;
    QTest::newRow("renamed, installed") << "/opt/hz/zwirbel2" << 0u << false << 1000u << config;
}

void TstSettingsFolder::settingsFileFollowsWhoOwnsTheProgramFolder()
{
    QFETCH(QString, exe);
    QFETCH(uint, owner);
    QFETCH(bool, writable);
    QFETCH(uint, user);
    QFETCH(QString, expected);
    const QString home = user == 0 ? QStringLiteral("/root/.config") : QStringLiteral("/home/bahn/.config");
    QCOMPARE(SettingsFileFor(ProgramFolder{exe, owner, writable}, user, home), expected);
}

// The facts are taken from the folder itself: its owner and whether the running user may write
// into it.
void TstSettingsFolder::programFolderIsSeenAsTheUserSeesIt()
{
    QTemporaryDir dir;
    const QString exe = dir.filePath("hexzwirbel");
    touch(exe);
    ProgramFolder f = ProgramFolderOf(exe);
    QCOMPARE(f.exePath, QFileInfo(exe).absoluteFilePath());
    QCOMPARE(f.ownerId, static_cast<uint>(::geteuid()));
    QVERIFY(f.writable);

    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    f = ProgramFolderOf(exe);
    QVERIFY(
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    if (::geteuid() == 0)
        QSKIP("root may write into any folder; the not-writable case needs another user");
    QVERIFY(!f.writable);
    QCOMPARE(SettingsFileFor(f, static_cast<unsigned>(::geteuid()), dir.filePath("config")),
             dir.filePath("config/hexzwirbel/hexzwirbel.ini"));
}

// The test program stands in a folder of the build; it is beside it for a user, in the
// configuration home for root.
void TstSettingsFolder::runningProgramChoosesByItsFolder()
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString path = SettingsFilePath();
    qunsetenv("XDG_CONFIG_HOME");
    if (::geteuid() == 0) {
        QCOMPARE(path, config.filePath("hexzwirbel/hexzwirbel.ini"));
        QVERIFY(QFileInfo(config.filePath("hexzwirbel")).isDir()); // ready for the first write
    } else {
        QCOMPARE(path, QCoreApplication::applicationFilePath() + ".ini");
    }
}

void TstSettingsFolder::missingOrBrokenSettingsGiveDefaults()
{
    QTemporaryDir dir;
    const SettingsValues none = ReadSettings(dir.filePath("none.ini"));
    QCOMPARE(none.rasterX, 0);
    QCOMPARE(none.rasterY, 0);
    QCOMPARE(none.width, 560);
    QCOMPARE(none.top, 10);
    QCOMPARE(none.left, 10);
    QVERIFY(none.lastFileName.isEmpty());
    QVERIFY(none.docBase.isEmpty()); // the installed manual

    const QString path = dir.filePath("broken.ini");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Window]\nWidth=breit\nTop=33\n[Raster]\ny=2\n");
    f.close();
    const SettingsValues v = ReadSettings(path);
    QCOMPARE(v.width, 560);
    QCOMPARE(v.top, 33);
    QCOMPARE(v.left, 10);
    QCOMPARE(v.rasterX, 0);
    QCOMPARE(v.rasterY, 2);
}

void TstSettingsFolder::settingsRoundTripKeepsForeignSections()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("hexzwirbel.ini");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Programmer]\r\nPort=/dev/ttyUSB0\r\n[Window]\r\nWidth=1\r\nMaximized=1\r\n");
    f.close();

    SettingsValues v;
    v.rasterX = 3;
    v.rasterY = 5;
    v.width = 955;
    v.top = -20; // a window on a monitor left of or above the main one
    v.left = 1930;
    v.lastFileName = QString::fromUtf8("/home/bahn/Weichen ä/W 1.hex");
    v.docBase = QStringLiteral("https://example.net/doku");
    QString error;
    QVERIFY2(WriteSettings(path, v, &error), qPrintable(error));

    QCOMPARE(readAll(path), QString::fromUtf8("[Programmer]\r\nPort=/dev/ttyUSB0\r\n"
                                              "[Window]\r\nWidth=955\r\nMaximized=1\r\nTop=-20\r\nLeft=1930\r\n"
                                              "[Raster]\r\nx=3\r\ny=5\r\n"
                                              "[ReloadFile]\r\nLastFileName_HEX=/home/bahn/Weichen ä/W 1.hex\r\n"
                                              "[Documentation]\r\nBaseUrl=https://example.net/doku\r\n"));
    const SettingsValues back = ReadSettings(path);
    QCOMPARE(back.rasterX, 3);
    QCOMPARE(back.rasterY, 5);
    QCOMPARE(back.width, 955);
    QCOMPARE(back.top, -20);
    QCOMPARE(back.left, 1930);
    QCOMPARE(back.lastFileName, v.lastFileName);
    QCOMPARE(back.docBase, v.docBase);

    // A file loaded by a relative name is kept with its full path, so that the open dialog
    // finds it after a start from another folder.
    v.lastFileName = QStringLiteral("files/x.hex");
    QVERIFY2(WriteSettings(path, v, &error), qPrintable(error));
    QCOMPARE(ReadSettings(path).lastFileName, QDir::current().absoluteFilePath(QStringLiteral("files/x.hex")));

    // A fresh file holds the four sections in their order; no documentation site.
    const QString fresh = dir.filePath("fresh.ini");
    QVERIFY(WriteSettings(fresh, SettingsValues{}, &error));
    QCOMPARE(readAll(fresh), QStringLiteral("[Raster]\r\nx=0\r\ny=0\r\n[Window]\r\nWidth=560\r\nTop=10\r\nLeft=10\r\n"
                                            "[ReloadFile]\r\nLastFileName_HEX=\r\n[Documentation]\r\nBaseUrl=\r\n"));
    QCOMPARE(ReadSettings(fresh).docBase, QString());
}

void TstSettingsFolder::unwritableSettingsReportAndKeepTheFile()
{
    QTemporaryDir dir;
    QString error;
    // A folder standing where the file should be can be neither read nor replaced.
    QVERIFY(QDir(dir.path()).mkdir("settings.ini"));
    QVERIFY(!WriteSettings(dir.filePath("settings.ini"), SettingsValues{}, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(dir.filePath("settings.ini")).isDir());

    error.clear();
    QVERIFY(!WriteSettings(dir.filePath("no/such/folder.ini"), SettingsValues{}, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_MAIN(TstSettingsFolder)
#include "tst_settings_folder.moc"
