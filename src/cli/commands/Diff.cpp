// diff A B [--json]: what differs between two firmware files as the editor shows them.
// Exit status 0 the same, 1 different, 2 trouble (a file that does not load, a usage error).

#include <ostream>

#include "cli/BatchLoad.h"
#include "cli/Command.h"
#include "cli/Json.h"
#include "core/tools/SettingsDiff.h"

namespace hz::cli {

namespace {

std::string jsonOpt(const std::optional<std::string>& v) { return v ? jsonString(*v) : std::string("null"); }

void writeSummaryJson(std::ostream& out, const std::string& file, const tools::DecoderSummary& s)
{
    out << "{\"file\": " << jsonString(file) << ", \"type\": " << jsonOpt(s.type)
        << ", \"identifier\": " << s.identifier << ", \"version\": " << jsonString(s.version) << ", \"pic\": " << s.pic
        << ", \"format\": " << jsonString(s.format) << "}";
}

std::string summaryText(const tools::DecoderSummary& s)
{
    std::string t = tools::TypeText(s);
    if (!s.version.empty())
        t += ", V " + s.version;
    return t + ", PIC " + std::to_string(s.pic) + ", " + s.format;
}

class DiffCommand : public Command {
public:
    const char* name() const override { return "diff"; }
    const char* usage() const override
    {
        return "  diff A B [--json] [--default-config]\n"
               "      Vergleicht zwei Firmware-Dateien so, wie das Programm sie zeigt: Typ, Version,\n"
               "      PIC, Adresszeilen, Werte der Seite, Arbeitskopien, Config- und ID-Wörter. Bytes,\n"
               "      die eine Seite beim Anzeigen ändert, werden so verglichen, wie sie in den Dateien stehen.\n"
               "      Rückgabewert 0 gleich, 1 verschieden, 2 Datei nicht geladen oder Aufruffehler.\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        if (o.files.size() != 2 || !o.output.empty() || !o.rowValues.empty() || !o.actions.empty() || o.strict ||
            !o.count.empty() || !o.step.empty())
            return usageError(err, "diff erwartet genau zwei Dateien.");
        BatchLoad a(o, err);
        BatchLoad b(o, err, 1);
        bool trouble = false;
        for (BatchLoad* in : {&a, &b})
            if (!in->loaded()) {
                in->complain("nicht geladen, kein Vergleich.");
                trouble = true;
            }
        if (trouble)
            return 2;

        const std::vector<tools::Difference> diffs = tools::DiffSessions(a.session, b.session);
        if (o.json) {
            out << "{\n  \"a\": ";
            writeSummaryJson(out, a.file, tools::Summarise(a.session));
            out << ",\n  \"b\": ";
            writeSummaryJson(out, b.file, tools::Summarise(b.session));
            out << ",\n  \"differences\": [";
            for (std::size_t k = 0; k < diffs.size(); ++k) {
                const tools::Difference& d = diffs[k];
                out << (k ? "," : "") << "\n    {\"where\": " << jsonString(d.where)
                    << ", \"name\": " << jsonString(d.name) << ", \"caption\": " << jsonString(d.caption)
                    << ", \"a\": " << jsonOpt(d.a) << ", \"b\": " << jsonOpt(d.b) << "}";
            }
            out << (diffs.empty() ? "]\n}\n" : "\n  ]\n}\n");
        } else {
            out << "A: " << a.file << ": " << summaryText(tools::Summarise(a.session)) << "\n";
            out << "B: " << b.file << ": " << summaryText(tools::Summarise(b.session)) << "\n";
            if (diffs.empty())
                out << "Keine Unterschiede.\n";
            else
                out << (diffs.size() == 1 ? std::string("1 Unterschied:\n")
                                          : std::to_string(diffs.size()) + " Unterschiede:\n");
            for (const tools::Difference& d : diffs)
                out << "  " << tools::DescribeDifference(d) << "\n";
        }
        return diffs.empty() ? 0 : 1;
    }
};

} // namespace

std::unique_ptr<Command> makeDiffCommand() { return std::make_unique<DiffCommand>(); }

} // namespace hz::cli
