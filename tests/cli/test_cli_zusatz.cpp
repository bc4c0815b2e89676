// The additional-functions page through the command-line tool: `info --json` lists it for
// every decoder type that has it, and `set --do` drives each kind of its controls on firmware
// assembled with gpasm, changing exactly the firmware's bytes of that setting.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "CliRun.h"
#include "FirmwareBuilder.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/catalogue/Catalogue.h"
#include "core/firmware/HexReader.h"
#include "core/pages/zusatz/ZusatzTypes.h"

using namespace hz;
using namespace hz::test;

namespace {

std::vector<std::string> eepromOf(const std::string& file)
{
    ScriptedPrompter p;
    FirmwareImage img(p);
    HexReader reader(img);
    EXPECT_EQ(reader.ReadHexFile(file), LoadOutcome::Done) << file;
    std::vector<std::string> ee;
    for (int i = 0; i < 256; ++i)
        ee.push_back(img.eeprom(i));
    return ee;
}

std::string control(const std::string& name, const std::string& kind, bool visible)
{
    return "{\"name\": \"" + name + "\", \"kind\": \"" + kind + "\", \"visible\": " + (visible ? "true" : "false");
}

} // namespace

TEST(CliZusatz, InfoListsThePageOfEveryTypeThatHasIt)
{
    const auto dir = tempDir("cli-zusatz-types");
    for (const DecoderType& type : DecoderCatalogue()) {
        if (type.Page != PageZusatz)
            continue;
        SCOPED_TRACE(type.Name);
        FirmwareBuilder fw;
        fw.identifier(type.Identifier).signature(kMotW8);
        fw.eeprom[0x20] = "14";
        const std::string file = (dir / "t.hex").string();
        writeFile(file, joinCrLf(fw.lines()));
        const CliRun info = runCli({"info", file, "--json"});
        ASSERT_EQ(info.code, 0) << info.err;
        EXPECT_NE(info.out.find("{\"frame\": \"TFrameZusatz\", \"pending\": false,"), std::string::npos);
        const pages::zusatz::ZusatzType* t = pages::zusatz::FindZusatzType(type.Identifier);
        const bool rows = t && !t->rows.empty();
        const bool modes = t && t->modes;
        EXPECT_NE(info.out.find(control("RowEdits[0]", "edit", rows)), std::string::npos);
        EXPECT_NE(info.out.find(control("group_mode", "group", modes)), std::string::npos);
        if (rows && t->rows[0].address == 0x20) {
            EXPECT_NE(info.out.find(control("RowEdits[0]", "edit", true) + ", \"enabled\": true, \"text\": \"20\""),
                      std::string::npos);
        }
    }
    std::filesystem::remove_all(dir);
}

TEST(CliZusatz, SetDoWritesTheBytesOfEachKindOfSetting)
{
    struct Case {
        std::string fixture;
        std::vector<std::string> actions;
        std::map<int, std::string> changed; // EEPROM index -> new byte; every other byte stays
    } cases[] = {
        // value row, mode radio button with the lock kept, switch-off box in byte 0x30
        {"zusatz_629_stellino361.hex",
         {"RowEdits[0]=40", "rad_mode2", "cbx_zusatz_2=0"},
         {{0x20, "28"}, {0x00, "82"}, {0x30, "AA"}}},
        // drive switch-off marker (this Stellino from V3.51 holds 0x03 in byte 0x00)
        {"classic_629_turnout.hex", {"cbx_weiche_ab=1"}, {{0x00, "AB"}}},
        // neon brightness, the neon time-out above 127, a mode with the dumb flag kept
        {"zusatz_629_neon060.hex",
         {"TrackBar_neon_1=12", "TrackBar_neon_2=0", "RowEdits[0]=250", "rad_mode2"},
         {{0x40, "0C"}, {0x41, "00"}, {0x20, "FA"}, {0x00, "42"}}},
        // fading speed: the unknown code is repaired on loading, then the track bar writes
        {"zusatz_684_ampel340.hex", {"TrackBar_01=2"}, {{0x20, "33"}}},
        // effect speed
        {"zusatz_684_kirmes.hex", {"TrackBar_01=100"}, {{0x20, "64"}}},
        // neon output functions: bit 3, bit 5 kept
        {"zusatz_684_neon348.hex", {"cbx_zusatz_4=1"}, {{0x20, "28"}}},
        // special outputs 9 and 10 of the earlier neon firmware
        {"zusatz_684_neon338.hex", {"cbx_zusatz_2=1", "cbx_zusatz_1=0"}, {{0x20, "22"}}},
    };
    const auto dir = tempDir("cli-zusatz-set");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        const std::string in = fixture(c.fixture);
        const std::string out = (dir / "out.hex").string();
        std::vector<std::string> args{"set", in, "-o", out};
        for (const std::string& a : c.actions) {
            args.push_back("--do");
            args.push_back(a);
        }
        const CliRun set = runCli(args);
        ASSERT_EQ(set.code, 0) << set.err;
        // the only thing said is the repair of the traffic light's unknown fading code
        EXPECT_EQ(
            set.err,
            std::string(c.fixture) != "zusatz_684_ampel340.hex"
                ? ""
                : "hexzwirbel-cli: " + in +
                      ": Hinweis: beim Anzeigen geändert: EEPROM 0x20: 0x44 → 0x11 (unbekannter Überblend-Code)\n");
        EXPECT_TRUE(srecCatAccepts(out));
        auto expected = eepromOf(in);
        for (const auto& [index, byte] : c.changed)
            expected[static_cast<std::size_t>(index)] = byte;
        EXPECT_EQ(eepromOf(out), expected);
        std::filesystem::remove(out);
    }
    std::filesystem::remove_all(dir);
}

