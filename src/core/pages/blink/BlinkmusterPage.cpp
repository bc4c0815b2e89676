#include "core/pages/blink/BlinkmusterPage.h"

namespace hz::pages {

namespace {

BlinkLayout fourOutputs()
{
    BlinkLayout L{};
    L.frameName = "TFrameBlinkmuster";
    L.objectName = "FrameBlinkmuster1";
    L.panel = "pnl_blinkmuster";
    L.group = "RadioGroup2";
    L.prefix = "blinkmuster_";
    L.imagePrefix = "Image_Blink";
    L.stretchLabel = "Label7";
    L.stretchSpinner = "UpDown4";
    L.countLabel = "Label6";
    L.countSpinner = "UpDown3";
    L.copyLabel = "Label12";
    L.outputLabels = {"Label8", "Label9", "Label10", "Label11"};
    L.outputs = 4;
    L.steps = 50;
    L.blockSize = 64;
    L.copyCount = 64;
    L.countIndex = 53;
    L.stretchIndex = 54;
    L.stretchHighIndex = -1;
    L.flagsIndex = 55;
    L.usedHighIndex = -1;
    L.secondStepBase = -1;
    L.imageHeight = 41;
    L.barEndsAtImageHeight = false;
    L.clampStretchWhenShown = true;
    L.drawAtEndOfInit = true;
    return L;
}

BlinkLayout tenOutputs()
{
    BlinkLayout L{};
    L.frameName = "TFrameBlinkmuster_led";
    L.objectName = "FrameBlinkmuster_led1";
    L.panel = "pnl_led_blinkmuster";
    L.group = "RadioGroup3";
    L.prefix = "led_blinkmuster_";
    L.imagePrefix = "Image_led_Blink";
    L.stretchLabel = "Label38";
    L.stretchSpinner = "UpDown10";
    L.countLabel = "Label37";
    L.countSpinner = "UpDown9";
    L.copyLabel = "Label41";
    L.outputLabels = {"Label42", "Label43", "Label44", "Label45", "Label39",
                      "Label40", "Label46", "Label47", "Label48", "Label49"};
    L.outputs = 10;
    L.steps = 100;
    L.blockSize = 256;
    // The firmware's copy has always taken 255 entries: the block's last entry stays.
    L.copyCount = 255;
    L.countIndex = 101;
    L.stretchIndex = 102;
    L.stretchHighIndex = 104;
    L.flagsIndex = 100;
    L.usedHighIndex = 103;
    L.secondStepBase = 128;
    L.imageHeight = 38;
    L.barEndsAtImageHeight = true;
    L.clampStretchWhenShown = false;
    L.drawAtEndOfInit = false;
    return L;
}

// Top of the address buttons and "Loop": 20 pixels into the frame around the buttons (at 3),
// whose border lies below its caption.
constexpr int kAddressTop = 23;

} // namespace

BlinkmusterPage::BlinkmusterPage() : BlinkPatternPage(fourOutputs())
{
    place("pnl_blinkmuster", {0, 0, kWidth, kHeight});
    // The address buttons stand on the panel, within the frame drawn around them: below its
    // caption and top border, and "Loop" beside the frame on their line.
    place("RadioGroup2", {5, 3, 450, 42});
    for (int a = 1; a <= kAddresses; ++a)
        place(radioName(a), {10 + 110 * (a - 1), kAddressTop, 100, 17});
    place("blinkmuster_cbx_loop", {465, kAddressTop, 60, 17});
    place("Label7", {10, 56, 80, 15});
    place("blinkmuster_edt_stretch", {95, 52, 40, 21});
    place("UpDown4", {135, 52, 17, 21});
    place("Label6", {162, 56, 80, 15});
    place("blinkmuster_edt_Anzahl", {247, 52, 35, 21});
    place("UpDown3", {282, 52, 17, 21});
    place("blinkmuster_lbl_KurveInfo1", {309, 50, 225, 16});
    place("blinkmuster_lbl_KurveInfo2", {309, 68, 225, 16});
    const char* labels[] = {"Label8", "Label9", "Label10", "Label11"};
    for (int k = 1; k <= 4; ++k) {
        const int top = 96 + 48 * (k - 1);
        place(labels[k - 1], {0, top + 2, 40, 16});
        place(imageName(k), {kImageLeft, top, kWidth - kImageLeft - 10, 41});
        place(outputName(k), {14, top + 20, 17, 17});
    }
    place("Label12", {10, 449, 85, 16});
    for (int a = 1; a <= kAddresses; ++a)
        place(copyName(a), {100 + 55 * (a - 1), 445, 55, 25});
    place("blinkmuster_btn_verwerfen", {345, 445, 90, 25});
    place("blinkmuster_btn_uebernehmen", {440, 445, 85, 25});
}

BlinkmusterLedPage::BlinkmusterLedPage() : BlinkPatternPage(tenOutputs())
{
    place("pnl_led_blinkmuster", {0, 0, kWidth, kHeight});
    // The address buttons 100 wide from 10 on, 110 apart, in a frame 450 wide (below its top
    // border); "Loop" 10 to its right.
    place("RadioGroup3", {5, 3, 450, 42});
    for (int a = 1; a <= kAddresses; ++a)
        place(radioName(a), {10 + 110 * (a - 1), kAddressTop, 100, 17});
    place("led_blinkmuster_cbx_loop", {5 + 450 + 10, kAddressTop, 60, 17});
    // Label, edit 5 to its right, spinner right beside it; the next label 10 further; the
    // time labels 10 right of the second spinner.
    const int labelWidth = 80;
    const int stretchEdit = 10 + labelWidth + 5;
    place("Label38", {10, 56, labelWidth, 15});
    place("led_blinkmuster_edt_stretch", {stretchEdit, 52, 70, 21});
    place("UpDown10", {stretchEdit + 70, 52, 17, 21});
    const int countLabel = stretchEdit + 70 + 17 + 10;
    const int countEdit = countLabel + labelWidth + 5;
    place("Label37", {countLabel, 56, labelWidth, 15});
    place("led_blinkmuster_edt_Anzahl", {countEdit, 52, 35, 21});
    place("UpDown9", {countEdit + 35, 52, 17, 21});
    const int info = countEdit + 35 + 17 + 10;
    place("led_blinkmuster_lbl_KurveInfo1", {info, 50, kWidth - info - 5, 16});
    place("led_blinkmuster_lbl_KurveInfo2", {info, 68, kWidth - info - 5, 16});
    const auto& labels = layout().outputLabels;
    for (int k = 1; k <= 10; ++k) {
        // Out#6 is a little lower and shorter than the others.
        const int top = k == 6 ? 296 : 93 + 40 * (k - 1);
        const int height = k == 6 ? 33 : 38;
        place(labels[static_cast<std::size_t>(k - 1)], {0, top, 40, 16});
        place(imageName(k), {kImageLeft, top, kWidth - kImageLeft - 10, height});
        place(outputName(k), {14, top + 17, 17, 17});
    }
    // The copy buttons in a row at the top of "Verwerfen", 5 right of their label, which
    // stands 3 lower.
    const int row = 530;
    const int copyLabelWidth = 85;
    place("Label41", {10, row + 3, copyLabelWidth, 16});
    for (int a = 1; a <= kAddresses; ++a)
        place(copyName(a), {10 + copyLabelWidth + 5 + 55 * (a - 1), row, 55, 25});
    place("led_blinkmuster_btn_verwerfen", {345, row, 90, 25});
    place("led_blinkmuster_btn_uebernehmen", {440, row, 85, 25});
}

} // namespace hz::pages
