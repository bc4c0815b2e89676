#include "gui/pages/Frame_blinkmuster.h"

#include <QFontMetrics>
#include <QLabel>

#include "gui/app/ControlFont.h"
#include "gui/pages/PageImage.h"

TFrameBlinkmuster::TFrameBlinkmuster(hz::pages::BlinkPatternPage& page, QWidget* parent)
    : TFrameBase(page, parent), m_blink(page)
{
}

PageImage* TFrameBlinkmuster::image(int output) { return qobject_cast<PageImage*>(widget(m_blink.imageName(output))); }

QSpinBox* TFrameBlinkmuster::arrows(const std::string& spinner) { return qobject_cast<QSpinBox*>(widget(spinner)); }

void TFrameBlinkmuster::styleWidget(const hz::pages::Control&, QWidget* w)
{
    QFont font = rowControlFont();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        // A caption wider than its label (the two-digit "Out#10" beside its image) gets a
        // smaller size rather than lose its last character.
        while (font.pointSize() > 6 && QFontMetrics(font).horizontalAdvance(label->text()) > label->width())
            font.setPointSize(font.pointSize() - 1);
    }
    w->setFont(font);
}
