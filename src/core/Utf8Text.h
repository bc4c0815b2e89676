#pragma once
// Texts that must be valid UTF-8 for their reader (JSON, a web page, a table cell) while what
// they show may be bytes from outside: a file name on Linux is any bytes, a damaged HEX line
// any characters.

#include <cstddef>
#include <string>
#include <string_view>

namespace hz {

// Length of the valid UTF-8 sequence starting at text[i] (1 for ASCII), or 0 when the byte
// there starts none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

// True when `text` is valid UTF-8 throughout.
bool IsUtf8(std::string_view text);

// `text` with every byte outside valid UTF-8 shown as U+FFFD: "not representable", which no
// reader can take for another character (a stray 0xFF read as "ÿ" would name another file).
std::string ValidUtf8(std::string_view text);

// How many characters `text` shows in a terminal's column: a valid UTF-8 sequence is one
// character ("ü", "°"), every byte outside one is one too.
std::size_t Utf8Width(std::string_view text);

// `text` followed by blanks up to `width` characters: a column of a text table lines up
// whatever letters stand before it. A text as wide or wider stays as it is.
std::string PadToWidth(std::string text, std::size_t width);

} // namespace hz
