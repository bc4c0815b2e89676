// The servo pages through the command-line tool, on a gpasm-built firmware of each of the five
// servo decoder types: info --json shows the pages and their table; set --do draws, shapes,
// saves a set-up, sets addresses and pulse ranges and writes it all into the saved file; diff
// names a changed curve point and migrate carries the table into another servo firmware.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "CliRun.h"
#include "TestFiles.h"

using namespace hz::test;

namespace {

struct ServoFixture {
    const char* file;
    bool kornel4;
    bool threshold;
};

// The curve page's block of an info --json output.
std::string curvePage(const std::string& out)
{
    const std::size_t from = out.find("{\"frame\": \"TFrameKornel\"");
    const std::size_t to = out.find("{\"frame\": \"TFrameKornelAdr\"");
    return from == std::string::npos ? std::string() : out.substr(from, to == std::string::npos ? to : to - from);
}

// The address page's block.
std::string addressPage(const std::string& out)
{
    const std::size_t from = out.find("{\"frame\": \"TFrameKornelAdr\"");
    return from == std::string::npos ? std::string() : out.substr(from);
}

// One control's entry of a page block, up to the next control.
std::string control(const std::string& page, const std::string& name)
{
    const std::size_t from = page.find("{\"name\": \"" + name + "\"");
    if (from == std::string::npos)
        return {};
    const std::size_t to = page.find("{\"name\": ", from + 1);
    return page.substr(from, to == std::string::npos ? to : to - from);
}

std::vector<int> dataOf(const std::string& page)
{
    std::vector<int> values;
    const std::size_t at = page.find("\"data\": [");
    if (at == std::string::npos)
        return values;
    std::istringstream in(page.substr(at + 9, page.find(']', at) - at - 9));
    std::string item;
    while (std::getline(in, item, ','))
        values.push_back(std::stoi(item));
    return values;
}

class CliServo : public ::testing::TestWithParam<ServoFixture> {};

} // namespace

TEST_P(CliServo, InfoShowsThePageAndSetDoDrivesIt)
{
    const ServoFixture& f = GetParam();
    const std::string in = fixture(f.file);
    const CliRun info = runCli({"info", in, "--json"});
    ASSERT_EQ(info.code, 0) << info.err;
    const std::string page = curvePage(info.out);
    ASSERT_FALSE(page.empty()) << info.out.substr(0, 3000);
    EXPECT_NE(page.find("\"pending\": false"), std::string::npos);
    const std::vector<int> data = dataOf(page);
    ASSERT_EQ(data.size(), 512u);
    // record 1 point 0: position 7 with the relay on; the counts of the four records
    EXPECT_EQ(data[0], 0x87);
    EXPECT_EQ((std::vector<int>{data[101], data[229], data[357], data[485]}), (std::vector<int>{10, 5, 100, 0}));
    EXPECT_NE(page.find("{\"name\": \"servo_Image2\", \"kind\": \"image\", \"visible\": " +
                        std::string(f.kornel4 ? "true" : "false")),
              std::string::npos);
    EXPECT_NE(page.find("{\"name\": \"edt_kornelchen_schwelle\", \"kind\": \"edit\", \"visible\": " +
                        std::string(f.threshold ? "true, \"enabled\": true, \"text\": \"64\"" : "false")),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("\"caption\": \"Zeit zwischen 2 Punkten = 200 ms\""), std::string::npos);

    // curve 2 (5 points): Lin 0 31 63 95 127, halved 0 15 31 47 63, point 0 drawn to the top
    const auto dir = tempDir("cli-servo");
    const std::string out = (dir / "out.hex").string();
    const std::string set = (dir / "setup.set").string();
    const CliRun run = runCli({"set", in, "-o", out, "--do", "servo_rad_a2", "--do", "btn_Lin", "--do", "edt_scale=0,5",
                               "--do", "btn_scale", "--do", "servo_Image1=draw:26,0", "--do", "servo_save_all=" + set});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<int> after = dataOf(curvePage(runCli({"info", out, "--json"}).out));
    ASSERT_EQ(after.size(), 512u);
    EXPECT_EQ((std::vector<int>(after.begin() + 128, after.begin() + 133)), (std::vector<int>{127, 15, 31, 47, 63}));
    for (int e : {0, 133, 227, 256, 511})
        EXPECT_EQ(after[static_cast<std::size_t>(e)], data[static_cast<std::size_t>(e)]) << e;
    // the set-up file holds the table as it was when it was saved: entry 128 on line 256
    const std::string setText = readFile(set);
    EXPECT_EQ(std::count(setText.begin(), setText.end(), '\n'), 512);
    std::istringstream lines(setText);
    std::string line;
    for (int k = 0; k <= 256; ++k)
        std::getline(lines, line);
    EXPECT_EQ(line, "127\r");

    // the set-up loads into the untouched firmware and is saved with it
    const std::string out2 = (dir / "out2.hex").string();
    const CliRun load = runCli({"set", in, "-o", out2, "--do", "servo_load_all=" + set});
    ASSERT_EQ(load.code, 0) << load.err;
    EXPECT_EQ(dataOf(curvePage(runCli({"info", out2, "--json"}).out)), after);

    // refused: a bad curve file, and the relay graph where the type has none
    const std::string bad = (dir / "bad.cur").string();
    writeFile(bad, "1\r\nzwei\r\n");
    const std::string out3 = (dir / "out3.hex").string();
    const CliRun refused = runCli({"set", in, "-o", out3, "--do", "servo_load_1=" + bad});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("Dieses File enthält ungültige Zeichen (kein Zahlenwert) in Zeile 1"), std::string::npos)
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(out3));
    const CliRun relay = runCli({"set", in, "-o", out3, "--do", "servo_Image2=draw:0,0"});
    EXPECT_EQ(relay.code, f.kornel4 ? 0 : 1) << relay.err;
    if (!f.kornel4) {
        EXPECT_NE(relay.err.find("\"servo_Image2\" ist nicht sichtbar."), std::string::npos);
    }
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(FiveTypes, CliServo,
                         ::testing::Values(ServoFixture{"servo_kornel4.hex", true, false},
                                           ServoFixture{"servo_kornelchen.hex", false, false},
                                           ServoFixture{"servo_kornelchen_358.hex", false, true},
                                           ServoFixture{"servo_kornelchen_v2.hex", false, true},
                                           ServoFixture{"servo_kornelchen_f.hex", false, false}),
                         [](const auto& param) {
                             std::string n = param.param.file;
                             return n.substr(0, n.find('.'));
                         });

