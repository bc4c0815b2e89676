#pragma once
// Address code tables.
//
// The firmwares keep an address not as a number but as the bytes in which it reaches the
// decoder: for DCC the bytes of the accessory packet, for Motorola a ternary (trit) code.
// The tables hold each code as upper-case hexadecimal text, two digits per byte, the form in
// which the image keeps EEPROM bytes, so that codes compare with and copy into the image as
// texts. Indices outside the filled range give the empty text, which never equals a code.

#include <string>

namespace hz {

// Green code of Motorola accessory address a, 0..320 (six digits; 0 is "FFFFFF").
const std::string& MotAccessoryCodes(int a);
// Code of Motorola decoder address d, 1..255 (four digits).
const std::string& MotDecoderCodes(int d);
// Red code of DCC accessory address a, 1..2044 (six digits).
const std::string& DccAccessoryCodes(int a);

// The other half of a red/green pair, derived from a table entry. Empty in, empty out.
std::string MotRedVariant(const std::string& greenCode); // top two bits of byte 3 cleared
std::string DccGreenVariant(const std::string& redCode); // the packet with output bit 1

// Decoding a red/green row: the accessory address whose code, or the other half of whose
// pair, is `code`. Every code of a table and every variant derived from it stands for one
// address only, so the answer is unique. Address -1 when no address has the code (the empty
// text and lower-case digits included: the tables hold upper-case texts).
struct PairCode {
    int address = -1;
    bool tableHalf = false; // the table entry itself (Motorola green, DCC red), not the variant
};
PairCode FindMotAccessoryPair(const std::string& code); // addresses 0..320
PairCode FindDccAccessoryPair(const std::string& code); // addresses 1..2044

// Function codes of function-decoder rows: Motorola 1..4, DCC 1..12 (NMRA function-group
// instruction bytes). Empty for numbers outside the range.
const std::string& MotFunctionCode(int f);
const std::string& DccFunctionCode(int f);
// The function number of a code, 0 when the code is none of them.
int MotFunctionNumber(const std::string& code);
int DccFunctionNumber(const std::string& code);

// Filled ranges, for loops and tests.
constexpr int kMotAccessoryMax = 320;
constexpr int kMotDecoderMax = 255;
constexpr int kDccAccessoryMax = 2044;

} // namespace hz
