#pragma once
// A minimal JSON text builder for the command-line tool's machine-readable output.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace hz::cli {

// `text` as a JSON string literal. Valid UTF-8 passes through; a byte that is not part of a
// valid UTF-8 sequence (a HEX line may hold anything) is taken as Latin-1.
std::string jsonString(std::string_view text);

// `  "key": [` and the texts one to a line, closed by `]`, then `,` unless `last`, and a new line.
void writeJsonStringList(std::ostream& out, const char* key, const std::vector<std::string>& texts, bool last);

} // namespace hz::cli
