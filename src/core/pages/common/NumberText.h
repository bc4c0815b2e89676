#pragma once
// Numbers shown on the pages, in the decoder editor's traditional printf forms ("(%3.1f sec.)",
// "Zeit-Raster = %3.0f ms"), with the decimal comma every page of this German program shows,
// whatever the user's locale says.

#include <string>

namespace hz::pages {

// Formats one double through a printf format that holds exactly one floating-point
// conversion (%f, %e or %g with flags, width and precision). The result always uses a point;
// the process locale (which Qt sets from the environment) is not consulted.
std::string PrintfNumber(const char* format, double value);

// PrintfNumber with a decimal comma in the number: "(%3.1f sec.)" with 10 gives "(10,0 sec.)".
// The text around the number keeps its points ("sec.").
std::string CommaNumber(const char* format, double value);

// A number as the user typed it (a point or a comma), shown with the page's decimal comma.
std::string WithDecimalComma(std::string text);

// The warnings every page gives for a refused number, in the firmware editor's words.
inline constexpr const char* kNotANumber = "Ungültige Eingabe.\rZugelassen sind nur Zahlen";
// "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..50".
std::string RangeWarning(int lowest, int highest);

} // namespace hz::pages
