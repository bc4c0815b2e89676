// The main window: start-up state, the page host's geometry, the header, loading the fixture
// firmwares, the address rows, saving, the settings file, folder browsing and the links.

#include <QApplication>
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
#include <QComboBox>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "FirmwareBuilder.h"
#include "HexRecords.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedPrompter.h"
#include "core/Session.h"
#include "TestFiles.h"
#include "gui/app/Settings.h"
#include "gui/app/TFormMain.h"
#include "core/catalogue/Catalogue.h"
#include "gui/pages/RegisterFrame.h"
#include "gui/pages/PageFrame.h"

using hz::test::fixture;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);

QString fx(const char* name) { return QString::fromStdString(fixture(name)); }

// A window wired to scripted answers, a settings file in its own folder and a recorded URL
// opener.
struct Harness {
    hz::test::ScriptedPrompter prompter;
    hz::test::ScriptedFileDialogs dialogs;
    QStringList openedUrls;
    QTemporaryDir dir;
    QString settingsPath;
    std::unique_ptr<TFormMain> w;

    explicit Harness(QString settings = {})
    {
        settingsPath = settings.isEmpty() ? dir.filePath(QStringLiteral("hexzwirbel.ini")) : settings;
    }
    TFormMain& make()
    {
        hz::gui::MainWindowServices s;
        s.prompter = &prompter;
        s.dialogs = &dialogs;
        s.openUrl = [this](const QString& url) { openedUrls << url; };
        s.settingsPath = settingsPath;
        w = std::make_unique<TFormMain>(s);
        return *w;
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

QColor baseColour(const QLineEdit* e) { return e->palette().color(QPalette::Base); }

QStringList status(const TFormMain& w)
{
    QStringList s;
    for (const QLabel* l : w.StatusPanels)
        s << l->text();
    return s;
}

// EEPROM byte texts of a saved file, read back through the core.
std::array<std::string, 3> slotBytes(const QString& file, int slot)
{
    hz::test::ScriptedPrompter p;
    hz::Session s(p);
    s.reader.ReadHexFile(file.toStdString());
    return {s.image.eeprom(slot), s.image.eeprom(slot + 16), s.image.eeprom(slot + 32)};
}

// A classic 12F629 firmware of the DCC function decoder 0x3F00 ("Stelldua - F-Dekoder
// Blinken"): rows 1 to 4 hold functions 1 to 4 (codes 81, 82, 84, 88) at addresses 3 to 6.
void writeFunctionDecoder(const QString& path)
{
    using hz::test::rec;
    hz::test::writeFile(path.toStdString(),
                        hz::test::joinCrLf({hz::test::kBase0, rec(0x0000, "00303F300030"), rec(0x0010, "0519"),
                                            rec(0x4000, "0100030006000000"), rec(0x400E, "C431"),
                                            rec(0x4202, "8100820084008800"), rec(0x4222, "0300040005000600"),
                                            rec(0x4242, "0000000000000000"), hz::test::kEnd}));
}

// The turnout decoder 0x208 without any address receiver signature: format "ohne".
void writeTurnoutWithoutFormat(const QString& path)
{
    using hz::test::rec;
    hz::test::writeFile(path.toStdString(),
                        hz::test::joinCrLf({hz::test::kBase0, rec(0x0000, "083002300030"),
                                            rec(0x4000, "0100030006000000"), rec(0x400E, "C431"),
                                            rec(0x4200, "03000000"), hz::test::kEnd}));
}

// Identifier 0x0A0B0C, which no decoder type has.
void writeUnknownDecoder(const QString& path)
{
    using hz::test::rec;
    hz::test::writeFile(path.toStdString(),
                        hz::test::joinCrLf({hz::test::kBase0, rec(0x0000, "0C300B300A30"), rec(0x0010, "8B1C"),
                                            rec(0x4000, "0100030006000000"), rec(0x400E, "C431"), hz::test::kEnd}));
}

int shownRows(TFormMain& w)
{
    int n = 0;
    for (const auto& r : w.AddressRows)
        n += r.caption->isHidden() ? 0 : 1;
    return n;
}

QStringList visibleFrames(const TFormMain& w)
{
    QStringList v;
    for (QWidget* f : {static_cast<QWidget*>(w.FrameZusatz1), static_cast<QWidget*>(w.FrameBlinkmuster1),
                       static_cast<QWidget*>(w.FrameBlinkmuster_led1), static_cast<QWidget*>(w.FrameKornelAdr1),
                       static_cast<QWidget*>(w.FrameKornel1), static_cast<QWidget*>(w.FrameRegister1)})
        if (!f->isHidden())
            v << f->objectName();
    return v;
}

} // namespace

class TstMainWindow : public QObject {
    Q_OBJECT

private slots:
    void startUpState();
    void settingsAreReadAtStartUp();
    void arrangeWindow_data();
    void arrangeWindow();
    void showPage_data();
    void showPage();
    void fitHeader_data();
    void fitHeader();
    void layoutRows();
    void showRowsByRowMode();
    void loadFixture_data();
    void loadFixture();
    void startUpLoadAddsThePicSuffixOnce();
    void pageKindZeroAfterRegisterPageShowsNoFrame();
    void formatOhneHidesAllRows();
    void failedLoadLeavesNoFileToSave();
    void rgClickTogglesColourAndSavedCode();
    void saveWritesTypedAddresses();
    void saveWritesFunctionDecoderRows();
    void cancelledSaveDialog();
    void refusedRowEndsSave_data();
    void refusedRowEndsSave();
    void pendingPageChanges_data();
    void pendingPageChanges();
    void settingsWrittenOnlyByEnde();
    void servoGridIsTheSettingsRaster();
    void settingsWriteFailureKeepsWindowOpen();
    void prevAndNextStepThroughFolder();
    void links();
    void exceptionInHandlerIsShown();
    void unsavedChangesAreAskedAbout();
    void statusPanelTakesTheRestOfTheWidth();
    void rowHintsSayWhatIsAccepted();
};

void TstMainWindow::startUpState()
{
    Harness h;
    TFormMain& w = h.make();

    QCOMPARE(w.windowTitle(), QStringLiteral("Hex Zwirbel 2020-06-02"));
    QCOMPARE(status(w), QStringList({"", "", "", " HEX Zwirbel "}));
    QCOMPARE(w.StatusBar1->toolTip(), QStringLiteral("Anzeige der HEX-Version und des Namens"));
    const int panelWidths[4] = {35, 50, 50, 250};
    for (std::size_t i = 0; i < 4; ++i)
        QCOMPARE(w.StatusPanels[i]->width(), panelWidths[i]);

    const std::pair<const char*, const char*> captions[] = {
        {"btn_load", "HEX laden"}, {"btn_save", "speichern"}, {"btn_close", "Ende"},
        {"btn_info", "HEX Info"},  {"btn_prev", "<"},         {"btn_next", ">"},
    };
    for (const auto& [name, caption] : captions) {
        auto* b = w.findChild<QPushButton*>(QString::fromLatin1(name));
        QVERIFY2(b, name);
        QCOMPARE(b->text(), QString::fromUtf8(caption));
    }
    QCOMPARE(w.btn_load->toolTip(),
             QString::fromUtf8("Hex-File laden.\nAnschliessend können Parameter wie z.B. die Adressen geändert werden."));
    QCOMPARE(w.btn_close->toolTip(),
             QString::fromUtf8("Programm beenden\n(mit Nachfrage, wenn Änderungen nicht gespeichert sind)"));
    QVERIFY(!w.btn_save->isEnabled());
    QVERIFY(w.btn_save->font().bold());
    QVERIFY(w.btn_close->font().bold());
    QVERIFY(!w.btn_load->font().bold());
    QCOMPARE(w.btn_goweb->text(), QString::fromLatin1(hz::kProgramPage));
    QCOMPARE(w.btn_goweb->toolTip(), QStringLiteral("Gehe auf die WebSite zu dieser Software-Variante"));
    QCOMPARE(w.Image2->size(), QSize(200, 32));
    QCOMPARE(w.Image2->pixmap().size(), QSize(200, 32));
    QCOMPARE(w.Image2->toolTip(), QStringLiteral("Zur WebSite"));

    // The header keeps its start-up text; the base layout has two columns, so it is hidden.
    QCOMPARE(w.lbl_header->text(), QStringLiteral("Hex Zwirbel"));
    QCOMPARE(w.lbl_header->font().pixelSize(), 20);
    QVERIFY(w.lbl_header->isHidden());

    // Base arrangement: the window is sized for the empty page and cannot be made smaller.
    QCOMPARE(w.GroupBoxMain->geometry(), QRect(5, 5, 400, 505));
    QCOMPARE(w.width(), 720);
    QCOMPARE(w.height(), 500 + w.StatusBar1->height() + w.GroupBoxButtons->height() + 50);
    QCOMPARE(w.minimumSize(), w.size());
    QCOMPARE(w.pos(), QPoint(10, 10)); // no settings file

    QVERIFY(visibleFrames(w).isEmpty());
    for (const char* name : {"GroupBoxMain", "GroupBoxButtons", "GroupBoxImage", "Image2", "ProgressBar1", "btn_goweb",
                             "lbl_header", "StatusBar1", "FrameZusatz1", "FrameBlinkmuster1", "FrameBlinkmuster_led1",
                             "FrameKornelAdr1", "FrameKornel1", "FrameRegister1"})
        QVERIFY2(w.findChild<QWidget*>(QString::fromLatin1(name)), name);

    // 48 hidden rows of four controls; the captions "A<k>" were emptied by the base layout.
    const QFont rowFont = w.AddressRows[1].caption->font();
    QFont big = w.GroupBoxMain->font();
    big.setPointSize(24);
    big.setBold(true);
    w.GroupBoxMain->setFont(big);
    for (int k = 0; k < TFormMain::kRows; ++k) {
        const auto& r = w.AddressRows[static_cast<std::size_t>(k)];
        QCOMPARE(r.caption, w.findChild<QLabel*>(QStringLiteral("lbl_adr_%1").arg(k)));
        QCOMPARE(r.address, w.findChild<QLineEdit*>(QStringLiteral("edt_adr_%1").arg(k)));
        QCOMPARE(r.function, w.findChild<QLineEdit*>(QStringLiteral("edt_fkt_%1").arg(k)));
        QCOMPARE(r.rg, w.findChild<QPushButton*>(QStringLiteral("btn_RG_%1").arg(k)));
        QCOMPARE(r.caption->parentWidget(), w.GroupBoxMain);
        QVERIFY(r.caption->isHidden() && r.address->isHidden() && r.function->isHidden() && r.rg->isHidden());
        QCOMPARE(r.caption->text(), QString());
        QCOMPARE(r.address->size(), QSize(40, 20));
        QCOMPARE(r.function->size(), QSize(30, 20));
        QCOMPARE(r.function->toolTip(), QStringLiteral("Funktion Nummer"));
        QCOMPARE(r.rg->size(), QSize(30, 16));
        QCOMPARE(r.rg->text(), QStringLiteral("R/G"));
        QCOMPARE(r.rg->toolTip(), QString::fromUtf8("Wechsel zwischen ROTer und GRÜNer Adresse "));
        // The rows do not take the group box font.
        QCOMPARE(r.address->font(), rowFont);
        QCOMPARE(r.rg->font(), rowFont);
    }
}

void TstMainWindow::settingsAreReadAtStartUp()
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

void TstMainWindow::arrangeWindow_data()
{
    QTest::addColumn<QList<int>>("args");          // left, right, height, width
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<int>("wide");                 // btn_load, btn_save
    QTest::addColumn<int>("narrow");               // btn_info, btn_close
    QTest::addColumn<QList<int>>("buttonLefts");   // prev, load, next, save, info, close
    QTest::addColumn<QRect>("buttonGroup");
    QTest::addColumn<QRect>("imageGroup");
    QTest::addColumn<QPoint>("image");

    // Lower group heights as designed: buttons 74, picture box 74 - 25 - 5.
    QTest::newRow("base page") << QList<int>{5, 410, 500, 300} << 720 << 89 << 52
                               << QList<int>{10, 25, 114, 139, 238, 238} << QRect(410, 515, 300, 74)
                               << QRect(5, 515, 400, 44) << QPoint(100, 6);
    QTest::newRow("register page") << QList<int>{5, 410, 555, 535} << 955 << 183 << 99
                                   << QList<int>{10, 25, 208, 233, 426, 426} << QRect(410, 570, 535, 74)
                                   << QRect(5, 570, 400, 44) << QPoint(100, 6);
    QTest::newRow("servo page") << QList<int>{410, 650, 555, 300} << 960 << 89 << 52
                                << QList<int>{10, 25, 114, 139, 238, 238} << QRect(650, 570, 300, 74)
                                << QRect(410, 570, 235, 44) << QPoint(17, 6);
    // 293 * 4 / 10 = 117.2 and 2 * 293 / 10 = 58.6: both truncate.
    QTest::newRow("widths truncate") << QList<int>{5, 410, 400, 333} << 753 << 102 << 58
                                     << QList<int>{10, 25, 127, 152, 264, 264} << QRect(410, 415, 332, 74)
                                     << QRect(5, 415, 400, 44) << QPoint(100, 6);
}

void TstMainWindow::arrangeWindow()
{
    QFETCH(QList<int>, args);
    QFETCH(int, windowWidth);
    QFETCH(int, wide);
    QFETCH(int, narrow);
    QFETCH(QList<int>, buttonLefts);
    QFETCH(QRect, buttonGroup);
    QFETCH(QRect, imageGroup);
    QFETCH(QPoint, image);

    Harness h;
    TFormMain& w = h.make();
    w.ArrangeWindow(args[0], args[1], args[2], args[3]);

    QCOMPARE(w.GroupBoxMain->height(), args[2] + 5);
    QCOMPARE(w.width(), windowWidth);
    QCOMPARE(w.height(), args[2] + w.StatusBar1->height() + w.GroupBoxButtons->height() + 50);
    QCOMPARE(w.minimumSize(), w.size());
    QCOMPARE(w.btn_load->width(), wide);
    QCOMPARE(w.btn_save->width(), wide);
    QCOMPARE(w.btn_info->width(), narrow);
    QCOMPARE(w.btn_close->width(), narrow);
    const QList<int> lefts{w.btn_prev->x(), w.btn_load->x(), w.btn_next->x(),
                           w.btn_save->x(), w.btn_info->x(), w.btn_close->x()};
    QCOMPARE(lefts, buttonLefts);
    const QList<int> tops{w.btn_prev->y(), w.btn_load->y(), w.btn_next->y(), w.btn_save->y(),
                          w.btn_info->y(), w.btn_close->y(), w.ProgressBar1->y()};
    QCOMPARE(tops, (QList<int>{16, 16, 16, 16, 16, 40, 49}));
    QCOMPARE(w.ProgressBar1->x(), w.btn_load->x());
    QCOMPARE(w.ProgressBar1->width(), 2 * wide + 10);
    QCOMPARE(w.GroupBoxButtons->geometry(), buttonGroup);
    QCOMPARE(w.GroupBoxImage->geometry(), imageGroup);
    QCOMPARE(w.Image2->pos(), image);
    QCOMPARE(w.btn_goweb->geometry(),
             QRect(imageGroup.x(), imageGroup.y() + imageGroup.height() + 4, imageGroup.width(), 25));
    // The button group fits into the window.
    QVERIFY(w.GroupBoxButtons->x() + w.GroupBoxButtons->width() <= w.width());

    // A smaller page afterwards shrinks the window again.
    w.ArrangeWindow(5, 410, 500, 300);
    QCOMPARE(w.size(), w.minimumSize());
    QCOMPARE(w.width(), 720);
}

void TstMainWindow::showPage_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("frames");  // visible afterwards, FrameRegister1 included
    QTest::addColumn<QList<QRect>>("geometry"); // of the frames in the same order
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<int>("mainHeight");

