#pragma once
// Runs hexzwirbel-cli in-process and keeps what it printed.

#include <sys/wait.h>

#include <cstdlib>
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

// The same with `input` as the standard input (what an operand "-" reads).
inline CliRun runCliWithInput(const std::vector<std::string>& args, const std::string& input)
{
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = hz::cli::run(args, in, out, err);
    return {code, out.str(), err.str()};
}

inline bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Runs the real program through the shell; returns its exit status.
inline int shell(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace hz::test
