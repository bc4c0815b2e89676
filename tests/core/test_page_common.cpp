// Pieces every page shares: printf-style number texts (with the point, and with the comma where a
// page shows the system's separator), and the drawing canvas whose pixels the window paints.

#include <gtest/gtest.h>

#include "GermanNumbers.h"
#include "core/firmware/HexText.h"
#include "core/pages/common/Canvas.h"
#include "core/pages/common/NumberText.h"

using namespace hz::pages;

TEST(NumberText, PrintfFormsKeepThePointAndPulseTimesTheCommaWhateverTheLocaleSays)
{
    struct Case {
        const char* format;
        double value;
        const char* printf; // the firmware editor's own printf forms: a point
        const char* comma;  // numbers shown with the system's separator: the German comma
    } const cases[] = {
        {"(%3.1f sec.)", 10.0, "(10.0 sec.)", "(10,0 sec.)"}, // the point of "sec." is text, not number
        {"(%3.1f sec.)", 0.5, "(0.5 sec.)", "(0,5 sec.)"},
        {"Zeit-Raster = %3.0f ms", 200.0, "Zeit-Raster = 200 ms", "Zeit-Raster = 200 ms"},
        {"Zeit-Raster = %3.0f ms", 20.0, "Zeit-Raster =  20 ms", "Zeit-Raster =  20 ms"},
        {"Zeit-Raster = %3.4f s", 4.0, "Zeit-Raster = 4.0000 s", "Zeit-Raster = 4,0000 s"},
        {"Gesamtzeit = %3.4f min", 200000.0 / 60000.0, "Gesamtzeit = 3.3333 min", "Gesamtzeit = 3,3333 min"},
        {"Gesamtzeit = %3.4f h", 6000000.0 / 360000.0, "Gesamtzeit = 16.6667 h", "Gesamtzeit = 16,6667 h"},
        {"%.3f", 2.016, "2.016", "2,016"},
        {"%%. %.1f %%.", 1.25, "%. 1.2 %.", "%. 1,2 %."},
    };
    auto check = [&](const char* where) {
        for (const Case& c : cases) {
            EXPECT_EQ(PrintfNumber(c.format, c.value), c.printf) << c.format << " in " << where;
            EXPECT_EQ(CommaNumber(c.format, c.value), c.comma) << c.format << " in " << where;
        }
        // Every printf-style message reads the same too ("Version des HEX-File: %1.2f ").
        EXPECT_EQ(hz::strprintf("Version des HEX-File: %1.2f ", 3.2), "Version des HEX-File: 3.20 ") << where;
    };
    check("C");
    // A German desktop gives the window a German LC_NUMERIC, where printf itself writes a comma.
    const GermanNumbers german;
    ASSERT_TRUE(GermanNumbers::active()) << "no German locale to test with: install Debian's package \"locales\"";
    check("de_DE");
}

TEST(CommaNumber, TypedNumbersAreShownWithTheComma)
{
    EXPECT_EQ(WithDecimalComma("0.5"), "0,5");
    EXPECT_EQ(WithDecimalComma("0,5"), "0,5");
    EXPECT_EQ(WithDecimalComma("-10"), "-10");
}

namespace {

char at(const std::vector<Colour>& px, int width, int x, int y)
{
    const Colour c = px[std::size_t(y * width + x)];
    if (c == colours::White)
        return '.';
    if (c == colours::Black)
        return '#';
    if (c == colours::Red)
        return 'r';
    if (c == colours::Green)
        return 'g';
    return '?';
}

std::vector<std::string> picture(int w, int h, const Drawing& d)
{
    const auto px = RenderDrawing(w, h, d);
    std::vector<std::string> rows;
    for (int y = 0; y < h; ++y) {
        std::string row;
        for (int x = 0; x < w; ++x)
            row += at(px, w, x, y);
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(Canvas, DrawsAsAWindowCanvasDoes)
{
    Canvas c(8, 5);
    c.Clear();
    // rectangle: outline on x1..x2-1 and y1..y2-1, inside in the brush colour
    c.brush = colours::Red;
    c.Rectangle(0, 0, 4, 4);
    // line: the end point is left out; a line of length 0 draws nothing
    c.pen = colours::Green;
    c.MoveTo(4, 4);
    c.LineTo(8, 0);
    c.MoveTo(6, 4);
    c.LineTo(6, 4);
    const std::vector<std::string> expected = {
        "####....", "#rr#...g", "#rr#..g.", "####.g..", "....g...",
    };
    EXPECT_EQ(picture(8, 5, c.ops()), expected);
}

TEST(Canvas, ClipsWhatLiesOutsideTheImage)
{
    Canvas c(4, 3);
    c.brush = colours::Red;
    c.Rectangle(-2, -2, 2, 10); // only the right edge and the inside show
    c.pen = colours::Green;
    c.MoveTo(-100, 2);
    c.LineTo(100, 2);
    c.Rectangle(3, 0, 3, 3); // no width: nothing
    const std::vector<std::string> expected = {"r#..", "r#..", "gggg"};
    EXPECT_EQ(picture(4, 3, c.ops()), expected);
}
