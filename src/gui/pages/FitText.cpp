#include "gui/pages/FitText.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal kMinPoints = 7.0;

int widestLine(const QFont& font, const QStringList& lines)
{
    const QFontMetrics fm(font);
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

} // namespace

QFont FittingFont(QFont font, const QString& text, int room, int minStretch)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    const int width = room > 0 ? widestLine(font, lines) : 0;
    if (room <= 0 || width <= room)
        return font;
    auto fits = [&](const QFont& f) { return widestLine(f, lines) <= room; };
    // Every size tried loads a font, which costs far more than measuring: start where the
    // glyphs, which grow about in proportion to the size, should just fit, and step from there
    // to the largest half-point size that does.
    const qreal full = font.pointSizeF();
    const qreal guess = std::floor(full * room / width * 2) / 2;
    qreal size = std::clamp(guess, kMinPoints, full - 0.5);
    font.setPointSizeF(size);
    if (fits(font)) {
        while (size + 0.5 < full) {
            QFont larger = font;
            larger.setPointSizeF(size + 0.5);
            if (!fits(larger))
                break;
            font = larger;
            size += 0.5;
        }
        return font;
    }
    for (size -= 0.5; size >= kMinPoints; size -= 0.5) {
        font.setPointSizeF(size);
        if (fits(font))
            return font;
    }
    // Still too wide at the smallest size: narrower glyphs, as little as needed.
    font.setPointSizeF(kMinPoints);
    const int smallest = widestLine(font, lines);
    int stretch = std::clamp(100 * room / std::max(smallest, 1), minStretch, 99);
    font.setStretch(stretch);
    if (fits(font)) {
        while (stretch < 99) {
            QFont wider = font;
            wider.setStretch(stretch + 1);
            if (!fits(wider))
                break;
            font = wider;
            ++stretch;
        }
        return font;
    }
    while (stretch > minStretch && !fits(font))
        font.setStretch(--stretch);
    return font;
}

int TextRoom(const QWidget* w, int width)
{
    if (qobject_cast<const QCheckBox*>(w))
        return width - w->style()->pixelMetric(QStyle::PM_IndicatorWidth) -
               w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) - 2;
    if (qobject_cast<const QRadioButton*>(w))
        return width - w->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) -
               w->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) - 2;
    return width;
}
