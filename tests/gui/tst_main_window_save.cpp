// The address rows of the main window and saving them: the red/green button, typed addresses
// and functions, the row hints, a cancelled dialog and a refused row.

#include <QAction>
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

class TstMainWindowSave : public QObject {
    Q_OBJECT

private slots:
    void rgClickTogglesColourAndSavedCode();
    void saveWritesTypedAddresses();
    void saveWritesFunctionDecoderRows();
    void cancelledSaveDialog();
    void nextSaveProposesTheNameSavedTo();
    void refusedRowEndsSave_data();
    void refusedRowEndsSave();
    void rowHintsSayWhatIsAccepted();
};

void TstMainWindowSave::rgClickTogglesColourAndSavedCode()
{
    Harness h;
    TFormMain& w = h.make();
    w.LoadFile(fx("classic_629_turnout.hex"));
    QLineEdit* weiche = w.addressRows()[1].address;
    QCOMPARE(baseColour(weiche), kRed);
    w.addressRows()[1].rg->click();
    QCOMPARE(baseColour(weiche), kGreen);
    QCOMPARE(baseColour(w.addressRows()[2].address), kGreen); // the other row keeps its state
    w.addressRows()[2].rg->click();
    QCOMPARE(baseColour(w.addressRows()[2].address), kRed);

    // Saved: row 1 as the green code of 17, row 2 as the red code of 317.
    const QString out = h.path("rg.hex");
    h.dialogs.saveAnswers << out;
    w.btn_save->click();
    QVERIFY(QFile::exists(out));
    QCOMPARE(slotBytes(out, 1), (std::array<std::string, 3>{"02", "C0", "C3"}));
    QCOMPARE(slotBytes(out, 2), (std::array<std::string, 3>{"00", "00", "03"}));
}

void TstMainWindowSave::saveWritesTypedAddresses()
{
    Harness h;
    TFormMain& w = h.make();
    const QString in = fx("classic_629_turnout.hex");
    w.LoadFile(in);
    w.addressRows()[2].address->setText(QStringLiteral("1"));
    w.addressRows()[1].address->setText(QStringLiteral("0"));

    const QString out = h.path("neu.hex");
    h.dialogs.saveAnswers << out;
    w.btn_save->click();

    QVERIFY(h.prompter.shown.empty());
    QCOMPARE(h.dialogs.saveProposed, QStringList{in});
    QCOMPARE(slotBytes(out, 2), (std::array<std::string, 3>{"03", "00", "C3"})); // address 1, green
    QCOMPARE(slotBytes(out, 1), (std::array<std::string, 3>{"FF", "FF", "3F"})); // address 0, red
    QCOMPARE(status(w)[3], out);
    QCOMPARE(QString::fromStdString(w.session.image.LastFileName), in);

    // Loading the saved file shows what was typed.
    w.LoadFile(out);
    QCOMPARE(w.addressRows()[2].address->text(), QStringLiteral("1"));
    QCOMPARE(w.addressRows()[1].address->text(), QStringLiteral("0"));
}

void TstMainWindowSave::saveWritesFunctionDecoderRows()
{
    Harness h;
    TFormMain& w = h.make();
    const QString in = h.path("fdekoder.hex");
    writeFunctionDecoder(in);
    w.LoadFile(in);
    const auto& row1 = w.addressRows()[1];
    QCOMPARE(row1.address->text(), QStringLiteral("3"));
    QCOMPARE(row1.function->text(), QStringLiteral("1"));
    QVERIFY(!row1.function->isHidden());
    QVERIFY(row1.rg->isHidden());
    QCOMPARE(baseColour(row1.address), kWhite);

    row1.address->setText(QStringLiteral("200"));
    row1.function->setText(QStringLiteral("2"));
    const QString out = h.path("fdekoder-neu.hex");
    h.dialogs.saveAnswers << out;
    w.btn_save->click();
    QCOMPARE(slotBytes(out, 1), (std::array<std::string, 3>{"82", "C8", "C0"}));
}

void TstMainWindowSave::cancelledSaveDialog()
{
    Harness h;
    TFormMain& w = h.make();
    const QString in = fx("classic_629_turnout.hex");
    w.LoadFile(in);
    const QString loaded = status(w)[3];
    QVERIFY(loaded != in); // the PIC suffix follows the name after a load
    w.btn_save->click();
    QCOMPARE(h.dialogs.saveProposed, QStringList{in});
    QCOMPARE(status(w)[3], loaded); // and stays when nothing was saved
    QCOMPARE(QDir(h.dir.path()).entryList(QDir::Files), QStringList{});
}

