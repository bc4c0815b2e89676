#include "core/catalogue/DocLinks.h"

#include <filesystem>
#include <system_error>

#include "core/firmware/HexText.h"
#include "core/platform/Platform.h"

namespace hz {

std::string TypePageFile(const DecoderType& type)
{
    return strprintf("0x%X.html", static_cast<unsigned>(type.Identifier));
}

std::string DocAddress(const DocSite& site, const DecoderType* type)
{
    if (!site.base.empty()) {
        if (type == nullptr || type->DocPage.empty())
            return site.base;
        return site.base + (site.base.back() == '/' ? "" : "/") + type->DocPage;
    }
    std::string page = kManualIndex;
    if (type != nullptr)
        page = std::string(kTypePagesFolder) + "/" + TypePageFile(*type);
    if (site.manual.empty())
        return page;
    return (std::filesystem::path(site.manual) / page).lexically_normal().string();
}

std::string DocLinkCaption(const DocSite& site, const DecoderType* type)
{
    if (!site.base.empty())
        return DocAddress(site, type);
    return type == nullptr ? std::string("Handbuch") : "Handbuch: " + ShownTypeName(*type);
}

std::string DocLinkHint(const DocSite& site, const DecoderType* type)
{
    if (!site.base.empty())
        return "Gehe auf die WebSite zu dieser Software-Variante";
    return type == nullptr ? "Öffnet das Handbuch von HEX Zwirbel im Browser.\nEs liegt auf diesem Rechner, "
                             "dafür braucht es kein Internet."
                           : "Öffnet die Seite des Handbuchs zu diesem Decoder-Typ im Browser.\nSie liegt auf "
                             "diesem Rechner, dafür braucht es kein Internet.";
}

std::string FindDataFolder(const std::string& exePath)
{
    namespace fs = std::filesystem;
    if (exePath.empty())
        return {};
    std::error_code ec;
    fs::path dir = fs::absolute(fs::path(exePath), ec).lexically_normal().parent_path();
    if (ec)
        return {};
    for (int up = 1; up <= 3; ++up) {
        dir = dir.parent_path();
        const fs::path data = dir / "share" / "hexzwirbel";
        // A folder we may not look into counts as not holding the manual.
        platform::FileInfo index;
        if (platform::Look((data / kManualFolder / kManualIndex).string(), index) == 0 &&
            index.kind == platform::FileKind::Regular)
            return data.string();
    }
    return {};
}

} // namespace hz
