#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

#include "HexRecords.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/firmware/FirmwareImage.h"
#include "core/firmware/HexReader.h"
#include "core/firmware/HexRecord.h"

using namespace hz;
using namespace hz::test;

namespace {

struct Reader {
    ScriptedPrompter prompter;
    FirmwareImage image{prompter};
    HexReader reader{image};
    std::vector<std::string> started; // the names onReadStart heard
    Reader()
    {
        reader.onReadStart = [this](const std::string& name) { started.push_back(name); };
    }

    LoadOutcome read(const std::vector<std::string>& lines) { return reader.ReadHexLines(lines, "/x/test.hex"); }
};

} // namespace

TEST(HexReader, BaseAndEndRecordsAloneLeaveTheImageBlank)
{
    Reader r;
    EXPECT_EQ(r.read({kBase0, kEnd}), LoadOutcome::Done);
    EXPECT_TRUE(r.prompter.shown.empty());
    EXPECT_FALSE(r.image.IdFound);
    EXPECT_FALSE(r.image.ConfigFound);
    EXPECT_EQ(r.image.get_Hex_ROM(0), "FF");
    EXPECT_EQ(r.image.get_Hex_ROM(1), "3F");
    EXPECT_EQ(r.image.get_Hex_EE(0), "FF");
    EXPECT_EQ(r.image.EepromTop, 0);
    EXPECT_EQ(r.started, std::vector<std::string>{"/x/test.hex"});
    EXPECT_EQ(r.image.LastFileName, "/x/test.hex");
}

TEST(HexReader, ProgramMemoryIsStoredByByteAddressAndUpperCased)
{
    Reader r;
    // lower-case digits are read like upper-case ones
    EXPECT_EQ(r.read({":0400100008300a2882", kEnd}), LoadOutcome::Done);
    EXPECT_EQ(r.image.get_Hex_ROM(0x10), "08");
    EXPECT_EQ(r.image.get_Hex_ROM(0x12), "0A");
    EXPECT_EQ(r.image.get_Hex_ROM(0x13), "28");
    EXPECT_EQ(r.image.RomTop, 0x13);
    EXPECT_EQ(r.image.get_HexString(0), ":0400100008300A2882");
    EXPECT_TRUE(r.prompter.shown.empty());
}

TEST(HexReader, ClassicIdRecordGivesDigitVersionAndStatus)
{
    Reader r;
    EXPECT_EQ(r.read({rec(0x4000, "0800030005000800"), kEnd}), LoadOutcome::Done);
    EXPECT_EQ(r.image.IdText, "8358");
    EXPECT_EQ(r.image.IdLocation, 0x2000);
    EXPECT_TRUE(r.image.IdFound);
    EXPECT_EQ(r.image.facts.identifier, "8");
    EXPECT_EQ(r.image.facts.version, (Version{3, 58}));
    EXPECT_EQ(r.image.facts.versionText(), "3.58");
}

TEST(HexReader, F18324IdRecordTakesVersionFromTypeFieldAndFirstByte)
{
    Reader r;
    EXPECT_EQ(r.read({kBase1, rec(0x0000, "58000000014B0000"), kEnd}), LoadOutcome::Done);
    EXPECT_EQ(r.image.IdLocation, 0x8000);
    EXPECT_EQ(r.image.IdText, "58000000014B0000");
    EXPECT_EQ(r.image.facts.identifier, "01"); // low byte of the third word
    EXPECT_EQ(r.image.facts.version, (Version{0, 58}));
    EXPECT_EQ(r.image.facts.versionText(), "0.58");
}

TEST(HexReader, VersionDigitThatIsNoDecimalStopsTheLoadWithAMessage)
{
    for (const std::vector<std::string>& file :
         {std::vector<std::string>{rec(0x4000, "08000A0005000800"), kEnd},
          std::vector<std::string>{kBase1, rec(0x0000, "5A000000014B0000"), kEnd}}) {
        Reader r;
        EXPECT_EQ(r.read(file), LoadOutcome::Stopped);
        ASSERT_EQ(r.prompter.shown.size(), 1u);
        EXPECT_NE(r.prompter.shown[0].text.find("keine Dezimalzahl"), std::string::npos);
        EXPECT_TRUE(r.image.IdFound);
        EXPECT_EQ(r.image.facts.version, std::nullopt);
    }
}

