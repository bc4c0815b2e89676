// overview PATH... [--json | --csv] [--html OUT]: every firmware file of the layout, its
// addresses, and the addresses two rows answer to.

#include <limits>
#include <ostream>

#include "cli/Command.h"
#include "cli/Json.h"
#include "core/Utf8Text.h"
#include "core/editor/Editor.h"
#include "core/firmware/HexText.h"
#include "core/tools/LayoutReport.h"
#include "core/tools/LayoutScan.h"

namespace hz::cli {

namespace {

using tools::LayoutScan;

std::string jsonNumber(const std::optional<int>& n) { return n ? std::to_string(*n) : std::string("null"); }

void writeJson(std::ostream& out, const LayoutScan& scan)
{
    out << "{\n  \"schema\": " << kJsonSchema << ",\n";
    out << "  \"files_found\": " << scan.filesFound << ",\n";
    out << "  \"failed\": " << (scan.failed ? "true" : "false") << ",\n";
    out << "  \"decoders\": [";
    for (std::size_t d = 0; d < scan.decoders.size(); ++d) {
        const tools::ScannedDecoder& dec = scan.decoders[d];
        out << (d ? "," : "") << "\n    {" << jsonFileFields("file", dec.file)
            << ", \"type\": " << (dec.type.empty() ? std::string("null") : jsonString(dec.type))
            << ", \"identifier\": " << dec.identifier << ", \"version\": " << jsonString(dec.version)
            << ", \"pic\": " << dec.pic << ", \"address_format\": " << jsonString(dec.format)
            << ", \"address_not_checked\": "
            << (dec.unchecked.empty() ? std::string("null") : jsonString(dec.unchecked)) << ",\n     \"rows\": [";
        for (std::size_t r = 0; r < dec.rows.size(); ++r) {
            const tools::ScannedRow& row = dec.rows[r];
            out << (r ? "," : "") << "\n      {\"row\": " << row.row << ", \"caption\": " << jsonString(row.caption)
                << ", \"address\": " << jsonNumber(row.address)
                << ", \"state\": " << (row.state.empty() ? std::string("null") : jsonString(row.state))
                << ", \"function\": " << jsonNumber(row.function)
                << ", \"space\": " << (row.space ? jsonString(tools::SpaceId(*row.space)) : std::string("null"))
                << ", \"double_use\": " << (row.doubleUse ? "true" : "false") << "}";
        }
        out << (dec.rows.empty() ? "]" : "\n     ]") << ",\n     \"messages\": [";
        for (std::size_t m = 0; m < dec.messages.size(); ++m)
            out << (m ? ", " : "") << jsonString(dec.messages[m]);
        out << "]}";
    }
    out << (scan.decoders.empty() ? "],\n" : "\n  ],\n");
    out << "  \"double_uses\": [";
    for (std::size_t k = 0; k < scan.doubleUses.size(); ++k) {
        const tools::DoubleUse& use = scan.doubleUses[k];
        out << (k ? "," : "") << "\n    {\"space\": " << jsonString(tools::SpaceId(use.space))
            << ", \"address\": " << use.address;
        // a locomotive address is the whole command; the others name a half or a function
        if (!use.state.empty())
            out << ", \"state\": " << jsonString(use.state);
        else if (!tools::IsLocoSpace(use.space))
            out << ", \"function\": " << use.function;
        out << ", \"command\": " << jsonString(tools::CommandText(use)) << ", \"uses\": [";
        for (std::size_t u = 0; u < use.uses.size(); ++u)
            out << (u ? ", " : "") << "{" << jsonFileFields("file", use.uses[u].file)
                << ", \"row\": " << use.uses[u].row << ", \"caption\": " << jsonString(use.uses[u].caption) << "}";
        out << "]}";
    }
    out << (scan.doubleUses.empty() ? "],\n" : "\n  ],\n");
    out << "  \"errors\": [";
    for (std::size_t k = 0; k < scan.errors.size(); ++k)
        out << (k ? "," : "") << "\n    {" << jsonFileFields("file", scan.errors[k].file)
            << ", \"reason\": " << jsonString(scan.errors[k].reason)
            << ", \"unreadable\": " << (scan.errors[k].unreadable ? "true" : "false") << "}";
    out << (scan.errors.empty() ? "]\n" : "\n  ]\n");
    out << "}\n";
}

void writeText(std::ostream& out, const LayoutScan& scan)
{
    for (const tools::ScannedDecoder& dec : scan.decoders) {
        out << DisplayName(dec.file) << "\n";
        out << "  " << (dec.type.empty() ? strprintf("(nicht erkannt: Kennung 0x%X)", dec.identifier) : dec.type)
            << ", V " << dec.version << ", PIC " << dec.pic << ", Format " << dec.format << "\n";
        if (!dec.unchecked.empty())
            out << "  " << tools::kAddressNotChecked << ": " << dec.unchecked << "\n";
        for (const tools::ScannedRow& r : dec.rows) {
            out << strprintf("  %2s  %s %s", r.row > 0 ? std::to_string(r.row).c_str() : "CV",
                             PadToWidth(r.caption, 40).c_str(), r.addressText.empty() ? "-" : r.addressText.c_str());
            if (!r.state.empty())
                out << (r.state == "green" ? " grün" : " rot");
            if (r.function)
                out << " F" << *r.function;
            if (r.doubleUse)
                out << "   <- doppelt";
            out << "\n";
        }
    }
    if (!scan.doubleUses.empty()) {
        out << "\nDoppelt belegte Adressen:\n";
        for (const tools::DoubleUse& use : scan.doubleUses) {
            out << "  " << tools::CommandText(use) << ":\n";
            for (const tools::DoubleUse::Use& u : use.uses)
                out << "    " << DisplayName(u.file) << ", " << tools::UsePlace(u) << "\n";
        }
    }
    if (!scan.errors.empty()) {
        out << "\nNicht geladen oder übersprungen:\n";
        for (const tools::ScanError& e : scan.errors)
            out << "  " << DisplayName(e.file) << ": " << tools::OneLine(e.reason) << "\n";
    }
    out << "\n" << tools::OverviewSummary(scan) << "\n";
}

class OverviewCommand : public Command {
public:
    const char* name() const override { return "overview"; }
    Operands operands() const override
    {
        return {"PFAD...", "mindestens einen Ordner oder eine Datei", 1, std::numeric_limits<std::size_t>::max(),
                false};
    }
    std::vector<CommandOption> options() const override
    {
        return {opt::json("Die Übersicht als JSON-Objekt (Aufbau: hexzwirbel-cli(1))."),
                {"--csv", nullptr, nullptr, "Die Übersicht als CSV-Tabelle (Trenner ;) für eine Tabellenkalkulation.",
                 [](Options& o, const std::string&) { o.csv = true; }},
                {"--html", nullptr, "AUS",
                 "Dazu eine Web-Seite zum Ansehen und Drucken nach AUS schreiben (- für stdout).",
                 [](Options& o, const std::string& v) { o.html = v; }},
                opt::defaultConfig()};
    }
    const char* summary() const override
    {
        return "Zeigt alle HEX-Dateien der Anlage mit ihren Adressen und meldet doppelt belegte Adressen.";
    }
    const char* description() const override
    {
        return "Lädt jede .hex-Datei in den Ordnern (mit Unterordnern) und jede genannte Datei wie info,\n"
               "ohne Fragen, und zeigt je Dekoder Datei, Typ, Version, PIC, Adressformat und die\n"
               "Adresszeilen. Danach die doppelt belegten Adressen: zwei Zeilen, in zwei Dateien oder\n"
               "in einer, die auf denselben Befehl hören - dasselbe Adressformat (Mot und DCC getrennt),\n"
               "dieselbe Adresse und bei Zubehör-Zeilen dieselbe Hälfte (rot oder grün), bei\n"
               "Funktionsdekoder-Zeilen dieselbe Funktions-Nummer. Zeilen ohne Adresse (0 = unbenutzt)\n"
               "zählen nicht. Dekoder, deren Einstellungen CVs sind, hören als Ganzes auf die Lokadresse\n"
               "aus ihren CVs (kurz aus CV1, mit Bit 5 in CV29 lang aus CV17/CV18; kurze und lange\n"
               "Adresse 3 sind verschieden). Kann die Übersicht die Adresse eines Dekoders nicht\n"
               "ermitteln, steht er mit \"Adresse nicht geprüft\" und dem Grund in der Liste.\n"
               "Eine doppelte Belegung kann gewollt sein und ist darum eine Warnung.\n"
               "Dateien, die nicht laden, stehen mit ihrem Grund in der Liste; die Suche geht weiter.\n"
               "Ordner und Dateien, deren Name mit . beginnt, werden übergangen, Verknüpfungen\n"
               "verfolgt (ohne Schleifen), Dateien über 1 MB nicht gelesen. Die Dateien werden\n"
               "nach Namen sortiert und parallel geladen.\n";
    }
    const char* exitCodes() const override
    {
        return "0 keine Adresse doppelt belegt, 1 Adressen doppelt belegt, 2 ein PFAD oder ein Ordner oder eine "
               "Datei darin ließ sich nicht lesen (die Übersicht ist unvollständig), die Web-Seite nicht schreiben, "
               "oder Aufruffehler.";
    }
    int troubleCode() const override { return 2; }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        if (o.json && o.csv)
            return usageError(err, "--json und --csv schließen sich aus.");
        const bool htmlToStdout = !o.html.empty() && isStdout(o.html);
        if (htmlToStdout && (o.json || o.csv))
            return usageError(err, "--html - schreibt auf stdout; dort steht schon --json oder --csv.");

