#include <gtest/gtest.h>

#include "core/firmware/HexText.h"

using hz::HexByteValue;

TEST(HexByteValue, ReadsTwoCharactersLeniently)
{
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"00", 0},   {"3F", 63},  {"3f", 63},  {"FF", 255}, {"ff", 255}, {"A0", 160},
        {"7", 112},  // one character: padded with a NUL, so it is the high digit
        {"", 0},     {"G0", 112}, // "G" is 0x47: its low four bits give 7
        {"0G", 7},   {"1234", 18}, // only the first two characters count
        {"zz", 0xAA}, // 'z' = 0x7A, low bits 10
    };
    for (const auto& c : cases)
        EXPECT_EQ(HexByteValue(c.text), c.value) << '"' << c.text << '"';
}

TEST(HexByteTexts, AreTheUpperCaseTextsOfEveryByte)
{
    const auto& t = hz::HexByteTexts();
    EXPECT_EQ(t[0], "00");
    EXPECT_EQ(t[10], "0A");
    EXPECT_EQ(t[0xC3], "C3");
    EXPECT_EQ(t[255], "FF");
    for (int v = 0; v < 256; ++v)
        EXPECT_EQ(HexByteValue(t[static_cast<std::size_t>(v)]), v);
}

TEST(HexText, PositionsRunningPastTheLineAreShortenedOrEmpty)
{
    EXPECT_EQ(hz::at(":10000000", 8, 2), "00");
    EXPECT_EQ(hz::at(":10000000", 9, 2), "0");
    EXPECT_EQ(hz::at(":10000000", 10, 2), "");
    EXPECT_EQ(hz::at(":10000000", 0, 2), "");
}

TEST(HexText, WholeNumbersAsTypedIntoAField)
{
    struct Case {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        {"0", true, 0},        {"12", true, 12},     {"+7", true, 7},   {"-1", true, -1},
        {"007", true, 7},      {"", false, 0},       {"-", false, 0},   {"12a", false, 0},
        {" 5", false, 0},      {"5 ", false, 0},     {"0x10", false, 0}, {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},      {"2147483648", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        int v = -99;
        EXPECT_EQ(hz::parseWholeNumber(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}
