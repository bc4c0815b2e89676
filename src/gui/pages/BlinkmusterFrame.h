#pragma once
// The two blink pattern pages in the window: thin frames over the core model
// (pages/blink/BlinkPatternPage). The model reads and writes the table, lays out the controls
// and draws the step bars; the images paint them and report the mouse in image pixels, and
// the spinners beside the count and stretch edits are the generic frame's arrows. The frames
// only choose the small control font in which the captions fit the designed geometry.

#include <QSpinBox>

#include <string>

#include "core/pages/blink/BlinkPatternPage.h"
#include "gui/pages/PageFrame.h"

class PageImage;

class BlinkmusterFrame : public PageFrame {
    Q_OBJECT
public:
    BlinkmusterFrame(hz::pages::BlinkPatternPage& page, QWidget* parent);

    hz::pages::BlinkPatternPage& page() { return m_blink; }
    // The image of output 1..outputs, made at the first request.
    PageImage* image(int output);
    // The arrows of a spinner ("UpDown3"), made at the first request.
    QSpinBox* arrows(const std::string& spinner);

private:
    hz::pages::BlinkPatternPage& m_blink;
};

class BlinkmusterLedFrame : public BlinkmusterFrame {
    Q_OBJECT
public:
    using BlinkmusterFrame::BlinkmusterFrame;
};
