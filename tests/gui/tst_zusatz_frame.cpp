// The additional-functions frame alone: it mirrors the core model (widgets named, placed and
// captioned as the model's controls), measures the page's texts in its own font so that the
// row edits stand after the widest caption, and forwards typing, clicks and track bar moves to
// the model, which writes the bytes.

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include "CliRun.h"
#include "MainWindowHarness.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "gui/app/TFormMain.h"
#include "gui/pages/ZusatzFrame.h"

using hz::pages::Rect;
using hz::pages::ZusatzPage;

namespace {

QRect qrect(const Rect& r) { return QRect(r.left, r.top, r.width, r.height); }

} // namespace

class TstZusatzFrame : public QObject {
    Q_OBJECT

    hz::test::ScriptedPrompter prompter;

    // A session with the frame made first, as the window makes its frames, then the file.
    struct Loaded {
        hz::Session session;
        ZusatzFrame frame;
        Loaded(hz::Prompter& p, const char* fixture) : session(p), frame(session.pages.page<ZusatzPage>(), nullptr)
        {
            session.LoadFile(hz::test::fixture(fixture));
            frame.resize(ZusatzPage::kWidth, ZusatzPage::kHeight);
            frame.refresh();
            frame.show();
        }
        template <typename W> W* w(const char* name) { return frame.findChild<W*>(QString::fromLatin1(name)); }
        QString ee(int address) const { return QString::fromStdString(session.image.get_Hex_EE(address)); }
        Rect at(const char* name) const { return *session.pages.page<ZusatzPage>().control(name).geometry; }
    };

private slots:
    void widgetsMirrorTheModel();
    void rowsStandAfterTheWidestCaptionInTheFrameFont();
    void typingAndClicksWriteTheBytes();
    void trackBarMovesWriteTheBytes();
    void theWindowShowsThePageAndSavesAsTheTool();
};

void TstZusatzFrame::widgetsMirrorTheModel()
{
    prompter.clear();
    Loaded l(prompter, "zusatz_629_stellino361.hex");
    QCOMPARE(l.frame.objectName(), QStringLiteral("FrameZusatz1"));
    QCOMPARE(l.w<QFrame>("pnl_Zusatz")->geometry(), QRect(0, 0, 320, 485));

    auto* edit = l.w<QLineEdit>("RowEdits[0]");
    QVERIFY(edit && edit->isVisible());
    QCOMPARE(edit->text(), QStringLiteral("20"));
    QCOMPARE(edit->geometry(), qrect(l.at("RowEdits[0]")));
    QCOMPARE(edit->toolTip(), QString::fromUtf8("Zeit, nach der der Antrieb immer spätestens abgeschaltet wird"));
    QCOMPARE(l.w<QLabel>("RowLabels[0]")->text(), QStringLiteral("Time Out (1..127)"));
    QCOMPARE(l.w<QLabel>("RowSeconds[0]")->text(), QStringLiteral("(10.0 sec.)"));
    QVERIFY(!l.w<QLineEdit>("RowEdits[1]")); // rows not shown are not made

    auto* group = l.w<QGroupBox>("group_mode");
    QVERIFY(group && group->isVisible());
    QCOMPARE(group->title(), QStringLiteral("Mode Auswahl"));
    QCOMPARE(group->geometry(), qrect(l.at("group_mode")));
    QCOMPARE(group->x() + group->width() + 10, ZusatzPage::kWidth);
    auto* mode1 = l.w<QRadioButton>("rad_mode1");
    QCOMPARE(mode1->parentWidget(), group);
    QCOMPARE(mode1->text(), QString::fromUtf8("Mode 1: Laternen-Ausgang weich einblenden (Fading)"));
    QVERIFY(mode1->isChecked());
    QCOMPARE(mode1->geometry(), qrect(l.at("rad_mode1")));
    QVERIFY(l.w<QCheckBox>("cbx_mode_bit7")->isChecked());
    QVERIFY(!l.w<QRadioButton>("rad_mode3") || l.w<QRadioButton>("rad_mode3")->isHidden());
    // the advice in three lines
    QCOMPARE(l.w<QLabel>("lbl_mode")->text().split(QLatin1Char('\n')).size(), 3);
    QVERIFY(!l.w<QLabel>("lbl_mode")->text().contains(QLatin1Char('\r')));

    auto* heading = l.w<QLabel>("lbl_zusatz3");
    QCOMPARE(heading->text(), QString::fromUtf8("Abschaltfunktion: Ausgänge abschalten durch..."));
    QVERIFY(heading->font().bold());
    QCOMPARE(heading->geometry().top(), 150);
    QVERIFY(!l.w<QLabel>("RowLabels[0]")->font().bold());
    auto* central = l.w<QCheckBox>("cbx_zusatz_1");
    QCOMPARE(central->text(), QStringLiteral("OFF-Befehl der Zentrale"));
    QVERIFY(!central->isChecked());
    QVERIFY(l.w<QCheckBox>("cbx_zusatz_2")->isChecked());
    QCOMPARE(central->geometry(), QRect(10, 170, 290, ZusatzPage::kBoxHeight));
}

