#include "gui/app/ElidedButton.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolTip>

int ElidedButton::textRoom() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    return contents.width() - 2 * style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this);
}

QString ElidedButton::shownText() const { return fontMetrics().elidedText(text(), Qt::ElideMiddle, textRoom()); }

QString ElidedButton::shownToolTip() const
{
    if (shownText() == text() || text().isEmpty())
        return toolTip();
    return toolTip().isEmpty() ? text() : toolTip() + QLatin1Char('\n') + text();
}

void ElidedButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text = shownText();
    painter.drawControl(QStyle::CE_PushButton, option);
}

bool ElidedButton::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const QString tip = shownToolTip();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, this);
        return true;
    }
    return QPushButton::event(event);
}
