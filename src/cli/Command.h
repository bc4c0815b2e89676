#pragma once
// The commands of hexzwirbel-cli. Each command lives in its own file under commands/ and is
// listed once in Registry.cpp; the option parser, the usage text and the dispatch in Cli.cpp
// know nothing about any particular command.

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace hz::cli {

// The command line, parsed once for every command. Each command checks what it needs.
struct Options {
    std::string command;
    std::vector<std::string> files;
    std::string output;
    bool json = false;
    bool defaultConfig = false;
    bool help = false;
    std::vector<std::string> rowValues; // --row N=VALUE, in order
    std::vector<std::string> actions;   // --do ACTION, in order
    bool strict = false;                // --strict
    std::string count, step;            // --count K, --step S (checked by the command)
    std::string error;                  // set when the command line could not be parsed
};

class Command {
public:
    virtual ~Command() = default;
    virtual const char* name() const = 0;
    // The command's lines of the usage text: the call, then what it does (indented).
    virtual const char* usage() const = 0;
    // Exit code: 0 done, 1 not loaded / not written / refused (nothing written), 2 usage.
    // (compare: 0 same, 1 different, 2 trouble.)
    virtual int run(const Options& o, std::ostream& out, std::ostream& err) const = 0;
};

// Every command, in the order the usage text lists them.
const std::vector<std::unique_ptr<Command>>& Commands();

// Prints what is wrong and the usage text; returns 2.
int usageError(std::ostream& err, const std::string& what);

// True, after saying so, when `output` is the same file as one of the input files (also
// through a symbolic or hard link): writing it would destroy an input. Checked before anything
// is written.
bool outputIsAnInput(const Options& o, const std::string& output, std::ostream& err);

// One factory per command file.
std::unique_ptr<Command> makeInfoCommand();
std::unique_ptr<Command> makeConvertCommand();
std::unique_ptr<Command> makeSetCommand();
std::unique_ptr<Command> makeTypesCommand();
std::unique_ptr<Command> makeDumpCommand();
std::unique_ptr<Command> makeCompareCommand();
std::unique_ptr<Command> makeMnemonicCommand();
std::unique_ptr<Command> makeDiffCommand();
std::unique_ptr<Command> makeMigrateCommand();
std::unique_ptr<Command> makeSeriesCommand();

} // namespace hz::cli
