// overview: the firmware files of a layout folder in text, JSON, CSV and HTML, with the exit
// codes a script tests.

#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "JsonCheck.h"
#include "TestFiles.h"

using namespace hz::test;
namespace fs = std::filesystem;

namespace {

const std::string kLayout = std::string(HZ_FIXTURE_DIR) + "/layout";

} // namespace

TEST(CliOverview, TextListsDecodersRowsAndDoubleUses)
{
    const CliRun r = runCli({"overview", kLayout});
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_TRUE(has(r.out, kLayout + "/relais_dcc.hex\n  Relaisdekoder 8, V 3.61, PIC 684, Format DCC\n")) << r.out;
    EXPECT_TRUE(has(r.out, "   1  Weiche                                   17 rot   <- doppelt\n")) << r.out;
    EXPECT_TRUE(has(r.out, "Doppelt belegte Adressen:\n  Mot-Zubehör 17 rot:\n    " + kLayout +
                               "/weiche_a.hex, Zeile 1 (Weiche)\n    " + kLayout + "/weiche_b.hex, Zeile 1 (Weiche)\n"))
        << r.out;
    EXPECT_TRUE(has(r.out, "  Mot-Funktion 5 F1:\n")) << r.out;
    EXPECT_TRUE(has(r.out, "4 Dateien, 4 Dekoder geladen, 2 Adressen doppelt belegt.")) << r.out;
    EXPECT_TRUE(has(r.err, "hexzwirbel-cli: overview: Warnung: 2 Adressen sind doppelt belegt.")) << r.err;
}

TEST(CliOverview, JsonShape)
{
    const CliRun r = runCli({"overview", "--json", kLayout});
    EXPECT_EQ(r.code, 1) << r.err;
    JsonCheck check(r.out);
    ASSERT_TRUE(check.valid()) << "at " << check.at() << ": " << r.out;
    EXPECT_EQ(r.out.rfind("{\n  \"schema\": 1,", 0), 0u);
    EXPECT_TRUE(has(r.out, "{\"file\": \"" + kLayout +
                               "/relais_dcc.hex\", \"type\": \"Relaisdekoder 8\", \"identifier\": 105, \"version\": "
                               "\"3.61\", \"pic\": 684, \"address_format\": \"DCC\""))
        << r.out;
    EXPECT_TRUE(has(r.out, "{\"row\": 1, \"caption\": \"Ausgang / Out 1\", \"address\": 17, \"state\": \"red\", "
                           "\"function\": null, \"space\": \"dcc_accessory\", \"double_use\": false}"))
        << r.out;
    // The undecodable row: no address, no space.
    EXPECT_TRUE(has(r.out, "{\"row\": 4, \"caption\": \"Ausgang / Out 4\", \"address\": null, \"state\": \"red\", "
                           "\"function\": null, \"space\": null, \"double_use\": false}"))
        << r.out;
    EXPECT_TRUE(has(r.out, "{\"space\": \"mot_accessory\", \"address\": 17, \"state\": \"red\", \"command\": "
                           "\"Mot-Zubehör 17 rot\", \"uses\": [{\"file\": \"" +
                               kLayout + "/weiche_a.hex\", \"row\": 1, \"caption\": \"Weiche\"}, {\"file\": \"" +
                               kLayout + "/weiche_b.hex\", \"row\": 1, \"caption\": \"Weiche\"}]}"))
        << r.out;
    EXPECT_TRUE(has(r.out, "{\"space\": \"mot_function\", \"address\": 5, \"function\": 1,")) << r.out;
    EXPECT_TRUE(has(r.out, "\"errors\": []")) << r.out;
}

TEST(CliOverview, CsvAndHtml)
{
    const fs::path dir = tempDir("cli-overview");
    const std::string page = (dir / "anlage.html").string();
    const CliRun csv = runCli({"overview", kLayout, "--csv", "--html", page});
    EXPECT_EQ(csv.code, 1) << csv.err;
    EXPECT_EQ(csv.out.rfind("Datei;Typ;Version;PIC;Format;Zeile;Bezeichnung;Adresse;R/G;Funktion;Doppelt belegt;"
                            "Auch in;Fehler\r\n",
                            0),
              0u);
    EXPECT_TRUE(has(csv.out, kLayout +
                                 "/weiche_b.hex;Stellino  ab V3.51;3.51;629;Mot;1;Weiche;17;rot;;Mot-Zubehör 17 "
                                 "rot;" +
                                 kLayout + "/weiche_a.hex: Weiche;\r\n"))
        << csv.out;
    const std::string html = readFile(page);
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_TRUE(has(html, "<tr class=\"doppelt\">"));
    EXPECT_TRUE(has(html, "</html>"));

    const CliRun toStdout = runCli({"overview", kLayout, "--html", "-"});
    EXPECT_EQ(toStdout.code, 1);
    EXPECT_EQ(toStdout.out.rfind("<!DOCTYPE html>", 0), 0u);
    fs::remove_all(dir);
}

TEST(CliOverview, ExitCodes)
{
    const fs::path dir = tempDir("cli-overview-codes");
    const std::string a = kLayout + "/weiche_a.hex", relais = kLayout + "/relais_dcc.hex";
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int code;
        const char* err;
    };
    const Case cases[] = {
        {"no double use: Mot 17 red and DCC 17 red", {"overview", a, relais}, 0, ""},
        {"a double use", {"overview", kLayout}, 1, "Warnung: 2 Adressen"},
        {"a path that is not there",
         {"overview", a, (dir / "fehlt").string()},
         2,
         "Fehler: Datei oder Ordner nicht gefunden."},
        {"a page that cannot be written",
         {"overview", a, "--html", (dir / "fehlt" / "x.html").string()},
         2,
         "x.html: Fehler:"},
        {"--json and --csv", {"overview", a, "--json", "--csv"}, 2, "schließen sich aus"},
        {"no path", {"overview"}, 2, "Erwartet: mindestens einen Ordner oder eine Datei"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.code, c.code) << c.what << "\n" << r.err;
        EXPECT_TRUE(has(r.err, c.err)) << c.what << "\n" << r.err;
    }
    // A file that does not load is listed and the rest still counts: exit 1 for the double use.
    fs::copy_file(kLayout + "/weiche_a.hex", dir / "a.hex");
    fs::copy_file(kLayout + "/weiche_b.hex", dir / "b.hex");
    writeFile((dir / "leer.hex").string(), "");
    const CliRun r = runCli({"overview", "--json", dir.string()});
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_TRUE(JsonCheck(r.out).valid());
    EXPECT_TRUE(has(r.out, "\"errors\": [\n    {\"file\": \"" + (dir / "leer.hex").string() + "\", \"reason\": "))
        << r.out;
    fs::remove_all(dir);
}