    QTest::newRow("1 additional functions") << 1 << QStringList{"FrameZusatz1", "FrameRegister1"}
                                            << QList<QRect>{QRect(410, 10, 320, 485)} << 740 << 490;
    QTest::newRow("2 blink pattern") << 2 << QStringList{"FrameBlinkmuster1", "FrameRegister1"}
                                     << QList<QRect>{QRect(410, 10, 540, 485)} << 960 << 490;
    QTest::newRow("3 LED blink pattern") << 3 << QStringList{"FrameBlinkmuster_led1", "FrameRegister1"}
                                         << QList<QRect>{QRect(410, 10, 540, 570)} << 960 << 575;
    QTest::newRow("4 servo") << 4 << QStringList{"FrameKornelAdr1", "FrameKornel1", "FrameRegister1"}
                             << QList<QRect>{QRect(6, 120, 398, 530), QRect(410, 10, 540, 555)} << 960 << 560;
    QTest::newRow("6 register") << 6 << QStringList{"FrameRegister1"} << QList<QRect>{QRect(5, 8, 940, 555)} << 955
                                << 560;
    QTest::newRow("5 does not exist") << 5 << QStringList{"FrameRegister1"} << QList<QRect>{} << 720 << 505;
}

void TstMainWindow::showPage()
{
    QFETCH(int, kind);
    QFETCH(QStringList, frames);
    QFETCH(QList<QRect>, geometry);
    QFETCH(int, windowWidth);
    QFETCH(int, mainHeight);

    Harness h;
    TFormMain& w = h.make();
    // Every frame showing before: ShowPage hides the five other pages, not the register page.
    for (QWidget* f : {static_cast<QWidget*>(w.FrameZusatz1), static_cast<QWidget*>(w.FrameBlinkmuster1),
                       static_cast<QWidget*>(w.FrameBlinkmuster_led1), static_cast<QWidget*>(w.FrameKornelAdr1),
                       static_cast<QWidget*>(w.FrameKornel1), static_cast<QWidget*>(w.FrameRegister1)})
        f->show();
    w.ShowPage(kind);

    QCOMPARE(visibleFrames(w), frames);
    for (qsizetype i = 0; i < geometry.size(); ++i)
        QCOMPARE(w.findChild<QWidget*>(frames[i])->geometry(), geometry[i]);
    QCOMPARE(w.width(), windowWidth);
    QCOMPARE(w.GroupBoxMain->height(), mainHeight);
    QVERIFY(w.GroupBoxButtons->x() + w.GroupBoxButtons->width() <= w.width());
    if (kind == 4) {
        QCOMPARE(w.GroupBoxButtons->x(), 650);
        QCOMPARE(w.GroupBoxImage->x(), 410);
    }
    if (kind == 6)
        QVERIFY(!w.FrameRegister1->Updating); // the frame's set-up ran to its end
}

