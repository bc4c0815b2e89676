// The tool as a Unix tool: version and help, options each command declares, "-" for the
// standard streams, one shape for every message, and JSON that is data.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>

#include "CliRun.h"
#include "HexRecords.h"
#include "JsonCheck.h"
#include "TestFiles.h"
#include "cli/Command.h"
#include "core/Version.h"

using namespace hz::test;
namespace fs = std::filesystem;

namespace {

const std::string kTurnout = fixture("classic_629_turnout.hex");

} // namespace

TEST(CliUnix, VersionAndOverview)
{
    const CliRun version = runCli({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.rfind(std::string("hexzwirbel-cli ") + hz::kProgramVersion + "\n", 0), 0u) << version.out;
    EXPECT_EQ(version.err, "");

    // --help, -h and help alone: the overview, with every command's usage line, on stdout
    for (const char* way : {"--help", "-h", "help"}) {
        const CliRun r = runCli({way});
        EXPECT_EQ(r.code, 0) << way;
        EXPECT_EQ(r.err, "") << way;
        EXPECT_EQ(r.out.rfind("Aufruf: hexzwirbel-cli BEFEHL", 0), 0u) << way;
        // a long usage line goes on in the next line, indented
        std::string joined = r.out;
        for (std::size_t at = joined.find("\n     "); at != std::string::npos; at = joined.find("\n     ", at)) {
            const std::size_t next = joined.find_first_not_of(' ', at + 1);
            if (joined.compare(next, 1, "[") == 0 || joined.compare(next, 1, "-") == 0)
                joined.replace(at, next - at, " ");
            else
                ++at;
        }
        for (const auto& c : hz::cli::Commands())
            EXPECT_TRUE(has(joined, "  " + c->usageLine() + "\n")) << way << ": " << c->name() << "\n" << r.out;
    }
}

// Each command's help is its own: the same by `help CMD` and `CMD --help`, naming no other
// command's call.
TEST(CliUnix, EveryCommandHasItsOwnHelp)
{
    for (const auto& c : hz::cli::Commands()) {
        const std::string name = c->name();
        SCOPED_TRACE(name);
        const CliRun viaHelp = runCli({"help", name});
        const CliRun viaOption = runCli({name, "--help"});
        const CliRun viaShort = runCli({name, "-h"});
        EXPECT_EQ(viaHelp.code, 0);
        EXPECT_EQ(viaOption.code, 0);
        EXPECT_EQ(viaHelp.out, viaOption.out);
        EXPECT_EQ(viaHelp.out, viaShort.out);
        EXPECT_EQ(viaHelp.err + viaOption.err, "");
        EXPECT_EQ(viaHelp.out.rfind("Aufruf: hexzwirbel-cli " + name + " ", 0), 0u) << viaHelp.out;
        EXPECT_TRUE(has(viaHelp.out, "Rückgabewert: "));
        for (const auto& other : hz::cli::Commands()) {
            if (other != c) {
                EXPECT_FALSE(has(viaHelp.out, "hexzwirbel-cli " + std::string(other->name()) + " ")) << other->name();
            }
        }
        // every option the command takes is explained
        for (const hz::cli::CommandOption& s : c->options())
            EXPECT_TRUE(has(viaHelp.out, std::string(s.name) + (s.value ? std::string(" ") + s.value : ""))) << s.name;
        // no help line runs past 80 characters (counted as characters, not bytes)
        std::istringstream text(viaHelp.out);
        for (std::string line; std::getline(text, line);) {
            const auto width = std::count_if(line.begin(), line.end(),
                                             [](char ch) { return (static_cast<unsigned char>(ch) & 0xC0) != 0x80; });
            EXPECT_LE(width, 80) << line;
        }
    }
    // --help wins over whatever else is wrong with the call
    EXPECT_EQ(runCli({"info", "--bogus", "--help"}).code, 0);
    EXPECT_EQ(runCli({"convert", "--help"}).out, runCli({"help", "convert"}).out);
}

// A call that is wrong says so in one line on stderr, with where the help is, and exits 2.
TEST(CliUnix, AUsageErrorIsOneLine)
{
    const auto dir = tempDir("cli-usage");
    const std::string out = (dir / "out.hex").string();
    struct Case {
        std::vector<std::string> args;
        std::string line;
    } cases[] = {
        {{}, "hexzwirbel-cli: Fehler: Kein Befehl angegeben. Hilfe: hexzwirbel-cli --help"},
        {{"frobnicate"}, "hexzwirbel-cli: Fehler: Unbekannter Befehl: frobnicate. Hilfe: hexzwirbel-cli --help"},
        {{"help", "frobnicate"},
         "hexzwirbel-cli: Fehler: Unbekannter Befehl: frobnicate. Hilfe: hexzwirbel-cli --help"},
        {{"--json", "info", kTurnout},
         "hexzwirbel-cli: Fehler: Die Option --json gehört hinter den Befehl. Hilfe: hexzwirbel-cli --help"},
        {{"info"},
         "hexzwirbel-cli: info: Fehler: Erwartet: genau eine Datei (DATEI); angegeben: 0. Hilfe: "
         "hexzwirbel-cli help info"},
        {{"types", kTurnout},
         "hexzwirbel-cli: types: Fehler: Erwartet: keine Datei; angegeben: 1. Hilfe: "
         "hexzwirbel-cli help types"},
        {{"info", kTurnout, "--bogus"},
         "hexzwirbel-cli: info: Fehler: Unbekannte Option --bogus. Hilfe: hexzwirbel-cli help info"},
        {{"info", kTurnout, "-x"},
         "hexzwirbel-cli: info: Fehler: Unbekannte Option -x. Hilfe: hexzwirbel-cli help info"},
        {{"info", kTurnout, "--json=ja"},
         "hexzwirbel-cli: info: Fehler: Option --json nimmt keinen Wert. Hilfe: hexzwirbel-cli help info"},
        {{"convert", kTurnout}, "hexzwirbel-cli: convert: Fehler: Es fehlt -o AUS. Hilfe: hexzwirbel-cli help convert"},
        {{"convert", kTurnout, "-o"},
         "hexzwirbel-cli: convert: Fehler: Nach -o fehlt AUS. Hilfe: hexzwirbel-cli help convert"},
        {{"convert", kTurnout, "-o", out, "--output", out + "2"},
         "hexzwirbel-cli: convert: Fehler: Option --output ist mehrfach angegeben. Hilfe: hexzwirbel-cli help convert"},
        {{"set", kTurnout, "-o", out},
         "hexzwirbel-cli: set: Fehler: Es fehlt --row N=WERT oder --do AKTION. Hilfe: hexzwirbel-cli help set"},
        {{"series", kTurnout, "-o", out, "--count", "x"},
         "hexzwirbel-cli: series: Fehler: --count erwartet eine Anzahl von 1 bis 9999, nicht \"x\". Hilfe: "
         "hexzwirbel-cli help series"},
        {{"mnemonic", "12345"},
         "hexzwirbel-cli: mnemonic: Fehler: \"12345\" ist kein Programmwort aus 1 bis 4 "
         "Hex-Ziffern. Hilfe: hexzwirbel-cli help mnemonic"},
        {{"diff", "-", "-"},
         "hexzwirbel-cli: diff: Fehler: stdin (-) lässt sich nur einmal lesen. "
         "Hilfe: hexzwirbel-cli help diff"},
        {{"migrate", kTurnout, kTurnout, "-o", "-"},
         "hexzwirbel-cli: migrate: Fehler: AUS kann nicht stdout sein: dort steht der Bericht. Hilfe: "
         "hexzwirbel-cli help migrate"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.code, 2) << c.line;
        EXPECT_EQ(r.err, c.line + "\n");
        EXPECT_EQ(r.out, "") << c.line;
    }
    EXPECT_FALSE(fs::exists(out));
    fs::remove_all(dir);
}

// An option the command does not take is refused by name, never silently ignored, and nothing
// is written.
TEST(CliUnix, EachCommandRefusesTheOptionsItDoesNotTake)
{
    const auto dir = tempDir("cli-refused-option");
    const std::string out = (dir / "out.hex").string();
    const std::string pattern = (dir / "d{n}.hex").string();
    struct Case {
        std::vector<std::string> call; // a call the command accepts
        const char* option;
    } cases[] = {
        {{"info", kTurnout}, "--strict"},
        {{"info", kTurnout}, "--count"},
        {{"convert", kTurnout, "-o", out}, "--json"},
        {{"convert", kTurnout, "-o", out}, "--row"},
        {{"set", kTurnout, "-o", out, "--row", "1=5"}, "--json"},
        {{"types"}, "--default-config"},
        {{"types"}, "--strict"},
        {{"dump", kTurnout}, "--strict"},
        {{"compare", kTurnout, kTurnout}, "--strict"},
        {{"compare", kTurnout, kTurnout}, "-o"},
        {{"mnemonic", "2812"}, "--json"},
        {{"diff", kTurnout, kTurnout}, "--strict"},
        {{"migrate", kTurnout, kTurnout, "-o", out}, "--do"},
        {{"series", kTurnout, "-o", pattern, "--count", "2"}, "--row"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.call;
        args.push_back(c.option);
        // an option that would take a value gets one, so that only its name is wrong
        args.push_back("1");
        const CliRun r = runCli(args);
        const std::string command = c.call.front();
        EXPECT_EQ(r.code, 2) << command << " " << c.option;
        EXPECT_EQ(r.err, "hexzwirbel-cli: " + command + ": Fehler: Option " + c.option +
                             " wird hier nicht angenommen. Hilfe: hexzwirbel-cli help " + command + "\n");
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 0);
    fs::remove_all(dir);
}

TEST(CliUnix, OptionValuesAfterAnEqualsSignAndOperandsAfterTwoDashes)
{
    const auto dir = tempDir("cli-equals");
    const auto path = [&](const char* name) { return (dir / name).string(); };
    ASSERT_EQ(runCli({"set", kTurnout, "-o", path("spaced.hex"), "--row", "1=5g", "--row", "2=9"}).code, 0);
    const std::vector<std::string> sameCalls[] = {
        {"set", kTurnout, "--output=" + path("equals.hex"), "--row=1=5g", "--row=2=9"},
        {"set", kTurnout, "-o" + path("attached.hex"), "--row", "1=5g", "--row=2=9"},
        {"set", "--row", "1=5g", "-o", path("before.hex"), "--row", "2=9", "--", kTurnout},
    };
    for (const auto& args : sameCalls) {
        const CliRun r = runCli(args);
        ASSERT_EQ(r.code, 0) << r.err;
    }
    for (const char* name : {"equals.hex", "attached.hex", "before.hex"})
        EXPECT_EQ(readFile(path(name)), readFile(path("spaced.hex"))) << name;

    // after "--" a name that starts with "-" is a file
    fs::copy_file(kTurnout, dir / "-x.hex");
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    const CliRun dashed = runCli({"info", "--", "-x.hex"});
    const CliRun option = runCli({"info", "-x.hex"});
    const CliRun missing = runCli({"info", "--", "--json"});
    fs::current_path(before);
    EXPECT_EQ(dashed.code, 0) << dashed.err;
    EXPECT_TRUE(has(dashed.out, "Datei:      -x.hex\n"));
    EXPECT_EQ(option.code, 2);
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(has(missing.err, "hexzwirbel-cli: --json: Fehler: Die Datei \"--json\" kann nicht geöffnet werden"))
        << missing.err;
    fs::remove_all(dir);
}

// "-" reads the standard input, "-o -" writes the standard output; both give what the files
// give, and the input is named "(stdin)".
TEST(CliUnix, DashIsTheStandardInputAndOutput)
{
    const auto dir = tempDir("cli-dash");
    const std::string text = readFile(kTurnout);
    const std::string converted = (dir / "converted.hex").string();
    ASSERT_EQ(runCli({"convert", kTurnout, "-o", converted}).code, 0);
    const std::string set = (dir / "set.hex").string();
    ASSERT_EQ(runCli({"set", kTurnout, "-o", set, "--row", "1=5g"}).code, 0);

    struct Case {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{"convert", "-", "-o", "-"}, readFile(converted)},
        {{"convert", kTurnout, "-o", "-"}, readFile(converted)},
        {{"convert", kTurnout, "-o", "/dev/stdout"}, readFile(converted)},
        {{"set", "-", "--row", "1=5g", "-o", "-"}, readFile(set)},
        {{"dump", "-"}, runCli({"dump", kTurnout}).out},
    };
    for (const Case& c : cases) {
        const CliRun r = runCliWithInput(c.args, text);
        EXPECT_EQ(r.code, 0) << c.args[0] << r.err;
        EXPECT_EQ(r.out, c.expected) << c.args[0];
    }

    const CliRun info = runCliWithInput({"info", "-"}, text);
    EXPECT_EQ(info.code, 0);
    const std::string byName = runCli({"info", kTurnout}).out;
    EXPECT_EQ(info.out, "Datei:      (stdin)\n" + byName.substr(byName.find('\n') + 1));
    const CliRun json = runCliWithInput({"info", "-", "--json"}, text);
    EXPECT_TRUE(has(json.out, "\"file\": \"(stdin)\",")) << json.out.substr(0, 200);

    // the second file of compare and diff from the standard input
    const CliRun compare = runCliWithInput({"compare", kTurnout, "-"}, text);
    EXPECT_EQ(compare.code, 0) << compare.err;
    EXPECT_TRUE(has(compare.out, "File 2 = (stdin)\n"));
    const CliRun diff = runCliWithInput({"diff", "-", converted}, text);
    EXPECT_EQ(diff.code, 0) << diff.err;
    EXPECT_TRUE(has(diff.out, "A: (stdin): ")) << diff.out;

    // what is wrong with the standard input is said with its name
    const CliRun bad = runCliWithInput({"convert", "-", "-o", "-"}, ":020000040002F8\r\n:00000001FF\r\n");
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.out, "") << "nothing half written";
    EXPECT_TRUE(has(bad.err, "hexzwirbel-cli: (stdin): Hinweis: E205")) << bad.err;
    EXPECT_TRUE(has(bad.err, "hexzwirbel-cli: (stdin): Fehler: nicht geladen, nichts geschrieben.\n")) << bad.err;
    const CliRun empty = runCliWithInput({"info", "-"}, "");
    EXPECT_EQ(empty.code, 1);
    EXPECT_TRUE(has(empty.err, "Die Datei \"(stdin)\" enthält keine Firmware")) << empty.err;
    fs::remove_all(dir);
}