TEST(HexReader, EepromTakesTheLowByteOfEveryWord)
{
    Reader r;
    std::string data;
    for (int k = 0; k < 8; ++k)
        data += HexByteTexts()[static_cast<std::size_t>(0x10 + k)] + "00";
    EXPECT_EQ(r.read({rec(0x4210, data), kEnd}), LoadOutcome::Done);
    for (int n = 8; n < 16; ++n)
        EXPECT_EQ(r.image.get_Hex_EE(n), HexByteTexts()[static_cast<std::size_t>(0x10 + n - 8)]);
    EXPECT_EQ(r.image.get_Hex_EE(7), "FF");
    EXPECT_EQ(r.image.EepromTop, 15);
    EXPECT_EQ(r.image.EepromLocation, 0x2100);
}

TEST(HexReader, F18324RecordsBehindTheLinearBase)
{
    Reader r;
    EXPECT_EQ(r.read({kBase1, rec(0xE000, "1200"), rec(0x000E, "8C17"), rec(0x0010, "3C25"), kEnd}), LoadOutcome::Done);
    EXPECT_EQ(r.image.get_Hex_EE(0), "12");
    EXPECT_EQ(r.image.EepromLocation, 0xF000);
    EXPECT_EQ(r.image.ConfigWords[0], "8C17");
    EXPECT_EQ(r.image.ConfigWords[1], "3C25");
    EXPECT_EQ(r.image.ConfigLocation, 0x8007);
    EXPECT_TRUE(r.image.ConfigFound);
}

// Assemblers put several configuration words into one record; each word lands in its slot.
TEST(HexReader, SeveralConfigurationWordsInOneRecord)
{
    struct Case {
        std::vector<std::string> lines;
        std::array<std::string, 4> words;
        bool found;
    } cases[] = {
        {{kBase1, rec(0x000E, "8C173C25FF1FFF3F")}, {"8C17", "3C25", "FF1F", "FF3F"}, true},
        {{kBase1, rec(0x000E, "8C17"), rec(0x0010, "3C25FF1FFF3F")}, {"8C17", "3C25", "FF1F", "FF3F"}, true},
        {{kBase1, rec(0x0010, "3C25FF1F")}, {"0000", "3C25", "FF1F", "0000"}, false},
        // a word beyond CONFIG 4 stays with CONFIG 4, so that it is written back as it came
        {{kBase1, rec(0x0012, "FF1FFF3F1234")}, {"0000", "0000", "FF1F", "FF3F1234"}, false},
        // classic: the whole record is CONFIG 1
        {{rec(0x400E, "C431")}, {"C431", "0000", "0000", "0000"}, true},
    };
    for (const auto& c : cases) {
        Reader r;
        auto lines = c.lines;
        lines.push_back(kEnd);
        EXPECT_EQ(r.read(lines), LoadOutcome::Done);
        EXPECT_EQ(r.image.ConfigWords, c.words) << lines[1];
        EXPECT_EQ(r.image.ConfigFound, c.found) << lines[1];
    }
}

