#include "core/tools/SessionJson.h"

#include <ostream>

#include "core/firmware/HexText.h"
#include "core/tools/Json.h"
#include "core/tools/PageJson.h"
#include "core/tools/RowReport.h"

namespace hz::tools {

void writeSessionJson(std::ostream& out, const Session& s, const std::string& file, bool loaded,
                      const std::vector<BatchPrompter::Shown>& shown)
{
    const FirmwareImage& img = s.image;
    const std::string version = s.image.facts.versionText();
    out << "{\n";
    out << "  \"schema\": " << kJsonSchema << ",\n";
    out << "  " << jsonFileFields("file", file) << ",\n";
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
    out << "  \"messages\": [";
    for (std::size_t k = 0; k < shown.size(); ++k)
        out << (k ? "," : "") << "\n    {\"kind\": " << jsonString(kindName(shown[k].kind))
            << ", \"text\": " << jsonString(shown[k].text) << ", \"answer\": "
            << (isQuestion(shown[k].buttons) ? jsonString(answerName(shown[k].answer)) : std::string("null")) << "}";
    out << (shown.empty() ? "]\n" : "\n  ]\n");
    out << "}\n";
}

} // namespace hz::tools
