#include "core/catalogue/CodeTables.h"

#include <array>
#include <vector>

#include "core/firmware/HexText.h"

namespace hz {

namespace {

const std::string kEmpty;

// Motorola trit code of decoder number d: four ternary digits of d mod 80 (decoder 80 is
// sent like 0), each digit as a bit pair 0 -> 00, 1 -> 11, 2 -> 10. Byte 1 holds the pair of
// the lowest digit in bits 1..0; byte 2 the pairs of the other three in bits 7..2.
std::array<int, 2> motBytes(int d)
{
    static const int pair[3] = {0b00, 0b11, 0b10};
    int m = d % 80;
    int t[4];
    for (int& digit : t) {
        digit = m % 3;
        m /= 3;
    }
    return {pair[t[0]], (pair[t[1]] << 6) | (pair[t[2]] << 4) | (pair[t[3]] << 2)};
}

// Codes of decoder addresses 81..255. The firmware's receiver does not derive them from a
// rule; they are the bit patterns it compares against, in address order.
const char* const kMotDecoderHigh[] = {
    "0100", "0180", "025C", "01C0", "0120", "01A0", "0160", "01E0", "0110", "0190", "0150", "01D0", "0130", "01B0",
    "0170", "01F0", "0108", "0188", "0148", "01C8", "0128", "01A8", "0168", "01E8", "0118", "0198", "0158", "01D8",
    "0138", "01B8", "0178", "01F8", "0104", "0184", "0144", "01C4", "0124", "01A4", "0164", "01E4", "0114", "0194",
    "027C", "01D4", "0134", "01B4", "0174", "01F4", "010C", "018C", "014C", "01CC", "012C", "01AC", "016C", "01EC",
    "011C", "019C", "015C", "01DC", "013C", "01BC", "017C", "01FC", "0040", "0060", "0050", "0070", "0048", "0068",
    "0058", "0078", "0044", "0064", "0054", "0074", "004C", "006C", "005C", "007C", "0340", "0360", "0350", "0370",
    "0348", "0368", "0358", "0378", "0344", "0364", "0354", "0374", "034C", "036C", "035C", "037C", "0240", "0260",
    "0250", "0270", "0248", "0268", "0258", "0278", "0244", "0264", "0254", "0274", "024C", "026C", "0140", "0154",
    "0010", "0018", "0014", "001C", "0310", "0318", "0314", "031C", "0210", "0218", "0214", "021C", "00D0", "00D8",
    "00D4", "00DC", "03D0", "03D8", "03D4", "03DC", "02D0", "02D8", "02D4", "02DC", "0090", "0098", "0094", "009C",
    "0390", "0398", "0394", "039C", "0290", "0298", "0294", "029C", "0004", "0304", "0204", "00C4", "03C4", "02C4",
    "0084", "0384", "0284", "0034", "0334", "0234", "00F4", "03F4", "02F4", "00B4", "03B4", "02B4", "0024", "0324",
    "0224", "00E4", "03E4", "02E4", "00A4", "03A4", "02A4",
};
static_assert(sizeof(kMotDecoderHigh) / sizeof(kMotDecoderHigh[0]) == 255 - 80);

// The three code bytes of Motorola accessory address a, 1..320, green half: output p of
// decoder d; byte 3 carries the port in bits 5..2 (C3, F3, CF, FF) and the green half of the
// pair in its top two bits.
std::array<int, 3> motAccessoryBytes(int a)
{
    const int d = (a - 1) / 4 + 1, p = (a - 1) % 4;
    const auto b = motBytes(d);
    return {b[0], b[1], 0xC3 + ((p & 1) ? 0x30 : 0) + ((p & 2) ? 0x0C : 0)};
}

// The three code bytes of DCC accessory address a, 1..2044, red half: the two instruction
// bytes of the basic accessory packet (activate bit set, output 0), stored as the error byte,
// the second byte shifted left and the first byte shifted left twice with bit 0 set - the
// form in which the firmware compares them.
std::array<int, 3> dccAccessoryBytes(int a)
{
    const int d = (a - 1) / 4 + 1, p = (a - 1) % 4;
    const int b1 = 0x80 | (d & 0x3F);
    const int b2 = 0x80 | (((~(d >> 6)) & 7) << 4) | 0x08 | (p << 1);
    return {(b1 ^ b2) & 0xFF, (b2 << 1) & 0xFF, ((b1 << 2) | 1) & 0xFF};
}

struct Tables {
    std::vector<std::string> motAccessory, motDecoder, dccAccessory;

