// How the pages look in the window: the borders of the group boxes run clear of every control
// they frame or stand beside, and controls that stand side by side on the servo page (the
// lists of an address row, the option boxes of a servo) share one readable font.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QtTest>

#include "MainWindowHarness.h"
#include "core/pages/servo/KornelAdrPage.h"
#include "gui/app/TFormMain.h"
#include "gui/common/ControlFont.h"

using namespace hz::test::window;
using hz::pages::KornelAdrPage;

class TstPageLooks : public QObject {
    Q_OBJECT
private slots:
    void groupBordersRunClearOfControls_data();
    void groupBordersRunClearOfControls();
    void servoPageRowsShareOneFont_data();
    void servoPageRowsShareOneFont();
};

namespace {

// The lines a group box draws as its border, found in the box painted alone (no background,
// no children): the first and last painted row at the right end of the box, where no caption
// stands, and the first and last painted column at half its height.
struct Border {
    int top = -1, bottom = -1, left = -1, right = -1;
};

Border borderOf(QGroupBox* g)
{
    QImage img(g->size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    g->render(&img, QPoint(), QRegion(), QWidget::RenderFlags());
    auto painted = [&](int x, int y) { return qAlpha(img.pixel(x, y)) > 0; };
    Border b;
    const int x = g->width() - 6, y = g->height() / 2;
    for (int r = 0; r < img.height() && b.top < 0; ++r)
        if (painted(x, r))
            b.top = r;
    for (int r = img.height() - 1; r >= 0 && b.bottom < 0; --r)
        if (painted(x, r))
            b.bottom = r;
    for (int c = 0; c < img.width() && b.left < 0; ++c)
        if (painted(c, y))
            b.left = c;
    for (int c = img.width() - 1; c >= 0 && b.right < 0; --c)
        if (painted(c, y))
            b.right = c;
    return b;
}

void showLoaded(Harness& h, const char* fixture)
{
    TFormMain& w = h.make();
    w.LoadFile(fx(fixture));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

} // namespace

void TstPageLooks::groupBordersRunClearOfControls_data()
{
    QTest::addColumn<QString>("fixture");
    for (const char* f :
         {"servo_kornel4.hex", "servo_kornelchen.hex", "servo_kornelchen_f.hex", "servo_kornelchen_v2.hex",
          "classic_684_blinkmuster.hex", "classic_684_lumo_blinkmuster.hex", "zusatz_629_neon060.hex",
          "zusatz_629_stellino361.hex", "zusatz_684_ampel340.hex", "f18324_function.hex"})
        QTest::newRow(f) << QString::fromLatin1(f);
}

void TstPageLooks::groupBordersRunClearOfControls()
{
    QFETCH(QString, fixture);
    Harness h;
    showLoaded(h, fixture.toLatin1().constData());
    TFormMain& w = *h.w;
    int checked = 0;
    for (QGroupBox* g : w.findChildren<QGroupBox*>()) {
        bool onPage = false;
        for (QWidget* p = g->parentWidget(); p && !onPage; p = p->parentWidget())
            onPage = qobject_cast<PageFrame*>(p) != nullptr;
        if (!onPage || !g->isVisibleTo(&w) || g->title().isEmpty())
            continue;
        const Border b = borderOf(g);
        QVERIFY2(b.top >= 0 && b.bottom > b.top, qPrintable(g->objectName()));
        // What the group frames: its own controls, and controls of its parent that stand
        // within it (a group drawn around buttons that sit on the panel).
        QList<QWidget*> framed;
        for (QWidget* c : g->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            framed << c;
        for (QWidget* s : g->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (s != g && s->geometry().intersects(g->geometry()))
                framed << s;
        for (QWidget* c : framed) {
            if (!c->isVisibleTo(&w))
                continue;
            const QRect r = c->parentWidget() == g ? c->geometry() : c->geometry().translated(-g->pos());
            // the border runs through no row or column of the control
            const QString where = QStringLiteral("%1 in %2: %3,%4 %5x%6, border %7..%8 x %9..%10")
                                      .arg(c->objectName(), g->objectName())
                                      .arg(r.x())
                                      .arg(r.y())
                                      .arg(r.width())
                                      .arg(r.height())
                                      .arg(b.top)
                                      .arg(b.bottom)
                                      .arg(b.left)
                                      .arg(b.right);
            QVERIFY2(r.top() > b.top && r.bottom() < b.bottom, qPrintable(where));
            QVERIFY2(r.left() > b.left && r.right() < b.right, qPrintable(where));
            ++checked;
        }
    }
    // the servo and blink pattern pages have groups with controls in them
    if (fixture.startsWith(QLatin1String("servo")) || fixture.contains(QLatin1String("blinkmuster")))
        QVERIFY(checked > 0);
}

void TstPageLooks::servoPageRowsShareOneFont_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("Kornel-4") << "servo_kornel4.hex";
    QTest::newRow("Kornelchen (F-Dekoder)") << "servo_kornelchen_f.hex";
}

void TstPageLooks::servoPageRowsShareOneFont()
{
    QFETCH(QString, fixture);
    Harness h;
    showLoaded(h, fixture.toLatin1().constData());
    PageFrame* frame = frameOf(*h.w, "FrameKornelAdr1");
    QVERIFY(frame);
    auto same = [](const QFont& a, const QFont& b) {
        return a.pointSizeF() == b.pointSizeF() && a.stretch() == b.stretch();
    };
    const QFont rowFont = rowControlFont();
    for (int n = 1; n <= KornelAdrPage::kAddresses; ++n) {
        // the row captions look alike too ("Adresse 01 ein", "Adresse 01 aus"), each whole
        QWidget* caption = frame->widget(KornelAdrPage::addressLabelName(n));
        QVERIFY(caption);
        if (caption->isVisibleTo(h.w.get())) {
            QVERIFY2(same(caption->font(), frame->widget(KornelAdrPage::addressLabelName(1))->font()),
                     qPrintable(caption->objectName()));
            QCOMPARE(caption->font().pointSizeF(), rowFont.pointSizeF());
            const auto* label = qobject_cast<QLabel*>(caption);
            QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
        }
        QList<QComboBox*> row;
        for (const std::string& name : {KornelAdrPage::servoListName(n), KornelAdrPage::actionListName(n),
                                        KornelAdrPage::curveListName(n), KornelAdrPage::relayListName(n)}) {
            auto* list = qobject_cast<QComboBox*>(frame->widget(name));
            QVERIFY(list);
            row << list;
        }
        for (QComboBox* list : row) {
            // one font for the row, the size of the page's other controls: "Start Loop" fits
            // its list at that size
            QVERIFY2(same(list->font(), row[0]->font()), qPrintable(list->objectName()));
            QCOMPARE(list->font().pointSizeF(), rowFont.pointSizeF());
            int widest = 0;
            for (int k = 0; k < list->count(); ++k)
                widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(k)));
            QVERIFY2(widest <= list->width() - 25, qPrintable(list->objectName()));
        }
    }
    for (int s = 1; s <= KornelAdrPage::kServos; ++s) {
        const QString n = QString::number(s);
        QList<QCheckBox*> boxes;
        for (const char* prefix : {"cbx_v_off_", "cbx_imp_off_", "cbx_no_ir_", "cbx_no_rep_"})
            boxes << qobject_cast<QCheckBox*>(frame->widget((QString::fromLatin1(prefix) + n).toStdString()));
        for (QCheckBox* box : boxes) {
            QVERIFY(box);
            // "keine Unterbrechung" is no smaller than "Spannung aus"; at most a little narrower
            QVERIFY2(same(box->font(), boxes[0]->font()), qPrintable(box->objectName()));
            QCOMPARE(box->font().pointSizeF(), rowFont.pointSizeF());
            QVERIFY(box->font().stretch() == QFont::AnyStretch || box->font().stretch() >= 90);
        }
    }
}

QTEST_MAIN(TstPageLooks)
#include "tst_page_looks.moc"
