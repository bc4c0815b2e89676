#include "gui/pages/FitText.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>

#include <algorithm>

namespace {

constexpr qreal kMinPoints = 7.0;
constexpr int kMinStretch = 85;

int widestLine(const QFont& font, const QStringList& lines)
{
    const QFontMetrics fm(font);
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

} // namespace

QFont FittingFont(QFont font, const QString& text, int room)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (room <= 0 || widestLine(font, lines) <= room)
        return font;
    for (qreal size = font.pointSizeF() - 0.5; size >= kMinPoints; size -= 0.5) {
        font.setPointSizeF(size);
        if (widestLine(font, lines) <= room)
            return font;
    }
    font.setPointSizeF(kMinPoints);
    for (int stretch = 99; stretch >= kMinStretch; --stretch) {
        font.setStretch(stretch);
        if (widestLine(font, lines) <= room)
            break;
    }
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
