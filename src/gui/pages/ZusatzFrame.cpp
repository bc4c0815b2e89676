#include "gui/pages/ZusatzFrame.h"

#include <QFontMetrics>
#include <QLabel>
#include <QSlider>

#include "gui/common/ControlFont.h"
#include "gui/common/MessageBoxPrompter.h"
#include "gui/common/QtText.h"

using hz::pages::Control;
using hz::pages::ControlKind;
using hz::pages::ZusatzPage;

QFont ZusatzFrame::pageFont() { return rowControlFont(); }

QFont ZusatzFrame::headingFont()
{
    QFont f = pageFont();
    f.setBold(true);
    return f;
}

ZusatzFrame::ZusatzFrame(ZusatzPage& page, QWidget* parent) : PageFrame(page, parent), m_zusatz(page)
{
    resize(ZusatzPage::kWidth, ZusatzPage::kDesignHeight);
    // The labels size themselves to their text in the page's font. The measure holds no
    // reference to the frame, so the model may outlive it.
    const QFontMetrics metrics(pageFont());
    page.TextWidth = [metrics](const std::string& text) { return metrics.horizontalAdvance(hz::gui::fromStd(text)); };
}

void ZusatzFrame::styleWidget(const Control& c, QWidget* w)
{
    // Multi-line captions break at "\r\n" as the firmware editor wrote them.
    if (auto* label = qobject_cast<QLabel*>(w); label && c.caption.find('\r') != std::string::npos)
        label->setText(hz::gui::messageText(c.caption));
    // The labels that size themselves are measured in the page font and always fit; the others
    // get a font that fits where the page places them.
    const bool heading = c.name == "lbl_zusatz" || c.name == "lbl_zusatz3";
    setFittingFont(c, w, heading ? headingFont() : pageFont());
    if (auto* slider = qobject_cast<QSlider*>(w)) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(c.tickFrequency);
        slider->setPageStep(c.tickFrequency);
    }
    if (!c.hint.empty())
        w->setToolTip(hz::gui::messageText(c.hint));
}
