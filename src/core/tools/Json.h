#pragma once
// A minimal JSON text builder for machine-readable output: the tool's --json and the browser's
// module.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace hz::tools {

// `text` as a JSON string literal. Valid UTF-8 passes through; a byte that is not part of a
// valid UTF-8 sequence (a HEX line may hold anything) is taken as Latin-1.
std::string jsonString(std::string_view text);

// The version of the shape of every --json output, printed first as "schema". It goes up
// when a key is removed or changes its meaning; new keys leave it as it is.
inline constexpr int kJsonSchema = 1;
// `"schema": 1, ` - the start of every top-level object after its brace.
std::string jsonSchemaField();

// True when `text` is valid UTF-8 throughout.
bool isUtf8(std::string_view text);

// `"key": "NAME"` for a file name. A name that is not valid UTF-8 (file names are bytes) is
// not passed off as something it is not: in the string each byte outside valid UTF-8 becomes
// U+FFFD, and `, "key_bytes": "2f746d70ff"` follows with every byte of the name in hex.
std::string jsonFileFields(const std::string& key, std::string_view name);

// `  "key": [` and the texts one to a line, closed by `]`, then `,` unless `last`, and a new line.
void writeJsonStringList(std::ostream& out, const char* key, const std::vector<std::string>& texts, bool last);

} // namespace hz::tools
