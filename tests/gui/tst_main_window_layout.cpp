// The main window at start-up and around the shown page: its controls, the page host's
// geometry, the header, the address rows' places and the status bar.

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

class TstMainWindowLayout : public QObject {
    Q_OBJECT

private slots:
    void startUpState();
    void arrangeWindow_data();
    void arrangeWindow();
    void showPage_data();
    void showPage();
    void fitHeader_data();
    void fitHeader();
    void layoutRows();
    void showRowsByRowMode();
    void pageKindZeroAfterRegisterPageShowsNoFrame();
    void statusPanelTakesTheRestOfTheWidth();
    void windowKeepsThePagesSize_data();
    void windowKeepsThePagesSize();
    void typeShowsWhereverTheHeaderIsHidden_data();
    void typeShowsWhereverTheHeaderIsHidden();
    void longTypeIsCutInTheStatusBar();
};

void TstMainWindowLayout::startUpState()
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
    QCOMPARE(
        w.btn_load->toolTip(),
        QString::fromUtf8("Hex-File laden.\nAnschliessend können Parameter wie z.B. die Adressen geändert werden."));
    QCOMPARE(w.btn_close->toolTip(),
             QString::fromUtf8("Programm beenden\n(mit Nachfrage, wenn Änderungen nicht gespeichert sind)"));
    QVERIFY(!w.btn_save->isEnabled());
    QVERIFY(w.btn_save->font().bold());
    QVERIFY(w.btn_close->font().bold());
    QVERIFY(!w.btn_load->font().bold());
    // the local manual: named, and said to open on this computer (with a site: its address)
    QCOMPARE(w.btn_goweb->text(), QStringLiteral("Handbuch"));
    QVERIFY(w.btn_goweb->toolTip().contains(QStringLiteral("auf diesem Rechner")));
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
    QCOMPARE(clientHeight(w), 500 + w.StatusBar1->height() + w.GroupBoxButtons->height() + 50);
    QCOMPARE(w.minimumSize(), w.size());
    QCOMPARE(w.pos(), QPoint(10, 10)); // no settings file

    QVERIFY(visibleFrames(w).isEmpty());
    for (const char* name : {"GroupBoxMain", "GroupBoxButtons", "GroupBoxImage", "Image2", "ProgressBar1", "btn_goweb",
                             "lbl_header", "StatusBar1", "FrameZusatz1", "FrameBlinkmuster1", "FrameBlinkmuster_led1",
                             "FrameKornelAdr1", "FrameKornel1", "FrameRegister1"})
        QVERIFY2(w.findChild<QWidget*>(QString::fromLatin1(name)), name);

    // 48 hidden rows of four controls; the captions "A<k>" were emptied by the base layout.
    const QFont rowFont = w.addressRows()[1].caption->font();
    QFont big = w.GroupBoxMain->font();
    big.setPointSize(24);
    big.setBold(true);
    w.GroupBoxMain->setFont(big);
    for (int k = 0; k < TFormMain::kRows; ++k) {
        const auto& r = w.addressRows()[static_cast<std::size_t>(k)];
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

void TstMainWindowLayout::arrangeWindow_data()
{
    QTest::addColumn<QList<int>>("args"); // left, right, height, width
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<int>("wide");               // btn_load, btn_save
    QTest::addColumn<int>("narrow");             // btn_info, btn_close
    QTest::addColumn<QList<int>>("buttonLefts"); // prev, load, next, save, info, close
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

void TstMainWindowLayout::arrangeWindow()
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
    QCOMPARE(clientHeight(w), args[2] + w.StatusBar1->height() + w.GroupBoxButtons->height() + 50);
    QCOMPARE(w.minimumSize(), w.size());
    QCOMPARE(w.maximumSize(), w.size());
    QCOMPARE(w.btn_load->width(), wide);
    QCOMPARE(w.btn_save->width(), wide);
    QCOMPARE(w.btn_info->width(), narrow);
    QCOMPARE(w.btn_close->width(), narrow);
    const QList<int> lefts{w.btn_prev->x(), w.btn_load->x(), w.btn_next->x(),
                           w.btn_save->x(), w.btn_info->x(), w.btn_close->x()};
    QCOMPARE(lefts, buttonLefts);
    const QList<int> tops{w.btn_prev->y(), w.btn_load->y(),  w.btn_next->y(),    w.btn_save->y(),
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
    QCOMPARE(w.size(), w.maximumSize());
    QCOMPARE(w.width(), 720);
}

void TstMainWindowLayout::showPage_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("frames");    // visible afterwards, FrameRegister1 included
    QTest::addColumn<QList<QRect>>("geometry"); // of the frames in the same order
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<int>("mainHeight");

    QTest::newRow("1 additional functions")
        << 1 << QStringList{"FrameZusatz1", "FrameRegister1"} << QList<QRect>{QRect(410, 10, 320, 485)} << 740 << 490;
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

void TstMainWindowLayout::showPage()
{
    QFETCH(int, kind);
    QFETCH(QStringList, frames);
    QFETCH(QList<QRect>, geometry);
    QFETCH(int, windowWidth);
    QFETCH(int, mainHeight);

    Harness h;
    TFormMain& w = h.make();
    // Every frame showing before: ShowPage hides the five other pages, not the register page.
    for (const char* name : kPageFrames)
        frameOf(w, name)->show();
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
        QVERIFY(!frameOf<RegisterFrame>(w, "FrameRegister1")->Updating); // the frame's set-up ran to its end
}

void TstMainWindowLayout::fitHeader_data()
{
    QTest::addColumn<int>("size");
    for (int size : {15, 13, 11, 10, 9})
        QTest::newRow(qPrintable(QStringLiteral("size %1").arg(size))) << size;
}

void TstMainWindowLayout::fitHeader()
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

void TstMainWindowLayout::layoutRows()
{
    Harness h;
    TFormMain& w = h.make();
    auto& caps = w.session.ident.Captions;
    caps[1] = "Weiche 1";
    caps[2] = "W";
    caps[3] = "Hauptsignal: Hp0";
    caps[4] = "Licht";
    auto row = [&](int k) { return w.addressRows()[static_cast<std::size_t>(k)]; };

    // One column below the header, a gap of 10 pixels after row 2.
    w.session.addresses.layOut(48, 2);
    w.addressRows().refresh();
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
    w.session.addresses.layOut(3, 0);
    w.addressRows().refresh();
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

void TstMainWindowLayout::showRowsByRowMode()
{
    Harness h;
    TFormMain& w = h.make();
    auto& id = w.session.ident;
    id.Captions[1] = "Ausgang 1";
    id.Captions[2] = " "; // a blank is a caption
    id.MaxAddress = 16128;
    id.MaxFunction = 12;
    auto row = [&](int k) { return w.addressRows()[static_cast<std::size_t>(k)]; };
    const QString addressHint = QString::fromUtf8(
        "gültiger Adressbereich: 1 bis 16128\n'0' für unbenutzt (keine Reaktion auf irgendeinen Befehl)");

    id.RedGreen = false;
    w.session.addresses.showRows();
    w.addressRows().refresh();
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
    w.session.addresses.showRows();
    w.addressRows().refresh();
    QVERIFY(row(1).function->isHidden());
    QVERIFY(!row(1).rg->isHidden());
    QVERIFY(row(2).caption->isHidden() && row(2).address->isHidden() && row(2).rg->isHidden());
    QCOMPARE(row(2).address->toolTip(), QString());

    w.session.addresses.hideAllRows();
    w.addressRows().refresh();
    QCOMPARE(shownRows(w), 0);
    QVERIFY(row(1).address->isHidden() && row(1).rg->isHidden());
}

void TstMainWindowLayout::pageKindZeroAfterRegisterPageShowsNoFrame()
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

void TstMainWindowLayout::statusPanelTakesTheRestOfTheWidth()
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
    // the rest of the width beside the type's panel, less the bar's spacing
    QVERIFY(w.StatusTypePanel->isVisible());
    QVERIFY(last->width() > width - 35 - 50 - 50 - 60 - w.StatusTypePanel->width());
    QVERIFY(status(w)[3].endsWith(QStringLiteral(" (12F629/16F630)")));
}

void TstMainWindowLayout::windowKeepsThePagesSize_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("no file") << QString();
    QTest::newRow("turnout, additional functions") << "classic_629_turnout.hex";
    QTest::newRow("turntable, two columns") << "classic_676_turntable.hex";
    QTest::newRow("servo") << "servo_kornel4.hex";
    QTest::newRow("register") << "f18324_function.hex";
    QTest::newRow("blink pattern") << "classic_684_blinkmuster.hex";
}

// The pages are laid out in pixels: the window is as large as the page arrangement asks, and
// neither the user nor the window manager can make it larger (an empty grey margin) or smaller
// (a cut page). A page of another size takes the window along.
void TstMainWindowLayout::windowKeepsThePagesSize()
{
    QFETCH(QString, file);
    Harness h;
    TFormMain& w = h.make();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    if (!file.isEmpty())
        w.LoadFile(fx(file.toLatin1().constData()));
    QApplication::processEvents();
    const QSize arranged = w.size();
    QCOMPARE(w.minimumSize(), arranged);
    QCOMPARE(w.maximumSize(), arranged);
    w.resize(arranged + QSize(300, 200));
    QCOMPARE(w.size(), arranged);
    w.resize(arranged - QSize(100, 100));
    QCOMPARE(w.size(), arranged);
    QVERIFY(!w.StatusBar1->isSizeGripEnabled());
    // no empty field beside the page: the button group ends about 10 pixels before the
    // window's right edge (the button widths are truncated to whole pixels)
    const int besideButtons = w.width() - (w.GroupBoxButtons->geometry().right() + 1);
    QVERIFY2(besideButtons >= 10 && besideButtons <= 13, qPrintable(QString::number(besideButtons)));

    // back to the base arrangement: the window shrinks with it and keeps that size
    w.LoadFile(fx("classic_684_idbits.hex"));
    QCOMPARE(w.maximumSize(), w.size());
    QCOMPARE(w.minimumSize(), w.size());
}

void TstMainWindowLayout::typeShowsWhereverTheHeaderIsHidden_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("type"); // title and status bar
    QTest::newRow("one column below the header") << "classic_629_turnout.hex"
                                                 << "Stellino ab V3.51";
    QTest::newRow("turntable: rows in two columns, no header") << "classic_676_turntable.hex"
                                                               << "Drehscheibe 48 Position V3.26";
    QTest::newRow("servo page over the address area") << "servo_kornel4.hex"
                                                      << "Kornel-4 Servo-Dekoder V3.58";
    QTest::newRow("register page over the address area") << "f18324_function.hex"
                                                         << "Forsta 16F18324 V0.58";
}

