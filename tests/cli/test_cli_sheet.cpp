// sheet: the settings sheet as HTML (in-process) and as PDF (the real program, with no display).

#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "HexRecords.h"
#include "TestFiles.h"

using namespace hz::test;
namespace fs = std::filesystem;

TEST(CliSheet, HtmlToStdoutOrIntoAFile)
{
    const std::string servo = fixture("servo_kornel4.hex");
    const CliRun r = runCli({"sheet", servo});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("<!DOCTYPE html>", 0), 0u);
    for (const char* part : {"<td>Kornel-4 Servo-Dekoder</td>", "<td>16F684</td>", "<h2>Adressen</h2>",
                             "<h2>Servokurven</h2>", "Kurve 4: ", "<svg ", "Gedruckt am "})
        EXPECT_TRUE(has(r.out, part)) << part;
    EXPECT_TRUE(has(r.out, "<td>" + servo + "</td>"));

    const auto dir = tempDir("cli-sheet");
    const std::string out = (dir / "blatt.html").string();
    const CliRun f = runCli({"sheet", servo, "--html", out});
    EXPECT_EQ(f.code, 0) << f.err;
    EXPECT_EQ(f.out, "");
    EXPECT_EQ(readFile(out), r.out);
    fs::remove_all(dir);
}

// The sheet says where the file is, also when it was named from the folder the tool ran in; the
// standard input has no name.
TEST(CliSheet, FileLineIsTheAbsoluteName)
{
    const auto dir = tempDir("cli-sheet-name");
    fs::create_directories(dir / "anlage");
    fs::copy_file(fixture("servo_kornel4.hex"), dir / "anlage" / "weiche.hex");
    const std::string out = (dir / "out.html").string();
    EXPECT_EQ(shell("cd " + shellWord((dir / "anlage").string()) + " && " + shellWord(HZ_CLI_EXE) +
                    " sheet ./weiche.hex > " + shellWord(out)),
              0);
    const std::string absolute = fs::canonical(dir / "anlage").string() + "/weiche.hex";
    EXPECT_TRUE(has(readFile(out), "<th>Datei</th><td>" + absolute + "</td>")) << readFile(out);
    EXPECT_EQ(shell(shellWord(HZ_CLI_EXE) + " sheet - < " + shellWord((dir / "anlage" / "weiche.hex").string()) +
                    " > " + shellWord(out)),
              0);
    EXPECT_TRUE(has(readFile(out), "<th>Datei</th><td>–</td>"));
    fs::remove_all(dir);
}

TEST(CliSheet, BadInputIsRefusedLikeEveryCommandRefusesIt)
{
    const auto dir = tempDir("cli-sheet-bad");
    const std::string missing = (dir / "fehlt.hex").string();
    const std::string out = (dir / "blatt.html").string();
    const CliRun m = runCli({"sheet", missing, "--html", out});
    EXPECT_EQ(m.code, 1);
    EXPECT_TRUE(has(m.err, "hexzwirbel-cli: " + missing + ": Fehler: nicht geladen, kein Einstellungsblatt.\n"))
        << m.err;
    EXPECT_FALSE(fs::exists(out));

    const std::string unknown = (dir / "unknown.hex").string();
    writeFile(unknown, joinCrLf({rec(0x0000, "02300430"), rec(0x4000, "0100030006000000"), rec(0x400E, "C431"),
                                 rec(0x4200, "1200"), kEnd}));
    const CliRun u = runCli({"sheet", unknown, "--html", out});
    EXPECT_EQ(u.code, 1);
    EXPECT_TRUE(
        has(u.err, "hexzwirbel-cli: " + unknown +
                       ": Fehler: Der Dekodertyp ist nicht erkannt; ohne ihn gibt es kein Einstellungsblatt.\n"))
        << u.err;
    EXPECT_FALSE(fs::exists(out));

    EXPECT_EQ(runCli({"sheet"}).code, 2);
    EXPECT_EQ(runCli({"sheet", fixture("servo_kornel4.hex"), "--html", "-", "--pdf", "-"}).code, 2);
    // The sheet never overwrites the firmware it describes.
    const std::string copy = (dir / "copy.hex").string();
    fs::copy_file(fixture("servo_kornel4.hex"), copy);
    const std::string before = readFile(copy);
    EXPECT_EQ(runCli({"sheet", copy, "--pdf", copy}).code, 1);
    EXPECT_EQ(readFile(copy), before);
    fs::remove_all(dir);
}

// The real program, as a batch script runs it on a machine without any display.
TEST(CliSheet, PdfWithoutADisplay)
{
    if (!webCli().empty())
        GTEST_SKIP() << "WebAssembly has no Qt print module: PdfWithoutTheModuleWritesNothing checks what it says";
    const auto dir = tempDir("cli-sheet-pdf");
    const std::string pdf = (dir / "blatt.pdf").string();
    const std::string html = (dir / "blatt.html").string();
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + std::string(HZ_CLI_EXE) +
                                "' sheet '" + fixture("classic_684_blinkmuster.hex") + "' --pdf '" + pdf +
                                "' --html '" + html + "' 2> '" + (dir / "err").string() + "'";
    EXPECT_EQ(shell(command), 0);
    const std::string bytes = readFile(pdf);
    EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
    EXPECT_TRUE(has(bytes, "%%EOF"));
    EXPECT_TRUE(has(readFile(html), "<h2>Blinkmuster</h2>"));
    // Qt's own remarks stay out of the tool's messages.
    EXPECT_EQ(readFile((dir / "err").string()), "");
    fs::remove_all(dir);
}

// A tool installed without its PDF module says so and writes nothing, not even the HTML; so
// does the WebAssembly tool, which has none.
TEST(CliSheet, PdfWithoutTheModuleWritesNothing)
{
    const auto dir = tempDir("cli-sheet-module");
    std::string tool = cliCommand(), why = "Das PDF entsteht mit dem Druckmodul von Qt, das es in der "
                                           "WebAssembly-Fassung nicht gibt.";
    if (webCli().empty()) {
        tool = (dir / "hexzwirbel-cli").string();
        fs::copy_file(HZ_CLI_EXE, tool);
        fs::permissions(tool, fs::perms::owner_all);
        tool = shellWord(tool);
        why = "Das PDF-Modul hexzwirbel-sheet-pdf.so fehlt neben dem Programm; ohne es gibt es kein PDF.";
    }
    const std::string html = (dir / "blatt.html").string();
    const std::string err = (dir / "err").string();
    EXPECT_EQ(shell(tool + " sheet '" + fixture("servo_kornel4.hex") + "' --html '" + html + "' --pdf '" +
                    (dir / "blatt.pdf").string() + "' 2> '" + err + "'"),
              1);
    EXPECT_TRUE(has(readFile(err), ": Fehler: " + why + " Nichts geschrieben.\n")) << readFile(err);
    EXPECT_FALSE(fs::exists(html));
    EXPECT_FALSE(fs::exists(dir / "blatt.pdf"));
    fs::remove_all(dir);
}
