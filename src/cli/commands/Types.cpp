// types [--json]: the decoder catalogue.

#include <ostream>

#include "cli/Command.h"
#include "cli/Json.h"
#include "core/catalogue/Catalogue.h"
#include "core/firmware/HexText.h"

namespace hz::cli {

namespace {

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

// The same as an identifier, for the JSON output.
const char* rowModeName(const DecoderType& t)
{
    if (t.RedGreen)
        return "red_green";
    if (t.FunctionDecoder)
        return "function";
    if (t.PageOnly)
        return "page_only";
    return "none";
}

int rowCount(const DecoderType& t)
{
    int n = 0;
    for (const auto& c : t.Captions)
        n += c.empty() ? 0 : 1;
    return n;
}

class TypesCommand : public Command {
public:
    const char* name() const override { return "types"; }
    Operands operands() const override { return {"", "keine Datei", 0, 0}; }
    std::vector<CommandOption> options() const override
    {
        return {opt::json("Die Liste als JSON-Objekt (Aufbau: hexzwirbel-cli(1)).")};
    }
    const char* summary() const override { return "Listet alle bekannten Dekoder-Typen."; }
    const char* description() const override
    {
        return "Listet alle bekannten Dekoder-Typen des Katalogs: Kennung (zweite Kennung nach\n"
               "dem Komma), PIC, Seite, Zahl der Adresszeilen, Art der Zeilen (R/G: rote und grüne\n"
               "Adresse, F: Adresse und Funktion, Seite: nur die Seite, -: keine) und Name.\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream&) const override
    {
        const auto& all = DecoderCatalogue();
        if (o.json) {
            out << "{" << jsonSchemaField() << "\"types\": [";
            for (std::size_t k = 0; k < all.size(); ++k) {
                const DecoderType& t = all[k];
                out << (k ? "," : "") << "\n  {\"identifier\": " << t.Identifier;
                if (t.Identifier2)
                    out << ", \"identifier2\": " << t.Identifier2;
                out << ", \"name\": " << jsonString(t.Name) << ", \"pic\": " << t.PicModel << ", \"page\": " << t.Page
                    << ", \"row_mode\": " << jsonString(rowModeName(t)) << ", \"rows\": " << rowCount(t)
                    << ", \"doc\": " << jsonString(t.DocPage) << "}";
            }
            out << "\n]}\n";
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
};

} // namespace

std::unique_ptr<Command> makeTypesCommand() { return std::make_unique<TypesCommand>(); }

} // namespace hz::cli
