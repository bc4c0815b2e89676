#pragma once
// The address and servo page of the servo decoders (TFrameKornelAdr): what each decoder
// address does (servo, action, curve, relay), the servo flags and the pulse ranges. Address
// settings and flags are entries of the curve page's working copy; the pulse ranges are kept
// here and written by the curve page's "übernehmen".
//
// Where the settings live in the working copy (record r = entries 128(r-1) .. 128(r-1)+127,
// the low bytes of program words 0x500 + entry):
//   entry 100 of record s      flags of servo s: 0x02 "Spannung aus", 0x04 "Impulse aus",
//                              0x40 "keine Unterbrechung", 0x80 "keine Wiederholung"
//   entries 103/104 of record n      address n (1..4): servo-and-action, curve-and-relay
//   entries 106/107 of record n - 4  address n (5..8): the same
// Servo-and-action: servo 0x01/0x02/0x04/0x08 in the low nibble, action "Start" 0x00,
// "Start Loop" 0x10, "Abbruch" 0x20, "Beenden" 0x40 in the high nibble. Curve-and-relay:
// curve 0x10/0x20/0x40/0x80 in the high nibble, relay 0x01/0x02/0x04/0x08 in the low one.
// Writing one field replaces its nibble and keeps the other.
//
// Layout: one row per address (label, then the servo, action, curve and relay lists at
// x = 80, 152, 224, 296), then the four servo groups, each with its four flag boxes and the
// minimum and maximum pulse rows ("<<", "<", time, ">", ">>", unit label).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/pages/Page.h"
#include "core/pages/servo/ServoTypes.h"

namespace hz {
class FirmwareImage;
}

namespace hz::pages {

class KornelPage;

// Number of the lowest set bit among bits 0..7 of `value` (0..7); 0 when none is set.
int LowestBitIndex(int value);
// 1 shifted left by k for k = 0..7; 0 for any other k.
int BitOfIndex(int k);

// The pulse range of one servo. The firmware keeps a minimum pulse `offset` in units of 8 µs
// and a span code `factor`: codes 1..127 widen the span of 127 units up to 253 units, codes
// 128..253 narrow it from 1 unit (128) back up to 126 units (253); 0, 1, 254 and 255 give
// the plain 127 units.
int PulseSpan(int factor);
float PulseMinMs(int offset);
float PulseMaxMs(int offset, int factor);
// A pulse time in milliseconds with three decimals and a decimal comma ("1,000", "2,016").
std::string PulseTimeText(float ms);
// The minimum after a step of +-1 or +-10 units: 50..255.
int StepPulseOffset(int offset, int step);
// The span code after a step of +-1 or +-10: the maximum moves continuously from code 128
// (shortest) up through 253, across the seam to 1, and up to 127 (longest); a step stops at
// either end and wraps across the seam.
int StepPulseFactor(int factor, int step);

class KornelAdrPage : public Page {
public:
    static constexpr int kAddresses = 8;
    static constexpr int kServos = 4;
    // Frame size as the host places it (the main window's address area, 400 - 2 wide).
    static constexpr int kWidth = 398;
    static constexpr int kHeight = 530;
    // Address rows.
    static constexpr std::array<int, kAddresses> kRowTops{8, 32, 56, 80, 112, 136, 160, 184};
    // Servo, action, curve and relay list. The action list is wider than the others: "Start
    // Loop" is its longest item, and the row keeps one font for its lists.
    static constexpr std::array<int, 4> kListLefts{80, 152, 239, 311};
    static constexpr std::array<int, 4> kListWidths{70, 85, 70, 70};
    static constexpr int kListHeight = 21;
    // Servo groups: one pixel higher than the 80 they were designed with, so that the four
    // option boxes stand between the top border (below the caption) and the bottom border
    // with a pixel of air at each; the last group still ends within the page.
    static constexpr std::array<int, kServos> kGroupTops{205, 286, 367, 448};
    static constexpr int kGroupLeft = 4;
    static constexpr int kGroupWidth = 388;
    static constexpr int kGroupHeight = 81;

    // Flag bits of entry 100.
    static constexpr int kFlagVoltageOff = 0x02;
    static constexpr int kFlagPulsesOff = 0x04;
    static constexpr int kFlagNoInterrupt = 0x40;
    static constexpr int kFlagNoRepeat = 0x80;

