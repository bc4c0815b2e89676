#include "core/inspect/HexInfo.h"

namespace hz {

HexInfo::HexInfo(const FirmwareImage& image) : m_image(image)
{
    HexListing l = ListFirmware(image);
    config = l.config;
    id = l.id;
    romCount = std::move(l.romCount);
    memo1 = std::move(l.eeprom);
    memo3 = std::move(l.rom);
}

CompareReport::Outcome HexInfo::compareWith(const std::string& file2, Prompter& prompter)
{
    if (file2.empty())
        return CompareReport::Outcome::Unreadable;
    HexComparison comparison(m_image, prompter);
    CompareReport report = comparison.CompareWithFile(file2);
    if (report.outcome == CompareReport::Outcome::Unreadable && report.status[0].empty())
        return report.outcome;
    memo1 = std::move(report.eeprom);
    memo3 = std::move(report.rom);
    status = report.status;
    return report.outcome;
}

} // namespace hz
