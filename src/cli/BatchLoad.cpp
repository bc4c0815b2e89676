#include "cli/BatchLoad.h"

#include <filesystem>
#include <ostream>
#include <sstream>
#include <system_error>

#include "core/catalogue/DocLinks.h"
#include "core/firmware/HexText.h"
#include "core/firmware/HexWriter.h"
#include "core/platform/Platform.h"

namespace hz::cli {

namespace {

// The manual installed with the tool, whose type pages `info` names; empty when not found.
const std::string& manualFolder()
{
    static const std::string folder = [] {
        const std::string data = FindDataFolder(platform::ProgramPath());
        return data.empty() ? data : (std::filesystem::path(data) / kManualFolder).string();
    }();
    return folder;
}

} // namespace

BatchLoad::BatchLoad(const Options& o, std::ostream& errStream, std::size_t which, LoadFor purpose)
    : err(errStream), prompter(errStream, o.defaultConfig), session(prompter), file(shownName(o.files.at(which))),
      strict(o.strict)
{
    prompter.prefix = messagePrefix(file);
    session.setUpPages = purpose == LoadFor::Editing;
    session.ident.Site.manual = manualFolder();
    session.ident.DocPage = DocAddress(session.ident.Site, nullptr);
    if (isStdin(o.files[which])) {
        std::istringstream nothing;
        outcome = session.LoadStream(o.input ? *o.input : nothing, file);
    } else {
        outcome = session.LoadFile(o.files[which]);
    }
    // What the window tells in one message when it shows the page, one line per byte here.
    for (const hz::LoadCorrection& c : session.loadCorrections)
        note("beim Anzeigen geändert: " + hz::CorrectionLine(c));
}

bool BatchLoad::readyToWrite()
{
    if (!loaded()) {
        error("nicht geladen, nichts geschrieben.");
        return false;
    }
    const std::size_t damaged = session.reader.DamagedLines().size();
    if (strict && damaged > 0) {
        error(strprintf("--strict: Die Datei hat %zu beschädigte Zeile(n). Nichts geschrieben.", damaged));
        return false;
    }
    return true;
}

void BatchLoad::writingTo(const std::string& output)
{
    prompter.prefix = messagePrefix(isStdout(output) ? kStdoutName : output);
}

bool BatchLoad::save(const std::string& output, std::ostream& out)
{
    if (!session.PrepareSave()) {
        error("nichts geschrieben.");
        return false;
    }
    writingTo(output);
    if (!isStdout(output)) {
        // A write that went through but left further names of the file with the old content
        // has said so as an error: the run failed.
        const std::size_t before = prompter.shown.size();
        if (!session.WriteBuiltLines(output))
            return false;
        for (std::size_t k = before; k < prompter.shown.size(); ++k)
            if (prompter.shown[k].kind == MsgKind::Error)
                return false;
        return true;
    }
    // A stream cannot be replaced as a whole; it gets the lines only once all of them are
    // built. Whether they reached their reader is checked when the run ends.
    out << builtText(session.image);
    return true;
}

void BatchLoad::error(const std::string& what) { report(err, file, MsgKind::Error, what); }

void BatchLoad::note(const std::string& what) { report(err, file, MsgKind::Plain, what); }

} // namespace hz::cli
