// Loading firmware into the main window: the fixture firmwares, the file given at start-up,
// decoders without address format and loads that fail.

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
#include "core/pages/zusatz/ZusatzPage.h"
#include "gui/app/Settings.h"
#include "gui/app/TFormMain.h"
#include "gui/pages/PageFrame.h"
#include "gui/pages/RegisterFrame.h"

using hz::test::fixture;
using namespace hz::test::window;

class TstMainWindowLoad : public QObject {
    Q_OBJECT

private slots:
    void loadFixture_data();
    void loadFixture();
    void startUpLoadAddsThePicSuffixOnce();
    void formatOhneHidesAllRows();
    void failedLoadLeavesNoFileToSave();
    void failedPageSetUpLeavesNoFile();
};

void TstMainWindowLoad::loadFixture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("panels"); // 0..2
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("rows"); // "k caption=address colour"
    QTest::addColumn<QString>("frame");
    QTest::addColumn<int>("windowWidth");

    QTest::newRow("629 turnout") << fx("classic_629_turnout.hex") << QStringList{"ID: 8", "V 3.58", "Mot"}
                                 << QStringLiteral("Stellino  ab V3.51")
                                 << QStringList{"1 Weiche=17 red", "2 Licht=317 green"} << "FrameZusatz1" << 740;
    QTest::newRow("684 relay") << fx("classic_684_idbits.hex") << QStringList{"ID: 8", "V 3.59", "Mot"}
                               << QStringLiteral("Relaisdekoder 8")
                               << QStringList{"1 Ausgang / Out 1=0 green", "9 All=0 green"} << "FrameZusatz1" << 740;
    QTest::newRow("676 turntable") << fx("classic_676_turntable.hex") << QStringList{"ID: 0", "V 3.26", "Mot"}
                                   << QStringLiteral("Drehscheibe 48 Position")
                                   << QStringList{"4 Licht=1 green", "5 Step=0 green"} << "" << 720;
    QTest::newRow("18324 function") << fx("f18324_function.hex") << QStringList{"ID: 01", "V 0.58", "DCC"}
                                    << QStringLiteral("Forsta 16F18324") << QStringList{} << "FrameRegister1" << 955;
}

void TstMainWindowLoad::loadFixture()
{
    QFETCH(QString, file);
    QFETCH(QStringList, panels);
    QFETCH(QString, header);
    QFETCH(QStringList, rows);
    QFETCH(QString, frame);
    QFETCH(int, windowWidth);

    Harness h;
    TFormMain& w = h.make();
    QSignalSpy progress(w.ProgressBar1, &QProgressBar::valueChanged);
    h.dialogs.openAnswers << file;
    w.btn_load->click();

    QVERIFY2(h.prompter.shown.empty(), h.prompter.shown.empty() ? "" : h.prompter.shown.front().text.c_str());
    QCOMPARE(status(w).mid(0, 3), panels);
    const QString suffix = QString::fromStdString(
        hz::FindPic(w.session.image.PicModel) ? hz::FindPic(w.session.image.PicModel)->StatusSuffix : std::string());
    QCOMPARE(status(w)[3], file + suffix);
    QCOMPARE(w.lbl_header->text(), header);
    QCOMPARE(w.lbl_header->font().pointSize(), 15);
    QCOMPARE(w.btn_goweb->text(),
             QString::fromStdString(hz::DocLinkCaption(w.session.ident.Site, w.session.ident.Type)));
    QVERIFY(w.btn_save->isEnabled());
    QCOMPARE(w.ProgressBar1->maximum(), 32);
    QCOMPARE(w.ProgressBar1->value(), 0);
    if (!rows.isEmpty()) {
        // The bar followed the rows up to its end and went back to 0.
        QCOMPARE(progress.last().first().toInt(), 0);
        QCOMPARE(progress.at(progress.size() - 2).first().toInt(), 32);
    }
    QCOMPARE(visibleFrames(w), frame.isEmpty() ? QStringList{} : QStringList{frame});
    QCOMPARE(w.width(), windowWidth);

    // Every captioned row is shown, every other row hidden.
    for (int k = 0; k < TFormMain::kRows; ++k) {
        const auto& r = w.addressRows()[static_cast<std::size_t>(k)];
        const bool captioned = w.session.ident.hasCaption(k);
        QCOMPARE(!r.caption->isHidden(), captioned);
        QCOMPARE(r.caption->text(), QString::fromStdString(w.session.ident.Captions[static_cast<std::size_t>(k)]));
    }
    for (const QString& rowLine : rows) {
        const int k = rowLine.section(' ', 0, 0).toInt();
        const QString caption = rowLine.section(' ', 1).section('=', 0, 0);
        const QString rest = rowLine.section('=', 1);
        const auto& r = w.addressRows()[static_cast<std::size_t>(k)];
        QCOMPARE(r.caption->text(), caption);
        QCOMPARE(r.address->text(), rest.section(' ', 0, 0));
        QCOMPARE(baseColour(r.address), rest.section(' ', 1) == "red" ? kRed : kGreen);
        QVERIFY(!r.rg->isHidden());
    }
    // A type without red/green rows leaves every field white.
    if (!w.session.ident.RedGreen)
        for (const auto& r : w.addressRows())
            QCOMPARE(baseColour(r.address), kWhite);
}

