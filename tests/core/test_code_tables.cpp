#include <gtest/gtest.h>

#include <set>

#include "core/catalogue/CodeTables.h"

using namespace hz;

TEST(CodeTables, RowsThatShowTheRules)
{
    struct Case {
        const std::string& (*table)(int);
        int index;
        const char* text;
    } cases[] = {
        {MotAccessoryCodes, 0, "FFFFFF"},
        {MotAccessoryCodes, 1, "0300C3"},
        {MotAccessoryCodes, 2, "0300F3"},
        {MotAccessoryCodes, 3, "0300CF"},
        {MotAccessoryCodes, 4, "0300FF"},
        {MotAccessoryCodes, 5, "0200C3"},
        {MotAccessoryCodes, 9, "00C0C3"},
        {MotAccessoryCodes, 316, "03A8FF"},
        {MotAccessoryCodes, 317, "0000C3"},
        {MotAccessoryCodes, 320, "0000FF"},
        {MotDecoderCodes, 1, "0300"},
        {MotDecoderCodes, 2, "0200"},
        {MotDecoderCodes, 3, "00C0"},
        {MotDecoderCodes, 27, "000C"},
        {MotDecoderCodes, 80, "0000"},
        {MotDecoderCodes, 81, "0100"},
        {MotDecoderCodes, 83, "025C"},
        {MotDecoderCodes, 123, "027C"},
        {MotDecoderCodes, 192, "0154"},
        {MotDecoderCodes, 255, "02A4"},
        {DccAccessoryCodes, 1, "79F005"},
        {DccAccessoryCodes, 2, "7BF405"},
        {DccAccessoryCodes, 3, "7DF805"},
        {DccAccessoryCodes, 4, "7FFC05"},
        {DccAccessoryCodes, 5, "7AF009"},
        {DccAccessoryCodes, 252, "41FCFD"},
        {DccAccessoryCodes, 253, "68D001"},
        {DccAccessoryCodes, 2044, "311CFD"},
        // outside the filled ranges: empty
        {MotDecoderCodes, 0, ""},
        {MotDecoderCodes, 256, ""},
        {MotAccessoryCodes, 321, ""},
        {DccAccessoryCodes, 0, ""},
        {DccAccessoryCodes, 2045, ""},
        {DccAccessoryCodes, -1, ""},
        {MotAccessoryCodes, 100000, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.table(c.index), c.text) << c.index;
}

TEST(CodeTables, RedAndGreenVariants)
{
    EXPECT_EQ(MotRedVariant("0300C3"), "030003");
    EXPECT_EQ(MotRedVariant("0300FF"), "03003F");
    EXPECT_EQ(MotRedVariant("FFFFFF"), "FFFF3F");
    EXPECT_EQ(DccGreenVariant("79F005"), "78F205");
    EXPECT_EQ(DccGreenVariant("7FFC05"), "7EFE05");
    EXPECT_EQ(MotRedVariant(""), "");
    EXPECT_EQ(DccGreenVariant(""), "");
}

// What matters for decoding: every code, red or green, stands for exactly one address.
TEST(CodeTables, EveryCodeDecodesToExactlyOneAddress)
{
    std::set<std::string> mot;
    for (int a = 0; a <= kMotAccessoryMax; ++a) {
        EXPECT_EQ(MotAccessoryCodes(a).size(), 6u);
        EXPECT_TRUE(mot.insert(MotAccessoryCodes(a)).second) << a;
        EXPECT_TRUE(mot.insert(MotRedVariant(MotAccessoryCodes(a))).second) << a;
    }
    std::set<std::string> decoder;
    for (int d = 1; d <= kMotDecoderMax; ++d) {
        EXPECT_EQ(MotDecoderCodes(d).size(), 4u);
        EXPECT_TRUE(decoder.insert(MotDecoderCodes(d)).second) << d;
    }
    std::set<std::string> dcc;
    for (int a = 1; a <= kDccAccessoryMax; ++a) {
        EXPECT_TRUE(dcc.insert(DccAccessoryCodes(a)).second) << a;
        EXPECT_TRUE(dcc.insert(DccGreenVariant(DccAccessoryCodes(a))).second) << a;
    }
}

// Decoding a red/green row finds the one address and half of the pair for each code.
TEST(CodeTables, PairSearchFindsEachCodeAndNothingElse)
{
    for (int a = 0; a <= kMotAccessoryMax; ++a) {
        const PairCode green = FindMotAccessoryPair(MotAccessoryCodes(a));
        const PairCode red = FindMotAccessoryPair(MotRedVariant(MotAccessoryCodes(a)));
        EXPECT_TRUE(green.address == a && green.tableHalf) << a;
        EXPECT_TRUE(red.address == a && !red.tableHalf) << a;
    }
    for (int a = 1; a <= kDccAccessoryMax; ++a) {
        const PairCode red = FindDccAccessoryPair(DccAccessoryCodes(a));
        const PairCode green = FindDccAccessoryPair(DccGreenVariant(DccAccessoryCodes(a)));
        EXPECT_TRUE(red.address == a && red.tableHalf) << a;
        EXPECT_TRUE(green.address == a && !green.tableHalf) << a;
    }
    // Texts the tables do not hold: lower-case digits, other lengths, no hex digits, the
    // stored form of DCC address 0, a code of the other format.
    for (const char* text : {"", "79f005", "79F00", "79F0050", "79F0G5", "000000"})
        EXPECT_EQ(FindDccAccessoryPair(text).address, -1) << text;
    for (const char* text : {"", "0300c3", "0300C", "FFFFFF00", "79F005"})
        EXPECT_EQ(FindMotAccessoryPair(text).address, -1) << text;

    // Across the whole code space: whatever a search answers is the table's code or its
    // variant of that very address.
    for (long key = 0; key < 0x1000000; key += 89) {
        char text[7];
        std::snprintf(text, sizeof text, "%06lX", key);
        const PairCode mot = FindMotAccessoryPair(text);
        if (mot.address >= 0) {
            const std::string& entry = MotAccessoryCodes(mot.address);
            EXPECT_EQ(mot.tableHalf ? entry : MotRedVariant(entry), text);
        }
        const PairCode dcc = FindDccAccessoryPair(text);
        if (dcc.address >= 0) {
            const std::string& entry = DccAccessoryCodes(dcc.address);
            EXPECT_EQ(dcc.tableHalf ? entry : DccGreenVariant(entry), text);
        }
    }
}

// The green code is the packet with output bit 1: rebuild it from the packet bytes.
TEST(CodeTables, DccGreenVariantIsThePacketWithOutputOne)
{
    for (int a : {1, 4, 5, 63, 64, 252, 253, 1000, 2044}) {
        const int d = (a - 1) / 4 + 1, p = (a - 1) % 4;
        const int b1 = 0x80 | (d & 0x3F);
        const int b2 = 0x80 | (((~(d >> 6)) & 7) << 4) | 0x08 | (p << 1) | 1;
        char expected[7];
        std::snprintf(expected, sizeof expected, "%02X%02X%02X", (b1 ^ b2) & 0xFF, (b2 << 1) & 0xFF,
                      ((b1 << 2) | 1) & 0xFF);
        EXPECT_EQ(DccGreenVariant(DccAccessoryCodes(a)), expected) << a;
    }
}

TEST(CodeTables, FunctionCodes)
{
    const char* mot[] = {"51", "05", "15", "55"};
    for (int f = 1; f <= 4; ++f) {
        EXPECT_EQ(MotFunctionCode(f), mot[f - 1]);
        EXPECT_EQ(MotFunctionNumber(mot[f - 1]), f);
    }
    const char* dcc[] = {"81", "82", "84", "88", "B1", "B2", "B4", "B8", "A1", "A2", "A4", "A8"};
    for (int f = 1; f <= 12; ++f) {
        EXPECT_EQ(DccFunctionCode(f), dcc[f - 1]);
        EXPECT_EQ(DccFunctionNumber(dcc[f - 1]), f);
    }
    EXPECT_EQ(MotFunctionCode(0), "");
    EXPECT_EQ(MotFunctionCode(5), "");
    EXPECT_EQ(DccFunctionCode(13), "");
    EXPECT_EQ(MotFunctionNumber("FF"), 0);
    EXPECT_EQ(DccFunctionNumber(""), 0);
}
