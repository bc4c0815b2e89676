// info FILE [--json]: what the editor would show for a file, and every message of its load.

#include <ostream>

#include "cli/BatchLoad.h"
#include "cli/Command.h"
#include "cli/RowReport.h"
#include "core/Utf8Text.h"
#include "core/firmware/HexText.h"
#include "core/tools/SessionJson.h"

namespace hz::cli {

namespace {

void writeJson(std::ostream& out, const BatchLoad& in)
{
    tools::writeSessionJson(out, in.session, in.file, in.loaded(), in.prompter.shown);
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
            out << strprintf("  %2d  %s %s", r.row, PadToWidth(r.caption, 40).c_str(),
                             r.address.empty() ? "-" : r.address.c_str());
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
