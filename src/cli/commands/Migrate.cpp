// migrate OLD NEW -o OUT [--json] [--strict]: carries the settings of OLD into NEW (typically a
// newer release of the same firmware) and saves the result through the normal save sequence.

#include <ostream>

#include "cli/BatchLoad.h"
#include "cli/Command.h"
#include "cli/Json.h"
#include "core/firmware/HexText.h"
#include "core/tools/SettingsDiff.h"
#include "core/tools/SettingsMigration.h"

namespace hz::cli {

namespace {

// A row's value in JSON: its state as an identifier ("17 green"); every other value as it is.
std::string jsonValue(const tools::CarriedSetting& s)
{
    if (s.where != "row" || s.state.empty())
        return s.value;
    return s.address + " " + s.state;
}

void writeListJson(std::ostream& out, const char* key, const std::vector<tools::CarriedSetting>& list, bool last)
{
    out << "  \"" << key << "\": [";
    for (std::size_t k = 0; k < list.size(); ++k) {
        const tools::CarriedSetting& s = list[k];
        out << (k ? "," : "") << "\n    {\"where\": " << jsonString(s.where) << ", \"name\": " << jsonString(s.name)
            << ", \"caption\": " << jsonString(s.caption) << ", \"value\": " << jsonString(jsonValue(s));
        if (!s.reason.empty())
            out << ", \"reason\": " << jsonString(s.reason);
        // A row's value in its parts: the row as a number, the address, and the state or the
        // function number where the row has one.
        if (s.where == "row") {
            out << ", \"row\": " << s.name << ", \"address\": " << jsonString(s.address);
            if (!s.state.empty())
                out << ", \"state\": " << jsonString(s.state);
            if (!s.function.empty())
                out << ", \"function\": " << jsonString(s.function);
        }
        out << "}";
    }
    out << (list.empty() ? "]" : "\n  ]") << (last ? "\n" : ",\n");
}

std::string summaryJson(const BatchLoad& in)
{
    const tools::DecoderSummary d = tools::Summarise(in.session);
    return "{" + jsonFileFields("file", in.file) + ", \"type\": " + (d.type ? jsonString(*d.type) : "null") +
           ", \"version\": " + jsonString(d.version) + ", \"pic\": " + std::to_string(d.pic) +
           ", \"loaded\": " + (in.loaded() ? "true" : "false") + "}";
}

void writeJson(std::ostream& out, const BatchLoad& from, const BatchLoad& to, const std::string& output,
               const tools::MigrationReport& report, bool written, const std::string& error)
{
    out << "{\n  \"schema\": " << kJsonSchema << ",\n  \"old\": " << summaryJson(from)
        << ",\n  \"new\": " << summaryJson(to) << ",\n  " << jsonFileFields("output", output)
        << ",\n  \"written\": " << (written ? "true" : "false") << ",\n";
    writeListJson(out, "carried", report.carried, false);
    writeListJson(out, "not_carried", report.notCarried, false);
    out << "  \"error\": " << (error.empty() ? std::string("null") : jsonString(error)) << "\n}\n";
}

class MigrateCommand : public Command {
public:
    const char* name() const override { return "migrate"; }
    Operands operands() const override { return {"ALT NEU", "genau zwei Dateien (ALT und NEU)", 2, 2}; }
    std::vector<CommandOption> options() const override
    {
        return {opt::output("AUS", "Die neue HEX-Datei; weder ALT noch NEU (der Bericht steht auf stdout)."),
                opt::json("Der Bericht als JSON-Objekt (Aufbau: hexzwirbel-cli(1))."),
                opt::strict("Nichts schreiben, wenn sich eine Einstellung nicht übertragen lässt oder ALT oder "
                            "NEU beschädigte Zeilen hat."),
                {"--unchanged", nullptr, nullptr,
                 "Auch die übernommenen Einstellungen aufführen, die NEU schon so hatte (sonst nur gezählt).",
                 [](Options& opt, const std::string&) { opt.unchanged = true; }},
                opt::defaultConfig()};
    }
    const char* summary() const override { return "Überträgt die Einstellungen von ALT in die Firmware NEU."; }
    const char* description() const override
    {
        return "Überträgt die Einstellungen von ALT in die Firmware NEU (etwa eine neuere\n"
               "Version) und speichert das Ergebnis als AUS: Adresszeilen gleicher Beschriftung,\n"
               "gleichnamige Bedienelemente gleicher Art und Beschriftung (über die Seite wie im\n"
               "Fenster) und Arbeitskopien gleichen Aufbaus. Der Bericht nennt jede Einstellung\n"
               "wie das Fenster, mit dem Wert, den NEU bisher hatte; was NEU schon so hatte, wird\n"
               "nur gezählt (mit --unchanged aufgeführt). Was sich nicht übertragen lässt,\n"
               "wird aufgeführt; mit --strict wird dann nichts geschrieben (Rückgabewert 1),\n"
               "ebenso, wenn ALT oder NEU beschädigte Zeilen hat. AUS darf weder ALT noch NEU sein.\n"
               "Der Bericht steht auf stdout; AUS kann darum nicht \"-\" sein.\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        if (isStdout(o.output))
            return usageError(err, "AUS kann nicht stdout sein: dort steht der Bericht.");
        if (outputIsAnInput(o, o.output, err))
            return 1;
        BatchLoad from(o, err);
        BatchLoad to(o, err, 1);
        auto failed = [&](const tools::MigrationReport& report, const std::string& error) {
            if (o.json)
                writeJson(out, from, to, o.output, report, false, error);
            return 1;
        };
        for (BatchLoad* in : {&from, &to}) {
            if (in->readyToWrite())
                continue;
            const std::string why = in->loaded()                ? std::string("beschädigte Zeilen (--strict)")
                                    : in->lastMessage().empty() ? std::string("nicht geladen")
                                                                : in->lastMessage();
            return failed({}, in->file + ": " + why);
        }

        const tools::MigrationReport report = tools::MigrateSettings(from.session, to.session);
        if (!report.refusal.empty()) {
            to.error(report.refusal + " Nichts geschrieben.");
            return failed(report, report.refusal);
        }
        bool written = false;
        std::string error;
        if (o.strict && !report.notCarried.empty()) {
            error = strprintf("--strict: %zu Einstellung(en) ließen sich nicht übertragen. Nichts geschrieben.",
                              report.notCarried.size());
            to.error(error);
        } else {
            written = to.save(o.output, out);
            if (!written)
                error = to.lastMessage().empty() ? "nicht geschrieben" : to.lastMessage();
        }

        if (o.json) {
            writeJson(out, from, to, o.output, report, written, error);
        } else {
            out << tools::CarriedHeading(true, report.carried.size()) << ":\n";
            for (const auto& s : report.carried)
                if (o.unchanged || !s.unchanged)
                    out << "  " << tools::DescribeCarried(s) << "\n";
            if (!o.unchanged && tools::UnchangedCount(report.carried) > 0)
                out << "  " << tools::UnchangedLine(tools::UnchangedCount(report.carried))
                    << " (--unchanged führt sie auf)\n";
            out << tools::CarriedHeading(false, report.notCarried.size()) << ":\n";
            for (const auto& s : report.notCarried)
                out << "  " << tools::DescribeCarried(s) << "\n";
            out << (written ? "Gespeichert: " + DisplayName(o.output) : std::string("Nichts geschrieben.")) << "\n";
        }
        return written ? 0 : 1;
    }
};

} // namespace

std::unique_ptr<Command> makeMigrateCommand() { return std::make_unique<MigrateCommand>(); }

} // namespace hz::cli
