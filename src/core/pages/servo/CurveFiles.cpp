#include "core/pages/servo/CurveFiles.h"

#include <algorithm>
#include <cerrno>

#include "core/SystemError.h"
#include "core/firmware/HexReader.h"
#include "core/firmware/HexText.h"
#include "core/platform/Platform.h"

namespace hz::pages::servo {

namespace {

// A curve or set file is a few kilobytes. Only the first megabyte of a file is read; within
// it every line is read whole, so that its number is checked as a whole: a line cut short
// could read as another number ("000…0x" as 0).
constexpr std::size_t kReadLimit = 1 << 20;

} // namespace

std::vector<std::string> CurveFileLines(ConstRecord record)
{
    const int n = PointCount(record);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        lines.push_back(std::to_string(record[static_cast<std::size_t>(i)] & 0xFF));
    return lines;
}

std::vector<std::string> SetFileLines(const Table& table)
{
    std::vector<std::string> lines;
    lines.reserve(kTableSize);
    for (std::size_t i = 0; i < kTableSize / 2; ++i) {
        lines.push_back(std::to_string(table[i] & 0xFF));
        lines.push_back(std::to_string(table[kTableSize / 2 + i] & 0xFF));
    }
    return lines;
}

int TableByteOfLine(const std::string& line)
{
    std::string_view text(line);
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    // Only digits (a plus sign allowed): a negative number has no table byte.
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    // Leading zeros do not make a number larger; a very long number is above 255 anyway.
    while (text.size() > 1 && text.front() == '0')
        text.remove_prefix(1);
    if (text.size() > 3)
        return 255;
    int value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return std::min(value, 255);
}

CurveFileContent ReadCurveFile(const std::vector<std::string>& lines, std::size_t totalLines)
{
    CurveFileContent r;
    std::size_t count = totalLines;
    if (totalLines > static_cast<std::size_t>(kMaxPoints)) {
        r.cut = true;
        count = kMaxPoints;
    }
    if (count == 0) {
        r.badLine = 0;
        return r;
    }
    for (std::size_t k = 0; k < count; ++k) {
        // A line counted but not at hand (one that ran past the read limit) is no number.
        const int v = k < lines.size() ? TableByteOfLine(lines[k]) : -1;
        if (v < 0) {
            r.badLine = static_cast<int>(k);
            r.points.clear();
            return r;
        }
        r.points.push_back(v);
    }
    return r;
}

SetFileContent ReadSetFile(const std::vector<std::string>& lines, std::size_t totalLines)
{
    SetFileContent r;
    if (totalLines > static_cast<std::size_t>(kTableSize)) {
        r.tooLong = true;
        return r;
    }
    const std::size_t available = std::min(totalLines, lines.size());
    for (std::size_t k = 0; k < kTableSize; k += 2) {
        const int a = k < available ? TableByteOfLine(lines[k]) : -1;
        const int b = k + 1 < available ? TableByteOfLine(lines[k + 1]) : -1;
        if (a < 0 || b < 0) {
            r.badLine = static_cast<int>(k);
            return r;
        }
        r.table[k / 2] = a;
        r.table[kTableSize / 2 + k / 2] = b;
    }
    return r;
}

bool ReadTextLines(const std::string& path, std::size_t keep, std::vector<std::string>& lines, std::size_t& totalLines,
                   std::string& error)
{
    std::string text;
    bool goesOn = false;
    if (const int err = platform::ReadFile(path, text, kReadLimit, &goesOn); err != 0) {
        error = SystemErrorReason(err);
        return false;
    }
    lines = splitLines(text, keep, &totalLines, kReadLimit);
    if (goesOn) {
        // The file goes on beyond what was read. Its last line read is not whole, unless the
        // read ended on a line break, and then at least one more line follows. That line
        // counts, but it is not kept: unseen, it can only be refused as not a number.
        const bool endedOnBreak = text.back() == '\r' || text.back() == '\n';
        if (endedOnBreak)
            ++totalLines;
        else if (lines.size() == totalLines)
            lines.pop_back();
    }
    return true;
}

} // namespace hz::pages::servo
