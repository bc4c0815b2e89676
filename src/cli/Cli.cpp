#include "Cli.h"

#include <ostream>
#include <sstream>

#include "Json.h"
#include "Session.h"
#include "firmware/HexText.h"

namespace hz::cli {

namespace {

const char* const kUsage =
    "Aufruf: hexzwirbel-cli BEFEHL ...\n"
    "\n"
    "Befehle:\n"
    "  info DATEI [--json] [--default-config]\n"
    "      Lädt die HEX-Datei wie das Programm und berichtet, was darin steht.\n"
    "  convert EIN -o AUS [--default-config]\n"
    "      Lädt EIN und schreibt es unverändert als neue HEX-Datei AUS.\n"
    "\n"
    "Fragen beim Laden werden ohne Eingabe beantwortet: fehlende PIC-Zuordnung, ID oder\n"
    "Config mit \"Ignorieren\"; mit --default-config wird bei fehlendem Config-Wert der\n"
    "Standard-Wert des Dekoders erzeugt. Meldungen erscheinen auf stderr.\n"
    "Rückgabewerte: 0 erledigt, 1 Datei nicht geladen oder nicht geschrieben, 2 Aufruffehler.\n";

struct Shown {
    MsgKind kind;
    std::string text;
};

// Answers every question without input, as documented in the usage text, and records what
// was shown.
class BatchPrompter : public Prompter {
public:
    BatchPrompter(std::ostream& err, bool defaultConfig) : m_err(err), m_defaultConfig(defaultConfig) {}

    Answer ask(MsgKind kind, const std::string& text, Buttons buttons) override
    {
        shown.push_back({kind, text});
        // The texts use CR, LF and CR LF as line breaks; a terminal wants LF.
        std::string display;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') {
                display += '\n';
                if (i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
            } else {
                display += text[i];
            }
        }
        m_err << prefix << kindName(kind) << ": " << display << "\n";
        switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::Cancel: return Answer::Cancel;
        case Buttons::Ignore:
        case Buttons::CancelIgnore: return Answer::Ignore;
        case Buttons::YesIgnore: return m_defaultConfig ? Answer::Yes : Answer::Ignore;
        case Buttons::YesNo: return Answer::Yes;
        }
        return Answer::Ok;
    }

    std::vector<Shown> shown;
    std::string prefix;

private:
    std::ostream& m_err;
    bool m_defaultConfig;
};

struct Options {
    std::string command;
    std::vector<std::string> files;
    std::string output;
    bool json = false;
    bool defaultConfig = false;
    bool help = false;
    std::string error;
};

Options parse(const std::vector<std::string>& args)
{
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--default-config") {
            o.defaultConfig = true;
        } else if (a == "-o" || a == "--output") {
            if (i + 1 >= args.size()) {
                o.error = "Nach " + a + " fehlt der Name der Ausgabedatei.";
                return o;
            }
            o.output = args[++i];
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

int usageError(std::ostream& err, const std::string& what)
{
    err << "hexzwirbel-cli: " << what << "\n\n" << kUsage;
    return 2;
}

void writeInfoJson(std::ostream& out, const std::string& file, bool loaded, const Session& s, const BatchPrompter& p)
{
    const FirmwareImage& img = s.image;
    std::string version = s.status.text[1];
    if (version.rfind("V ", 0) == 0)
        version = version.substr(2);
    out << "{\n";
    out << "  \"file\": " << jsonString(file) << ",\n";
    out << "  \"loaded\": " << (loaded ? "true" : "false") << ",\n";
    out << "  \"id\": " << jsonString(img.IdText) << ",\n";
    out << "  \"version\": " << jsonString(version) << ",\n";
    out << "  \"config\": [";
    for (std::size_t k = 0; k < 4; ++k)
        out << (k ? ", " : "") << jsonString(img.ConfigWords[k]);
    out << "],\n";
    out << "  \"rom_top\": " << img.RomTop << ",\n";
    out << "  \"eeprom_top\": " << img.EepromTop << ",\n";
    out << "  \"messages\": [";
    for (std::size_t k = 0; k < p.shown.size(); ++k)
        out << (k ? "," : "") << "\n    {\"kind\": " << jsonString(kindName(p.shown[k].kind))
            << ", \"text\": " << jsonString(p.shown[k].text) << "}";
    out << (p.shown.empty() ? "]\n" : "\n  ]\n");
    out << "}\n";
}

void writeInfoText(std::ostream& out, const std::string& file, bool loaded, const Session& s, const BatchPrompter& p)
{
    const FirmwareImage& img = s.image;
    out << "Datei:      " << file << "\n";
    out << "Geladen:    " << (loaded ? "ja" : "nein") << "\n";
    out << "ID:         " << img.IdText << "\n";
    out << "Version:    " << s.status.text[1] << "\n";
    out << "Config:     " << img.ConfigWords[0] << " " << img.ConfigWords[1] << " " << img.ConfigWords[2] << " "
        << img.ConfigWords[3] << "\n";
    out << "ROM bis:    " << strprintf("0x%04X", static_cast<unsigned>(img.RomTop)) << "\n";
    out << "EEPROM bis: " << strprintf("0x%02X", static_cast<unsigned>(img.EepromTop)) << "\n";
    if (!p.shown.empty()) {
        out << "Meldungen:\n";
        for (const auto& m : p.shown)
            out << "  [" << kindName(m.kind) << "] " << m.text << "\n";
    }
}

int cmdInfo(const Options& o, std::ostream& out, std::ostream& err)
{
    if (o.files.size() != 1 || !o.output.empty())
        return usageError(err, "info erwartet genau eine Datei.");
    const std::string& file = o.files[0];
    BatchPrompter prompter(err, o.defaultConfig);
    prompter.prefix = "hexzwirbel-cli: " + file + ": ";
    Session session(prompter);
    const LoadOutcome outcome = session.LoadFile(file);
    const bool loaded = outcome == LoadOutcome::Done;
    if (outcome == LoadOutcome::Unreadable && !o.json)
        return 1;
    if (o.json)
        writeInfoJson(out, file, loaded, session, prompter);
    else
        writeInfoText(out, file, loaded, session, prompter);
    return loaded ? 0 : 1;
}

int cmdConvert(const Options& o, std::ostream&, std::ostream& err)
{
    if (o.files.size() != 1 || o.output.empty())
        return usageError(err, "convert erwartet eine Eingabedatei und -o AUSGABE.");
    const std::string& file = o.files[0];
    BatchPrompter prompter(err, o.defaultConfig);
    prompter.prefix = "hexzwirbel-cli: " + file + ": ";
    Session session(prompter);
    if (session.LoadFile(file) != LoadOutcome::Done) {
        err << "hexzwirbel-cli: " << file << ": nicht geladen, nichts geschrieben.\n";
        return 1;
    }
    prompter.prefix = "hexzwirbel-cli: " + o.output + ": ";
    if (!session.SaveTo(o.output))
        return 1;
    return 0;
}

} // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Options o = parse(args);
    if (!o.error.empty())
        return usageError(err, o.error);
    if (o.help || o.command == "help") {
        out << kUsage;
        return 0;
    }
    if (o.command.empty())
        return usageError(err, "Kein Befehl angegeben.");
    if (o.command == "info")
        return cmdInfo(o, out, err);
    if (o.command == "convert")
        return cmdConvert(o, out, err);
    return usageError(err, "Unbekannter Befehl: " + o.command);
}

} // namespace hz::cli
