#include "gui/common/FitText.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal kMinPoints = 7.0;

int widestLine(const QFont& font, const QStringList& lines, FitMeasure measure = FitMeasure::Advance)
{
    const QFontMetrics fm(font);
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest,
                          measure == FitMeasure::Ink ? fm.tightBoundingRect(line).width() : fm.horizontalAdvance(line));
    return widest;
}

} // namespace

QFont FittingFont(QFont font, const QString& text, int room, int minStretch, FitMeasure measure)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    auto widest = [&](const QFont& f) { return widestLine(f, lines, measure); };
    const int width = room > 0 ? widest(font) : 0;
    if (room <= 0 || width <= room)
        return font;
    auto fits = [&](const QFont& f) { return widest(f) <= room; };
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
    const int smallest = widest(font);
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

QFont SharedFittingFont(QFont font, const std::vector<FitItem>& items, int minStretch)
{
    auto fits = [&](const QFont& f) {
        for (const FitItem& item : items)
            if (item.room > 0 && widestLine(f, item.text.split(QLatin1Char('\n'))) > item.room)
                return false;
        return true;
    };
    if (fits(font))
        return font;
    for (qreal size = font.pointSizeF(); size >= kMinPoints; size -= 0.5) {
        QFont f = font;
        f.setPointSizeF(size);
        f.setStretch(100);
        // Glyph widths follow the stretch about in proportion: start at the narrowest the
        // widest text asks for, then take the widest stretch that still fits.
        int stretch = 100;
        for (const FitItem& item : items) {
            const int width = widestLine(f, item.text.split(QLatin1Char('\n')));
            if (item.room > 0 && width > item.room)
                stretch = std::min(stretch, 100 * item.room / width);
        }
        if (stretch < minStretch)
            stretch = minStretch;
        f.setStretch(stretch);
        while (!fits(f) && stretch > minStretch)
            f.setStretch(--stretch);
        if (!fits(f))
            continue;
        while (stretch < 100) {
            QFont wider = f;
            wider.setStretch(stretch + 1);
            if (!fits(wider))
                break;
            f = wider;
            ++stretch;
        }
        return f;
    }
    // Too long even so: the smallest, narrowest font; the tool tips tell the rest.
    font.setPointSizeF(kMinPoints);
    font.setStretch(minStretch);
    return font;
}
