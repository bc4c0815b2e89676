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

const char* outcomeName(CompareReport::Outcome o)
{
    switch (o) {
    case CompareReport::Outcome::Done: return "done";
    case CompareReport::Outcome::Stopped: return "stopped";
    case CompareReport::Outcome::Unreadable: return "unreadable";
    }
    return "unreadable";
}

void writeJson(std::ostream& out, const std::string& file1, const std::string& file2, const CompareReport& r,
               const std::string& error)
{
    out << "{\n";
    out << "  \"schema\": " << kJsonSchema << ",\n";
    out << "  " << jsonFileFields("file1", file1) << ",\n";
    out << "  " << jsonFileFields("file2", file2) << ",\n";
    out << "  \"outcome\": " << jsonString(outcomeName(r.outcome)) << ",\n";
    out << "  \"differs\": " << (r.differs() ? "true" : "false") << ",\n";
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
    Operands operands() const override { return {"DATEI1 DATEI2", "genau zwei Dateien", 2, 2}; }
    std::vector<CommandOption> options() const override
    {
        return {opt::json("Der Vergleich als JSON-Objekt (Aufbau: hexzwirbel-cli(1))."), opt::defaultConfig()};
    }
    const char* summary() const override
    {
        return "Vergleicht DATEI1 Byte für Byte mit DATEI2 wie \"vergleiche mit 2. HEX-File\".";
    }
    const char* description() const override
    {
        return "Vergleicht DATEI1 mit DATEI2 wie \"vergleiche mit 2. HEX-File\", beide so, wie sie\n"
               "in den Dateien stehen: je Unterschied eine Zeile, bei Programmwörtern mit dem\n"
               "Namen des PIC-Befehls. Eine Zeile von DATEI2, die sich nicht lesen lässt, beendet\n"
               "den Vergleich: die Meldung steht auf stderr (und unter \"error\" im JSON), der\n"
               "Bericht bis dahin auf stdout.\n";
    }
    const char* exitCodes() const override
    {
        return "0 gleich, 1 verschieden, 2 Fehler (Datei nicht lesbar, Vergleich abgebrochen) oder Aufruffehler.";
    }
    int troubleCode() const override { return 2; }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        const std::string file2 = shownName(o.files[1]);
        BatchLoad in(o, err, 0, LoadFor::Looking);
        if (!in.loaded()) {
            if (in.outcome != LoadOutcome::Unreadable)
                in.error("nicht geladen, nichts verglichen.");
            if (o.json) {
                CompareReport none;
                none.outcome = CompareReport::Outcome::Unreadable;
                const std::string why = in.lastMessage();
                writeJson(out, in.file, file2, none, why.empty() ? "nicht geladen" : why);
            }
            return 2;
        }
        // From here on the messages are about the second file.
        in.prompter.prefix = messagePrefix(file2);
        const std::size_t before = in.prompter.shown.size();
        HexComparison comparison(in.session.image, in.prompter);
        const CompareReport r = isStdin(o.files[1]) && o.input ? comparison.CompareWithStream(*o.input, file2)
                                                               : comparison.CompareWithFile(o.files[1]);
        const bool trouble = r.outcome != CompareReport::Outcome::Done;
        // The message that stopped the comparison (the last one shown while comparing).
        std::string error;
        if (trouble && in.prompter.shown.size() > before)
            error = in.prompter.shown.back().text;
        if (o.json) {
            writeJson(out, in.file, file2, r, error);
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
