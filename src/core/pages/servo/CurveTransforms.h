#pragma once
// The curve generators and transforms of the servo curve page, as pure functions on one
// record of the working copy (128 entries: points 0..99, then the servo's flags, the point
// count, the stretch factor and the address settings).
//
// A point is one table byte: bits 0..6 the servo position (0 bottom .. 127 top), bit 7 the
// relay state of that moment. Every function here except the copy treats the relay flag as
// belonging to the point's time slot: it computes a new position from the old one and puts
// the point's own relay flag back. Only points 0..n-1 are touched, n being the record's point
// count clamped to 1..100.
//
// The decoders' curves have always been computed in single-precision steps (each stored
// intermediate rounded to a 32-bit float, to nearest, ties to even; products and sums in
// double; integers by truncation toward zero). The functions keep exactly that arithmetic, so
// a curve made here is the curve users know from earlier versions, down to the last unit.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace hz::pages::servo {

inline constexpr int kRecordSize = 128;
inline constexpr int kMaxPoints = 100;
// Entries of a record after the points.
inline constexpr int kServoFlags = 100;
inline constexpr int kPointCount = 101;
inline constexpr int kStretch = 102;
inline constexpr int kButtonAction = 110;

using Record = std::span<std::int32_t, kRecordSize>;
using ConstRecord = std::span<const std::int32_t, kRecordSize>;

// The point count of a record as every operation uses it: entry 101 clamped to 1..100.
int PointCount(ConstRecord record);

// Position and relay flag of a point.
inline int PositionOf(std::int32_t entry) { return entry & 0x7F; }
inline bool RelayOf(std::int32_t entry) { return (entry & 0x80) != 0; }

// "Lin": a straight rise from 0 to 127.
void GenerateLin(Record record);
// "Log": a logarithmic rise from 0 to 127, fast at first and flat at the end.
void GenerateLog(Record record);
// "1/4 Sin": half a sine period from its minimum to its maximum (0 to 126).
void GenerateQuarterSine(Record record);
// "1/2 Sin": a whole sine period from minimum to minimum (0 up to 126 and back to 0).
void GenerateHalfSine(Record record);
// A curve of a single point has nothing to rise through: every generator puts that point at
// the curve's start, position 0 (relay flag kept).

// "vertikal": position = 127 - position.
void MirrorVertical(Record record);
// "horizontal": the positions in reverse order; the relay flags stay where they are.
void MirrorHorizontal(Record record);

// Multiplies every position by `factor` (truncated, limited to 0..127).
void ScaleCurve(Record record, float factor);
// Adds `offset` to every position (truncated, limited to 0..127).
void ShiftCurve(Record record, float offset);

// Copies the points with their relay flags, the point count and the stretch factor of `from`
// into `to`. The servo flags, the address settings and the push-button action stay: they
// belong to the servo, the address and the push button of `to`, not to its curve.
void CopyCurve(Record to, ConstRecord from);

// A number as the user types it into the scale and shift fields: optional blanks, an optional
// sign, digits with either a comma or a point as decimal separator, optional blanks. The
// value is rounded to single precision. False for anything else (empty, letters, two
// separators, exponents, non-finite numbers).
bool ParseFieldNumber(std::string_view text, float& value);

} // namespace hz::pages::servo
