#include "core/Utf8Text.h"

namespace hz {

std::size_t Utf8SequenceLength(std::string_view s, std::size_t i)
{
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    std::size_t n = 0;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4;
    else
        return 0;
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((b(i + k) & 0xC0) != 0x80)
            return 0;
    // Overlong forms, UTF-16 surrogates and code points beyond U+10FFFF.
    if (n == 3 && ((c == 0xE0 && b(i + 1) < 0xA0) || (c == 0xED && b(i + 1) >= 0xA0)))
        return 0;
    if (n == 4 && ((c == 0xF0 && b(i + 1) < 0x90) || (c == 0xF4 && b(i + 1) >= 0x90)))
        return 0;
    return n;
}

bool IsUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = Utf8SequenceLength(text, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string ValidUtf8(std::string_view text)
{
    if (IsUtf8(text))
        return std::string(text);
    std::string shown;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = Utf8SequenceLength(text, i);
        if (n == 0) {
            shown += "\xEF\xBF\xBD"; // U+FFFD
            ++i;
        } else {
            shown.append(text.substr(i, n));
            i += n;
        }
    }
    return shown;
}

std::size_t Utf8Width(std::string_view text)
{
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size(); ++width) {
        const std::size_t n = Utf8SequenceLength(text, i);
        i += n ? n : 1;
    }
    return width;
}

std::string PadToWidth(std::string text, std::size_t width)
{
    const std::size_t shown = Utf8Width(text);
    if (shown < width)
        text.append(width - shown, ' ');
    return text;
}

} // namespace hz
