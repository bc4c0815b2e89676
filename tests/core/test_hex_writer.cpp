#include <gtest/gtest.h>

#include <filesystem>

#include "HexRecords.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/firmware/FirmwareImage.h"
#include "core/firmware/HexReader.h"
#include "core/firmware/HexWriter.h"

using namespace hz;
using namespace hz::test;

namespace {

struct Loaded {
    ScriptedPrompter prompter;
    FirmwareImage image{prompter};
    HexReader reader{image};

    void read(const std::vector<std::string>& lines, int pic)
    {
        ASSERT_EQ(reader.ReadHexLines(lines, "in.hex"), LoadOutcome::Done);
        image.PicModel = pic;
    }
    std::vector<std::string> write()
    {
        EXPECT_GT(BuildHexLines(image), 0);
        return builtLines(image);
    }
};

// What must survive a load and a save: every program byte, EEPROM byte, ID and config word.
struct Content {
    std::vector<std::string> rom, ee;
    std::string id;
    std::array<std::string, 4> config;
    bool operator==(const Content&) const = default;
};

Content contentOf(const FirmwareImage& img)
{
    Content c;
    for (int i = 0; i < FirmwareImage::kRomSize; ++i)
        c.rom.push_back(img.rom(i));
    for (int i = 0; i < FirmwareImage::kEepromSize; ++i)
        c.ee.push_back(img.eeprom(i));
    c.id = img.IdText;
    c.config = img.ConfigWords;
    return c;
}

} // namespace

TEST(CalcChecksum, IsTheTwosComplementOfTheByteSum)
{
    ScriptedPrompter p;
    EXPECT_EQ(CalcChecksum("020000040000", p), "FA");
    EXPECT_EQ(CalcChecksum("00000001", p), "FF");
    EXPECT_EQ(CalcChecksum("020000040001", p), "F9");
    EXPECT_EQ(CalcChecksum("0100000080", p), "7F");
    // a byte sum that is a multiple of 256 gives 00, never a three-digit "100"
    EXPECT_EQ(CalcChecksum("00000000", p), "00");
    EXPECT_EQ(CalcChecksum("01000000FF", p), "00");
    EXPECT_EQ(CalcChecksum("02400e00c431", p), "BB");
    EXPECT_TRUE(p.shown.empty());
}

TEST(CalcChecksum, RefusesWhatIsNotWholeHexBytes)
{
    for (const std::string body : {"0200000400error", "02000004000", "0200GG04", "01000000 1"}) {
        ScriptedPrompter p;
        EXPECT_EQ(CalcChecksum(body, p), "error") << body;
        ASSERT_EQ(p.shown.size(), 1u);
        EXPECT_EQ(p.shown[0].text, "Problem bei der Checksummen-Berechnung");
        EXPECT_EQ(p.shown[0].kind, MsgKind::Warning);
        EXPECT_EQ(p.shown[0].buttons, Buttons::Cancel);
    }
}

TEST(BuildHexLines, ClassicLayout)
{
    Loaded f;
    std::vector<std::string> in{rec(0x0000, "083002300328000000000000000000000000"), rec(0x4000, "083F033F052F091F"),
                                rec(0x400E, "C431"), rec(0x4200, "0300020000C0"), kEnd};
    f.read(in, 629);
    const auto out = f.write();
    const std::vector<std::string> expected{kBase0,
                                            rec(0x0000, "08300230032800000000000000000000"), // 16 bytes per record
                                            rec(0x0010, "0000"),
                                            rec(0x4000, "0800030005000900"), // ID words normalised to their digit
                                            ":02400E00C431BB",
                                            rec(0x4200, "030002000000"), // EEPROM low bytes, high byte 00
                                            kEnd};
    EXPECT_EQ(out, expected);
    EXPECT_EQ(f.image.LineCount, static_cast<int>(expected.size()));
}

TEST(BuildHexLines, F18324Layout)
{
    Loaded f;
    f.read({kBase0, rec(0x0000, "00304B300130"), kBase1, rec(0x0000, "58000000010B0000"),
            rec(0x000E, "8C173C25FF1FFF3F"), rec(0xE000, "81008200"), kEnd},
           18324);
    const auto out = f.write();
    const std::vector<std::string> expected{kBase0,
                                            rec(0x0000, "00304B300130"),
                                            kBase1, // right after the program memory
                                            rec(0x0000, "58000000010B0000"),
                                            rec(0x000E, "8C17"),
                                            rec(0x0010, "3C25"),
                                            rec(0x0012, "FF1F"),
                                            rec(0x0014, "FF3F"),
                                            rec(0xE000, "81008200"), // no second base record
                                            kEnd};
    EXPECT_EQ(out, expected);
}

