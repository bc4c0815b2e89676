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

// The files the --do actions of file buttons name: those a save dialog answers (written) and
// those an open dialog answers (read).
void actionFiles(Session& session, const std::vector<std::string>& actions, std::vector<std::string>& written,
                 std::vector<std::string>& read)
{
    for (const std::string& action : actions) {
        const std::size_t eq = action.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string name = action.substr(0, eq);
        for (pages::Page* page : session.shownPages()) {
            const pages::Control* c = page->find(name);
            if (!c || c->kind != pages::ControlKind::Button)
                continue;
            if (c->fileDialog == pages::FileDialogKind::Save)
                written.push_back(action.substr(eq + 1));
            else if (c->fileDialog == pages::FileDialogKind::Open)
                read.push_back(action.substr(eq + 1));
            break;
        }
    }
}

class SetCommand : public Command {
public:
    const char* name() const override { return "set"; }
    Operands operands() const override { return {"EIN", "genau eine Eingabedatei", 1, 1}; }
    std::vector<CommandOption> options() const override
    {
        return {opt::output("AUS", "Die neue HEX-Datei (darf EIN sein); \"-\" schreibt sie auf stdout."), opt::row(),
                opt::action(), opt::strict("Nichts schreiben, wenn EIN beschädigte Zeilen hat (Rückgabewert 1)."),
                opt::defaultConfig()};
    }
    const char* summary() const override
    {
        return "Ändert Adressen und bedient die Seite des Dekoders wie das Fenster, dann speichern.";
    }
    const char* description() const override
    {
        return "Ändert Adressen wie die Adressseite des Programms und bedient die Seite des\n"
               "Dekoders wie das Fenster, dann wird AUS gespeichert (AUS darf EIN sein).\n"
               "Mindestens ein --row oder --do ist nötig.\n"
               "--row: WERT ist ADRESSE, ADRESSEr oder ADRESSEg (rote/grüne Adresse) oder\n"
               "ADRESSE/FUNKTION (Funktionsdekoder). Ohne r/g behält die Zeile ihre Farbe.\n"
               "--do, nach den --row in der gegebenen Reihenfolge (Namen wie in info --json):\n"
               "  NAME=TEXT (Eingabefeld), NAME=1/NAME=0 (Kontrollkästchen), NAME (Knopf,\n"
               "  Optionsfeld), NAME=N (Schieberegler), NAME=EINTRAG oder NAME=#k (Liste),\n"
               "  NAME=draw:X,Y[;X,Y...] (mit der Maus zeichnen), NAME=DATEI (Knopf mit Dateidialog).\n"
               "\"Geänderte Werte übernehmen?\" wird beim Speichern mit Ja beantwortet.\n"
               "Eine abgelehnte Eingabe wird gemeldet, und es wird nichts geschrieben.\n"
               "Eine Zahl außerhalb dessen, was die Seite speichert, wird wie im Fenster auf\n"
               "ihre Grenze gesetzt; ein Hinweis nennt die gespeicherte Zahl.\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        if (o.rowValues.empty() && o.actions.empty())
            return usageError(err, "Es fehlt --row N=WERT oder --do AKTION.");
        if (savesIntoItsInput(o, err))
            return 1;
        BatchLoad in(o, err);
        if (!in.readyToWrite())
            return 1;
        Session& session = in.session;
        // Before any action writes a file: the files written are all different, none is a file
        // read, and no file of the page is the firmware file (which -o may be).
        std::vector<std::string> written, read;
        actionFiles(session, o.actions, written, read);
        std::vector<std::string> outputs = written;
        outputs.push_back(o.output);
        if (outputsClash(outputs, read, err) || outputsClash(written, inputFiles(o), err))
            return 1;
        for (const std::string& assignment : o.rowValues) {
            std::string error;
            if (!applyRowValue(session, assignment, error)) {
                in.error(error + " Nichts geschrieben.");
                return 1;
            }
        }
        for (const std::string& action : o.actions) {
            std::string error;
            const std::size_t before = in.prompter.shown.size();
            std::vector<pages::LimitedInput> limited;
            if (!pages::ApplyPageActionAndLeave(session.shownPages(), action, error, limited)) {
                in.error(error + " Nichts geschrieben.");
                return 1;
            }
            // A handler that refused the input has said why (on stderr); the file is not
            // written with the input half taken.
            for (std::size_t k = before; k < in.prompter.shown.size(); ++k)
                if (in.prompter.shown[k].kind != MsgKind::Plain) {
                    in.error("--do " + action + " wurde nicht angenommen. Nichts geschrieben.");
                    return 1;
                }
            // A number beyond what the page stores is kept at its limit, as in the window,
            // where the field shows the stored number once it is left; here it is told.
            for (const pages::LimitedInput& l : limited)
                in.note("--do " + action + ": " + l.control + ": " + l.given +
                        " liegt außerhalb des Bereichs der Seite, gespeichert wird " + l.stored + ".");
        }
        return in.save(o.output, out) ? 0 : 1;
    }
};

} // namespace

std::unique_ptr<Command> makeSetCommand() { return std::make_unique<SetCommand>(); }

} // namespace hz::cli
