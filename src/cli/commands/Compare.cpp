// compare FILE1 FILE2 [--json]: the comparison of the HEX information dialog. FILE1 is loaded
// as the editor loads it, FILE2 is compared line by line as the dialog compares it. Exit
// status as cmp and diff give it: 0 no differences, 1 differences, 2 trouble.

#include <ostream>

#include "cli/BatchLoad.h"
#include "cli/Command.h"
#include "cli/Json.h"
#include "core/inspect/HexCompare.h"

namespace hz::cli {

namespace {

void writeJson(std::ostream& out, const CompareReport& r, const std::string& error)
{
    out << "{\n";
    out << "  \"status\": [" << jsonString(r.status[0]) << ", " << jsonString(r.status[1]) << "],\n";
    writeJsonStringList(out, "eeprom", r.eeprom, false);
    writeJsonStringList(out, "rom", r.rom, false);
    out << "  \"counts\": {\"eeprom\": " << r.EeDiffCount << ", \"rom\": " << r.RomDiffCount
        << ", \"id\": " << r.IdDiffCount << ", \"config\": " << r.ConfigDiffCount << "},\n";
    out << "  \"error\": " << (error.empty() ? std::string("null") : jsonString(error)) << "\n";
    out << "}\n";
}

class CompareCommand : public Command {
public:
    const char* name() const override { return "compare"; }
    const char* usage() const override
    {
        return "  compare DATEI1 DATEI2 [--json] [--default-config]\n"
               "      Vergleicht DATEI1 mit DATEI2 wie \"vergleiche mit 2. HEX-File\", beide so, wie sie\n"
               "      in den Dateien stehen. Rückgabewert 0 gleich, 1 verschieden, 2 Fehler.\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        if (o.files.size() != 2 || !o.output.empty() || !o.rowValues.empty() || !o.actions.empty())
            return usageError(err, "compare erwartet genau zwei Dateien.");
        BatchLoad in(o, err, 0, LoadFor::Looking);
        if (!in.loaded()) {
            if (in.outcome != LoadOutcome::Unreadable)
                in.complain("nicht geladen, nichts verglichen.");
            return 2;
        }
        // From here on the messages are about the second file.
        const std::string& file2 = o.files[1];
        in.prompter.prefix = "hexzwirbel-cli: " + file2 + ": ";
        const std::size_t before = in.prompter.shown.size();
        HexComparison comparison(in.session.image, in.prompter);
        const CompareReport r = comparison.CompareWithFile(file2);
        const bool trouble = r.outcome != CompareReport::Outcome::Done;
        // The message that stopped the comparison (the last one shown while comparing).
        std::string error;
        if (trouble && in.prompter.shown.size() > before)
            error = in.prompter.shown.back().text;
        if (o.json) {
            writeJson(out, r, error);
        } else if (!r.status[0].empty()) {
            out << r.status[0] << "\n" << r.status[1] << "\n";
            for (const std::string& line : r.eeprom)
                out << line << "\n";
            for (const std::string& line : r.rom)
                out << line << "\n";
        }
        if (trouble)
            return 2;
        return r.differs() ? 1 : 0;
    }
};

} // namespace

std::unique_ptr<Command> makeCompareCommand() { return std::make_unique<CompareCommand>(); }

} // namespace hz::cli
