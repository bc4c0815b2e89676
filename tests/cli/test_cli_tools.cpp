// diff, migrate and series: two files compared, settings carried into another firmware, a
// series of decoders numbered - run as a user runs the tool.

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

#include "CliRun.h"
#include "FirmwareBuilder.h"
#include "HexRecords.h"
#include "JsonCheck.h"
#include "TestFiles.h"
#include "core/catalogue/CodeTables.h"
#include "core/firmware/FileSet.h"
#include "core/pages/address/AddressPage.h"

using namespace hz::test;
namespace fs = std::filesystem;

namespace {

// A classic turnout decoder in the Mot format: green addresses on rows 1, 2, ...
FirmwareBuilder turnout(int identifier, const std::vector<int>& addresses, const std::string& version = "360")
{
    FirmwareBuilder fw;
    fw.version = version;
    fw.identifier(identifier).signature(kMotW8);
    for (std::size_t k = 0; k < addresses.size(); ++k)
        fw.code(hz::pages::AddressPage::slotOf(static_cast<int>(k) + 1), hz::MotAccessoryCodes(addresses[k]));
    return fw;
}

// A DCC function decoder: each row (address, function).
FirmwareBuilder functionDecoder(int identifier, const std::vector<std::pair<int, int>>& rows)
{
    FirmwareBuilder fw;
    fw.identifier(identifier).signature(kDccW8);
    const auto& t = hz::HexByteTexts();
    for (std::size_t k = 0; k < rows.size(); ++k)
        fw.code(hz::pages::AddressPage::slotOf(static_cast<int>(k) + 1),
                hz::DccFunctionCode(rows[k].second) + t[static_cast<std::size_t>(rows[k].first)] + "00");
    return fw;
}

std::string write(const fs::path& dir, const std::string& name, const std::vector<std::string>& lines)
{
    const std::string path = (dir / name).string();
    writeFile(path, joinCrLf(lines));
    return path;
}

} // namespace

TEST(CliDiff, SameFileChangedRowPageValueAndConfigWord)
{
    const auto dir = tempDir("cli-diff");
    const std::string a = write(dir, "a.hex", turnout(0x308, {5, 6}).lines());

    const CliRun self = runCli({"diff", a, a});
    EXPECT_EQ(self.code, 0) << self.err;
    EXPECT_TRUE(has(self.out, "Keine Unterschiede.")) << self.out;
    const CliRun selfJson = runCli({"diff", a, a, "--json"});
    EXPECT_EQ(selfJson.code, 0);
    EXPECT_TRUE(has(selfJson.out, "\"a\": {\"file\": \"" + a +
                                      "\", \"type\": \"Stellino  ab V3.58\", \"identifier\": 776, "
                                      "\"version\": \"3.60\", \"pic\": 629, \"format\": \"Mot\", \"loaded\": true},"))
        << selfJson.out;
    EXPECT_TRUE(has(selfJson.out, "\"differences\": []\n}")) << selfJson.out;

    struct Case {
        std::string b, item, text;
    };
    const std::string rowChanged = (dir / "row.hex").string();
    ASSERT_EQ(runCli({"set", a, "-o", rowChanged, "--row", "2=9"}).code, 0);
    auto lines = turnout(0x308, {5, 6}).lines();
    for (auto& l : lines)
        if (l == rec(0x400E, "C431"))
            l = rec(0x400E, "C421");
    const std::string configChanged = write(dir, "config.hex", lines);
    const std::string cv = (dir / "cv.hex").string();
    const std::string forsta = fixture("f18324_function.hex");
    ASSERT_EQ(runCli({"set", forsta, "-o", cv, "--do", "CvEdits[5]=17"}).code, 0);
    const CliRun cvInfo = runCli({"info", forsta, "--json"});
    const Case cases[] = {
        {rowChanged,
         "{\"where\": \"row\", \"name\": \"2:address\", \"caption\": \"Licht\", \"a\": \"6\", \"b\": \"9\"}",
         "Zeile 2 <Licht>: Adresse: 6 → 9"},
        {configChanged,
         "{\"where\": \"config\", \"name\": \"CONFIG1\", \"caption\": \"Konfigurationswort 1\", \"a\": \"C431\", "
         "\"b\": \"C421\"}",
         "Konfigurationswort 1: C431 → C421"},
    };
    for (const Case& c : cases) {
        const CliRun json = runCli({"diff", a, c.b, "--json"});
        EXPECT_EQ(json.code, 1) << json.err;
        EXPECT_TRUE(has(json.out, "\"differences\": [\n    " + c.item + "\n  ]\n}")) << json.out;
        const CliRun text = runCli({"diff", a, c.b});
        EXPECT_EQ(text.code, 1);
        EXPECT_TRUE(has(text.out, "1 Unterschied:\n  " + c.text + "\n")) << text.out;
    }
    // a page setting, named by the control and the caption beside it
    const CliRun page = runCli({"diff", forsta, cv, "--json"});
    EXPECT_EQ(page.code, 1);
    EXPECT_TRUE(has(page.out, "{\"where\": \"page\", \"name\": \"CvEdits[5]\", \"caption\": \"CV018: extended Adress "
                              "LOW-Byte\", \"a\": \"0\", \"b\": \"17\"}"))
        << page.out;

    // trouble: a file that does not load, a missing argument
    const std::string bad = write(dir, "bad.hex", {":020000040002F8", kEnd});
    for (const auto& [x, y] : {std::pair{a, (dir / "fehlt.hex").string()}, std::pair{bad, a}}) {
        const CliRun run = runCli({"diff", x, y});
        EXPECT_EQ(run.code, 2) << x << " " << y;
        EXPECT_TRUE(run.out.empty());
        EXPECT_TRUE(has(run.err, "nicht geladen, kein Vergleich.")) << run.err;
    }
    EXPECT_TRUE(has(runCli({"diff", bad, a}).err, "E205")) << "the load's own message";
    EXPECT_EQ(runCli({"diff", a}).code, 2);
    fs::remove_all(dir);
}

