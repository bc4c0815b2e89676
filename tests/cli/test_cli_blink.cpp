// The blink pattern pages driven headless: `info --json` shows the working copy and the
// controls, `set --do` paints, types, selects and copies, and the save takes the pending
// working copy over into the written file.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "CliRun.h"
#include "TestFiles.h"

using namespace hz::test;

namespace {

// The "data" array of the first page in `info --json` output.
std::vector<int> pageData(const std::string& json)
{
    std::vector<int> data;
    const std::size_t at = json.find("\"data\": [");
    if (at == std::string::npos)
        return data;
    std::istringstream in(json.substr(at + 9, json.find(']', at) - at - 9));
    std::string item;
    while (std::getline(in, item, ','))
        data.push_back(std::stoi(item));
    return data;
}

std::string control(const std::string& json, const std::string& name)
{
    const std::size_t at = json.find("{\"name\": \"" + name + "\"");
    return at == std::string::npos ? std::string() : json.substr(at, json.find('}', at) - at + 1);
}

struct Saved {
    CliRun run;
    std::string info; // info --json of the written file
    std::vector<int> data;
};

Saved setAndReload(const std::string& in, const std::string& out, const std::vector<std::string>& actions)
{
    std::vector<std::string> args{"set", in, "-o", out};
    for (const auto& a : actions) {
        args.push_back("--do");
        args.push_back(a);
    }
    Saved s{runCli(args), {}, {}};
    if (s.run.code == 0) {
        s.info = runCli({"info", out, "--json"}).out;
        s.data = pageData(s.info);
    }
    std::filesystem::remove(out);
    return s;
}

} // namespace

