#pragma once
// The two blink pattern pages: "Stelldua - Blinkmuster" (four outputs, 50 steps, frame
// TFrameBlinkmuster) and the two "Lumo - Blinkmuster" firmwares (ten outputs, 100 steps,
// frame TFrameBlinkmuster_led). Both are the one model of BlinkPatternPage; these classes give
// it its layout.

#include "core/pages/blink/BlinkPatternPage.h"

namespace hz::pages {

class BlinkmusterPage : public BlinkPatternPage {
public:
    // Designed frame size; the host sizes the frame from "Übernehmen" to the same.
    static constexpr int kWidth = 540;
    static constexpr int kHeight = 485;

    BlinkmusterPage();
};

class BlinkmusterLedPage : public BlinkPatternPage {
public:
    static constexpr int kWidth = 540;
    static constexpr int kHeight = 570;

    BlinkmusterLedPage();
};

} // namespace hz::pages