TEST(HexReader, RejectedRecordsStopTheLoadWithTheirMessage)
{
    struct Case {
        std::string line;
        std::string message;
    } cases[] = {
        {rec(0x4002, "0000"),
         "E201: Unerwartete DATA Zeile:\n:024002000000BC\n\nRECLEN (Identifier 1): 02\nLOAD OFFSET (Identifier 2): "
         "40 02\nRECTYP (Identifier 3): 00\nAdresse 0x2001\nZeile 2 der Datei"},
        {":00000001FE",
         "E202: Unerwarteter End File Record:\n:00000001FE\n\nRECLEN (Identifier 1): 00\nLOAD OFFSET (Identifier 2): "
         "00 00\nRECTYP (Identifier 3): 01\nZeile 2 der Datei"},
        {":020000021000EC",
         "E203: Unerwartete Zeile im File:\n:020000021000EC\n\nRECLEN (Identifier 1): 02\nLOAD OFFSET (Identifier "
         "2): 00 00\nRECTYP (Identifier 3): 02\nZeile 2 der Datei"},
        {":0400000300003800C1",
         "E204: Unerwartete Zeile im File:\n:0400000300003800C1\n\nRECLEN (Identifier 1): 04\nLOAD OFFSET "
         "(Identifier 2): 00 00\nRECTYP (Identifier 3): 03\nZeile 2 der Datei"},
        {":020000040002F8",
         "E205: Unerwarteter Extendet Linear Address Record:\n:020000040002F8\n\nRECLEN (Identifier 1): 02\nLOAD "
         "OFFSET (Identifier 2): 00 00\nRECTYP (Identifier 3): 04\nZeile 2 der Datei"},
        {":00000006FA",
         "E206: Unerwartete Zeile im File:\n:00000006FA\n\nRECLEN (Identifier 1): 00\nLOAD OFFSET (Identifier 2): "
         "00 00\nRECTYP (Identifier 3): 06\nZeile 2 der Datei"},
        // a program record that starts in program memory and runs past word 0x0FFF
        {rec(0x1FFC, "0830083008300830"),
         "E201: Unerwartete DATA Zeile:\n:081FFC000830083008300830FD\n\nRECLEN (Identifier 1): 08\nLOAD OFFSET "
         "(Identifier 2): 1F FC\nRECTYP (Identifier 3): 00\nAdresse 0xffe\nZeile 2 der Datei"},
        // ID records with fewer than four words, or cut off before their last byte: the
        // version would come from the checksum
        {rec(0x4000, "080003000500"),
         "E201: Unerwartete DATA Zeile:\n:06400000080003000500AA\n\nRECLEN (Identifier 1): 06\nLOAD OFFSET "
         "(Identifier 2): 40 00\nRECTYP (Identifier 3): 00\nAdresse 0x2000\nZeile 2 der Datei"},
        {":08400000080003000500",
         "E201: Unerwartete DATA Zeile:\n:08400000080003000500\n\nRECLEN (Identifier 1): 08\nLOAD OFFSET "
         "(Identifier 2): 40 00\nRECTYP (Identifier 3): 00\nAdresse 0x2000\nZeile 2 der Datei"},
    };
    for (const auto& c : cases) {
        Reader r;
        EXPECT_EQ(r.read({rec(0x0000, "0830"), c.line, rec(0x0002, "0930")}), LoadOutcome::Stopped) << c.line;
        ASSERT_EQ(r.prompter.shown.size(), 1u) << c.line;
        EXPECT_EQ(r.prompter.shown[0].text, c.message);
        EXPECT_EQ(r.prompter.shown[0].kind, MsgKind::Plain);
        EXPECT_EQ(r.prompter.shown[0].buttons, Buttons::Ok);
        // what was read before the failing line stays; nothing after it is read
        EXPECT_EQ(r.image.get_Hex_ROM(0), "08");
        EXPECT_EQ(r.image.get_Hex_ROM(2), "FF");
    }
}

// A damaged line is read exactly as before (nothing in the image changes against its clean
// twin), but it is noted with its line number in the file.
TEST(HexReader, DamagedLinesAreReadAsBeforeAndNamed)
{
    const std::string clean = rec(0x0000, "0830"); // ":020000000830C6"
    struct Case {
        std::string line;
        RecordDamage damage;
        std::string twin; // a well-formed line that reads to the same image
    } cases[] = {
        {":020000000830C7", RecordDamage::Checksum, clean},
        {":020000000830C6FF", RecordDamage::Length, clean},    // a byte after the checksum
        {":0200000008C6", RecordDamage::Length, ""},           // shorter than RECLEN says
        {":020000000830C6 ", RecordDamage::Characters, clean}, // a blank left by an editor
        {";020000000830C6", RecordDamage::Characters, clean},  // the start code is ignored
        {":0200000008"
         "0C6",
         RecordDamage::Characters, ""},
        {":020000000830c6", RecordDamage::None, clean},  // lower case is read upper-cased
        {":04000005000000CD2A", RecordDamage::None, ""}, // type 05, ignored but checked
        {":0400000500000000", RecordDamage::Length, ""},
        // EEPROM words, and a record without data
        {":0442000011002200A6", RecordDamage::Checksum, rec(0x4200, "11002200")},
        {rec(0x4200, "110022") + " ", RecordDamage::Characters, rec(0x4200, "110022")},
        {":00001000F1", RecordDamage::Checksum, rec(0x0010, "")},
    };
    for (const auto& c : cases) {
        Reader r;
        EXPECT_EQ(CheckRecord(upperAscii(c.line)), c.damage) << c.line;
        EXPECT_EQ(r.read({kBase0, "", c.line, kEnd}), LoadOutcome::Done) << c.line;
        const bool damaged = c.damage != RecordDamage::None;
        // line 3 of the file: the empty line counts
        EXPECT_EQ(r.reader.DamagedLines(), damaged ? std::vector<int>{3} : std::vector<int>{}) << c.line;
        ASSERT_EQ(r.prompter.shown.size(), damaged ? 1u : 0u) << c.line;
        if (damaged) {
            EXPECT_EQ(r.prompter.shown[0].kind, MsgKind::Warning);
            EXPECT_EQ(r.prompter.shown[0].buttons, Buttons::Ok);
        }
        if (!c.twin.empty()) {
            Reader twin;
            twin.read({kBase0, "", c.twin, kEnd});
            EXPECT_TRUE(r.image.memory() == twin.image.memory()) << c.line;
            EXPECT_EQ(r.image.RomTop, twin.image.RomTop) << c.line;
            EXPECT_EQ(r.image.RomFound, twin.image.RomFound) << c.line;
            EXPECT_EQ(r.image.EepromTop, twin.image.EepromTop) << c.line;
            EXPECT_EQ(r.image.EepromFound, twin.image.EepromFound) << c.line;
            EXPECT_EQ(r.image.EepromLocation, twin.image.EepromLocation) << c.line;
        }
    }
}

