#include "core/pages/servo/CurveTransforms.h"

#include <algorithm>
#include <cmath>
#include <locale>
#include <sstream>
#include <string>

namespace hz::pages::servo {

namespace {

// Conversion to a 32-bit float, to nearest, ties to even (the FPU's default rounding).
float single(double value) { return static_cast<float>(value); }

// Truncation toward zero into 0..127; values out of any sensible range (and NaN) are limited
// before the conversion, so that it is always defined.
int truncPosition(double value)
{
    if (!(value > 0.0))
        return 0;
    if (value >= 127.0)
        return 127;
    return static_cast<int>(value);
}

// Sine and common logarithm for the generators, worked out in long double and rounded once to
// double. The tool needs nothing else of the maths library, and a process that does not load
// it starts faster; the curves are the same point for point as with the C library's sin and
// log10 (the tests compare every point count).
constexpr long double kHalfPiL = 1.570796326794896619231321691639751442L;
constexpr long double kLn2L = 0.693147180559945309417232121458176568L;
constexpr long double kLn10L = 2.302585092994045684017968429835335162L;

// sin r and cos r for |r| <= pi/4, by their series: the terms fall below the long double's
// precision long before the twentieth.
long double sineSeries(long double r)
{
    const long double r2 = r * r;
    long double term = r, sum = r;
    for (int k = 1; k < 14; ++k) {
        term *= -r2 / ((2 * k) * (2 * k + 1));
        sum += term;
    }
    return sum;
}

long double cosineSeries(long double r)
{
    const long double r2 = r * r;
    long double term = 1, sum = 1;
    for (int k = 1; k < 14; ++k) {
        term *= -r2 / ((2 * k - 1) * (2 * k));
        sum += term;
    }
    return sum;
}

double sine(double x)
{
    // x = q pi/2 + r with |r| <= pi/4; the generators' arguments stay below 20.
    const long double q = static_cast<long double>(static_cast<long long>(x / kHalfPiL + (x < 0 ? -0.5L : 0.5L)));
    const long double r = static_cast<long double>(x) - q * kHalfPiL;
    switch (static_cast<long long>(q) & 3) {
    case 0:
        return static_cast<double>(sineSeries(r));
    case 1:
        return static_cast<double>(cosineSeries(r));
    case 2:
        return static_cast<double>(-sineSeries(r));
    default:
        return static_cast<double>(-cosineSeries(r));
    }
}

// log10 of a point count (1 .. 100): x = m 2^e with m in [1, 2), ln m = 2 artanh((m-1)/(m+1)).
double commonLog(double x)
{
    int e = 0;
    long double m = x;
    while (m >= 2) {
        m /= 2;
        ++e;
    }
    while (m < 1) {
        m *= 2;
        --e;
    }
    const long double t = (m - 1) / (m + 1), t2 = t * t;
    long double power = t, sum = 0;
    for (int k = 1; k < 80; k += 2) {
        sum += power / k;
        power *= t2;
    }
    return static_cast<double>((e * kLn2L + 2 * sum) / kLn10L);
}

// Sets the position of a point and keeps its relay flag.
void setPosition(std::int32_t& entry, int position) { entry = (entry & 0x80) | (position & 0x7F); }

// Fills points 0..n-1 with f(i); a one-point curve gets position 0.
template <typename F> void generate(Record record, F&& positionOf)
{
    const int n = PointCount(record);
    if (n == 1) {
        setPosition(record[0], 0);
        return;
    }
    for (int i = 0; i < n; ++i)
        setPosition(record[static_cast<std::size_t>(i)], positionOf(i, n));
}

// The firmware editor's constants: pi as 3.14159, 1.5 pi computed in double from it.
constexpr double kPi = 3.14159;
constexpr double kTwoPi = 6.28318;

void generateSine(Record record, double period)
{
    generate(record, [period](int i, int n) {
        const float step = single(period / (n - 1));
        const float s = single(sine(i * static_cast<double>(step) + 1.5 * kPi));
        return truncPosition(single(s * 63.0 + 63.0));
    });
}

} // namespace

int PointCount(ConstRecord record)
{
    const std::int32_t n = record[kPointCount];
    return n < 1 ? 1 : (n > kMaxPoints ? kMaxPoints : static_cast<int>(n));
}

void GenerateLin(Record record)
{
    generate(record, [](int i, int n) {
        const float step = single(127.0 / (n - 1));
        return truncPosition(single(i * static_cast<double>(step)));
    });
}

void GenerateLog(Record record)
{
    generate(record, [](int i, int n) {
        const float scale = single(127.0 / commonLog(static_cast<double>(n)));
        const float l = single(commonLog(static_cast<double>(i + 1)));
        return truncPosition(single(static_cast<double>(l) * static_cast<double>(scale)));
    });
}

void GenerateQuarterSine(Record record) { generateSine(record, kPi); }

void GenerateHalfSine(Record record) { generateSine(record, kTwoPi); }

void MirrorVertical(Record record)
{
    const int n = PointCount(record);
    for (int i = 0; i < n; ++i) {
        std::int32_t& e = record[static_cast<std::size_t>(i)];
        setPosition(e, 127 - PositionOf(e));
    }
}

void MirrorHorizontal(Record record)
{
    const int n = PointCount(record);
    for (int i = 0; i < n / 2; ++i) {
        std::int32_t& a = record[static_cast<std::size_t>(i)];
        std::int32_t& b = record[static_cast<std::size_t>(n - 1 - i)];
        const int pa = PositionOf(a), pb = PositionOf(b);
        setPosition(a, pb);
        setPosition(b, pa);
    }
}

void ScaleCurve(Record record, float factor)
{
    const int n = PointCount(record);
    for (int i = 0; i < n; ++i) {
        std::int32_t& e = record[static_cast<std::size_t>(i)];
        setPosition(e, truncPosition(PositionOf(e) * static_cast<double>(factor)));
    }
}

void ShiftCurve(Record record, float offset)
{
    const int n = PointCount(record);
    for (int i = 0; i < n; ++i) {
        std::int32_t& e = record[static_cast<std::size_t>(i)];
        setPosition(e, truncPosition(PositionOf(e) + static_cast<double>(offset)));
    }
}

void CopyCurve(Record to, ConstRecord from)
{
    std::copy_n(from.begin(), kMaxPoints, to.begin());
    to[kPointCount] = from[kPointCount];
    to[kStretch] = from[kStretch];
}

bool ParseFieldNumber(std::string_view text, float& value)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    std::string s(text);
    std::size_t k = 0;
    if (k < s.size() && (s[k] == '+' || s[k] == '-'))
        ++k;
    int digits = 0, separators = 0;
    for (std::size_t i = k; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9') {
            ++digits;
        } else if (s[i] == ',' || s[i] == '.') {
            s[i] = '.';
            ++separators;
        } else {
            return false;
        }
    }
    if (digits == 0 || separators > 1)
        return false;
    // The text is plain decimal now; read it in the C locale whatever the program's locale is
    // (the window's locale may write a decimal comma). A number too large for a double fails;
    // one so small that it reads as zero is refused as well, as any value that is not the text.
    std::istringstream in(s[0] == '+' ? s.substr(1) : s);
    in.imbue(std::locale::classic());
    double d = 0;
    in >> d;
    if (in.fail() || in.peek() != std::char_traits<char>::eof() || !std::isfinite(d))
        return false;
    if (d == 0 && s.find_first_of("123456789") != std::string::npos)
        return false;
    const float f = single(d);
    if (!std::isfinite(f))
        return false;
    value = f;
    return true;
}

} // namespace hz::pages::servo
