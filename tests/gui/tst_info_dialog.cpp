// The HEX information dialog: "HEX Info" opens it modally with the loaded file's words and
// listings, a scripted second file fills both lists with the comparison, and the image is
// left as it was.

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "HexRecords.h"
#include "MainWindowHarness.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/inspect/HexListing.h"
#include "gui/app/TFormMain.h"
#include "gui/inspect/InfoDialog.h"

using hz::test::rec;
using hz::test::window::Harness;

namespace {

QString demo(const char* name) { return QStringLiteral(HZ_SOURCE_DIR "/examples/") + QString::fromLatin1(name); }

QString joined(const std::vector<std::string>& lines)
{
    QStringList l;
    for (const std::string& s : lines)
        l << QString::fromStdString(s);
    return l.join(QLatin1Char('\n'));
}

// Runs `inside` once the modal dialog that `open` starts is up, then closes whatever is still
// modal so that a failed check cannot leave the test waiting.
void whileModal(const std::function<void()>& open, const std::function<void(InfoDialog*)>& inside)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<InfoDialog*>(QApplication::activeModalWidget());
        ran = true;
        if (d)
            inside(d);
        if (QWidget* still = QApplication::activeModalWidget())
            if (auto* dialog = qobject_cast<QDialog*>(still))
                dialog->reject();
    });
    open();
    QVERIFY(ran);
}

} // namespace

class TstInfoDialog : public QObject {
    Q_OBJECT

private slots:
    void controlsOfTheDialog();
    void hexInfoOpensTheListingsAndACompareFillsTheMemos();
    void cancelledOrFailedComparison();
    void valuesAreReadable();
    void staysOnTheScreen_data();
    void staysOnTheScreen();
};