TEST(HexReader, OneWarningNamesTheDamagedLines)
{
    const std::string bad = ":020000000830C7";
    const std::string after =
        "\nDie Daten wurden trotzdem eingelesen. Beim Speichern werden neue, gültige Prüfsummen geschrieben; die "
        "Datei sollte deshalb vor dem Brennen geprüft werden.";
    {
        Reader r;
        r.read({kBase0, bad, kEnd});
        EXPECT_EQ(r.prompter.texts(),
                  std::vector<std::string>{"Die Datei enthält eine beschädigte Zeile (Prüfsumme, Länge oder Zeichen "
                                           "stimmen nicht):\nZeile 2" +
                                           after});
    }
    {
        Reader r;
        r.read({bad, kBase0, bad, ":0000000500", bad});
        EXPECT_EQ(r.prompter.texts(),
                  std::vector<std::string>{"Die Datei enthält 4 beschädigte Zeilen (Prüfsumme, Länge oder Zeichen "
                                           "stimmen nicht):\nZeilen 1, 3, 4, 5" +
                                           after});
    }
    {
        // a file damaged throughout: the first ten, then "…", in one message
        Reader r;
        r.read(std::vector<std::string>(600, bad));
        ASSERT_EQ(r.prompter.shown.size(), 1u);
        EXPECT_NE(r.prompter.shown[0].text.find("600 beschädigte Zeilen"), std::string::npos);
        EXPECT_NE(r.prompter.shown[0].text.find("Zeilen 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, …\n"), std::string::npos);
        EXPECT_EQ(r.reader.DamagedLines().size(), 600u);
        // the next read starts afresh
        r.prompter.clear();
        r.read({kBase0, kEnd});
        EXPECT_TRUE(r.reader.DamagedLines().empty());
        EXPECT_TRUE(r.prompter.shown.empty());
    }
}

// A load that stops keeps what it read before the stop, and a save would write it with fresh
// checksums: the damaged lines before the stop are told after the stop's own message. The
// line that stopped the load is not told twice.
TEST(HexReader, StoppedLoadStillTellsTheDamageItRead)
{
    const std::string bad = ":020000000830C7";
    Reader r;
    EXPECT_EQ(r.read({bad, ":020000040002F7", bad}), LoadOutcome::Stopped);
    ASSERT_EQ(r.prompter.shown.size(), 2u);
    EXPECT_EQ(r.prompter.shown[0].text.substr(0, 5), "E205:");
    EXPECT_EQ(r.reader.DamagedLines(), std::vector<int>{1});
    EXPECT_NE(r.prompter.shown[1].text.find("eine beschädigte Zeile"), std::string::npos);

    Reader stopAtOnce;
    EXPECT_EQ(stopAtOnce.read({":020000040002F7", bad}), LoadOutcome::Stopped);
    EXPECT_EQ(stopAtOnce.prompter.shown.size(), 1u);
    EXPECT_TRUE(stopAtOnce.reader.DamagedLines().empty());
}

