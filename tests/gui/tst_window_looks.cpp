// How the window's own controls look: captions that fit their buttons, the progress bar only
// while a load decodes, the documentation address shortened in the middle with the whole
// address in its tool tip.

#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "MainWindowHarness.h"
#include "core/Session.h"
#include "core/catalogue/Catalogue.h"
#include "gui/app/ElidedButton.h"
#include "gui/app/TFormMain.h"

using namespace hz::test::window;

class TstWindowLooks : public QObject {
    Q_OBJECT
private slots:
    void lowerButtonCaptionsFitAndTheArrowsSayWhatTheyDo_data();
    void lowerButtonCaptionsFitAndTheArrowsSayWhatTheyDo();
    void progressBarShowsOnlyWhileALoadDecodes();
    void documentationAddressIsShortenedInTheMiddle();
    void emptyWindowSaysHowToLoadAFile();
};

void TstWindowLooks::lowerButtonCaptionsFitAndTheArrowsSayWhatTheyDo_data()
{
    QTest::addColumn<QList<int>>("args"); // left, right, height, width of ArrangeWindow
    QTest::newRow("base page") << QList<int>{5, 410, 500, 300};
    QTest::newRow("servo page") << QList<int>{410, 650, 555, 300};
    QTest::newRow("register page") << QList<int>{5, 410, 555, 535};
}

void TstWindowLooks::lowerButtonCaptionsFitAndTheArrowsSayWhatTheyDo()
{
    QFETCH(QList<int>, args);
    Harness h;
    TFormMain& w = h.make();
    w.ArrangeWindow(args[0], args[1], args[2], args[3]);
    for (QPushButton* b : {w.btn_prev, w.btn_next, w.btn_info, w.btn_load, w.btn_save, w.btn_close}) {
        // a frame's width and a pixel of air stay free at both sides of the caption
        const int room = b->width() - 6;
        QVERIFY2(QFontMetrics(b->font()).horizontalAdvance(b->text()) <= room, qPrintable(b->objectName()));
    }
    for (QPushButton* b : {w.btn_prev, w.btn_next, w.btn_info}) {
        // what the caption draws keeps the frame's pixel and three of air at both sides
        const QRect ink = QFontMetrics(b->font()).tightBoundingRect(b->text());
        QVERIFY2(ink.width() <= b->width() - 8, qPrintable(b->objectName()));
        // and in the painted button, a row through the caption's middle shows it so
        const QImage drawn = b->grab().toImage();
        const QColor face = drawn.pixelColor(b->width() / 2, 3);
        int first = -1, last = -1;
        for (int x = 1; x < drawn.width() - 1; ++x) // inside the frame's columns
            for (int y = drawn.height() / 2 - 2; y <= drawn.height() / 2 + 2; ++y)
                if (qGray(drawn.pixel(x, y)) < qGray(face.rgb()) - 80) {
                    first = first < 0 ? x : first;
                    last = x;
                }
        QVERIFY2(first >= 0, qPrintable(b->objectName()));
        QVERIFY2(first >= 4 && last <= b->width() - 5,
                 qPrintable(QStringLiteral("%1: ink %2..%3").arg(b->objectName()).arg(first).arg(last)));
    }
    QCOMPARE(w.btn_prev->toolTip(), QStringLiteral("Vorherige HEX-Datei im Ordner laden"));
    QCOMPARE(w.btn_next->toolTip(), QString::fromUtf8("Nächste HEX-Datei im Ordner laden"));
}

