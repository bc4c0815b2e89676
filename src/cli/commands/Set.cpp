// set IN -o OUT --row N=VALUE ...: change addresses exactly as the address page does, then
// save through the normal save sequence.

#include <ostream>

#include "cli/BatchLoad.h"
#include "cli/Command.h"
#include "core/firmware/HexText.h"
#include "core/pages/PageAction.h"

namespace hz::cli {

namespace {

// "N=VALUE" into the row's fields. VALUE is the address, with "r"/"g" appended for a red or
// green address, or ADDRESS/FUNCTION on a function-decoder row; the rules which row takes
// what are the address page's own.
bool applyRowValue(Session& session, const std::string& assignment, std::string& error)
{
    const std::size_t eq = assignment.find('=');
    int row = 0;
    if (eq == std::string::npos || !parseWholeNumber(assignment.substr(0, eq), row)) {
        error = "--row erwartet N=WERT, nicht \"" + assignment + "\".";
        return false;
    }
    std::string value = assignment.substr(eq + 1);
    const IdentificationState& id = session.ident;
    if (id.FunctionDecoder) {
        const std::size_t slash = value.find('/');
        if (slash == std::string::npos && id.hasCaption(row) && pages::AddressPage::hasStorage(row)) {
            error = strprintf("Zeile %d ist eine Funktionsdekoder-Zeile: WERT ist ADRESSE/FUNKTION.", row);
            return false;
        }
        const std::string function = slash == std::string::npos ? std::string() : value.substr(slash + 1);
        return session.addresses.TypeRow(row, value.substr(0, slash), &function, nullptr, error);
    }
    const char last = value.empty() ? '\0' : value.back();
    if (last == 'r' || last == 'g' || last == 'R' || last == 'G') {
        const int state = (last == 'g' || last == 'G') ? 1 : 0;
        value.pop_back();
        return session.addresses.TypeRow(row, value, nullptr, &state, error);
    }
    return session.addresses.TypeRow(row, value, nullptr, nullptr, error);
}

class SetCommand : public Command {
public:
    const char* name() const override { return "set"; }
    const char* usage() const override
    {
        return "  set EIN -o AUS [--row N=WERT ...] [--do AKTION ...] [--strict] [--default-config]\n"
               "      Ändert Adressen wie die Adressseite des Programms und bedient die Seite des\n"
               "      Dekoders wie das Fenster, dann wird AUS gespeichert (AUS darf EIN sein).\n"
               "      --row: WERT ist ADRESSE, ADRESSEr oder ADRESSEg (rote/grüne Adresse) oder\n"
               "      ADRESSE/FUNKTION (Funktionsdekoder). Ohne r/g behält die Zeile ihre Farbe.\n"
               "      --do, nach den --row in der gegebenen Reihenfolge (Namen wie in info --json):\n"
               "        NAME=TEXT (Eingabefeld), NAME=1/NAME=0 (Kontrollkästchen), NAME (Knopf,\n"
               "        Optionsfeld), NAME=N (Schieberegler), NAME=EINTRAG oder NAME=#k (Liste),\n"
               "        NAME=draw:X,Y[;X,Y...] (mit der Maus zeichnen), NAME=DATEI (Knopf mit Dateidialog).\n"
               "      \"Geänderte Werte übernehmen?\" wird beim Speichern mit Ja beantwortet.\n"
               "      Mit --strict wird nichts geschrieben, wenn EIN beschädigte Zeilen hat.\n";
    }
    int run(const Options& o, std::ostream&, std::ostream& err) const override
    {
        if (o.files.size() != 1 || o.output.empty() || (o.rowValues.empty() && o.actions.empty()))
            return usageError(err, "set erwartet eine Eingabedatei, -o AUSGABE und mindestens ein --row N=WERT "
                                   "oder --do AKTION.");
        BatchLoad in(o, err);
        if (!in.readyToWrite())
            return 1;
        Session& session = in.session;
        for (const std::string& assignment : o.rowValues) {
            std::string error;
            if (!applyRowValue(session, assignment, error)) {
                in.complain(error + " Nichts geschrieben.");
                return 1;
            }
        }
        for (const std::string& action : o.actions) {
            std::string error;
            const std::size_t before = in.prompter.shown.size();
            if (!pages::ApplyPageAction(session.shownPages(), action, error)) {
                in.complain(error + " Nichts geschrieben.");
                return 1;
            }
            // A handler that refused the input has said why (on stderr); the file is not
            // written with the input half taken.
            for (std::size_t k = before; k < in.prompter.shown.size(); ++k)
                if (in.prompter.shown[k].kind != MsgKind::Plain) {
                    in.complain("--do " + action + " wurde nicht angenommen. Nichts geschrieben.");
                    return 1;
                }
        }
        return in.save(o.output) ? 0 : 1;
    }
};

} // namespace

std::unique_ptr<Command> makeSetCommand() { return std::make_unique<SetCommand>(); }

} // namespace hz::cli
