#include "core/LoadCorrections.h"

#include <optional>

#include "core/firmware/HexText.h"
#include "core/pages/Page.h"

namespace hz {

std::vector<LoadCorrection> CollectLoadCorrections(const FirmwareImage::Memory& stored, const FirmwareImage& image,
                                                   const std::vector<pages::Page*>& shown)
{
    std::vector<LoadCorrection> out;
    // What the pages' set-up changed in the image on its own.
    for (FirmwareImage::ByteChange& c : FirmwareImage::changedBytes(stored, image.memory())) {
        std::string reason;
        for (const pages::Page* p : shown)
            for (const pages::Page::Correction& k : p->corrections)
                if (k.eeprom == c.eeprom && k.index == c.index)
                    reason = k.reason;
        if (reason.empty())
            reason = "von der Seite beim Anzeigen gesetzt";
        out.push_back({std::move(c), std::move(reason), false});
    }
    // What a working copy held pending right after set-up would write: the page has brought
    // values of the file's table into their range.
    std::optional<FirmwareImage::Memory> now; // taken only when a page holds a working copy
    for (const pages::Page* p : shown) {
        if (!p->hasPending())
            continue;
        if (!now)
            now = image.memory();
        FirmwareImage trial(image);
        p->writeCopy(trial);
        for (FirmwareImage::ByteChange& c : FirmwareImage::changedBytes(*now, trial.memory())) {
            std::string what = p->describeByte(c.eeprom, c.index);
            if (what.empty())
                what = std::string("Arbeitskopie ") + p->objectName();
            out.push_back({std::move(c), what + ": Wert außerhalb des gültigen Bereichs", true});
        }
    }
    return out;
}

std::string ByteValue(const std::string& text) { return isHexByteText(text) ? "0x" + text : "\"" + text + "\""; }

std::string ByteLocation(bool eeprom, int index)
{
    return eeprom ? strprintf("EEPROM 0x%02X", index)
                  : strprintf("Programmwort 0x%04X %s-Byte", index / 2, index % 2 ? "High" : "Low");
}

std::string CorrectionLine(const LoadCorrection& k)
{
    const FirmwareImage::ByteChange& c = k.change;
    return ByteLocation(c.eeprom, c.index) + ": " + ByteValue(c.before) + " → " + ByteValue(c.after) + " (" + k.reason +
           (k.pending ? "; wird erst mit \"übernehmen\" oder beim Speichern geschrieben)" : ")");
}

std::string CorrectionsMessage(const std::vector<LoadCorrection>& corrections)
{
    if (corrections.empty())
        return {};
    std::string text = "Die Seite dieses Dekoders hat beim Anzeigen Werte geändert, die so nicht in der Datei stehen. "
                       "Beim Speichern wird Folgendes geschrieben:\n";
    for (const LoadCorrection& k : corrections)
        text += "\n" + CorrectionLine(k);
    return text;
}

} // namespace hz
