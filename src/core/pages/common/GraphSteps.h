#pragma once
// Pointer positions on the page images (curves, relay and blink steps) as whole numbers.

namespace hz::pages {

// Truncation toward zero, clamped to lo..hi before it becomes an int: a pointer dragged far
// outside an image (or a quotient that is not a number) still gives the nearest step or level.
inline int TruncClamped(double v, int lo, int hi)
{
    if (!(v > lo))
        return lo;
    if (v >= hi)
        return hi;
    return static_cast<int>(v);
}

} // namespace hz::pages