// A line quoted in a message cannot steer the terminal, stays short and is found by its number.
TEST(HexReader, MessagesQuoteTheLineSafelyWithItsNumber)
{
    Reader r;
    EXPECT_EQ(r.read({kBase0, "", ":00000007\x1B[2J\a"}), LoadOutcome::Stopped);
    ASSERT_EQ(r.prompter.shown.size(), 1u);
    EXPECT_EQ(r.prompter.shown[0].text,
              "E206: Unerwartete Zeile im File:\n:00000007\\x1B[2J\\x07\n\nRECLEN (Identifier 1): 00\nLOAD OFFSET "
              "(Identifier 2): 00 00\nRECTYP (Identifier 3): 07\nZeile 3 der Datei");

    // a line of 17,000 characters: its start, then "…"
    Reader longLine;
    const std::string line = ":10000007" + std::string(16991, '0');
    EXPECT_EQ(longLine.read({line}), LoadOutcome::Stopped);
    ASSERT_EQ(longLine.prompter.shown.size(), 1u);
    const std::string& text = longLine.prompter.shown[0].text;
    EXPECT_LT(text.size(), 300u);
    EXPECT_NE(text.find(":\n" + line.substr(0, 80) + "…\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nZeile 1 der Datei"), std::string::npos) << text;

    // the version digit of an ID record, quoted the same way
    Reader version;
    std::string id = rec(0x4000, "0800030005000800");
    id[14] = '\x1B'; // position 15: the first digit of the version
    EXPECT_EQ(version.read({kBase0, id}), LoadOutcome::Stopped);
    EXPECT_EQ(version.prompter.texts().at(0),
              "Die Versionsangabe \"\\x1B\" im ID-Eintrag in Zeile 2 ist keine Dezimalzahl. Das Laden wurde "
              "abgebrochen.");
}

TEST(HexReader, StartCodeExtendedSegmentAndTolerantRecords)
{
    Reader r;
    // type 05 is ignored; a record after the end record is still read; a short line never fails
    EXPECT_EQ(r.read({":04000005000000CD2A", kEnd, ":0400000008"}), LoadOutcome::Done);
    EXPECT_EQ(r.image.get_Hex_ROM(0), "08");
    EXPECT_EQ(r.image.get_Hex_ROM(1), "");
    EXPECT_EQ(r.image.RomTop, 3);
}

TEST(HexReader, F18324IdRecordMustHoldItsFourWords)
{
    for (const std::string& line : {rec(0x0000, "580000000100"), std::string(":08000000580000000100")}) {
        Reader r;
        EXPECT_EQ(r.read({kBase1, line, kEnd}), LoadOutcome::Stopped) << line;
        ASSERT_EQ(r.prompter.shown.size(), 1u);
        EXPECT_EQ(r.prompter.shown[0].text.substr(0, 4), "E201");
        EXPECT_NE(r.prompter.shown[0].text.find("Adresse 0x8000"), std::string::npos);
    }
}

TEST(HexReader, ByteOrderMarkAtTheStartIsSkipped)
{
    const auto dir = tempDir("bom");
    const std::string path = (dir / "bom.hex").string();
    // two of them, as an editor that adds one on every save leaves them
    writeFile(path, "\xEF\xBB\xBF\xEF\xBB\xBF" + joinCrLf({kBase0, rec(0x0000, "0830"), kEnd}));
    Reader r;
    EXPECT_EQ(r.reader.ReadHexFile(path), LoadOutcome::Done);
    EXPECT_TRUE(r.prompter.shown.empty()) << r.prompter.texts()[0];
    EXPECT_EQ(r.image.get_HexString(0), kBase0);
    EXPECT_EQ(r.image.get_Hex_ROM(0), "08");
    // only at the very start: the same bytes before a later line are part of that line
    EXPECT_EQ(splitLines("A\n\xEF\xBB\xBF:B", 10), (std::vector<std::string>{"A", "\xEF\xBB\xBF:B"}));
    // a text that merely begins like one keeps its bytes
    EXPECT_EQ(splitLines("\xEF\xBB:", 10), (std::vector<std::string>{"\xEF\xBB:"}));
    std::filesystem::remove_all(dir);
}

