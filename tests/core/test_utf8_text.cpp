#include <gtest/gtest.h>

#include "core/Utf8Text.h"

// Columns of the tool's text tables: a character is one column, whether it takes one byte or
// several, and a byte outside UTF-8 is one column too (it is printed as it is).
TEST(Utf8Width, CountsCharactersNotBytes)
{
    const struct {
        const char* text;
        std::size_t width;
    } cases[] = {
        {"", 0},
        {"Rot", 3},
        {"Grün", 4},
        {"Turn (180°)", 11},
        {"\xe2\x82\xac", 1},     // the euro sign, three bytes
        {"\xf0\x9f\x9a\x82", 1}, // a locomotive, four bytes
        {"a\xff"
         "b",
         3},         // a stray byte
        {"\xc3", 1}, // a sequence cut short
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hz::Utf8Width(c.text), c.width) << c.text;
        const std::string padded = hz::PadToWidth(c.text, 12);
        EXPECT_EQ(hz::Utf8Width(padded), std::max<std::size_t>(12, c.width)) << c.text;
        EXPECT_EQ(padded.substr(0, std::string(c.text).size()), c.text);
    }
    EXPECT_EQ(hz::PadToWidth("Signal 1 grün", 4), "Signal 1 grün"); // wider already: unchanged
}