TEST(CliZusatz, InfoShowsTheSettingsOfTheFile)
{
    const CliRun stellino = runCli({"info", fixture("zusatz_629_stellino361.hex"), "--json"});
    ASSERT_EQ(stellino.code, 0) << stellino.err;
    for (const std::string& part :
         {control("RowEdits[0]", "edit", true) + ", \"enabled\": true, \"text\": \"20\"",
          control("RowSeconds[0]", "label", true) + ", \"enabled\": true, \"caption\": \"(10.0 sec.)\"",
          control("rad_mode1", "radio", true) +
              ", \"enabled\": true, \"caption\": \"Mode 1: Laternen-Ausgang weich einblenden (Fading)\", "
              "\"checked\": true",
          control("cbx_mode_bit7", "check", true) + ", \"enabled\": true, \"caption\": \"Mode-Umschaltung SPERREN\", "
                                                    "\"checked\": true",
          control("cbx_zusatz_1", "check", true) + ", \"enabled\": true, \"caption\": \"OFF-Befehl der Zentrale\", "
                                                   "\"checked\": false",
          control("cbx_zusatz_2", "check", true) + ", \"enabled\": true, \"caption\": \"Time-Out des Dekoders\", "
                                                   "\"checked\": true"})
        EXPECT_NE(stellino.out.find(part), std::string::npos) << part;
    const CliRun kirmes = runCli({"info", fixture("zusatz_684_kirmes.hex"), "--json"});
    EXPECT_NE(kirmes.out.find(control("lbl_trackbar_01", "label", true) +
                              ", \"enabled\": true, \"caption\": \"Geschwindigkeit: 50\""),
              std::string::npos);
    EXPECT_NE(kirmes.out.find(control("TrackBar_01", "trackbar", true) +
                              ", \"enabled\": true, \"position\": 50, \"min\": 1, \"max\": 255"),
              std::string::npos);
}

// The page repairs an unknown fading code as soon as it is shown; a save without any edit
// writes the repaired byte, from the window as from the tool.
TEST(CliZusatz, ConvertWritesTheRepairedFadingCode)
{
    const auto dir = tempDir("cli-zusatz-convert");
    const std::string in = fixture("zusatz_684_ampel340.hex");
    const std::string out = (dir / "out.hex").string();
    const CliRun info = runCli({"info", in, "--json"});
    EXPECT_NE(info.out.find(control("TrackBar_01", "trackbar", true) +
                            ", \"enabled\": true, \"position\": 5, \"min\": 0, \"max\": 5"),
              std::string::npos);
    ASSERT_EQ(runCli({"convert", in, "-o", out}).code, 0);
    auto expected = eepromOf(in);
    EXPECT_EQ(expected[0x20], "44");
    expected[0x20] = "11";
    EXPECT_EQ(eepromOf(out), expected);
    // a known code stays as it is
    const std::string again = (dir / "again.hex").string();
    ASSERT_EQ(runCli({"convert", out, "-o", again}).code, 0);
    EXPECT_EQ(readFile(again), readFile(out));
    std::filesystem::remove_all(dir);
}