void TstWindowLooks::progressBarShowsOnlyWhileALoadDecodes()
{
    Harness h;
    TFormMain& w = h.make();
    QVERIFY(w.ProgressBar1->isHidden());
    QList<bool> shownWhileMoving;
    connect(w.ProgressBar1, &QProgressBar::valueChanged, this,
            [&](int v) { shownWhileMoving << (v == 0 || !w.ProgressBar1->isHidden()); });
    w.LoadFile(fx("classic_629_turnout.hex"));
    QVERIFY(shownWhileMoving.size() > 2);
    QVERIFY(!shownWhileMoving.contains(false));
    QVERIFY(w.ProgressBar1->isHidden());
    QCOMPARE(w.ProgressBar1->value(), 0);

    // a load that stops at a bad line hides it as well
    const QString bad = h.path("kaputt.hex");
    hz::test::writeFile(bad.toStdString(), hz::test::joinCrLf({hz::test::kBase0, ":040000000830033091",
                                                               ":020000020000FC", hz::test::kEnd}));
    w.LoadFile(bad);
    QVERIFY(w.ProgressBar1->isHidden());
}

void TstWindowLooks::documentationAddressIsShortenedInTheMiddle()
{
    const QString hint = QStringLiteral("Gehe auf die WebSite zu dieser Software-Variante");
    // documentation sites named in the settings file: the button shows the site's address
    auto withSite = [](Harness& h, const char* base) -> TFormMain& {
        QFile ini(h.settingsPath);
        if (ini.open(QIODevice::WriteOnly))
            ini.write(QByteArray("[Documentation]\nBaseUrl=") + base + "\n");
        ini.close();
        return h.make();
    };
    {
        // a short address fits: drawn whole, the tool tip is the hint alone
        Harness h;
        TFormMain& w = withSite(h, "https://example.org/");
        auto* web = qobject_cast<ElidedButton*>(w.btn_goweb);
        QVERIFY(web);
        QCOMPARE(web->shownText(), QStringLiteral("https://example.org/"));
        QCOMPARE(web->shownToolTip(), hint);
    }
    Harness h;
    TFormMain& w = withSite(h, "https://hexzwirbel.example.org/dokumentation/anleitungen");
    auto* web = qobject_cast<ElidedButton*>(w.btn_goweb);
    w.LoadFile(fx("servo_kornel4.hex"));
    const QString address = w.btn_goweb->text();
    QCOMPARE(address, QString::fromStdString(w.session.ident.DocPage));
    QCOMPARE(address, QStringLiteral("https://hexzwirbel.example.org/dokumentation/anleitungen/kornel-4.html"));
    const QString shown = web->shownText();
    QVERIFY2(shown != address, qPrintable(shown));
    QVERIFY(shown.contains(QChar(0x2026)));
    // both ends of the address stay: the start and the page's name
    QVERIFY(shown.startsWith(address.left(4)));
    QVERIFY(shown.endsWith(address.right(4)));
    QVERIFY(QFontMetrics(web->font()).horizontalAdvance(shown) < web->width());
    QCOMPARE(web->shownToolTip(), hint + QLatin1Char('\n') + address);
    QCOMPARE(web->toolTip(), hint);
}

void TstWindowLooks::emptyWindowSaysHowToLoadAFile()
{
    Harness h;
    TFormMain& w = h.make();
    auto* hint = w.findChild<QLabel*>(QStringLiteral("lbl_start"));
    QVERIFY(hint);
    QVERIFY(!hint->isHidden());
    QVERIFY(hint->text().contains(QString::fromUtf8("„HEX laden“")));
    QCOMPARE(hint->parentWidget(), w.GroupBoxMain);
    // the whole hint can be read in the empty address area
    QVERIFY(w.GroupBoxMain->rect().contains(hint->geometry()));
    QVERIFY(hint->heightForWidth(hint->width()) <= hint->height());

    w.LoadFile(fx("classic_629_turnout.hex"));
    QVERIFY(hint->isHidden());

    // a load that stops at a bad line leaves no file: the window is empty again, and says so
    const QString bad = h.path("kaputt.hex");
    hz::test::writeFile(bad.toStdString(), hz::test::joinCrLf({hz::test::kBase0, ":040000000830033091",
                                                               ":020000020000FC", hz::test::kEnd}));
    w.LoadFile(bad);
    QVERIFY(!hint->isHidden());
}

QTEST_MAIN(TstWindowLooks)
#include "tst_window_looks.moc"
