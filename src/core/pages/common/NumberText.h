#pragma once
// Numbers shown on the pages, in the decoder editor's traditional printf forms with a point
// as decimal separator whatever the user's locale says: "(%3.1f sec.)", "Zeit-Raster = %3.0f ms".

#include <string>

namespace hz::pages {

// Formats one double through a printf format that holds exactly one floating-point
// conversion (%f, %e or %g with flags, width and precision). The result always uses a point;
// the process locale (which Qt sets from the environment) is not consulted.
std::string PrintfNumber(const char* format, double value);

// The warnings every page gives for a refused number, in the firmware editor's words.
inline constexpr const char* kNotANumber = "Ungültige Eingabe.\rZugelassen sind nur Zahlen";
// "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..50".
std::string RangeWarning(int lowest, int highest);

} // namespace hz::pages