TEST(CliMigrate, CarriesRowsAndPageValuesAndListsWhatItCannot)
{
    const auto dir = tempDir("cli-migrate");
    const std::string out = (dir / "out.hex").string();

    // A turnout decoder from V3.51 to V3.58: both addresses carried, the new firmware kept.
    const std::string v351 = write(dir, "v351.hex", turnout(0x208, {17, 18}, "351").lines());
    const std::string v358 = write(dir, "v358.hex", turnout(0x308, {1, 1}, "358").lines());
    const CliRun turn = runCli({"migrate", v351, v358, "-o", out});
    ASSERT_EQ(turn.code, 0) << turn.err;
    // V3.58 replaced the drive switch-off option by two others: it is listed, not carried. Each
    // setting carried says what NEU held; the time-out NEU had already is only counted.
    EXPECT_TRUE(has(turn.out, "Übernommen (3):\n  Zeile 1 <Weiche>: 17 grün (bisher 1 grün)\n"
                              "  Zeile 2 <Licht>: 18 grün (bisher 1 grün)\n"
                              "  1 davon hatte NEU schon so. (--unchanged führt sie auf)\n"
                              "Nicht übernommen (1):\n  Abschalten des Antriebes NUR nach TimeOut: nein - "
                              "NEU zeigt <Abschalten des Antriebes NUR nach TimeOut> nicht an.\n"))
        << turn.out;
    const CliRun listed = runCli({"migrate", v351, v358, "-o", out + ".2", "--unchanged"});
    EXPECT_TRUE(has(listed.out, "  Zeile 2 <Licht>: 18 grün (bisher 1 grün)\n  Time Out (1..127): 255 (unverändert)\n"
                                "Nicht übernommen (1):\n"))
        << listed.out;
    const CliRun after = runCli({"diff", v358, out, "--json"});
    EXPECT_TRUE(has(after.out, "\"name\": \"1:address\", \"caption\": \"Weiche\", \"a\": \"1\", \"b\": \"17\""))
        << after.out;
    EXPECT_FALSE(has(after.out, "\"where\": \"type\"")) << "the new firmware stays";
    fs::remove(out);

    // A function decoder whose third output changed meaning in V0.60 ("Ausgang / Out 3 (FL)"):
    // that row is listed, not guessed; --strict makes it an error and writes nothing.
    const std::string old60 =
        write(dir, "f.hex", functionDecoder(0x3D00, {{10, 1}, {11, 2}, {12, 3}, {13, 4}}).lines());
    const std::string new60 = write(dir, "f60.hex", functionDecoder(0x13D00, {{1, 1}, {1, 1}, {1, 1}, {1, 1}}).lines());
    const CliRun strict = runCli({"migrate", old60, new60, "-o", out, "--strict"});
    EXPECT_EQ(strict.code, 1);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_TRUE(has(strict.out, "Zeile 3 <Ausgang / Out 3>: 12/3 - NEU hat keine Zeile <Ausgang / Out 3>."))
        << strict.out;
    EXPECT_TRUE(has(strict.err, "--strict: 1 Einstellung(en) ließen sich nicht übertragen. Nichts geschrieben."))
        << strict.err;
    const CliRun lenient = runCli({"migrate", old60, new60, "-o", out, "--json"});
    ASSERT_EQ(lenient.code, 0) << lenient.err;
    EXPECT_TRUE(has(lenient.out, "\"written\": true,")) << lenient.out;
    EXPECT_TRUE(has(lenient.out, "{\"where\": \"row\", \"name\": \"4\", \"caption\": \"Ausgang / Out 4\", \"value\": "
                                 "\"13/4\", \"row\": 4, \"address\": \"13\", \"function\": \"4\"}"));
    EXPECT_TRUE(has(lenient.out,
                    "\"not_carried\": [\n    {\"where\": \"row\", \"name\": \"3\", \"caption\": \"Ausgang / "
                    "Out 3\", \"value\": \"12/3\", \"reason\": \"NEU hat keine Zeile <Ausgang / Out 3>.\", \"row\": 3, "
                    "\"address\": \"12\", \"function\": \"3\"}\n  ],"))
        << lenient.out;
    const std::string rows = runCli({"info", out, "--json"}).out;
    EXPECT_TRUE(has(rows, "{\"row\": 4, \"caption\": \"Ausgang / Out 4\", \"address\": 13, \"function\": 4}")) << rows;
    EXPECT_TRUE(has(rows, "{\"row\": 3, \"caption\": \"Ausgang / Out 3 (FL)\", \"address\": 1, \"function\": 1}"));
    fs::remove(out);

    // The CV page from one 16F18324 decoder to the other: the two CVs whose captions differ
    // are listed, every other value is typed in through the page.
    const std::string forsta = (dir / "forsta.hex").string();
    ASSERT_EQ(
        runCli({"set", fixture("f18324_function.hex"), "-o", forsta, "--do", "CvEdits[5]=17", "--do", "CvEdits[8]=9"})
            .code,
        0);
    FirmwareBuilder knipso;
    knipso.f18324 = true;
    knipso.identifier(0x15000).signature(kDccW8);
    const std::string k = write(dir, "knipso.hex", knipso.lines());
    const CliRun cvs = runCli({"migrate", forsta, k, "-o", out});
    ASSERT_EQ(cvs.code, 0) << cvs.err;
    EXPECT_TRUE(has(cvs.out, "  CV054: Länge des Neon-Effektes: 9 - In NEU bedeutet es etwas anderes: "
                             "<CV054: Länge des Neon-Effektes 18324>."))
        << cvs.out;
    EXPECT_TRUE(has(cvs.out, "  CV018: extended Adress LOW-Byte: 17 (bisher 255)\n")) << cvs.out;
    const std::string page = runCli({"info", out, "--json"}).out;
    EXPECT_TRUE(has(page, "{\"name\": \"CvEdits[5]\", \"kind\": \"edit\", \"visible\": true, \"enabled\": true, "
                          "\"text\": \"17\""));
    EXPECT_FALSE(has(page, "{\"name\": \"CvEdits[8]\", \"kind\": \"edit\", \"visible\": true, \"enabled\": true, "
                           "\"text\": \"9\""));
    fs::remove(out);

    // Nothing in common: refused, nothing written.
    const CliRun unrelated = runCli({"migrate", forsta, v358, "-o", out});
    EXPECT_EQ(unrelated.code, 1);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_TRUE(has(unrelated.err, "haben weder Adresszeilen gleicher Beschriftung noch dieselbe Seite"))
        << unrelated.err;
    EXPECT_EQ(runCli({"migrate", forsta, v358}).code, 2);
    fs::remove_all(dir);
}

