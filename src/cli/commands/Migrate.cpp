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

std::string describe(const tools::CarriedSetting& s)
{
    std::string what;
    if (s.where == "row")
        what = "Zeile " + s.name + " <" + s.caption + ">";
    else
        what = s.name + (s.caption.empty() ? "" : " <" + s.caption + ">");
    what += ": " + (s.value.empty() ? std::string("(leer)") : s.value);
    return s.reason.empty() ? what : what + " - " + s.reason;
}

void writeListJson(std::ostream& out, const char* key, const std::vector<tools::CarriedSetting>& list, bool last)
{
    out << "  \"" << key << "\": [";
    for (std::size_t k = 0; k < list.size(); ++k) {
        const tools::CarriedSetting& s = list[k];
        out << (k ? "," : "") << "\n    {\"where\": " << jsonString(s.where) << ", \"name\": " << jsonString(s.name)
            << ", \"caption\": " << jsonString(s.caption) << ", \"value\": " << jsonString(s.value);
        if (!s.reason.empty())
            out << ", \"reason\": " << jsonString(s.reason);
        out << "}";
    }
    out << (list.empty() ? "]" : "\n  ]") << (last ? "\n" : ",\n");
}

std::string summaryJson(const std::string& file, const Session& s)
{
    const tools::DecoderSummary d = tools::Summarise(s);
    return "{\"file\": " + jsonString(file) + ", \"type\": " + (d.type ? jsonString(*d.type) : "null") +
           ", \"version\": " + jsonString(d.version) + ", \"pic\": " + std::to_string(d.pic) + "}";
}

class MigrateCommand : public Command {
public:
    const char* name() const override { return "migrate"; }
    const char* usage() const override
    {
        return "  migrate ALT NEU -o AUS [--json] [--strict] [--default-config]\n"
               "      Überträgt die Einstellungen von ALT in die Firmware NEU (etwa eine neuere\n"
               "      Version) und speichert das Ergebnis als AUS: Adresszeilen gleicher Beschriftung,\n"
               "      gleichnamige Bedienelemente gleicher Art und Beschriftung (über die Seite wie im\n"
               "      Fenster) und Arbeitskopien gleichen Aufbaus. Was sich nicht übertragen lässt,\n"
               "      wird aufgeführt; mit --strict wird dann nichts geschrieben (Rückgabewert 1),\n"
               "      ebenso, wenn ALT oder NEU beschädigte Zeilen hat. AUS darf weder ALT noch NEU sein.\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        if (o.files.size() != 2 || o.output.empty() || !o.rowValues.empty() || !o.actions.empty() || !o.count.empty() ||
            !o.step.empty())
            return usageError(err, "migrate erwartet zwei Dateien (ALT und NEU) und -o AUSGABE.");
        if (outputIsAnInput(o, o.output, err))
            return 1;
        BatchLoad from(o, err);
        BatchLoad to(o, err, 1);
        if (!from.readyToWrite() || !to.readyToWrite())
            return 1;

        const tools::MigrationReport report = tools::MigrateSettings(from.session, to.session);
        if (!report.refusal.empty()) {
            to.complain(report.refusal + " Nichts geschrieben.");
            return 1;
        }
        bool written = false;
        if (o.strict && !report.notCarried.empty())
            to.complain(strprintf("--strict: %zu Einstellung(en) ließen sich nicht übertragen. Nichts geschrieben.",
                                  report.notCarried.size()));
        else
            written = to.save(o.output);

        if (o.json) {
            out << "{\n  \"old\": " << summaryJson(from.file, from.session)
                << ",\n  \"new\": " << summaryJson(to.file, to.session) << ",\n  \"output\": " << jsonString(o.output)
                << ",\n  \"written\": " << (written ? "true" : "false") << ",\n";
            writeListJson(out, "carried", report.carried, false);
            writeListJson(out, "not_carried", report.notCarried, true);
            out << "}\n";
        } else {
            out << "Übernommen (" << report.carried.size() << "):\n";
            for (const auto& s : report.carried)
                out << "  " << describe(s) << "\n";
            out << "Nicht übernommen (" << report.notCarried.size() << "):\n";
            for (const auto& s : report.notCarried)
                out << "  " << describe(s) << "\n";
            out << (written ? "Gespeichert: " + o.output : std::string("Nichts geschrieben.")) << "\n";
        }
        return written ? 0 : 1;
    }
};

} // namespace

std::unique_ptr<Command> makeMigrateCommand() { return std::make_unique<MigrateCommand>(); }

} // namespace hz::cli