// After "Speichern unter…" a new name, saving again proposes that name, not the loaded file:
// the file the firmware came from is never one Enter away from being overwritten. A cancelled
// dialog keeps the proposal, a load starts again from the loaded file.
void TstMainWindowSave::nextSaveProposesTheNameSavedTo()
{
    Harness h;
    TFormMain& w = h.make();
    const QString in = fx("classic_629_turnout.hex");
    w.LoadFile(in);
    const QString first = h.path("erste.hex"), second = h.path("zweite.hex");
    QAction* saveAs = w.findChild<QAction*>(QStringLiteral("act_save_as"));
    QAction* save = w.findChild<QAction*>(QStringLiteral("act_save"));
    QVERIFY(saveAs && save);

    h.dialogs.saveAnswers << first;
    saveAs->trigger();
    QVERIFY(QFile::exists(first));
    w.addressRows()[1].address->setText(QStringLiteral("77"));
    save->trigger(); // cancelled
    QCOMPARE(status(w)[3], first);
    h.dialogs.saveAnswers << second;
    w.btn_save->click();
    QVERIFY(QFile::exists(second));
    QCOMPARE(h.dialogs.saveProposed, (QStringList{in, first, first}));
    QCOMPARE(w.session.image.LastFileName, in.toStdString()); // the open dialog still starts there

    h.dialogs.saveProposed.clear();
    w.btn_save->click();
    QCOMPARE(h.dialogs.saveProposed, QStringList{second});

    // a file that does not load leaves the file shown, and its proposal, as they were
    h.dialogs.saveProposed.clear();
    w.LoadFile(h.path("fehlt.hex"));
    w.btn_save->click();
    QCOMPARE(h.dialogs.saveProposed, QStringList{second});

    // a load proposes the loaded file again, also the same one reloaded
    for (const QString& file : {first, in}) {
        h.dialogs.saveProposed.clear();
        w.LoadFile(file);
        w.btn_save->click();
        QCOMPARE(h.dialogs.saveProposed, QStringList{file});
    }
}

void TstMainWindowSave::refusedRowEndsSave_data()
{
    QTest::addColumn<QString>("file"); // empty: the turnout fixture, else the function decoder
    QTest::addColumn<bool>("functionField");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // %s stands for the caption of row 1

    QTest::newRow("not a number") << "" << false << "12a" << QString::fromUtf8("Ungültige Eingabe für <%s> ");
    QTest::newRow("empty") << "" << false << "" << QString::fromUtf8("Ungültige Eingabe für <%s> ");
    QTest::newRow("too large") << "" << false << "321"
                               << "Adresse für <%s> ist zu gross";
    QTest::newRow("negative") << "" << false << "-1"
                              << "Adresse für <%s> ist zu klein";
    QTest::newRow("function not a number")
        << "f" << true << "x" << QString::fromUtf8("Ungültige Eingabe Funktion von <%s> ");
    QTest::newRow("function too large") << "f" << true << "13"
                                        << QString::fromUtf8("Funktions-Nummer für <%s> ist zu gross");
}

void TstMainWindowSave::refusedRowEndsSave()
{
    QFETCH(QString, file);
    QFETCH(bool, functionField);
    QFETCH(QString, text);
    QFETCH(QString, message);

    Harness h;
    TFormMain& w = h.make();
    QString in = fx("classic_629_turnout.hex");
    if (!file.isEmpty()) {
        in = h.path("fdekoder.hex");
        writeFunctionDecoder(in);
    }
    w.LoadFile(in);
    QVERIFY(h.prompter.shown.empty());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.btn_load->setFocus();

    const auto& row1 = w.addressRows()[1];
    QLineEdit* field = functionField ? row1.function : row1.address;
    field->setText(text);
    w.btn_save->click();

    QCOMPARE(h.prompter.shown.size(), std::size_t(1));
    const QString caption = row1.caption->text();
    QCOMPARE(QString::fromStdString(h.prompter.shown[0].text), QString(message).replace("%s", caption));
    QCOMPARE(h.prompter.shown[0].kind, hz::MsgKind::Warning);
    QCOMPARE(h.prompter.shown[0].buttons, hz::Buttons::Cancel);
    QCOMPARE(w.focusWidget(), field);
    QVERIFY(h.dialogs.saveProposed.isEmpty()); // no dialog after a refused row
    QCOMPARE(QString::fromStdString(w.session.image.eeprom(1)), QString::fromLatin1(file.isEmpty() ? "02" : "81"));
    w.close();
}

void TstMainWindowSave::rowHintsSayWhatIsAccepted()
{
    Harness h;
    TFormMain& w = h.make();
    // a Motorola function decoder: 1 to 255, no "unused"
    using hz::test::rec;
    const QString mot = h.path("mot_function.hex");
    hz::test::writeFile(mot.toStdString(),
                        hz::test::joinCrLf({hz::test::kBase0, rec(0x0000, "00303F300030"), rec(0x0010, "8B1C"),
                                            rec(0x4000, "0100030006000000"), rec(0x400E, "C431"), hz::test::kEnd}));
    w.LoadFile(mot);
    QCOMPARE(w.addressRows()[1].address->toolTip(),
             QString::fromUtf8(
                 "gültiger Adressbereich: 1 bis 255\n(Funktionsdekoder haben im Mot-Format nur diese Adressen)"));
    // the turntable position without a firmware slot
    w.LoadFile(fx("classic_676_turntable.hex"));
    QVERIFY(!w.addressRows()[31].address->isEnabled());
    QVERIFY(w.addressRows()[31].address->toolTip().contains(QString::fromUtf8("hält die Firmware keine Adresse")));
    QVERIFY(w.addressRows()[16].address->toolTip().startsWith(QString::fromUtf8("gültiger Adressbereich: 1 bis 320")));
}

QTEST_MAIN(TstMainWindowSave)
#include "tst_main_window_save.moc"