TEST(CliMigrate, WritesExactlyWhatItReportsAndStrictStopsAtARefusedValue)
{
    // A Stellino V3.51 with a time-out of 195 into a V3.61, whose row takes 1..127 only.
    const auto dir = tempDir("cli-migrate-refused");
    const std::string old = fixture("classic_629_turnout.hex"), neu = fixture("zusatz_629_stellino361.hex");
    const std::string out = (dir / "out.hex").string();
    const CliRun run = runCli({"migrate", old, neu, "-o", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(has(run.out, "Übernommen (2):\n  Zeile 1 <Weiche>: 17 rot (bisher 0 grün)\n"
                             "  Zeile 2 <Licht>: 317 grün (bisher 0 grün)\nNicht übernommen (2):\n"))
        << run.out;
    EXPECT_TRUE(has(run.out, "  Time Out (1..127): 195 - NEU nimmt \"195\" nicht an (Ungültige Eingabe. "
                             "Zugelassen sind nur Zahlen im Werte-Bereich 1..127).\n"))
        << run.out;
    // what diff finds between NEU and the result is what the report carried, line by line
    const CliRun diff = runCli({"diff", neu, out});
    EXPECT_TRUE(has(diff.out,
                    "3 Unterschiede:\n  Zeile 1 <Weiche>: Adresse: 0 → 17\n  Zeile 1 <Weiche>: R/G: grün → rot\n"
                    "  Zeile 2 <Licht>: Adresse: 0 → 317\n"))
        << diff.out;
    fs::remove(out);

    const CliRun strict = runCli({"migrate", old, neu, "-o", out, "--strict", "--json"});
    EXPECT_EQ(strict.code, 1);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_TRUE(has(strict.out, "\"written\": false,")) << strict.out;
    EXPECT_TRUE(has(strict.out, "{\"where\": \"page\", \"name\": \"RowEdits[0]\", \"caption\": \"Time Out (1..127)\", "
                                "\"value\": \"195\", \"reason\": \"NEU nimmt \\\"195\\\" nicht an (Ungültige Eingabe. "
                                "Zugelassen sind nur Zahlen im Werte-Bereich 1..127).\"}"))
        << strict.out;
    EXPECT_TRUE(has(strict.err, "--strict: 2 Einstellung(en) ließen sich nicht übertragen. Nichts geschrieben."))
        << strict.err;
    fs::remove_all(dir);
}

TEST(CliSeries, ThreeDecodersInRangeOrNoneAtAll)
{
    const auto dir = tempDir("cli-series");
    // Within range: the last member reaches the format's maximum exactly.
    const std::string in = write(dir, "in.hex", turnout(0x308, {315, 316}).lines());
    const std::string pattern = (dir / "dec{n}.hex").string();
    const CliRun ok = runCli({"series", in, "-o", pattern, "--count", "3"});
    ASSERT_EQ(ok.code, 0) << ok.err;
    for (int i = 0; i < 3; ++i) {
        const std::string file = (dir / ("dec" + std::to_string(i + 1) + ".hex")).string();
        EXPECT_TRUE(has(ok.out, file + "\n"));
        EXPECT_TRUE(srecCatAccepts(file));
        const std::string info = runCli({"info", file, "--json"}).out;
        EXPECT_TRUE(has(info, "{\"row\": 1, \"caption\": \"Weiche\", \"address\": " + std::to_string(315 + 2 * i) +
                                  ", \"state\": \"green\"}"))
            << info;
        EXPECT_TRUE(has(info, "{\"row\": 2, \"caption\": \"Licht\", \"address\": " + std::to_string(316 + 2 * i) +
                                  ", \"state\": \"green\"}"));
    }
    // One step further: the third member's first address would be 321. Refused with the
    // row's message, and not one file written.
    const auto refusedDir = tempDir("cli-series-refused");
    const std::string high = write(refusedDir, "in.hex", turnout(0x308, {317, 318}).lines());
    const CliRun refused = runCli({"series", high, "-o", (refusedDir / "d{n}.hex").string(), "--count", "3"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(has(refused.err, "Adresse für <Weiche> ist zu gross")) << refused.err;
    EXPECT_TRUE(has(refused.err, "Datei 3 von 3")) << refused.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(refusedDir), fs::directory_iterator()), 1);
    // --step, and what the command line must give
    const CliRun stepped = runCli({"series", in, "-o", (dir / "s{n}.hex").string(), "--count", "2", "--step", "4"});
    ASSERT_EQ(stepped.code, 0) << stepped.err;
    EXPECT_TRUE(has(runCli({"info", (dir / "s2.hex").string(), "--json"}).out, "\"address\": 319"));
    for (const std::vector<std::string>& args : {std::vector<std::string>{"series", in, "-o", pattern},
                                                 {"series", in, "-o", pattern, "--count", "0"},
                                                 {"series", in, "-o", (dir / "fest.hex").string(), "--count", "2"},
                                                 {"series", in, "-o", pattern, "--count", "2", "--step", "0"}}) {
        EXPECT_EQ(runCli(args).code, 2) << args.back();
    }
    EXPECT_FALSE(fs::exists(dir / "fest.hex"));
    fs::remove_all(dir);
    fs::remove_all(refusedDir);
}

// An output that is one of the inputs - by its name, through a symbolic or a hard link, or as
// "./x.hex" - is refused before anything is written: exit 1 (the call itself is well-formed).
TEST(CliTools, AnOutputThatIsAnInputIsRefused)
{
    const auto dir = tempDir("cli-in-out");
    const std::string oldFile = write(dir, "old.hex", turnout(0x208, {17, 18}, "351").lines());
    const std::string newFile = write(dir, "new.hex", turnout(0x308, {1, 1}, "358").lines());
    fs::create_symlink("old.hex", dir / "old-link.hex");
    fs::create_hard_link(newFile, dir / "new-hard.hex");
    fs::create_hard_link(oldFile, dir / "dec2.hex");
    const std::string before = readFile(oldFile) + readFile(newFile);
    const std::string dotted = (dir / "." / "new.hex").string();
    struct Case {
        std::vector<std::string> args;
        std::string input;
    } cases[] = {
        {{"migrate", oldFile, newFile, "-o", oldFile}, oldFile},
        {{"migrate", oldFile, newFile, "-o", dotted}, newFile},
        {{"migrate", oldFile, newFile, "-o", (dir / "old-link.hex").string()}, oldFile},
        {{"migrate", oldFile, newFile, "-o", (dir / "new-hard.hex").string()}, newFile},
        {{"series", oldFile, "-o", oldFile, "--count", "1"}, oldFile},
        // member 2 of 3 is a second name of the input; members 1 and 3 are not written either
        {{"series", oldFile, "-o", (dir / "dec{n}.hex").string(), "--count", "3"}, oldFile},
    };
    for (const auto& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.code, 1) << c.args[4];
        EXPECT_TRUE(has(r.err, "\" ist dieselbe Datei wie die Eingabe \"" + c.input +
                                   "\" und würde sie überschreiben. Es wurde nichts geschrieben."))
            << r.err;
        EXPECT_EQ(readFile(oldFile) + readFile(newFile), before);
    }
    EXPECT_FALSE(fs::exists(dir / "dec1.hex"));
    EXPECT_FALSE(fs::exists(dir / "dec3.hex"));
    fs::remove_all(dir);
}

// Every command that writes refuses an output that is one of its inputs, a file its scan found,
// or another of its outputs, before it writes anything. convert and set may save over their
// input, but not through a descriptor, which would add the new file to the old one.
TEST(CliTools, NoCommandWritesOverWhatItReadsOrTwiceIntoOneFile)
{
    const auto dir = tempDir("cli-clash");
    fs::create_directory(dir / "anlage");
    const std::string a = write(dir, "a.hex", turnout(0x208, {17, 18}).lines());
    const std::string b = write(dir / "anlage", "b.hex", turnout(0x208, {19, 20}).lines());
    const std::string servo = (dir / "servo.hex").string();
    fs::copy_file(fixture("servo_kornel4.hex"), servo);
    const std::string cur = (dir / "kurve.cur").string();
    ASSERT_EQ(runCli({"set", servo, "-o", servo, "--do", "servo_save_1=" + cur}).code, 0);
    const std::string out = (dir / "out.html").string();
    const auto contents = [&] { return readFile(a) + readFile(b) + readFile(servo) + readFile(cur); };
    const std::string before = contents();
    const int appending = ::open(a.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(appending, 0);
    const std::string descriptor = "/dev/fd/" + std::to_string(appending);

    const auto input = [](const std::string& o, const std::string& i) {
        return "Die Ausgabe \"" + o + "\" ist dieselbe Datei wie die Eingabe \"" + i +
               "\" und würde sie überschreiben. Es wurde nichts geschrieben.";
    };
    const auto twice = [](const std::string& x, const std::string& y) {
        return "Die Dateien \"" + x + "\" und \"" + y +
               "\" sind dieselbe Datei; die eine würde die andere überschreiben. Es wurde nichts geschrieben.";
    };
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;
    } cases[] = {
        {{"overview", a, "--html", a}, 2, input(a, a)},
        {{"overview", (dir / "anlage").string(), "--html", b}, 2, input(b, b)},
        {{"sheet", a, "--html", out, "--pdf", (dir / "." / "out.html").string()},
         1,
         twice(out, (dir / "." / "out.html").string())},
        {{"sheet", a, "--pdf", a}, 1, input(a, a)},
        {{"convert", a, "-o", descriptor}, 1, input(descriptor, a)},
        {{"set", a, "-o", descriptor, "--row", "1=5"}, 1, input(descriptor, a)},
        {{"set", servo, "-o", (dir / "x.hex").string(), "--do", "servo_save_1=" + servo}, 1, input(servo, servo)},
        {{"set", servo, "-o", cur, "--do", "servo_save_1=" + cur}, 1, twice(cur, cur)},
        {{"set", servo, "-o", cur, "--do", "servo_load_1=" + cur}, 1, input(cur, cur)},
    };
    for (const auto& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.code, c.code) << c.args[0] << " " << c.args.back();
        EXPECT_TRUE(has(r.err, c.message)) << r.err;
        EXPECT_EQ(contents(), before) << c.args[0] << " " << c.args.back();
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(dir / "x.hex"));
    }
    ::close(appending);

    // saving over the input by its name replaces it, as the window's save does
    EXPECT_EQ(runCli({"convert", a, "-o", a}).code, 0);
    fs::remove_all(dir);
}