void TstMainWindowLoad::startUpLoadAddsThePicSuffixOnce()
{
    struct Case {
        QString file;
        std::size_t messages;
    };
    Harness h;
    const QString unknown = h.path("unbekannt.hex");
    writeUnknownDecoder(unknown);
    for (const Case& c :
         {Case{fx("classic_629_turnout.hex"), 0}, Case{fx("f18324_function.hex"), 0}, Case{unknown, 2}}) {
        Harness hh;
        TFormMain& w = hh.make();
        // What main() does with a file argument before the window shows.
        w.LoadFile(c.file);
        w.RedoLayout();
        QCOMPARE(hh.prompter.shown.size(), c.messages); // the second pass repeats no message
        const hz::PicInfo* pic = hz::FindPic(w.session.image.PicModel);
        QCOMPARE(status(w)[3], c.file + (pic ? QString::fromStdString(pic->StatusSuffix) : QString()));
        QCOMPARE(w.lbl_header->text(), QString::fromStdString(w.session.ident.DecoderName));
        QCOMPARE(shownRows(w),
                 static_cast<int>(std::count_if(w.session.ident.Captions.begin(), w.session.ident.Captions.end(),
                                                [](const std::string& s) { return !s.empty(); })));
        if (c.file.contains("f18324"))
            QCOMPARE(visibleFrames(w), QStringList{"FrameRegister1"});
        // The folder is not scanned: "<" and ">" do nothing yet.
        const QStringList before = status(w);
        w.btn_prev->click();
        w.btn_next->click();
        QCOMPARE(status(w), before);
        QCOMPARE(hh.prompter.shown.size(), c.messages);
    }
    {
        Harness hh;
        hh.make().LoadFile(unknown);
        QCOMPARE(hh.prompter.shown.at(0).text,
                 std::string("Das HEX-File konnte leider nicht erkannt werden: Identifier 658188 (12/11/10)"));
    }
}

void TstMainWindowLoad::formatOhneHidesAllRows()
{
    Harness h;
    TFormMain& w = h.make();
    const QString file = h.path("ohne.hex");
    writeTurnoutWithoutFormat(file);
    w.LoadFile(file);
    QCOMPARE(status(w)[2], QStringLiteral("ohne"));
    QCOMPARE(shownRows(w), 0);
    for (const auto& r : w.addressRows())
        QVERIFY(r.address->isHidden() && r.function->isHidden() && r.rg->isHidden());
}

