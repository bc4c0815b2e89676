#pragma once
// The two blink pattern pages: "Stelldua - Blinkmuster" (four outputs, 50 steps, frame
// TFrameBlinkmuster) and the two "Lumo - Blinkmuster" firmwares (ten outputs, 100 steps,
// frame TFrameBlinkmuster_led). Both are the one model of BlinkPatternPage; these classes give
// it its layout and the handlers their usual names.

#include "core/pages/blink/BlinkPatternPage.h"

namespace hz::pages {

class BlinkmusterPage : public BlinkPatternPage {
public:
    // Designed frame size; the host sizes the frame from "Übernehmen" to the same.
    static constexpr int kWidth = 540;
    static constexpr int kHeight = 485;

    BlinkmusterPage();

    void blinkmuster_rad_axClick() { AddressClick(); }
    void blinkmuster_cbx_loopClick() { LoopClick(); }
    void blinkmuster_cbx_outClick(int output) { OutputClick(output); }
    void blinkmuster_edt_AnzahlChange() { CountChange(); }
    void blinkmuster_edt_stretchChange() { StretchChange(); }
    void Image_BlinkxMouseDown(int output, int x, int y) { ImageMouseDown(output, x, y); }
    void Image_BlinkxMouseMove(int output, int x, int y) { ImageMouseMove(output, x, y); }
    void Image_BlinkxMouseUp(int output, int x, int y) { ImageMouseUp(output, x, y); }
    void blinkmuster_btn_copyClick(int from) { CopyClick(from); }
    void blinkmuster_btn_verwerfenClick() { VerwerfenClick(); }
    void blinkmuster_btn_uebernehmenClick() { UebernehmenClick(); }
};

class BlinkmusterLedPage : public BlinkPatternPage {
public:
    static constexpr int kWidth = 540;
    static constexpr int kHeight = 570;

    BlinkmusterLedPage();

    void led_blinkmuster_rad_axClick() { AddressClick(); }
    void led_blinkmuster_cbx_loopClick() { LoopClick(); }
    void led_blinkmuster_cbx_outsClick(int output) { OutputClick(output); }
    void led_blinkmuster_edt_AnzahlChange() { CountChange(); }
    void led_blinkmuster_edt_stretchChange() { StretchChange(); }
    void Image_led_BlinkxMouseDown(int output, int x, int y) { ImageMouseDown(output, x, y); }
    void Image_led_BlinkxMouseMove(int output, int x, int y) { ImageMouseMove(output, x, y); }
    void Image_led_BlinkxMouseUp(int output, int x, int y) { ImageMouseUp(output, x, y); }
    void led_blinkmuster_btn_copyClick(int from) { CopyClick(from); }
    void led_blinkmuster_btn_verwerfenClick() { VerwerfenClick(); }
    void led_blinkmuster_btn_uebernehmenClick() { UebernehmenClick(); }
};

} // namespace hz::pages
