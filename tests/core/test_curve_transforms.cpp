// The servo curve generators and transforms, and the curve and set files, as pure functions
// on a record: the positions users know from the decoder editor, down to the last unit.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <vector>

#include "TestFiles.h"
#include "core/pages/servo/CurveFiles.h"
#include "core/pages/servo/CurveTransforms.h"

using namespace hz::pages::servo;
using hz::test::tempDir;
using hz::test::writeFile;

namespace {

struct Rec {
    std::array<std::int32_t, kRecordSize> e{};
    explicit Rec(int n, int fill = 0x55)
    {
        e.fill(fill);
        e[kPointCount] = n;
    }
    Record r() { return Record(e); }
    std::vector<int> positions(int n) const
    {
        std::vector<int> p;
        for (int i = 0; i < n; ++i)
            p.push_back(e[static_cast<std::size_t>(i)] & 0x7F);
        return p;
    }
};

std::vector<int> v(std::initializer_list<int> l) { return l; }

} // namespace

// The generators work out sine and logarithm themselves (the tool loads no maths library);
// every curve they can make must be the one the C library's sin and log10 give, point for point.
TEST(CurveTransforms, SineAndLogCurvesMatchTheMathsLibrary)
{
    const auto single = [](double value) { return static_cast<float>(value); };
    const auto position = [](double value) { return !(value > 0.0) ? 0 : value >= 127.0 ? 127 : static_cast<int>(value); };
    const auto sine = [&](double period) {
        return [=](int i, int n) {
            const float step = single(period / (n - 1));
            const float s = single(std::sin(i * static_cast<double>(step) + 1.5 * 3.14159));
            return position(single(s * 63.0 + 63.0));
        };
    };
    const auto logarithm = [&](int i, int n) {
        const float scale = single(127.0 / std::log10(static_cast<double>(n)));
        const float l = single(std::log10(static_cast<double>(i + 1)));
        return position(single(static_cast<double>(l) * static_cast<double>(scale)));
    };
    using Fn = void (*)(Record);
    struct Case {
        const char* name;
        Fn fn;
        std::function<int(int, int)> expected;
    } cases[] = {
        {"1/4 Sin", GenerateQuarterSine, sine(3.14159)},
        {"1/2 Sin", GenerateHalfSine, sine(6.28318)},
        {"Log", GenerateLog, logarithm},
    };
    for (const auto& c : cases)
        for (int n = 2; n <= kMaxPoints; ++n) {
            Rec r(n);
            c.fn(r.r());
            std::vector<int> expected;
            for (int i = 0; i < n; ++i)
                expected.push_back(c.expected(i, n));
            EXPECT_EQ(r.positions(n), expected) << c.name << " n=" << n;
        }
}

