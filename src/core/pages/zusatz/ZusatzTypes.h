#pragma once
// What the additional-functions page shows for each decoder type, as data: one entry per
// firmware, naming its value rows, its mode set and flags, and its options. The page
// (ZusatzPage) has each kind of control and each option's behaviour once; an entry only picks
// from them. A decoder type without an entry shows an empty page.
//
// The bytes behind the controls are the firmware's EEPROM settings:
//   0x00  mode (bits 0..5 = mode 1..6, bit 6 "dumb" start, bit 7 mode switch locked), or the
//         drive switch-off marker "AB"/"01", or the switch-off nibbles (0xA = source disabled)
//   0x20  time-out / switch-off time / fading code / effect speed / neon output bits
//   0x30  switch-off nibbles of the Stellino from V3.61 (its byte 0x00 holds the mode)
//   0x40, 0x41  neon brightness levels (0..15)
//   0x2F / 0x30, 0x60, 0x70..0x75  house and traffic-light timings

#include <array>
#include <span>
#include <string>
#include <vector>

namespace hz::pages::zusatz {

// One value row: caption, hint of the edit, EEPROM byte, seconds per unit (0: no seconds
// label) and the accepted range of typed input.
struct RowDef {
    const char* caption;
    const char* hint;
    int address;
    float factor;
    int min, max;
};

// Captions of the mode radio buttons 1..4; nullptr where the set has no such mode. A set
// without any caption shows the group for its flag boxes only (no advice, no radio buttons).
struct ModeSet {
    std::array<const char*, 4> captions;
};

// When the box "Mode-Umschaltung SPERREN" (mode bit 7) is shown.
enum class Lock { None, Always, Above354 };

// One check box that shows and sets one bit of byte 0x20.
struct BitBox {
    int box; // cbx_zusatz_<box>
    int top;
    const char* caption;
    const char* hint;
    int bit;
    bool shown; // a hidden box keeps its bit as it is
};

// A group of bit boxes under the bold heading lbl_zusatz, with an optional tip line below.
struct BitBoxSet {
    const char* heading;
    std::span<const BitBox> boxes;
    const char* tip; // nullptr: none
    int tipTop;
};

enum Option : unsigned {
    OptNone = 0,
    // cbx_weiche_ab: byte 0x00 "AB" = the drive switches off only after its time-out.
    OptDriveSwitchOff = 1u << 0,
    // cbx_zusatz_1/2: which sources may switch the outputs off (byte ZusatzType::switchOffByte).
    OptSwitchOff = 1u << 1,
    // TrackBar_neon_1/2: brightness levels in bytes 0x40 and 0x41.
    OptBrightness = 1u << 2,
    // TrackBar_01: fading speed code in byte 0x20 (caption at ZusatzType::fadingTop).
    OptFading = 1u << 3,
    // TrackBar_01: effect speed 1..255 in byte 0x20.
    OptEffectSpeed = 1u << 4,
    // Bit boxes of byte 0x20 (ZusatzType::bits).
    OptBitBoxes = 1u << 5,
};

struct ZusatzType {
    int identifier;
    int identifier2;  // a second identifier of the same firmware; 0 when none
    const char* name; // the catalogue's name, for reading the table
    std::span<const RowDef> rows;
    int firstRowTop;
    const ModeSet* modes; // nullptr: no mode group
    bool dumb;            // cbx_mode_bit6 shown
    Lock lock;
    // The whole mode group (with its lock) only exists from firmware 3.55 on.
    bool modesAbove354;
    unsigned options;
    int switchOffByte;     // OptSwitchOff
    int fadingTop;         // OptFading: top of the track bar's caption
    const BitBoxSet* bits; // OptBitBoxes
};

// Every entry, in the order of the catalogue's families.
const std::vector<ZusatzType>& ZusatzTypeTable();
// The entry of a decoder identifier (either of its identifiers); nullptr when there is none.
const ZusatzType* FindZusatzType(int identifier);

// Fading speed: track bar position 0..5 and the code the firmware keeps for it.
inline constexpr std::array<const char*, 6> kFadingCodes{"FF", "66", "33", "22", "12", "11"};

} // namespace hz::pages::zusatz
