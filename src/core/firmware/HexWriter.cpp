#include "core/firmware/HexWriter.h"

#include <algorithm>

#include "core/firmware/FileSet.h"
#include "core/firmware/HexText.h"

namespace hz {

namespace {

const char* const kChecksumProblem = "Problem bei der Checksummen-Berechnung";

// The highest program-memory byte to write: the file's last byte, or the high byte of the
// highest word that a page has filled where the file left program memory blank (the servo and
// blink tables can lie beyond the file's last word). -1 when there is nothing to write.
int romTop(const FirmwareImage& img)
{
    for (int w = FirmwareImage::kRomSize / 2 - 1; w >= 0; --w) {
        if (img.RomFound && 2 * w + 1 <= img.RomTop)
            break;
        if (img.rom(2 * w) != "FF" || img.rom(2 * w + 1) != "3F")
            return 2 * w + 1;
    }
    return img.RomFound ? img.RomTop : -1;
}

// The highest EEPROM index to write: the file's last one, or the highest byte a page changed
// away from the erased value FF beyond it. -1 when there is nothing to write.
int eepromTop(const FirmwareImage& img)
{
    for (int k = FirmwareImage::kEepromSize - 1; k >= 0; --k) {
        if (img.EepromFound && k <= img.EepromTop)
            break;
        if (img.eeprom(k) != "FF")
            return k;
    }
    return img.EepromFound ? img.EepromTop : -1;
}

// Word address of the EEPROM: where this file had it, else where the assigned PIC keeps it.
int eepromLocation(const FirmwareImage& img)
{
    if (img.EepromFound)
        return img.EepromLocation;
    if (img.PicModel == 18324)
        return 0xF000;
    if (img.PicModel != 0)
        return 0x2100;
    return img.EepromLocation != 0 ? img.EepromLocation : 0x2100;
}

class LineBuilder {
public:
    explicit LineBuilder(FirmwareImage& img) : m_img(img) { m_lines.emplace_back(":020000040000FA"); }

    // Emits one data record at an absolute HEX byte address, preceded by an extended linear
    // address record whenever the record lies in the other 64 KiB half than the last one.
    bool emit(int byteAddress, const std::string& data)
    {
        const int base = byteAddress >= 0x10000 ? 0x10000 : 0;
        const int offset = byteAddress - base;
        const auto& t = HexByteTexts();
        const std::size_t reclen = data.size() / 2;
        if (reclen > 255 || data.size() % 2 != 0)
            return checksumProblem();
        // The line is built in place: ":", the body, then the body's checksum.
        std::string line;
        line.reserve(11 + data.size());
        line += ':';
        line += t[reclen];
        line += t[static_cast<std::size_t>(offset / 256)];
        line += t[static_cast<std::size_t>(offset % 256)];
        line += "00";
        line += data;
        const std::string sum = CalcChecksum(std::string_view(line).substr(1), m_img.prompter());
        if (sum == "error")
            return false;
        line += sum;
        if (base != m_outputBase) {
            m_lines.emplace_back(base ? ":020000040001F9" : ":020000040000FA");
            m_outputBase = base;
        }
        m_lines.push_back(std::move(line));
        ++m_dataRecords;
        return true;
    }

    // A byte of program memory or EEPROM is written only as exactly two hexadecimal digits.
    // Anything else - an empty text left by a record that was cut off in the middle, or an
    // "error" from a guarded getter - would make every later byte of the record slide down
    // by its length difference and land at a wrong address, so it stops the save.
    bool appendByte(std::string& data, const std::string& byte, bool knownGood = false)
    {
        if (!knownGood && !isHexByteText(byte))
            return checksumProblem();
        data += byte;
        return true;
    }

    bool checksumProblem()
    {
        m_img.prompter().tell(MsgKind::Warning, kChecksumProblem, Buttons::Cancel);
        return false;
    }