// The real process: the standard input of a shell, and /dev/stdout into a pipe, a file and a
// file opened for appending.
TEST(CliUnix, StandardStreamsOfTheRealProcess)
{
    const auto dir = tempDir("cli-streams");
    const std::string exe = cliCommand();
    const std::string in = "'" + kTurnout + "'";
    const std::string expected = (dir / "expected.hex").string();
    ASSERT_EQ(runCli({"convert", kTurnout, "-o", expected}).code, 0);
    const std::string converted = readFile(expected);
    const std::string got = (dir / "got.hex").string();

    const std::string commands[] = {
        exe + " convert - -o - < " + in + " > '" + got + "'",
        exe + " convert " + in + " -o /dev/stdout > '" + got + "'",
        exe + " convert " + in + " -o /dev/stdout | cat > '" + got + "'",
        "cat " + in + " | " + exe + " convert - -o /dev/stdout > '" + got + "'",
    };
    for (const std::string& cmd : commands) {
        fs::remove(got);
        EXPECT_EQ(shell(cmd), 0) << cmd;
        EXPECT_EQ(readFile(got), converted) << cmd;
    }
    // appended to what the file held: the output is written where the shell put it, not
    // swapped for a new file
    writeFile(got, "vorher\n");
    EXPECT_EQ(shell(exe + " convert " + in + " -o /dev/stdout >> '" + got + "'"), 0);
    EXPECT_EQ(readFile(got), "vorher\n" + converted);
    // the same through any other descriptor the shell opened: nothing the file held is lost
    if (hz::test::webCli().empty()) {
        EXPECT_EQ(shell(exe + " convert " + in + " -o /dev/fd/3 3>> '" + got + "'"), 0);
        EXPECT_EQ(readFile(got), "vorher\n" + converted + converted);
    } else {
        // the WebAssembly tool reaches only its standard streams: it says so and the file stays
        EXPECT_EQ(shell(exe + " convert " + in + " -o /dev/fd/3 3>> '" + got + "' 2>/dev/null"), 1);
        EXPECT_EQ(readFile(got), "vorher\n" + converted);
        writeFile(got, "vorher\n" + converted + converted);
    }
    EXPECT_EQ(shell(exe + " convert " + in + " -o /dev/stderr 2>> '" + got + "'"), 0);
    const std::string all = readFile(got);
    EXPECT_EQ(all.rfind("vorher\n" + converted + converted, 0), 0u) << all;
    EXPECT_EQ(all.substr(all.size() - converted.size()), converted);
    fs::remove_all(dir);
}