TEST(BuildHexLines, ConfigurationRecordsByPic)
{
    struct Case {
        int pic;
        std::vector<std::string> in;
        std::vector<std::string> configLines;
    } cases[] = {
        {629, {rec(0x400E, "C431")}, {":02400E00C431BB"}},
        // the file had none and nobody asked for the standard words: none is made up
        {688, {}, {}},
        {18324, {}, {}},
        // 16F676 and files no PIC was assigned to keep the configuration word they carried
        {676, {rec(0x400E, "D431")}, {rec(0x400E, "D431")}},
        {0, {rec(0x400E, "D431")}, {rec(0x400E, "D431")}},
        {0,
         {kBase1, rec(0x000E, "8C17")},
         {rec(0x000E, "8C17"), rec(0x0010, "0000"), rec(0x0012, "0000"), rec(0x0014, "0000")}},
        {0, {}, {}},
        // configuration words stay where the file had them, whatever the PIC
        {18324, {rec(0x400E, "C431")}, {rec(0x400E, "C431")}},
        {629,
         {kBase1, rec(0x000E, "8C173C25FF1FFF3F")},
         {rec(0x000E, "8C17"), rec(0x0010, "3C25"), rec(0x0012, "FF1F"), rec(0x0014, "FF3F")}},
        {629, {rec(0x400E, "C431"), kBase1, rec(0x0010, "3C25")}, {rec(0x400E, "C431"), rec(0x0010, "3C25")}},
    };
    const std::string program = rec(0x0000, "0830");
    for (const auto& c : cases) {
        Loaded f;
        auto in = c.in;
        in.insert(in.begin(), program);
        in.push_back(kEnd);
        f.read(in, c.pic);
        auto out = f.write();
        std::vector<std::string> config;
        for (const auto& l : out)
            if (l != kBase0 && l != kBase1 && l != kEnd && l != program)
                config.push_back(l);
        EXPECT_EQ(config, c.configLines) << "PIC " << c.pic;
    }
}

TEST(BuildHexLines, FileWithoutIdConfigOrEepromGetsNoSuchRecords)
{
    Loaded f;
    // an earlier file left its locations behind; they must not conjure up records
    f.read({kBase1, rec(0x0000, "58000000014B0000"), rec(0xE000, "1200"), kEnd}, 18324);
    f.read({rec(0x0000, "0830"), kEnd}, 0);
    EXPECT_EQ(f.write(), (std::vector<std::string>{kBase0, rec(0x0000, "0830"), kEnd}));
}

TEST(BuildHexLines, AnImageWithNothingFromAnyFileIsNotSaved)
{
    // An empty file, or a load that failed on its first line: a save would write only the two
    // fixed records over the user's file.
    for (const std::vector<std::string>& in : {std::vector<std::string>{kEnd}, std::vector<std::string>{}}) {
        Loaded f;
        ASSERT_EQ(f.reader.ReadHexLines(in.empty() ? std::vector<std::string>{""} : in, "in.hex"), LoadOutcome::Done);
        EXPECT_EQ(BuildHexLines(f.image), 0);
        EXPECT_EQ(f.image.LineCount, 0);
        EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{kNothingToSave});
    }
    // An ID record alone, or a configuration word alone, is something to save.
    for (const std::string& only : {rec(0x4000, "0100030005000800"), rec(0x400E, "C431")}) {
        Loaded f;
        f.read({only, kEnd}, 629);
        EXPECT_EQ(f.write(), (std::vector<std::string>{kBase0, only, kEnd}));
    }
}

TEST(BuildHexLines, EepromChangedBeyondWhatTheFileHadIsWritten)
{
    Loaded f;
    f.read({rec(0x4200, "01000200"), kEnd}, 629);
    f.image.set_Hex_EE(0x41, "7A"); // an address row beyond the file's last EEPROM byte
    const auto out = f.write();
    Loaded back;
    back.read(out, 629);
    EXPECT_EQ(back.image.get_Hex_EE(0), "01");
    EXPECT_EQ(back.image.get_Hex_EE(0x41), "7A");
    EXPECT_EQ(back.image.EepromTop, 0x41);
}

