#include "cli/BatchLoad.h"

#include <ostream>

#include "core/firmware/HexText.h"

namespace hz::cli {

BatchLoad::BatchLoad(const Options& o, std::ostream& errStream, std::size_t which)
    : err(errStream), prompter(errStream, o.defaultConfig), session(prompter), file(o.files.at(which)),
      strict(o.strict)
{
    prompter.prefix = "hexzwirbel-cli: " + file + ": ";
    outcome = session.LoadFile(file);
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
