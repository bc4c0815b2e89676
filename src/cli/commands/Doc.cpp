// doc -o ORDNER: the pages of the manual that describe the decoder types, one per catalogue
// entry and a list of them all, written from the catalogue itself. The build runs it into the
// manual's folder, so the pages say exactly what the program does with each type.

#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/Command.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/DocLinks.h"
#include "core/firmware/FileSet.h"
#include "core/firmware/HexText.h"
#include "core/pages/register/CvLists.h"
#include "core/tools/SettingsSheet.h"

namespace hz::cli {

namespace {

std::string html(const std::string& text) { return tools::HtmlEscaped(text); }

std::string hexId(int identifier) { return strprintf("0x%X", static_cast<unsigned>(identifier)); }

std::string identifiers(const DecoderType& t)
{
    std::string ids = hexId(t.Identifier);
    if (t.Identifier2)
        ids += " und " + hexId(t.Identifier2);
    return ids;
}

// "16F684", "12F629/16F630": the part names the status bar adds to the file name.
std::string picName(int picModel)
{
    const PicInfo* pic = FindPic(picModel);
    if (!pic)
        return std::to_string(picModel);
    std::string name = pic->StatusSuffix;
    const auto open = name.find('('), close = name.rfind(')');
    return open == std::string::npos || close == std::string::npos ? name : name.substr(open + 1, close - open - 1);
}

struct PageText {
    const char* name;   // as the manual calls the page
    const char* manual; // the manual's page about it; nullptr when there is none
};

PageText pageText(int kind)
{
    switch (kind) {
    case PageZusatz: return {"Zusatzfunktionen", "zusatz.html"};
    case PageBlinkmuster: return {"Blinkmuster", "blinkmuster.html"};
    case PageBlinkmusterLed: return {"LED-Blinkmuster", "led-blinkmuster.html"};
    case PageServo: return {"Servokurven und Servoadressen", "servo.html"};
    case PageRegister: return {"CV-Register", "register.html"};
    default: return {"keine eigene Seite", nullptr};
    }
}

std::string rowModeText(const DecoderType& t)
{
    if (t.RedGreen)
        return "Jede Zeile hält eine Zubehör-Adresse, rot oder grün (Knopf <b>R/G</b>).";
    if (HasFunctionRows(t))
        return "Jede Zeile hält eine Dekoder-Adresse und eine Funktions-Nummer.";
    return "Dieser Dekoder hat keine Adresszeilen; alle Einstellungen stehen auf seiner Seite.";
}

std::vector<std::string> head(const std::string& title, const std::string& css)
{
    return {"<!DOCTYPE html>",
            "<html lang=\"de\">",
            "<head>",
            "<meta charset=\"utf-8\">",
            "<title>" + html(title) + " - HEX Zwirbel</title>",
            "<link rel=\"stylesheet\" href=\"" + css + "\">",
            "</head>",
            "<body>",
            "<p class=\"nav\"><a href=\"../" + std::string(kManualIndex) + "\">Handbuch</a> · <a href=\"" +
                kManualIndex + "\">Alle Dekodertypen</a></p>"};
}

void add(std::vector<std::string>& lines, const std::vector<std::string>& more)
{
    lines.insert(lines.end(), more.begin(), more.end());
}

std::vector<std::string> typePage(const DecoderType& t)
{
    std::vector<std::string> l = head(t.Name, "../hilfe.css");
    const PageText page = pageText(t.Page);
    add(l,
        {"<h1>" + html(t.Name) + "</h1>", "<table class=\"facts\">",
         "<tr><th>Kennung</th><td>" + identifiers(t) + "</td></tr>",
         "<tr><th>PIC</th><td>" + picName(t.PicModel) + "</td></tr>",
         "<tr><th>Seite</th><td>" +
             (page.manual ? "<a href=\"../" + std::string(page.manual) + "\">" + page.name + "</a>"
                          : std::string(page.name)) +
             "</td></tr>",
         "<tr><th>Adressformat</th><td>" +
             std::string(t.SetsDcc ? "immer DCC"
                                   : "Mot oder DCC, wie die Firmware es mitbringt (Statuszeile: Mot, DCC oder ohne)") +
             "</td></tr>",
         "</table>"});

    const bool hasRows = t.RedGreen || HasFunctionRows(t);
    add(l, {"<h2>Adresszeilen</h2>",
            "<p>" + rowModeText(t) + (hasRows ? " <a href=\"../adressen.html\">Mehr dazu</a>" : "") + "</p>"});
    std::vector<std::string> rows;
    for (std::size_t r = 1; r < static_cast<std::size_t>(kAddressRows); ++r)
        if (!t.Captions[r].empty())
            rows.push_back("<tr><td>" + std::to_string(r) + "</td><td>" +
                           (t.Captions[r] == " " ? std::string("(ohne Beschriftung)") : html(t.Captions[r])) +
                           "</td></tr>");
    if (!rows.empty()) {
        l.push_back("<table class=\"list\">");
        l.push_back("<tr><th>Zeile</th><th>Beschriftung</th></tr>");
        add(l, rows);
        l.push_back("</table>");
        if (t.ColumnBreak > 0)
            l.push_back(strprintf("<p>Die Zeilen stehen in zwei Spalten: 1 bis %d links, die übrigen rechts.</p>",
                                  t.ColumnBreak));
    }

    const std::vector<CvEntry>& cvs = CvListFor(t.Identifier);
    if (!cvs.empty()) {
        add(l, {"<h2>CV-Liste</h2>",
                "<p>Jede CV ist ein Byte im EEPROM; die Seite <a href=\"../register.html\">CV-Register</a> zeigt "
                "sie in dieser Reihenfolge.</p>",
                "<table class=\"list\">", "<tr><th>CV</th><th>EEPROM-Adresse</th></tr>"});
        for (const CvEntry& cv : cvs)
            l.push_back("<tr><td>" + html(cv.caption) + "</td><td>" + strprintf("0x%02X", cv.address) + "</td></tr>");
        l.push_back("</table>");
    }

    // The versions of the type: the entries the documentation keeps on one page with it.
    std::vector<const DecoderType*> versions;
    if (!t.DocPage.empty())
        for (const DecoderType& other : DecoderCatalogue())
            if (other.DocPage == t.DocPage)
                versions.push_back(&other);
    if (versions.size() > 1) {
        add(l, {"<h2>Firmware-Versionen</h2>",
                "<p>HEX Zwirbel kennt diese Firmwares dieses Dekoders und seiner nahen Verwandten:</p>",
                "<table class=\"list\">", "<tr><th>Kennung</th><th>Name</th><th>PIC</th><th>Seite</th></tr>"});
        for (const DecoderType* v : versions) {
            const std::string name = v == &t ? "<b>" + html(v->Name) + "</b>"
                                             : "<a href=\"" + TypePageFile(*v) + "\">" + html(v->Name) + "</a>";
            l.push_back("<tr><td>" + identifiers(*v) + "</td><td>" + name + "</td><td>" + picName(v->PicModel) +
                        "</td><td>" + pageText(v->Page).name + "</td></tr>");
        }
        l.push_back("</table>");
    }
    add(l, {"</body>", "</html>"});
    return l;
}

std::vector<std::string> listPage()
{
    std::vector<std::string> l = head("Dekodertypen", "../hilfe.css");
    add(l, {"<h1>Dekodertypen</h1>",
            "<p>Alle Dekodertypen und Firmware-Versionen, die HEX Zwirbel erkennt. HEX Zwirbel liest die Kennung "
            "aus den ersten drei Programmwörtern der HEX-Datei.</p>",
            "<table class=\"list\">", "<tr><th>Kennung</th><th>Name</th><th>PIC</th><th>Seite</th></tr>"});
    for (const DecoderType& t : DecoderCatalogue())
        l.push_back("<tr><td>" + identifiers(t) + "</td><td><a href=\"" + TypePageFile(t) + "\">" + html(t.Name) +
                    "</a></td><td>" + picName(t.PicModel) + "</td><td>" + pageText(t.Page).name + "</td></tr>");
    add(l, {"</table>", "</body>", "</html>"});
    return l;
}

class DocCommand : public Command {
public:
    const char* name() const override { return "doc"; }
    Operands operands() const override { return {"", "keine Datei", 0, 0}; }
    std::vector<CommandOption> options() const override
    {
        return {opt::output("ORDNER", "Der Ordner der Seiten; er wird angelegt, wenn es ihn nicht gibt.")};
    }
    const char* summary() const override { return "Schreibt die Handbuch-Seiten der Dekoder-Typen."; }
    const char* description() const override
    {
        return "Schreibt für jeden Dekoder-Typ des Katalogs eine HTML-Seite (Kennung, PIC, Seite,\n"
               "Adresszeilen mit Beschriftung, CV-Liste, Firmware-Versionen), benannt nach seiner\n"
               "Kennung (0x208.html), und die Liste aller Typen (index.html) in den ORDNER. Das\n"
               "Handbuch von HEX Zwirbel liest sie aus seinem Ordner \"typen\". Geschrieben werden\n"
               "alle Seiten oder keine.\n";
    }
    const char* exitCodes() const override
    {
        return "0 erledigt, 1 nicht geschrieben (dann wurde keine Seite geschrieben), 2 Aufruffehler.";
    }
    int run(const Options& o, std::ostream&, std::ostream& err) const override
    {
        if (o.output.empty() || isStdout(o.output))
            return usageError(err, "Nach -o steht der Ordner der Seiten.");
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::create_directories(o.output, ec);
        if (!fs::is_directory(o.output, ec)) {
            report(err, o.output, MsgKind::Error, "Der Ordner lässt sich nicht anlegen. Nichts geschrieben.");
            return 1;
        }
        FileSet files;
        files.add((fs::path(o.output) / kManualIndex).string(), listPage());
        for (const DecoderType& t : DecoderCatalogue())
            files.add((fs::path(o.output) / TypePageFile(t)).string(), typePage(t));
        return reportWrite(err, "", files.commit()) ? 0 : 1;
    }
};

} // namespace

std::unique_ptr<Command> makeDocCommand() { return std::make_unique<DocCommand>(); }

} // namespace hz::cli
