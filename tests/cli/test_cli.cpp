#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

#include "CliRun.h"
#include "HexRecords.h"
#include "TestFiles.h"
#include "core/Utf8Text.h"

using namespace hz::test;

TEST(Cli, UsageAndExitCodes)
{
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("info DATEI"), std::string::npos);
    EXPECT_NE(help.out.find("convert EIN -o AUS"), std::string::npos);
    EXPECT_EQ(runCli({}).code, 2);
    EXPECT_EQ(runCli({"frobnicate"}).code, 2);
    EXPECT_EQ(runCli({"info"}).code, 2);
    EXPECT_EQ(runCli({"convert", "a.hex"}).code, 2);
    EXPECT_EQ(runCli({"info", "a.hex", "--bogus"}).code, 2);
}

TEST(Cli, InfoJsonReportsTheFileItsTypeAndEveryMessage)
{
    const std::string file = fixture("f18324_function.hex");
    const CliRun r = runCli({"info", file, "--json"});
    EXPECT_EQ(r.code, 0);
    for (const std::string& field :
         {"\"file\": \"" + file + "\"", std::string("\"loaded\": true"), std::string("\"id\": \"58000000010B0000\""),
          std::string("\"version\": \"0.58\""), std::string("\"config\": [\"8C17\", \"3C25\", \"FF1F\", \"FF3F\"]"),
          std::string("\"eeprom_top\": 126"), std::string("\"pic\": 18324"), std::string("\"identifier\": 84736"),
          std::string("\"type\": \"Forsta 16F18324\""), std::string("\"page\": 6"), std::string("\"format\": \"DCC\""),
          std::string("\"rows\": []"), std::string("\"messages\": []")})
        EXPECT_NE(r.out.find(field), std::string::npos) << field;
    EXPECT_EQ(r.err, "");

    // a file no type matches: the message and the PIC question appear in order
    const auto dir = tempDir("cli-unknown");
    const std::string unknown = (dir / "unknown.hex").string();
    writeFile(unknown, joinCrLf({rec(0x0000, "02300430"), rec(0x4000, "0100030006000000"), rec(0x400E, "C431"),
                                 rec(0x4200, "1200"), kEnd}));
    const CliRun u = runCli({"info", unknown, "--json"});
    EXPECT_EQ(u.code, 0);
    EXPECT_NE(u.out.find("\"type\": null"), std::string::npos);
    EXPECT_NE(
        u.out.find("\"messages\": [\n    {\"kind\": \"error\", \"text\": \"Das HEX-File konnte leider nicht erkannt "
                   "werden: Identifier 1026 (2/4/0)\", \"answer\": null},\n    {\"kind\": \"warning\", \"text\": "
                   "\"Es konnte das HEX File keinem PIC zugeordnet werden.\", \"answer\": \"ignore\"}\n  ]"),
        std::string::npos)
        << u.out;
    EXPECT_NE(
        u.err.find(unknown + ": Warnung: Es konnte das HEX File keinem PIC zugeordnet werden. (Antwort: Ignorieren)\n"),
        std::string::npos)
        << u.err;
    std::filesystem::remove_all(dir);
}

TEST(Cli, InfoTextListsTheAddresses)
{
    const CliRun r = runCli({"info", fixture("classic_629_turnout.hex")});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Stellino  ab V3.51"), std::string::npos);
    EXPECT_NE(r.out.find("Weiche"), std::string::npos);
    EXPECT_NE(r.out.find("17 rot"), std::string::npos);
    EXPECT_NE(r.out.find("317 grün"), std::string::npos);
}

TEST(Cli, TypesListsTheCatalogue)
{
    const CliRun text = runCli({"types"});
    EXPECT_EQ(text.code, 0);
    EXPECT_NE(text.out.find("0x1,0x101"), std::string::npos);
    EXPECT_NE(text.out.find("Stellino  ab V3.51"), std::string::npos);
    const CliRun json = runCli({"types", "--json"});
    EXPECT_EQ(json.code, 0);
    EXPECT_EQ(json.out.rfind("{\"schema\": 1, \"types\": [\n", 0), 0u) << json.out.substr(0, 100);
    EXPECT_NE(json.out.find("{\"identifier\": 105, \"name\": \"Relaisdekoder 8\", \"pic\": 684, \"page\": 1, "
                            "\"row_mode\": \"red_green\", \"rows\": 9"),
              std::string::npos);
    EXPECT_EQ(runCli({"types", "x.hex"}).code, 2);
}

