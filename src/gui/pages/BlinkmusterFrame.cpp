#include "gui/pages/Frame_blinkmuster.h"

#include "gui/app/ControlFont.h"
#include "gui/pages/PageImage.h"

TFrameBlinkmuster::TFrameBlinkmuster(hz::pages::BlinkPatternPage& page, QWidget* parent)
    : TFrameBase(page, parent), m_blink(page)
{
    // The row font; a caption wider than its label (the two-digit "Out#10" beside its image)
    // gets a smaller font rather than lose its last character.
    setPageFont(rowControlFont());
}

PageImage* TFrameBlinkmuster::image(int output) { return qobject_cast<PageImage*>(widget(m_blink.imageName(output))); }

QSpinBox* TFrameBlinkmuster::arrows(const std::string& spinner) { return qobject_cast<QSpinBox*>(widget(spinner)); }
