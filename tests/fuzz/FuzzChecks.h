#pragma once
// The properties the fuzz targets check, shared by the libFuzzer programs (tests/fuzz/fuzz_*.cpp)
// and the replay test that runs every stored finding (tests/core/test_fuzz_replay.cpp).
//
// Each check takes the raw input bytes and returns an explanation of what went wrong, or the
// empty text when the input was handled as it should be. Crashes, hangs and memory faults are
// left to the sanitizers and to libFuzzer's time limit.

#include <string>
#include <string_view>
#include <vector>

namespace hz::fuzz {

// The input is the content of a firmware file. It is loaded with the answers of the
// command-line tool. It must not crash, and when it loads, the same content behind a UTF-8 byte
// order mark must load and say the same. A line "#next" makes the input two files: the second
// must load into the session of the first as it loads into a fresh session.
std::string checkLoad(std::string_view input);

// The input is the content of a firmware file. When it loads, its save is either refused with
// a message or writes well-formed lines that load again, say the same as the file that was
// saved, and save again to exactly the same lines.
std::string checkLoadSaveLoad(std::string_view input);

// The input picks a decoder type and address format and lists what is typed into the address
// rows (see FuzzChecks.cpp for the format). Validation must accept exactly the valid texts,
// explain every refusal, and what it accepted must load back as the number typed.
std::string checkAddressRows(std::string_view input);

// The input is the text of a settings file. What a write of it gives must read back as the
// same lines and the same values, also after one key was set.
std::string checkSettings(std::string_view input);

// The input is the content of a second HEX file. Compared with a fixed firmware, the report
// agrees with its counts, stops only with a message and leaves file 1 as it was. When the input
// loads, what its save writes compares equal to the loaded image.
std::string checkCompare(std::string_view input);

struct Target {
    const char* name; // also the folder name below tests/fuzz/regressions
    std::string (*check)(std::string_view input);
};

// Every target, in the order above.
const std::vector<Target>& targets();

// Why `line` is not a well-formed Intel HEX record, or empty when it is: ":" and whole bytes
// of hexadecimal digits, RECLEN matching the data, and a checksum that makes the byte sum a
// multiple of 256.
std::string lineFault(const std::string& line);

} // namespace hz::fuzz
