#include "core/inspect/HexCompare.h"

#include <algorithm>

#include "core/firmware/HexRecord.h"
#include "core/firmware/HexText.h"
#include "core/firmware/TextFile.h"
#include "core/inspect/HexListing.h"
#include "core/inspect/Mnemonic.h"

namespace hz {

namespace {

bool isError(const std::string& text) { return text == "error"; }

// A text of either file as a report line shows it: whole, but with control characters and
// bytes above 0x7F escaped as in messages, so that a damaged second file (which is never
// loaded, so never warned about) cannot steer the terminal the report is printed to.
std::string shown(const std::string& text) { return QuotedText(text, std::string::npos); }

// The number a message gives a line; beyond the range of int the messages leave it out (0).
int lineNumberOf(std::size_t count) { return count <= 0x7FFFFFFF ? static_cast<int>(count) : 0; }

} // namespace

HexComparison::HexComparison(const FirmwareImage& file1, Prompter& prompter) : m_image(file1), m_prompter(prompter) {}

void HexComparison::begin(const std::string& file2)
{
    m_report = CompareReport{};
    CompareBase = 0;
    m_report.status[0] = "File 1 = " + DisplayName(m_image.LastFileName);
    m_report.status[1] = "File 2 = " + DisplayName(file2);
    m_report.eeprom.emplace_back();
}

void HexComparison::finish()
{
    m_report.eeprom.emplace_back(" ");
    m_report.rom.emplace_back(" ");
    m_report.eeprom.push_back(strprintf("%4i gefundene Unterschiede im EEprom", m_report.EeDiffCount));
    m_report.rom.push_back(strprintf("%4i gefundene Unterschiede im ROM", m_report.RomDiffCount));
    m_report.rom.push_back(strprintf("%4i gefundene Unterschiede in ID", m_report.IdDiffCount));
    m_report.rom.push_back(strprintf("%4i gefundene Unterschiede in Config", m_report.ConfigDiffCount));
    m_report.outcome = CompareReport::Outcome::Done;
}

CompareReport HexComparison::CompareWithFile(const std::string& file2)
{
    return compareRead(file2, [&](const std::function<bool(std::string&)>& onLine) {
        return ReadTextFileLines(file2, m_prompter, onLine);
    });
}

CompareReport HexComparison::CompareWithStream(std::istream& in, const std::string& name)
{
    return compareRead(name, [&](const std::function<bool(std::string&)>& onLine) {
        return ReadTextStreamLines(in, name, m_prompter, onLine);
    });
}

CompareReport
HexComparison::compareRead(const std::string& file2,
                           const std::function<TextFileRead(const std::function<bool(std::string&)>&)>& read)
{
    // The report starts when the file has been opened: a file that cannot be read leaves
    // nothing behind but its message.
    bool started = false;
    bool failed = false;
    std::size_t lineCount = 0;
    const TextFileRead result = read([&](std::string& line) {
        if (!started) {
            begin(file2);
            started = true;
        }
        upperAsciiInPlace(line);
        failed = !CompareHexLine(line, lineNumberOf(++lineCount));
        return !failed;
    });
    if (result == TextFileRead::Unreadable && !started) {
        m_report = CompareReport{};
        m_report.outcome = CompareReport::Outcome::Unreadable;
        return m_report;
    }
    if (!started)
        begin(file2); // an empty file: nothing to compare, nothing different
    if (result == TextFileRead::Done)
        finish();
    else
        m_report.outcome = failed ? CompareReport::Outcome::Stopped : CompareReport::Outcome::Unreadable;
    return m_report;
}

CompareReport HexComparison::CompareWithLines(const std::vector<std::string>& lines, const std::string& file2)
{
    begin(file2);
    std::size_t lineCount = 0;
    for (const std::string& l : lines) {
        if (!CompareHexLine(upperAscii(l), lineNumberOf(++lineCount))) {
            m_report.outcome = CompareReport::Outcome::Stopped;
            return m_report;
        }
    }
    finish();
    return m_report;
}

bool HexComparison::fail(const char* code, const std::string& line)
{
    const std::string_view c(code);
    std::string head;
    if (c == "E201a")
        head = "E201a: Unerwartete Zeile";
    else if (c == "E202a")
        head = "E202a: Unerwarteter End File Record";
    else if (c == "E205")
        head = "E205: Unerwarteter Extendet Linear Address Record";
    else
        head = std::string(code) + ": Unerwartete Zeile im File";
    // E206a has always labelled its last field "Identifies 3"; scripts that read the message
    // may go by it.
    const char* typeLabel = c == "E206a" ? "RECTYP (Identifies 3)" : "RECTYP (Identifier 3)";
    m_prompter.tell(MsgKind::Plain, RecordMessage(head, line, m_lineNumber, typeLabel), Buttons::Ok);
    return false;
}

bool HexComparison::CompareHexLine(const std::string& line, int lineNumber)
{
    m_lineNumber = lineNumber;
    const HexRecordFields f = RecordFields(line);
    if (f.type == "00")
        return compareData(line, f.reclen, f.offset + CompareBase);
    if (f.type == "01")
        return line == ":00000001FF" ? true : fail("E202a", line);
    if (f.type == "02")
        return fail("E203a", line);
    if (f.type == "03")
        return fail("E204a", line);
    if (f.type == "04") {
        if (line == ":020000040000FA") {
            CompareBase = 0;
            return true;
        }
        if (line == ":020000040001F9") {
            CompareBase = 0x10000;
            return true;
        }
        return fail("E205", line);
    }
    if (f.type == "05")
        return true;
    // Any other record type, and an empty line.
    return fail("E206a", line);
}

bool HexComparison::compareData(const std::string& line, int reclen, int byteAddress)
{
    const int word = byteAddress / 2;
    if (word >= 0x0000 && word <= 0x0FFF)
        return compareProgram(line, reclen, byteAddress);

    if (word == 0x2000) {
        std::string id;
        for (int k = 0; k < reclen / 2; ++k)
            id += RecordWordDigit(line, k);
        reportId(id);
        return true;
    }
    if (word >= 0x8000 && word <= 0x8003) {
        reportId(std::string(RecordData(line, reclen)));
        return true;
    }

    if (word == 0x2007 || (word >= 0x8007 && word <= 0x800A)) {
        const std::string file2(RecordData(line, reclen));
        std::size_t slot = word == 0x2007 ? 0 : static_cast<std::size_t>(word - 0x8007);
        // The loader gives every configuration word of a record its own slot; a record that
        // carries several words is compared with as many slots as it covers.
        std::string file1 = m_image.ConfigWords[slot];
        for (std::size_t next = slot + 1; word != 0x2007 && next < 4 && file1.size() < file2.size(); ++next)
            file1 += m_image.ConfigWords[next];
        if (file1 != file2) {
            const std::string label = word == 0x2007 ? "CONFIG" : strprintf("CONFIG %zu", slot + 1);
            m_report.rom.emplace_back(" ");
            m_report.rom.push_back(label +
                                   strprintf(": File1:0x%s - File2:0x%s", shown(file1).c_str(), shown(file2).c_str()));
            ++m_report.ConfigDiffCount;
        }
        return true;
    }

    if (word >= 0x2100 && word <= 0x21FF)
        return compareEeprom(line, reclen, word - 0x2100);
    if (word >= 0xF000 && word <= 0xF0FF)
        return compareEeprom(line, reclen, word - 0xF000);

    return fail("E201a", line);
}

bool HexComparison::compareProgram(const std::string& line, int reclen, int byteAddress)
{
    if (reclen <= 0)
        return true;
    // Word by word, low byte first. A byte of a word that this record does not carry (an odd
    // record length or start) is not part of the comparison: it counts as file 1's byte.
    const int end = byteAddress + reclen;
    auto file2Byte = [&](int i, const std::string& file1Byte) {
        return i >= byteAddress && i < end ? std::string(RecordByte(line, i - byteAddress)) : file1Byte;
    };
    auto file1Byte = [&](int i) { return i < FirmwareImage::kRomSize ? m_image.rom(i) : m_image.get_Hex_ROM(i); };
    for (int word = byteAddress / 2; word <= (end - 1) / 2; ++word) {
        const int low = 2 * word, high = 2 * word + 1;
        if (DataBytePos(std::min(high, end - 1) - byteAddress) > 16384) {
            m_prompter.tell(MsgKind::Warning, "E200: Überschreitung ROM-Adressbereich", Buttons::Cancel);
            return false;
        }
        const std::string low1 = file1Byte(low);
        if (isError(low1))
            return false;
        const std::string high1 = file1Byte(high);
        if (isError(high1))
            continue;
        const std::string low2 = file2Byte(low, low1), high2 = file2Byte(high, high1);
        if (low1 == low2 && high1 == high2)
            continue;
        m_report.rom.push_back(WordAddressText(word) + ": " +
                               strprintf(" 0x%s%s [%s] - 0x%s%s [%s]", shown(high1).c_str(), shown(low1).c_str(),
                                         MnemonicOf(high1, low1).c_str(), shown(high2).c_str(), shown(low2).c_str(),
                                         MnemonicOf(high2, low2).c_str()));
        ++m_report.RomDiffCount;
    }
    return true;
}

bool HexComparison::compareEeprom(const std::string& line, int reclen, int first)
{
    for (int k = 0; k < reclen / 2; ++k) {
        const int n = first + k;
        const std::string file2(RecordWordLow(line, k));
        // Beyond the 256 bytes of the image the guarded getter says so and the line fails.
        const std::string file1 = n < FirmwareImage::kEepromSize ? m_image.eeprom(n) : m_image.get_Hex_EE(n);
        if (isError(file1))
            return false;
        if (file1 == file2)
            continue;
        const char* pad = n <= 15 ? "0x0" : n <= 255 ? "0x" : "";
        m_report.eeprom.push_back(strprintf("EE%s%x: File1:0x%s - File2:0x%s", pad, static_cast<unsigned>(n),
                                            shown(file1).c_str(), shown(file2).c_str()));
        ++m_report.EeDiffCount;
    }
    return true;
}

void HexComparison::reportId(const std::string& file2Id)
{
    if (file2Id == m_image.IdText)
        return;
    m_report.rom.emplace_back(" ");
    m_report.rom.push_back(
        strprintf("ID: File1:0x%s - File2:0x%s", shown(m_image.IdText).c_str(), shown(file2Id).c_str()));
    ++m_report.IdDiffCount;
}

} // namespace hz
