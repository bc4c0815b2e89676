// Numbers the pages keep within limits: `set --do` gives a count, stretch or threshold beyond
// what the page stores, the page stores its limit, the tool says so in one note naming the
// stored number, and the written file holds that number.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliRun.h"
#include "TestFiles.h"

using namespace hz::test;

namespace {

// The "text" of control `name` in `info --json` output; "?" when there is none.
std::string editText(const std::string& json, const std::string& name)
{
    const std::size_t at = json.find("{\"name\": \"" + name + "\"");
    if (at == std::string::npos)
        return "?";
    const std::size_t end = json.find('}', at);
    const std::size_t text = json.find("\"text\": \"", at);
    if (text == std::string::npos || text > end)
        return "?";
    const std::size_t from = text + 9;
    return json.substr(from, json.find('"', from) - from);
}

// The lines of `err` that tell a limited number.
std::vector<std::string> limitNotes(const std::string& err)
{
    std::vector<std::string> notes;
    std::size_t from = 0;
    while (from < err.size()) {
        const std::size_t end = err.find('\n', from);
        const std::string line = err.substr(from, end == std::string::npos ? std::string::npos : end - from);
        if (has(line, "außerhalb des Bereichs der Seite"))
            notes.push_back(line);
        from = end == std::string::npos ? err.size() : end + 1;
    }
    return notes;
}

} // namespace

TEST(CliLimits, EveryLimitedFieldStoresItsLimitAndSaysSo)
{
    struct Case {
        const char* file;
        const char* action;
        const char* edit;   // the edit that holds the number
        const char* stored; // what the page keeps: the edit of the written file shows it
        bool told;          // whether the tool notes it
    } const cases[] = {
        // servo curve page: count 1..100, stretch 1..200, their spinners 1..200
        {"servo_kornel4.hex", "edt_Anzahl=150", "edt_Anzahl", "100", true},
        {"servo_kornel4.hex", "edt_Anzahl=0", "edt_Anzahl", "1", true},
        {"servo_kornel4.hex", "edt_Anzahl=100", "edt_Anzahl", "100", false},
        {"servo_kornel4.hex", "edt_stretch=999", "edt_stretch", "200", true},
        {"servo_kornel4.hex", "edt_stretch=-3", "edt_stretch", "1", true},
        {"servo_kornel4.hex", "UpDown1=150", "edt_Anzahl", "100", true},
        {"servo_kornelchen.hex", "edt_Anzahl=101", "edt_Anzahl", "100", true},
        // the threshold of output X7, 0..127, and its spinner 1..200
        {"servo_kornelchen_358.hex", "edt_kornelchen_schwelle=200", "edt_kornelchen_schwelle", "127", true},
        {"servo_kornelchen_v2.hex", "UpDown4=150", "edt_kornelchen_schwelle", "127", true},
        {"servo_kornelchen_358.hex", "edt_kornelchen_schwelle=127", "edt_kornelchen_schwelle", "127", false},
        // blink patterns: count 1..50, stretch 1..200
        {"classic_684_blinkmuster.hex", "blinkmuster_edt_Anzahl=999", "blinkmuster_edt_Anzahl", "50", true},
        {"classic_684_blinkmuster.hex", "blinkmuster_edt_Anzahl=0", "blinkmuster_edt_Anzahl", "1", true},
        {"classic_684_blinkmuster.hex", "blinkmuster_edt_stretch=201", "blinkmuster_edt_stretch", "200", true},
        {"classic_684_blinkmuster.hex", "blinkmuster_edt_stretch=200", "blinkmuster_edt_stretch", "200", false},
        // LED blink patterns from V3.60: count 1..100, stretch 1..30000
        {"classic_684_lumo_blinkmuster.hex", "led_blinkmuster_edt_Anzahl=150", "led_blinkmuster_edt_Anzahl", "100",
         true},
        {"classic_684_lumo_blinkmuster.hex", "led_blinkmuster_edt_stretch=30001", "led_blinkmuster_edt_stretch",
         "30000", true},
        {"classic_684_lumo_blinkmuster.hex", "led_blinkmuster_edt_stretch=0", "led_blinkmuster_edt_stretch", "1", true},
    };
    const auto dir = tempDir("limits");
    const std::string out = (dir / "out.hex").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.action);
        const CliRun set = runCli({"set", fixture(c.file), "-o", out, "--do", c.action});
        ASSERT_EQ(set.code, 0) << set.err;
        const std::vector<std::string> notes = limitNotes(set.err);
        if (c.told) {
            const std::string given = std::string(c.action).substr(std::string(c.action).find('=') + 1);
            ASSERT_EQ(notes.size(), 1u) << set.err;
            EXPECT_TRUE(has(
                notes[0], "hexzwirbel-cli: " + fixture(c.file) + ": Hinweis: --do " + c.action + ": " + c.edit + ": " +
                              given + " liegt außerhalb des Bereichs der Seite, gespeichert wird " + c.stored + "."))
                << notes[0];
        } else {
            EXPECT_TRUE(notes.empty()) << set.err;
        }
        const CliRun info = runCli({"info", out, "--json"});
        ASSERT_EQ(info.code, 0) << info.err;
        EXPECT_EQ(editText(info.out, c.edit), c.stored);
    }
    std::filesystem::remove_all(dir);
}