TEST(HexReader, RecordLocationsSurviveTheNextFile)
{
    Reader r;
    r.read({kBase1, rec(0x0000, "58000000014B0000"), rec(0xE000, "1200"), kEnd});
    r.read({rec(0x0000, "0830"), rec(0x400E, "C431"), kEnd});
    EXPECT_EQ(r.image.IdLocation, 0x8000);
    EXPECT_EQ(r.image.EepromLocation, 0xF000);
    EXPECT_EQ(r.image.ConfigLocation, 0x2007);
    EXPECT_FALSE(r.image.IdFound);
    EXPECT_EQ(r.image.IdText, "");
    EXPECT_EQ(r.image.get_Hex_EE(0), "FF");
    // the version is the file's own: none without an ID record, not the earlier file's 0.58
    EXPECT_EQ(r.image.facts.version, std::nullopt);
    EXPECT_EQ(r.image.facts.identifier, "");
}

TEST(HexReader, EepromBeyondIndex255IsRefusedButRaisesTheTop)
{
    Reader r;
    EXPECT_EQ(r.read({rec(0x43FE, "AA00BB00"), kEnd}), LoadOutcome::Done);
    EXPECT_EQ(r.image.get_Hex_EE(255), "AA");
    EXPECT_EQ(r.image.EepromTop, 256);
    ASSERT_EQ(r.prompter.texts(),
              std::vector<std::string>{"Error: schreiben Hex_EE Bereichsüberschreitung (256) in set_Hex_EE"});
}

TEST(HexReader, MoreThan1024LinesStopsAtTheLimit)
{
    Reader r;
    std::vector<std::string> lines(1030, ":00000005FB");
    EXPECT_EQ(r.read(lines), LoadOutcome::Stopped);
    ASSERT_EQ(r.prompter.shown.size(), 3u);
    EXPECT_EQ(r.prompter.shown[0].text, "Error: schreiben HexString Bereichsüberschreitung (1024) in set_HexString");
    EXPECT_EQ(r.prompter.shown[1].text, "Error: lesen HexString Bereichsüberschreitung (1024) in get_HexString");
    EXPECT_EQ(r.prompter.shown[2].text.substr(0, 5), "E206:");
}

TEST(HexReader, LineEndsOfEveryKind)
{
    for (const std::string& text :
         {std::string(":0200000008306E\r\n:00000001FF\r\n"), std::string(":0200000008306E\n:00000001FF"),
          std::string(":0200000008306E\r:00000001FF\r")}) {
        std::size_t total = 0;
        const auto lines = splitLines(text, 10, &total);
        EXPECT_EQ(total, 2u);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], ":0200000008306E");
        EXPECT_EQ(lines[1], ":00000001FF");
    }
    EXPECT_EQ(splitLines("a\r\n\r\nb", 10).size(), 3u);
}

TEST(HexReader, FileThatCannotBeOpenedChangesNothing)
{
    Reader r;
    r.read({rec(0x0000, "0830")});
    EXPECT_EQ(r.reader.ReadHexFile("/nonexistent/folder/x.hex"), LoadOutcome::Unreadable);
    ASSERT_EQ(r.prompter.shown.size(), 1u);
    EXPECT_NE(r.prompter.shown[0].text.find("/nonexistent/folder/x.hex"), std::string::npos);
    EXPECT_EQ(r.image.get_Hex_ROM(0), "08");
    EXPECT_EQ(r.started, std::vector<std::string>{"/x/test.hex"});
    EXPECT_EQ(r.reader.ReadHexFile(""), LoadOutcome::NoFile);
    EXPECT_EQ(r.started.size(), 1u);
}