        tools::ScanControl control;
        control.defaultConfig = o.defaultConfig;
        const LayoutScan scan = Editor::layoutOverview(o.files, control);

        for (const tools::ScanError& e : scan.errors)
            report(err, e.file, MsgKind::Error, tools::OneLine(e.reason));
        int code = scan.doubleUses.empty() ? 0 : 1;
        if (!scan.doubleUses.empty())
            report(err, name(), MsgKind::Warning,
                   scan.doubleUses.size() == 1
                       ? std::string("1 Adresse ist doppelt belegt.")
                       : strprintf("%zu Adressen sind doppelt belegt.", scan.doubleUses.size()));
        if (scan.failed) {
            report(err, name(), MsgKind::Error,
                   "Nicht jeder Ordner und nicht jede Datei ließ sich lesen; die Übersicht ist unvollständig.");
            code = 2;
        }

        if (!o.html.empty() && !htmlToStdout) {
            if (!reportWrite(err, o.html, tools::WriteOverviewFile(o.html, tools::OverviewHtml(scan), scan)))
                code = 2;
        }

        if (o.json)
            writeJson(out, scan);
        else if (o.csv)
            out << tools::OverviewCsv(scan);
        else if (htmlToStdout)
            out << tools::OverviewHtml(scan);
        else
            writeText(out, scan);
        return code;
    }
};

} // namespace

std::unique_ptr<Command> makeOverviewCommand() { return std::make_unique<OverviewCommand>(); }

} // namespace hz::cli