// A file that is not a regular file and does not end - /dev/zero - is read up to the size of
// the largest firmware file and refused, by every command that reads one.
TEST(CliUnix, AFileThatNeverEndsIsRefused)
{
    const std::string refused = "Die Datei \"/dev/zero\" ist keine gewöhnliche Datei und liefert mehr als 1048576 "
                                "Bytes";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"info", "/dev/zero"}, {"convert", "/dev/zero", "-o", "-"}, {"compare", kTurnout, "/dev/zero"}}) {
        const CliRun r = runCli(args);
        EXPECT_NE(r.code, 0) << args[0];
        EXPECT_TRUE(hz::test::has(r.err, refused)) << r.err;
        EXPECT_EQ(r.out, "") << args[0];
    }
}

// Every message on stderr: "hexzwirbel-cli: NAME: Fehler|Warnung|Hinweis: ...", a question
// with the answer the tool gave.
TEST(CliUnix, MessagesHaveOneShape)
{
    const auto dir = tempDir("cli-messages");
    const std::string noConfig = (dir / "noconfig.hex").string();
    writeFile(noConfig, joinCrLf({rec(0x0000, "08300230"), rec(0x0010, "8B1C"), rec(0x4000, "0800030005000800"),
                                  rec(0x4200, "FF00"), kEnd}));
    const std::string unknown = (dir / "unknown.hex").string();
    writeFile(unknown, joinCrLf({rec(0x0000, "02300430"), rec(0x4000, "0100030006000000"), rec(0x400E, "C431"),
                                 rec(0x4200, "1200"), kEnd}));
    const std::string missing = (dir / "fehlt.hex").string();
    struct Case {
        std::vector<std::string> args;
        std::string line;
    } cases[] = {
        {{"info", noConfig},
         noConfig + ": Warnung: In dem HEX-File wurde kein Config-Wert gefunden. Standard-Wert erzeugen? "
                    "(Antwort: Ignorieren)"},
        {{"info", noConfig, "--default-config"},
         noConfig +
             ": Warnung: In dem HEX-File wurde kein Config-Wert gefunden. Standard-Wert erzeugen? (Antwort: Ja)"},
        {{"info", unknown},
         unknown + ": Fehler: Das HEX-File konnte leider nicht erkannt werden: Identifier 1026 (2/4/0)"},
        {{"info", unknown},
         unknown + ": Warnung: Es konnte das HEX File keinem PIC zugeordnet werden. (Antwort: Ignorieren)"},
        {{"info", missing},
         missing + ": Fehler: Die Datei \"" + missing +
             "\" kann nicht geöffnet werden: Datei oder "
             "Ordner nicht gefunden."},
        {{"convert", missing, "-o", (dir / "x.hex").string()},
         missing + ": Fehler: nicht geladen, nichts geschrieben."},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_TRUE(has("\n" + r.err, "\nhexzwirbel-cli: " + c.line + "\n")) << r.err;
    }
    // the text report lists the messages the same way, in German
    const CliRun text = runCli({"info", noConfig});
    EXPECT_TRUE(has(text.out, "\n  [Warnung] In dem HEX-File wurde kein Config-Wert gefunden. Standard-Wert "
                              "erzeugen? (Antwort: Ignorieren)\n"))
        << text.out;
    // and the JSON keeps the kinds and answers as identifiers
    const CliRun json = runCli({"info", noConfig, "--json", "--default-config"});
    EXPECT_TRUE(has(json.out, "{\"kind\": \"warning\", \"text\": \"In dem HEX-File wurde kein Config-Wert gefunden. "
                              "Standard-Wert erzeugen?\", \"answer\": \"yes\"}"))
        << json.out;
    fs::remove_all(dir);
}

