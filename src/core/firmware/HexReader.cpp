#include "core/firmware/HexReader.h"

#include <algorithm>

#include "core/firmware/HexRecord.h"
#include "core/firmware/HexText.h"

namespace hz {

namespace {

// Beyond these the warning says "…": the user needs to know where to look, not every line of
// a file that is damaged throughout.
constexpr std::size_t kDamagedLinesNamed = 10;

// The warning after a read with damaged lines (numbered from 1): how many and which.
std::string DamagedLinesWarning(const std::vector<int>& lines)
{
    const bool one = lines.size() == 1;
    std::string text = one ? std::string("Die Datei enthält eine beschädigte Zeile")
                           : strprintf("Die Datei enthält %zu beschädigte Zeilen", lines.size());
    text += " (Prüfsumme, Länge oder Zeichen stimmen nicht):\n";
    text += one ? "Zeile " : "Zeilen ";
    for (std::size_t k = 0; k < lines.size() && k < kDamagedLinesNamed; ++k)
        text += (k ? ", " : "") + std::to_string(lines[k]);
    if (lines.size() > kDamagedLinesNamed)
        text += ", …";
    return text + "\nDie Daten wurden trotzdem eingelesen. Beim Speichern werden neue, gültige Prüfsummen "
                  "geschrieben; die Datei sollte deshalb vor dem Brennen geprüft werden.";
}

} // namespace

HexReader::HexReader(FirmwareImage& image) : m_image(image) {}

LoadOutcome HexReader::ReadHexFile(const std::string& fileName)
{
    if (fileName.empty())
        return LoadOutcome::NoFile;
    return readLines(fileName, [&](const std::function<bool(std::string&)>& onLine) {
        return ReadTextFileLines(fileName, m_image.prompter(), onLine);
    });
}

LoadOutcome HexReader::ReadHexStream(std::istream& in, const std::string& name)
{
    if (name.empty())
        return LoadOutcome::NoFile;
    return readLines(name, [&](const std::function<bool(std::string&)>& onLine) {
        return ReadTextStreamLines(in, name, m_image.prompter(), onLine);
    });
}

LoadOutcome HexReader::readLines(const std::string& fileName,
                                 const std::function<TextFileRead(const std::function<bool(std::string&)>&)>& read)
{
    // One line more than the image holds, so that an over-long file is still noticed; lines
    // beyond it are only counted: the load stops at line 1024 anyway.
    std::vector<std::string> lines;
    std::size_t total = 0;
    const TextFileRead result = read([&](std::string& line) {
        if (lines.size() < static_cast<std::size_t>(FirmwareImage::kLineCapacity) + 1)
            lines.push_back(std::move(line));
        ++total;
        return true;
    });
    if (result != TextFileRead::Done)
        return LoadOutcome::Unreadable;
    const std::size_t kept = lines.size();
    LoadOutcome outcome = ReadHexLines(lines, fileName);
    if (total > kept)
        m_image.LineCount = static_cast<int>(std::min<std::size_t>(total, 0x7FFFFFFF));
    return outcome;
}

void HexReader::startRead(const std::string& fileName)
{
    // The facts belong to the file: one without ID record has no version (rather than the
    // version of whatever file was loaded before, which the pages would then go by).
    m_image.facts = {};
    m_image.LastFileName = fileName;
    if (onReadStart)
        onReadStart(fileName);
    m_damaged.clear();
}

namespace {

int LineCountOf(const std::vector<std::string>& lines)
{
    return static_cast<int>(std::min<std::size_t>(lines.size(), 0x7FFFFFFF));
}

// After the first `kept` lines stand in the image: the image's further lines are emptied and
// the first line beyond its capacity is refused with the accessor's message; the rest would
// only repeat it and the load stops at that line anyway.
void StoreRest(FirmwareImage& image, const std::vector<std::string>& lines, int count, int kept)
{
    for (int i = kept; i < FirmwareImage::kLineCapacity; ++i)
        image.lineSlot(i).clear();
    if (count > kept)
        image.set_HexString(kept, upperAscii(lines[static_cast<std::size_t>(kept)]));
    image.LineCount = count;
}

} // namespace

LoadOutcome HexReader::ReadHexLines(const std::vector<std::string>& lines, const std::string& fileName)
{
    if (fileName.empty())
        return LoadOutcome::NoFile;
    startRead(fileName);
    const int count = LineCountOf(lines);
    // Lines are kept upper-cased. Each is copied into the image's line of the same number,
    // whose storage the previous file's line leaves behind, and upper-cased there.
    const int kept = std::min(count, FirmwareImage::kLineCapacity);
    for (int i = 0; i < kept; ++i)
        assignUpperAscii(m_image.lineSlot(i), lines[static_cast<std::size_t>(i)]);
    StoreRest(m_image, lines, count, kept);
    return readStoredLines(count);
}

LoadOutcome HexReader::readOwnLines(std::vector<std::string>& lines, const std::string& fileName)
{
    if (fileName.empty())
        return LoadOutcome::NoFile;
    startRead(fileName);
    const int count = LineCountOf(lines);
    const int kept = std::min(count, FirmwareImage::kLineCapacity);
    for (int i = 0; i < kept; ++i) {
        std::string& slot = m_image.lineSlot(i);
        slot.swap(lines[static_cast<std::size_t>(i)]);
        upperAsciiInPlace(slot);
    }
    StoreRest(m_image, lines, count, kept);
    return readStoredLines(count);
}

LoadOutcome HexReader::readStoredLines(int count)
{
    m_image.resetMemory();
    m_image.EepromTop = 0;
    m_image.RomTop = 0;
    m_image.LinearBase = 0;
    m_image.IdFound = false;
    m_image.IdText.clear();
    m_image.ConfigFound = false;
    m_image.RomFound = false;
    m_image.EepromFound = false;
    m_image.ConfigWords = {"0000", "0000", "0000", "0000"};
    m_image.ConfigPresent = {};
    m_image.DefaultConfig = {"0000", "0000", "0000", "0000"};
    m_image.PicModel = 0;

    if (onImageReset)
        onImageReset();

    for (int k = 0; k < count; ++k) {
        // Line k of the file as stored (k < LineCount <= capacity + 1; the one beyond the
        // capacity was refused and fails as E206 through the guarded getter).
        std::string beyond;
        const std::string* line = &beyond;
        if (k < FirmwareImage::kLineCapacity)
            line = &m_image.line(k);
        else
            beyond = m_image.get_HexString(k);
        if (line->empty())
            continue;
        // Nearly every line of a firmware file is a well-formed data record; it is read in
        // one pass. Any other line goes the general way below.
        if (readPlainData(*line))
            continue;
        if (!ParseHexLine(*line, k + 1)) {
            warnDamaged();
            return LoadOutcome::Stopped;
        }
        if (CheckRecord(*line) != RecordDamage::None)
            m_damaged.push_back(k + 1);
    }
    warnDamaged();
    return LoadOutcome::Done;
}

// Once per read, also when the read stopped: what was read before the stop is in the image and
// a save would write it with fresh checksums just the same.
void HexReader::warnDamaged()
{
    if (!m_damaged.empty())
        m_image.prompter().tell(MsgKind::Warning, DamagedLinesWarning(m_damaged), Buttons::Ok);
}

bool HexReader::fail(const char* code, const std::string& line, int wordAddress)
{
    std::string head;
    if (std::string_view(code) == "E201")
        head = "E201: Unerwartete DATA Zeile";
    else if (std::string_view(code) == "E202")
        head = "E202: Unerwarteter End File Record";
    else if (std::string_view(code) == "E205")
        head = "E205: Unerwarteter Extendet Linear Address Record";
    else
        head = std::string(code) + ": Unerwartete Zeile im File";
    const std::string address = wordAddress >= 0 ? strprintf("\nAdresse 0x%x", static_cast<unsigned>(wordAddress)) : "";
    m_image.prompter().tell(MsgKind::Plain, RecordMessage(head, line, m_lineNumber, "RECTYP (Identifier 3)", address),
                            Buttons::Ok);
    return false;
}

bool HexReader::ParseHexLine(const std::string& line, int lineNumber)
{
    m_lineNumber = lineNumber;
    const HexRecordFields f = RecordFields(line);
    const std::string_view type = f.type;
    if (type == "00")
        return parseData(line, f.reclen, f.offset + m_image.LinearBase);
    if (type == "01")
        return line == ":00000001FF" ? true : fail("E202", line);
    if (type == "02")
        return fail("E203", line);
    if (type == "03")
        return fail("E204", line);
    if (type == "04") {
        if (line == ":020000040000FA") {
            m_image.LinearBase = 0;
            return true;
        }
        if (line == ":020000040001F9") {
            m_image.LinearBase = 0x10000;
            return true;
        }
        return fail("E205", line);
    }
    if (type == "05")
        return true;
    return fail("E206", line);
}

bool HexReader::readPlainData(const std::string& line)
{
    // Well-formed (see CheckRecord): ":", then upper-case hexadecimal digits only (the lines
    // are upper-cased), 11 + 2 x RECLEN characters, the bytes summing to 0. Its bytes are
    // decoded once; every byte text of such a line is one of "00".."FF".
    constexpr std::size_t kMaxBytes = 4 + 255 + 1;
    const std::size_t size = line.size();
    if (size < 11 || size % 2 == 0 || line[0] != ':')
        return false;
    const std::size_t bytes = (size - 1) / 2;
    std::uint8_t value[kMaxBytes];
    unsigned sum = 0;
    for (std::size_t b = 0; b < bytes; ++b) {
        const int high = kUpperHexDigit(line[1 + 2 * b]), low = kUpperHexDigit(line[2 + 2 * b]);
        if ((high | low) < 0)
            return false;
        value[b] = static_cast<std::uint8_t>(16 * high + low);
        sum += value[b];
    }
    const int reclen = value[0];
    if (bytes != static_cast<std::size_t>(reclen) + 5 || sum % 256 != 0 || value[3] != 0)
        return false;
    const int byteAddress = 256 * value[1] + value[2] + m_image.LinearBase;
    const std::uint8_t* data = value + 4;
    FirmwareImage& img = m_image;

    // Program memory: the whole record inside it (else parseData's E201).
    const int word = byteAddress / 2;
    if (word <= 0x0FFF) {
        if (reclen == 0)
            return true;
        const int last = byteAddress + reclen - 1;
        if (last / 2 > 0x0FFF)
            return false;
        for (int k = 0; k < reclen; ++k)
            img.setRomValue(byteAddress + k, data[k]);
        img.RomTop = std::max(img.RomTop, last);
        img.RomFound = true;
        return true;
    }

    // EEPROM: one byte per word, all of them inside the 256 bytes the image holds (an index
    // beyond is refused with the accessor's message, which parseData shows).
    if ((word >= 0x2100 && word <= 0x21FF) || (word >= 0xF000 && word <= 0xF0FF)) {
        const int location = word >= 0xF000 ? 0xF000 : 0x2100;
        const int first = word - location;
        const int words = reclen / 2;
        if (first + words > FirmwareImage::kEepromSize)
            return false;
        img.EepromLocation = location;
        for (int k = 0; k < words; ++k)
            img.setEepromValue(first + k, data[2 * k]);
        if (words > 0) {
            img.EepromTop = std::max(img.EepromTop, first + words - 1);
            img.EepromFound = true;
        }
        return true;
    }
    return false;
}

bool HexReader::parseData(const std::string& line, int reclen, int byteAddress)
{
    FirmwareImage& img = m_image;
    Prompter& p = img.prompter();
    const int word = byteAddress / 2;
    const int words = reclen / 2;

    if (word >= 0x0000 && word <= 0x0FFF) {
        // The whole record must lie in program memory: a record that starts in it and runs
        // past word 0x0FFF would put bytes where no PIC of ours has program memory, and a
        // file written from them could not be read again.
        if (reclen > 0 && (byteAddress + reclen - 1) / 2 > 0x0FFF)
            return fail("E201", line, word);
        for (int k = 0; k < reclen; ++k) {
            const int i = byteAddress + k;
            if (DataBytePos(k) > 16384) {
                p.tell(MsgKind::Warning, "E2000 - DATA: Überschreitung ROM-Adressbereich", Buttons::Cancel);
                return false;
            }
            if (i >= 0x4000) {
                p.tell(MsgKind::Warning, "E2001 - DATA: Speicher-Überschreitung für ROM HEX Array: Zu viele Daten",
                       Buttons::Cancel);
                return false;
            }
            img.set_Hex_ROM(i, RecordByte(line, k));
            img.RomTop = std::max(img.RomTop, i);
            img.RomFound = true;
        }
        return true;
    }

    // The ID record carries the identifier digit and the version in its four words; a record
    // with fewer words, or one cut off before its last data byte, would have them read from
    // the checksum or from nothing.
    const bool wholeId = reclen >= 8 && line.size() >= static_cast<std::size_t>(9 + 2 * reclen);
    if ((word == 0x2000 || (word >= 0x8000 && word <= 0x8003)) && !wholeId)
        return fail("E201", line, word);

    if (word == 0x2000) {
        // Classic ID words: one digit each, the low digit of the word's low byte. The first is
        // the decoder's identifier digit, the next three the firmware version d.dd.
        img.IdLocation = 0x2000;
        img.IdText.clear();
        for (int k = 0; k < words; ++k)
            img.IdText += RecordWordDigit(line, k);
        img.IdFound = true;
        FirmwareFacts& facts = img.facts;
        facts.identifier = std::string(at(line, 11, 1));
        facts.version.reset();
        const std::string_view text[3] = {at(line, 15, 1), at(line, 19, 1), at(line, 23, 1)};
        int digit[3] = {0, 0, 0};
        for (int d = 0; d < 3; ++d) {
            if (!parseWholeNumber(text[d], digit[d])) {
                // Shown as it stands, the characters after the one at fault included.
                facts.versionWritten = std::string(text[0]) + "." + std::string(text[1]) + std::string(text[2]);
                return failVersion(text[d]);
            }
        }
        facts.versionWritten.clear();
        facts.version = Version{digit[0], 10 * digit[1] + digit[2]};
        return true;
    }

    if (word == 0x2007) {
        img.ConfigLocation = 0x2007;
        img.ConfigWords[0] = std::string(RecordData(line, reclen));
        img.ConfigPresent[0] = true;
        img.ConfigFound = true;
        return true;
    }

    if ((word >= 0x2100 && word <= 0x21FF) || (word >= 0xF000 && word <= 0xF0FF)) {
        const int location = word >= 0xF000 ? 0xF000 : 0x2100;
        img.EepromLocation = location;
        const int first = word - location;
        for (int k = 0; k < words; ++k) {
            const int n = first + k;
            img.set_Hex_EE(n, RecordWordLow(line, k));
            img.EepromTop = std::max(img.EepromTop, n);
            img.EepromFound = true;
        }
        return true;
    }

    if (word >= 0x8000 && word <= 0x8003) {
        img.IdLocation = 0x8000;
        img.IdText.clear();
        for (int k = 0; k < words; ++k)
            img.IdText += RecordWord(line, k);
        img.IdFound = true;
        FirmwareFacts& facts = img.facts;
        facts.identifier = std::string(at(line, 18, 2));
        // The version is taken from the record type field (always "00") and the first data
        // byte, both read as decimal numbers: 0.58 for a first ID byte of 58, 0.05 for 05.
        int major = 0, minor = 0;
        const std::string_view majorText = at(line, 8, 2), minorText = at(line, 10, 2);
        if (!parseWholeNumber(majorText, major))
            return failVersion(majorText);
        facts.version.reset();
        // A signed byte ("+5", "-5") is a number too, but not one written as the version is.
        const bool plain = minorText.size() == 2 &&
                           std::all_of(minorText.begin(), minorText.end(), [](char c) { return c >= '0' && c <= '9'; });
        facts.versionWritten = plain ? std::string() : std::to_string(major) + "." + std::string(minorText);
        if (!parseWholeNumber(minorText, minor))
            return failVersion(minorText);
        facts.version = Version{major, minor};
        return true;
    }

    if (word >= 0x8007 && word <= 0x800A) {
        // CONFIG 1 to 4. Assemblers also put several of them into one record (CONFIG 1 alone
        // and CONFIG 2..4 together, or all four at once); each word goes to its own slot so
        // that the file is written back word for word. Whatever lies beyond CONFIG 4 stays
        // with CONFIG 4 and is written back with it.
        const std::string data(RecordData(line, reclen));
        int slot = word - 0x8007;
        if (slot == 0) {
            img.ConfigLocation = 0x8007;
            img.ConfigFound = true;
        }
        std::size_t pos = 0;
        do {
            img.ConfigPresent[static_cast<std::size_t>(slot)] = true;
            if (slot == 3 || data.size() - pos <= 4) {
                img.ConfigWords[static_cast<std::size_t>(slot)] = data.substr(pos);
                break;
            }
            img.ConfigWords[static_cast<std::size_t>(slot)] = data.substr(pos, 4);
            pos += 4;
            ++slot;
        } while (pos < data.size());
        return true;
    }

    return fail("E201", line, word);
}

bool HexReader::failVersion(std::string_view text)
{
    m_image.prompter().tell(
        MsgKind::Error,
        strprintf("Die Versionsangabe \"%s\" im ID-Eintrag%s ist keine Dezimalzahl. Das Laden wurde abgebrochen.",
                  QuotedText(text).c_str(), m_lineNumber > 0 ? strprintf(" in Zeile %d", m_lineNumber).c_str() : ""),
        Buttons::Ok);
    return false;
}

bool HexReader::CheckRequiredRecords()
{
    FirmwareImage& img = m_image;
    Prompter& p = img.prompter();
    if (img.PicModel == 0 && p.ask(MsgKind::Warning, "Es konnte das HEX File keinem PIC zugeordnet werden.",
                                   Buttons::CancelIgnore) == Answer::Cancel)
        return false;
    if (!img.IdFound && p.ask(MsgKind::Warning, "In dem HEX-File wurde kein Wert für die ID gefunden.",
                              Buttons::CancelIgnore) == Answer::Cancel)
        return false;
    if (!img.ConfigFound) {
        bool makeStandard = false;
        if (img.DefaultConfig[0].empty())
            p.tell(MsgKind::Warning, "In dem HEX-File wurde kein Config-Wert gefunden.", Buttons::Ignore);
        else
            makeStandard =
                p.ask(MsgKind::Warning, "In dem HEX-File wurde kein Config-Wert gefunden. Standard-Wert erzeugen?",
                      Buttons::YesIgnore) == Answer::Yes;
        if (makeStandard) {
            // The decoder's standard words, in the layout of its PIC. A word the PIC has no
            // standard for (CONFIG 2..4 of the classic PICs) keeps what the image had there,
            // as after loading a file that carried its CONFIG 1, so that the saved file reads
            // back the same.
            for (std::size_t k = 0; k < 4; ++k) {
                if (!img.DefaultConfig[k].empty()) {
                    img.ConfigWords[k] = img.DefaultConfig[k];
                    img.ConfigPresent[k] = true;
                }
            }
            img.ConfigLocation = img.PicModel == 18324 ? 0x8007 : 0x2007;
        } else {
            // Going on without: the image has no configuration beyond what the file carried,
            // and shows the missing words as empty rather than as a word 0000 nobody chose.
            for (std::size_t k = 0; k < 4; ++k)
                if (!img.ConfigPresent[k])
                    img.ConfigWords[k].clear();
        }
    }
    return true;
}

} // namespace hz