TEST(CliServoAddresses, SetDoChoosesAddressesAndStepsPulsesIntoTheSavedFile)
{
    const struct Case {
        const char* file;
        std::vector<std::string> actions;
        // control -> what its entry in info --json of the saved file holds
        std::vector<std::pair<std::string, std::string>> shown;
        std::vector<int> pulses;
        int entry, value; // a table entry of the saved file
    } cases[] = {
        {"servo_kornel4.hex",
         {"cbx_a6_servo=Servo 3", "cbx_a6_action=Beenden", "btn_inc10faktor_1", "btn_inc1offset_2", "cbx_no_ir_3=1"},
         {{"cbx_a6_servo", "\"selected\": 2"},
          {"cbx_a6_action", "\"selected\": 3"},
          {"cbx_a6_curve", "\"visible\": false"},
          {"cbx_a6_relais", "\"visible\": false"},
          {"servo_edt_max_1", "\"text\": \"2,088\""},
          {"servo_edt_Offset_2", "\"text\": \"1,008\""},
          {"cbx_no_ir_3", "\"checked\": true"}},
         {125, 10, 126, 127, 50, 128, 255, 253},
         128 + 106,
         0x44},
        // the function-decoder type: row 2 is "Adresse 01 aus", with an action and a curve list
        {"servo_kornelchen_f.hex",
         {"cbx_a2_action=Abbruch", "btn_dec10offset_1"},
         {{"lbl_servo_adresse02", "\"caption\": \"Adresse 01 aus\""},
          {"cbx_a2_action", "\"selected\": 2"},
          {"cbx_a2_curve", "\"visible\": false"},
          {"servo_edt_Offset_1", "\"text\": \"0,920\""}},
         {115, 0, 125, 127, 50, 128, 255, 253},
         128 + 103,
         0x22},
    };
    const auto dir = tempDir("cli-servo-adr");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string out = (dir / "out.hex").string();
        std::vector<std::string> args{"set", fixture(c.file), "-o", out};
        for (const std::string& a : c.actions) {
            args.push_back("--do");
            args.push_back(a);
        }
        const CliRun run = runCli(args);
        ASSERT_EQ(run.code, 0) << run.err;
        // the saved file, loaded again, shows what was set
        const CliRun info = runCli({"info", out, "--json"});
        ASSERT_EQ(info.code, 0) << info.err;
        const std::string adr = addressPage(info.out);
        for (const auto& [name, part] : c.shown)
            EXPECT_TRUE(has(control(adr, name), part)) << name << ": " << control(adr, name);
        EXPECT_EQ(dataOf(adr), c.pulses);
        EXPECT_TRUE(has(adr, "{\"frame\": \"TFrameKornelAdr\", \"pending\": false,"));
        const std::vector<int> table = dataOf(curvePage(info.out));
        ASSERT_EQ(table.size(), 512u);
        EXPECT_EQ(table[static_cast<std::size_t>(c.entry)], c.value);
        std::filesystem::remove(out);
    }
    std::filesystem::remove_all(dir);
}

