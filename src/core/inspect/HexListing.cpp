#include "core/inspect/HexListing.h"

#include <algorithm>

#include "core/firmware/HexText.h"

namespace hz {

namespace {

// What goes between two entries of a listing line: the 16 bytes of a line are grouped in
// pairs, "." between the pairs and one blank in the middle.
const char* separatorBefore(int bytePosition)
{
    switch (bytePosition) {
    case 2:
    case 4:
    case 6:
    case 10:
    case 12:
    case 14: return ".";
    case 8: return " ";
    default: return "";
    }
}

bool isError(const std::string& text) { return text == "error"; }

// The image's byte, or "error" beyond its range (the guarded getter then says why).
std::string romByte(const FirmwareImage& image, int i)
{
    return i >= 0 && i < FirmwareImage::kRomSize ? image.rom(i) : image.get_Hex_ROM(i);
}

} // namespace

std::string WordAddressText(int word)
{
    const char* pad = word <= 15 ? "$000" : word <= 255 ? "$00" : word <= 4095 ? "$0" : "$";
    return pad + strprintf("%X", static_cast<unsigned>(word));
}

std::array<std::string, 4> ConfigValueTexts(const FirmwareImage& image)
{
    std::array<std::string, 4> out;
    for (std::size_t k = 0; k < 4; ++k) {
        const std::string& c = image.ConfigWords[k];
        out[k] = std::string(at(c, 3, 2)) + std::string(at(c, 1, 2));
    }
    return out;
}

std::array<std::string, 4> IdValueTexts(const FirmwareImage& image)
{
    std::array<std::string, 4> out;
    const std::string& id = image.IdText;
    switch (image.PicModel) {
    case 18324:
        for (std::size_t k = 0; k < 4; ++k)
            out[k] = std::string(at(id, 4 * k + 3, 2)) + std::string(at(id, 4 * k + 1, 2));
        break;
    case 629:
    case 630:
    case 676:
    case 684:
    case 688: out[0] = id; break;
    default: break;
    }
    return out;
}

std::string RomCountText(const FirmwareImage& image)
{
    return strprintf("Anzahl ROM Bytes (File 1): %i", image.RomTop);
}

std::vector<std::string> EepromListing(const FirmwareImage& image)
{
    std::vector<std::string> lines;
    std::string line;
    // The image holds 256 bytes; an EEPROM record that ran beyond them was refused (and
    // reported) when the file was loaded, so the listing ends with the last byte there is.
    const int top = std::min(image.EepromTop, FirmwareImage::kEepromSize - 1);
    for (int n = 0; n <= top; ++n) {
        const std::string& text = image.eeprom(n);
        if (isError(text))
            return lines;
        const int position = n % 16;
        if (position == 0) {
            if (n == 0)
                line = "0x000 ";
            else
                line = (n <= 15 ? "0x00" : n <= 255 ? "0x0" : "") + strprintf("%X:", static_cast<unsigned>(n));
        }
        line += separatorBefore(position);
        line += text;
        if (position == 15) {
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

std::vector<std::string> RomListing(const FirmwareImage& image)
{
    std::vector<std::string> lines;
    std::string line;
    for (int a = 0; a <= image.RomTop; a += 2) {
        const std::string high = romByte(image, a + 1);
        const std::string low = romByte(image, a);
        if (isError(high) || isError(low))
            return lines;
        const int position = a % 16;
        if (position == 0) {
            if (a % 256 == 0 && a >= 256 && a <= 9216)
                lines.emplace_back(" ");
            line = WordAddressText(a / 2) + ": ";
        }
        line += separatorBefore(position);
        line += high;
        line += low;
        if (position == 14) {
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

HexListing ListFirmware(const FirmwareImage& image)
{
    HexListing l;
    l.config = ConfigValueTexts(image);
    l.id = IdValueTexts(image);
    l.romCount = RomCountText(image);
    l.eeprom = EepromListing(image);
    l.rom = RomListing(image);
    return l;
}

} // namespace hz
