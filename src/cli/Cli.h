#pragma once
// hexzwirbel-cli: the headless front end on the same core as the editor.

#include <iosfwd>
#include <string>
#include <vector>

namespace hz::cli {

// Runs one command line (without the program name). `in` is where an operand "-" is read
// from. Exit codes: 0 done, 1 the input could not be loaded or the output could not be written
// (nothing written), 2 usage error; compare and diff: 0 same, 1 different, 2 trouble.
// `troubleCode` receives the code the command gives for trouble, for finishStandardOutput.
int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
        int* troubleCode = nullptr);
// The same without a standard input (an operand "-" then reads nothing).
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// After `run` in the real process: flushes the standard output. A report that did not reach
// its reader (a full disk, a closed pipe, /dev/full) is an error, not a success: it is said on
// stderr and the exit code becomes `troubleCode`.
int finishStandardOutput(int code, int troubleCode);

} // namespace hz::cli