TEST(CurveTransforms, GeneratorsGiveTheKnownTables)
{
    using Fn = void (*)(Record);
    struct Case {
        const char* name;
        Fn fn;
        int n;
        std::vector<int> positions;
    } cases[] = {
        {"Lin", GenerateLin, 10, v({0, 14, 28, 42, 56, 70, 84, 98, 112, 127})},
        {"Log", GenerateLog, 10, v({0, 38, 60, 76, 88, 98, 107, 114, 121, 127})},
        {"1/4 Sin", GenerateQuarterSine, 10, v({0, 3, 14, 31, 52, 73, 94, 111, 122, 126})},
        {"1/2 Sin", GenerateHalfSine, 10, v({0, 14, 52, 94, 122, 122, 94, 52, 14, 0})},
        // 3 x single(127/3) lies exactly between two floats and rounds to the even one, 127
        {"Lin", GenerateLin, 4, v({0, 42, 84, 127})},
        {"1/2 Sin", GenerateHalfSine, 2, v({0, 0})},
        {"1/2 Sin", GenerateHalfSine, 3, v({0, 126, 0})},
        {"1/4 Sin", GenerateQuarterSine, 2, v({0, 126})},
        {"Log", GenerateLog, 2, v({0, 127})},
        {"Lin", GenerateLin, 100, {}},
        // a one-point curve: the generators divide by n - 1 or log10(1); the point becomes 0
        {"Lin", GenerateLin, 1, v({0})},
        {"Log", GenerateLog, 1, v({0})},
        {"1/4 Sin", GenerateQuarterSine, 1, v({0})},
        {"1/2 Sin", GenerateHalfSine, 1, v({0})},
        // a count of 0 or above 100 is 1 or 100 points
        {"Lin", GenerateLin, 0, v({0})},
    };
    for (const auto& c : cases) {
        Rec r(c.n);
        c.fn(r.r());
        const int n = PointCount(r.r());
        if (!c.positions.empty()) {
            EXPECT_EQ(r.positions(n), c.positions) << c.name << " n=" << c.n;
        }
        for (int i = 0; i < n; ++i) {
            EXPECT_GE(r.e[static_cast<std::size_t>(i)] & 0x7F, 0);
            EXPECT_EQ(r.e[static_cast<std::size_t>(i)] & 0x80, 0x00) << c.name << " keeps the relay flag clear";
        }
        // points beyond the count and the other entries keep their values
        for (int i = n; i < kRecordSize; ++i)
            if (i != kPointCount) {
                EXPECT_EQ(r.e[static_cast<std::size_t>(i)], 0x55) << c.name << " n=" << c.n << " entry " << i;
            }
    }
    Rec hundred(150);
    GenerateLin(hundred.r());
    EXPECT_EQ(hundred.e[99], 127);
    EXPECT_EQ(hundred.e[kPointCount], 150) << "the count itself is not rewritten";
}

TEST(CurveTransforms, RelayFlagsStayWithTheirTimeSlot)
{
    Rec r(10, 0);
    r.e[3] = 0x80;
    GenerateLin(r.r());
    EXPECT_EQ(r.e[3], 170);

    Rec m(5, 0);
    for (int i = 0; i < 5; ++i)
        m.e[static_cast<std::size_t>(i)] = 10 * (i + 1);
    m.e[0] |= 0x80;
    m.e[1] |= 0x80;
    MirrorHorizontal(m.r());
    EXPECT_EQ(m.positions(5), v({50, 40, 30, 20, 10}));
    EXPECT_EQ((std::vector<int>{m.e[0] & 0x80, m.e[1] & 0x80, m.e[2] & 0x80, m.e[3] & 0x80, m.e[4] & 0x80}),
              v({0x80, 0x80, 0, 0, 0}));

    Rec even(4, 0);
    even.e = {1, 2, 3, 0x84};
    even.e[kPointCount] = 4;
    MirrorHorizontal(even.r());
    EXPECT_EQ((std::vector<int>{even.e[0], even.e[1], even.e[2], even.e[3]}), v({4, 3, 2, 0x81}));

    Rec vert(3, 0);
    vert.e[0] = 0;
    vert.e[1] = 0x80 | 27;
    vert.e[2] = 127;
    vert.e[3] = 9;
    MirrorVertical(vert.r());
    EXPECT_EQ((std::vector<int>{vert.e[0], vert.e[1], vert.e[2], vert.e[3]}), v({127, 0x80 | 100, 0, 9}));
}