// Every --json output is one valid JSON object that starts with "schema": 1, also where the
// command fails.
TEST(CliUnix, EveryJsonOutputIsValidAndCarriesTheSchema)
{
    const auto dir = tempDir("cli-schema");
    const std::string bad = (dir / "bad.hex").string();
    writeFile(bad, ":020000040002F8\r\n:00000001FF\r\n");
    const std::string zusatz = fixture("zusatz_629_stellino361.hex");
    struct Case {
        std::vector<std::string> args;
        int code;
    } cases[] = {
        {{"info", kTurnout, "--json"}, 0},
        {{"info", bad, "--json"}, 1},
        {{"types", "--json"}, 0},
        {{"dump", kTurnout, "--json"}, 0},
        {{"compare", kTurnout, zusatz, "--json"}, 1},
        {{"compare", bad, kTurnout, "--json"}, 2},
        {{"diff", kTurnout, zusatz, "--json"}, 1},
        {{"diff", kTurnout, bad, "--json"}, 2},
        {{"migrate", kTurnout, zusatz, "-o", (dir / "m.hex").string(), "--json"}, 0},
        {{"migrate", kTurnout, bad, "-o", (dir / "n.hex").string(), "--json"}, 1},
        {{"series", kTurnout, "-o", (dir / "s{n}.hex").string(), "--count", "2", "--step", "1", "--json"}, 0},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        EXPECT_EQ(r.code, c.code) << r.err;
        JsonCheck check(r.out);
        EXPECT_TRUE(check.valid()) << "at " << check.at() << ": " << r.out;
        EXPECT_EQ(r.out.find("\"schema\": 1,"), r.out.find_first_not_of("{\n ")) << r.out.substr(0, 80);
    }
    fs::remove_all(dir);
}

