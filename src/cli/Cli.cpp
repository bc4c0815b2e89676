#include "cli/Cli.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <ostream>

#include "cli/Command.h"
#include "core/SystemError.h"
#include "core/firmware/FileSet.h"

namespace hz::cli {

namespace {

const char* const kUsageTail =
    "\n"
    "Fragen beim Laden werden ohne Eingabe beantwortet: fehlende PIC-Zuordnung, ID oder\n"
    "Config mit \"Ignorieren\"; mit --default-config wird bei fehlendem Config-Wert der\n"
    "Standard-Wert des Dekoders erzeugt. Meldungen erscheinen auf stderr.\n"
    "Rückgabewerte: 0 erledigt, 1 Datei nicht geladen oder nicht geschrieben, 2 Aufruffehler;\n"
    "compare: 0 gleich, 1 verschieden, 2 Fehler (Datei nicht lesbar, Vergleich abgebrochen).\n";

std::string usageText()
{
    std::string text = "Aufruf: hexzwirbel-cli BEFEHL ...\n\nBefehle:\n";
    for (const auto& c : Commands())
        text += c->usage();
    return text + kUsageTail;
}

Options parse(const std::vector<std::string>& args)
{
    Options o;
    auto takeValue = [&](std::size_t& i, const char* missing, std::string& into) {
        if (i + 1 >= args.size()) {
            o.error = missing;
            return false;
        }
        into = args[++i];
        return true;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string value;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--default-config") {
            o.defaultConfig = true;
        } else if (a == "-o" || a == "--output") {
            if (!takeValue(i, "Nach -o fehlt der Name der Ausgabedatei.", o.output))
                return o;
        } else if (a == "--row") {
            if (!takeValue(i, "Nach --row fehlt N=WERT.", value))
                return o;
            o.rowValues.push_back(value);
        } else if (a == "--do") {
            if (!takeValue(i, "Nach --do fehlt die Aktion.", value))
                return o;
            o.actions.push_back(value);
        } else if (a == "--strict") {
            o.strict = true;
        } else if (a == "--count") {
            if (!takeValue(i, "Nach --count fehlt die Anzahl.", o.count))
                return o;
        } else if (a == "--step") {
            if (!takeValue(i, "Nach --step fehlt die Schrittweite.", o.step))
                return o;
        } else if (a.size() > 1 && a[0] == '-') {
            o.error = "Unbekannte Option: " + a;
            return o;
        } else if (o.command.empty()) {
            o.command = a;
        } else {
            o.files.push_back(a);
        }
    }
    return o;
}

} // namespace

int usageError(std::ostream& err, const std::string& what)
{
    err << "hexzwirbel-cli: " << what << "\n\n" << usageText();
    return 2;
}

bool outputIsAnInput(const Options& o, const std::string& output, std::ostream& err)
{
    for (const std::string& input : o.files)
        if (SameFile(output, input)) {
            err << "hexzwirbel-cli: " << output << ": Die Ausgabe \"" << output
                << "\" ist dieselbe Datei wie die Eingabe \"" << input
                << "\" und würde sie überschreiben. Es wurde nichts geschrieben.\n";
            return true;
        }
    return false;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Options o = parse(args);
    if (!o.error.empty())
        return usageError(err, o.error);
    if (o.help || o.command == "help") {
        out << usageText();
        return 0;
    }
    if (o.command.empty())
        return usageError(err, "Kein Befehl angegeben.");
    for (const auto& c : Commands())
        if (o.command == c->name())
            return c->run(o, out, err);
    return usageError(err, "Unbekannter Befehl: " + o.command);
}

int finishStandardOutput(const std::vector<std::string>& args, int code)
{
    errno = 0;
    std::cout.flush(); // flushes the C stream under it too
    bool failed = !std::cout;
    int reason = failed ? errno : 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        if (!failed)
            reason = errno;
        failed = true;
    }
    if (!failed)
        return code;
    std::cerr << "hexzwirbel-cli: Die Ausgabe konnte nicht vollständig geschrieben werden"
              << (reason != 0 ? ": " + SystemErrorReason(reason) : std::string()) << ".\n";
    const Options o = parse(args);
    const bool answersLikeCmp = o.command == "compare" || o.command == "diff";
    return answersLikeCmp ? 2 : 1;
}

} // namespace hz::cli
