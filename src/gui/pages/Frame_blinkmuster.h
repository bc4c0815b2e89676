#pragma once
// The two blink pattern pages in the window: thin frames over the core model
// (pages/blink/BlinkPatternPage). The model reads and writes the table, lays out the controls
// and draws the step bars; the images paint them and report the mouse in image pixels. The
// frames only add what needs the screen: the small control font in which the captions fit
// the designed geometry, and up-down arrows for the two spinners beside the count and
// stretch edits (the model's track bars "UpDown3" ...).

#include <QSpinBox>

#include <string>
#include <unordered_map>

#include "core/pages/blink/BlinkPatternPage.h"
#include "gui/pages/PageFrame.h"

class PageImage;

class TFrameBlinkmuster : public TFrameBase {
    Q_OBJECT
public:
    TFrameBlinkmuster(hz::pages::BlinkPatternPage& page, QWidget* parent);

    hz::pages::BlinkPatternPage& page() { return m_blink; }
    // The image of output 1..outputs, made at the first request.
    PageImage* image(int output);
    // The arrows of a spinner ("UpDown3"), once the spinner is made.
    QSpinBox* arrows(const std::string& spinner) const;

protected:
    void styleWidget(const hz::pages::Control& c, QWidget* w) override;

private:
    hz::pages::BlinkPatternPage& m_blink;
    std::unordered_map<std::string, QSpinBox*> m_arrows;
};

class TFrameBlinkmuster_led : public TFrameBlinkmuster {
    Q_OBJECT
public:
    using TFrameBlinkmuster::TFrameBlinkmuster;
};