void TstZusatzFrame::rowsStandAfterTheWidestCaptionInTheFrameFont()
{
    prompter.clear();
    hz::Session session(prompter);
    ZusatzFrame frame(session.pages.page<ZusatzPage>(), nullptr);
    session.image.resetMemory();
    session.ident.Identifier = 0x367; // seven traffic-light rows
    session.pages.ShowPage(hz::PageZusatz, {session.image, session.prompter(), session.ident.Identifier});
    frame.resize(ZusatzPage::kWidth, ZusatzPage::kHeight);
    frame.refresh();
    const QFontMetrics metrics(ZusatzFrame::pageFont());
    int widest = 0;
    for (int row = 0; row < 7; ++row) {
        auto* label = frame.findChild<QLabel*>(QStringLiteral("RowLabels[%1]").arg(row));
        QVERIFY(label);
        QCOMPARE(label->font(), ZusatzFrame::pageFont());
        const int advance = metrics.horizontalAdvance(label->text());
        QCOMPARE(label->width(), advance); // the label is as wide as its text: nothing is cut
        widest = std::max(widest, advance);
    }
    for (int row = 0; row < 7; ++row) {
        auto* edit = frame.findChild<QLineEdit*>(QStringLiteral("RowEdits[%1]").arg(row));
        QCOMPARE(edit->x(), widest + 20);
        QCOMPARE(edit->y(), 60 + 21 * row);
        auto* seconds = frame.findChild<QLabel*>(QStringLiteral("RowSeconds[%1]").arg(row));
        QCOMPARE(seconds->x(), widest + 20 + 40 + 10);
        QCOMPARE(seconds->width(), metrics.horizontalAdvance(seconds->text()));
    }
    // "langsam" ends 16 pixels before the panel's right edge
    auto* slow = frame.findChild<QLabel*>("lbl_trackbar_01_r");
    QCOMPARE(slow->geometry().right() + 1, ZusatzPage::kWidth - 16);
    QCOMPARE(slow->width(), metrics.horizontalAdvance(QStringLiteral("langsam")));
}

void TstZusatzFrame::typingAndClicksWriteTheBytes()
{
    prompter.clear();
    Loaded l(prompter, "zusatz_629_stellino361.hex");
    l.frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&l.frame));

    auto* edit = l.w<QLineEdit>("RowEdits[0]");
    edit->clear();
    QCOMPARE(l.ee(0x20), QStringLiteral("14")); // an empty field writes nothing
    QTest::keyClicks(edit, "4");
    QCOMPARE(l.ee(0x20), QStringLiteral("04"));
    QCOMPARE(l.w<QLabel>("RowSeconds[0]")->text(), QStringLiteral("(2.0 sec.)"));
    QTest::keyClicks(edit, "0");
    QCOMPARE(l.ee(0x20), QStringLiteral("28"));
    QCOMPARE(l.w<QLabel>("RowSeconds[0]")->text(), QStringLiteral("(20.0 sec.)"));
    QTest::keyClicks(edit, "0");
    QCOMPARE(l.ee(0x20), QStringLiteral("28"));
    QCOMPARE(prompter.shown.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(prompter.shown[0].text),
             QString::fromUtf8("Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..127"));

    auto* mode2 = l.w<QRadioButton>("rad_mode2");
    QTest::mouseClick(mode2, Qt::LeftButton);
    QCOMPARE(l.ee(0x00), QStringLiteral("82"));
    QVERIFY(mode2->isChecked());
    QVERIFY(!l.w<QRadioButton>("rad_mode1")->isChecked());
    QTest::mouseClick(mode2, Qt::LeftButton); // a second click keeps the mode selected
    QVERIFY(mode2->isChecked());
    QCOMPARE(l.ee(0x00), QStringLiteral("82"));

    auto* timeOut = l.w<QCheckBox>("cbx_zusatz_2");
    QVERIFY(l.w<QLabel>("lbl_text_1") == nullptr || l.w<QLabel>("lbl_text_1")->isHidden());
    QTest::mouseClick(timeOut, Qt::LeftButton);
    QCOMPARE(l.ee(0x30), QStringLiteral("AA"));
    auto* warning = l.w<QLabel>("lbl_text_1");
    QVERIFY(warning && warning->isVisible());
    QCOMPARE(warning->text(), QString::fromUtf8("Achtung: Durchbrenn-Gefahr für Weichen-Antriebe!"));
}

