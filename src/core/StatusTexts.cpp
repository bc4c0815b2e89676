#include "core/StatusTexts.h"

#include <cctype>

#include "core/catalogue/Catalogue.h"

namespace hz {

namespace {

// Whether a type's name carries a version of its own: "V" and digits with a point ("ab V3.51",
// "< V3.40"). "(V2)" names a second design, not a firmware version.
bool NamesVersion(const std::string& name)
{
    auto digit = [&](std::size_t k) { return k < name.size() && std::isdigit(static_cast<unsigned char>(name[k])); };
    for (std::size_t k = 0; k + 1 < name.size(); ++k) {
        if (name[k] != 'V' || !digit(k + 1))
            continue;
        std::size_t end = k + 1;
        while (digit(end))
            ++end;
        if (end < name.size() && name[end] == '.' && digit(end + 1))
            return true;
    }
    return false;
}

} // namespace

std::string DecoderTypeText(const DecoderType* type, const FirmwareFacts& facts)
{
    if (type == nullptr)
        return "Typ nicht erkannt";
    std::string text = ShownTypeName(*type);
    if (const std::string version = facts.versionText(); !version.empty() && !NamesVersion(text))
        text += " V" + version;
    return text;
}

StatusPanels StatusTexts(const FirmwareFacts& facts, std::string_view format, const StatusFile& file,
                         std::optional<const DecoderType*> identified)
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
    if (identified)
        status.type = DecoderTypeText(*identified, facts);
    return status;
}

} // namespace hz