void TstMainWindow::fitHeader_data()
{
    QTest::addColumn<int>("size");
    for (int size : {15, 13, 11, 10, 9})
        QTest::newRow(qPrintable(QStringLiteral("size %1").arg(size))) << size;
}

void TstMainWindow::fitHeader()
{
    QFETCH(int, size);
    Harness h;
    TFormMain& w = h.make();
    const int limit = w.GroupBoxMain->width();

    // A name that fits at `size` but not at the next larger size, with a few pixels to spare
    // on both sides so that label margins do not matter. At 9 the name is too wide even there.
    const int sizes[] = {15, 13, 11, 10, 9};
    auto advance = [&](const QString& text, int pt) {
        QFont f = w.lbl_header->font();
        f.setPointSize(pt);
        return QFontMetrics(f).horizontalAdvance(text);
    };
    const auto idx = std::find(std::begin(sizes), std::end(sizes), size) - std::begin(sizes);
    const QString words = QStringLiteral("Lumo - Lichtsignal mit Vorsignal am Mast ").repeated(4);
    QString name;
    for (qsizetype n = 1; n <= words.size() && name.isEmpty(); ++n) {
        const QString text = words.left(n);
        const bool fits = size == 9 ? advance(text, 9) > limit + 6 : advance(text, size) < limit - 6;
        const bool tooWideBefore = idx == 0 || advance(text, sizes[idx - 1]) > limit + 6;
        if (fits && tooWideBefore)
            name = text;
    }
    if (name.isEmpty())
        QSKIP("no text with this font that fits exactly at this size");

    w.FitHeader(name.toStdString());
    QCOMPARE(w.lbl_header->text(), name);
    QCOMPARE(w.lbl_header->font().pointSize(), size);
    if (size == 9)
        QVERIFY(w.lbl_header->width() > limit); // cut by the group box
    else
        QVERIFY(w.lbl_header->width() <= limit);
}

