#include "core/inspect/Mnemonic.h"

#include <array>

#include "core/firmware/HexText.h"

namespace hz {

namespace {

// How a row tests one byte of the word: not at all, its text against a text, or its value
// under a mask against a value.
struct ByteTest {
    enum Kind { Any, Text, Mask } kind = Any;
    const char* text = nullptr;
    int mask = 0;
    int value = 0;

    bool matches(std::string_view byteText) const
    {
        switch (kind) {
        case Any: return true;
        case Text: return byteText == text;
        case Mask: return (HexByteValue(byteText) & mask) == value;
        }
        return false;
    }
};

constexpr ByteTest any() { return {}; }
constexpr ByteTest is(const char* text) { return {ByteTest::Text, text, 0, 0}; }
constexpr ByteTest masked(int mask, int value) { return {ByteTest::Mask, nullptr, mask, value}; }

struct Row {
    ByteTest high;
    ByteTest low;
    const char* name; // six characters
};

// The first matching row decides. Words with the high byte 00 hold the instructions without
// a file register in the high byte; their catch-all row keeps them from the rows below.
constexpr std::array kTable{
    Row{is("00"), is("08"), "RETURN"},
    Row{is("00"), is("09"), "RETFIE"},
    Row{is("00"), is("0A"), "CALLW "},
    Row{is("00"), is("0B"), "BRW   "},
    Row{is("00"), is("64"), "CLRWDT"},
    Row{is("00"), is("00"), "NOP   "},
    Row{is("00"), is("01"), "RESET "},
    Row{is("00"), is("63"), "SLEEP "},
    Row{is("00"), masked(0xF8, 0x60), "TRIS  "},
    Row{is("00"), masked(0xE0, 0x20), "MOVLB "},
    Row{is("00"), masked(0x80, 0x80), "MOVWF "},
    Row{is("00"), any(), "      "},
    Row{masked(0x3C, 0x10), any(), "BCF   "},
    Row{masked(0x3C, 0x14), any(), "BSF   "},
    Row{masked(0x3C, 0x18), any(), "BTFSC "},
    Row{masked(0x3C, 0x1C), any(), "BTFSS "},
    Row{masked(0x38, 0x20), any(), "CALL  "},
    Row{masked(0x38, 0x28), any(), "GOTO  "},
    Row{is("01"), any(), "CLRF/W"},
    Row{is("02"), any(), "SUBWF "},
    Row{is("03"), any(), "DECF  "},
    Row{is("04"), any(), "IORWF "},
    Row{is("05"), any(), "ANDWF "},
    Row{is("06"), any(), "XORWF "},
    Row{is("07"), any(), "ADDWF "},
    Row{is("08"), any(), "MOVF  "},
    Row{is("09"), any(), "COMF  "},
    Row{is("0A"), any(), "INCF  "},
    Row{is("0B"), any(), "DECFSZ"},
    Row{is("0C"), any(), "RRF   "},
    Row{is("0D"), any(), "RLF   "},
    Row{is("0E"), any(), "SWAPF "},
    Row{is("0F"), any(), "INCFSZ"},
    Row{is("30"), any(), "MOVLW "},
    Row{is("31"), any(), "MOVLP "},
    Row{is("34"), any(), "RETLW "},
    Row{is("35"), any(), "LSLF  "},
    Row{is("36"), any(), "LSRF  "},
    Row{is("37"), any(), "ASRF  "},
    Row{is("38"), any(), "IORLW "},
    Row{is("39"), any(), "ANDLW "},
    Row{is("3A"), any(), "XORLW "},
    Row{is("3B"), any(), "SUBWFB"},
    Row{is("3C"), any(), "SUBLW "},
    Row{is("3D"), any(), "ADDWFC"},
    Row{is("3E"), any(), "ADDLW "},
    // 32, 33, 3F and anything else: no instruction of ours.
};

} // namespace

std::string MnemonicOf(std::string_view high, std::string_view low)
{
    for (const Row& row : kTable)
        if (row.high.matches(high) && row.low.matches(low))
            return row.name;
    return "      ";
}

} // namespace hz