void TstMainWindowLoad::failedLoadLeavesNoFileToSave()
{
    Harness h;
    TFormMain& w = h.make();

    // Cancel in the open dialog before anything was loaded.
    w.btn_load->click();
    QCOMPARE(h.dialogs.openProposed, QStringList{QString()});
    QCOMPARE(status(w), QStringList({"", "", "", " HEX Zwirbel "}));
    QVERIFY(!w.btn_save->isEnabled());

    w.LoadFile(fx("classic_629_turnout.hex"));
    const QStringList before = status(w);
    QVERIFY(w.btn_save->isEnabled());

    // A file that cannot be opened: the core reports it, nothing else changes.
    const QString missing = h.path("fehlt.hex");
    h.dialogs.openAnswers << missing;
    w.btn_load->click();
    QCOMPARE(h.prompter.shown.size(), std::size_t(1));
    QCOMPARE(h.prompter.shown[0].kind, hz::MsgKind::Error);
    QCOMPARE(status(w), before);
    QCOMPARE(w.lbl_header->text(), QStringLiteral("Stellino  ab V3.51"));
    QCOMPARE(w.addressRows()[1].address->text(), QStringLiteral("17"));
    QVERIFY(w.btn_save->isEnabled());

    // A load that stops at a bad line leaves no file: nothing of the earlier file is shown
    // or can be saved into the failed one.
    const QString bad = h.path("kaputt.hex");
    const std::string badContent =
        hz::test::joinCrLf({hz::test::kBase0, ":040000000830033091", ":020000020000FC", hz::test::kEnd});
    hz::test::writeFile(bad.toStdString(), badContent);
    h.prompter.clear();
    w.LoadFile(bad);
    QCOMPARE(h.prompter.shown.size(), std::size_t(1));
    QVERIFY(h.prompter.shown[0].text.rfind("E203", 0) == 0);
    QVERIFY(!w.btn_save->isEnabled());
    QCOMPARE(w.lbl_header->text(), QStringLiteral("Hex Zwirbel"));
    QCOMPARE(shownRows(w), 0);
    QCOMPARE(w.addressRows()[1].address->text(), QString());
    QCOMPARE(w.btn_goweb->text(), QStringLiteral("Handbuch"));
    QCOMPARE(w.session.ident.DocPage, hz::DocAddress(w.session.ident.Site, nullptr));
    // a save by any path says why not and writes nothing: the failed file stays as it is
    h.prompter.clear();
    w.btn_saveClick();
    QCOMPARE(h.prompter.shown.size(), std::size_t(1));
    QCOMPARE(h.prompter.shown[0].text, std::string(hz::Session::kNoCompleteFile));
    QVERIFY(h.dialogs.saveProposed.isEmpty());
    QCOMPARE(hz::test::readFile(bad.toStdString()), badContent);
    // and no question about unsaved changes stands between the user and the next file
    h.prompter.clear();
    w.LoadFile(fx("classic_629_turnout.hex"));
    QVERIFY(h.prompter.shown.empty());
    QVERIFY(w.btn_save->isEnabled());
}

// A page whose set-up fails while a file loads (its text measure throws here): the window ends
// as after a load that stopped - the error told once, no page, rows or file name, nothing to
// save or undo, nothing unsaved - instead of the earlier file's history and "speichern".
void TstMainWindowLoad::failedPageSetUpLeavesNoFile()
{
    Harness h;
    TFormMain& w = h.make();
    w.LoadFile(fx("classic_629_turnout.hex"));
    w.addressRows()[1].address->setText(QStringLiteral("77"));
    QVERIFY(w.session.canUndo() && w.isWindowModified());

    w.session.pages.page<hz::pages::ZusatzPage>().TextWidth = [](const std::string&) -> int {
        throw std::runtime_error("Schrift nicht gefunden");
    };
    h.prompter.clear();
    h.prompter.answers = {hz::Answer::Yes}; // leave the unsaved change
    h.dialogs.openAnswers << fx("zusatz_629_stellino361.hex");
    w.btn_load->click();
    QCOMPARE(h.prompter.texts().size(), std::size_t(2));
    QCOMPARE(h.prompter.shown[1].kind, hz::MsgKind::Error);
    QVERIFY(h.prompter.shown[1].text.find("Schrift nicht gefunden") != std::string::npos);
    QVERIFY(!w.btn_save->isEnabled());
    QCOMPARE(w.lbl_header->text(), QStringLiteral("Hex Zwirbel"));
    QCOMPARE(shownRows(w), 0);
    for (const PageFrame* f : w.frames())
        QVERIFY2(f->isHidden(), qPrintable(f->objectName()));
    QVERIFY(!w.session.canUndo() && !w.session.canRedo());
    QVERIFY(!w.session.HasUnsavedChanges());
    QVERIFY(!w.isWindowModified());
    QVERIFY2(!w.windowTitle().contains(QStringLiteral(".hex")), qPrintable(w.windowTitle()));
    QVERIFY(!w.findChild<QAction*>(QStringLiteral("act_undo"))->isEnabled());
    QVERIFY(!w.findChild<QAction*>(QStringLiteral("act_save"))->isEnabled());
}

QTEST_MAIN(TstMainWindowLoad)
#include "tst_main_window_load.moc"
