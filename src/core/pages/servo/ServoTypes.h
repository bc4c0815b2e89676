#pragma once
// What differs between the five servo decoder types, for both servo pages. The Kornel-4 drives
// four servos from eight addresses and switches a relay while a curve runs; the Kornelchen
// types drive one servo from four addresses (the function-decoder firmware from two addresses
// with an on and an off command each), two of them with the threshold output X7. All of them
// keep the same 512-byte table, so what the table's entries mean follows the type as well:
// which address a record's address bytes belong to, which servos' flags and pulse ranges are
// read, which push button a slot's action answers.

#include <array>

namespace hz::pages::servo {

// The Kornel-4, whose captions the pages carry before a file is shown.
inline constexpr int kKornel4Identifier = 0xD3;

struct ServoType {
    int identifier;
    // Kornel-4: eight addresses with servo and relay lists, four servo groups, the relay graph,
    // the SW1 mode, and push-button lists that offer all eight addresses.
    bool kornel4;
    // Output X7 with its threshold (EEPROM 0x30).
    bool threshold;
    // Captions of address rows 1 to 4 (rows 5 to 8 keep "Adresse 05:" .. "Adresse 08:").
    std::array<const char*, 4> addressCaptions;
    // Captions of push-button slots 1 to 4: which push button each slot belongs to.
    std::array<const char*, 4> slotCaptions;
    // What the table's entries mean on this type, as a report names it. Types with the same
    // text read every entry the same way.
    const char* tableLayout;
};

// The entry of `identifier`; a type not in the table is shown as the Kornel-4, which shows
// every setting the table holds.
const ServoType& ServoTypeFor(int identifier);

} // namespace hz::pages::servo