// A file with further names whose write in place fails leaves the other names with the old
// firmware: the run fails (exit 1) and says which names hold what.
TEST(CliTools, ASaveThatMissesSomeNamesOfTheFileFails)
{
    const auto dir = tempDir("cli-hardlink-full");
    const std::string in = write(dir, "in.hex", turnout(0x208, {17, 18}).lines());
    const std::string out = write(dir, "out.hex", {"old"});
    fs::create_hard_link(out, dir / "other-name.hex");
    hz::FailNextWriteInPlace(ENOSPC);
    const CliRun r = runCli({"convert", in, "-o", out});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(has(r.err, "hexzwirbel-cli: " + out + ": Fehler: Die Datei \"" + out +
                               "\" hat weitere Namen (harte Verknüpfungen)."))
        << r.err;
    EXPECT_TRUE(has(r.err, "Unter \"" + (dir / "other-name.hex").string() + "\" steht weiter die alte Fassung."))
        << r.err;
    EXPECT_EQ(readFile((dir / "other-name.hex").string()), "old\r\n");
    const std::string expected = (dir / "expected.hex").string();
    ASSERT_EQ(runCli({"convert", in, "-o", expected}).code, 0);
    EXPECT_EQ(readFile(out), readFile(expected)); // the saved name holds the new file
    fs::remove_all(dir);
}

