#pragma once
// hexzwirbel-cli: the headless front end on the same core as the editor.

#include <iosfwd>
#include <string>
#include <vector>

namespace hz::cli {

// Runs one command line (without the program name). Exit codes: 0 done, 1 the input could not
// be loaded or the output could not be written (nothing written), 2 usage error.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// After `run` in the real process: flushes the standard output. A report that did
// not reach its reader (a full disk, a closed pipe, /dev/full) is an error, not a success:
// it is said on stderr and the exit code becomes the command's code for trouble (2 for
// compare and diff, whose 1 means "different"; 1 for the others).
int finishStandardOutput(const std::vector<std::string>& args, int code);

} // namespace hz::cli
