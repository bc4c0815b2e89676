#pragma once
// The commands of hexzwirbel-cli. Each command lives in its own file under commands/ and is
// listed once in Registry.cpp. A command declares what it takes - its operands, its options
// with their help lines, the exit code of its trouble - and the parser, the help texts and the
// dispatch in Cli.cpp are built from those declarations; they know nothing about any
// particular command.

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "core/Prompter.h"

namespace hz {
struct WriteResult;
}

namespace hz::cli {

// The command line after parsing. Only the fields of options the command declared are ever
// set: an option it does not take is refused by the parser.
struct Options {
    std::string command;
    std::vector<std::string> files; // the operands, in order ("-" is the standard input)
    std::string output;             // -o / --output
    bool json = false;
    bool defaultConfig = false;
    std::vector<std::string> rowValues; // --row N=VALUE, in order
    std::vector<std::string> actions;   // --do ACTION, in order
    bool strict = false;                // --strict
    bool unchanged = false;             // --unchanged (migrate: list what NEU had already)
    std::string count, step;            // --count K, --step S (checked by the command)
    bool csv = false;                   // --csv
    std::string html, pdf;              // overview and sheet --html AUS, sheet --pdf AUS
    // Where an operand "-" is read from: the process's standard input, or a test's text.
    std::istream* input = nullptr;
};

// An option as a command takes it.
struct CommandOption {
    const char* name;      // "--output"
    const char* shortName; // "-o", or nullptr
    const char* value;     // what follows it in the usage ("AUS", "N=WERT"); nullptr for a flag
    const char* help;      // one line for the command's help, German
    void (*store)(Options&, const std::string& value);
    bool repeatable = false; // may be given any number of times (otherwise at most once)
    bool required = false;   // the command refuses to run without it
};

// The options several commands share, each with the value name and help line the command
// gives it.
namespace opt {
CommandOption output(const char* value, const char* help);
CommandOption json(const char* help);
CommandOption defaultConfig();
CommandOption strict(const char* help);
CommandOption row();
CommandOption action();
CommandOption count();
CommandOption step();
} // namespace opt

// What a command takes besides its options.
struct Operands {
    const char* text;     // in the usage: "DATEI", "A B", "WORT..."
    const char* expected; // in the usage error: "genau eine Datei", "keine Datei"
    std::size_t min, max;
    bool files = true; // file names, "-" being the standard input (mnemonic: program words)
};

// The exit codes most commands give.
inline constexpr const char* kPlainExitCodes =
    "0 erledigt, 1 nicht geladen, abgelehnt oder nicht geschrieben (dann wurde nichts geschrieben), "
    "2 Aufruffehler.";

class Command {
public:
    virtual ~Command() = default;
    virtual const char* name() const = 0;
    virtual Operands operands() const = 0;
    virtual std::vector<CommandOption> options() const = 0;
    // One line for the overview of all commands.
    virtual const char* summary() const = 0;
    // What the command does, for its own help: paragraphs and items as `reflow` takes them.
    virtual const char* description() const = 0;
    virtual const char* exitCodes() const { return kPlainExitCodes; }
    // The exit code for trouble (a file not loaded, the report not written): 1, or 2 for the
    // commands whose 1 means "different" (compare, diff).
    virtual int troubleCode() const { return 1; }
    // Runs on a command line the parser has checked against the declarations.
    virtual int run(const Options& o, std::ostream& out, std::ostream& err) const = 0;

    // "info DATEI [--json] [--default-config]", from the declarations.
    std::string usageLine() const;
    // The command's own help: usage, description, options, exit codes.
    std::string help() const;
    // Says on one line what is wrong with the call and where the help is; returns 2. `what`
    // may repeat an argument as it was typed: it is shown by DisplayName.
    int usageError(std::ostream& err, const std::string& what) const;
};

// Every command, in the order the overview lists them.
const std::vector<std::unique_ptr<Command>>& Commands();

// "hexzwirbel-cli: WHERE: Fehler: what" (without "WHERE: " when `where` is empty): the one
// shape of every message of the tool on stderr. Further lines of `what` follow indented by two
// spaces (BatchMessage).
void report(std::ostream& err, const std::string& where, MsgKind kind, const std::string& what);
// The prefix of those messages: "hexzwirbel-cli: WHERE: ", WHERE (a file name) shown by
// DisplayName.
std::string messagePrefix(const std::string& where);

// `text` broken at spaces into lines of at most 80 characters; `used` characters of the first
// line are taken already, the lines after it are indented by `indent` spaces.
std::string wrapText(const std::string& text, std::size_t used, std::size_t indent);
// A text of paragraphs (lines at the margin, joined) and items (lines indented by two spaces)
// broken anew into lines of at most 80 characters.
std::string reflow(const std::string& text);

// The names under which the standard input and output appear in messages and reports.
inline constexpr const char* kStdinName = "(stdin)";
inline constexpr const char* kStdoutName = "(stdout)";
// True for an operand that means the standard input.
inline bool isStdin(const std::string& file) { return file == "-"; }
// True for an output that means the standard output: "-", and the names of the process's own
// standard output (/dev/stdout and the descriptor 1 under /dev/fd and /proc/self/fd), which
// are written through the same stream as every other report so that nothing overtakes it.
bool isStdout(const std::string& output);
// How a file is named in messages and reports.
inline std::string shownName(const std::string& file) { return isStdin(file) ? kStdinName : file; }

// The operands that name files ("-", the standard input, left out).
std::vector<std::string> inputFiles(const Options& o);
// True, after saying so, when writing `outputs` would destroy a file (core's OutputClash): an
// output that is the same file as one of `inputs` or as another output, also through a
// symbolic or hard link. Outputs that mean the standard output are left out: they go into the
// report stream. Every writing command asks this before it writes anything.
bool outputsClash(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs, std::ostream& err);
// The same for the one output of a command and its operands.
bool outputIsAnInput(const Options& o, const std::string& output, std::ostream& err);
// The HEX output of convert and set may be their input: they save over the loaded file, as the
// window does. Not through a descriptor (-o /dev/fd/3 3>>IN), which would add the new file to
// the old one instead of replacing it: true, after saying so, for that.
bool savesIntoItsInput(const Options& o, std::ostream& err);
// Says what a write reported under `where` - why nothing was written, an incomplete write as
// an error, a warning - and returns whether every file was written as asked.
bool reportWrite(std::ostream& err, const std::string& where, const WriteResult& result);

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
std::unique_ptr<Command> makeDocCommand();
std::unique_ptr<Command> makeOverviewCommand();
std::unique_ptr<Command> makeSheetCommand();

} // namespace hz::cli
