#pragma once
// Numbers shown on the pages, in the decoder editor's traditional printf forms with a point
// as decimal separator whatever the user's locale says: "(%3.1f sec.)", "Zeit-Raster = %3.0f ms".

#include <string>

namespace hz::pages {

// Formats one double through a printf format that holds exactly one floating-point
// conversion (%f, %e or %g with flags, width and precision). The result always uses a point;
// the process locale (which Qt sets from the environment) is not consulted.
std::string PrintfNumber(const char* format, double value);

} // namespace hz::pages
