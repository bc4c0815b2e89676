#include "core/firmware/HexRecord.h"

namespace hz {

RecordDamage CheckRecord(std::string_view line)
{
    if (line.empty() || line[0] != ':' || !isHexDigits(line.substr(1)))
        return RecordDamage::Characters;
    const HexRecordFields f = RecordFields(line);
    if (line.size() != 11 + 2 * static_cast<std::size_t>(f.reclen))
        return RecordDamage::Length;
    unsigned sum = 0;
    for (std::size_t pos = 2; pos < line.size(); pos += 2)
        sum += static_cast<unsigned>(HexByteValue(at(line, pos, 2)));
    return sum % 256 == 0 ? RecordDamage::None : RecordDamage::Checksum;
}

std::string RecordMessage(std::string_view head, std::string_view line, int lineNumber, std::string_view typeLabel,
                          std::string_view tail)
{
    const HexRecordFields f = RecordFields(line);
    std::string text(head);
    text += ":\n" + QuotedText(line) + "\n\nRECLEN (Identifier 1): " + QuotedText(f.reclenText) +
            "\nLOAD OFFSET (Identifier 2): " + QuotedText(f.offsetHighText) + " " + QuotedText(f.offsetLowText) + "\n";
    text += typeLabel;
    text += ": " + QuotedText(f.type);
    text += tail;
    if (lineNumber > 0)
        text += strprintf("\nZeile %d der Datei", lineNumber);
    return text;
}

} // namespace hz
