#include "gui/pages/Frame_blinkmuster.h"

#include <QFontMetrics>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include "gui/app/ControlFont.h"
#include "gui/pages/PageImage.h"

TFrameBlinkmuster::TFrameBlinkmuster(hz::pages::BlinkPatternPage& page, QWidget* parent)
    : TFrameBase(page, parent), m_blink(page)
{
}

PageImage* TFrameBlinkmuster::image(int output) { return qobject_cast<PageImage*>(widget(m_blink.imageName(output))); }

QSpinBox* TFrameBlinkmuster::arrows(const std::string& spinner) const
{
    const auto it = m_arrows.find(spinner);
    return it == m_arrows.end() ? nullptr : it->second;
}

void TFrameBlinkmuster::styleWidget(const hz::pages::Control& c, QWidget* w)
{
    QFont font = rowControlFont();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        // A caption wider than its label (the two-digit "Out#10" beside its image) gets a
        // smaller size rather than lose its last character.
        while (font.pointSize() > 6 && QFontMetrics(font).horizontalAdvance(label->text()) > label->width())
            font.setPointSize(font.pointSize() - 1);
    }
    w->setFont(font);
    auto* slider = qobject_cast<QSlider*>(w);
    if (!slider)
        return;
    // A spinner is a pair of arrows over the model's track bar: a click steps the track bar,
    // whose change the frame forwards to the model as for any track bar.
    QSpinBox*& spin = m_arrows[c.name];
    if (!spin) {
        spin = new QSpinBox(slider);
        spin->setObjectName(QString::fromStdString(c.name + "_arrows"));
        spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        spin->setFrame(false);
        connect(spin, &QSpinBox::valueChanged, slider, [slider](int v) { slider->setValue(v); });
    }
    const QSignalBlocker quiet(spin);
    spin->setGeometry(0, 0, slider->width(), slider->height());
    spin->setRange(c.min, c.max);
    spin->setValue(c.position);
    spin->setToolTip(slider->toolTip());
}
