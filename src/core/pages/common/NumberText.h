#pragma once
// Numbers shown on the pages. The decoder editor's own printf forms ("(%3.1f sec.)",
// "Zeit-Raster = %3.4f s") always read with a point, as they always have; numbers shown with
// the system's decimal separator (the servo pulse times) read with the comma of the German
// program. Neither depends on the locale the process runs in.

#include <string>

namespace hz::pages {

// Formats one double through a printf format that holds exactly one floating-point
// conversion (%f, %e or %g with flags, width and precision): "(%3.1f sec.)" with 10 gives
// "(10.0 sec.)". The result always uses a point; the process locale (which Qt sets from the
// environment) is not consulted.
std::string PrintfNumber(const char* format, double value);

// PrintfNumber with a decimal comma in the number: "%.3f ms" with 2.016 gives "2,016 ms". The
// text around the number keeps its points.
std::string CommaNumber(const char* format, double value);

// A number as the user typed it (a point or a comma), shown with the page's decimal comma.
std::string WithDecimalComma(std::string text);

// The warnings every page gives for a refused number, in the firmware editor's words.
inline constexpr const char* kNotANumber = "Ungültige Eingabe.\rZugelassen sind nur Zahlen";
// "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..50".
std::string RangeWarning(int lowest, int highest);

} // namespace hz::pages