void TstMainWindow::layoutRows()
{
    Harness h;
    TFormMain& w = h.make();
    auto& caps = w.session.ident.Captions;
    caps[1] = "Weiche 1";
    caps[2] = "W";
    caps[3] = "Hauptsignal: Hp0";
    caps[4] = "Licht";
    auto row = [&](int k) { return w.AddressRows[static_cast<std::size_t>(k)]; };

    // One column below the header, a gap of 10 pixels after row 2.
    w.LayoutRows(48, 2);
    QVERIFY(!w.lbl_header->isHidden());
    const int a = row(3).caption->width(); // the widest caption
    QVERIFY(a > row(1).caption->width());
    QCOMPARE(row(2).caption->width(), row(2).caption->sizeHint().width()); // labels size to their text
    const int ys[] = {0, 60, 85, 120, 145};
    for (int k = 1; k <= 4; ++k) {
        QCOMPARE(row(k).caption->pos(), QPoint(5, ys[k] + 4));
        QCOMPARE(row(k).address->pos(), QPoint(a + 15, ys[k]));
        QCOMPARE(row(k).function->pos(), QPoint(a + 15 + 40 + 10, ys[k]));
        QCOMPARE(row(k).rg->pos(), QPoint(a + 15 + 40 + 10, ys[k] + 2));
    }
    QCOMPARE(row(47).address->y(), 60 + 46 * 25 + 10); // hidden rows take their place too

    // Two columns broken after row 3, header hidden.
    w.LayoutRows(3, 0);
    QVERIFY(w.lbl_header->isHidden());
    const QPoint origin[] = {{}, {5, 15}, {5, 40}, {5, 65}, {205, 15}, {205, 40}};
    for (int k = 1; k <= 5; ++k) {
        const QPoint o = origin[k];
        QCOMPARE(row(k).caption->pos(), o + QPoint(0, 4));
        QCOMPARE(row(k).address->pos(), o + QPoint(100, 0));
        QCOMPARE(row(k).function->pos(), o + QPoint(150, 0));
        QCOMPARE(row(k).rg->pos(), o + QPoint(150, 2));
    }
    QCOMPARE(row(47).address->pos(), QPoint(305, 15 + 43 * 25));
}

