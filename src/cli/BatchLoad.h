#pragma once
// The input file of a batch command, loaded the way the editor loads it, with the batch
// answers to its questions. Every command that reads a firmware file starts from here.

#include <cstddef>
#include <iosfwd>
#include <string>

#include "cli/Command.h"
#include "core/BatchPrompter.h"
#include "core/Session.h"

namespace hz::cli {

// Editing: the file is loaded as the window loads it, its page set up; every byte the page
// corrects on its own is printed to `err`, one line each. Looking: the image stays exactly as
// the file stores it (dump, compare).
enum class LoadFor { Editing, Looking };

struct BatchLoad {
    // Loads `o.files[which]` ("-": the standard input); messages go to `err`, prefixed with
    // the file's name.
    BatchLoad(const Options& o, std::ostream& err, std::size_t which = 0, LoadFor purpose = LoadFor::Editing);

    bool loaded() const { return outcome == LoadOutcome::Done; }
    // For the commands that write: false (after saying so) when the load did not go through,
    // or, with --strict, when the file has damaged lines (the reader has warned about them; a
    // save would cover them with fresh checksums).
    bool readyToWrite();
    // Messages from now on name the output file.
    void writingTo(const std::string& output);
    // The save sequence of the editor into `output`: pending page changes, checks, then the
    // file, written atomically - or, for the standard output, the lines into `out`. False
    // (after saying so) when nothing was written.
    bool save(const std::string& output, std::ostream& out);
    // "hexzwirbel-cli: FILE: Fehler: what" / "... Hinweis: what" on the error stream.
    void error(const std::string& what);
    void note(const std::string& what);
    // The last message the load or a later step showed; empty when there was none.
    std::string lastMessage() const { return prompter.shown.empty() ? std::string() : prompter.shown.back().text; }

    std::ostream& err;
    BatchPrompter prompter;
    Session session;
    std::string file; // as messages and reports name it
    LoadOutcome outcome = LoadOutcome::NoFile;
    bool strict = false;
};

} // namespace hz::cli
