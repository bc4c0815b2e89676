#pragma once
// Runs hexzwirbel-cli in-process and keeps what it printed, or the real program as a process.

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

// `text` as one word of a shell command.
inline std::string shellWord(const std::string& text)
{
    std::string word = "'";
    for (char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

// The tool built for WebAssembly (its .js file) when the test runs against it (ctest label
// wasm); empty for the native tool.
inline std::string webCli()
{
    const char* path = std::getenv("HZ_WEB_CLI");
    return path ? path : "";
}

#ifdef HZ_CLI_EXE
// The command that starts the native tool.
inline std::string nativeCliCommand() { return shellWord(HZ_CLI_EXE); }

// The command that starts the tool under test: the native one, or the WebAssembly one under
// Node.js.
inline std::string cliCommand()
{
    const std::string web = webCli();
    return web.empty() ? nativeCliCommand() : shellWord(HZ_NODE) + " " + shellWord(web);
}
#endif

// Runs the real program through the shell; returns its exit status.
inline int shell(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace hz::test
