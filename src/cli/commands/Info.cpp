// info FILE [--json]: what the editor would show for a file, and every message of its load.

#include <ostream>

#include "cli/BatchLoad.h"
#include "cli/Command.h"
#include "cli/Json.h"
#include "cli/PageReport.h"
#include "cli/RowReport.h"
#include "core/firmware/HexText.h"

namespace hz::cli {

namespace {

void writeJson(std::ostream& out, const BatchLoad& in)
{
    const Session& s = in.session;
    const FirmwareImage& img = s.image;
    const std::string version = img.facts.versionText();
    out << "{\n";
    out << "  \"schema\": " << kJsonSchema << ",\n";
    out << "  " << jsonFileFields("file", in.file) << ",\n";
    out << "  \"loaded\": " << (in.loaded() ? "true" : "false") << ",\n";
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
    out << "  \"pages\": ";
    writePagesJson(out, s, 2);
    out << ",\n";
    // The address rows as a page of their own, with the controls `set --do` reaches.
    out << "  \"address_page\": ";
    writePageJson(out, s.addresses, 2);
    out << ",\n";
    // Bytes the page changed on its own when it was shown; a save writes them.
    out << "  \"corrections\": [";
    for (std::size_t k = 0; k < s.loadCorrections.size(); ++k) {
        const hz::LoadCorrection& c = s.loadCorrections[k];
        out << (k ? "," : "") << "\n    {\"where\": " << jsonString(c.change.eeprom ? "eeprom" : "rom")
            << ", \"address\": " << c.change.index << ", \"stored\": " << jsonString(c.change.before)
            << ", \"shown\": " << jsonString(c.change.after) << ", \"pending\": " << (c.pending ? "true" : "false")
            << ", \"text\": " << jsonString(hz::CorrectionLine(c)) << "}";
    }
    out << (s.loadCorrections.empty() ? "],\n" : "\n  ],\n");
    const auto& shown = in.prompter.shown;
    out << "  \"messages\": [";
    for (std::size_t k = 0; k < shown.size(); ++k)
        out << (k ? "," : "") << "\n    {\"kind\": " << jsonString(kindName(shown[k].kind))
            << ", \"text\": " << jsonString(shown[k].text) << ", \"answer\": "
            << (isQuestion(shown[k].buttons) ? jsonString(answerName(shown[k].answer)) : std::string("null")) << "}";
    out << (shown.empty() ? "]\n" : "\n  ]\n");
    out << "}\n";
}

void writeText(std::ostream& out, const BatchLoad& in)
{
    const Session& s = in.session;
    const FirmwareImage& img = s.image;
    out << "Datei:      " << DisplayName(in.file) << "\n";
    out << "Geladen:    " << (in.loaded() ? "ja" : "nein") << "\n";
    out << "ID:         " << img.IdText << "\n";
    out << "Version:    " << s.statusTexts().text[1] << "\n";
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
    for (const pages::Page* page : s.pages.shown())
        out << "Rahmen:     " << page->frameName() << (page->hasPending() ? " (nicht übernommen)" : "") << "\n";
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
    if (!in.prompter.shown.empty()) {
        out << "Meldungen:\n";
        for (const auto& m : in.prompter.shown)
            out << "  [" << severityWord(m.kind) << "] " << m.text
                << (isQuestion(m.buttons) ? std::string(" (Antwort: ") + answerWord(m.answer) + ")" : std::string())
                << "\n";
    }
}

class InfoCommand : public Command {
public:
    const char* name() const override { return "info"; }
    Operands operands() const override { return {"DATEI", "genau eine Datei", 1, 1}; }
    std::vector<CommandOption> options() const override
    {
        return {opt::json("Der Bericht als JSON-Objekt (Aufbau: hexzwirbel-cli(1))."), opt::defaultConfig()};
    }
    const char* summary() const override
    {
        return "Lädt die HEX-Datei wie das Programm und berichtet, was darin steht.";
    }
    const char* description() const override
    {
        return "Lädt DATEI wie das Programm und berichtet, was es zeigen würde: ID, Version,\n"
               "Config-Wörter, Kennung, Typ, PIC, Seite, Adressformat, die Adresszeilen und jede\n"
               "Meldung des Ladens (Fragen mit der Antwort, die das Werkzeug gegeben hat). Mit --json\n"
               "dazu jedes Bedienelement der Seite und der Adresszeilen und die Bytes, die die Seite\n"
               "beim Anzeigen ändert. Die JSON-Ausgabe erscheint auch, wenn die Datei nicht lädt.\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        BatchLoad in(o, err);
        if (in.outcome == LoadOutcome::Unreadable && !o.json)
            return 1;
        if (o.json)
            writeJson(out, in);
        else
            writeText(out, in);
        return in.loaded() ? 0 : 1;
    }
};

} // namespace

std::unique_ptr<Command> makeInfoCommand() { return std::make_unique<InfoCommand>(); }

} // namespace hz::cli
