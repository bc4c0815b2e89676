#pragma once
// hexzwirbel-cli: the headless front end on the same core as the editor.

#include <iosfwd>
#include <string>
#include <vector>

namespace hz::cli {

// Runs one command line (without the program name). Exit codes: 0 done, 1 the input could not
// be loaded or the output could not be written (nothing written), 2 usage error.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace hz::cli