void TstInfoDialog::controlsOfTheDialog()
{
    hz::test::ScriptedPrompter prompter;
    hz::test::ScriptedFileDialogs dialogs;
    hz::Session session(prompter);
    QCOMPARE(session.LoadFile(demo("forsta_16f18324.hex").toStdString()), hz::LoadOutcome::Done);

    QWidget owner;
    owner.setGeometry(100, 80, 1200, 900);
    InfoDialog d(session.image, prompter, dialogs, &owner);
    QCOMPARE(d.windowTitle(), QStringLiteral("HEX File Information"));
    QCOMPARE(d.size(), QSize(978, 662));
    QCOMPARE(d.geometry().center(), owner.frameGeometry().center());

    const std::pair<const char*, const char*> captions[] = {
        {"Label3", "Config Value:"},
        {"lbl_ID", "ID-Value:"},
        {"Label4", "EEprom"},
        {"Label2", "ROM"},
        {"lbl_anzahl", "Anzahl ROM Bytes (File 1): 17"},
    };
    for (const auto& [name, caption] : captions) {
        auto* l = d.findChild<QLabel*>(QString::fromLatin1(name));
        QVERIFY2(l, name);
        QCOMPARE(l->text(), QString::fromUtf8(caption));
    }
    auto* compare = d.findChild<QPushButton*>(QStringLiteral("btn_compare"));
    QVERIFY(compare);
    QCOMPARE(compare->text(), QStringLiteral("vergleiche mit 2. HEX-File"));
    QCOMPARE(compare->toolTip(), QStringLiteral("das geladenen HEX wird mit einer 2. Datei verglichen"));
    QCOMPARE(d.findChild<QPushButton*>(QStringLiteral("btn_close"))->text(), QStringLiteral("Fenster schliessen"));

    // the 16F18324's four ID words and four configuration words, high byte first
    const QStringList config{"178C", "253C", "1FFF", "3FFF"}, id{"0058", "0000", "0B01", "0000"};
    for (int k = 1; k <= 4; ++k) {
        auto* c = d.findChild<QLineEdit*>(QStringLiteral("edt_config_%1").arg(k));
        auto* i = d.findChild<QLineEdit*>(QStringLiteral("edt_ID_%1").arg(k));
        QVERIFY(c && i);
        QCOMPARE(c->text(), config[k - 1]);
        QCOMPARE(i->text(), id[k - 1]);
        QVERIFY(!c->isEnabled() && !i->isEnabled());
        QCOMPARE(c->width(), 60);
    }

    const std::pair<const char*, const char*> memos[] = {
        {"Memo1a", "Anzeige der EEprom Daten\nFür den Normal-Bediener uninteressant!"},
        {"Memo3a", "Anzeige der Register\nFür den Normal-Bediener uninteressant!"},
    };
    for (const auto& [name, hint] : memos) {
        auto* m = d.findChild<QPlainTextEdit*>(QString::fromLatin1(name));
        QVERIFY2(m, name);
        QVERIFY(m->isReadOnly());
        QCOMPARE(m->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(m->toolTip(), QString::fromUtf8(hint));
        // what the columns need: digits, letters and separators equally wide (fontconfig
        // calls some monospaced fonts proportional, so the pitch flag proves nothing)
        QVERIFY(hz::gui::hasEvenAdvance(m->font()));
        // and the check itself tells a proportional font (package fonts-dejavu-core) apart
        QVERIFY(!hz::gui::hasEvenAdvance(QFont(QStringLiteral("DejaVu Sans"))));
    }
    QVERIFY(d.Memo1a->x() < d.Memo3a->x());
    QCOMPARE(d.Memo1a->toPlainText(), joined(hz::EepromListing(session.image)));
    QCOMPARE(d.Memo3a->toPlainText(), joined(hz::RomListing(session.image)));
    QCOMPARE(d.StatusPanels[0]->width(), 400);
    QVERIFY(d.StatusPanels[1]->width() >= 50);
}

void TstInfoDialog::hexInfoOpensTheListingsAndACompareFillsTheMemos()
{
    Harness h;
    TFormMain& w = h.make();
    const QString stellino = demo("stellino_12f629.hex");
    QCOMPARE(w.LoadFile(stellino), hz::LoadOutcome::Done);
    const auto memory = w.session.image.memory();
    const QString second = h.dir.filePath(QStringLiteral("second.hex"));
    hz::test::writeFile(second.toStdString(), hz::test::joinCrLf({hz::test::kBase0, rec(0x0002, "0430"),
                                                                  rec(0x4214, "1200"), hz::test::kEnd}));
    h.dialogs.openAnswers << second;

    QString config1, id1, eepromBefore, romBefore, eepromAfter, romAfter, status0, status1, proposed, filter;
    whileModal([&] { w.btn_info->click(); },
               [&](InfoDialog* d) {
                   QVERIFY(d->isModal());
                   QCOMPARE(d->parentWidget(), &w);
                   config1 = d->edt_config[0]->text();
                   id1 = d->edt_ID[0]->text();
                   eepromBefore = d->Memo1a->toPlainText();
                   romBefore = d->Memo3a->toPlainText();
                   d->btn_compare->click();
                   eepromAfter = d->Memo1a->toPlainText();
                   romAfter = d->Memo3a->toPlainText();
                   status0 = d->StatusPanels[0]->text();
                   status1 = d->StatusPanels[1]->text();
                   d->btn_close->click();
               });
    QCOMPARE(config1, QStringLiteral("31C4"));
    QCOMPARE(id1, QStringLiteral("8358"));
    QVERIFY(eepromBefore.startsWith(QStringLiteral("0x000 0002.02FF.FFFF.FFFF FFFF.FFFF.FFFF.FFFF\n0x010:")));
    QVERIFY(romBefore.startsWith(QStringLiteral("$0000: 3008.3003.3000.2805 0009.1683.303F.0085\n$0008: ")));

    QCOMPARE(h.dialogs.filters, QStringList{QStringLiteral("HEX|*.hex|TXT|*.txt|*.*|*.*")});
    QCOMPARE(h.dialogs.openProposed.value(0), QFileInfo(stellino).absolutePath() + QLatin1Char('/'));
    QCOMPARE(eepromAfter,
             QStringLiteral("\nEE0x0a: File1:0xFF - File2:0x12\n \n   1 gefundene Unterschiede im EEprom"));
    QCOMPARE(romAfter, QStringLiteral("$0001:  0x3003 [MOVLW ] - 0x3004 [MOVLW ]\n \n"
                                      "   1 gefundene Unterschiede im ROM\n"
                                      "   0 gefundene Unterschiede in ID\n"
                                      "   0 gefundene Unterschiede in Config"));
    QCOMPARE(status0, QStringLiteral("File 1 = ") + stellino);
    QCOMPARE(status1, QStringLiteral("File 2 = ") + second);
    QVERIFY(h.prompter.shown.empty());
    QVERIFY(w.session.image.memory() == memory);
    QVERIFY(!w.session.HasUnsavedChanges());
    QVERIFY(!QApplication::activeModalWidget());
}

void TstInfoDialog::cancelledOrFailedComparison()
{
    Harness h;
    TFormMain& w = h.make();
    QCOMPARE(w.LoadFile(demo("stellino_12f629.hex")), hz::LoadOutcome::Done);
    const QString bad = h.dir.filePath(QStringLiteral("bad.hex"));
    hz::test::writeFile(bad.toStdString(), hz::test::joinCrLf({rec(0x0002, "0430"), "", hz::test::kEnd}));
    h.dialogs.openAnswers << QString() << bad;

    QString afterCancel, before, romAfterFailure, eepromAfterFailure;
    whileModal([&] { w.btn_info->click(); },
               [&](InfoDialog* d) {
                   before = d->Memo3a->toPlainText();
                   d->btn_compare->click(); // cancelled: the listings stay
                   afterCancel = d->Memo3a->toPlainText();
                   d->btn_compare->click(); // the empty line stops the comparison
                   romAfterFailure = d->Memo3a->toPlainText();
                   eepromAfterFailure = d->Memo1a->toPlainText();
               });
    QVERIFY(!before.isEmpty());
    QCOMPARE(afterCancel, before);
    QCOMPARE(romAfterFailure, QStringLiteral("$0001:  0x3003 [MOVLW ] - 0x3004 [MOVLW ]"));
    QCOMPARE(eepromAfterFailure, QString());
    QCOMPARE(h.prompter.shown.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(h.prompter.shown[0].text)
                .startsWith(QStringLiteral("E206a: Unerwartete Zeile im File:")));
}

void TstInfoDialog::valuesAreReadable()
{
    hz::test::ScriptedPrompter prompter;
    hz::test::ScriptedFileDialogs dialogs;
    hz::Session session(prompter);
    QCOMPARE(session.LoadFile(demo("forsta_16f18324.hex").toStdString()), hz::LoadOutcome::Done);
    InfoDialog d(session.image, prompter, dialogs);
    QList<QLineEdit*> edits;
    for (QLineEdit* e : d.edt_config)
        edits << e;
    for (QLineEdit* e : d.edt_ID)
        edits << e;
    for (QLineEdit* e : edits) {
        QVERIFY(e->isReadOnly());
        const QPalette& p = e->palette();
        // what a disabled edit draws is what an enabled one draws: dark text on the field colour
        QCOMPARE(p.color(QPalette::Disabled, QPalette::Text), p.color(QPalette::Active, QPalette::Text));
        QCOMPARE(p.color(QPalette::Disabled, QPalette::Base), p.color(QPalette::Active, QPalette::Base));
        QVERIFY(p.color(QPalette::Disabled, QPalette::Text) != p.color(QPalette::Disabled, QPalette::Base));
    }
}

void TstInfoDialog::staysOnTheScreen_data()
{
    QTest::addColumn<QRect>("placed");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("at");
    const QRect screen(0, 0, 1920, 1040);
    QTest::newRow("inside stays") << QRect(200, 100, 978, 662) << screen << QPoint(200, 100);
    QTest::newRow("left edge at -1") << QRect(-1, 100, 978, 662) << screen << QPoint(0, 100);
    QTest::newRow("above the top") << QRect(10, -40, 978, 662) << screen << QPoint(10, 0);
    QTest::newRow("both at once") << QRect(-300, -20, 978, 662) << screen << QPoint(0, 0);
    QTest::newRow("second screen on the left")
        << QRect(-2000, 10, 978, 662) << QRect(-1920, 0, 1920, 1080) << QPoint(-1920, 10);
    // centred on a window low on the screen, it keeps its place
    QTest::newRow("beyond right and bottom") << QRect(1500, 900, 978, 662) << screen << QPoint(1500, 900);
}

void TstInfoDialog::staysOnTheScreen()
{
    QFETCH(QRect, placed);
    QFETCH(QRect, screen);
    QFETCH(QPoint, at);
    QCOMPARE(hz::gui::onScreen(placed, screen), at);

    // and the dialog takes that place on its window's screen
    hz::test::ScriptedPrompter prompter;
    hz::test::ScriptedFileDialogs dialogs;
    hz::Session session(prompter);
    QCOMPARE(session.LoadFile(demo("forsta_16f18324.hex").toStdString()), hz::LoadOutcome::Done);
    QWidget owner;
    owner.setGeometry(placed.x(), placed.y(), 300, 200);
    InfoDialog d(session.image, prompter, dialogs, &owner);
    const QRect available = owner.screen()->availableGeometry();
    QVERIFY(d.x() >= available.left() && d.y() >= available.top());
}

QTEST_MAIN(TstInfoDialog)
#include "tst_info_dialog.moc"