// The decoder type and its version are always in the window's title, after the file's name,
// and whole in the status bar's last panel - also where the header above the rows is hidden
// or covered by a page.
void TstMainWindowLayout::typeShowsWhereverTheHeaderIsHidden()
{
    QFETCH(QString, file);
    QFETCH(QString, type);
    Harness h;
    TFormMain& w = h.make();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.StatusTypePanel->text(), QString());
    w.LoadFile(fx(file.toLatin1().constData()));
    QApplication::processEvents();
    QCOMPARE(w.windowTitle(), "Hex Zwirbel 2020-06-02 - " + file + " (" + type + ")[*]");
    QCOMPARE(w.StatusTypePanel->text(), type);
    QVERIFY(w.StatusTypePanel->isVisible());
    QVERIFY(w.StatusTypePanel->width() >= QFontMetrics(w.StatusTypePanel->font()).horizontalAdvance(type));
    QVERIFY(w.StatusTypePanel->x() >= w.StatusPanels[3]->x() + 250); // right of the file's panel
    QString where;
    for (const QLabel* l : w.StatusPanels)
        where += QStringLiteral("%1+%2 ").arg(l->x()).arg(l->width());
    where += QStringLiteral("type %1+%2 bar %3 window %4")
                 .arg(w.StatusTypePanel->x())
                 .arg(w.StatusTypePanel->width())
                 .arg(w.StatusBar1->width())
                 .arg(w.width());
    QVERIFY2(w.StatusTypePanel->geometry().right() < w.StatusBar1->width(), qPrintable(where));
    // the four panels keep what they show: the PIC stays behind the file's name
    QVERIFY2(status(w)[3].endsWith(")"), qPrintable(status(w)[3]));

    // a load that stops shows no type any more
    hz::test::writeFile(h.path("broken.hex").toStdString(), ":10000000ZZ\r\n");
    w.LoadFile(h.path("broken.hex"));
    QCOMPARE(w.StatusTypePanel->text(), QString());
    QCOMPARE(w.windowTitle(), QStringLiteral("Hex Zwirbel 2020-06-02"));
}