TEST(CliUnix, JsonCarriesDataAndEnglishIdentifiers)
{
    const auto dir = tempDir("cli-json-data");
    const std::string bad = (dir / "bad.hex").string();
    writeFile(bad, ":020000040002F8\r\n:00000001FF\r\n");

    // diff fails with JSON: the file that did not load, and why
    const CliRun failed = runCli({"diff", kTurnout, bad, "--json"});
    EXPECT_EQ(failed.code, 2);
    EXPECT_TRUE(has(failed.out, "\"b\": {\"file\": \"" + bad + "\", \"loaded\": false},")) << failed.out;
    EXPECT_TRUE(has(failed.out, "\"error\": \"" + bad + ": E205")) << failed.out;
    EXPECT_TRUE(has(failed.err, bad + ": Fehler: nicht geladen, kein Vergleich.")) << failed.err;

    // red and green as identifiers in diff and migrate, as info has them; the reader's text
    // keeps the German words
    const std::string red = (dir / "red.hex").string();
    ASSERT_EQ(runCli({"set", kTurnout, "-o", red, "--row", "2=317r"}).code, 0);
    const CliRun diff = runCli({"diff", kTurnout, red, "--json"});
    EXPECT_TRUE(has(diff.out, "{\"where\": \"row\", \"name\": \"2:rg\", \"caption\": \"Licht\", \"a\": \"green\", "
                              "\"b\": \"red\"}"))
        << diff.out;
    EXPECT_TRUE(has(runCli({"diff", kTurnout, red}).out, "Zeile 2 <Licht>: R/G: grün → rot"));
    const CliRun migrate =
        runCli({"migrate", red, fixture("zusatz_629_stellino361.hex"), "-o", (dir / "m.hex").string(), "--json"});
    EXPECT_TRUE(has(migrate.out,
                    "{\"where\": \"row\", \"name\": \"1\", \"caption\": \"Weiche\", \"value\": \"17 red\", "
                    "\"row\": 1, \"address\": \"17\", \"state\": \"red\"}"))
        << migrate.out;

    // dump and compare: the numbers beside their display texts
    const CliRun dump = runCli({"dump", kTurnout, "--json"});
    EXPECT_TRUE(has(dump.out, "\"rom_top\": ")) << dump.out;
    const CliRun compare = runCli({"compare", kTurnout, red, "--json"});
    EXPECT_EQ(compare.code, 1);
    EXPECT_TRUE(has(compare.out, "\"outcome\": \"done\",\n  \"differs\": true,")) << compare.out;

    // types: an object holding the list; the row modes as identifiers
    const CliRun types = runCli({"types", "--json"});
    for (const char* mode : {"\"row_mode\": \"red_green\"", "\"row_mode\": \"function\"", "\"row_mode\": \"none\""})
        EXPECT_TRUE(has(types.out, mode)) << mode;
    EXPECT_FALSE(has(types.out, "\"row_mode\": \"R/G\""));
    fs::remove_all(dir);
}