TEST(CurveTransforms, ScaleAndShiftTables)
{
    struct Case {
        bool scale;
        float value;
        std::vector<int> positions;
    } cases[] = {
        {true, 0.5f, v({0, 7, 14, 21, 28, 35, 42, 49, 56, 63})},
        {true, 2.0f, v({0, 28, 56, 84, 112, 127, 127, 127, 127, 127})},
        {true, 1.0f, v({0, 14, 28, 42, 56, 70, 84, 98, 112, 127})},
        {true, 0.1f, v({0, 1, 2, 4, 5, 7, 8, 9, 11, 12})},
        {false, -100.0f, v({0, 0, 0, 0, 0, 0, 0, 0, 12, 27})},
        {false, 64.0f, v({64, 78, 92, 106, 120, 127, 127, 127, 127, 127})},
        {false, -0.5f, v({0, 13, 27, 41, 55, 69, 83, 97, 111, 126})},
    };
    for (const auto& c : cases) {
        Rec r(10, 0x80);
        r.e[10] = 0x33;
        GenerateLin(r.r());
        if (c.scale)
            ScaleCurve(r.r(), c.value);
        else
            ShiftCurve(r.r(), c.value);
        EXPECT_EQ(r.positions(10), c.positions) << (c.scale ? "scale " : "shift ") << c.value;
        EXPECT_EQ(r.e[0] & 0x80, 0x80) << "relay kept";
        EXPECT_EQ(r.e[10], 0x33) << "point 10 lies beyond the curve";
    }
}

TEST(CurveTransforms, CopyTakesTheCurveButNotTheServoAddressOrButton)
{
    Rec from(7, 0), to(3, 0);
    for (int i = 0; i < kRecordSize; ++i) {
        from.e[static_cast<std::size_t>(i)] = i % 256;
        to.e[static_cast<std::size_t>(i)] = 200;
    }
    to.e[kPointCount] = 3;
    CopyCurve(to.r(), from.r());
    for (int i = 0; i < kRecordSize; ++i) {
        const bool curve = i < 100 || i == kPointCount || i == kStretch;
        EXPECT_EQ(to.e[static_cast<std::size_t>(i)], curve ? i : 200) << i;
    }
}

TEST(CurveTransforms, FieldNumbersTakeCommaOrPoint)
{
    const std::string big(400, '9'), tiny = "0," + std::string(400, '0') + "1";
    struct Case {
        const char* text;
        bool ok;
        float value;
    } cases[] = {
        {"0,5", true, 0.5f},
        {"0.5", true, 0.5f},
        {" 2 ", true, 2.0f},
        {"-100", true, -100.0f},
        {"+64", true, 64.0f},
        {",5", true, 0.5f},
        {"10,", true, 10.0f},
        {"0,1", true, 0.1f},
        {"", false, 0},
        {"abc", false, 0},
        {"1,2,3", false, 0},
        {"1e3", false, 0},
        {"--1", false, 0},
        {",", false, 0},
        {"1 0", false, 0},
        {"nan", false, 0},
        {"-,5", true, -0.5f},
        {"-0", true, 0.0f},
        {"0x10", false, 0},
        {"inf", false, 0},
        // the edges of a double: too large fails, too small to be anything but zero fails,
        // a value below the float's smallest reads as zero
        {big.c_str(), false, 0},
        {tiny.c_str(), false, 0},
        {"0,000000000000000000000000000000000000000000000000000000000001", true, 0.0f},
        {"3,14159265358979323846264338327950288", true, 3.14159265f},
    };
    for (const auto& c : cases) {
        float f = -7;
        EXPECT_EQ(ParseFieldNumber(c.text, f), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(f, c.value) << c.text;
        }
    }
}

TEST(CurveFiles, LinesAndTheirValues)
{
    struct Case {
        const char* line;
        int value;
    } cases[] = {{"0", 0},
                 {"170", 170},
                 {"255", 255},
                 {"300", 255},
                 {"99999999999999", 255},
                 {" 12\t", 12},
                 {"007", 7},
                 {"+5", 5},
                 {"", -1},
                 {"12a", -1},
                 {"-5", -1},
                 {"-0", -1},
                 {"1 2", -1},
                 {"0x10", -1},
                 {"   ", -1},
                 {"\xEF\xBB\xBF"
                  "1",
                  -1}};
    for (const auto& c : cases)
        EXPECT_EQ(TableByteOfLine(c.line), c.value) << c.line;
}

