// convert IN -o OUT [--strict]: load and save without edits; --strict refuses a file with
// damaged lines.

#include <ostream>

#include "cli/BatchLoad.h"
#include "cli/Command.h"

namespace hz::cli {

namespace {

class ConvertCommand : public Command {
public:
    const char* name() const override { return "convert"; }
    const char* usage() const override
    {
        return "  convert EIN -o AUS [--strict] [--default-config]\n"
               "      Lädt EIN und schreibt es als neue HEX-Datei AUS, wie \"speichern\" im Programm es\n"
               "      ohne Eingaben schreibt: jede Zeile neu erzeugt, dazu die Werte, die die Seite des\n"
               "      Dekoders beim Anzeigen ändert (jeder auf stderr genannt). Mit --strict wird\n"
               "      nichts geschrieben, wenn EIN beschädigte Zeilen hat (Rückgabewert 1).\n";
    }
    int run(const Options& o, std::ostream&, std::ostream& err) const override
    {
        if (o.files.size() != 1 || o.output.empty() || !o.rowValues.empty() || !o.actions.empty())
            return usageError(err, "convert erwartet eine Eingabedatei und -o AUSGABE.");
        BatchLoad in(o, err);
        if (!in.readyToWrite())
            return 1;
        in.writingTo(o.output);
        return in.session.SaveTo(o.output) ? 0 : 1;
    }
};

} // namespace

std::unique_ptr<Command> makeConvertCommand() { return std::make_unique<ConvertCommand>(); }

} // namespace hz::cli
