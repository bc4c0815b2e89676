// dump FILE [--json]: what the HEX information dialog shows for a file.

#include <ostream>

#include "cli/BatchLoad.h"
#include "cli/Command.h"
#include "cli/Json.h"
#include "core/inspect/HexListing.h"

namespace hz::cli {

namespace {

void writeJsonWords(std::ostream& out, const char* key, const std::array<std::string, 4>& words)
{
    out << "  \"" << key << "\": [";
    for (std::size_t k = 0; k < words.size(); ++k)
        out << (k ? ", " : "") << jsonString(words[k]);
    out << "],\n";
}

class DumpCommand : public Command {
public:
    const char* name() const override { return "dump"; }
    Operands operands() const override { return {"DATEI", "genau eine Datei", 1, 1}; }
    std::vector<CommandOption> options() const override
    {
        return {opt::json("Die Listen als JSON-Objekt (Aufbau: hexzwirbel-cli(1))."), opt::defaultConfig()};
    }
    const char* summary() const override
    {
        return "Zeigt Config- und ID-Werte, EEPROM und ROM der Datei wie \"HEX Info\".";
    }
    const char* description() const override
    {
        return "Zeigt Config- und ID-Werte, die Zahl der ROM-Bytes, EEPROM und ROM der Datei wie\n"
               "\"HEX Info\", so wie sie in der Datei stehen (ohne Werte, die die Seite des Dekoders\n"
               "beim Anzeigen ändert).\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        BatchLoad in(o, err, 0, LoadFor::Looking);
        if (!in.loaded()) {
            if (in.outcome != LoadOutcome::Unreadable)
                in.error("nicht geladen.");
            return 1;
        }
        const HexListing l = ListFirmware(in.session.image);
        if (o.json) {
            out << "{\n";
            out << "  \"schema\": " << kJsonSchema << ",\n";
            out << "  " << jsonFileFields("file", in.file) << ",\n";
            writeJsonWords(out, "config", l.config);
            writeJsonWords(out, "id", l.id);
            out << "  \"rom_count\": " << jsonString(l.romCount) << ",\n";
            // The numbers behind the texts, as info --json names them.
            out << "  \"rom_top\": " << in.session.image.RomTop << ",\n";
            out << "  \"eeprom_top\": " << in.session.image.EepromTop << ",\n";
            writeJsonStringList(out, "eeprom", l.eeprom, false);
            writeJsonStringList(out, "rom", l.rom, true);
            out << "}\n";
            return 0;
        }
        out << "Config Value: " << l.config[0] << " " << l.config[1] << " " << l.config[2] << " " << l.config[3]
            << "\n";
        out << "ID-Value: " << l.id[0] << " " << l.id[1] << " " << l.id[2] << " " << l.id[3] << "\n";
        out << l.romCount << "\n";
        out << "EEprom\n";
        for (const std::string& line : l.eeprom)
            out << line << "\n";
        out << "ROM\n";
        for (const std::string& line : l.rom)
            out << line << "\n";
        return 0;
    }
};

} // namespace

std::unique_ptr<Command> makeDumpCommand() { return std::make_unique<DumpCommand>(); }

} // namespace hz::cli