TEST(CurveFiles, CurveFileRulesAndRefusals)
{
    Rec r(10, 0);
    r.e[3] = 0x80 | 42;
    EXPECT_EQ(CurveFileLines(r.r()), (std::vector<std::string>{"0", "0", "0", "170", "0", "0", "0", "0", "0", "0"}));
    r.e[kPointCount] = 0;
    EXPECT_EQ(CurveFileLines(r.r()).size(), 1u);
    r.e[kPointCount] = 250;
    EXPECT_EQ(CurveFileLines(r.r()).size(), 100u);

    std::vector<std::string> many(150, "5");
    CurveFileContent c = ReadCurveFile(many, many.size());
    EXPECT_TRUE(c.cut);
    EXPECT_EQ(c.badLine, -1);
    EXPECT_EQ(c.points.size(), 100u);
    // a bad line beyond the first 100 is never looked at
    many[120] = "x";
    EXPECT_EQ(ReadCurveFile(many, many.size()).badLine, -1);
    many[5] = "12a";
    c = ReadCurveFile(many, many.size());
    EXPECT_TRUE(c.cut);
    EXPECT_EQ(c.badLine, 5);
    EXPECT_TRUE(c.points.empty());
    EXPECT_EQ(ReadCurveFile({"1", "", "3"}, 3).badLine, 1);
    EXPECT_EQ(ReadCurveFile({}, 0).badLine, 0) << "an empty file has no point 0";
    c = ReadCurveFile({"300", "4", "-0"}, 3);
    EXPECT_EQ(c.badLine, 2);
    c = ReadCurveFile({"300", "4"}, 2);
    EXPECT_EQ(c.points, v({255, 4}));
}