// A file name is bytes: one that is not UTF-8 is not passed off as another name in JSON.
TEST(CliUnix, AFileNameThatIsNotUtf8IsKeptAsBytes)
{
    const auto dir = tempDir("cli-bytes");
    const std::string latin = (dir / "Wei\xFF"
                                     "che.hex")
                                  .string();
    const std::string utf8 = (dir / "Wei\xC3\xA4"
                                    "che.hex")
                                 .string();
    fs::copy_file(kTurnout, latin);
    fs::copy_file(kTurnout, utf8);
    std::string hex;
    for (const char c : latin) {
        static const char* const digits = "0123456789abcdef";
        hex += digits[static_cast<unsigned char>(c) >> 4];
        hex += digits[static_cast<unsigned char>(c) & 0xF];
    }
    const std::string shown = (dir / "Wei\xEF\xBF\xBD"
                                     "che.hex")
                                  .string(); // U+FFFD for the byte

    const CliRun info = runCli({"info", latin, "--json"});
    EXPECT_EQ(info.code, 0);
    EXPECT_TRUE(isJson(info.out)) << info.out;
    EXPECT_TRUE(has(info.out, "\"file\": \"" + shown + "\", \"file_bytes\": \"" + hex + "\",")) << info.out;
    const CliRun diff = runCli({"diff", latin, utf8, "--json"});
    EXPECT_TRUE(isJson(diff.out)) << diff.out;
    EXPECT_TRUE(has(diff.out, "\"file_bytes\": \"" + hex + "\"")) << diff.out;
    // a name in UTF-8 stays as it is, without a bytes field
    const CliRun plain = runCli({"info", utf8, "--json"});
    EXPECT_TRUE(has(plain.out, "\"file\": \"" + utf8 + "\",\n"));
    EXPECT_FALSE(has(plain.out, "file_bytes"));
    fs::remove_all(dir);
}
