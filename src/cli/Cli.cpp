#include "cli/Cli.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <ostream>
#include <set>
#include <sstream>

#include "cli/Command.h"
#include "core/SystemError.h"
#include "core/Version.h"
#include "core/firmware/HexText.h"

namespace hz::cli {

namespace {

const char* const kOverviewTail =
    "\n"
    "Eine DATEI \"-\" liest stdin, \"-o -\" schreibt auf stdout.\n"
    "Optionen gehören hinter den Befehl; --name=WERT gilt wie --name WERT, nach \"--\" ist\n"
    "alles eine Datei.\n"
    "Fragen beim Laden werden ohne Eingabe beantwortet: fehlende PIC-Zuordnung, ID oder\n"
    "Config mit \"Ignorieren\"; mit --default-config wird bei fehlendem Config-Wert der\n"
    "Standard-Wert des Dekoders erzeugt. Meldungen erscheinen auf stderr, jede als\n"
    "\"hexzwirbel-cli: DATEI: Fehler|Warnung|Hinweis: ...\".\n"
    "Rückgabewerte: 0 erledigt, 1 Datei nicht geladen oder nicht geschrieben, 2 Aufruffehler;\n"
    "compare und diff: 0 gleich, 1 verschieden, 2 Fehler.\n"
    "\n"
    "Hilfe zu einem Befehl: hexzwirbel-cli help BEFEHL oder hexzwirbel-cli BEFEHL --help.\n";

std::string overview()
{
    std::string text = "Aufruf: hexzwirbel-cli BEFEHL [OPTIONEN] DATEI...\n"
                       "        hexzwirbel-cli help [BEFEHL]\n"
                       "        hexzwirbel-cli --version\n"
                       "\nBefehle:\n";
    for (const auto& c : Commands())
        // A usage line that goes on is indented deeper than the summary below it.
        text += "  " + wrapText(c->usageLine(), 2, 8) + "\n      " + wrapText(c->summary(), 6, 6) + "\n";
    return text + kOverviewTail;
}

std::string versionText()
{
    return std::string("hexzwirbel-cli ") + kProgramVersion +
           "\nTeil von HEX Zwirbel, einem Editor für die Einstellungen von Modellbahn-Dekodern.\n";
}

// A usage error before any command is known.
int toolUsageError(std::ostream& err, const std::string& what)
{
    // `what` may repeat an argument as it was typed.
    report(err, "", MsgKind::Error, DisplayName(what) + " Hilfe: hexzwirbel-cli --help");
    return 2;
}

const Command* findCommand(const std::string& name)
{
    for (const auto& c : Commands())
        if (name == c->name())
            return c.get();
    return nullptr;
}

// True when some command takes an option of that name: then it is a known option in the wrong
// place, not a typing error.
bool anyCommandTakes(const std::string& name)
{
    for (const auto& c : Commands())
        for (const CommandOption& s : c->options())
            if (name == s.name || (s.shortName && name == s.shortName))
                return true;
    return false;
}

struct Parsed {
    Options options;
    bool help = false;
    std::string error; // the first thing wrong with the call
};

// The arguments after the command's name, against what the command declares. After an error
// the rest is still read, so that a --help further on is still seen.
Parsed parseFor(const Command& c, const std::vector<std::string>& args, std::size_t from)
{
    Parsed p;
    Options& o = p.options;
    o.command = c.name();
    const std::vector<CommandOption> declared = c.options();
    std::set<std::string> given;
    auto fail = [&](const std::string& what) {
        if (p.error.empty())
            p.error = what;
    };
    bool optionsEnded = false;
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            o.files.push_back(a);
            continue;
        }
        // "--name=value", "-oVALUE", or the option alone.
        std::string name = a, value;
        bool attached = false;
        if (a[1] == '-') {
            const std::size_t eq = a.find('=');
            if (eq != std::string::npos) {
                name = a.substr(0, eq);
                value = a.substr(eq + 1);
                attached = true;
            }
        } else if (a.size() > 2) {
            name = a.substr(0, 2);
            value = a.substr(2);
            attached = true;
        }
        if (name == "--help" || name == "-h") {
            p.help = true;
            continue;
        }
        const CommandOption* option = nullptr;
        for (const CommandOption& d : declared)
            if (name == d.name || (d.shortName && name == d.shortName))
                option = &d;
        if (!option) {
            fail(anyCommandTakes(name) ? "Option " + name + " wird hier nicht angenommen."
                                       : "Unbekannte Option " + (a[1] == '-' ? name : a) + ".");
            continue;
        }
        if (option->value && !attached) {
            if (i + 1 >= args.size()) {
                fail("Nach " + name + " fehlt " + option->value + ".");
                continue;
            }
            value = args[++i];
        } else if (!option->value && attached) {
            fail("Option " + name + " nimmt keinen Wert.");
            continue;
        }
        // A value given twice is a mistake in the script; taking either one would hide it.
        if (!given.insert(option->name).second && option->value && !option->repeatable) {
            fail("Option " + name + " ist mehrfach angegeben.");
            continue;
        }
        option->store(o, value);
    }
    if (!p.error.empty())
        return p;

