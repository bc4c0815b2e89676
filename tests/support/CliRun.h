#pragma once
// Runs hexzwirbel-cli in-process and keeps what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"

namespace hz::test {

struct CliRun {
    int code;
    std::string out, err;
};

inline CliRun runCli(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = hz::cli::run(args, out, err);
    return {code, out.str(), err.str()};
}

} // namespace hz::test