TEST(Cli, SetWritesTheRowOrRefusesAndWritesNothing)
{
    const auto dir = tempDir("cli-set");
    const std::string in = (dir / "in.hex").string();
    std::filesystem::copy_file(fixture("classic_629_turnout.hex"), in);
    const std::string original = readFile(in);
    const std::string out = (dir / "out.hex").string();
    struct Refused {
        std::vector<std::string> rows;
        std::string message;
    } refused[] = {
        {{"1=321"}, "Adresse für <Weiche> ist zu gross"},       {{"1=12a"}, "Ungültige Eingabe für <Weiche> "},
        {{"1=5", "2=-1g"}, "Adresse für <Licht> ist zu klein"}, {{"3=1"}, "Zeile 3 gibt es bei diesem Dekoder nicht."},
        {{"1=5/2"}, "Ungültige Eingabe für <Weiche> "},         {{"x"}, "--row erwartet N=WERT"},
    };
    for (const auto& c : refused) {
        std::vector<std::string> args{"set", in, "-o", out};
        for (const auto& r : c.rows) {
            args.push_back("--row");
            args.push_back(r);
        }
        const CliRun r = runCli(args);
        EXPECT_EQ(r.code, 1) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.message;
    }
    EXPECT_EQ(runCli({"set", in, "-o", out}).code, 2);

    // OUT may be IN: the file is replaced as a whole
    const CliRun ok = runCli({"set", in, "-o", in, "--row", "1=5g", "--row", "2=9"});
    EXPECT_EQ(ok.code, 0) << ok.err;
    EXPECT_NE(readFile(in), original);
    const CliRun info = runCli({"info", in, "--json"});
    EXPECT_NE(info.out.find("{\"row\": 1, \"caption\": \"Weiche\", \"address\": 5, \"state\": \"green\"}"),
              std::string::npos);
    // row 2 keeps its colour (green) when no letter is given
    EXPECT_NE(info.out.find("{\"row\": 2, \"caption\": \"Licht\", \"address\": 9, \"state\": \"green\"}"),
              std::string::npos);
    std::filesystem::remove_all(dir);
}
TEST(Cli, InfoOfABadFileSaysNotLoadedAndQuotesTheLine)
{
    const auto dir = tempDir("cli-bad");
    const std::string file = (dir / "bad.hex").string();
    writeFile(file, ":020000040002F8\r\n:00000001FF\r\n");
    const CliRun r = runCli({"info", file, "--json"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("\"loaded\": false"), std::string::npos);
    EXPECT_NE(r.out.find("E205: Unerwarteter Extendet Linear Address Record:\\n:020000040002F8\\n"), std::string::npos);
    EXPECT_NE(r.err.find(file), std::string::npos);
    const CliRun missing = runCli({"info", (dir / "none.hex").string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("none.hex"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(Cli, AFileThatHoldsNoFirmwareIsNotLoaded)
{
    const auto dir = tempDir("cli-nothing");
    const std::string file = (dir / "leer.hex").string();
    for (const std::string& content : {std::string(), std::string("\r\n\r\n"), joinCrLf({kBase0, kEnd})}) {
        writeFile(file, content);
        const CliRun r = runCli({"info", file});
        EXPECT_EQ(r.code, 1) << content;
        EXPECT_NE(r.out.find("Geladen:    nein"), std::string::npos) << r.out;
        EXPECT_NE(r.err.find("enthält keine Firmware"), std::string::npos) << r.err;
    }
    std::filesystem::remove_all(dir);
}

TEST(Cli, AReportThatCannotBeWrittenIsAnError)
{
    // The real process, its standard output on a full disk: the report is lost, so the run
    // must not end as a success.
    const auto dir = tempDir("cli-full");
    const std::string errFile = (dir / "err.txt").string();
    const std::string exe = cliCommand();
    struct Case {
        std::string args;
        int code;
    } cases[] = {
        {"types", 1},
        {"info --json '" + fixture("classic_629_turnout.hex") + "'", 1},
        // the HEX file itself on stdout: lost is lost, not written
        {"convert '" + fixture("classic_629_turnout.hex") + "' -o -", 1},
        // diff and compare answer 1 for "different": trouble is 2 there
        {"diff '" + fixture("classic_629_turnout.hex") + "' '" + fixture("zusatz_629_stellino361.hex") + "'", 2},
    };
    for (const Case& c : cases) {
        const std::string cmd = exe + " " + c.args + " >/dev/full 2>'" + errFile + "'";
        const int status = std::system(cmd.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << c.args;
        EXPECT_EQ(WEXITSTATUS(status), c.code) << c.args;
        EXPECT_NE(readFile(errFile).find(
                      "Die Ausgabe konnte nicht vollständig geschrieben werden: Der Datenträger ist voll."),
                  std::string::npos)
            << c.args << ": " << readFile(errFile);
        // the same run into a normal file succeeds and says nothing of the kind
        const std::string ok = exe + " " + c.args + " >/dev/null 2>'" + errFile + "'";
        const int okStatus = std::system(ok.c_str());
        EXPECT_EQ(WEXITSTATUS(okStatus), c.code == 2 ? 1 : 0) << c.args;
        EXPECT_EQ(readFile(errFile).find("Die Ausgabe"), std::string::npos) << c.args;
    }
    std::filesystem::remove_all(dir);
}

TEST(Cli, ConvertWritesAValidFileOrNothing)
{
    const auto dir = tempDir("cli-convert");
    for (const char* name : {"classic_629_turnout.hex", "f18324_function.hex", "f18324_config_packed.hex",
                             "classic_676_turntable.hex", "classic_684_idbits.hex"}) {
        const std::string out = (dir / name).string();
        const CliRun r = runCli({"convert", fixture(name), "-o", out});
        EXPECT_EQ(r.code, 0) << name << r.err;
        EXPECT_TRUE(srecCatAccepts(out)) << name;
    }
    // a file the reader refuses: exit 1, nothing written
    const std::string bad = (dir / "bad.hex").string();
    writeFile(bad, ":020000021000EC\r\n");
    const std::string out = (dir / "never.hex").string();
    EXPECT_EQ(runCli({"convert", bad, "-o", out}).code, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    // an output that cannot be written: exit 1, with a German reason
    const CliRun noFolder =
        runCli({"convert", fixture("classic_629_turnout.hex"), "-o", (dir / "no" / "x.hex").string()});
    EXPECT_EQ(noFolder.code, 1);
    EXPECT_NE(noFolder.err.find("Datei oder Ordner nicht gefunden"), std::string::npos) << noFolder.err;

    // files that load but must not be saved as they are: exit 1, nothing written
    struct Refused {
        const char* what;
        std::string content;
        std::string message;
    } refused[] = {
        // a program record cut off after 4 of its 16 bytes, followed by the next record
        {"cut-off record", joinCrLf({":10000000FF3FFF3F", rec(0x0010, "0A300B30"), kEnd}),
         "Problem bei der Checksummen-Berechnung"},
        // a file that holds no firmware is not loaded at all
        {"empty file", "", "enthält keine Firmware"},
        {"only the fixed records", joinCrLf({kBase0, kEnd}), "enthält keine Firmware"},
    };
    for (const auto& c : refused) {
        writeFile(bad, c.content);
        const CliRun r = runCli({"convert", bad, "-o", out});
        EXPECT_EQ(r.code, 1) << c.what;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.what << ": " << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.what;
    }
    std::filesystem::remove_all(dir);
}

// What the output names decides how it is written: a read-only file is refused, a file with a
// second name shows the new content under both, a device or a FIFO is written into and stays
// one (as root, too, who could replace it).
TEST(Cli, OutputsAreWrittenAsWhatTheyAre)
{
    namespace fs = std::filesystem;
    const auto dir = tempDir("cli-outputs");
    const std::string in = (dir / "in.hex").string();
    fs::copy_file(fixture("classic_629_turnout.hex"), in);
    const std::string original = readFile(in);
    const std::string expected = (dir / "expected.hex").string();
    ASSERT_EQ(runCli({"convert", in, "-o", expected}).code, 0);
    const std::string converted = readFile(expected);

    // read-only: "set x.hex -o x.hex" and "convert" onto a frozen file alike
    fs::permissions(in, fs::perms(0444));
    const CliRun own = runCli({"set", in, "-o", in, "--row", "1=5"});
    EXPECT_EQ(own.code, 1);
    EXPECT_NE(own.err.find("Die Datei \"" + in + "\" ist schreibgeschützt: "), std::string::npos) << own.err;
    EXPECT_EQ(runCli({"convert", expected, "-o", in}).code, 1);
    EXPECT_EQ(readFile(in), original);
    fs::permissions(in, fs::perms(0644));

    // a second name of the output shows the new content as well
    const std::string out = (dir / "out.hex").string();
    writeFile(out, "old\r\n");
    fs::create_hard_link(out, dir / "second.hex");
    ASSERT_EQ(runCli({"convert", in, "-o", out}).code, 0);
    EXPECT_EQ(readFile((dir / "second.hex").string()), converted);

    // devices: /dev/null takes it, /dev/full says why not; both stay devices
    EXPECT_EQ(runCli({"convert", in, "-o", "/dev/null"}).code, 0);
    const CliRun full = runCli({"convert", in, "-o", "/dev/full"});
    EXPECT_EQ(full.code, 1);
    EXPECT_NE(full.err.find("Die Datei \"/dev/full\" konnte nicht geschrieben werden: Der Datenträger ist voll"),
              std::string::npos)
        << full.err;
    for (const char* device : {"/dev/null", "/dev/full"})
        EXPECT_TRUE(fs::is_character_file(device)) << device;

    // a FIFO with a program reading at the other end
    const auto fifo = dir / "pipe.hex";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::string got;
    std::thread reader([&] { got = readFile(fifo.string()); });
    const CliRun piped = runCli({"set", in, "-o", fifo.string(), "--row", "1=5"});
    reader.join();
    EXPECT_EQ(piped.code, 0) << piped.err;
    EXPECT_NE(got.find(":020000040000FA\r\n"), std::string::npos);
    EXPECT_TRUE(fs::is_fifo(fifo));

    // "-o /dev/stdout" of the real program into a pipe: /dev/stdout leads to /proc/self/fd/1,
    // whose link text "pipe:[...]" is no file name
    const std::string viaStdout = (dir / "stdout.hex").string();
    const std::string cmd = cliCommand() + " convert '" + in + "' -o /dev/stdout | cat > '" + viaStdout + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    EXPECT_EQ(readFile(viaStdout), converted);
    fs::remove_all(dir);
}

// A line with a wrong checksum is read anyway, but the tool says so on stderr; a save would
// write fresh checksums over the damage, so --strict writes nothing.
TEST(Cli, DamagedLinesAreToldAndStrictWritesNothing)
{
    const auto dir = tempDir("cli-damaged");
    const std::string clean = fixture("classic_629_turnout.hex");
    std::string text = readFile(clean);
    // flip a bit in the checksums of lines 3 and 5
    std::vector<std::size_t> ends;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        ends.push_back(at);
    ASSERT_GT(ends.size(), 5u);
    for (std::size_t line : {3u, 5u}) {
        char& last = text[ends[line - 1] - 1];
        last = static_cast<char>(last ^ 1);
    }
    const std::string in = (dir / "in.hex").string();
    writeFile(in, text);
    const std::string out = (dir / "out.hex").string();

    const CliRun plain = runCli({"convert", in, "-o", out});
    EXPECT_EQ(plain.code, 0) << plain.err;
    EXPECT_NE(plain.err.find(in + ": Warnung: Die Datei enthält 2 beschädigte Zeilen"), std::string::npos) << plain.err;
    EXPECT_NE(plain.err.find("\n  Zeilen 3, 5\n"), std::string::npos) << plain.err;
    EXPECT_TRUE(srecCatAccepts(out));
    std::filesystem::remove(out);

    const std::string refusal = "--strict: Die Datei hat 2 beschädigte Zeile(n). Nichts geschrieben.";
    const std::vector<std::string> refused[] = {
        {"convert", in, "-o", out, "--strict"},
        {"set", in, "-o", out, "--row", "1=5", "--strict"},
        {"set", in, "-o", in, "--do", "x", "--strict"},
        {"migrate", clean, in, "-o", out, "--strict"},
        {"series", in, "-o", (dir / "s{n}.hex").string(), "--count", "2", "--strict"},
    };
    for (const auto& args : refused) {
        const CliRun r = runCli(args);
        EXPECT_EQ(r.code, 1) << args[0] << r.err;
        EXPECT_NE(r.err.find(in + ": Fehler: " + refusal), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << args[0];
        EXPECT_FALSE(std::filesystem::exists(dir / "s1.hex") || std::filesystem::exists(dir / "s2.hex")) << args[0];
    }
    EXPECT_EQ(readFile(in), text) << "the input itself is never rewritten";

    // a clean file goes through --strict without a word
    const CliRun strictClean = runCli({"convert", clean, "-o", out, "--strict"});
    EXPECT_EQ(strictClean.code, 0) << strictClean.err;
    EXPECT_EQ(strictClean.err, "");
    EXPECT_TRUE(std::filesystem::exists(out));
    std::filesystem::remove_all(dir);
}

TEST(Cli, SetRefusesAFileWithoutAddressFormat)
{
    const auto dir = tempDir("cli-ohne");
    const std::string in = (dir / "ohne.hex").string();
    // a Stellino (0x8) whose address receiver signature is neither Motorola nor DCC
    writeFile(in, joinCrLf({rec(0x0000, "083000300030"), rec(0x4000, "0800030005000800"), rec(0x400E, "C431"),
                            rec(0x4200, "0100"), kEnd}));
    ASSERT_NE(runCli({"info", in, "--json"}).out.find("\"format\": \"ohne\""), std::string::npos);
    const std::string out = (dir / "out.hex").string();
    const CliRun r = runCli({"set", in, "-o", out, "--row", "1=5"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("kein Adressformat"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
    std::filesystem::remove_all(dir);
}

TEST(Cli, DefaultConfigAnswersYesToTheStandardValueQuestion)
{
    const auto dir = tempDir("cli-defcfg");
    const std::string in = (dir / "noconfig.hex").string();
    // identifier 0x208 (a 12F629 type), Motorola signature, ID record, no CONFIG record
    writeFile(in, joinCrLf({rec(0x0000, "08300230"), rec(0x0010, "8B1C"), rec(0x4000, "0800030005000800"),
                            rec(0x4200, "FF00"), kEnd}));
    const CliRun asked = runCli({"info", in, "--json"});
    EXPECT_NE(asked.out.find("In dem HEX-File wurde kein Config-Wert gefunden. Standard-Wert erzeugen?"),
              std::string::npos);
    // Ignore, the default: no configuration, shown as it is, and none written
    EXPECT_NE(asked.out.find("\"config\": [\"\", \"\", \"\", \"\"]"), std::string::npos) << asked.out;
    const std::string out = (dir / "out.hex").string();
    ASSERT_EQ(runCli({"convert", in, "-o", out}).code, 0);
    EXPECT_EQ(readFile(out).find(":02400E00"), std::string::npos) << readFile(out);
    const CliRun yes = runCli({"info", in, "--json", "--default-config"});
    EXPECT_EQ(yes.code, 0);
    EXPECT_NE(yes.out.find("\"config\": [\"CC01\", \"0000\", \"0000\", \"0000\"]"), std::string::npos) << yes.out;
    ASSERT_EQ(runCli({"convert", in, "-o", out, "--default-config"}).code, 0);
    EXPECT_NE(readFile(out).find(rec(0x400E, "CC01")), std::string::npos) << readFile(out);
    std::filesystem::remove_all(dir);
}

// The pages are driven headless exactly as the window drives them.
TEST(Cli, SetDoDrivesThePageThroughItsHandlers)
{
    const auto dir = tempDir("cli-do");
    const std::string in = fixture("f18324_function.hex");
    const std::string out = (dir / "out.hex").string();

    const CliRun info = runCli({"info", in, "--json"});
    EXPECT_NE(info.out.find("\"pages\": [\n    {\"frame\": \"TFrameRegister\", \"pending\": false,"), std::string::npos)
        << info.out.substr(0, 2000);
    EXPECT_NE(info.out.find("{\"name\": \"CvEdits[5]\", \"kind\": \"edit\", \"visible\": true, \"enabled\": true, "
                            "\"text\": \"0\""),
              std::string::npos);

    const CliRun set = runCli({"set", in, "-o", out, "--do", "CvEdits[5]=17"});
    ASSERT_EQ(set.code, 0) << set.err;
    // CV018 lies at EEPROM 0x65: the saved file holds 17 there and the page shows it again
    const CliRun back = runCli({"info", out, "--json"});
    EXPECT_NE(back.out.find("{\"name\": \"CvEdits[5]\", \"kind\": \"edit\", \"visible\": true, \"enabled\": true, "
                            "\"text\": \"17\""),
              std::string::npos);
    std::filesystem::remove(out);

    struct Refused {
        std::string action, message;
    } refused[] = {
        {"CvEdits[5]=x", "Ungültige Eingabe.\n  Zugelassen sind nur Zahlen"},
        {"CvEdits[5]=256", "Zugelassen sind nur Zahlen von 0 bis 255"},
        {"CvEdits[200]=1", "\"CvEdits[200]\" ist nicht sichtbar."},
        {"Nirgends=1", "Ein Bedienelement \"Nirgends\" gibt es auf dieser Seite nicht."},
        {"CvLabels[0]", "lässt sich nicht bedienen"},
    };
    for (const auto& r : refused) {
        const CliRun run = runCli({"set", in, "-o", out, "--do", r.action});
        EXPECT_EQ(run.code, 1) << r.action;
        EXPECT_NE(run.err.find(r.message), std::string::npos) << r.action << ": " << run.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << r.action;
    }
    // a type without page shows none; the servo types show the curve frame, then the address frame
    EXPECT_NE(runCli({"info", fixture("classic_676_turntable.hex"), "--json"}).out.find("\"pages\": [],"),
              std::string::npos);
    const std::string servo = (dir / "servo.hex").string();
    writeFile(servo, joinCrLf({rec(0x0000, "D2300030003000300030003000300030"), rec(0x0010, "8B1C"), kEnd}));
    const CliRun servoInfo = runCli({"info", servo, "--json"});
    const std::size_t curve = servoInfo.out.find("{\"frame\": \"TFrameKornel\"");
    const std::size_t address = servoInfo.out.find("{\"frame\": \"TFrameKornelAdr\"");
    EXPECT_NE(curve, std::string::npos) << servoInfo.out;
    EXPECT_NE(address, std::string::npos);
    EXPECT_LT(curve, address);
    std::filesystem::remove_all(dir);
}

// The address rows are a page like every other: info --json shows their controls and
// `set --do` works them, with the same result as the `--row` shorthand.
TEST(Cli, AddressRowsAreAPageThatSetDoReaches)
{
    const std::string turnout = fixture("classic_629_turnout.hex");
    const CliRun info = runCli({"info", turnout, "--json"});
    EXPECT_EQ(info.code, 0);
    EXPECT_NE(info.out.find("\"address_page\": {\"frame\": \"AddressRows\", \"pending\": false,"), std::string::npos);
    EXPECT_NE(info.out.find("{\"name\": \"edt_adr_1\", \"kind\": \"edit\", \"visible\": true, \"enabled\": true, "
                            "\"text\": \"17\", \"background\": \"#ff0000\""),
              std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("{\"name\": \"lbl_adr_2\", \"kind\": \"label\", \"visible\": true, \"enabled\": true, "
                            "\"caption\": \"Licht\""),
              std::string::npos);

    const auto dir = tempDir("cli-rows-page");
    struct Same {
        const char* fixture;
        std::vector<std::string> rows, actions;
    } same[] = {
        {"classic_629_turnout.hex", {"1=7g"}, {"edt_adr_1=7", "btn_RG_1"}},
        {"classic_629_turnout.hex", {"2=300r"}, {"btn_RG_2", "edt_adr_2=300"}},
        {"zusatz_629_neon060.hex", {"2=12/4"}, {"edt_fkt_2=4", "edt_adr_2=12"}},
    };
    for (const auto& c : same) {
        SCOPED_TRACE(c.actions.front());
        std::vector<std::string> byRow{"set", fixture(c.fixture), "-o", (dir / "row.hex").string()};
        std::vector<std::string> byDo{"set", fixture(c.fixture), "-o", (dir / "do.hex").string()};
        for (const auto& r : c.rows)
            byRow.insert(byRow.end(), {"--row", r});
        for (const auto& a : c.actions)
            byDo.insert(byDo.end(), {"--do", a});
        const CliRun row = runCli(byRow), act = runCli(byDo);
        ASSERT_EQ(row.code, 0) << row.err;
        ASSERT_EQ(act.code, 0) << act.err;
        EXPECT_EQ(readFile((dir / "row.hex").string()), readFile((dir / "do.hex").string()));
        EXPECT_NE(readFile((dir / "do.hex").string()), readFile(fixture(c.fixture)));
    }

    // Controls a row does not offer are refused before anything is typed, and nothing is written.
    struct Refused {
        const char* fixture;
        const char* action;
        const char* message;
    } refused[] = {
        {"classic_629_turnout.hex", "edt_fkt_1=3", "\"edt_fkt_1\" ist nicht sichtbar."}, // red/green row
        {"classic_629_turnout.hex", "edt_adr_3=3", "\"edt_adr_3\" ist nicht sichtbar."}, // no caption
        {"zusatz_629_neon060.hex", "btn_RG_1", "\"btn_RG_1\" ist nicht sichtbar."},      // function row
        {"classic_676_turntable.hex", "edt_adr_31=3", "\"edt_adr_31\" ist gesperrt."},   // no EEPROM room
        {"classic_629_turnout.hex", "edt_adr_48=3", "Ein Bedienelement \"edt_adr_48\" gibt es"},
    };
    for (const auto& c : refused) {
        const std::string out = (dir / "refused.hex").string();
        const CliRun r = runCli({"set", fixture(c.fixture), "-o", out, "--do", c.action});
        EXPECT_EQ(r.code, 1) << c.action;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.action;
    }
    std::filesystem::remove_all(dir);
}

// The text tables of `info` and `overview` line the address column up on the screen, whatever
// letters the captions before it hold ("Grün" is five bytes for four characters).
TEST(Cli, TextTablesLineUpByCharactersNotBytes)
{
    const std::string file = fixture("zusatz_684_ampel340.hex");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"info", file}, {"overview", file}}) {
        SCOPED_TRACE(args[0]);
        const CliRun r = runCli(args);
        std::istringstream lines(r.out);
        std::string line;
        int rows = 0, wide = 0;
        while (std::getline(lines, line)) {
            // A row: two blanks, the row number (or "CV") in two columns, two blanks, the caption.
            const std::string rowNumber = line.size() < 48 ? "" : line.substr(2, 2);
            if (line.size() < 48 || line.compare(0, 2, "  ") != 0 || line.compare(4, 2, "  ") != 0 ||
                rowNumber.find_first_not_of(" 0123456789CV") != std::string::npos || line[6] == ' ')
                continue;
            // The characters of the line: the 48th is the first of the address.
            std::vector<std::string> chars;
            for (std::size_t i = 0; i < line.size();) {
                const std::size_t n = std::max<std::size_t>(1, hz::Utf8SequenceLength(line, i));
                chars.push_back(line.substr(i, n));
                i += n;
            }
            ++rows;
            ASSERT_GT(chars.size(), 47u) << line;
            std::size_t captionBytes = 0;
            for (std::size_t k = 0; k < 47; ++k)
                captionBytes += chars[k].size();
            wide += captionBytes != 47;
            EXPECT_EQ(chars[46], " ") << line;
            EXPECT_NE(chars[47], " ") << line;
        }
        EXPECT_GT(rows, 0);
        EXPECT_GT(wide, 0) << "no caption with a letter beyond ASCII: the fixture no longer shows the fault";
    }
}