    int dataRecords() const { return m_dataRecords; }
    std::vector<std::string>& lines() { return m_lines; }

private:
    FirmwareImage& m_img;
    std::vector<std::string> m_lines;
    int m_outputBase = 0;
    int m_dataRecords = 0;
};

bool buildLines(FirmwareImage& img, std::vector<std::string>& out)
{
    LineBuilder b(img);

    // Program memory, 16 bytes per record. Bytes never read are written blank ("FF"/"3F").
    const int romLast = romTop(img);
    {
        std::string data;
        int start = 0;
        for (int k = 0; k <= romLast; ++k) {
            if (k - start == 16) {
                if (!b.emit(start, data))
                    return false;
                data.clear();
                start = k;
            }
            if (!b.appendByte(data, img.rom(k), img.romIsByteText(k)))
                return false;
        }
        if (!data.empty() && !b.emit(start, data))
            return false;
    }

    // ID words. Classic: one digit per word, written as the word 0x000d. 16F18324: the words as
    // they stood in the file. A file without ID record gets none.
    if (img.IdFound && !img.IdText.empty()) {
        std::string data;
        if (img.IdLocation == 0x2000) {
            for (char c : img.IdText)
                data += std::string("0") + c + "00";
        } else {
            // Whole words only: a half word would be dropped by the next load.
            if (img.IdText.size() % 4 != 0)
                return b.checksumProblem();
            data = img.IdText;
        }
        if (!b.emit(2 * img.IdLocation, data))
            return false;
    }

    // Configuration: the words the image has, where they belong. CONFIG 1 stands where the
    // file had it (or where the PIC keeps it, for standard words made at load); with CONFIG 1
    // in the 16F18324 layout all four words are written.
    const bool f18324Config = img.ConfigPresent[0] && img.ConfigLocation == 0x8007;
    if (img.ConfigPresent[0] && !b.emit(f18324Config ? 0x1000E : 0x400E, img.ConfigWords[0]))
        return false;
    for (std::size_t k = 1; k < 4; ++k)
        if ((img.ConfigPresent[k] || f18324Config) && !b.emit(0x1000E + 2 * static_cast<int>(k), img.ConfigWords[k]))
            return false;

    // EEPROM, one word per byte (high byte 00), 8 bytes per record.
    const int eeLast = eepromTop(img);
    if (eeLast >= 0) {
        const int base = 2 * eepromLocation(img);
        std::string data;
        int start = 0;
        for (int k = 0; k <= eeLast; ++k) {
            if (k - start == 8) {
                if (!b.emit(base + 2 * start, data))
                    return false;
                data.clear();
                start = k;
            }
            if (!b.appendByte(data, img.get_Hex_EE(k), k < FirmwareImage::kEepromSize && img.eepromIsByteText(k)))
                return false;
            data += "00";
        }
        if (!data.empty() && !b.emit(base + 2 * start, data))
            return false;
    }

    // A file of nothing but the two fixed records would overwrite the user's firmware with an
    // empty one, typically after a load that failed, under the failed file's own name.
    if (b.dataRecords() == 0) {
        img.prompter().tell(MsgKind::Warning, kNothingToSave, Buttons::Ok);
        return false;
    }

    b.lines().emplace_back(":00000001FF");
    out = std::move(b.lines());
    return true;
}

} // namespace

std::string CalcChecksum(std::string_view body, Prompter& prompter)
{
    // Checked and summed in one pass: a digit of either case counts with its value.
    const auto digit = [](char ch) -> int {
        if (ch >= '0' && ch <= '9')
            return ch - '0';
        if (ch >= 'A' && ch <= 'F')
            return ch - 'A' + 10;
        if (ch >= 'a' && ch <= 'f')
            return ch - 'a' + 10;
        return -1;
    };
    unsigned sum = 0;
    bool wellFormed = body.size() % 2 == 0;
    for (std::size_t i = 0; wellFormed && i + 1 < body.size(); i += 2) {
        const int high = digit(body[i]), low = digit(body[i + 1]);
        wellFormed = high >= 0 && low >= 0;
        sum += static_cast<unsigned>(16 * high + low);
    }
    if (!wellFormed) {
        prompter.tell(MsgKind::Warning, "Problem bei der Checksummen-Berechnung", Buttons::Cancel);
        return "error";
    }
    const unsigned c = (256u - sum % 256u) % 256u;
    return HexByteTexts()[c];
}

int BuildHexLines(FirmwareImage& img)
{
    img.clearLines();
    img.LineCount = 0;
    std::vector<std::string> lines;
    if (!buildLines(img, lines))
        return 0;
    // The writer never reaches the capacity of HexString (at most 0x20FE program bytes), but
    // the count is bounded all the same.
    const int count = static_cast<int>(std::min<std::size_t>(lines.size(), FirmwareImage::kLineCapacity));
    for (int i = 0; i < count; ++i)
        img.set_HexString(i, std::move(lines[static_cast<std::size_t>(i)]));
    img.LineCount = count;
    return count;
}

std::vector<std::string> builtLines(const FirmwareImage& img)
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(img.LineCount));
    for (int i = 0; i < img.LineCount && i < FirmwareImage::kLineCapacity; ++i)
        lines.push_back(img.line(i));
    return lines;
}

bool WriteBuiltLines(const FirmwareImage& image, const std::string& path)
{
    return ReportWrite(writeLinesAtomically(path, builtLines(image)), image.prompter());
}

bool SaveHexFile(FirmwareImage& image, const std::string& path)
{
    return BuildHexLines(image) > 0 && WriteBuiltLines(image, path);
}

} // namespace hz