// A file that is not a regular file need not end (/dev/zero never does): it is read up to the
// size no firmware file reaches and then refused, naming it. A pipe and a stream under that size
// are read as a file is; a stream beyond it is refused too.
TEST(HexReader, WhatIsNoRegularFileIsReadUpToTheFirmwareSizeOnly)
{
    const std::string tooMuch = " liefert mehr als 1048576 Bytes; eine Firmware-Datei hat höchstens 1048576 Bytes "
                                "(1024 Zeilen). Sie wurde darum nicht gelesen.";
    Reader zero;
    EXPECT_EQ(zero.reader.ReadHexFile("/dev/zero"), LoadOutcome::Unreadable);
    ASSERT_EQ(zero.prompter.shown.size(), 1u);
    EXPECT_EQ(zero.prompter.shown[0].kind, MsgKind::Error);
    EXPECT_EQ(zero.prompter.shown[0].text, "Die Datei \"/dev/zero\" ist keine gewöhnliche Datei und" + tooMuch);

    // a pipe with a whole firmware file in it, read through its name under /proc
    const std::string text = joinCrLf({kBase0, rec(0x0000, "0830"), kEnd});
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(ends[1]);
    Reader piped;
    EXPECT_EQ(piped.reader.ReadHexFile("/proc/self/fd/" + std::to_string(ends[0])), LoadOutcome::Done);
    EXPECT_EQ(piped.image.get_Hex_ROM(0), "08");
    ::close(ends[0]);

    Reader streamed;
    std::istringstream small(text);
    EXPECT_EQ(streamed.reader.ReadHexStream(small, "(stdin)"), LoadOutcome::Done);
    EXPECT_EQ(streamed.image.get_Hex_ROM(0), "08");
    std::istringstream big(std::string(1024 * 1024 + 1, '0'));
    EXPECT_EQ(streamed.reader.ReadHexStream(big, "(stdin)"), LoadOutcome::Unreadable);
    EXPECT_EQ(streamed.prompter.shown.back().text, "Die Eingabe \"(stdin)\"" + tooMuch);
    // exactly the size is still read (and refused for what it holds, not for its size)
    std::istringstream full(std::string(1024 * 1024, '0'));
    streamed.prompter.clear();
    streamed.reader.ReadHexStream(full, "(stdin)");
    for (const auto& m : streamed.prompter.shown)
        EXPECT_EQ(m.text.find("liefert mehr als"), std::string::npos) << m.text;
}

TEST(HexReader, ReadsAssembledFixtures)
{
    Reader r;
    EXPECT_EQ(r.reader.ReadHexFile(fixture("classic_629_turnout.hex")), LoadOutcome::Done);
    EXPECT_TRUE(r.prompter.shown.empty());
    EXPECT_EQ(r.image.romWord(0), 0x3008);
    EXPECT_EQ(r.image.romWord(1), 0x3002);
    EXPECT_EQ(r.image.romWord(8), 0x1C8B);
    EXPECT_EQ(r.image.romWord(0x200), 0x3FFF); // the gap before the table
    EXPECT_EQ(r.image.IdText, "8358");
    EXPECT_EQ(r.image.ConfigWords[0], "C431");
    EXPECT_EQ(r.image.get_Hex_EE(0x20), "C3");

    EXPECT_EQ(r.reader.ReadHexFile(fixture("f18324_function.hex")), LoadOutcome::Done);
    EXPECT_TRUE(r.prompter.shown.empty());
    EXPECT_EQ(r.image.ConfigWords, (std::array<std::string, 4>{"8C17", "3C25", "FF1F", "FF3F"}));
    EXPECT_EQ(r.image.get_Hex_EE(0x6A), "06");
    EXPECT_EQ(r.image.facts.identifier, "01");
}