TEST(CliServoAddresses, ReadOnlyPulseTimesAndHiddenRowsAreRefused)
{
    const auto dir = tempDir("cli-servo-refused");
    const std::string out = (dir / "out.hex").string();
    const struct Case {
        const char* file;
        std::vector<std::string> actions;
        std::string message;
    } cases[] = {
        {"servo_kornel4.hex", {"servo_edt_Offset_1=1"}, "\"servo_edt_Offset_1\" zeigt nur an und nimmt keine Eingabe."},
        // a refusal after an accepted step: nothing of the run is written
        {"servo_kornel4.hex",
         {"btn_inc10offset_1", "servo_edt_max_2=3,000"},
         "\"servo_edt_max_2\" zeigt nur an und nimmt keine Eingabe."},
        {"servo_kornelchen.hex", {"cbx_a6_servo=Servo 3"}, "\"cbx_a6_servo\" ist nicht sichtbar."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.actions.back());
        std::vector<std::string> args{"set", fixture(c.file), "-o", out};
        for (const std::string& a : c.actions) {
            args.push_back("--do");
            args.push_back(a);
        }
        const CliRun run = runCli(args);
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(has(run.err, c.message)) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    std::filesystem::remove_all(dir);
}

TEST(CliServoTools, DiffNamesTheChangedCurvePoint)
{
    const auto dir = tempDir("cli-servo-diff");
    const std::string a = fixture("servo_kornel4.hex");
    EXPECT_EQ(runCli({"diff", a, a}).code, 0);
    // point 1 of curve 1 (20) drawn to the top; and the same through a curve file
    const std::string drawn = (dir / "drawn.hex").string();
    ASSERT_EQ(runCli({"set", a, "-o", drawn, "--do", "servo_Image1=draw:26,0"}).code, 0);
    const std::string cur = (dir / "kurve.cur").string();
    ASSERT_EQ(runCli({"set", drawn, "-o", (dir / "x.hex").string(), "--do", "servo_save_1=" + cur}).code, 0);
    const std::string loaded = (dir / "loaded.hex").string();
    ASSERT_EQ(runCli({"set", a, "-o", loaded, "--do", "servo_load_1=" + cur}).code, 0);
    for (const std::string& b : {drawn, loaded}) {
        const CliRun json = runCli({"diff", a, b, "--json"});
        EXPECT_EQ(json.code, 1) << json.err;
        EXPECT_TRUE(has(json.out,
                        "\"differences\": [\n    {\"where\": \"data\", \"name\": \"FrameKornel1:Kurve 1 Punkte[1]\", "
                        "\"caption\": \"Kurve 1 Punkte\", \"a\": \"20\", \"b\": \"127\"}\n  ]\n}"))
            << json.out;
        const CliRun text = runCli({"diff", a, b});
        EXPECT_EQ(text.code, 1);
        EXPECT_TRUE(has(text.out, "1 Unterschied:\n  Kurve 1 Punkte[1]: 20 → 127\n")) << text.out;
    }
    // a pulse step and an address: named by their parts and their lists
    const std::string adr = (dir / "adr.hex").string();
    ASSERT_EQ(runCli({"set", a, "-o", adr, "--do", "btn_inc1faktor_3", "--do", "cbx_a1_curve=Kurve 4"}).code, 0);
    const CliRun json = runCli({"diff", a, adr, "--json"});
    EXPECT_TRUE(has(json.out,
                    "{\"where\": \"data\", \"name\": \"FrameKornel1:Adresse 1 Kurve/Relais[0]\", \"caption\": "
                    "\"Adresse 1 Kurve/Relais\", \"a\": \"17\", \"b\": \"129\"}"))
        << json.out;
    EXPECT_TRUE(has(json.out, "{\"where\": \"page\", \"name\": \"cbx_a1_curve\", \"caption\": \"Adresse 01\", \"a\": "
                              "\"Kurve 1\", \"b\": \"Kurve 4\"}"));
    EXPECT_TRUE(has(json.out, "{\"where\": \"data\", \"name\": \"FrameKornelAdr1:Servo 3 Impuls-Zeit Max[0]\", "
                              "\"caption\": \"Servo 3 Impuls-Zeit Max\", \"a\": \"128\", \"b\": \"129\"}"));
    std::filesystem::remove_all(dir);
}

TEST(CliServoTools, MigrateCarriesTheWorkingCopyIntoAnotherServoFirmware)
{
    const auto dir = tempDir("cli-servo-migrate");
    // a Kornelchen with a point drawn, address 2 on curve 4 and servo 1's minimum lowered,
    // carried into the Kornelchen from V3.58 (same table, and the threshold of X7)
    const std::string old = (dir / "alt.hex").string();
    ASSERT_EQ(runCli({"set", fixture("servo_kornelchen.hex"), "-o", old, "--do", "servo_Image1=draw:26,0", "--do",
                      "cbx_a2_curve=Kurve 4", "--do", "btn_dec10offset_1"})
                  .code,
              0);
    const std::string out = (dir / "neu.hex").string();
    const CliRun run =
        runCli({"migrate", old, fixture("servo_kornelchen_358.hex"), "-o", out, "--strict", "--unchanged"});
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    EXPECT_TRUE(has(run.out, "  Kurventabelle (alle vier Kurven): 512 Werte (bisher andere Werte)\n")) << run.out;
    EXPECT_TRUE(has(run.out, "  Impuls-Zeiten (Min und Max der Servos): 8 Werte (bisher andere Werte)\n")) << run.out;
    // what NEU held before its table came across, not what the carried table shows
    EXPECT_TRUE(has(run.out, "  Adresse 02: Kurve: Kurve 4 (bisher Kurve 2)\n")) << run.out;
    // a push-button list without a selection in both files is no setting lost
    EXPECT_TRUE(has(run.out, "  Taster 4 open: (leer) (unverändert)\n")) << run.out;
    EXPECT_TRUE(has(run.out, "Nicht übernommen (0):\n")) << run.out;

    const std::string before = runCli({"info", old, "--json"}).out;
    const std::string after = runCli({"info", out, "--json"}).out;
    EXPECT_TRUE(has(after, "\"type\": \"Kornelchen Servo-Dekoder ab V3.58\"")) << after.substr(0, 400);
    EXPECT_EQ(dataOf(curvePage(after)), dataOf(curvePage(before)));
    EXPECT_EQ(dataOf(addressPage(after)), dataOf(addressPage(before)));
    EXPECT_EQ(dataOf(curvePage(after))[1], 127);
    // nothing of the table differs any more; what is left is what the types differ in
    const CliRun diff = runCli({"diff", old, out, "--json"});
    EXPECT_FALSE(has(diff.out, "\"where\": \"data\"")) << diff.out;

    // Into the Kornel-4, which reads the table and the pulse bytes differently: neither copy
    // goes, and neither does what the pages show from them (an address's curve is an entry of
    // the table); diff finds the Kornel-4 as it was.
    const std::string k4 = (dir / "k4.hex").string();
    const CliRun across = runCli({"migrate", old, fixture("servo_kornel4.hex"), "-o", k4});
    ASSERT_EQ(across.code, 0) << across.out << across.err;
    EXPECT_TRUE(has(across.out,
                    "  Kurventabelle (alle vier Kurven): 512 Werte - Die Arbeitskopie ist in NEU anders aufgebaut "
                    "(Kornel-4: Adressen 01 bis 08 mit Servo und Relais, Servos 1 bis 4, Taster 1 und 2 statt "
                    "Kornelchen: Adressen 01 bis 04, Servo 1, Taster 3 und 4).\n"))
        << across.out;
    EXPECT_TRUE(has(across.out,
                    "  Impuls-Zeiten (Min und Max der Servos): 8 Werte - Die Arbeitskopie ist in NEU anders aufgebaut "
                    "(Impuls-Zeiten der Servos 1 bis 4 statt Impuls-Zeiten von Servo 1).\n"));
    EXPECT_TRUE(has(across.out, "  Adresse 02: Kurve: Kurve 4 - Der Wert steht in der Arbeitskopie "
                                "<Servokurven>, die nicht übernommen wird.\n"))
        << across.out;
    const CliRun after4 = runCli({"diff", fixture("servo_kornel4.hex"), k4});
    EXPECT_EQ(after4.code, 0) << after4.out;
    EXPECT_TRUE(has(after4.out, "Keine Unterschiede.")) << after4.out;
    std::filesystem::remove_all(dir);
}
