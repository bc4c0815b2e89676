// Changes not yet saved: a page's pending working copy before a save, and the question before
// the window loads another file or closes.

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

class TstMainWindowUnsaved : public QObject {
    Q_OBJECT

private slots:
    void pendingPageChanges_data();
    void pendingPageChanges();
    void unsavedChangesAreAskedAbout();
};

void TstMainWindowUnsaved::pendingPageChanges_data()
{
    QTest::addColumn<int>("identifier"); // the decoder type loaded
    QTest::addColumn<QString>("frame");  // the page whose working copy is changed
    QTest::addColumn<bool>("pending");
    QTest::addColumn<int>("answer"); // hz::Answer, when asked
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("saved");

    const int yes = static_cast<int>(hz::Answer::Yes), no = static_cast<int>(hz::Answer::No);
    const std::pair<int, const char*> pages[] = {
        {0xD2, "FrameKornel1"}, // servo
        {0x1, "FrameBlinkmuster1"},
        {0x1DD, "FrameBlinkmuster_led1"},
    };
    for (const auto& [identifier, frame] : pages) {
        const QString f = QString::fromLatin1(frame);
        QTest::newRow(qPrintable(f + " no")) << identifier << f << true << no << true << false;
        QTest::newRow(qPrintable(f + " yes")) << identifier << f << true << yes << true << true;
        QTest::newRow(qPrintable(f + " nothing pending")) << identifier << f << false << no << false << true;
        // a page of another decoder type is not shown: its copy is not asked about
        QTest::newRow(qPrintable(f + " not shown")) << 0x208 << f << true << no << false << true;
    }
}

void TstMainWindowUnsaved::pendingPageChanges()
{
    QFETCH(int, identifier);
    QFETCH(QString, frame);
    QFETCH(bool, pending);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, saved);

    Harness h;
    TFormMain& w = h.make();
    hz::test::FirmwareBuilder fw;
    fw.identifier(identifier).signature(hz::test::kMotW8);
    const QString in = h.path("in.hex");
    hz::test::writeFile(in.toStdString(), hz::test::joinCrLf(fw.lines()));
    w.LoadFile(in);
    h.prompter.clear();

    PageFrame* f = nullptr;
    for (PageFrame* candidate : w.frames())
        if (candidate->objectName() == frame)
            f = candidate;
    QVERIFY(f);
    hz::pages::Page& page = f->model();
    // A blink pattern table the file does not program comes up clamped, and so pending.
    if (page.hasPending())
        page.accept();
    if (pending) {
        if (auto* curves = dynamic_cast<hz::pages::KornelPage*>(&page))
            curves->EnableAccept();
        else // a change through the blink pattern page itself: its "Loop"
            page.userChecked(page.find("blinkmuster_cbx_loop") ? "blinkmuster_cbx_loop" : "led_blinkmuster_cbx_loop",
                             false);
        f->refresh();
    }
    // (A blink pattern page that was never shown has no working copy to change.)
    const bool wasPending = page.hasPending();
    h.prompter.answers.push_back(static_cast<hz::Answer>(answer));
    // An address that the validation would refuse: after No nothing may even be validated.
    w.addressRows()[1].address->setText(answer == static_cast<int>(hz::Answer::No) && asked ? "12a" : "5");

    const QString out = h.path("out.hex");
    h.dialogs.saveAnswers << out;
    w.btn_save->click();

    if (asked) {
        QVERIFY(!h.prompter.shown.empty());
        QCOMPARE(h.prompter.shown[0].text, std::string("Geänderte Werte übernehmen?"));
        QCOMPARE(h.prompter.shown[0].kind, hz::MsgKind::Warning);
        QCOMPARE(h.prompter.shown[0].buttons, hz::Buttons::YesNo);
        QCOMPARE(h.prompter.shown.size(), std::size_t(1));
    } else {
        QVERIFY2(h.prompter.shown.empty(), h.prompter.shown.empty() ? "" : h.prompter.shown[0].text.c_str());
    }
    // Yes takes the working copy over (the accept button is disabled again); No leaves it.
    QCOMPARE(page.hasPending(), wasPending && !(asked && saved));
    QPushButton* accept = nullptr;
    for (auto* b : f->findChildren<QPushButton*>())
        if (b->objectName().endsWith(QStringLiteral("btn_uebernehmen")))
            accept = b;
    if (accept)
        QCOMPARE(accept->isEnabled(), page.hasPending());
    QCOMPARE(h.dialogs.saveProposed.size(), saved ? 1 : 0);
    QCOMPARE(QFile::exists(out), saved);
}

void TstMainWindowUnsaved::unsavedChangesAreAskedAbout()
{
    const std::string question = hz::kUnsavedChangesQuestion;
    Harness h;
    const QString other = fx("classic_684_idbits.hex");
    TFormMain& w = h.make();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.LoadFile(fx("classic_629_turnout.hex"));
    const QString header = w.lbl_header->text();

    // nothing changed: another file loads without a word
    h.dialogs.openAnswers << fx("classic_629_turnout.hex");
    w.btn_load->click();
    QVERIFY(h.prompter.shown.empty());

    // a typed address; typed back, it is no change
    QLineEdit* row1 = w.addressRows()[1].address;
    const QString original = row1->text();
    row1->setText(QStringLiteral("77"));
    row1->setText(original);
    h.dialogs.openAnswers << fx("classic_629_turnout.hex");
    w.btn_load->click();
    QVERIFY(h.prompter.shown.empty());

    // No keeps everything as it was: the file, the typed text
    row1->setText(QStringLiteral("77"));
    h.prompter.answers = {hz::Answer::No, hz::Answer::No, hz::Answer::No};
    h.dialogs.openAnswers << other;
    w.btn_load->click();
    QCOMPARE(h.prompter.texts(), std::vector<std::string>{question});
    QCOMPARE(h.prompter.shown[0].buttons, hz::Buttons::YesNoDefaultNo);
    QCOMPARE(w.lbl_header->text(), header);
    QCOMPARE(row1->text(), QStringLiteral("77"));
    w.close(); // the close box
    QVERIFY(w.isVisible());
    w.btn_close->click(); // "Ende": asks once, writes no settings
    QVERIFY(w.isVisible());
    QVERIFY(!QFile::exists(h.settingsPath));
    QCOMPARE(h.prompter.shown.size(), std::size_t(3));

    // a save makes the state the saved one
    h.prompter.clear();
    h.dialogs.saveAnswers << h.path("saved.hex");
    w.btn_save->click();
    QVERIFY(QFile::exists(h.path("saved.hex")));
    w.btn_close->click();
    QVERIFY(!w.isVisible());
    QVERIFY(h.prompter.shown.empty());
}

QTEST_MAIN(TstMainWindowUnsaved)
#include "tst_main_window_unsaved.moc"