TEST(CliZusatz, ARefusedValueWritesNothing)
{
    struct Refused {
        std::string fixture;
        std::vector<std::string> actions;
        std::string message;
    } refused[] = {
        // an accepted value before the refused one is not written either
        {"zusatz_629_stellino361.hex",
         {"RowEdits[0]=40", "RowEdits[0]=128"},
         "Ungültige Eingabe.\n  Zugelassen sind nur Zahlen im Werte-Bereich 1..127"},
        {"zusatz_629_stellino361.hex", {"RowEdits[0]=0"}, "im Werte-Bereich 1..127"},
        {"zusatz_629_stellino361.hex", {"RowEdits[0]=zehn"}, "Ungültige Eingabe.\n  Zugelassen sind nur Zahlen"},
        {"zusatz_629_neon060.hex", {"RowEdits[0]=256"}, "im Werte-Bereich 1..255"},
        {"zusatz_629_neon060.hex", {"TrackBar_neon_1=16"}, "\"TrackBar_neon_1\" geht nur von 0 bis 15, nicht 16."},
        {"zusatz_684_ampel340.hex", {"TrackBar_01=6"}, "\"TrackBar_01\" geht nur von 0 bis 5, nicht 6."},
        // controls the type does not show
        {"zusatz_684_kirmes.hex", {"cbx_zusatz_1=1"}, "\"cbx_zusatz_1\" ist nicht sichtbar."},
        {"zusatz_629_stellino361.hex", {"rad_mode3"}, "\"rad_mode3\" ist nicht sichtbar."},
    };
    const auto dir = tempDir("cli-zusatz-refused");
    const std::string out = (dir / "out.hex").string();
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.actions.back());
        std::vector<std::string> args{"set", fixture(r.fixture), "-o", out};
        for (const std::string& a : r.actions) {
            args.push_back("--do");
            args.push_back(a);
        }
        const CliRun run = runCli(args);
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find(r.message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    std::filesystem::remove_all(dir);
}

TEST(CliZusatz, ARepairedFadingCodeIsToldAndInspectedAsStored)
{
    // The traffic light page repairs the unknown fading code 0x44 in byte 0x20 when it is
    // shown. convert writes the repair and says so; dump, compare and diff see the files as
    // they are stored, so the original and the converted file are told apart.
    const std::string in = fixture("zusatz_684_ampel340.hex");
    const auto dir = tempDir("cli-zusatz-stored");
    const std::string out = (dir / "out.hex").string();
    const CliRun convert = runCli({"convert", in, "-o", out});
    ASSERT_EQ(convert.code, 0) << convert.err;
    EXPECT_EQ(convert.err,
              "hexzwirbel-cli: " + in +
                  ": Hinweis: beim Anzeigen geändert: EEPROM 0x20: 0x44 → 0x11 (unbekannter Überblend-Code)\n");
    EXPECT_EQ(eepromOf(in)[0x20], "44");
    EXPECT_EQ(eepromOf(out)[0x20], "11");

    // dump shows the byte the file holds, not the repaired one
    const CliRun dumpIn = runCli({"dump", in}), dumpOut = runCli({"dump", out});
    ASSERT_EQ(dumpIn.code, 0) << dumpIn.err;
    EXPECT_EQ(dumpIn.err, "");
    EXPECT_NE(dumpIn.out.find("\n0x020:44\n"), std::string::npos) << dumpIn.out;
    EXPECT_NE(dumpOut.out.find("\n0x020:11\n"), std::string::npos) << dumpOut.out;

    const CliRun compare = runCli({"compare", in, out});
    EXPECT_EQ(compare.code, 1) << compare.out << compare.err;

    const CliRun diff = runCli({"diff", in, out});
    EXPECT_EQ(diff.code, 1) << diff.out << diff.err;
    EXPECT_NE(diff.out.find("In der Datei EEPROM 0x20 <unbekannter Überblend-Code>: 0x44 → 0x11"), std::string::npos)
        << diff.out;

    const CliRun info = runCli({"info", in, "--json"});
    EXPECT_NE(info.out.find("\"corrections\": [\n    {\"where\": \"eeprom\", \"address\": 32, \"stored\": \"44\", "
                            "\"shown\": \"11\", \"pending\": false"),
              std::string::npos)
        << info.out;
    std::filesystem::remove_all(dir);
}
