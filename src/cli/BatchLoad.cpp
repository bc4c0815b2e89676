#include "cli/BatchLoad.h"

#include <ostream>

#include "core/firmware/HexText.h"

namespace hz::cli {

BatchLoad::BatchLoad(const Options& o, std::ostream& errStream, std::size_t which, LoadFor purpose)
    : err(errStream), prompter(errStream, o.defaultConfig), session(prompter), file(o.files.at(which)), strict(o.strict)
{
    prompter.prefix = "hexzwirbel-cli: " + file + ": ";
    session.setUpPages = purpose == LoadFor::Editing;
    outcome = session.LoadFile(file);
    // What the window tells in one message when it shows the page, one line per byte here.
    for (const Session::LoadCorrection& c : session.loadCorrections)
        complain("beim Anzeigen geändert: " + Session::CorrectionLine(c));
}

bool BatchLoad::readyToWrite()
{
    if (!loaded()) {
        complain("nicht geladen, nichts geschrieben.");
        return false;
    }
    const std::size_t damaged = session.reader.DamagedLines().size();
    if (strict && damaged > 0) {
        complain(strprintf("--strict: Die Datei hat %zu beschädigte Zeile(n). Nichts geschrieben.", damaged));
        return false;
    }
    return true;
}

void BatchLoad::writingTo(const std::string& output) { prompter.prefix = "hexzwirbel-cli: " + output + ": "; }

bool BatchLoad::save(const std::string& output)
{
    if (!session.PrepareSave()) {
        complain("nichts geschrieben.");
        return false;
    }
    writingTo(output);
    return session.WriteBuiltLines(output);
}

void BatchLoad::complain(const std::string& what) { err << "hexzwirbel-cli: " << file << ": " << what << "\n"; }

} // namespace hz::cli
