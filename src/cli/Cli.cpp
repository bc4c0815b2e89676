#include "Cli.h"

#include <ostream>
#include <sstream>

#include "Json.h"
#include "Session.h"
#include "catalogue/Catalogue.h"
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
    "  set EIN -o AUS --row N=WERT [--row N=WERT ...] [--default-config]\n"
    "      Ändert Adressen wie die Adressseite des Programms und schreibt AUS (AUS darf EIN\n"
    "      sein). WERT ist ADRESSE, ADRESSEr oder ADRESSEg (rote/grüne Adresse) oder\n"
    "      ADRESSE/FUNKTION (Funktionsdekoder). Ohne r/g behält die Zeile ihre Farbe.\n"
    "  types [--json]\n"
    "      Listet alle bekannten Dekoder-Typen.\n"
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
    std::vector<std::string> rowValues;
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
        } else if (a == "--row") {
            if (i + 1 >= args.size()) {
                o.error = "Nach --row fehlt N=WERT.";
                return o;
            }
            o.rowValues.push_back(args[++i]);
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

// The input file, loaded the way the editor loads it, with the batch answers; messages are
// prefixed with the file's name.
struct BatchLoad {
    BatchLoad(const Options& o, std::ostream& errStream)
        : err(errStream), prompter(errStream, o.defaultConfig), session(prompter), file(o.files[0])
    {
        prompter.prefix = "hexzwirbel-cli: " + file + ": ";
        outcome = session.LoadFile(file);
    }

    // For the commands that write: false (after saying so) when the load did not go through.
    bool readyToWrite()
    {
        if (outcome == LoadOutcome::Done)
            return true;
        err << "hexzwirbel-cli: " << file << ": nicht geladen, nichts geschrieben.\n";
        return false;
    }

    // Messages of the write name the output file.
    void writingTo(const std::string& output) { prompter.prefix = "hexzwirbel-cli: " + output + ": "; }

    std::ostream& err;
    BatchPrompter prompter;
    Session session;
    std::string file;
    LoadOutcome outcome = LoadOutcome::NoFile;
};

// One captioned address row as the address page shows it.
struct RowReport {
    int row;
    std::string caption, address, state, function;
};

std::vector<RowReport> rowReports(const Session& s)
{
    std::vector<RowReport> rows;
    const IdentificationState& id = s.ident;
    for (int r = 1; r < AddressPage::kRows; ++r) {
        if (!id.hasCaption(r))
            continue;
        const auto i = static_cast<std::size_t>(r);
        RowReport rep{r, id.Captions[i], s.addresses.AddressText[i], "", ""};
        if (id.RedGreen && AddressPage::hasStorage(r))
            rep.state = s.addresses.RowState[i] == 1 ? "green" : "red";
        else if (id.FunctionDecoder)
            rep.function = s.addresses.FunctionText[i].empty() ? "null" : s.addresses.FunctionText[i];
        rows.push_back(rep);
    }
    return rows;
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
    const IdentificationState& id = s.ident;
    out << "  \"pic\": " << img.PicModel << ",\n";
    out << "  \"identifier\": " << id.Identifier << ",\n";
    out << "  \"type\": " << (id.Type ? jsonString(id.Type->Name) : std::string("null")) << ",\n";
    out << "  \"page\": " << (id.Type ? id.Type->Page : 0) << ",\n";
    out << "  \"format\": " << jsonString(id.formatText()) << ",\n";
    out << "  \"doc\": " << jsonString(id.DocPage) << ",\n";
    out << "  \"rows\": [";
    bool first = true;
    for (const RowReport& r : rowReports(s)) {
        out << (first ? "" : ",") << "\n    {\"row\": " << r.row << ", \"caption\": " << jsonString(r.caption)
            << ", \"address\": " << (r.address.empty() ? std::string("null") : r.address);
        if (!r.state.empty())
            out << ", \"state\": " << jsonString(r.state);
        if (!r.function.empty())
            out << ", \"function\": " << r.function;
        out << "}";
        first = false;
    }
    out << (first ? "],\n" : "\n  ],\n");
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
    const IdentificationState& id = s.ident;
    out << "Kennung:    " << strprintf("0x%X", static_cast<unsigned>(id.Identifier)) << "\n";
    out << "Typ:        " << (id.Type ? id.Type->Name : std::string("(nicht erkannt)")) << "\n";
    out << "PIC:        " << img.PicModel << "\n";
    out << "Seite:      " << (id.Type ? id.Type->Page : 0) << "\n";
    out << "Format:     " << id.formatText() << "\n";
    out << "Doku:       " << id.DocPage << "\n";
    const auto rows = rowReports(s);
    if (!rows.empty()) {
        out << "Adressen:\n";
        for (const RowReport& r : rows) {
            out << strprintf("  %2d  %-40s %s", r.row, r.caption.c_str(), r.address.empty() ? "-" : r.address.c_str());
            if (!r.state.empty())
                out << (r.state == "green" ? " grün" : " rot");
            if (!r.function.empty())
                out << " F" << r.function;
            out << "\n";
        }
    }
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
    BatchLoad in(o, err);
    const bool loaded = in.outcome == LoadOutcome::Done;
    if (in.outcome == LoadOutcome::Unreadable && !o.json)
        return 1;
    if (o.json)
        writeInfoJson(out, in.file, loaded, in.session, in.prompter);
    else
        writeInfoText(out, in.file, loaded, in.session, in.prompter);
    return loaded ? 0 : 1;
}

int cmdConvert(const Options& o, std::ostream&, std::ostream& err)
{
    if (o.files.size() != 1 || o.output.empty())
        return usageError(err, "convert erwartet eine Eingabedatei und -o AUSGABE.");
    BatchLoad in(o, err);
    if (!in.readyToWrite())
        return 1;
    in.writingTo(o.output);
    return in.session.SaveTo(o.output) ? 0 : 1;
}

// Applies one "N=VALUE" to the address page's fields, as typing into the row would.
bool applyRowValue(Session& session, const std::string& assignment, std::string& error)
{
    const std::size_t eq = assignment.find('=');
    int row = 0;
    if (eq == std::string::npos || !parseWholeNumber(assignment.substr(0, eq), row)) {
        error = "--row erwartet N=WERT, nicht \"" + assignment + "\".";
        return false;
    }
    const IdentificationState& id = session.ident;
    if (row < 1 || row >= AddressPage::kRows || !id.hasCaption(row)) {
        error = strprintf("Zeile %d gibt es bei diesem Dekoder nicht.", row);
        return false;
    }
    if (!AddressPage::hasStorage(row)) {
        error = strprintf("Für Zeile %d <%s> hat die Firmware keinen Speicherplatz.", row,
                          id.Captions[static_cast<std::size_t>(row)].c_str());
        return false;
    }
    std::string value = assignment.substr(eq + 1);
    auto& page = session.addresses;
    const auto i = static_cast<std::size_t>(row);
    if (id.FunctionDecoder) {
        const std::size_t slash = value.find('/');
        if (slash == std::string::npos) {
            error = strprintf("Zeile %d ist eine Funktionsdekoder-Zeile: WERT ist ADRESSE/FUNKTION.", row);
            return false;
        }
        page.AddressText[i] = value.substr(0, slash);
        page.FunctionText[i] = value.substr(slash + 1);
        return true;
    }
    if (!value.empty() && (value.back() == 'r' || value.back() == 'g' || value.back() == 'R' || value.back() == 'G')) {
        if (!id.RedGreen) {
            error = strprintf("Zeile %d hat keine rote und grüne Adresse.", row);
            return false;
        }
        page.RowState[i] = (value.back() == 'g' || value.back() == 'G') ? 1 : 0;
        value.pop_back();
    }
    page.AddressText[i] = value;
    return true;
}

int cmdSet(const Options& o, std::ostream&, std::ostream& err)
{
    if (o.files.size() != 1 || o.output.empty() || o.rowValues.empty())
        return usageError(err, "set erwartet eine Eingabedatei, -o AUSGABE und mindestens ein --row N=WERT.");
    BatchLoad in(o, err);
    if (!in.readyToWrite())
        return 1;
    Session& session = in.session;
    const std::string& file = in.file;
    if (session.ident.NoAddressInput) {
        err << "hexzwirbel-cli: " << file << ": diese Firmware nimmt keine Adressen an, nichts geschrieben.\n";
        return 1;
    }
    // Address format "ohne": the window hides every address row, so there is nothing to type
    // into, and a save would not encode what was given.
    if (!session.ident.Mot && !session.ident.DCC) {
        err << "hexzwirbel-cli: " << file
            << ": in dieser Firmware wurde kein Adressformat erkannt (\"ohne\"), Adressen können nicht gesetzt "
               "werden, nichts geschrieben.\n";
        return 1;
    }
    for (const std::string& assignment : o.rowValues) {
        std::string error;
        if (!applyRowValue(session, assignment, error)) {
            err << "hexzwirbel-cli: " << file << ": " << error << " Nichts geschrieben.\n";
            return 1;
        }
    }
    if (!session.PrepareSave()) {
        err << "hexzwirbel-cli: " << file << ": nichts geschrieben.\n";
        return 1;
    }
    in.writingTo(o.output);
    return session.WriteBuiltLines(o.output) ? 0 : 1;
}

std::string rowModeText(const DecoderType& t)
{
    if (t.RedGreen)
        return "R/G";
    if (t.FunctionDecoder)
        return "F";
    if (t.PageOnly)
        return "Seite";
    return "-";
}

int cmdTypes(const Options& o, std::ostream& out, std::ostream& err)
{
    if (!o.files.empty() || !o.output.empty())
        return usageError(err, "types erwartet keine Datei.");
    const auto& all = DecoderCatalogue();
    auto rowCount = [](const DecoderType& t) {
        int n = 0;
        for (const auto& c : t.Captions)
            n += c.empty() ? 0 : 1;
        return n;
    };
    if (o.json) {
        out << "[";
        for (std::size_t k = 0; k < all.size(); ++k) {
            const DecoderType& t = all[k];
            out << (k ? "," : "") << "\n  {\"identifier\": " << t.Identifier;
            if (t.Identifier2)
                out << ", \"identifier2\": " << t.Identifier2;
            out << ", \"name\": " << jsonString(t.Name) << ", \"pic\": " << t.PicModel << ", \"page\": " << t.Page
                << ", \"row_mode\": " << jsonString(rowModeText(t)) << ", \"rows\": " << rowCount(t)
                << ", \"doc\": " << jsonString(t.DocPage) << "}";
        }
        out << "\n]\n";
        return 0;
    }
    out << strprintf("%-18s %-6s %-5s %-6s %-5s %s\n", "Kennung", "PIC", "Seite", "Zeilen", "Modus", "Name");
    for (const DecoderType& t : all) {
        std::string ids = strprintf("0x%X", static_cast<unsigned>(t.Identifier));
        if (t.Identifier2)
            ids += strprintf(",0x%X", static_cast<unsigned>(t.Identifier2));
        out << strprintf("%-18s %-6d %-5d %-6d %-5s %s\n", ids.c_str(), t.PicModel, t.Page, rowCount(t),
                         rowModeText(t).c_str(), t.Name.c_str());
    }
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
    if (o.command == "set")
        return cmdSet(o, out, err);
    if (o.command == "types")
        return cmdTypes(o, out, err);
    return usageError(err, "Unbekannter Befehl: " + o.command);
}

} // namespace hz::cli
