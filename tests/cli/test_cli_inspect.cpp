// dump, compare and mnemonic: the HEX information dialog without a window. The demo firmware's
// listings and comparison are kept as golden files in tests/golden/; with HZ_UPDATE_GOLDEN=1
// in the environment the test writes them anew instead of comparing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "CliRun.h"
#include "HexRecords.h"
#include "TestFiles.h"

using namespace hz::test;

namespace {

const std::string kExamples = std::string(HZ_SOURCE_DIR) + "/examples";
const std::string kGolden = std::string(HZ_SOURCE_DIR) + "/tests/golden";

std::string example(const char* name) { return kExamples + "/" + name; }

// The output with the examples folder written as "examples", so that the golden files do not
// depend on where the sources are.
std::string portable(std::string text)
{
    for (std::size_t at = text.find(kExamples); at != std::string::npos; at = text.find(kExamples, at))
        text.replace(at, kExamples.size(), "examples");
    return text;
}

void expectGolden(const std::string& output, const std::string& name)
{
    const std::string path = kGolden + "/" + name;
    if (std::getenv("HZ_UPDATE_GOLDEN")) {
        writeFile(path, portable(output));
        return;
    }
    ASSERT_TRUE(std::filesystem::exists(path)) << path;
    EXPECT_EQ(portable(output), readFile(path)) << name;
}

} // namespace

TEST(CliInspect, DumpAndCompareOfTheDemoFirmwareMatchTheGoldenFiles)
{
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* golden;
    };
    const Case cases[] = {
        {{"dump", example("stellino_12f629.hex")}, 0, "dump_stellino_12f629.txt"},
        {{"dump", example("stellino_12f629.hex"), "--json"}, 0, "dump_stellino_12f629.json"},
        {{"dump", example("forsta_16f18324.hex")}, 0, "dump_forsta_16f18324.txt"},
        {{"dump", example("relais_16f684_dcc.hex"), "--json"}, 0, "dump_relais_16f684_dcc.json"},
        {{"compare", example("stellino_12f629.hex"), example("relais_16f684_dcc.hex")},
         1,
         "compare_stellino_relais.txt"},
        {{"compare", example("stellino_12f629.hex"), example("relais_16f684_dcc.hex"), "--json"},
         1,
         "compare_stellino_relais.json"},
        {{"compare", example("forsta_16f18324.hex"), example("forsta_16f18324.hex")}, 0, "compare_forsta_self.txt"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.code, c.code) << c.golden << "\n" << r.err;
        EXPECT_EQ(r.err, "") << c.golden;
        expectGolden(r.out, c.golden);
    }
}

TEST(CliInspect, CompareExitStatusAndTrouble)
{
    const auto dir = tempDir("cli-compare");
    const std::string stellino = example("stellino_12f629.hex");
    const std::string bad = (dir / "bad.hex").string();
    writeFile(bad, joinCrLf({rec(0x0000, "0830"), rec(0x0002, "0430"), ":020000020000FC", kEnd}));

    // stopped by a message: the report so far, the message on stderr and in the JSON
    const CliRun text = runCli({"compare", stellino, bad});
    EXPECT_EQ(text.code, 2);
    EXPECT_EQ(text.out,
              "File 1 = " + stellino + "\nFile 2 = " + bad + "\n\n$0001:  0x3003 [MOVLW ] - 0x3004 [MOVLW ]\n");
    EXPECT_NE(text.err.find("hexzwirbel-cli: " + bad + ": Hinweis: E203a: Unerwartete Zeile im File:"),
              std::string::npos)
        << text.err;
    const CliRun json = runCli({"compare", stellino, bad, "--json"});
    EXPECT_EQ(json.code, 2);
    EXPECT_NE(json.out.find("\"counts\": {\"eeprom\": 0, \"rom\": 1, \"id\": 0, \"config\": 0},\n"
                            "  \"error\": \"E203a: Unerwartete Zeile im File:\\n:020000020000FC\\n\\nRECLEN"),
              std::string::npos)
        << json.out;

    // a second file that cannot be read
    const CliRun missing = runCli({"compare", stellino, (dir / "none.hex").string(), "--json"});
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("kann nicht geöffnet werden"), std::string::npos);
    EXPECT_NE(missing.out.find("\"error\": \"Die Datei"), std::string::npos) << missing.out;
    EXPECT_EQ(runCli({"compare", stellino, (dir / "none.hex").string()}).out, "");

    // a first file that does not load
    const CliRun first = runCli({"compare", bad, stellino});
    EXPECT_EQ(first.code, 2);
    EXPECT_EQ(first.out, "");
    EXPECT_NE(first.err.find("E203"), std::string::npos);

    // same and different
    EXPECT_EQ(runCli({"compare", stellino, stellino}).code, 0);
    const std::string id = (dir / "id.hex").string();
    writeFile(id, joinCrLf({rec(0x4000, "0800030005000900")}));
    const CliRun differs = runCli({"compare", stellino, id});
    EXPECT_EQ(differs.code, 1);
    EXPECT_NE(differs.out.find(" \nID: File1:0x8358 - File2:0x8359\n"), std::string::npos) << differs.out;

    EXPECT_EQ(runCli({"compare", stellino}).code, 2);
    EXPECT_EQ(runCli({"dump", bad}).code, 1);
    EXPECT_EQ(runCli({"dump"}).code, 2);
    std::filesystem::remove_all(dir);
}

TEST(CliInspect, MnemonicNamesEveryWordOrNone)
{
    const CliRun r = runCli({"mnemonic", "2812", "3fff", "12", "0186"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "2812 [GOTO  ]\n3FFF [      ]\n0012 [      ]\n0186 [CLRF/W]\n");
    for (const char* bad : {"12345", "xyz", "0x12", "28 12"}) {
        const CliRun b = runCli({"mnemonic", "2812", bad});
        EXPECT_EQ(b.code, 2) << bad;
        EXPECT_EQ(b.out, "") << bad;
        EXPECT_NE(b.err.find(bad), std::string::npos) << bad;
    }
    EXPECT_EQ(runCli({"mnemonic"}).code, 2);
    const CliRun help = runCli({"--help"});
    for (const char* usage : {"dump DATEI", "compare DATEI1 DATEI2", "mnemonic WORT"})
        EXPECT_NE(help.out.find(usage), std::string::npos) << usage;
}
