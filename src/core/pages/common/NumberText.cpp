#include "core/pages/common/NumberText.h"

#include <algorithm>
#include <string_view>

#include "core/firmware/HexText.h"

namespace hz::pages {

std::string PrintfNumber(const char* format, double value)
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return strprintf(format, value);
#pragma GCC diagnostic pop
}

std::string CommaNumber(const char* format, double value)
{
    // The number is what the one conversion makes; the text before and after it is the
    // format's own, with "%%" for a percent sign.
    const std::string f(format);
    auto literal = [](std::string_view part) {
        std::string out;
        for (std::size_t i = 0; i < part.size(); ++i) {
            out += part[i];
            if (part[i] == '%' && i + 1 < part.size() && part[i + 1] == '%')
                ++i;
        }
        return out;
    };
    std::size_t start = 0;
    while ((start = f.find('%', start)) != std::string::npos && start + 1 < f.size() && f[start + 1] == '%')
        start += 2;
    if (start == std::string::npos || start + 1 >= f.size())
        return PrintfNumber(format, value);
    const std::size_t end = f.find_first_of("fFeEgGaA", start + 1);
    if (end == std::string::npos)
        return PrintfNumber(format, value);
    const std::string number = WithDecimalComma(PrintfNumber(f.substr(start, end - start + 1).c_str(), value));
    return literal(std::string_view(f).substr(0, start)) + number + literal(std::string_view(f).substr(end + 1));
}

std::string WithDecimalComma(std::string text)
{
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string RangeWarning(int lowest, int highest)
{
    return std::string(kNotANumber) + " im Werte-Bereich " + std::to_string(lowest) + ".." + std::to_string(highest);
}

} // namespace hz::pages
