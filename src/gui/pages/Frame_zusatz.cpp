#include "gui/pages/Frame_zusatz.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <algorithm>

#include "gui/app/ControlFont.h"
#include "gui/app/MessageBoxPrompter.h"

using hz::pages::Control;
using hz::pages::ControlKind;
using hz::pages::ZusatzPage;

namespace {

// How far a text may shrink to fit the place the page gives it: half points down to 7 pt,
// then narrower glyphs down to 85 % of their width.
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

// The font, made smaller and then narrower only as far as the text needs to fit `room`.
QFont fitting(QFont font, const QString& text, int room)
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

// Room for the text of a label, check box or radio button of the given width.
int textRoom(const QWidget* w, int width)
{
    if (qobject_cast<const QCheckBox*>(w))
        return width - w->style()->pixelMetric(QStyle::PM_IndicatorWidth) -
               w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) - 2;
    if (qobject_cast<const QRadioButton*>(w))
        return width - w->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) -
               w->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) - 2;
    return width;
}

} // namespace

QFont TFrameZusatz::pageFont() { return rowControlFont(); }

QFont TFrameZusatz::headingFont()
{
    QFont f = pageFont();
    f.setBold(true);
    return f;
}

TFrameZusatz::TFrameZusatz(ZusatzPage& page, QWidget* parent) : TFrameBase(page, parent), m_zusatz(page)
{
    resize(ZusatzPage::kWidth, ZusatzPage::kDesignHeight);
    // The labels size themselves to their text in the page's font. The measure holds no
    // reference to the frame, so the model may outlive it.
    const QFontMetrics metrics(pageFont());
    page.TextWidth = [metrics](const std::string& text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
}

void TFrameZusatz::styleWidget(const Control& c, QWidget* w)
{
    const bool heading = c.name == "lbl_zusatz" || c.name == "lbl_zusatz3";
    QFont font = heading ? headingFont() : pageFont();
    QString text;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        // Multi-line captions break at "\r\n" as the firmware editor wrote them.
        if (c.caption.find('\r') != std::string::npos)
            label->setText(hz::gui::messageText(c.caption));
        text = label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        text = button->text();
    }
    // The page was laid out for a narrower screen font than most systems have: a text that
    // would be cut where the page places it gets a font that fits, never a cut text. (The
    // labels that size themselves are measured in the page font and always fit.)
    if (!text.isEmpty() && c.geometry)
        font = fitting(font, text, textRoom(w, c.geometry->width));
    w->setFont(font);
    if (auto* slider = qobject_cast<QSlider*>(w)) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(m_zusatz.tickFrequency(c.name));
        slider->setPageStep(m_zusatz.tickFrequency(c.name));
    }
    if (!c.hint.empty())
        w->setToolTip(hz::gui::messageText(c.hint));
}