void TstZusatzFrame::trackBarMovesWriteTheBytes()
{
    prompter.clear();
    {
        Loaded l(prompter, "zusatz_629_neon060.hex");
        auto* dark = l.w<QSlider>("TrackBar_neon_1");
        QVERIFY(dark && dark->isVisible());
        QCOMPARE(dark->value(), 5);
        QCOMPARE(dark->maximum(), 15);
        QCOMPARE(dark->tickInterval(), 1);
        QCOMPARE(dark->geometry(), QRect(120, 170, 180, ZusatzPage::kTrackBarHeight));
        dark->setValue(12);
        QCOMPARE(l.ee(0x40), QStringLiteral("0C"));
        QCOMPARE(l.w<QSlider>("TrackBar_neon_2")->value(), 12);
        QCOMPARE(l.w<QLabel>("lbl_fNeon_03")->text().split(QLatin1Char('\n')).size(), 5);
    }
    {
        Loaded l(prompter, "zusatz_684_ampel340.hex");
        auto* fading = l.w<QSlider>("TrackBar_01");
        QCOMPARE(fading->value(), 5);
        QCOMPARE(l.ee(0x20), QStringLiteral("11")); // repaired on showing
        fading->setValue(2);
        QCOMPARE(l.ee(0x20), QStringLiteral("33"));
        QCOMPARE(fading->toolTip(), QString::fromUtf8("Überblend-Zeit"));
    }
    {
        Loaded l(prompter, "zusatz_684_kirmes.hex");
        auto* speed = l.w<QSlider>("TrackBar_01");
        QCOMPARE(speed->tickInterval(), 5);
        QCOMPARE(speed->pageStep(), 5);
        QCOMPARE(speed->minimum(), 1);
        speed->setValue(100);
        QCOMPARE(l.ee(0x20), QStringLiteral("64"));
        QCOMPARE(l.w<QLabel>("lbl_trackbar_01")->text(), QStringLiteral("Geschwindigkeit: 100"));
        // the same bar as the fading bar of the next file ticks at every step again
        l.session.LoadFile(hz::test::fixture("zusatz_684_ampel340.hex"));
        l.frame.refresh();
        auto* fading = l.w<QSlider>("TrackBar_01");
        QCOMPARE(fading->maximum(), 5);
        QCOMPARE(fading->tickInterval(), 1);
        QCOMPARE(fading->pageStep(), 1);
    }
    QVERIFY(prompter.shown.empty());
}

// The window shows the page at its place, and a save without any edit writes the fading code
// the page repaired when it was shown, exactly as `convert` does.
void TstZusatzFrame::theWindowShowsThePageAndSavesAsTheTool()
{
    prompter.clear();
    QTemporaryDir dir;
    hz::test::ScriptedFileDialogs dialogs;
    hz::gui::MainWindowServices services;
    services.prompter = &prompter;
    services.dialogs = &dialogs;
    services.settingsPath = dir.filePath(QStringLiteral("hexzwirbel.ini"));
    TFormMain w(services);
    const std::string in = hz::test::fixture("zusatz_684_ampel340.hex");
    QCOMPARE(w.LoadFile(QString::fromStdString(in)), hz::LoadOutcome::Done);
    // the repaired fading code is told when the page is shown, before anything is saved
    QCOMPARE(prompter.shown.size(), std::size_t(1));
    QVERIFY(prompter.shown[0].text.find("EEPROM 0x20: 0x44 → 0x11 (unbekannter Überblend-Code)") != std::string::npos);
    prompter.clear();
    PageFrame* zusatz = hz::test::window::frameOf(w, "FrameZusatz1");
    QVERIFY(qobject_cast<ZusatzFrame*>(zusatz));
    QVERIFY(!zusatz->isHidden());
    QCOMPARE(zusatz->geometry(), QRect(410, w.GroupBoxMain->y() + 5, 320, 485));
    auto* fading = zusatz->findChild<QSlider*>("TrackBar_01");
    QVERIFY(fading && fading->isVisibleTo(zusatz));
    QCOMPARE(fading->value(), 5);

    const QString byWindow = dir.filePath(QStringLiteral("window.hex"));
    const QString byTool = dir.filePath(QStringLiteral("tool.hex"));
    dialogs.saveAnswers << byWindow;
    w.btn_save->click();
    QVERIFY(prompter.shown.empty());
    QCOMPARE(hz::test::runCli({"convert", in, "-o", byTool.toStdString()}).code, 0);
    const std::string saved = hz::test::readFile(byWindow.toStdString());
    QCOMPARE(saved, hz::test::readFile(byTool.toStdString()));
    QVERIFY(saved.find(":024240001100") != std::string::npos); // EEPROM 0x20 = 0x11
}

QTEST_MAIN(TstZusatzFrame)
#include "tst_zusatz_frame.moc"