TEST(CurveFiles, SetFileInterleavesTheTwoHalves)
{
    Table t{};
    for (int e = 0; e < kTableSize; ++e)
        t[static_cast<std::size_t>(e)] = (e * 7) % 256;
    const std::vector<std::string> lines = SetFileLines(t);
    ASSERT_EQ(lines.size(), 512u);
    EXPECT_EQ(lines[0], "0");
    EXPECT_EQ(lines[1], std::to_string((256 * 7) % 256));
    EXPECT_EQ(lines[202], std::to_string((101 * 7) % 256));
    EXPECT_EQ(lines[203], std::to_string((357 * 7) % 256));
    EXPECT_EQ(lines[511], std::to_string((511 * 7) % 256));
    const SetFileContent back = ReadSetFile(lines, lines.size());
    EXPECT_FALSE(back.tooLong);
    EXPECT_EQ(back.badLine, -1);
    EXPECT_EQ(back.table, t);

    struct Case {
        std::size_t count;
        int bad;
        const char* why;
    } cases[] = {
        {513, -2, "too many lines"},
        {300, 300, "the first incomplete pair"},
        {511, 510, "the last pair lacks its second line"},
        {0, 0, "an empty file"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> l(c.count, "1");
        const SetFileContent s = ReadSetFile(l, l.size());
        EXPECT_EQ(s.tooLong, c.bad == -2) << c.why;
        if (c.bad >= 0) {
            EXPECT_EQ(s.badLine, c.bad) << c.why;
        }
    }
    std::vector<std::string> bad = lines;
    bad[77] = "x";
    EXPECT_EQ(ReadSetFile(bad, bad.size()).badLine, 76) << "reported at the pair's first line";
}

TEST(CurveFiles, ReadingAcceptsEditorsLineEndsAndByteOrderMark)
{
    const auto dir = tempDir("curve-files");
    struct Case {
        const char* content;
        std::vector<std::string> lines;
    } cases[] = {
        {"1\r\n2\r\n3\r\n", {"1", "2", "3"}},
        {"1\n2\n3", {"1", "2", "3"}},
        {"\xEF\xBB\xBF"
         "1\r\n2\r\n",
         {"1", "2"}},
        {"1\r2\r", {"1", "2"}},
        {"1\r\n\r\n", {"1", ""}},
    };
    int k = 0;
    for (const auto& c : cases) {
        const std::string path = (dir / ("f" + std::to_string(k++) + ".cur")).string();
        writeFile(path, c.content);
        std::vector<std::string> lines;
        std::size_t total = 0;
        std::string error;
        ASSERT_TRUE(ReadTextLines(path, 100, lines, total, error)) << error;
        EXPECT_EQ(lines, c.lines) << c.content;
        EXPECT_EQ(total, c.lines.size());
    }
    std::vector<std::string> lines;
    std::size_t total = 0;
    std::string error;
    EXPECT_FALSE(ReadTextLines((dir / "missing.cur").string(), 100, lines, total, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ReadTextLines(dir.string(), 100, lines, total, error)) << "a folder is no file";
    std::filesystem::remove_all(dir);
}

// Every line is checked whole: a line longer than any record must not be cut into another
// number. A long line is taken exactly as the short line with the same number is.
TEST(CurveFiles, LongLinesAreCheckedWhole)
{
    const auto dir = tempDir("curve-long");
    const std::string many(17000, '0'), blanks(17000, ' ');
    struct Case {
        std::string longLine, shortLine;
        int value; // -1: refused
    } cases[] = {
        {many + "x", "0x", -1},    // cut after 17,000 characters it would read as 0
        {blanks + "5", "   5", 5}, // cut, it would be refused as empty
        {many + "05", "005", 5},   {many + "300", "0300", 255}, {"7" + many, "70000", 255},
    };
    auto load = [&](const std::string& content, const std::string& name, std::size_t keep) {
        const std::string path = (dir / name).string();
        writeFile(path, content);
        std::vector<std::string> lines;
        std::size_t total = 0;
        std::string error;
        EXPECT_TRUE(ReadTextLines(path, keep, lines, total, error)) << error;
        return std::make_pair(lines, total);
    };
    for (const auto& c : cases) {
        const std::string why = c.shortLine;
        // a curve file: the long line as point 1
        const auto [lines, total] = load("1\r\n" + c.longLine + "\r\n2\r\n", "c.cur", 100);
        const CurveFileContent curve = ReadCurveFile(lines, total);
        const CurveFileContent twin = ReadCurveFile({"1", c.shortLine, "2"}, 3);
        EXPECT_EQ(curve.badLine, twin.badLine) << why;
        EXPECT_EQ(curve.points, twin.points) << why;
        EXPECT_EQ(curve.badLine, c.value < 0 ? 1 : -1) << why;
        if (c.value >= 0) {
            EXPECT_EQ(curve.points, v({1, c.value, 2})) << why;
        }
        // a set file: the long line as line 7, reported at its pair's first line
        std::string set;
        for (int k = 0; k < kTableSize; ++k)
            set += (k == 7 ? c.longLine : "1") + "\n";
        const auto [setLines, setTotal] = load(set, "s.set", kTableSize);
        const SetFileContent s = ReadSetFile(setLines, setTotal);
        EXPECT_EQ(s.badLine, c.value < 0 ? 6 : -1) << why;
        if (c.value >= 0) {
            EXPECT_EQ(s.table[256 + 3], c.value) << why;
        }
    }

    // Only the first megabyte is read. A line that does not end within it cannot be checked
    // and is refused at its own number; it is no reason to claim a hundred lines.
    {
        const auto [lines, total] = load("1\n" + std::string(3 << 20, '0') + "5\n2\n", "huge.cur", 100);
        const CurveFileContent curve = ReadCurveFile(lines, total);
        EXPECT_FALSE(curve.cut);
        EXPECT_EQ(curve.badLine, 1);
    }
    {
        // a megabyte of short lines is still a set file with too many lines
        std::string huge;
        while (huge.size() <= (1u << 20))
            huge += "1\r\n";
        const auto [lines, total] = load(huge, "huge.set", kTableSize);
        EXPECT_TRUE(ReadSetFile(lines, total).tooLong);
    }
    std::filesystem::remove_all(dir);
}