    Tables() : motAccessory(351), motDecoder(351), dccAccessory(2101)
    {
        const auto& t = HexByteTexts();
        auto text = [&](int v) { return t[static_cast<std::size_t>(v & 0xFF)]; };
        for (int d = 1; d <= 80; ++d) {
            const auto b = motBytes(d);
            motDecoder[static_cast<std::size_t>(d)] = text(b[0]) + text(b[1]);
        }
        for (int d = 81; d <= kMotDecoderMax; ++d)
            motDecoder[static_cast<std::size_t>(d)] = kMotDecoderHigh[d - 81];

        motAccessory[0] = "FFFFFF";
        for (int a = 1; a <= kMotAccessoryMax; ++a) {
            const auto b = motAccessoryBytes(a);
            motAccessory[static_cast<std::size_t>(a)] = text(b[0]) + text(b[1]) + text(b[2]);
        }
        for (int a = 1; a <= kDccAccessoryMax; ++a) {
            const auto b = dccAccessoryBytes(a);
            dccAccessory[static_cast<std::size_t>(a)] = text(b[0]) + text(b[1]) + text(b[2]);
        }
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

// The three bytes of a six-digit upper-case code, as the tables write them; false for any
// other text.
bool codeBytes(const std::string& code, std::array<int, 3>& bytes)
{
    if (code.size() != 6)
        return false;
    for (std::size_t k = 0; k < 6; ++k) {
        const char c = code[k];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        int& b = bytes[k / 2];
        b = k % 2 == 0 ? 16 * digit : b + digit;
    }
    return true;
}

const std::string& lookup(const std::vector<std::string>& table, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= table.size())
        return kEmpty;
    return table[static_cast<std::size_t>(index)];
}

char hexDigit(int v) { return "0123456789ABCDEF"[v & 15]; }

int digitValue(char c) { return HexByteValue(std::string{'0', c}); }

const std::array<std::string, 5> kMotFunctions{"", "51", "05", "15", "55"};
// Function-group instruction bytes: F1..F4 (100DDDDD with FL off), F5..F8 (1011DDDD),
// F9..F12 (1010DDDD).
const std::array<std::string, 13> kDccFunctions{"",   "81", "82", "84", "88", "B1", "B2",
                                                "B4", "B8", "A1", "A2", "A4", "A8"};

} // namespace

// Decoding a red/green code reads the address out of the code's bits and then encodes that
// address again: only a code that comes back unchanged names it. Every code stands for one
// address at most, so this finds what a walk through the table would find, without building
// the table or deriving 2000 variants for every row at every load.
PairCode FindMotAccessoryPair(const std::string& code)
{
    std::array<int, 3> c{};
    if (!codeBytes(code, c))
        return {};
    // Byte 3: top two bits set in the green half (the table's), clear in the red one.
    const bool green = (c[2] & 0xC0) == 0xC0;
    if (!green && (c[2] & 0xC0) != 0)
        return {};
    const int port = c[2] | 0xC0;
    if (c[0] == 0xFF && c[1] == 0xFF && port == 0xFF) // address 0
        return {0, green};
    // Bit pairs 00, 11, 10 are the trits 0, 1, 2; 01 is none.
    const auto trit = [](int bits) { return bits == 0 ? 0 : bits == 3 ? 1 : bits == 2 ? 2 : -1; };
    const int t[4] = {trit(c[0] & 3), trit((c[1] >> 6) & 3), trit((c[1] >> 4) & 3), trit((c[1] >> 2) & 3)};
    if (t[0] < 0 || t[1] < 0 || t[2] < 0 || t[3] < 0)
        return {};
    const int m = t[0] + 3 * t[1] + 9 * t[2] + 27 * t[3];
    const int d = m == 0 ? 80 : m;
    const int p = ((port & 0x30) ? 1 : 0) | ((port & 0x0C) ? 2 : 0);
    const int a = (d - 1) * 4 + p + 1;
    if (a > kMotAccessoryMax)
        return {};
    auto expected = motAccessoryBytes(a);
    if (!green)
        expected[2] &= 0x3F; // MotRedVariant
    return expected == c ? PairCode{a, green} : PairCode{};
}

PairCode FindDccAccessoryPair(const std::string& code)
{
    std::array<int, 3> c{};
    if (!codeBytes(code, c))
        return {};
    // The green half is the packet with output bit 1: bit 1 of the second byte is set, and
    // the error byte has bit 0 flipped.
    const bool green = (c[1] & 2) != 0;
    const int b2 = 0x80 | ((c[1] >> 1) & ~1);
    const int b1 = (green ? c[0] ^ 1 : c[0]) ^ b2;
    const int d = (((~(b2 >> 4)) & 7) << 6) | (b1 & 0x3F);
    const int a = (d - 1) * 4 + ((b2 >> 1) & 3) + 1;
    if (a < 1 || a > kDccAccessoryMax)
        return {};
    auto expected = dccAccessoryBytes(a);
    if (green) { // DccGreenVariant
        expected[0] ^= 1;
        expected[1] |= 2;
    }
    return expected == c ? PairCode{a, !green} : PairCode{};
}

const std::string& MotAccessoryCodes(int a) { return lookup(tables().motAccessory, a); }
const std::string& MotDecoderCodes(int d) { return lookup(tables().motDecoder, d); }
const std::string& DccAccessoryCodes(int a) { return lookup(tables().dccAccessory, a); }

std::string MotRedVariant(const std::string& green)
{
    std::string red = green;
    if (red.size() >= 5) {
        if (red[4] == 'C')
            red[4] = '0';
        else if (red[4] == 'F')
            red[4] = '3';
    }
    return red;
}

std::string DccGreenVariant(const std::string& redCode)
{
    std::string green = redCode;
    if (green.size() >= 4) {
        switch (green[3]) {
        case '0': green[3] = '2'; break;
        case '4': green[3] = '6'; break;
        case '8': green[3] = 'A'; break;
        case 'C': green[3] = 'E'; break;
        default: break;
        }
        green[1] = hexDigit(digitValue(green[1]) ^ 1);
    }
    return green;
}

const std::string& MotFunctionCode(int f)
{
    return f >= 1 && f <= 4 ? kMotFunctions[static_cast<std::size_t>(f)] : kEmpty;
}
const std::string& DccFunctionCode(int f)
{
    return f >= 1 && f <= 12 ? kDccFunctions[static_cast<std::size_t>(f)] : kEmpty;
}

int MotFunctionNumber(const std::string& code)
{
    for (int f = 1; f <= 4; ++f)
        if (code == kMotFunctions[static_cast<std::size_t>(f)])
            return f;
    return 0;
}

int DccFunctionNumber(const std::string& code)
{
    for (int f = 1; f <= 12; ++f)
        if (code == kDccFunctions[static_cast<std::size_t>(f)])
            return f;
    return 0;
}

} // namespace hz
