// overview: the firmware files of a layout folder in text, JSON, CSV and HTML, with the exit
// codes a script tests.

#include <gtest/gtest.h>

#include <unistd.h>

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

// A folder below an operand that the user may not read: its files are missing, so the
// overview cannot say "no double use" - exit 2, and the folder is named in every format. Run
// as an ordinary user (root reads everything; as root the test drops to "nobody").
TEST(CliOverview, AFolderTheUserCannotReadIsExit2)
{
    const fs::path dir = tempDir("cli-overview-locked");
    fs::create_directories(dir / "anlage" / "gesperrt");
    fs::copy_file(kLayout + "/weiche_a.hex", dir / "anlage" / "a.hex");
    fs::copy_file(kLayout + "/weiche_b.hex", dir / "anlage" / "gesperrt" / "b.hex");
    std::string as;
    if (::geteuid() == 0) {
        as = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
        if (shell(as + "true 2>/dev/null") != 0) {
            fs::remove_all(dir);
            GTEST_SKIP() << "cannot run as an unprivileged user here";
        }
        fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
        fs::permissions(dir / "anlage", fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
        fs::permissions(dir / "anlage" / "gesperrt", fs::perms::owner_all);
    } else {
        fs::permissions(dir / "anlage" / "gesperrt", fs::perms::none);
    }
    const std::string locked = (dir / "anlage" / "gesperrt").string();
    const std::string exe = HZ_CLI_EXE, out = (dir / "out").string(), err = (dir / "err").string();
    for (const char* format : {"", "--json", "--csv"}) {
        const int code = shell(as + "'" + exe + "' overview " + format + " '" + (dir / "anlage").string() + "' >'" +
                               out + "' 2>'" + err + "'");
        EXPECT_EQ(code, 2) << format << readFile(err);
        EXPECT_TRUE(has(readFile(err), locked + ": Fehler: Der Ordner kann nicht gelesen werden")) << readFile(err);
        EXPECT_TRUE(has(readFile(err), "Nicht jeder Ordner und nicht jede Datei ließ sich lesen")) << readFile(err);
        const std::string text = readFile(out);
        if (std::string(format) == "--json") {
            EXPECT_TRUE(JsonCheck(text).valid());
            EXPECT_TRUE(has(text, "\"failed\": true")) << text;
            EXPECT_TRUE(has(text, "{\"file\": \"" + locked + "\", \"reason\": \"Der Ordner kann nicht gelesen werden"))
                << text;
            EXPECT_TRUE(has(text, "\"unreadable\": true}")) << text;
        } else if (std::string(format) == "--csv") {
            EXPECT_TRUE(has(text, locked + ";")) << text;
        } else {
            EXPECT_TRUE(has(text, "davon 1 nicht lesbar: die Übersicht ist unvollständig.")) << text;
        }
    }
    fs::permissions(dir / "anlage" / "gesperrt", fs::perms::owner_all);
    fs::remove_all(dir);
}

// 16F18324 function decoders keep their address in CVs: two on short address 3 are a double
// use, long address 3 is another address, and CVs that give no address are said so.
TEST(CliOverview, CvDecodersInEveryFormat)
{
    const fs::path dir = tempDir("cli-overview-cv");
    const std::string f = fixture("f18324_function.hex");
    const auto path = [&](const char* name) { return (dir / name).string(); };
    fs::copy_file(f, path("kurz3_a.hex"));
    fs::copy_file(f, path("kurz3_b.hex"));
    ASSERT_EQ(runCli({"set", f, "-o", path("lang3.hex"), "--do", "CvEdits[6]=38", "--do", "CvEdits[4]=192", "--do",
                      "CvEdits[5]=3"})
                  .code,
              0);
    ASSERT_EQ(runCli({"set", f, "-o", path("lang3_b.hex"), "--do", "CvEdits[6]=38", "--do", "CvEdits[4]=200", "--do",
                      "CvEdits[5]=3"})
                  .code,
              0);
    ASSERT_EQ(runCli({"set", f, "-o", path("ohne.hex"), "--do", "CvEdits[0]=0"}).code, 0);

    const CliRun text = runCli({"overview", dir.string()});
    EXPECT_EQ(text.code, 1) << text.err;
    EXPECT_TRUE(has(text.out, "  CV  Lokadresse aus CV1                       3   <- doppelt\n")) << text.out;
    EXPECT_TRUE(has(text.out, "  CV  Lokadresse aus CV17/CV18                 3\n")) << text.out;
    EXPECT_TRUE(has(text.out, "  CV  Lokadresse aus CV17/CV18                 2051\n")) << text.out;
    EXPECT_TRUE(has(text.out, "Doppelt belegte Adressen:\n  DCC-Lok kurz 3:\n    " + path("kurz3_a.hex") +
                                  ", Lokadresse aus CV1\n    " + path("kurz3_b.hex") + ", Lokadresse aus CV1\n"))
        << text.out;
    EXPECT_TRUE(has(text.out, path("ohne.hex") +
                                  "\n  Forsta 16F18324, V 0.58, PIC 18324, Format DCC\n"
                                  "  Adresse nicht geprüft: CV1 = 0 ist keine kurze Adresse (1 bis 127).\n"))
        << text.out;
    EXPECT_TRUE(has(text.out, "1 Adresse doppelt belegt, Adresse nicht geprüft bei 1 Dekoder.")) << text.out;

    const CliRun json = runCli({"overview", "--json", dir.string()});
    EXPECT_TRUE(JsonCheck(json.out).valid());
    EXPECT_TRUE(has(json.out, "\"address_not_checked\": \"CV1 = 0 ist keine kurze Adresse (1 bis 127).\"")) << json.out;
    EXPECT_TRUE(has(json.out, "\"address_not_checked\": null")) << json.out;
    EXPECT_TRUE(has(json.out, "{\"row\": 0, \"caption\": \"Lokadresse aus CV1\", \"address\": 3, \"state\": null, "
                              "\"function\": null, \"space\": \"dcc_loco_short\", \"double_use\": true}"))
        << json.out;
    EXPECT_TRUE(has(json.out, "\"space\": \"dcc_loco_long\", \"double_use\": false}")) << json.out;
    EXPECT_TRUE(has(json.out, "{\"space\": \"dcc_loco_short\", \"address\": 3, \"command\": "
                              "\"DCC-Lok kurz 3\""))
        << json.out;

    const std::string csv = runCli({"overview", "--csv", dir.string()}).out;
    EXPECT_TRUE(has(csv, path("ohne.hex") + ";Forsta 16F18324;0.58;18324;DCC;;;;;;Adresse nicht geprüft: CV1 = 0 "
                                            "ist keine kurze Adresse (1 bis 127).;;\r\n"))
        << csv;
    const std::string html = runCli({"overview", "--html", "-", dir.string()}).out;
    EXPECT_TRUE(has(html, "<h2>Adresse nicht geprüft</h2>")) << html;
    EXPECT_TRUE(has(html, "<b>DCC-Lok kurz 3</b>: " + path("kurz3_a.hex") + " &ndash; Lokadresse aus CV1")) << html;
    fs::remove_all(dir);
}