void TstMainWindow::showRowsByRowMode()
{
    Harness h;
    TFormMain& w = h.make();
    auto& id = w.session.ident;
    id.Captions[1] = "Ausgang 1";
    id.Captions[2] = " "; // a blank is a caption
    id.MaxAddress = 16128;
    id.MaxFunction = 12;
    auto row = [&](int k) { return w.AddressRows[static_cast<std::size_t>(k)]; };
    const QString addressHint = QString::fromUtf8(
        "gültiger Adressbereich: 1 bis 16128\n'0' für unbenutzt (keine Reaktion auf irgendeinen Befehl)");

    id.RedGreen = false;
    w.ShowRows();
    for (int k : {1, 2}) {
        QVERIFY(!row(k).caption->isHidden() && !row(k).address->isHidden());
        QVERIFY(!row(k).function->isHidden());
        QVERIFY(row(k).rg->isHidden());
        QCOMPARE(row(k).address->toolTip(), addressHint);
        QCOMPARE(row(k).function->toolTip(), QString::fromUtf8("gültiger Bereich für die Funktions-Nummer: 1 bis 12"));
    }
    QCOMPARE(shownRows(w), 2);

    id.RedGreen = true;
    id.Captions[2].clear();
    w.ShowRows();
    QVERIFY(row(1).function->isHidden());
    QVERIFY(!row(1).rg->isHidden());
    QVERIFY(row(2).caption->isHidden() && row(2).address->isHidden() && row(2).rg->isHidden());
    QCOMPARE(row(2).address->toolTip(), QString());

    w.HideAllRows();
    QCOMPARE(shownRows(w), 0);
    QVERIFY(row(1).address->isHidden() && row(1).rg->isHidden());
}

void TstMainWindow::loadFixture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("panels"); // 0..2
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("rows");   // "k caption=address colour"
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