// A series whose third file cannot be written leaves none of the three on disk.
TEST(CliSeries, AllFilesOrNone)
{
    const auto dir = tempDir("cli-series-all");
    const std::string in = write(dir, "in.hex", turnout(0x308, {1, 2}).lines());
    writeFile((dir / "d2.hex").string(), "old second\r\n");
    fs::create_directory(dir / "d3.hex");
    const CliRun r = runCli({"series", in, "-o", (dir / "d{n}.hex").string(), "--count", "3"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(has(r.err, "d3.hex\" konnte nicht geschrieben werden: Es ist ein Ordner")) << r.err;
    EXPECT_TRUE(has(r.err, "keine Datei der Serie geschrieben.")) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_FALSE(fs::exists(dir / "d1.hex"));
    EXPECT_EQ(readFile((dir / "d2.hex").string()), "old second\r\n");
    // no temporary file left beside them
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);
    fs::remove_all(dir);
}

// Two files whose program differs (another jump target) are different firmware, even where
// every row and every page reads the same; a page's own table in program memory is the page's.
TEST(CliTools, DiffCountsTheProgramWordsNoPageShows)
{
    const auto dir = tempDir("cli-diff-program");
    const std::string a = fixture("classic_629_turnout.hex");
    std::string text = readFile(a);
    // word 2, "goto start" (0x2805), becomes "goto 6" in the first data record
    const std::size_t first = text.find(":10000000");
    ASSERT_NE(first, std::string::npos);
    std::string data = text.substr(first + 9, 32);
    ASSERT_EQ(data.substr(8, 4), "0528");
    data.replace(8, 2, "06");
    text.replace(first, 9 + 32 + 2, rec(0, data));
    const std::string b = (dir / "b.hex").string();
    writeFile(b, text);

    const CliRun same = runCli({"diff", a, a, "--json"});
    EXPECT_EQ(same.code, 0);
    EXPECT_TRUE(has(same.out, "\"count\": 0,\n  \"program_words\": 0,\n")) << same.out;
    const CliRun plain = runCli({"diff", a, b});
    EXPECT_EQ(plain.code, 1) << plain.out;
    EXPECT_TRUE(has(plain.out, "\nKeine Unterschiede in den Einstellungen.\nDas Programm ist verschieden: 1 "
                               "Programmwort, das keine Seite zeigt.\n"))
        << plain.out;
    const CliRun json = runCli({"diff", a, b, "--json"});
    EXPECT_EQ(json.code, 1);
    EXPECT_TRUE(JsonCheck(json.out).valid());
    EXPECT_TRUE(has(json.out, "\"count\": 0,\n  \"program_words\": 1,\n")) << json.out;
    // with a setting changed as well, both are told
    const std::string c = (dir / "c.hex").string();
    ASSERT_EQ(runCli({"set", b, "-o", c, "--row", "1=18"}).code, 0);
    const CliRun both = runCli({"diff", a, c});
    EXPECT_EQ(both.code, 1);
    EXPECT_TRUE(has(both.out, "\n1 Unterschied:\n  Zeile 1 <Weiche>: Adresse: 17 → 18\nDas Programm ist verschieden: 1 "
                              "Programmwort, das keine Seite zeigt.\n"))
        << both.out;
    fs::remove_all(dir);
}