    const Operands ops = c.operands();
    const std::size_t n = o.files.size();
    if (n < ops.min || n > ops.max) {
        p.error = std::string("Erwartet: ") + ops.expected +
                  (*ops.text ? std::string(" (") + ops.text + ")" : std::string()) +
                  "; angegeben: " + std::to_string(n) + ".";
        return p;
    }
    for (const CommandOption& s : declared)
        if (s.required && !given.count(s.name)) {
            p.error = std::string("Es fehlt ") + (s.shortName ? s.shortName : s.name) + " " + s.value + ".";
            return p;
        }
    if (ops.files) {
        std::size_t fromStdin = 0;
        for (const std::string& f : o.files)
            fromStdin += isStdin(f) ? 1 : 0;
        if (fromStdin > 1)
            p.error = "stdin (-) lässt sich nur einmal lesen.";
    }
    return p;
}

} // namespace

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err, int* troubleCode)
{
    if (troubleCode)
        *troubleCode = 1;
    if (args.empty())
        return toolUsageError(err, "Kein Befehl angegeben.");
    const std::string& first = args[0];
    if (first == "--version") {
        out << versionText();
        return 0;
    }
    if (first == "--help" || first == "-h" || first == "help") {
        if (args.size() == 1) {
            out << overview();
            return 0;
        }
        const Command* c = findCommand(args[1]);
        if (!c)
            return toolUsageError(err, "Unbekannter Befehl: " + args[1] + ".");
        if (args.size() > 2)
            return toolUsageError(err, "help nimmt nur einen Befehl.");
        out << c->help();
        return 0;
    }
    if (first.size() > 1 && first[0] == '-')
        return toolUsageError(err, anyCommandTakes(first.substr(0, first.find('=')))
                                       ? "Die Option " + first + " gehört hinter den Befehl."
                                       : "Unbekannte Option " + first + ".");
    const Command* c = findCommand(first);
    if (!c)
        return toolUsageError(err, "Unbekannter Befehl: " + first + ".");
    if (troubleCode)
        *troubleCode = c->troubleCode();
    Parsed p = parseFor(*c, args, 1);
    if (p.help) {
        out << c->help();
        return 0;
    }
    if (!p.error.empty())
        return c->usageError(err, p.error);
    p.options.input = &in;
    return c->run(p.options, out, err);
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::istringstream nothing;
    return run(args, nothing, out, err);
}

int finishStandardOutput(int code, int troubleCode)
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
    report(std::cerr, "", MsgKind::Error,
           "Die Ausgabe konnte nicht vollständig geschrieben werden" +
               (reason != 0 ? ": " + SystemErrorReason(reason) : std::string()) + ".");
    return troubleCode;
}

} // namespace hz::cli
