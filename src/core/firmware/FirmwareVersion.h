#pragma once
// The firmware version as the reader keeps it (digits d.dd read into a float), for comparing.

#include <cmath>

namespace hz {

// The version in hundredths: 3.54 is 354, whether the float holds 3.5399999 or 3.5400001.
// Compare versions only this way, never as floats.
inline long VersionHundredths(float version) { return std::lround(static_cast<double>(version) * 100.0); }

} // namespace hz
