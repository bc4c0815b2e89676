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
    const char* usage() const override
    {
        return "  dump DATEI [--json] [--default-config]\n"
               "      Zeigt Config- und ID-Werte, EEprom und ROM der Datei wie \"HEX Info\", so wie sie\n"
               "      in der Datei stehen (ohne Werte, die die Seite des Dekoders beim Anzeigen ändert).\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        if (o.files.size() != 1 || !o.output.empty() || !o.rowValues.empty() || !o.actions.empty())
            return usageError(err, "dump erwartet genau eine Datei.");
        BatchLoad in(o, err, 0, LoadFor::Looking);
        if (!in.loaded()) {
            if (in.outcome != LoadOutcome::Unreadable)
                in.complain("nicht geladen.");
            return 1;
        }
        const HexListing l = ListFirmware(in.session.image);
        if (o.json) {
            out << "{\n";
            writeJsonWords(out, "config", l.config);
            writeJsonWords(out, "id", l.id);
            out << "  \"rom_count\": " << jsonString(l.romCount) << ",\n";
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
