// diff A B [--json]: what differs between two firmware files as the editor shows them.
// Exit status 0 the same, 1 different, 2 trouble (a file that does not load, a usage error).

#include <ostream>

#include "cli/BatchLoad.h"
#include "cli/Command.h"
#include "cli/Json.h"
#include "core/firmware/HexText.h"
#include "core/tools/SettingsDiff.h"

namespace hz::cli {

namespace {

std::string jsonOpt(const std::optional<std::string>& v) { return v ? jsonString(*v) : std::string("null"); }

// {"file": ..., "type": ..., ..., "loaded": true}; a file that did not load has its name only.
void writeSummaryJson(std::ostream& out, const BatchLoad& in)
{
    out << "{" << jsonFileFields("file", in.file);
    if (in.loaded()) {
        const tools::DecoderSummary s = tools::Summarise(in.session);
        out << ", \"type\": " << jsonOpt(s.type) << ", \"identifier\": " << s.identifier
            << ", \"version\": " << jsonString(s.version) << ", \"pic\": " << s.pic
            << ", \"format\": " << jsonString(s.format);
    }
    out << ", \"loaded\": " << (in.loaded() ? "true" : "false") << "}";
}

void writeJson(std::ostream& out, const BatchLoad& a, const BatchLoad& b, const std::vector<tools::Difference>& diffs,
               std::size_t programWords, const std::string& error)
{
    out << "{\n  \"schema\": " << kJsonSchema << ",\n  \"a\": ";
    writeSummaryJson(out, a);
    out << ",\n  \"b\": ";
    writeSummaryJson(out, b);
    out << ",\n  \"count\": " << diffs.size() << ",\n  \"program_words\": " << programWords << ",\n";
    out << "  \"error\": " << (error.empty() ? std::string("null") : jsonString(error)) << ",\n";
    out << "  \"differences\": [";
    for (std::size_t k = 0; k < diffs.size(); ++k) {
        const tools::Difference& d = diffs[k];
        out << (k ? "," : "") << "\n    {\"where\": " << jsonString(d.where) << ", \"name\": " << jsonString(d.name)
            << ", \"caption\": " << jsonString(d.caption) << ", \"a\": " << jsonOpt(d.a) << ", \"b\": " << jsonOpt(d.b)
            << "}";
    }
    out << (diffs.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

class DiffCommand : public Command {
public:
    const char* name() const override { return "diff"; }
    Operands operands() const override { return {"A B", "genau zwei Dateien", 2, 2}; }
    std::vector<CommandOption> options() const override
    {
        return {opt::json("Die Unterschiede als JSON-Objekt, auch bei einem Fehler (Aufbau: hexzwirbel-cli(1))."),
                opt::defaultConfig()};
    }
    const char* summary() const override
    {
        return "Was sich zwischen zwei Firmware-Dateien unterscheidet, wie das Programm sie zeigt.";
    }
    const char* description() const override
    {
        return "Vergleicht zwei Firmware-Dateien so, wie das Programm sie zeigt: Typ, Version,\n"
               "PIC, Adresszeilen, Werte der Seite, Arbeitskopien, Config- und ID-Wörter. Bytes,\n"
               "die eine Seite beim Anzeigen ändert, werden so verglichen, wie sie in den Dateien\n"
               "stehen. Programmwörter, die keine Seite zeigt (ein geänderter Sprung, eine andere\n"
               "Firmware), werden gezählt und in einer Zeile genannt; auch sie machen die Dateien\n"
               "verschieden. Mit --json erscheint das JSON-Objekt auch, wenn eine Datei nicht lädt\n"
               "(mit der Meldung unter \"error\").\n";
    }
    const char* exitCodes() const override
    {
        return "0 gleich, 1 verschieden, 2 Datei nicht geladen oder Aufruffehler.";
    }
    int troubleCode() const override { return 2; }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        BatchLoad a(o, err);
        BatchLoad b(o, err, 1);
        std::string error;
        for (BatchLoad* in : {&a, &b})
            if (!in->loaded()) {
                in->error("nicht geladen, kein Vergleich.");
                if (error.empty())
                    error = in->file + ": " + (in->lastMessage().empty() ? "nicht geladen" : in->lastMessage());
            }
        if (!error.empty()) {
            if (o.json)
                writeJson(out, a, b, {}, 0, error);
            return 2;
        }

        const std::vector<tools::Difference> diffs = tools::DiffSessions(a.session, b.session);
        const std::size_t programWords = tools::ProgramWordsNoPageShows(a.session, b.session);
        if (o.json) {
            writeJson(out, a, b, diffs, programWords, "");
        } else {
            out << "A: " << DisplayName(a.file) << ": " << tools::SummaryText(tools::Summarise(a.session)) << "\n";
            out << "B: " << DisplayName(b.file) << ": " << tools::SummaryText(tools::Summarise(b.session)) << "\n";
            out << tools::DifferenceCount(diffs.size(), programWords) << (diffs.empty() ? ".\n" : ":\n");
            for (const tools::Difference& d : diffs)
                out << "  " << tools::DescribeDifference(d) << "\n";
            if (programWords > 0)
                out << tools::ProgramWordsLine(programWords) << "\n";
        }
        return diffs.empty() && programWords == 0 ? 0 : 1;
    }
};

} // namespace

std::unique_ptr<Command> makeDiffCommand() { return std::make_unique<DiffCommand>(); }

} // namespace hz::cli