    explicit KornelAdrPage(KornelPage& curves);

    const char* frameName() const override { return "TFrameKornelAdr"; }
    static constexpr const char* kObjectName = "FrameKornelAdr1";
    const char* objectName() const override { return kObjectName; }
    PagePlace placeIn(const AddressArea& area) const override;

    // setUp: runs each time the host shows page kind 4, after the curve page's.
    void showFor(const PageContext& context) override;
    // The pulse values the next "übernehmen" writes, in EEPROM order 0x60..0x67: offset and
    // factor of servo 1, then of servo 2, 3 and 4.
    std::vector<int> data() const override;
    // Pulse values of another file (eight values of 0..255, in the order of data()): shown at
    // once and written by the curve page's next "übernehmen", which they enable.
    bool setData(const std::vector<int>& data) override;
    // "Servo s Impuls-Zeit Min" (the minimum) and "Servo s Impuls-Zeit Max" (the span code).
    std::vector<DataPart> dataParts() const override;
    std::string dataName() const override { return "Impuls-Zeiten (Min und Max der Servos)"; }
    // Which servos the pulse values belong to: all four on the Kornel-4, only servo 1 on the
    // single-servo types, whose other six bytes no servo reads.
    std::string dataLayout() const override;

    // Minimum pulse (units of 8 µs) and span code of servos 1 to 4, from EEPROM bytes
    // 0x60 to 0x67.
    std::array<std::int32_t, 4> PulseOffset{};
    std::array<std::int32_t, 4> PulseFactor{};

    // Shows the working copy's address settings and servo flags again (after the curve page
    // reloaded the table), and the pulse times.
    void refresh();

    // Set-up for a decoder type: captions and visibility by type, the pulse values from the
    // EEPROM, then refresh.
    void setUp(int identifier, const FirmwareImage& image);

    // Index of the working-copy entries behind address n (1..8) and servo s (1..4).
    static std::size_t ServoActionEntry(int address);
    static std::size_t CurveRelayEntry(int address);
    static std::size_t FlagsEntry(int servo);

    // Control names.
    static std::string addressLabelName(int address);
    static std::string servoListName(int address);
    static std::string actionListName(int address);
    static std::string curveListName(int address);
    static std::string relayListName(int address);
    static std::string groupName(int servo);
    static std::string minEditName(int servo);
    static std::string maxEditName(int servo);

    const servo::ServoType& type() const { return *m_type; }

private:
    // The parts of refresh: the flag boxes, the address lists and the pulse times.
    void ShowServoFlags();
    void ShowAddressBoxes();
    void ShowPulseTimes();
    // The curve list of an address shows only while its action starts a curve ("Start",
    // "Start Loop" or none selected); on the Kornel-4 the relay list follows it.
    void UpdateCurveBoxes();

    // Handlers, bound to the controls in the constructor (address 1..8, servo 1..4, step
    // +-1 or +-10): the lists of an address row write its servo, action, curve and relay.
    void chooseServo(int address);
    void chooseAction(int address);
    void chooseCurve(int address);
    void chooseRelay(int address);
    // A flag box of a servo was ticked or cleared: its bit follows the box.
    void storeFlag(int servo, int bit);
    void stepMinimum(int servo, int step);
    void stepMaximum(int servo, int step);
    // The times are read-only: whatever reached their edits is replaced by the times again.
    void restorePulseTimes();

    std::size_t addControl(Control c);
    Control& at(std::size_t index) { return m_controls[index]; }
    std::int32_t& entry(std::size_t index);
    void select(std::size_t list, int index);
    void replaceBits(std::size_t entryIndex, int keepMask, int bits);

    KornelPage& m_curves;
    const servo::ServoType* m_type;

    std::array<std::size_t, kAddresses> m_label{}, m_servo{}, m_action{}, m_curve{}, m_relay{};
    std::array<std::size_t, kServos> m_group{}, m_voltageOff{}, m_pulsesOff{}, m_noInterrupt{}, m_noRepeat{};
    std::array<std::size_t, kServos> m_minEdit{}, m_maxEdit{};
};

} // namespace hz::pages
