#include "gui/pages/BlinkmusterFrame.h"

#include "gui/common/ControlFont.h"
#include "gui/pages/PageImage.h"

BlinkmusterFrame::BlinkmusterFrame(hz::pages::BlinkPatternPage& page, QWidget* parent)
    : PageFrame(page, parent), m_blink(page)
{
    // The row font; a caption wider than its label (the two-digit "Out#10" beside its image)
    // gets a smaller font rather than lose its last character.
    setPageFont(rowControlFont());
}

PageImage* BlinkmusterFrame::image(int output) { return qobject_cast<PageImage*>(widget(m_blink.imageName(output))); }

QSpinBox* BlinkmusterFrame::arrows(const std::string& spinner) { return qobject_cast<QSpinBox*>(widget(spinner)); }
