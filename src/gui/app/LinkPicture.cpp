#include "gui/app/LinkPicture.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <cmath>

namespace hz::gui {

QPixmap makeLinkPicture(int width, int height)
{
    QPixmap pm(width, height);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, width, 0);
    g.setColorAt(0.0, QColor(0x12, 0x3C, 0x69));
    g.setColorAt(1.0, QColor(0x1E, 0x88, 0x8C));
    p.fillRect(pm.rect(), g);
    // An Archimedean spiral: the "Zwirbel".
    QPainterPath spiral;
    const double cx = 16.0, cy = 16.0;
    for (int i = 0; i <= 120; ++i) {
        const double t = i * 0.1;
        const double r = 1.1 * t;
        const QPointF pt(cx + r * std::cos(t), cy + r * std::sin(t));
        if (i == 0)
            spiral.moveTo(pt);
        else
            spiral.lineTo(pt);
    }
    p.setPen(QPen(QColor(0xF5, 0xC2, 0x42), 2.0));
    p.drawPath(spiral);
    QFont f = QApplication::font();
    f.setBold(true);
    // The bold of the "speichern" and "Ende" buttons: one font fewer to load at start-up.
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(36, 0, width - 40, height), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("HEX Zwirbel"));
    return pm;
}

} // namespace hz::gui
