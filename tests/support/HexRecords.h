#pragma once
// Building Intel HEX records for test inputs.

#include <string>

#include "core/firmware/HexText.h"

namespace hz::test {

// A well-formed record: ":" RECLEN OFFSET TYPE DATA CHECKSUM.
inline std::string rec(int offset, const std::string& data, const std::string& type = "00")
{
    const auto& t = HexByteTexts();
    const std::string body = t[data.size() / 2 % 256] + t[static_cast<std::size_t>((offset >> 8) & 0xFF)] +
                             t[static_cast<std::size_t>(offset & 0xFF)] + type + data;
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < body.size(); i += 2)
        sum += static_cast<unsigned>(HexByteValue(body.substr(i, 2)));
    return ":" + body + t[(256 - sum % 256) % 256];
}

inline const std::string kBase0 = ":020000040000FA";
inline const std::string kBase1 = ":020000040001F9";
inline const std::string kEnd = ":00000001FF";

} // namespace hz::test