TEST(CheckRequiredRecords, AsksForWhatIsMissing)
{
    struct Case {
        int pic;
        bool id;
        bool configFound;
        std::array<std::string, 4> defaults;
        std::vector<Answer> answers;
        bool goesOn;
        std::vector<std::string> asked;
        std::array<std::string, 4> config;
    } cases[] = {
        {0, true, true, {}, {Answer::Cancel}, false, {"Es konnte das HEX File keinem PIC zugeordnet werden."}, {}},
        {0,
         false,
         true,
         {},
         {Answer::Ignore, Answer::Cancel},
         false,
         {"Es konnte das HEX File keinem PIC zugeordnet werden.",
          "In dem HEX-File wurde kein Wert für die ID gefunden."},
         {}},
        // going on without a configuration leaves the image without one: empty words, nothing present
        {629,
         true,
         false,
         {"", "", "", ""},
         {Answer::Ignore},
         true,
         {"In dem HEX-File wurde kein Config-Wert gefunden."},
         {"", "", "", ""}},
        {18324,
         true,
         false,
         {"8C17", "3C25", "FF1F", "FF3F"},
         {Answer::Yes},
         true,
         {"In dem HEX-File wurde kein Config-Wert gefunden. Standard-Wert erzeugen?"},
         {"8C17", "3C25", "FF1F", "FF3F"}},
        {629,
         true,
         false,
         {"CC01", "", "", ""},
         {Answer::Ignore},
         true,
         {"In dem HEX-File wurde kein Config-Wert gefunden. Standard-Wert erzeugen?"},
         {"", "", "", ""}},
        // the classic standard is CONFIG 1 alone: the other words keep what the image had
        {629,
         true,
         false,
         {"CC01", "", "", ""},
         {Answer::Yes},
         true,
         {"In dem HEX-File wurde kein Config-Wert gefunden. Standard-Wert erzeugen?"},
         {"CC01", "2222", "3333", "4444"}},
    };
    for (const auto& c : cases) {
        Reader r;
        r.image.PicModel = c.pic;
        r.image.IdFound = c.id;
        r.image.ConfigFound = c.configFound;
        r.image.DefaultConfig = c.defaults;
        r.image.ConfigWords = {"1111", "2222", "3333", "4444"};
        r.prompter.answers.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(r.reader.CheckRequiredRecords(), c.goesOn);
        EXPECT_EQ(r.prompter.texts(), c.asked);
        if (c.goesOn) {
            EXPECT_EQ(r.image.ConfigWords, c.config);
            // exactly the standard words are present, i.e. will be written
            for (std::size_t k = 0; k < 4; ++k)
                EXPECT_EQ(r.image.ConfigPresent[k], c.answers.back() == Answer::Yes && !c.defaults[k].empty())
                    << "CONFIG " << k + 1;
            if (c.config[0] == "8C17") {
                EXPECT_EQ(r.image.ConfigLocation, 0x8007);
            }
            if (c.config[0] == "CC01") {
                EXPECT_EQ(r.image.ConfigLocation, 0x2007);
            }
        }
        for (const auto& m : r.prompter.shown)
            EXPECT_EQ(m.kind, MsgKind::Warning);
    }
}

// The file is read in blocks of 64 KiB; a line break whose CR ends one block and whose LF
// starts the next is still one break, and a line longer than any record is cut, not split.
TEST(HexReader, LinesSplitAlikeAcrossReadBlocksAndOverLongLinesAreCut)
{
    // Record type 05 lines are skipped by the reader whatever follows the type field. The
    // first line's length puts the CR of line 648 at byte 65535, the last of the first block.
    std::vector<std::string> lines{":00000005" + std::string(87 - 9, '0')};
    for (int k = 0; k < 700; ++k)
        lines.push_back(":00000005" + std::string(90, k % 2 ? 'A' : '0'));
    std::string text;
    for (const auto& l : lines)
        text += l + "\r\n";
    ASSERT_EQ(text.substr(65535, 2), "\r\n");

    const auto dir = tempDir("blocks");
    const std::string path = (dir / "blocks.hex").string();
    writeFile(path, text);
    Reader r;
    EXPECT_EQ(r.reader.ReadHexFile(path), LoadOutcome::Done);
    // type 05 lines with anything after the type are no well-formed records: one warning
    ASSERT_EQ(r.prompter.shown.size(), 1u);
    EXPECT_EQ(r.reader.DamagedLines().size(), lines.size());
    EXPECT_EQ(r.image.LineCount, static_cast<int>(lines.size()));
    for (std::size_t k = 0; k < lines.size(); ++k)
        ASSERT_EQ(r.image.get_HexString(static_cast<int>(k)), lines[k]) << k;
    std::filesystem::remove_all(dir);

    std::size_t total = 0;
    const auto cut = splitLines(std::string(20000, 'A') + "\r\nB\rC", 10, &total);
    ASSERT_EQ(cut.size(), 3u);
    EXPECT_EQ(cut[0], std::string(17000, 'A'));
    EXPECT_EQ(cut[1], "B");
    EXPECT_EQ(cut[2], "C");
    // Lines beyond those kept are counted, not kept.
    EXPECT_EQ(splitLines("a\nb\nc\nd", 2, &total).size(), 2u);
    EXPECT_EQ(total, 4u);
}
