#pragma once
// The additional-functions page (frame TFrameZusatz): the decoder's settings besides its
// addresses - time-outs and phase lengths as value rows, the operating mode with its two flags,
// option boxes, speed and brightness track bars. Each setting is one EEPROM byte, and every
// change goes into the image at once; there is no working copy and no accept button.
//
// The page owns every kind of control once; which of them a decoder type uses, with which
// captions and bytes, comes from its entry in ZusatzTypes. All controls sit on the panel
// pnl_Zusatz (320 x 485 when shown); the mode controls sit in the group box group_mode, which
// the page lays out from its contents and places at the bottom of the panel. The 25 value rows
// are RowLabels[k], RowEdits[k] and RowSeconds[k].

#include <array>
#include <functional>
#include <string>

#include "core/pages/Page.h"
#include "core/pages/zusatz/ZusatzTypes.h"

namespace hz::pages {

class ZusatzPage : public Page {
public:
    static constexpr int kRows = 25;
    // The frame as designed and as the host shows it; group_mode (left 10, 300 wide) gives
    // the width.
    static constexpr int kWidth = 320;
    static constexpr int kDesignHeight = 691;
    static constexpr int kHeight = 485;
    // Value rows: one row every 21 pixels; the caption at the left, 3 pixels lower than its
    // edit; the edits at left = width of the widest caption + 20; the seconds label 10
    // pixels right of the edit, at the caption's height.
    static constexpr int kRowPitch = 21;
    static constexpr int kCaptionDrop = 3;
    static constexpr int kRowLeft = 10;
    static constexpr int kEditWidth = 40;
    static constexpr int kEditHeight = 20;
    // Heights of the self-sizing controls in the page's 8-point font.
    static constexpr int kLineHeight = 13;
    static constexpr int kBoxHeight = 17; // check boxes and radio buttons
    static constexpr int kTrackBarHeight = 25;
    static constexpr int kBoxWidth = 290;

    ZusatzPage();

    const char* frameName() const override { return "TFrameZusatz"; }
    const char* objectName() const override { return "FrameZusatz1"; }
    PagePlace placeIn(const AddressArea& area) const override;
    // Every control back to its neutral state, then the set-up.
    void showFor(const PageContext& context) override;

    // Sets the page up for the loaded decoder type and fills it from the image; the handlers
    // run it again after each write, so that what depends on the written byte follows.
    void setUp();

    int RowCount = 0;
    std::array<int, kRows> RowAddress{};
    std::array<int, kRows> RowMin{};
    std::array<int, kRows> RowMax{};
    std::array<float, kRows> RowFactor{};

    // The decoder type whose set-up the page shows; nullptr for an empty page.
    const zusatz::ZusatzType* TypeShown() const { return m_type; }

    static std::string rowLabelName(int row) { return "RowLabels[" + std::to_string(row) + "]"; }
    static std::string rowEditName(int row) { return "RowEdits[" + std::to_string(row) + "]"; }
    static std::string rowSecondsName(int row) { return "RowSeconds[" + std::to_string(row) + "]"; }
    const Control& rowLabel(int row) const { return m_controls[m_firstRow + 3 * static_cast<std::size_t>(row)]; }
    const Control& rowEdit(int row) const { return m_controls[m_firstRow + 3 * static_cast<std::size_t>(row) + 1]; }
    const Control& rowSeconds(int row) const { return m_controls[m_firstRow + 3 * static_cast<std::size_t>(row) + 2]; }
    // A designed control by name; the page's own names only.
    const Control& control(const std::string& name) const;

private:
    // Returns every control to its neutral state.
    void clearControls();
    // Handlers, bound to the controls in the constructor. A row's number goes into its EEPROM
    // byte (row 0..24).
    void storeRow(int row);
    // A mode radio button (1..6) writes its mode, then the flags as their boxes say.
    void selectMode(int mode);
    void storeModeFlags();
    // The option boxes cbx_zusatz_1..8: the switch-off byte or the setting byte's bits.
    void storeOptions();
    void storeTimeOutOnly();
    // TrackBar_01: the fading time or the effect speed, whichever the decoder type has.
    void storeFadingOrSpeed();
    void storeNeonDark();
    void storeNeonBright();

    Control& ctl(const std::string& name);
    // which: 0 caption, 1 edit, 2 seconds label
    Control& rowControl(int row, int which)
    {
        return m_controls[m_firstRow + 3 * static_cast<std::size_t>(row) + static_cast<std::size_t>(which)];
    }
    Control& box(int k) { return ctl("cbx_zusatz_" + std::to_string(k)); }
    void setTop(Control& c, int top);
    void setLeftTop(Control& c, int left, int top);
    // A label that sizes itself to its caption.
    void setAutoCaption(Control& c, const std::string& caption);
    // Range and position of a track bar; the position is kept inside the range.
    void setTrackBar(Control& c, int min, int max, int position, int tickFrequency = 1);

    // The set-up steps of the decoder types.
    void defineRow(const zusatz::RowDef& row);
    void showModes(const zusatz::ZusatzType& t);
    void showDriveSwitchOff();
    void showSwitchOff(int byte);
    void showBrightness();
    void placeSpeedTrackBar(int captionTop);
    void showFading(int captionTop);
    void showEffectSpeed();
    void showBitBoxes(const zusatz::BitBoxSet& set);
    void layoutRows();
    void layoutModeGroup();

    // EEPROM bytes of the image.
    int eeValue(int address) const;
    std::string eeText(int address) const;
    void writeEe(int address, int value);
    bool firmwareAbove354() const;

    const zusatz::ZusatzType* m_type = nullptr;
    std::size_t m_firstRow = 0;
    int m_firstRowTop = 20;
};

} // namespace hz::pages
