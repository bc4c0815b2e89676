// An address typed into the window is saved exactly as hexzwirbel-cli set writes it.

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "CliRun.h"
#include "FirmwareBuilder.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "gui/app/TFormMain.h"
#include "gui/pages/AddressRowsFrame.h"

class TstSaveMatchesCli : public QObject {
    Q_OBJECT

private slots:
    void windowAndToolWriteTheSameFile_data();
    void windowAndToolWriteTheSameFile();
};

void TstSaveMatchesCli::windowAndToolWriteTheSameFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("toggleRedGreen");
    QTest::addColumn<QString>("cliValue");
    // Motorola red/green: row 1 holds 17 red; typing 250 and clicking R/G makes it green
    QTest::newRow("Mot, R/G") << "classic_629_turnout.hex" << 1 << "250" << true << "250g";
    // DCC red/green: row 9 ("All") holds 109 red; the colour stays
    QTest::newRow("DCC, R/G") << "relais_16f684_dcc.hex" << 9 << "2044" << false << "2044";
    // DCC function decoder (built below): a long address and function 12
    QTest::newRow("DCC, F") << "fdecoder" << 3 << "1040/12" << false << "1040/12";
}

void TstSaveMatchesCli::windowAndToolWriteTheSameFile()
{
    QFETCH(QString, file);
    QFETCH(int, row);
    QFETCH(QString, address);
    QFETCH(bool, toggleRedGreen);
    QFETCH(QString, cliValue);

    // The fixture folder holds the test firmware; the demo firmware lives in examples/.
    std::string in = hz::test::fixture(file.toStdString());
    if (!QFile::exists(QString::fromStdString(in)))
        in = std::string(HZ_SOURCE_DIR) + "/examples/" + file.toStdString();
    QTemporaryDir dir;
    if (file == "fdecoder") {
        hz::test::FirmwareBuilder fw;
        fw.identifier(0x3D00).signature(hz::test::kDccW8);
        for (int r = 1; r <= 4; ++r)
            fw.code(r, "810" + std::to_string(r) + "00");
        in = dir.filePath(QStringLiteral("fdecoder.hex")).toStdString();
        hz::test::writeFile(in, hz::test::joinCrLf(fw.lines()));
    }
    const QString byWindow = dir.filePath(QStringLiteral("window.hex"));
    const QString byTool = dir.filePath(QStringLiteral("tool.hex"));

    hz::test::ScriptedPrompter prompter;
    hz::test::ScriptedFileDialogs dialogs;
    hz::gui::MainWindowServices services;
    services.prompter = &prompter;
    services.dialogs = &dialogs;
    services.settingsPath = dir.filePath(QStringLiteral("hexzwirbel.ini"));
    TFormMain w(services);
    QCOMPARE(w.LoadFile(QString::fromStdString(in)), hz::LoadOutcome::Done);
    const auto& controls = w.addressRows()[static_cast<std::size_t>(row)];
    controls.address->setText(address.section('/', 0, 0));
    if (address.contains('/'))
        controls.function->setText(address.section('/', 1, 1));
    if (toggleRedGreen)
        w.addressRows()[static_cast<std::size_t>(row)].rg->click();
    dialogs.saveAnswers << byWindow;
    w.btn_save->click();
    QVERIFY(prompter.shown.empty());

    const hz::test::CliRun r = hz::test::runCli(
        {"set", in, "-o", byTool.toStdString(), "--row", std::to_string(row) + "=" + cliValue.toStdString()});
    QCOMPARE(r.code, 0);
    QCOMPARE(hz::test::readFile(byWindow.toStdString()), hz::test::readFile(byTool.toStdString()));
    QVERIFY(hz::test::readFile(byWindow.toStdString()) != hz::test::readFile(in));
}

QTEST_MAIN(TstSaveMatchesCli)
#include "tst_save_matches_cli.moc"
