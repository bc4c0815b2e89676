// The HEX information view: instruction names, the listings of the loaded image, and the
// comparison with a second file (its own record rules, messages and report lines).

#include <gtest/gtest.h>

#include <filesystem>

#include "HexRecords.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/firmware/FirmwareImage.h"
#include "core/firmware/HexReader.h"
#include "core/inspect/HexCompare.h"
#include "core/inspect/HexInfo.h"
#include "core/inspect/HexListing.h"
#include "core/inspect/Mnemonic.h"

using namespace hz;
using namespace hz::test;

namespace {

// File 1: an image read from lines, as the editor holds it.
struct Loaded {
    ScriptedPrompter prompter;
    FirmwareImage image{prompter};
    HexReader reader{image};

    explicit Loaded(const std::vector<std::string>& lines, int pic = 0)
    {
        EXPECT_EQ(reader.ReadHexLines(lines, "/x/file1.hex"), LoadOutcome::Done);
        image.PicModel = pic;
        prompter.clear();
    }
    CompareReport compare(const std::vector<std::string>& file2)
    {
        return HexComparison(image, prompter).CompareWithLines(file2, "/x/file2.hex");
    }
};

// A small classic firmware: program words 0..0xC and GOTO 0x012 at word 0x12, ID 8358,
// CONFIG 0x31C4, 20 EEPROM bytes.
std::vector<std::string> classic()
{
    return {kBase0,
            rec(0x0000, "083003300030052809008316FF3F8500"),
            rec(0x0010, "8B1C05280A0B12281228"),
            rec(0x0024, "1228"),
            rec(0x4000, "0800030005000800"),
            rec(0x400E, "C431"),
            rec(0x4200, "FF0002000200FF00FF00FF00FF00FF00"),
            rec(0x4210, "FF00FF00FF00FF00FF00FF00FF00FF00"),
            rec(0x4220, "FF00FF00FF00FF00"),
            kEnd};
}

std::vector<std::string> summary(int ee, int rom, int id, int config, std::vector<std::string> before = {" "})
{
    (void)ee;
    before.push_back(strprintf("%4i gefundene Unterschiede im ROM", rom));
    before.push_back(strprintf("%4i gefundene Unterschiede in ID", id));
    before.push_back(strprintf("%4i gefundene Unterschiede in Config", config));
    return before;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Instruction names

TEST(Mnemonic, EveryRowOfTheTable)
{
    struct Case {
        const char* word;
        const char* name;
    };
    const Case cases[] = {
        // high byte 00
        {"0008", "RETURN"},
        {"0009", "RETFIE"},
        {"000A", "CALLW "},
        {"000B", "BRW   "},
        {"0064", "CLRWDT"},
        {"0000", "NOP   "},
        {"0001", "RESET "},
        {"0063", "SLEEP "},
        {"0066", "TRIS  "},
        {"0060", "TRIS  "},
        {"0025", "MOVLB "},
        {"003F", "MOVLB "},
        {"0086", "MOVWF "},
        {"00FF", "MOVWF "},
        {"0010", "      "},
        {"0040", "      "},
        // bit operations and jumps, by mask
        {"1083", "BCF   "},
        {"1383", "BCF   "},
        {"1683", "BSF   "},
        {"1803", "BTFSC "},
        {"1FFF", "BTFSS "},
        {"2012", "CALL  "},
        {"27FF", "CALL  "},
        {"2812", "GOTO  "},
        {"2FFF", "GOTO  "},
        // byte-oriented operations, by high byte
        {"0186", "CLRF/W"},
        {"0100", "CLRF/W"},
        {"0200", "SUBWF "},
        {"0300", "DECF  "},
        {"0400", "IORWF "},
        {"0500", "ANDWF "},
        {"0600", "XORWF "},
        {"0700", "ADDWF "},
        {"0800", "MOVF  "},
        {"0900", "COMF  "},
        {"0A00", "INCF  "},
        {"0B00", "DECFSZ"},
        {"0C00", "RRF   "},
        {"0D00", "RLF   "},
        {"0E00", "SWAPF "},
        {"0F00", "INCFSZ"},
        // literal operations of the enhanced set; 32, 33 and 3F name nothing
        {"3000", "MOVLW "},
        {"3100", "MOVLP "},
        {"3200", "      "},
        {"3300", "      "},
        {"3400", "RETLW "},
        {"3500", "LSLF  "},
        {"3600", "LSRF  "},
        {"3700", "ASRF  "},
        {"3800", "IORLW "},
        {"3900", "ANDLW "},
        {"3A00", "XORLW "},
        {"3B00", "SUBWFB"},
        {"3C00", "SUBLW "},
        {"3D00", "ADDWFC"},
        {"3E00", "ADDLW "},
        {"3FFF", "      "},
        // beyond 14 bits: the masks still apply, the texts do not
        {"5000", "BCF   "},
        {"4000", "      "},
        {"FFFF", "      "},
    };
    for (const Case& c : cases) {
        const std::string w(c.word);
        const std::string name = MnemonicOf(w.substr(0, 2), w.substr(2, 2));
        EXPECT_EQ(name, c.name) << c.word;
        EXPECT_EQ(name.size(), 6u) << c.word;
    }
}

// ---------------------------------------------------------------------------------------
// Listings

TEST(HexListing, ClassicWordsAndListings)
{
    Loaded f(classic(), 629);
    const HexListing l = ListFirmware(f.image);
    EXPECT_EQ(l.config, (std::array<std::string, 4>{"31C4", "0000", "0000", "0000"}));
    EXPECT_EQ(l.id, (std::array<std::string, 4>{"8358", "", "", ""}));
    EXPECT_EQ(l.romCount, "Anzahl ROM Bytes (File 1): 37");
    // 20 EEPROM bytes: a full line with the blank prefix, a short one with the colon prefix
    EXPECT_EQ(l.eeprom, (std::vector<std::string>{"0x000 FF02.02FF.FFFF.FFFF FFFF.FFFF.FFFF.FFFF", "0x010:FFFF.FFFF"}));
    EXPECT_EQ(l.rom,
              (std::vector<std::string>{"$0000: 3008.3003.3000.2805 0009.1683.3FFF.0085",
                                        "$0008: 1C8B.2805.0B0A.2812 2812.3FFF.3FFF.3FFF", "$0010: 3FFF.3FFF.2812"}));
}

TEST(HexListing, IdWordsByPic)
{
    struct Case {
        int pic;
        std::array<std::string, 4> id;
    };
    const Case cases[] = {
        {18324, {"0058", "0000", "0B01", "0000"}},
        {684, {"58000000010B0000", "", "", ""}},
        {0, {"", "", "", ""}},
    };
    Loaded f({kBase1, rec(0x0000, "58000000010B0000"), rec(0x000E, "8C173C25FF1FFF3F"), kEnd});
    for (const Case& c : cases) {
        f.image.PicModel = c.pic;
        EXPECT_EQ(IdValueTexts(f.image), c.id) << c.pic;
    }
    // every configuration word of the packed record in its own edit, high byte first
    EXPECT_EQ(ConfigValueTexts(f.image), (std::array<std::string, 4>{"178C", "253C", "1FFF", "3FFF"}));
}

TEST(HexListing, SeparatorEvery128WordsAndTheCountOfTheHighestByte)
{
    Loaded f({rec(0x0200, "0102030405")});
    const auto rom = RomListing(f.image);
    // words 0..0x101: 33 lines of 8 words, the last short, and separators before 0x80, 0x100
    ASSERT_EQ(rom.size(), 35u);
    EXPECT_EQ(rom[16], " ");
    EXPECT_EQ(rom[17], "$0080: 3FFF.3FFF.3FFF.3FFF 3FFF.3FFF.3FFF.3FFF");
    EXPECT_EQ(rom[33], " ");
    EXPECT_EQ(rom[34], "$0100: 0201.0403.3F05");
    EXPECT_EQ(RomCountText(f.image), "Anzahl ROM Bytes (File 1): 516");
    Loaded g({rec(0x0200, "01020304")});
    EXPECT_EQ(RomCountText(g.image), "Anzahl ROM Bytes (File 1): 515");
}

TEST(HexListing, AnErrorByteEndsItsListingBeforeItsLine)
{
    Loaded f(classic(), 629);
    f.image.set_Hex_EE(17, "error");
    f.image.set_Hex_ROM(0x13, "error");
    const HexListing l = ListFirmware(f.image);
    EXPECT_EQ(l.eeprom, (std::vector<std::string>{"0x000 FF02.02FF.FFFF.FFFF FFFF.FFFF.FFFF.FFFF"}));
    // the program listing does not depend on the EEPROM's
    EXPECT_EQ(l.rom, (std::vector<std::string>{"$0000: 3008.3003.3000.2805 0009.1683.3FFF.0085"}));
}

TEST(HexListing, EepromBeyondTheImageEndsWithItsLastByteSilently)
{
    Loaded f({rec(0x43F0, "0100020003000400")}); // EEPROM indices 0xF8..0xFB...
    f.image.EepromTop = 300;                     // as a record running past 0x21FF leaves it
    f.prompter.clear();
    const auto ee = EepromListing(f.image);
    ASSERT_EQ(ee.size(), 16u);
    EXPECT_EQ(ee[15], "0x0F0:FFFF.FFFF.FFFF.FFFF 0102.0304.FFFF.FFFF");
    EXPECT_TRUE(f.prompter.shown.empty());
}

TEST(HexListing, WordAddressTexts)
{
    EXPECT_EQ(WordAddressText(0x12), "$0012");
    EXPECT_EQ(WordAddressText(0xABC), "$0ABC");
    EXPECT_EQ(WordAddressText(0x1000), "$1000");
}

// ---------------------------------------------------------------------------------------
// Comparison

TEST(HexCompare, AFileComparedWithItselfShowsOnlyTheSummary)
{
    Loaded f(classic(), 629);
    const CompareReport r = f.compare(classic());
    EXPECT_EQ(r.outcome, CompareReport::Outcome::Done);
    EXPECT_EQ(r.status, (std::array<std::string, 2>{"File 1 = /x/file1.hex", "File 2 = /x/file2.hex"}));
    EXPECT_EQ(r.eeprom, (std::vector<std::string>{"", " ", "   0 gefundene Unterschiede im EEprom"}));
    EXPECT_EQ(r.rom, summary(0, 0, 0, 0));
    EXPECT_FALSE(r.differs());
    EXPECT_TRUE(f.prompter.shown.empty());

    // also with records of odd length and at odd addresses
    const std::vector<std::string> odd = {rec(0x0001, "310430"), rec(0x0010, "0A"), rec(0x0020, "123456"), kEnd};
    Loaded g(odd, 629);
    EXPECT_FALSE(g.compare(odd).differs());
}

TEST(HexCompare, ReportLinesOfEveryKindOfDifference)
{
    struct Case {
        const char* what;
        std::vector<std::string> file2;
        std::vector<std::string> eeprom; // report lines between the leading empty line and the summary
        std::vector<std::string> rom;
        std::array<int, 4> counts; // EEPROM, ROM, ID, CONFIG
    };
    const Case cases[] = {
        {"program word 0x0012", {rec(0x0024, "1328")}, {}, {"$0012:  0x2812 [GOTO  ] - 0x2813 [GOTO  ]"}, {0, 1, 0, 0}},
        {"two words of one record, the first equal",
         {rec(0x0000, "0830FF3F00000000")},
         {},
         {"$0001:  0x3003 [MOVLW ] - 0x3FFF [      ]", "$0002:  0x3000 [MOVLW ] - 0x0000 [NOP   ]",
          "$0003:  0x2805 [GOTO  ] - 0x0000 [NOP   ]"},
         {0, 3, 0, 0}},
        {"EEPROM index 10 and 31",
         {rec(0x4214, "1200"), rec(0x423E, "AB00")},
         {"EE0x0a: File1:0xFF - File2:0x12", "EE0x1f: File1:0xFF - File2:0xAB"},
         {},
         {2, 0, 0, 0}},
        {"classic ID", {rec(0x4000, "0800030005000900")}, {}, {" ", "ID: File1:0x8358 - File2:0x8359"}, {0, 0, 1, 0}},
        {"classic CONFIG", {rec(0x400E, "C432")}, {}, {" ", "CONFIG: File1:0xC431 - File2:0xC432"}, {0, 0, 0, 1}},
        {"a record at an odd address: whole words, the byte before it not compared",
         {rec(0x0001, "310430")},
         {},
         {"$0000:  0x3008 [MOVLW ] - 0x3108 [MOVLP ]", "$0001:  0x3003 [MOVLW ] - 0x3004 [MOVLW ]"},
         {0, 2, 0, 0}},
        {"a record of odd length: its last high byte is not read from the checksum",
         {rec(0x0000, "083003"), rec(0x0002, "04")},
         {},
         {"$0001:  0x3003 [MOVLW ] - 0x3004 [MOVLW ]"},
         {0, 1, 0, 0}},
        {"lower-case digits read like upper-case", {":020014000a0bcd"}, {}, {}, {0, 0, 0, 0}},
        {"record types 05 and a repeated end record are fine",
         {":0400000500000000F7", kEnd, kEnd},
         {},
         {},
         {0, 0, 0, 0}},
        {"control characters of file 2 are escaped, not printed",
         {":02421400\x1B[00", ":02400E00\aC31"},
         {"EE0x0a: File1:0xFF - File2:0x\\x1B["},
         {" ", "CONFIG: File1:0xC431 - File2:0x\\x07C31"},
         {1, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        Loaded f(classic(), 629);
        const CompareReport r = f.compare(c.file2);
        EXPECT_EQ(r.outcome, CompareReport::Outcome::Done) << c.what;
        std::vector<std::string> ee{""};
        ee.insert(ee.end(), c.eeprom.begin(), c.eeprom.end());
        ee.push_back(" ");
        ee.push_back(strprintf("%4i gefundene Unterschiede im EEprom", c.counts[0]));
        EXPECT_EQ(r.eeprom, ee) << c.what;
        std::vector<std::string> rom = c.rom;
        rom.push_back(" ");
        EXPECT_EQ(r.rom, summary(0, c.counts[1], c.counts[2], c.counts[3], rom)) << c.what;
        EXPECT_EQ((std::array<int, 4>{r.EeDiffCount, r.RomDiffCount, r.IdDiffCount, r.ConfigDiffCount}), c.counts)
            << c.what;
        EXPECT_TRUE(f.prompter.shown.empty()) << c.what;
    }
}

TEST(HexCompare, AFileWithoutEepromReportsNoEepromDifference)
{
    Loaded f(classic(), 629);
    std::vector<std::string> file2 = classic();
    file2.erase(file2.begin() + 6, file2.begin() + 9);
    const CompareReport r = f.compare(file2);
    EXPECT_EQ(r.EeDiffCount, 0);
    EXPECT_EQ(r.eeprom.size(), 3u);
}

TEST(HexCompare, EveryMessageStopsTheComparisonWithoutSummary)
{
    // every message ends with the line's number in file 2 (here line 2)
    const std::string tail = "\n\nRECLEN (Identifier 1): %s\nLOAD OFFSET (Identifier 2): %s %s\nRECTYP (Identifier 3): "
                             "%s\nZeile 2 der Datei";
    struct Case {
        std::string line;
        std::string text;
    };
    const Case cases[] = {
        {rec(0x4002, "0100"),
         "E201a: Unerwartete Zeile:\n" + rec(0x4002, "0100") + strprintf(tail.c_str(), "02", "40", "02", "00")},
        {":00000001FE",
         "E202a: Unerwarteter End File Record:\n:00000001FE" + strprintf(tail.c_str(), "00", "00", "00", "01")},
        {":020000020000FC",
         "E203a: Unerwartete Zeile im File:\n:020000020000FC" + strprintf(tail.c_str(), "02", "00", "00", "02")},
        {":0400000300000000F9",
         "E204a: Unerwartete Zeile im File:\n:0400000300000000F9" + strprintf(tail.c_str(), "04", "00", "00", "03")},
        {":020000040002F8", "E205: Unerwarteter Extendet Linear Address Record:\n:020000040002F8" +
                                strprintf(tail.c_str(), "02", "00", "00", "04")},
        {":020000060000F8", "E206a: Unerwartete Zeile im File:\n:020000060000F8\n\nRECLEN (Identifier 1): 02\n"
                            "LOAD OFFSET (Identifier 2): 00 00\nRECTYP (Identifies 3): 06\nZeile 2 der Datei"},
        // file content is quoted with its control characters escaped
        {":00000006\x1B[2J", "E206a: Unerwartete Zeile im File:\n:00000006\\x1B[2J\n\nRECLEN (Identifier 1): 00\n"
                             "LOAD OFFSET (Identifier 2): 00 00\nRECTYP (Identifies 3): 06\nZeile 2 der Datei"},
        {"", "E206a: Unerwartete Zeile im File:\n\n\nRECLEN (Identifier 1): \nLOAD OFFSET (Identifier 2):  \n"
             "RECTYP (Identifies 3): \nZeile 2 der Datei"},
    };
    for (const Case& c : cases) {
        Loaded f(classic(), 629);
        // a difference before the bad line stays in the report; nothing after it is compared
        const CompareReport r = f.compare({rec(0x0024, "1328"), c.line, rec(0x4214, "1200")});
        EXPECT_EQ(r.outcome, CompareReport::Outcome::Stopped) << c.line;
        ASSERT_EQ(f.prompter.shown.size(), 1u) << c.line;
        EXPECT_EQ(f.prompter.shown[0].text, c.text);
        EXPECT_EQ(f.prompter.shown[0].kind, MsgKind::Plain);
        EXPECT_EQ(f.prompter.shown[0].buttons, Buttons::Ok);
        EXPECT_EQ(r.eeprom, (std::vector<std::string>{""})) << c.line;
        EXPECT_EQ(r.rom, (std::vector<std::string>{"$0012:  0x2812 [GOTO  ] - 0x2813 [GOTO  ]"})) << c.line;
    }
}

TEST(HexCompare, EepromBeyondTheImageStopsWithTheImagesOwnMessage)
{
    Loaded f(classic(), 629);
    // word 0x21FF: index 255 is compared, index 256 is beyond the image
    const CompareReport r = f.compare({rec(0x43FE, "12001300")});
    EXPECT_EQ(r.outcome, CompareReport::Outcome::Stopped);
    EXPECT_EQ(r.eeprom, (std::vector<std::string>{"", "EE0xff: File1:0xFF - File2:0x12"}));
    EXPECT_EQ(f.prompter.texts(),
              (std::vector<std::string>{"Error: lesen Hex_EE Bereichsüberschreitung (256) in get_Hex_EE"}));
}

TEST(HexCompare, AnErrorTextOfFile1)
{
    Loaded f(classic(), 629);
    f.image.set_Hex_EE(1, "error");
    // an EEPROM byte reading "error" makes the line fail without a message
    EXPECT_EQ(f.compare({rec(0x4200, "FF000200")}).outcome, CompareReport::Outcome::Stopped);
    EXPECT_TRUE(f.prompter.shown.empty());
    // in program memory a low byte does too, while a high byte only skips its word
    f.image.set_Hex_ROM(0x0002, "error");
    EXPECT_EQ(f.compare({rec(0x0002, "0000")}).outcome, CompareReport::Outcome::Stopped);
    f.image.set_Hex_ROM(0x0002, "03");
    f.image.set_Hex_ROM(0x0003, "error");
    const CompareReport r = f.compare({rec(0x0002, "00000000")});
    EXPECT_EQ(r.outcome, CompareReport::Outcome::Done);
    EXPECT_EQ(r.RomDiffCount, 1); // word 2 only
    EXPECT_TRUE(f.prompter.shown.empty());
}

TEST(HexCompare, F18324LayoutThroughTheExtendedAddress)
{
    const std::vector<std::string> file1 = {kBase0,
                                            rec(0x0000, "00304B30"),
                                            kBase1,
                                            rec(0x0000, "58000000010B0000"),
                                            rec(0x000E, "8C17"),
                                            rec(0x0010, "3C25FF1FFF3F"),
                                            rec(0xE000, "0300FF00"),
                                            kEnd};
    Loaded f(file1, 18324);
    const CompareReport r = f.compare({kBase0, rec(0x0000, "00304C30"), kBase1, rec(0x0000, "59000000010B0000"),
                                       rec(0x000E, "8C173C25FF1FFF3F"), rec(0x0010, "3C26"), rec(0xE002, "0400"),
                                       kBase0, rec(0x0002, "4B30"), kEnd});
    EXPECT_EQ(r.outcome, CompareReport::Outcome::Done);
    EXPECT_EQ(r.eeprom, (std::vector<std::string>{"", "EE0x01: File1:0xFF - File2:0x04", " ",
                                                  "   1 gefundene Unterschiede im EEprom"}));
    // The packed configuration record covers the four words the loader keeps apart: equal.
    EXPECT_EQ(r.rom, summary(1, 1, 1, 1,
                             {"$0001:  0x304B [MOVLW ] - 0x304C [MOVLW ]", " ",
                              "ID: File1:0x58000000010B0000 - File2:0x59000000010B0000", " ",
                              "CONFIG 2: File1:0x3C25 - File2:0x3C26", " "}));
}

TEST(HexCompare, PackedAndSingleConfigurationRecordsOfTheSameFirmwareAreEqual)
{
    ScriptedPrompter p;
    FirmwareImage image(p);
    HexReader reader(image);
    ASSERT_EQ(reader.ReadHexFile(fixture("f18324_function.hex")), LoadOutcome::Done);
    const CompareReport r = HexComparison(image, p).CompareWithFile(fixture("f18324_config_packed.hex"));
    EXPECT_EQ(r.outcome, CompareReport::Outcome::Done);
    EXPECT_FALSE(r.differs()) << (r.rom.size() > 1 ? r.rom[r.rom.size() - 5] : "");
    EXPECT_TRUE(p.shown.empty());
}

TEST(HexCompare, EveryLineOfALongFileIsCompared)
{
    Loaded f(classic(), 629);
    std::vector<std::string> file2(1500, rec(0x0000, "0830"));
    file2.push_back(rec(0x0024, "1328"));
    const CompareReport r = f.compare(file2);
    EXPECT_EQ(r.outcome, CompareReport::Outcome::Done);
    EXPECT_EQ(r.RomDiffCount, 1);
    EXPECT_EQ(r.rom.front(), "$0012:  0x2812 [GOTO  ] - 0x2813 [GOTO  ]");
}

TEST(HexCompare, FilesOnDisk)
{
    const auto dir = tempDir("compare");
    const std::string second = (dir / "second.hex").string();
    // a long file with a byte order mark, lower-case digits, LF line ends and a bad last line
    std::string text = "\xEF\xBB\xBF";
    for (int i = 0; i < 1100; ++i)
        text += ":0200000008301e\n";
    text += rec(0x0024, "1328") + "\n:020000060000F8\n";
    writeFile(second, text);
    Loaded f(classic(), 629);
    const CompareReport r = HexComparison(f.image, f.prompter).CompareWithFile(second);
    EXPECT_EQ(r.outcome, CompareReport::Outcome::Stopped);
    EXPECT_EQ(r.rom, (std::vector<std::string>{"$0012:  0x2812 [GOTO  ] - 0x2813 [GOTO  ]"}));
    ASSERT_EQ(f.prompter.shown.size(), 1u);
    EXPECT_EQ(f.prompter.shown[0].text.substr(0, 6), "E206a:");

    // a file that cannot be read: its message, and an empty report
    f.prompter.clear();
    const CompareReport missing = HexComparison(f.image, f.prompter).CompareWithFile((dir / "none.hex").string());
    EXPECT_EQ(missing.outcome, CompareReport::Outcome::Unreadable);
    EXPECT_TRUE(missing.rom.empty());
    EXPECT_TRUE(missing.status[0].empty());
    ASSERT_EQ(f.prompter.shown.size(), 1u);
    EXPECT_NE(f.prompter.shown[0].text.find("kann nicht geöffnet werden"), std::string::npos);

    // an empty file: nothing compared, nothing different
    writeFile(second, "");
    const CompareReport empty = HexComparison(f.image, f.prompter).CompareWithFile(second);
    EXPECT_EQ(empty.outcome, CompareReport::Outcome::Done);
    EXPECT_EQ(empty.eeprom.size(), 3u);
    std::filesystem::remove_all(dir);
}

TEST(HexInfo, FilledFromTheImageAndReplacedByAComparisonOnly)
{
    const auto dir = tempDir("hexinfo");
    const std::string second = (dir / "second.hex").string();
    writeFile(second, joinCrLf({rec(0x0024, "1328"), kEnd}));
    Loaded f(classic(), 629);
    const auto memory = f.image.memory();
    HexInfo info(f.image);
    EXPECT_EQ(info.config[0], "31C4");
    EXPECT_EQ(info.id[0], "8358");
    EXPECT_EQ(info.romCount, "Anzahl ROM Bytes (File 1): 37");
    EXPECT_EQ(info.memo1, EepromListing(f.image));
    EXPECT_EQ(info.memo3, RomListing(f.image));
    const auto listing1 = info.memo1;

    // a cancelled file dialog and a file that cannot be read leave the listings
    EXPECT_EQ(info.compareWith("", f.prompter), CompareReport::Outcome::Unreadable);
    EXPECT_EQ(info.compareWith((dir / "none.hex").string(), f.prompter), CompareReport::Outcome::Unreadable);
    EXPECT_EQ(info.memo1, listing1);
    EXPECT_TRUE(info.status[0].empty());

    EXPECT_EQ(info.compareWith(second, f.prompter), CompareReport::Outcome::Done);
    EXPECT_EQ(info.status, (std::array<std::string, 2>{"File 1 = /x/file1.hex", "File 2 = " + second}));
    EXPECT_EQ(info.memo3.front(), "$0012:  0x2812 [GOTO  ] - 0x2813 [GOTO  ]");
    EXPECT_EQ(info.memo1.back(), "   0 gefundene Unterschiede im EEprom");
    // the words stay, and file 1 is never touched
    EXPECT_EQ(info.config[0], "31C4");
    EXPECT_TRUE(f.image.memory() == memory);
    std::filesystem::remove_all(dir);
}
