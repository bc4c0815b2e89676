#include "gui/pages/Frame_zusatz.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QSlider>

#include "gui/app/ControlFont.h"
#include "gui/app/MessageBoxPrompter.h"
#include "gui/pages/FitText.h"

using hz::pages::Control;
using hz::pages::ControlKind;
using hz::pages::ZusatzPage;

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
        font = FittingFont(font, text, TextRoom(w, c.geometry->width));
    w->setFont(font);
    if (auto* slider = qobject_cast<QSlider*>(w)) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(m_zusatz.tickFrequency(c.name));
        slider->setPageStep(m_zusatz.tickFrequency(c.name));
    }
    if (!c.hint.empty())
        w->setToolTip(hz::gui::messageText(c.hint));
}