void TstMainWindow::loadFixture()
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
    const QString suffix = QString::fromStdString(hz::FindPic(w.session.image.PicModel)
                                                      ? hz::FindPic(w.session.image.PicModel)->StatusSuffix
                                                      : std::string());
    QCOMPARE(status(w)[3], file + suffix);
    QCOMPARE(w.lbl_header->text(), header);
    QCOMPARE(w.lbl_header->font().pointSize(), 15);
    QCOMPARE(w.btn_goweb->text(), QString::fromStdString(w.session.ident.DocPage));
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
        const auto& r = w.AddressRows[static_cast<std::size_t>(k)];
        const bool captioned = w.session.ident.hasCaption(k);
        QCOMPARE(!r.caption->isHidden(), captioned);
        QCOMPARE(r.caption->text(), QString::fromStdString(w.session.ident.Captions[static_cast<std::size_t>(k)]));
    }
    for (const QString& rowLine : rows) {
        const int k = rowLine.section(' ', 0, 0).toInt();
        const QString caption = rowLine.section(' ', 1).section('=', 0, 0);
        const QString rest = rowLine.section('=', 1);
        const auto& r = w.AddressRows[static_cast<std::size_t>(k)];
        QCOMPARE(r.caption->text(), caption);
        QCOMPARE(r.address->text(), rest.section(' ', 0, 0));
        QCOMPARE(baseColour(r.address), rest.section(' ', 1) == "red" ? kRed : kGreen);
        QVERIFY(!r.rg->isHidden());
    }
    // A type without red/green rows leaves every field white.
    if (!w.session.ident.RedGreen)
        for (const auto& r : w.AddressRows)
            QCOMPARE(baseColour(r.address), kWhite);
}