TEST(CliBlink, FourOutputPageShowsPaintsCopiesAndSaves)
{
    const auto dir = tempDir("cli-blink");
    const std::string in = fixture("classic_684_blinkmuster.hex");
    const std::string out = (dir / "out.hex").string();

    const CliRun info = runCli({"info", in, "--json"});
    ASSERT_EQ(info.code, 0);
    EXPECT_NE(info.out.find("{\"frame\": \"TFrameBlinkmuster\", \"pending\": false,"), std::string::npos);
    const std::vector<int> table = pageData(info.out);
    ASSERT_EQ(table.size(), 256u);
    EXPECT_EQ(std::vector<int>(table.begin(), table.begin() + 4), (std::vector<int>{5, 5, 6, 6}));
    EXPECT_NE(control(info.out, "blinkmuster_lbl_KurveInfo2").find("\"caption\": \"Gesamtzeit = 2.0000 s\""),
              std::string::npos);
    EXPECT_NE(control(info.out, "Image_Blink4").find("\"visible\": false"), std::string::npos); // Out#4 not used
    EXPECT_NE(control(info.out, "blinkmuster_btn_uebernehmen").find("\"enabled\": false"), std::string::npos);

    // Address 3 holds 60 steps and stretch 0: shown and saved as 50 and 1. Typing 60 stores
    // 50; painting low on Out#2 at x 5, 60 and 120 (9.6 pixels per step) clears steps 0, 6, 12.
    const Saved painted = setAndReload(
        in, out, {"blinkmuster_rad_a3", "blinkmuster_edt_Anzahl=60", "Image_Blink2=draw:5,30;60,30;120,30"});
    ASSERT_EQ(painted.run.code, 0) << painted.run.err;
    ASSERT_EQ(painted.data.size(), 256u);
    std::vector<int> expected = table;
    expected[128 + 53] = 50;
    expected[128 + 54] = 1;
    expected[128 + 0] = 0x0D;
    expected[128 + 6] = 0xFD;
    expected[128 + 12] = 0xFD;
    EXPECT_EQ(painted.data, expected);
    EXPECT_NE(painted.info.find("\"pending\": false"), std::string::npos);

    // "von #2" with address 3 selected: address 3 becomes address 2, all 64 entries
    const Saved copied = setAndReload(in, out, {"blinkmuster_rad_a3", "blinkmuster_btn_copy2"});
    ASSERT_EQ(copied.run.code, 0) << copied.run.err;
    expected = table;
    std::copy(table.begin() + 64, table.begin() + 128, expected.begin() + 128);
    EXPECT_EQ(copied.data, expected);

    // Out#3 unused and the loop off, on address 1; the steps stay
    const Saved flags = setAndReload(in, out, {"blinkmuster_cbx_out3=0", "blinkmuster_cbx_loop=0", "UpDown4=25"});
    ASSERT_EQ(flags.run.code, 0) << flags.run.err;
    expected = table;
    expected[55] = 0x30;
    expected[54] = 25;
    EXPECT_EQ(flags.data, expected);

    struct Refused {
        std::vector<std::string> actions;
        std::string message;
    } refused[] = {
        {{"blinkmuster_btn_copy1"}, "\"blinkmuster_btn_copy1\" ist gesperrt."}, // the selected address
        {{"blinkmuster_edt_Anzahl=zehn"}, "Zugelassen sind nur Zahlen im Werte-Bereich 1..50"},
        {{"blinkmuster_edt_stretch=1.5"}, "Zugelassen sind nur Zahlen im Werte-Bereich 1..200"},
        {{"Image_Blink4=draw:5,5"}, "\"Image_Blink4\" ist nicht sichtbar."},
        {{"blinkmuster_btn_uebernehmen"}, "ist gesperrt."}, // nothing pending
    };
    for (const auto& r : refused) {
        const Saved s = setAndReload(in, out, r.actions);
        EXPECT_EQ(s.run.code, 1) << r.actions[0];
        EXPECT_NE(s.run.err.find(r.message), std::string::npos) << r.actions[0] << ": " << s.run.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    std::filesystem::remove_all(dir);
}

TEST(CliBlink, TenOutputPageStoresTheStretchToBase255AndKeepsEntry255)
{
    const auto dir = tempDir("cli-blink-led");
    const std::string in = fixture("classic_684_lumo_blinkmuster.hex");
    const std::string out = (dir / "out.hex").string();

    const CliRun info = runCli({"info", in, "--json"});
    ASSERT_EQ(info.code, 0);
    EXPECT_NE(info.out.find("{\"frame\": \"TFrameBlinkmuster_led\", \"pending\": false,"), std::string::npos);
    const std::vector<int> table = pageData(info.out);
    ASSERT_EQ(table.size(), 1024u);
    EXPECT_NE(control(info.out, "led_blinkmuster_edt_stretch").find("\"text\": \"10\""), std::string::npos);
    EXPECT_NE(control(info.out, "UpDown10").find("\"max\": 30000"), std::string::npos);
    EXPECT_NE(control(info.out, "Image_led_Blink6").find("\"geometry\": [40, 296, 490, 33]"), std::string::npos);

    // 255 is high 2, low 0; Out#7 unused is bit 2 of entry 103 cleared; painting Out#9 high at
    // x 65 (60 pixels per step) sets bit 4 of entry 128 + 1
    const Saved stretched = setAndReload(
        in, out, {"led_blinkmuster_edt_stretch=255", "led_blinkmuster_cbx_out7=0", "Image_led_Blink9=draw:65,3"});
    ASSERT_EQ(stretched.run.code, 0) << stretched.run.err;
    std::vector<int> expected = table;
    expected[102] = 0;
    expected[104] = 2;
    expected[103] = 0x3B;
    expected[128 + 1] = 0x02 | 0x10;
    EXPECT_EQ(stretched.data, expected);
    EXPECT_NE(control(stretched.info, "led_blinkmuster_lbl_KurveInfo1").find("Zeit-Raster = 5.1000 s"),
              std::string::npos);

    // 30001 is stored as 30000 without a message: high 118, low 165
    const Saved top = setAndReload(in, out, {"led_blinkmuster_edt_stretch=30001"});
    ASSERT_EQ(top.run.code, 0) << top.run.err;
    EXPECT_EQ(top.data[102], 165);
    EXPECT_EQ(top.data[104], 118);

    // Address 3 (120 steps, stretch -255): the count is clamped when shown, the stretch is
    // not; copying address 2 onto it keeps its entry 255 (unprogrammed: 255)
    const Saved third = setAndReload(in, out, {"led_blinkmuster_rad_a3"});
    ASSERT_EQ(third.run.code, 0) << third.run.err;
    expected = table;
    expected[512 + 101] = 100;
    EXPECT_EQ(third.data, expected);
    const Saved copied = setAndReload(in, out, {"led_blinkmuster_rad_a3", "led_blinkmuster_btn_copy2"});
    ASSERT_EQ(copied.run.code, 0) << copied.run.err;
    expected = table;
    std::copy(table.begin() + 256, table.begin() + 511, expected.begin() + 512);
    EXPECT_EQ(copied.data, expected);
    EXPECT_EQ(copied.data[767], 255);
    EXPECT_EQ(copied.data[511], 0xA5);

    const Saved refused = setAndReload(in, out, {"led_blinkmuster_edt_stretch=viel"});
    EXPECT_EQ(refused.run.code, 1);
    EXPECT_NE(refused.run.err.find("Zugelassen sind nur Zahlen im Werte-Bereich 1..30000"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(CliBlink, DiffNamesThePatternPartAndStep)
{
    const auto dir = tempDir("cli-blink-diff");
    const std::string out = (dir / "b.hex").string();
    const struct {
        std::string fixture;
        std::vector<std::string> actions;
        std::string line; // the one difference, as the text report gives it
        std::string json;
    } cases[] = {
        // step 0 of address 1 is 5 (Out#1 and Out#3); painted high on Out#2 it becomes 7
        {"classic_684_blinkmuster.hex",
         {"Image_Blink2=draw:5,2"},
         "Muster 1 Schritte[0]: 5 → 7",
         "{\"where\": \"data\", \"name\": \"FrameBlinkmuster1:Muster 1 Schritte[0]\", \"caption\": \"Muster 1 "
         "Schritte\", \"a\": \"5\", \"b\": \"7\"}"},
        // Out#5 of step 0 of address 2 painted low: bit 0 of entry 256 + 128
        {"classic_684_lumo_blinkmuster.hex",
         {"led_blinkmuster_rad_a2", "Image_led_Blink5=draw:5,30"},
         "Muster 2 Schritte Out#5-10[0]: 63 → 62",
         "{\"where\": \"data\", \"name\": \"FrameBlinkmuster_led1:Muster 2 Schritte Out#5-10[0]\", \"caption\": "
         "\"Muster 2 Schritte Out#5-10\", \"a\": \"63\", \"b\": \"62\"}"},
    };
    for (const auto& c : cases) {
        const std::string in = fixture(c.fixture);
        EXPECT_EQ(runCli({"diff", in, in}).code, 0);
        std::vector<std::string> args{"set", in, "-o", out};
        for (const auto& a : c.actions) {
            args.push_back("--do");
            args.push_back(a);
        }
        ASSERT_EQ(runCli(args).code, 0) << c.fixture;
        const CliRun text = runCli({"diff", in, out});
        EXPECT_EQ(text.code, 1) << text.err;
        EXPECT_NE(text.out.find("1 Unterschied:\n  " + c.line + "\n"), std::string::npos) << text.out;
        const CliRun json = runCli({"diff", in, out, "--json"});
        EXPECT_EQ(json.code, 1);
        EXPECT_NE(json.out.find("\"differences\": [\n    " + c.json + "\n  ]"), std::string::npos) << json.out;
        std::filesystem::remove(out);
    }
    std::filesystem::remove_all(dir);
}

TEST(CliBlink, MigrateCarriesTheTableIntoAnotherFileOfTheSameType)
{
    // The two LED firmwares keep the stretch in different encodings, so the table goes between
    // two files of one type: a changed copy of the delivered file back into the delivered one.
    const auto dir = tempDir("cli-blink-migrate");
    const std::string delivered = fixture("classic_684_lumo_blinkmuster.hex");
    const std::string old = (dir / "alt.hex").string();
    ASSERT_EQ(runCli({"set", delivered, "-o", old, "--do", "led_blinkmuster_rad_a2", "--do",
                      "Image_led_Blink5=draw:5,30", "--do", "led_blinkmuster_edt_Anzahl=4", "--do",
                      "led_blinkmuster_rad_a3", "--do", "led_blinkmuster_btn_copy1"})
                  .code,
              0);
    const std::string out = (dir / "neu.hex").string();
    const CliRun run = runCli({"migrate", old, delivered, "-o", out, "--strict"});
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("  Mustertabelle (alle vier Muster): 1024 Werte (bisher andere Werte)\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Nicht übernommen (0):\n"), std::string::npos) << run.out;

    const std::vector<int> before = pageData(runCli({"info", old, "--json"}).out);
    const std::vector<int> after = pageData(runCli({"info", out, "--json"}).out);
    ASSERT_EQ(after.size(), 1024u);
    EXPECT_EQ(after, before);
    EXPECT_EQ(after[256 + 101], 4);  // address 2: four steps
    EXPECT_EQ(after[256 + 128], 62); // Out#5 off in its step 0
    EXPECT_EQ(after[512 + 101], 8);  // address 3: a copy of address 1
    EXPECT_NE(pageData(runCli({"info", delivered, "--json"}).out), after);
    const CliRun diff = runCli({"diff", old, out});
    EXPECT_EQ(diff.code, 0) << diff.out;
    std::filesystem::remove_all(dir);
}
