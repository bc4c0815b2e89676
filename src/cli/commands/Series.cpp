// series IN -o PATTERN --count K [--step S] [--strict]: K decoders from one firmware file, each with its
// own block of addresses. Every file is built and checked before the first one is written, and
// the files are written all or none.

#include <ostream>

#include "cli/BatchLoad.h"
#include "cli/Command.h"
#include "cli/Json.h"
#include "core/firmware/FileSet.h"
#include "core/firmware/HexText.h"
#include "core/firmware/HexWriter.h"
#include "core/tools/AddressSeries.h"

namespace hz::cli {

namespace {

// Enough for any layout; beyond it a typing error is far more likely than a real series.
constexpr int kMaxSeries = 9999;

class SeriesCommand : public Command {
public:
    const char* name() const override { return "series"; }
    Operands operands() const override { return {"EIN", "genau eine Eingabedatei", 1, 1}; }
    std::vector<CommandOption> options() const override
    {
        return {opt::output("MUSTER", "Die Namen der Dateien; {n} wird zur Nummer der Datei."),
                opt::count(),
                opt::step(),
                opt::json("Die geschriebenen Dateien als JSON-Objekt (Aufbau: hexzwirbel-cli(1))."),
                opt::strict("Nichts schreiben, wenn EIN beschädigte Zeilen hat (Rückgabewert 1)."),
                opt::defaultConfig()};
    }
    const char* summary() const override
    {
        return "Schreibt K Dateien aus EIN, jede mit dem nächsten Block von Adressen.";
    }
    const char* description() const override
    {
        return "Schreibt K Dateien aus EIN: in Datei i (0 bis K-1) bekommt jede Adresszeile mit\n"
               "einer Adresse diese Adresse + i x S (S: ohne Angabe die Zahl der Adresszeilen\n"
               "des Dekoders); Funktions-Nummern und R/G bleiben. {n} im MUSTER wird zur\n"
               "Nummer der Datei (ab 1, mit Nullen auf die Stellen von K). Alle Adressen aller\n"
               "Dateien werden geprüft, bevor die erste geschrieben wird; geschrieben werden\n"
               "alle Dateien oder keine. Keine Datei darf EIN sein. Die Namen der geschriebenen\n"
               "Dateien stehen auf stdout, eine je Zeile. Mit --strict wird nichts geschrieben,\n"
               "wenn EIN beschädigte Zeilen hat.\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        int count = 0, step = 0;
        if (!parseWholeNumber(o.count, count) || count < 1 || count > kMaxSeries)
            return usageError(err, strprintf("--count erwartet eine Anzahl von 1 bis %d, nicht \"%s\".", kMaxSeries,
                                             o.count.c_str()));
        if (!o.step.empty() && (!parseWholeNumber(o.step, step) || step < 1))
            return usageError(err, "--step erwartet eine ganze Zahl ab 1, nicht \"" + o.step + "\".");
        if (isStdout(o.output))
            return usageError(err, "Eine Serie sind Dateien; das MUSTER kann nicht stdout sein.");
        if (count > 1 && o.output.find("{n}") == std::string::npos)
            return usageError(err, "Das MUSTER nach -o braucht {n}, sonst hätten alle Dateien denselben Namen.");

        // No member may be the input: it would be gone before the series is through.
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i)
            names.push_back(tools::SeriesFileName(o.output, i, count));
        if (outputsClash(names, inputFiles(o), err))
            return 1;

        BatchLoad in(o, err);
        if (!in.readyToWrite())
            return 1;
        Session& session = in.session;
        const std::vector<int> rows = tools::SeriesRows(session);
        if (rows.empty()) {
            in.error("Dieser Dekoder hat keine Adresszeilen; eine Serie ergäbe nur gleiche Dateien. Nichts "
                     "geschrieben.");
            return 1;
        }
        if (o.step.empty())
            step = static_cast<int>(rows.size());
        const std::vector<std::string> base = session.addresses.addressTexts();

        // Every member is typed, checked and built as its own save would, and prepared beside its
        // target; only when all are ready is any put in place.
        FileSet files;
        for (int i = 0; i < count; ++i) {
            const std::string name = tools::SeriesFileName(o.output, i, count);
            in.writingTo(name);
            std::string error;
            if (!tools::TypeSeriesMember(session, base, i, step, error) || !session.PrepareSave()) {
                if (!error.empty())
                    report(err, name, MsgKind::Error, error);
                in.error(strprintf("Datei %d von %d (%s): die Serie wird nicht geschrieben, auch keine andere "
                                   "Datei.",
                                   i + 1, count, DisplayName(name).c_str()));
                return 1;
            }
            files.addContent(name, builtText(session.image));
        }
        const WriteResult written = files.commit();
        // Written, but a file with further names shows the new content under one name only:
        // the files are listed, and the run has failed.
        const int code = reportWrite(err, "", written) ? 0 : 1;
        if (!written.written) {
            in.error("keine Datei der Serie geschrieben.");
            return 1;
        }
        if (o.json) {
            out << "{\n  \"schema\": " << kJsonSchema << ",\n  " << jsonFileFields("file", in.file)
                << ",\n  \"count\": " << count << ",\n  \"step\": " << step << ",\n  \"files\": [";
            for (int i = 0; i < count; ++i)
                out << (i ? "," : "") << "\n    {" << jsonFileFields("file", tools::SeriesFileName(o.output, i, count))
                    << ", \"number\": " << i + 1 << "}";
            out << "\n  ]\n}\n";
            return code;
        }
        for (int i = 0; i < count; ++i)
            out << DisplayName(tools::SeriesFileName(o.output, i, count)) << "\n";
        return code;
    }
};

} // namespace

std::unique_ptr<Command> makeSeriesCommand() { return std::make_unique<SeriesCommand>(); }

} // namespace hz::cli