TEST(BuildHexLines, UnwritableByteTextStopsWithTheChecksumMessage)
{
    struct Case {
        const char* what;
        std::function<void(FirmwareImage&)> damage;
    } cases[] = {
        {"short program byte", [](FirmwareImage& i) { i.set_Hex_ROM(3, "8"); }},
        {"non-hex EEPROM byte", [](FirmwareImage& i) { i.set_Hex_EE(1, "ZZ"); }},
        {"non-hex config", [](FirmwareImage& i) { i.ConfigWords[0] = "C4G1"; }},
        {"odd config", [](FirmwareImage& i) { i.ConfigWords[0] = "C43"; }},
        {"non-hex ID digit", [](FirmwareImage& i) { i.IdText = "83X8"; }},
    };
    for (const auto& c : cases) {
        Loaded f;
        f.read({rec(0x0000, "08300230"), rec(0x4000, "0800030005000800"), rec(0x400E, "C431"), rec(0x4200, "01000200"),
                kEnd},
               629);
        c.damage(f.image);
        EXPECT_EQ(BuildHexLines(f.image), 0) << c.what;
        EXPECT_EQ(f.image.LineCount, 0) << c.what;
        EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{"Problem bei der Checksummen-Berechnung"}) << c.what;
    }
}

// The lines are built in the storage of the lines before them: none of a longer file read
// before may be left behind the new ones, nor any after a build that failed. A record with a
// byte text other than "00".."FF" (written as it stands) is framed like the records around it.
TEST(BuildHexLines, NoLineOfTheFileBeforeIsLeftBehind)
{
    Loaded f;
    std::vector<std::string> in;
    for (int k = 0; k < 40; ++k)
        in.push_back(rec(k, "3F"));
    in.push_back(rec(0x4200, "0100"));
    in.push_back(kEnd);
    f.read(in, 629);
    f.image.set_Hex_ROM(17, "ab");
    const auto bytes3F = [](int n) {
        std::string data;
        for (int k = 0; k < n; ++k)
            data += "3F";
        return data;
    };
    EXPECT_EQ(f.write(), (std::vector<std::string>{kBase0, rec(0x0000, bytes3F(16)), rec(0x0010, "3Fab" + bytes3F(14)),
                                                   rec(0x0020, bytes3F(8)), rec(0x4200, "0100"), kEnd}));
    for (int i = f.image.LineCount; i < static_cast<int>(in.size()); ++i)
        EXPECT_EQ(f.image.get_HexString(i), "") << i;

    f.image.set_Hex_ROM(3, "8");
    EXPECT_EQ(BuildHexLines(f.image), 0);
    for (int i = 0; i < static_cast<int>(in.size()); ++i)
        EXPECT_EQ(f.image.get_HexString(i), "") << i;
}

// A record cut off in the middle leaves empty byte texts. Written as they are, every later
// byte of the output record would slide down: program words at wrong addresses, EEPROM bytes
// in high bytes. The save stops instead.
TEST(BuildHexLines, RecordCutOffInTheMiddleStopsTheSave)
{
    struct Case {
        const char* what;
        std::vector<std::string> in;
        int cutLine;
    } cases[] = {
        {"program", {":1000000008300230", rec(0x0010, "0A300B30"), kEnd}, 1},
        {"eeprom", {rec(0x0000, "0830"), ":10420000010002", rec(0x4210, "0300"), kEnd}, 2},
    };
    for (const auto& c : cases) {
        Loaded f;
        f.read(c.in, 629);
        // the load has named the cut line already
        EXPECT_EQ(f.reader.DamagedLines(), std::vector<int>{c.cutLine}) << c.what;
        f.prompter.clear();
        EXPECT_EQ(BuildHexLines(f.image), 0) << c.what;
        EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{"Problem bei der Checksummen-Berechnung"}) << c.what;
    }
}

// The servo and blink tables lie at words 0x300..0x6FF, where a file may have left program
// memory blank. What a page wrote there is written, up to the last word that is not blank.
TEST(BuildHexLines, ProgramWordsBeyondTheFilesLastOneAreWritten)
{
    Loaded f;
    f.read({rec(0x0000, "08300230"), kEnd}, 629);
    f.image.set_Hex_ROM(2 * 0x500, "2A"); // low byte of word 0x500, high byte stays blank 3F
    const auto out = f.write();
    Loaded back;
    back.read(out, 629);
    EXPECT_EQ(back.image.get_Hex_ROM(2 * 0x500), "2A");
    EXPECT_EQ(back.image.get_Hex_ROM(2 * 0x500 + 1), "3F");
    EXPECT_EQ(back.image.RomTop, 2 * 0x500 + 1);
    EXPECT_EQ(back.image.get_Hex_ROM(0), "08");
    // a file that ended in a lone low byte keeps ending there
    Loaded odd;
    odd.read({rec(0x0000, "0830FF"), kEnd}, 629);
    EXPECT_EQ(odd.write(), (std::vector<std::string>{kBase0, rec(0x0000, "0830FF"), kEnd}));
}

