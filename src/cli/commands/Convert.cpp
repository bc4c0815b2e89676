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
    Operands operands() const override { return {"EIN", "genau eine Eingabedatei", 1, 1}; }
    std::vector<CommandOption> options() const override
    {
        return {opt::output("AUS", "Die neue HEX-Datei; \"-\" schreibt sie auf stdout."),
                opt::strict("Nichts schreiben, wenn EIN beschädigte Zeilen hat (Rückgabewert 1)."),
                opt::defaultConfig()};
    }
    const char* summary() const override { return "Lädt EIN und speichert es ohne Änderung als AUS."; }
    const char* description() const override
    {
        return "Lädt EIN und schreibt es als neue HEX-Datei AUS, wie \"speichern\" im Programm es\n"
               "ohne Eingaben schreibt: jede Zeile neu erzeugt, dazu die Werte, die die Seite des\n"
               "Dekoders beim Anzeigen ändert (jeder auf stderr genannt). Mit --strict wird\n"
               "nichts geschrieben, wenn EIN beschädigte Zeilen hat (Rückgabewert 1).\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        if (savesIntoItsInput(o, err))
            return 1;
        BatchLoad in(o, err);
        if (!in.readyToWrite())
            return 1;
        in.writingTo(o.output);
        return in.save(o.output, out) ? 0 : 1;
    }
};

} // namespace

std::unique_ptr<Command> makeConvertCommand() { return std::make_unique<ConvertCommand>(); }

} // namespace hz::cli
