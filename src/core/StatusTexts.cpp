#include "core/StatusTexts.h"

#include "core/catalogue/Catalogue.h"

namespace hz {

StatusPanels StatusTexts(const FirmwareFacts& facts, std::string_view format, const StatusFile& file)
{
    StatusPanels status;
    if (!facts.identifier.empty())
        status.text[0] = "ID: " + facts.identifier;
    if (const std::string version = facts.versionText(); !version.empty())
        status.text[1] = "V " + version;
    status.text[2] = std::string(format);
    if (!file.name.empty()) {
        status.text[3] = file.name;
        if (const PicInfo* pic = file.read ? FindPic(facts.pic) : nullptr)
            status.text[3] += pic->StatusSuffix;
    }
    return status;
}

} // namespace hz