TEST(BuildHexLines, EepromTopAbove255EndsInTheChecksumMessage)
{
    Loaded f;
    f.read({rec(0x43FE, "AA00BB00"), kEnd}, 629);
    f.prompter.clear();
    EXPECT_EQ(BuildHexLines(f.image), 0);
    EXPECT_EQ(f.prompter.texts(),
              (std::vector<std::string>{"Error: lesen Hex_EE Bereichsüberschreitung (256) in get_Hex_EE",
                                        "Problem bei der Checksummen-Berechnung"}));
}

// Every assembled fixture survives a load and a save word for word, and srec_cat accepts
// the file we write.
TEST(RoundTrip, AssembledFixturesKeepEveryWord)
{
    struct Case {
        const char* file;
        int pic;
    } cases[] = {
        {"classic_629_turnout.hex", 629}, {"classic_684_idbits.hex", 684},     {"classic_676_turntable.hex", 676},
        {"f18324_function.hex", 18324},   {"f18324_config_packed.hex", 18324}, {"classic_629_turnout.hex", 0},
        {"f18324_function.hex", 0},
    };
    const auto dir = tempDir("roundtrip");
    for (const auto& c : cases) {
        Loaded first;
        ASSERT_EQ(first.reader.ReadHexFile(fixture(c.file)), LoadOutcome::Done) << c.file;
        first.image.PicModel = c.pic;
        const std::string out = (dir / (std::to_string(c.pic) + c.file)).string();
        ASSERT_TRUE(SaveHexFile(first.image, out)) << c.file;
        EXPECT_TRUE(first.prompter.shown.empty()) << c.file;
        EXPECT_TRUE(srecCatAccepts(out)) << c.file;

        Loaded second;
        ASSERT_EQ(second.reader.ReadHexFile(out), LoadOutcome::Done) << c.file;
        EXPECT_TRUE(contentOf(first.image) == contentOf(second.image)) << c.file;
        EXPECT_EQ(second.image.IdLocation, first.image.IdLocation) << c.file;
        EXPECT_EQ(second.image.EepromLocation, first.image.EepromLocation) << c.file;
        const std::string text = readFile(out);
        EXPECT_EQ(text.substr(0, 17), ":020000040000FA\r\n");
        EXPECT_EQ(text.substr(text.size() - 13), ":00000001FF\r\n");
    }
    std::filesystem::remove_all(dir);
}

TEST(RoundTrip, ClassicIdWordsAreNormalisedToTheirDigit)
{
    Loaded f;
    ASSERT_EQ(f.reader.ReadHexFile(fixture("classic_684_idbits.hex")), LoadOutcome::Done);
    f.image.PicModel = 684;
    const auto out = f.write();
    EXPECT_NE(std::find(out.begin(), out.end(), rec(0x4000, "0800030005000900")), out.end());
}

// A save that cannot be written is told as an error naming the file and why, the window's
// message box and the command line alike; the file on disk stays as it was.
TEST(SaveHexFile, AFailedWriteIsReportedAndChangesNothing)
{
    const auto dir = tempDir("save-refused");
    const auto readOnly = dir / "frozen.hex";
    writeFile(readOnly.string(), "old\r\n");
    std::filesystem::permissions(readOnly, std::filesystem::perms(0444));
    struct Case {
        std::string path;
        std::string message;
    } cases[] = {
        {(dir / "missing" / "x.hex").string(),
         "Die Datei \"" + (dir / "missing" / "x.hex").string() +
             "\" konnte nicht geschrieben werden: Datei oder Ordner nicht gefunden"},
        {readOnly.string(), "Die Datei \"" + readOnly.string() +
                                "\" ist schreibgeschützt: Ihr Besitzer hat das Schreibrecht entfernt, darum wird sie "
                                "nicht ersetzt. Es wurde nichts geschrieben."},
    };
    for (const auto& c : cases) {
        Loaded f;
        f.read({rec(0x0000, "0830"), kEnd}, 0);
        EXPECT_FALSE(SaveHexFile(f.image, c.path)) << c.path;
        ASSERT_EQ(f.prompter.shown.size(), 1u) << c.path;
        EXPECT_EQ(f.prompter.shown[0].kind, MsgKind::Error);
        EXPECT_EQ(f.prompter.shown[0].text, c.message);
    }
    EXPECT_EQ(readFile(readOnly.string()), "old\r\n");
    std::filesystem::remove_all(dir);
}