void TstMainWindow::startUpLoadAddsThePicSuffixOnce()
{
    struct Case {
        QString file;
        std::size_t messages;
    };
    Harness h;
    const QString unknown = h.path("unbekannt.hex");
    writeUnknownDecoder(unknown);
    for (const Case& c : {Case{fx("classic_629_turnout.hex"), 0}, Case{fx("f18324_function.hex"), 0}, Case{unknown, 2}}) {
        Harness hh;
        TFormMain& w = hh.make();
        // What main() does with a file argument before the window shows.
        w.LoadFile(c.file);
        w.RedoLayout();
        QCOMPARE(hh.prompter.shown.size(), c.messages); // the second pass repeats no message
        const hz::PicInfo* pic = hz::FindPic(w.session.image.PicModel);
        QCOMPARE(status(w)[3], c.file + (pic ? QString::fromStdString(pic->StatusSuffix) : QString()));
        QCOMPARE(w.lbl_header->text(), QString::fromStdString(w.session.ident.DecoderName));
        QCOMPARE(shownRows(w), static_cast<int>(std::count_if(w.session.ident.Captions.begin(),
                                                              w.session.ident.Captions.end(),
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

void TstMainWindow::pageKindZeroAfterRegisterPageShowsNoFrame()
{
    Harness h;
    TFormMain& w = h.make();
    w.LoadFile(fx("f18324_function.hex"));
    QCOMPARE(visibleFrames(w), QStringList{"FrameRegister1"});
    w.LoadFile(fx("classic_676_turntable.hex"));
    QCOMPARE(visibleFrames(w), QStringList{});
    QCOMPARE(w.width(), 720);
    QCOMPARE(w.minimumWidth(), 720);
}

void TstMainWindow::formatOhneHidesAllRows()
{
    Harness h;
    TFormMain& w = h.make();
    const QString file = h.path("ohne.hex");
    writeTurnoutWithoutFormat(file);
    w.LoadFile(file);
    QCOMPARE(status(w)[2], QStringLiteral("ohne"));
    QCOMPARE(shownRows(w), 0);
    for (const auto& r : w.AddressRows)
        QVERIFY(r.address->isHidden() && r.function->isHidden() && r.rg->isHidden());
}

void TstMainWindow::failedLoadLeavesNoFileToSave()
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
    QCOMPARE(w.AddressRows[1].address->text(), QStringLiteral("17"));
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
    QCOMPARE(w.AddressRows[1].address->text(), QString());
    QCOMPARE(w.btn_goweb->text(), QString::fromLatin1(hz::kProgramPage));
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

void TstMainWindow::rgClickTogglesColourAndSavedCode()
{
    Harness h;
    TFormMain& w = h.make();
    w.LoadFile(fx("classic_629_turnout.hex"));
    QLineEdit* weiche = w.AddressRows[1].address;
    QCOMPARE(baseColour(weiche), kRed);
    w.AddressRows[1].rg->click();
    QCOMPARE(baseColour(weiche), kGreen);
    QCOMPARE(baseColour(w.AddressRows[2].address), kGreen); // the other row keeps its state
    w.AddressRows[2].rg->click();
    QCOMPARE(baseColour(w.AddressRows[2].address), kRed);

    // Saved: row 1 as the green code of 17, row 2 as the red code of 317.
    const QString out = h.path("rg.hex");
    h.dialogs.saveAnswers << out;
    w.btn_save->click();
    QVERIFY(QFile::exists(out));
    QCOMPARE(slotBytes(out, 1), (std::array<std::string, 3>{"02", "C0", "C3"}));
    QCOMPARE(slotBytes(out, 2), (std::array<std::string, 3>{"00", "00", "03"}));
}

void TstMainWindow::saveWritesTypedAddresses()
{
    Harness h;
    TFormMain& w = h.make();
    const QString in = fx("classic_629_turnout.hex");
    w.LoadFile(in);
    w.AddressRows[2].address->setText(QStringLiteral("1"));
    w.AddressRows[1].address->setText(QStringLiteral("0"));

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
    QCOMPARE(w.AddressRows[2].address->text(), QStringLiteral("1"));
    QCOMPARE(w.AddressRows[1].address->text(), QStringLiteral("0"));
}

void TstMainWindow::saveWritesFunctionDecoderRows()
{
    Harness h;
    TFormMain& w = h.make();
    const QString in = h.path("fdekoder.hex");
    writeFunctionDecoder(in);
    w.LoadFile(in);
    const auto& row1 = w.AddressRows[1];
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

void TstMainWindow::cancelledSaveDialog()
{
    Harness h;
    TFormMain& w = h.make();
    const QString in = fx("classic_629_turnout.hex");
    w.LoadFile(in);
    QVERIFY(status(w)[3] != in); // the PIC suffix follows the name after a load
    w.btn_save->click();
    QCOMPARE(h.dialogs.saveProposed, QStringList{in});
    QCOMPARE(status(w)[3], in);
    QCOMPARE(QDir(h.dir.path()).entryList(QDir::Files), QStringList{});
}

void TstMainWindow::refusedRowEndsSave_data()
{
    QTest::addColumn<QString>("file"); // empty: the turnout fixture, else the function decoder
    QTest::addColumn<bool>("functionField");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // %s stands for the caption of row 1

    QTest::newRow("not a number") << "" << false << "12a" << QString::fromUtf8("Ungültige Eingabe für <%s> ");
    QTest::newRow("empty") << "" << false << "" << QString::fromUtf8("Ungültige Eingabe für <%s> ");
    QTest::newRow("too large") << "" << false << "321" << "Adresse für <%s> ist zu gross";
    QTest::newRow("negative") << "" << false << "-1" << "Adresse für <%s> ist zu klein";
    QTest::newRow("function not a number") << "f" << true << "x" << QString::fromUtf8("Ungültige Eingabe Funktion von <%s> ");
    QTest::newRow("function too large") << "f" << true << "13" << QString::fromUtf8("Funktions-Nummer für <%s> ist zu gross");
}

void TstMainWindow::refusedRowEndsSave()
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

    const auto& row1 = w.AddressRows[1];
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

void TstMainWindow::pendingPageChanges_data()
{
    QTest::addColumn<int>("identifier");  // the decoder type loaded
    QTest::addColumn<QString>("frame");    // the page whose working copy is changed
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

void TstMainWindow::pendingPageChanges()
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
    w.AddressRows[1].address->setText(answer == static_cast<int>(hz::Answer::No) && asked ? "12a" : "5");

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

void TstMainWindow::settingsWrittenOnlyByEnde()
{
    Harness h;
    {
        TFormMain& w = h.make();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.close(); // the close box writes nothing
        QVERIFY(!QFile::exists(h.settingsPath));
    }

    TFormMain& w = h.make();
    w.LoadFile(fx("classic_629_turnout.hex"));
    w.RasterX = 4;
    w.RasterY = 1;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QPoint pos = w.pos();
    w.btn_close->click();
    QVERIFY(!w.isVisible());
    QVERIFY(h.prompter.shown.empty());

    const SettingsValues v = ReadSettings(h.settingsPath);
    QCOMPARE(v.rasterX, 4);
    QCOMPARE(v.rasterY, 1);
    QCOMPARE(v.width, 740);
    QCOMPARE(v.left, pos.x());
    QCOMPARE(v.top, pos.y());
    QCOMPARE(v.lastFileName, fx("classic_629_turnout.hex"));
}

// The servo page's grid lists show the raster of the settings file; picking a grid there is
// what "Ende" writes back.
void TstMainWindow::servoGridIsTheSettingsRaster()
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

void TstMainWindow::settingsWriteFailureKeepsWindowOpen()
{
    QTemporaryDir dir;
    Harness h(dir.path()); // a folder cannot be written as a file
    TFormMain& w = h.make();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.btn_close->click();
    QCOMPARE(h.prompter.shown.size(), std::size_t(1));
    QCOMPARE(h.prompter.shown[0].kind, hz::MsgKind::Error);
    QVERIFY(!h.prompter.shown[0].text.empty());
    QVERIFY(w.isVisible());
}

void TstMainWindow::prevAndNextStepThroughFolder()
{
    Harness h;
    const QDir folder(h.dir.path());
    QVERIFY(folder.mkdir("hex"));
    const QString a = folder.filePath("hex/a.hex"), b = folder.filePath("hex/b.hex"), c = folder.filePath("hex/c.hex");
    QVERIFY(QFile::copy(fx("classic_629_turnout.hex"), a));
    QVERIFY(QFile::copy(fx("classic_684_idbits.hex"), b));
    QVERIFY(QFile::copy(fx("classic_676_turntable.hex"), c));

    TFormMain& w = h.make();
    h.dialogs.openAnswers << b;
    w.btn_load->click();
    QCOMPARE(w.lbl_header->text(), QStringLiteral("Relaisdekoder 8"));

    struct Step {
        QPushButton* button;
        QString file;
        const char* header;
    };
    const Step steps[] = {
        {w.btn_prev, a, "Stellino  ab V3.51"},
        {w.btn_next, b, "Relaisdekoder 8"},
        {w.btn_next, c, "Drehscheibe 48 Position"},
        {w.btn_next, a, "Stellino  ab V3.51"}, // wraps around
        {w.btn_prev, c, "Drehscheibe 48 Position"},
    };
    for (const Step& s : steps) {
        s.button->click();
        QVERIFY(status(w)[3].startsWith(s.file));
        QCOMPARE(w.lbl_header->text(), QString::fromLatin1(s.header));
        QCOMPARE(QString::fromStdString(w.session.image.LastFileName), s.file);
    }
    QVERIFY(h.prompter.shown.empty());
}

void TstMainWindow::links()
{
    Harness h;
    TFormMain& w = h.make();
    w.btn_goweb->click();
    w.LoadFile(fx("classic_629_turnout.hex"));
    w.btn_goweb->click();
    QTest::mouseClick(w.Image2, Qt::LeftButton);
    QTest::mouseClick(w.GroupBoxImage, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(h.openedUrls, (QStringList{QString::fromLatin1(hz::kProgramPage), w.btn_goweb->text(),
                                        QString::fromLatin1(hz::kHomePage), QString::fromLatin1(hz::kHomePage)}));
    QVERIFY(w.btn_goweb->text() != QString::fromLatin1(hz::kProgramPage));
    QCOMPARE(w.btn_goweb->text(), QString::fromStdString(w.session.ident.DocPage));
}

void TstMainWindow::exceptionInHandlerIsShown()
{
    Harness h;
    hz::gui::MainWindowServices s;
    s.prompter = &h.prompter;
    s.dialogs = &h.dialogs;
    s.settingsPath = h.settingsPath;
    s.openUrl = [](const QString&) { throw std::runtime_error("Browser nicht gefunden"); };
    TFormMain w(s);
    w.btn_goweb->click();
    QCOMPARE(h.prompter.shown.size(), std::size_t(1));
    QCOMPARE(h.prompter.shown[0].kind, hz::MsgKind::Error);
    QCOMPARE(h.prompter.shown[0].text, std::string("Browser nicht gefunden"));
    // The program goes on.
    w.LoadFile(fx("classic_629_turnout.hex"));
    QCOMPARE(w.lbl_header->text(), QStringLiteral("Stellino  ab V3.51"));
}

void TstMainWindow::unsavedChangesAreAskedAbout()
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
    QLineEdit* row1 = w.AddressRows[1].address;
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

void TstMainWindow::statusPanelTakesTheRestOfTheWidth()
{
    Harness h;
    TFormMain& w = h.make();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // a long path: the panel shows as much as the window is wide, the window keeps its size
    const QString folder = h.path("ein/sehr/langer/Ordnername/mit/vielen/Ebenen/fuer/die/Decoder/Sammlung");
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/stellino.hex");
    QVERIFY(QFile::copy(fx("classic_629_turnout.hex"), file));
    w.LoadFile(fx("classic_629_turnout.hex"));
    QApplication::processEvents();
    const int width = w.width();
    w.LoadFile(file);
    QApplication::processEvents();
    QCOMPARE(w.width(), width);
    const QLabel* last = w.StatusPanels[3];
    QVERIFY(last->width() >= 250);
    QVERIFY(last->width() > width - 35 - 50 - 50 - 60); // the rest of the width, less the bar's spacing
    QVERIFY(status(w)[3].endsWith(QStringLiteral(" (12F629/16F630)")));
}

void TstMainWindow::rowHintsSayWhatIsAccepted()
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
    QCOMPARE(w.AddressRows[1].address->toolTip(),
             QString::fromUtf8("gültiger Adressbereich: 1 bis 255\n(Funktionsdekoder haben im Mot-Format nur diese Adressen)"));
    // the turntable position without a firmware slot
    w.LoadFile(fx("classic_676_turntable.hex"));
    QVERIFY(!w.AddressRows[31].address->isEnabled());
    QVERIFY(w.AddressRows[31].address->toolTip().contains(QString::fromUtf8("hält die Firmware keine Adresse")));
    QVERIFY(w.AddressRows[16].address->toolTip().startsWith(QString::fromUtf8("gültiger Adressbereich: 1 bis 320")));
}

QTEST_MAIN(TstMainWindow)
#include "tst_main_window.moc"
