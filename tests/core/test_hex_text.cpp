#include <gtest/gtest.h>

#include "core/firmware/HexText.h"

using hz::HexByteValue;

TEST(HexByteValue, ReadsTwoCharactersLeniently)
{
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"00", 0},    {"3F", 63},   {"3f", 63}, {"FF", 255},
        {"ff", 255},  {"A0", 160},  {"7", 112}, // one character: padded with a NUL, so it is the high digit
        {"", 0},      {"G0", 112},              // "G" is 0x47: its low four bits give 7
        {"0G", 7},    {"1234", 18},             // only the first two characters count
        {"zz", 0xAA},                           // 'z' = 0x7A, low bits 10
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
        {"0", true, 0},
        {"12", true, 12},
        {"+7", true, 7},
        {"-1", true, -1},
        {"007", true, 7},
        {"", false, 0},
        {"-", false, 0},
        {"12a", false, 0},
        {" 5", false, 0},
        {"5 ", false, 0},
        {"0x10", false, 0},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0},
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

// Whatever a file holds is quoted in messages; a terminal or the window must see it as text.
TEST(QuotedText, EscapesControlBytesAndShortensLongQuotes)
{
    struct Case {
        std::string text;
        std::string quoted;
    } cases[] = {
        {":020000000830C6", ":020000000830C6"},
        {":02\x1B[2J00", ":02\\x1B[2J00"},     // ESC would clear the terminal
        {"A\aB", "A\\x07B"},                   // BEL
        {"A\rB\tC\nD", "A\\x0DB\\x09C\\x0AD"}, // CR, TAB, LF
        {"A\x7F"
         "B",
         "A\\x7FB"}, // DEL
        {std::string("A\0B", 3), "A\\x00B"},
        {"\xC3\xA4\xE4\x9B", "\\xC3\\xA4\\xE4\\x9B"}, // any byte above 0x7F: valid UTF-8 or not, a C1 CSI
        {"C:\\x1B", "C:\\\\x1B"},                     // a backslash in the file is not an escape of ours
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hz::QuotedText(c.text), c.quoted) << c.quoted;

    // a long quote keeps its start and ends in "…"; an escape is never split
    EXPECT_EQ(hz::QuotedText(std::string(17000, '0')), std::string(80, '0') + "…");
    EXPECT_EQ(hz::QuotedText(std::string(80, '0')), std::string(80, '0')) << "exactly at the limit: whole";
    EXPECT_EQ(hz::QuotedText(std::string(78, '0') + "\x1B" + "0"), std::string(78, '0') + "…");
    EXPECT_EQ(hz::QuotedText(std::string(30, '\x1B')).size(), 20 * 4 + std::string("…").size());
}

TEST(DisplayName, EscapesControlCharactersAndShowsStrayBytesAsReplacement)
{
    struct Case {
        std::string name;
        std::string shown;
    } cases[] = {
        {"weiche.hex", "weiche.hex"},
        {"Wei\xC3\xA4"
         "che 1 (alt).hex",
         "Wei\xC3\xA4"
         "che 1 (alt).hex"},                                         // plain UTF-8 stays as it is
        {"/tmp/a\\b.hex", "/tmp/a\\b.hex"},                          // a backslash too
        {"x\x1B[2J.hex", "x\\x1B[2J.hex"},                           // ESC would clear the terminal
        {"a\nhexzwirbel-cli: b.hex", "a\\x0Ahexzwirbel-cli: b.hex"}, // LF would fake a line
        {"a\tb\rc\x7F", "a\\x09b\\x0Dc\\x7F"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"csi\xC2\x9B"
         "2J",
         "csi\\xC2\\x9B2J"},              // U+009B, a C1 control
        {"\xC2\xA0nbsp", "\xC2\xA0nbsp"}, // U+00A0 is no control character
        {"Wei\xFF"
         "che.hex",
         "Wei\xEF\xBF\xBD"
         "che.hex"}, // not UTF-8: U+FFFD, as in JSON
        {"\x9B"
         "2J",
         "\xEF\xBF\xBD"
         "2J"}, // a lone C1 byte is no character at all
        {"\xC3", "\xEF\xBF\xBD"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hz::DisplayName(c.name), c.shown) << c.shown;
        // shown twice is shown once: a name already shown passes through unchanged
        EXPECT_EQ(hz::DisplayName(c.shown), c.shown) << c.shown;
    }
    // nothing is shortened
    EXPECT_EQ(hz::DisplayName(std::string(5000, 'a')), std::string(5000, 'a'));
}
