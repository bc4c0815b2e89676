#include "core/pages/common/NumberText.h"

#include <clocale>
#include <cstdio>
#include <locale.h>

namespace hz::pages {

namespace {

// The "C" locale, made once; uselocale() switches only the calling thread.
locale_t cLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

} // namespace

std::string PrintfNumber(const char* format, double value)
{
    const locale_t before = uselocale(cLocale());
    char buffer[128];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int n = std::snprintf(buffer, sizeof buffer, format, value);
    std::string text;
    if (n >= static_cast<int>(sizeof buffer)) {
        text.resize(static_cast<std::size_t>(n) + 1);
        n = std::snprintf(text.data(), text.size(), format, value);
        text.resize(static_cast<std::size_t>(n));
    } else if (n > 0) {
        text.assign(buffer, static_cast<std::size_t>(n));
    }
#pragma GCC diagnostic pop
    uselocale(before);
    return text;
}

std::string RangeWarning(int lowest, int highest)
{
    return std::string(kNotANumber) + " im Werte-Bereich " + std::to_string(lowest) + ".." + std::to_string(highest);
}

} // namespace hz::pages