// A name too long for what the window leaves beside the four panels is cut with "…" and
// whole in the panel's tool tip; the window keeps its width.
void TstMainWindowLayout::longTypeIsCutInTheStatusBar()
{
    Harness h;
    TFormMain& w = h.make();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    hz::test::FirmwareBuilder fw; // a type without a page: the window of the base arrangement
    fw.identifier(0xE7).signature(0x1905);
    fw.version = "358";
    hz::test::writeFile(h.path("signal.hex").toStdString(), hz::test::joinCrLf(fw.lines()));
    w.LoadFile(h.path("signal.hex"));
    QApplication::processEvents();
    QCOMPARE(w.width(), 720);
    const QString type =
        QStringLiteral("Lumo - Signal 020 - Ausfahrsignal mit fahrstrassenabhängigen Zusatzsignalen V3.58");
    QVERIFY2(w.windowTitle().contains("(" + type + ")"), qPrintable(w.windowTitle()));
    QVERIFY2(w.StatusTypePanel->text().endsWith(QChar(0x2026)), qPrintable(w.StatusTypePanel->text()));
    QCOMPARE(w.StatusTypePanel->toolTip(), type);
    QVERIFY(w.StatusTypePanel->x() + w.StatusTypePanel->width() <= w.width());
    QVERIFY(w.StatusPanels[3]->width() >= 250);
}

QTEST_MAIN(TstMainWindowLayout)
#include "tst_main_window_layout.moc"
