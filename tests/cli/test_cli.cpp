#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "Cli.h"
#include "HexRecords.h"
#include "TestFiles.h"

using namespace hz::test;

namespace {

struct CliRun {
    int code;
    std::string out, err;
};

CliRun cli(std::vector<std::string> args)
{
    std::ostringstream out, err;
    const int code = hz::cli::run(args, out, err);
    return {code, out.str(), err.str()};
}

} // namespace

TEST(Cli, UsageAndExitCodes)
{
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("info DATEI"), std::string::npos);
    EXPECT_NE(help.out.find("convert EIN -o AUS"), std::string::npos);
    EXPECT_EQ(cli({}).code, 2);
    EXPECT_EQ(cli({"frobnicate"}).code, 2);
    EXPECT_EQ(cli({"info"}).code, 2);
    EXPECT_EQ(cli({"convert", "a.hex"}).code, 2);
    EXPECT_EQ(cli({"info", "a.hex", "--bogus"}).code, 2);
}

TEST(Cli, InfoJsonReportsTheFileAndEveryMessage)
{
    const std::string file = fixture("f18324_function.hex");
    const CliRun r = cli({"info", file, "--json"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("\"file\": \"" + file + "\""), std::string::npos);
    EXPECT_NE(r.out.find("\"loaded\": true"), std::string::npos);
    EXPECT_NE(r.out.find("\"id\": \"58000000010B0000\""), std::string::npos);
    EXPECT_NE(r.out.find("\"version\": \"0.58\""), std::string::npos);
    EXPECT_NE(r.out.find("\"config\": [\"8C17\", \"3C25\", \"FF1F\", \"FF3F\"]"), std::string::npos);
    EXPECT_NE(r.out.find("\"eeprom_top\": 126"), std::string::npos);
    // no PIC is assigned yet without identification: the question is answered with Ignore
    EXPECT_NE(r.out.find("{\"kind\": \"warning\", \"text\": \"Es konnte das HEX File keinem PIC zugeordnet werden.\"}"),
              std::string::npos);
    EXPECT_NE(r.err.find("Es konnte das HEX File keinem PIC zugeordnet werden."), std::string::npos);
}

TEST(Cli, InfoOfABadFileSaysNotLoadedAndQuotesTheLine)
{
    const auto dir = tempDir("cli-bad");
    const std::string file = (dir / "bad.hex").string();
    writeFile(file, ":020000040002F8\r\n:00000001FF\r\n");
    const CliRun r = cli({"info", file, "--json"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("\"loaded\": false"), std::string::npos);
    EXPECT_NE(r.out.find("E205: Unerwarteter Extendet Linear Address Record:\\n:020000040002F8\\n"), std::string::npos);
    EXPECT_NE(r.err.find(file), std::string::npos);
    const CliRun missing = cli({"info", (dir / "none.hex").string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("none.hex"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(Cli, ConvertWritesAValidFileOrNothing)
{
    const auto dir = tempDir("cli-convert");
    for (const char* name : {"classic_629_turnout.hex", "f18324_function.hex", "f18324_config_packed.hex",
                             "classic_676_turntable.hex", "classic_684_idbits.hex"}) {
        const std::string out = (dir / name).string();
        const CliRun r = cli({"convert", fixture(name), "-o", out});
        EXPECT_EQ(r.code, 0) << name << r.err;
        EXPECT_TRUE(srecCatAccepts(out)) << name;
    }
    // a file the reader refuses: exit 1, nothing written
    const std::string bad = (dir / "bad.hex").string();
    writeFile(bad, ":020000021000EC\r\n");
    const std::string out = (dir / "never.hex").string();
    EXPECT_EQ(cli({"convert", bad, "-o", out}).code, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    // an output that cannot be written: exit 1
    EXPECT_EQ(cli({"convert", fixture("classic_629_turnout.hex"), "-o", (dir / "no" / "x.hex").string()}).code, 1);
    std::filesystem::remove_all(dir);
}

TEST(Cli, DefaultConfigAnswersYesToTheStandardValueQuestion)
{
    // Without identification there is no standard configuration yet: the question is the plain
    // notice, and --default-config changes nothing about the exit code.
    const auto dir = tempDir("cli-defcfg");
    const std::string in = (dir / "noconfig.hex").string();
    writeFile(in, joinCrLf({rec(0x0000, "0830"), rec(0x4000, "0800030005000800"), kEnd}));
    const CliRun r = cli({"info", in, "--json", "--default-config"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("In dem HEX-File wurde kein Config-Wert gefunden."), std::string::npos);
    std::filesystem::remove_all(dir);
}
