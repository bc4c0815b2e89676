// The servo curve page through the command-line tool, on a gpasm-built firmware of each of the
// five servo decoder types: info --json shows the page and its table; set --do draws, shapes,
// saves a set-up and writes the table into the saved file.

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
