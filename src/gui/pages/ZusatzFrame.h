#pragma once
// The additional-functions page in the window: a thin frame over the core model
// (pages/zusatz/ZusatzPage). The model lays out every control and reads and writes the image;
// the frame adds what needs the screen: the page's 8-point font (bold for the two headings),
// the measure of texts in that font, by which the model sizes its labels and places the row
// edits after the widest caption, and the tick marks of the track bars.

#include <QFont>

#include "core/pages/zusatz/ZusatzPage.h"
#include "gui/pages/PageFrame.h"

class ZusatzFrame : public PageFrame {
    Q_OBJECT
public:
    ZusatzFrame(hz::pages::ZusatzPage& page, QWidget* parent);

    hz::pages::ZusatzPage& page() { return m_zusatz; }
    // The font of every control of the page, and of its headings.
    static QFont pageFont();
    static QFont headingFont();

protected:
    void styleWidget(const hz::pages::Control& c, QWidget* w) override;

private:
    hz::pages::ZusatzPage& m_zusatz;
};
