#include "core/firmware/HexWriter.h"

#include <algorithm>
#include <cstring>

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
    // Only words with a byte above the file's last one count (the word of an odd RomTop's
    // last byte does); a file that had none leaves all of them.
    const int lowest = img.RomFound ? (img.RomTop + 1) / 2 : 0;
    const int w = img.highestRomWordNotBlank(lowest);
    if (w >= 0)
        return 2 * w + 1;
    return img.RomFound ? img.RomTop : -1;
}

// The highest EEPROM index to write: the file's last one, or the highest byte a page changed
// away from the erased value FF beyond it. -1 when there is nothing to write.
int eepromTop(const FirmwareImage& img)
{
    for (int k = FirmwareImage::kEepromSize - 1; k >= 0; --k) {
        if (img.EepromFound && k <= img.EepromTop)
            break;
        if (img.eepromValue(k) != 0xFF)
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

// Builds the lines straight into the image's HexString, reusing the storage the lines there
// already have (those of the file that was loaded, or of the last save). Lines beyond the
// capacity of HexString (the writer never makes that many) go to a scratch line and are dropped.
class LineBuilder {
public:
    explicit LineBuilder(FirmwareImage& img) : m_img(img) { next() = ":020000040000FA"; }

    // Emits one data record at an absolute HEX byte address, preceded by an extended linear
    // address record whenever the record lies in the other 64 KiB half than the last one.
    bool emit(int byteAddress, const std::string& data)
    {
        const int offset = byteAddress - baseOf(byteAddress);
        const auto& t = HexByteTexts();
        const std::size_t reclen = data.size() / 2;
        if (reclen > 255 || data.size() % 2 != 0)
            return checksumProblem();
        // The body is built in place, then the body's checksum appended.
        std::string body;
        body.reserve(10 + data.size());
        body += ':';
        body += t[reclen];
        body += t[static_cast<std::size_t>(offset / 256)];
        body += t[static_cast<std::size_t>(offset % 256)];
        body += "00";
        body += data;
        const std::string sum = CalcChecksum(std::string_view(body).substr(1), m_img.prompter());
        if (sum == "error")
            return false;
        switchBase(byteAddress);
        std::string& line = next();
        line = body;
        line += sum;
        ++m_dataRecords;
        return true;
    }

    // Emits a data record of `count` byte values whose texts are "00".."FF", `stride` apart in
    // `values` and each followed by `fill` (for the EEPROM's words, whose high byte is 00): the
    // same line emit() makes of their texts, written digit by digit.
    void emitValues(int byteAddress, const int* values, int count, bool fill)
    {
        const int offset = byteAddress - baseOf(byteAddress);
        const int reclen = fill ? 2 * count : count;
        switchBase(byteAddress);
        std::string& line = next();
        line.resize(static_cast<std::size_t>(11 + 2 * reclen));
        char* out = line.data();
        unsigned sum = 0;
        auto put = [&](int v) {
            std::memcpy(out, kHexPairs.pair[v], 2);
            out += 2;
            sum += static_cast<unsigned>(v);
        };
        *out++ = ':';
        put(reclen);
        put(offset / 256);
        put(offset % 256);
        put(0);
        for (int k = 0; k < count; ++k) {
            put(values[k]);
            if (fill)
                put(0);
        }
        put(static_cast<int>((256u - sum % 256u) % 256u));
        ++m_dataRecords;
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

    // Appends a line that is no data record.
    void append(const char* text) { next() = text; }

    int dataRecords() const { return m_dataRecords; }
    int lineCount() const { return m_count; }

private:
    static int baseOf(int byteAddress) { return byteAddress >= 0x10000 ? 0x10000 : 0; }

    void switchBase(int byteAddress)
    {
        const int base = baseOf(byteAddress);
        if (base != m_outputBase) {
            next() = base ? ":020000040001F9" : ":020000040000FA";
            m_outputBase = base;
        }
    }

    std::string& next()
    {
        const int i = m_count++;
        return i < FirmwareImage::kLineCapacity ? m_img.lineSlot(i) : m_scratch;
    }

    FirmwareImage& m_img;
    std::string m_scratch;
    int m_count = 0;
    int m_outputBase = 0;
    int m_dataRecords = 0;
};

// The values of `count` bytes from `first` (program memory or EEPROM) into `values`; false when
// one of them does not hold one of the texts "00".."FF" (or lies beyond the image), so that
// the record goes the way of the texts and meets their checks.
template <class ValueOf> bool plainValues(ValueOf valueOf, int first, int count, int size, int* values)
{
    for (int k = 0; k < count; ++k) {
        const int i = first + k;
        values[k] = i < size ? valueOf(i) : -1;
        if (values[k] < 0)
            return false;
    }
    return true;
}

// Returns the number of lines, 0 on failure.
int buildLines(FirmwareImage& img)
{
    LineBuilder b(img);

    // Program memory, 16 bytes per record. Bytes never read are written blank ("FF"/"3F").
    // A record whose bytes all hold byte texts is written from their values; any other goes
    // through its texts and their checks.
    const int romLast = romTop(img);
    for (int start = 0; start <= romLast; start += 16) {
        const int n = std::min(16, romLast - start + 1);
        int values[16];
        if (plainValues([&](int i) { return img.romValue(i); }, start, n, FirmwareImage::kRomSize, values)) {
            b.emitValues(start, values, n, false);
            continue;
        }
        std::string data;
        for (int k = start; k < start + n; ++k)
            if (!b.appendByte(data, img.rom(k), img.romIsByteText(k)))
                return 0;
        if (!b.emit(start, data))
            return 0;
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
            if (img.IdText.size() % 4 != 0) {
                b.checksumProblem();
                return 0;
            }
            data = img.IdText;
        }
        if (!b.emit(2 * img.IdLocation, data))
            return 0;
    }

    // Configuration: the words the image has, where they belong. CONFIG 1 stands where the
    // file had it (or where the PIC keeps it, for standard words made at load); with CONFIG 1
    // in the 16F18324 layout all four words are written.
    const bool f18324Config = img.ConfigPresent[0] && img.ConfigLocation == 0x8007;
    if (img.ConfigPresent[0] && !b.emit(f18324Config ? 0x1000E : 0x400E, img.ConfigWords[0]))
        return 0;
    for (std::size_t k = 1; k < 4; ++k)
        if ((img.ConfigPresent[k] || f18324Config) && !b.emit(0x1000E + 2 * static_cast<int>(k), img.ConfigWords[k]))
            return 0;

    // EEPROM, one word per byte (high byte 00), 8 bytes per record.
    const int eeLast = eepromTop(img);
    if (eeLast >= 0) {
        const int base = 2 * eepromLocation(img);
        for (int start = 0; start <= eeLast; start += 8) {
            const int n = std::min(8, eeLast - start + 1);
            int values[8];
            if (plainValues([&](int i) { return img.eepromValue(i); }, start, n, FirmwareImage::kEepromSize, values)) {
                b.emitValues(base + 2 * start, values, n, true);
                continue;
            }
            std::string data;
            for (int k = start; k < start + n; ++k) {
                if (!b.appendByte(data, img.get_Hex_EE(k), k < FirmwareImage::kEepromSize && img.eepromIsByteText(k)))
                    return 0;
                data += "00";
            }
            if (!b.emit(base + 2 * start, data))
                return 0;
        }
    }

    // A file of nothing but the two fixed records would overwrite the user's firmware with an
    // empty one, typically after a load that failed, under the failed file's own name.
    if (b.dataRecords() == 0) {
        img.prompter().tell(MsgKind::Warning, kNothingToSave, Buttons::Ok);
        return 0;
    }

    b.append(":00000001FF");
    return b.lineCount();
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
    img.LineCount = 0;
    // The writer never reaches the capacity of HexString (at most 0x20FE program bytes), but
    // the count is bounded all the same. After a failure no line is left.
    const int count = std::min(buildLines(img), FirmwareImage::kLineCapacity);
    for (int i = count; i < FirmwareImage::kLineCapacity; ++i)
        img.lineSlot(i).clear();
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

std::string builtText(const FirmwareImage& img)
{
    const int count = std::min(img.LineCount, FirmwareImage::kLineCapacity);
    std::size_t size = 0;
    for (int i = 0; i < count; ++i)
        size += img.line(i).size() + 2;
    std::string text;
    text.reserve(size);
    for (int i = 0; i < count; ++i) {
        text += img.line(i);
        text += "\r\n";
    }
    return text;
}

bool WriteBuiltLines(const FirmwareImage& image, const std::string& path)
{
    return ReportWrite(writeContentAtomically(path, builtText(image)), image.prompter());
}

bool SaveHexFile(FirmwareImage& image, const std::string& path)
{
    return BuildHexLines(image) > 0 && WriteBuiltLines(image, path);
}

} // namespace hz
