// The blink pattern pages of the "Stelldua - Blinkmuster" (four outputs) and "Lumo -
// Blinkmuster" (ten outputs) firmwares: the table in program memory, its working copy, the
// values shown and typed, painting with the mouse, copying, accepting and discarding - driven
// through the same entry points as the window and the command-line tool.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

#include "FirmwareBuilder.h"
#include "GermanNumbers.h"
#include "HexRecords.h"
#include "ScriptedPrompter.h"
#include "core/Session.h"
#include "core/pages/blink/BlinkmusterPage.h"
#include "core/tools/SettingsDiff.h"
#include "core/tools/SettingsMigration.h"

using namespace hz;
using namespace hz::pages;
using hz::test::FirmwareBuilder;
using hz::test::ScriptedPrompter;

namespace {

// The lines of a classic 16F684 file with the given program words, consecutive words packed
// eight to a record as a linker writes them (a table of 1024 words in records of one word
// each would not fit the 1024 lines of a file).
std::vector<std::string> packedLines(const std::map<int, int>& words)
{
    const auto& t = HexByteTexts();
    std::vector<std::string> out{hz::test::kBase0};
    for (auto it = words.begin(); it != words.end();) {
        const int start = it->first;
        std::string data;
        int w = start;
        while (it != words.end() && it->first == w && w - start < 8) {
            data += t[static_cast<std::size_t>(it->second & 0xFF)] + t[static_cast<std::size_t>(it->second >> 8)];
            ++it;
            ++w;
        }
        out.push_back(hz::test::rec(2 * start, data));
    }
    out.push_back(hz::test::rec(0x4000, "0100030006000000"));
    out.push_back(hz::test::rec(0x400E, "C431"));
    out.push_back(hz::test::kEnd);
    return out;
}

std::map<int, int> firmwareWords(int identifier)
{
    FirmwareBuilder fw;
    fw.identifier(identifier).signature(hz::test::kMotW8);
    return fw.words;
}

constexpr int kStelldua = 0x1;  // "Stelldua - Blinkmuster"
constexpr int kLumo359 = 0xDD;  // "Lumo - Blinkmuster bis V3.59"
constexpr int kLumo360 = 0x1DD; // "Lumo - Blinkmuster ab V3.60"
constexpr int kRetlw = 0x34;    // high byte of a table word: retlw

struct Loaded {
    ScriptedPrompter prompter;
    Session session{prompter};
    int identifier;
    BlinkPatternPage& page;

    // Loads a file of the type with the given table entries (entry -> low byte of word
    // 0x300 + entry); entries not given are not in the file.
    Loaded(int id, const std::map<int, int>& entries)
        : identifier(id),
          page(id == kStelldua ? static_cast<BlinkPatternPage&>(session.pages.page<BlinkmusterPage>())
                               : static_cast<BlinkPatternPage&>(session.pages.page<BlinkmusterLedPage>()))
    {
        std::map<int, int> words = firmwareWords(id);
        for (const auto& [n, v] : entries)
            words[0x300 + n] = kRetlw << 8 | v;
        EXPECT_EQ(session.LoadLines(packedLines(words), "/f/blink.hex"), LoadOutcome::Done);
        prompter.clear();
    }

    bool led() const { return identifier != kStelldua; }
    std::string n(const char* suffix) const { return page.name(suffix); }
    const Control& c(const std::string& name) const { return *page.find(name); }
    std::string text(const char* suffix) const { return c(n(suffix)).text; }
    bool pending() const { return page.hasPending(); }
    int at(int entry) const { return page.PatternData[static_cast<std::size_t>(entry)]; }
    int lowByte(int entry) const { return HexByteValue(session.image.get_Hex_ROM(2 * (0x300 + entry))); }
    std::string highByte(int entry) const { return session.image.get_Hex_ROM(2 * (0x300 + entry) + 1); }
    void type(const char* suffix, const std::string& t) { page.userText(n(suffix), t); }
    void select(int address) { page.userClick(page.radioName(address)); }
    // A drag over an image: press at the first point, moves through all, release.
    void drag(int output, std::initializer_list<std::pair<int, int>> points)
    {
        const std::string image = page.imageName(output);
        page.userMouse(image, MouseAction::Press, points.begin()->first, points.begin()->second);
        for (const auto& [x, y] : points)
            page.userMouse(image, MouseAction::Move, x, y);
        page.userMouse(image, MouseAction::Release, 0, 0);
    }
    Colour pixel(int output, int x, int y) const
    {
        const Control& image = c(page.imageName(output));
        const auto px = RenderDrawing(image.geometry->width, image.geometry->height, image.drawing);
        return px[static_cast<std::size_t>(y * image.geometry->width + x)];
    }
};

// A table as the firmware is delivered: stretch 10, loop and all outputs used; the count (10
// for address 1, 12 for address 2, ...) and the step pattern differ per address.
std::map<int, int> deliveredTable(bool led)
{
    std::map<int, int> t;
    const int block = led ? 256 : 64;
    for (int a = 0; a < 4; ++a) {
        const int b = a * block;
        for (int i = 0; i < (led ? 100 : 50); ++i)
            t[b + i] = (i + a) % 16;
        if (led) {
            for (int i = 0; i < 100; ++i)
                t[b + 128 + i] = (i * 3 + a) % 64;
            t[b + 100] = 0xF1;
            t[b + 101] = 10 + 2 * a;
            t[b + 102] = 10;
            t[b + 103] = 0x3F;
            t[b + 104] = 1; // 10 in the newer encoding
            t[b + 255] = 0xA0 + a;
        } else {
            t[b + 50] = 0x50 + a; // not interpreted, carried along
            t[b + 53] = 10 + 2 * a;
            t[b + 54] = 10;
            t[b + 55] = 0xF1;
            t[b + 63] = 0x60 + a;
        }
    }
    return t;
}

} // namespace

TEST(BlinkPatternPage, TimeLabelsInMillisecondsSecondsMinutesAndHours)
{
    struct Case {
        long long stretch, count;
        const char *step, *total;
    } cases[] = {
        {10, 10, "Zeit-Raster = 200 ms", "Gesamtzeit = 2.0000 s"},
        {1, 1, "Zeit-Raster =  20 ms", "Gesamtzeit =  20 ms"},
        {49, 1, "Zeit-Raster = 980 ms", "Gesamtzeit = 980 ms"},
        {50, 1, "Zeit-Raster = 1.0000 s", "Gesamtzeit = 1.0000 s"}, // 1000 ms is shown in seconds
        {1, 2999, "Zeit-Raster =  20 ms", "Gesamtzeit = 59.9800 s"},
        {200, 15, "Zeit-Raster = 4.0000 s", "Gesamtzeit = 1.0000 min"}, // 60000 ms in minutes
        {200, 50, "Zeit-Raster = 4.0000 s", "Gesamtzeit = 3.3333 min"},
        {29999, 10, "Zeit-Raster = 599.9800 s", "Gesamtzeit = 99.9967 min"},
        {30000, 10, "Zeit-Raster = 600.0000 s", "Gesamtzeit = 1.6667 h"}, // 6000000 ms in hours
        {30000, 100, "Zeit-Raster = 600.0000 s", "Gesamtzeit = 16.6667 h"},
        {65025, 100, "Zeit-Raster = 1300.5000 s", "Gesamtzeit = 36.1250 h"},
        {-255, 10, "Zeit-Raster = -5100 ms", "Gesamtzeit = -51000 ms"},
    };
    // With a point also where the process runs with a German LC_NUMERIC.
    for (const bool german : {false, true}) {
        std::optional<GermanNumbers> locale;
        if (german) {
            locale.emplace();
            ASSERT_TRUE(GermanNumbers::active()) << "no German locale to test with: install \"locales\"";
        }
        for (const auto& c : cases) {
            const auto [step, total] = BlinkPatternPage::TimeLabels(c.stretch, c.count);
            EXPECT_EQ(step, c.step) << c.stretch << " x " << c.count << (german ? " (de_DE)" : "");
            EXPECT_EQ(total, c.total) << c.stretch << " x " << c.count << (german ? " (de_DE)" : "");
        }
    }
}

TEST(BlinkPatternPage, ShowsTheSelectedAddressFromTheTable)
{
    for (int id : {kStelldua, kLumo360}) {
        Loaded l(id, deliveredTable(id != kStelldua));
        ASSERT_EQ(l.session.pages.shown().size(), 1u);
        EXPECT_EQ(l.session.pages.shown()[0], &l.page);
        EXPECT_EQ(l.page.data().size(), l.led() ? 1024u : 256u);
        EXPECT_EQ(l.text("edt_Anzahl"), "10");
        EXPECT_EQ(l.text("edt_stretch"), "10");
        EXPECT_EQ(l.c(l.n("lbl_KurveInfo1")).caption, "Zeit-Raster = 200 ms");
        EXPECT_EQ(l.c(l.n("lbl_KurveInfo2")).caption, "Gesamtzeit = 2.0000 s");
        EXPECT_TRUE(l.c(l.n("cbx_loop")).checked);
        EXPECT_FALSE(l.pending());
        EXPECT_FALSE(l.page.Updating);
        EXPECT_FALSE(l.c(l.page.copyName(1)).enabled);
        EXPECT_TRUE(l.c(l.page.copyName(2)).enabled);
        EXPECT_EQ(l.c(l.n("cbx_loop")).hint, "Ablauf wieder immer wieder neu gestartet");
        EXPECT_EQ(l.c(l.page.outputName(3)).hint, "Ausgang 3 verwenden (wird sonst nicht beeinflusst)");
        // the images fill the frame's width from their left edge 40 to 10 before its edge
        const Control& image = l.c(l.page.imageName(1));
        EXPECT_EQ(*image.geometry, (Rect{40, l.led() ? 93 : 96, 490, l.led() ? 38 : 41}));
        EXPECT_FLOAT_EQ(l.page.StepWidth, 48.0f); // (490 - 10) / 10
        EXPECT_EQ(l.page.hostWidth(), 540);
        EXPECT_TRUE(l.prompter.shown.empty());
        // step 1 of address 1: (1 + 0) % 16 = 1, so Out#1 on and Out#2 off
        EXPECT_TRUE(l.page.StepOn(1, 1));
        EXPECT_FALSE(l.page.StepOn(1, 2));
        l.select(2);
        EXPECT_TRUE(l.page.StepOn(1, 2)); // (1 + 1) % 16 = 2
        EXPECT_FALSE(l.c(l.page.copyName(2)).enabled);
        EXPECT_TRUE(l.c(l.page.copyName(1)).enabled);
        // another address with the same valid values is no change
        EXPECT_FALSE(l.pending());
    }
    Loaded led(kLumo360, deliveredTable(true));
    EXPECT_EQ(*led.c("Image_led_Blink6").geometry, (Rect{40, 296, 490, 33}));
    EXPECT_EQ(*led.c("Image_led_Blink10").geometry, (Rect{40, 453, 490, 38}));
    EXPECT_EQ(led.c("Label39").caption, "Out#5");
}

TEST(BlinkPatternPage, OutOfRangeValuesAreClampedWhenShownExceptTheLedStretch)
{
    struct Case {
        int id;
        std::map<int, int> entries;  // in block 1
        const char *count, *stretch; // shown
        int countIndex, storedCount;
        bool pending;
    } cases[] = {
        {kStelldua, {{53, 0}, {54, 10}}, "1", "10", 53, 1, true},
        {kStelldua, {{53, 51}, {54, 10}}, "50", "10", 53, 50, true},
        {kStelldua, {{53, 50}, {54, 200}}, "50", "200", 53, 50, false},
        {kStelldua, {{53, 10}, {54, 0}}, "10", "1", 53, 10, true},
        {kStelldua, {{53, 10}, {54, 201}}, "10", "200", 53, 10, true},
        {kLumo360, {{101, 0}, {102, 10}, {104, 1}}, "1", "10", 101, 1, true},
        {kLumo360, {{101, 101}, {102, 10}, {104, 1}}, "100", "10", 101, 100, true},
        {kLumo360, {{101, 100}, {102, 0}, {104, 0}}, "100", "-255", 101, 100, false},
        {kLumo360, {{101, 10}, {102, 0xFF}, {104, 0xFF}}, "10", "65025", 101, 10, false},
        {kLumo360, {{101, 10}, {102, 0}, {104, 2}}, "10", "255", 101, 10, false},
        {kLumo359, {{101, 10}, {102, 250}, {104, 7}}, "10", "250", 101, 10, false},
    };
    for (const auto& c : cases) {
        Loaded l(c.id, c.entries);
        SCOPED_TRACE(std::string(l.page.frameName()) + " count " + c.count + " stretch " + c.stretch);
        EXPECT_EQ(l.text("edt_Anzahl"), c.count);
        EXPECT_EQ(l.text("edt_stretch"), c.stretch);
        EXPECT_EQ(l.at(c.countIndex), c.storedCount);
        EXPECT_EQ(l.pending(), c.pending);
        EXPECT_TRUE(l.prompter.shown.empty());
        if (l.led()) { // the stretch stays as the table has it
            for (int e : {102, 104})
                EXPECT_EQ(l.at(e), c.entries.at(e));
        }
    }
    // a stretch that decodes to -255 gives a negative step time until the user edits it
    Loaded negative(kLumo360, {{101, 10}, {102, 0}, {104, 0}});
    EXPECT_EQ(negative.c("led_blinkmuster_lbl_KurveInfo1").caption, "Zeit-Raster = -5100 ms");
    negative.type("edt_stretch", "25");
    EXPECT_EQ(negative.at(102), 25);
    EXPECT_EQ(negative.at(104), 1);
    EXPECT_EQ(negative.c("led_blinkmuster_lbl_KurveInfo1").caption, "Zeit-Raster = 500 ms");
}

TEST(BlinkPatternPage, TypedCountAndStretchAreClampedOrRefused)
{
    struct Case {
        int id;
        const char* edit; // "edt_Anzahl" or "edt_stretch"
        const char* typed;
        std::map<int, int> stored; // entries of block 1 afterwards
        const char* shown;         // edit text afterwards
        const char* message;       // or nullptr
    } cases[] = {
        {kStelldua, "edt_Anzahl", "60", {{53, 50}}, "50", nullptr},
        {kStelldua, "edt_Anzahl", "0", {{53, 1}}, "1", nullptr},
        {kStelldua, "edt_Anzahl", "-3", {{53, 1}}, "1", nullptr},
        {kStelldua, "edt_Anzahl", "25", {{53, 25}}, "25", nullptr},
        {kStelldua, "edt_Anzahl", "", {{53, 10}}, "", nullptr},
        {kStelldua,
         "edt_Anzahl",
         "1x",
         {{53, 10}},
         "1x",
         "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..50"},
        {kStelldua, "edt_stretch", "201", {{54, 200}}, "200", nullptr},
        {kStelldua, "edt_stretch", "0", {{54, 1}}, "1", nullptr},
        {kStelldua,
         "edt_stretch",
         "x",
         {{54, 10}},
         "x",
         "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..200"},
        {kLumo360, "edt_Anzahl", "101", {{101, 100}}, "100", nullptr},
        {kLumo360,
         "edt_Anzahl",
         "a",
         {{101, 10}},
         "a",
         "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..100"},
        {kLumo360, "edt_stretch", "254", {{102, 254}, {104, 1}}, "254", nullptr},
        {kLumo360, "edt_stretch", "255", {{102, 0}, {104, 2}}, "255", nullptr},
        {kLumo360, "edt_stretch", "30000", {{102, 165}, {104, 118}}, "30000", nullptr},
        {kLumo360, "edt_stretch", "30001", {{102, 165}, {104, 118}}, "30000", nullptr},
        {kLumo360, "edt_stretch", "0", {{102, 1}, {104, 1}}, "1", nullptr},
        {kLumo360,
         "edt_stretch",
         "9x",
         {{102, 10}, {104, 1}},
         "9x",
         "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..30000"},
        {kLumo359, "edt_stretch", "250", {{102, 200}, {104, 0}}, "200", nullptr},
        {kLumo359, "edt_stretch", "100", {{102, 100}, {104, 0}}, "100", nullptr},
        {kLumo359,
         "edt_stretch",
         "-",
         {{102, 10}, {104, 1}},
         "-",
         "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..200"},
    };
    for (const auto& c : cases) {
        Loaded l(c.id, deliveredTable(c.id != kStelldua));
        SCOPED_TRACE(std::string(l.page.frameName()) + " " + c.edit + "=" + c.typed);
        const std::vector<int> before = l.page.PatternData;
        l.type(c.edit, c.typed);
        for (const auto& [e, v] : c.stored)
            EXPECT_EQ(l.at(e), v) << "entry " << e;
        EXPECT_EQ(l.text(c.edit), c.shown);
        if (c.message) {
            ASSERT_EQ(l.prompter.shown.size(), 1u);
            EXPECT_EQ(l.prompter.shown[0].text, c.message);
            EXPECT_EQ(l.prompter.shown[0].kind, MsgKind::Warning);
            EXPECT_EQ(l.prompter.shown[0].buttons, Buttons::Cancel);
            EXPECT_EQ(l.page.focusRequest, l.n(c.edit));
            EXPECT_EQ(l.page.PatternData, before);
            EXPECT_FALSE(l.pending());
        } else {
            EXPECT_TRUE(l.prompter.shown.empty());
            EXPECT_EQ(l.pending(), *c.typed != '\0'); // an empty edit is no input
        }
    }
    // the spinner beside an edit types its number into the edit
    Loaded l(kStelldua, deliveredTable(false));
    l.page.userPosition("UpDown3", 12);
    EXPECT_EQ(l.text("edt_Anzahl"), "12");
    EXPECT_EQ(l.at(53), 12);
    EXPECT_FLOAT_EQ(l.page.StepWidth, 40.0f);
    l.type("edt_stretch", "150");
    EXPECT_EQ(l.c("UpDown4").position, 150);
}

TEST(BlinkPatternPage, PaintingSwitchesAStepOnAboveTheMiddleAndOffBelow)
{
    struct Case {
        int id, output, y;
        bool on;
    } cases[] = {
        {kStelldua, 1, 0, true}, {kStelldua, 1, 24, true}, {kStelldua, 1, 25, false}, {kStelldua, 4, 40, false},
        {kLumo360, 1, 23, true}, {kLumo360, 1, 24, false}, {kLumo360, 7, 23, true},   {kLumo360, 7, 24, false},
        {kLumo360, 6, 23, true}, {kLumo360, 6, 24, false}, // the shorter image keeps the scale of the first
    };
    for (const auto& c : cases) {
        Loaded l(c.id, deliveredTable(c.id != kStelldua));
        SCOPED_TRACE(std::string(l.page.frameName()) + " Out#" + std::to_string(c.output) + " row " +
                     std::to_string(c.y));
        // step 3 of address 1 (x 144..191 with 48 pixels per step), first set to the opposite
        const int entry = c.output <= 4 ? 3 : 128 + 3;
        const int bit = 1 << (c.output <= 4 ? c.output - 1 : c.output - 5);
        l.page.PatternData[static_cast<std::size_t>(entry)] = c.on ? 0 : 0xFF;
        const std::vector<int> others = [&] {
            auto v = l.page.PatternData;
            v[static_cast<std::size_t>(entry)] = 0;
            return v;
        }();
        l.page.userMouse(l.page.imageName(c.output), MouseAction::Press, 150, c.y);
        EXPECT_EQ((l.at(entry) & bit) != 0, !c.on); // pressing alone changes nothing
        EXPECT_FALSE(l.pending());
        l.page.userMouse(l.page.imageName(c.output), MouseAction::Move, 150, c.y);
        l.page.userMouse(l.page.imageName(c.output), MouseAction::Release, 150, c.y);
        EXPECT_EQ((l.at(entry) & bit) != 0, c.on);
        EXPECT_EQ(l.at(entry) & ~bit & 0xFF, c.on ? 0 : 0xFF & ~bit); // the other bits stay
        auto now = l.page.PatternData;
        now[static_cast<std::size_t>(entry)] = 0;
        EXPECT_EQ(now, others);
        EXPECT_TRUE(l.pending());
        // moves after the release paint nothing
        l.page.userMouse(l.page.imageName(c.output), MouseAction::Move, 150, c.on ? 39 : 0);
        EXPECT_EQ((l.at(entry) & bit) != 0, c.on);
        // the bar: black outline at the step's left edge and top (row 8), red inside
        EXPECT_EQ(l.pixel(c.output, 160, 20), c.on ? colours::Red : colours::White);
        EXPECT_EQ(l.pixel(c.output, 144, 20), c.on ? colours::Black : colours::White);
        EXPECT_EQ(l.pixel(c.output, 160, 8), c.on ? colours::Black : colours::White);
        EXPECT_EQ(l.pixel(c.output, 160, 7), colours::White);
        // the bar runs to the image's lower edge (on the four-output page it runs on beyond
        // it); the LED bar ends with its outline on the last row of its 38 pixels
        const int last = l.c(l.page.imageName(c.output)).geometry->height - 1;
        EXPECT_EQ(l.pixel(c.output, 160, last),
                  !c.on ? colours::White : (l.led() && c.output != 6 ? colours::Black : colours::Red));
    }
}

TEST(BlinkPatternPage, PointerOutsideTheStepsEditsTheNearestShownStepOnly)
{
    struct Case {
        int id, output, x, step;
    } cases[] = {
        // address 2 has 12 steps of 40 pixels; 480..489 lie right of the last one, and no
        // pointer position reaches step 12 or beyond, which the user cannot see
        {kStelldua, 1, -30, 0},      {kStelldua, 2, 485, 11},   {kStelldua, 3, 100000, 11},
        {kStelldua, 4, -2000000, 0}, {kStelldua, 1, 439, 10},   {kLumo360, 1, -5, 0},
        {kLumo360, 5, 485, 11},      {kLumo360, 10, 70000, 11}, {kLumo360, 6, 2000000000, 11},
    };
    for (const auto& c : cases) {
        Loaded l(c.id, deliveredTable(c.id != kStelldua));
        SCOPED_TRACE(std::string(l.page.frameName()) + " x " + std::to_string(c.x));
        l.select(2);
        const int block = l.led() ? 256 : 64;
        std::vector<int> expected = l.page.PatternData;
        const int entry = block + (c.output <= 4 ? c.step : 128 + c.step);
        expected[static_cast<std::size_t>(entry)] |= 1 << (c.output <= 4 ? c.output - 1 : c.output - 5);
        l.drag(c.output, {{c.x, 2}});
        EXPECT_EQ(l.page.PatternData, expected);
    }
}

TEST(BlinkPatternPage, UsedFlagsShowOrHideTheImageAndKeepTheSteps)
{
    for (int id : {kStelldua, kLumo360}) {
        Loaded l(id, deliveredTable(id != kStelldua));
        const int output = l.led() ? 8 : 2;
        const int index = l.led() ? 103 : 55;
        const int bit = l.led() ? 1 << 3 : 1 << 5;
        ASSERT_TRUE(l.c(l.page.imageName(output)).visible);
        const std::vector<int> steps(l.page.PatternData.begin(), l.page.PatternData.begin() + (l.led() ? 256 : 50));
        l.page.userChecked(l.page.outputName(output), false);
        EXPECT_FALSE(l.c(l.page.imageName(output)).visible);
        EXPECT_EQ(l.at(index) & bit, 0);
        EXPECT_TRUE(l.pending());
        // a hidden image takes no painting
        l.drag(output, {{5, 2}});
        l.page.userChecked(l.n("cbx_loop"), false);
        EXPECT_EQ(l.at(l.led() ? 100 : 55) & 1, 0);
        l.page.accept();
        EXPECT_FALSE(l.pending());
        EXPECT_EQ(l.lowByte(index) & bit, 0);
        for (std::size_t e = 0; e < steps.size(); ++e)
            if (static_cast<int>(e) != index && static_cast<int>(e) != (l.led() ? 100 : 55)) {
                EXPECT_EQ(l.lowByte(static_cast<int>(e)), steps[e]) << e;
            }
        l.page.userChecked(l.page.outputName(output), true);
        EXPECT_TRUE(l.c(l.page.imageName(output)).visible);
    }
}

TEST(BlinkPatternPage, CopyTakesTheWholeBlockOrAllButTheLastLedEntry)
{
    for (int id : {kStelldua, kLumo360}) {
        Loaded l(id, deliveredTable(id != kStelldua));
        const std::size_t block = l.led() ? 256 : 64;
        const std::size_t copied = l.led() ? 255 : 64;
        // address 2 gets values of its own first, so that the copy must bring them over
        l.select(2);
        l.type("edt_Anzahl", "7");
        l.type("edt_stretch", "33");
        l.page.userChecked(l.n("cbx_loop"), false);
        l.select(3);
        EXPECT_FALSE(l.c(l.page.copyName(3)).enabled);
        const std::vector<int> before = l.page.PatternData;
        l.page.userClick(l.page.copyName(2));
        for (std::size_t e = 0; e < block; ++e) {
            const int expected = e < copied ? before[block + e] : before[2 * block + e];
            EXPECT_EQ(l.page.PatternData[2 * block + e], expected) << e;
        }
        if (l.led()) {
            EXPECT_EQ(l.at(3 * 256 - 1), 0xA2); // entry 255 of address 3 stays
        }
        EXPECT_EQ(l.text("edt_Anzahl"), "7");
        EXPECT_EQ(l.text("edt_stretch"), "33");
        EXPECT_FALSE(l.c(l.n("cbx_loop")).checked);
        EXPECT_TRUE(l.pending());
        // the other blocks are untouched
        for (std::size_t e = 0; e < 2 * block; ++e)
            EXPECT_EQ(l.page.PatternData[e], before[e]);
        // a click on the button of the selected address (disabled) copies nothing
        const std::vector<int> after = l.page.PatternData;
        l.page.userClick(l.page.copyName(3));
        EXPECT_EQ(l.page.PatternData, after);
    }
}

TEST(BlinkPatternPage, AnUnprogrammedTableComesUpClampedWhereShown)
{
    struct Case {
        int id;
        const char *count, *stretch;
    } cases[] = {{kStelldua, "50", "200"}, {kLumo360, "100", "65025"}, {kLumo359, "100", "255"}};
    for (const auto& c : cases) {
        Loaded l(c.id, {});
        SCOPED_TRACE(l.page.frameName());
        const int countIndex = l.led() ? 101 : 53;
        const int block = l.led() ? 256 : 64;
        EXPECT_EQ(l.text("edt_Anzahl"), c.count);
        EXPECT_EQ(l.text("edt_stretch"), c.stretch);
        EXPECT_TRUE(l.c(l.n("cbx_loop")).checked);
        for (int k = 1; k <= l.page.layout().outputs; ++k) {
            EXPECT_TRUE(l.c(l.page.outputName(k)).checked) << k;
            EXPECT_TRUE(l.c(l.page.imageName(k)).visible) << k;
            EXPECT_TRUE(l.page.StepOn(l.led() ? 99 : 49, k)) << k;
        }
        EXPECT_TRUE(l.pending());
        EXPECT_EQ(l.at(countIndex), l.led() ? 100 : 50);
        EXPECT_EQ(l.at(block + countIndex), 0xFF); // not shown yet
        // accepting right after loading writes the clamped values of the address shown
        l.page.accept();
        EXPECT_EQ(l.lowByte(countIndex), l.led() ? 100 : 50);
        EXPECT_EQ(l.lowByte(l.led() ? 102 : 54), l.led() ? 0xFF : 200);
        EXPECT_EQ(l.lowByte(block + countIndex), 0xFF);
        EXPECT_EQ(l.highByte(countIndex), "3F"); // the blank word's high byte stays
        // showing the next address clamps its values too and makes them pending
        l.select(2);
        EXPECT_EQ(l.text("edt_Anzahl"), c.count);
        EXPECT_EQ(l.text("edt_stretch"), c.stretch);
        EXPECT_EQ(l.at(block + countIndex), l.led() ? 100 : 50);
        EXPECT_TRUE(l.pending());
    }
}

TEST(BlinkPatternPage, AcceptWritesEveryBlockAndKeepsTheHighBytes)
{
    for (int id : {kStelldua, kLumo360}) {
        ScriptedPrompter prompter;
        Session session{prompter};
        std::map<int, int> words = firmwareWords(id);
        const int entries = id == kStelldua ? 256 : 1024;
        // high bytes that no table has, so that a write over them shows
        for (int n = 0; n < entries; ++n)
            words[0x300 + n] = (0x10 + n % 37) << 8 | (n % 2 ? 20 : 5);
        words[0x300 + entries] = 0x3412; // the word after the table
        ASSERT_EQ(session.LoadLines(packedLines(words), "/f/b.hex"), LoadOutcome::Done);
        prompter.clear(); // the file has no EEPROM, which the load remarks on
        BlinkPatternPage& page = id == kStelldua
                                     ? static_cast<BlinkPatternPage&>(session.pages.page<BlinkmusterPage>())
                                     : static_cast<BlinkPatternPage&>(session.pages.page<BlinkmusterLedPage>());
        const auto highs = [&] {
            std::vector<std::string> h;
            for (int n = 0; n <= entries; ++n)
                h.push_back(session.image.get_Hex_ROM(2 * (0x300 + n) + 1));
            return h;
        }();
        for (auto& v : page.PatternData) // every entry gets a new value
            v = (v + 100) % 256;
        page.userClick(page.name("btn_uebernehmen"));
        EXPECT_FALSE(page.hasPending());
        for (int n = 0; n < entries; ++n) {
            ASSERT_EQ(HexByteValue(session.image.get_Hex_ROM(2 * (0x300 + n))),
                      page.PatternData[static_cast<std::size_t>(n)])
                << n;
            ASSERT_EQ(session.image.get_Hex_ROM(2 * (0x300 + n) + 1), highs[static_cast<std::size_t>(n)]) << n;
        }
        EXPECT_EQ(session.image.get_Hex_ROM(2 * (0x300 + entries)), "12");
        EXPECT_EQ(session.image.get_Hex_ROM(2 * (0x300 + entries) + 1), "34");
        EXPECT_TRUE(prompter.shown.empty()) << (prompter.shown.empty() ? "" : prompter.shown[0].text);
    }
}

TEST(BlinkPatternPage, DiscardReadsTheTableAgain)
{
    Loaded l(kLumo360, deliveredTable(true));
    const std::vector<int> read = l.page.PatternData;
    l.type("edt_Anzahl", "42");
    l.drag(9, {{10, 1}, {300, 1}});
    ASSERT_TRUE(l.pending());
    l.page.userClick("led_blinkmuster_btn_verwerfen");
    EXPECT_EQ(l.page.PatternData, read);
    EXPECT_EQ(l.text("edt_Anzahl"), "10");
    EXPECT_FALSE(l.pending());
}

TEST(BlinkPatternPage, StepWidthFollowsTheSelectedCount)
{
    Loaded l(kStelldua, deliveredTable(false));
    l.select(2);
    l.type("edt_Anzahl", "3");
    EXPECT_FLOAT_EQ(l.page.StepWidth, 160.0f);
    l.select(1);
    EXPECT_FLOAT_EQ(l.page.StepWidth, 48.0f);
    // address 1 has 10 steps: x 200 is step 4 (48 pixels each), not step 1 of address 2's width
    l.drag(1, {{200, 30}});
    EXPECT_EQ(l.at(4) & 1, 0);
    l.drag(1, {{200, 2}});
    EXPECT_EQ(l.at(4) & 1, 1);
    // a count that only the spinner reaches
    l.page.userPosition("UpDown3", 50);
    EXPECT_FLOAT_EQ(l.page.StepWidth, 9.6f);
    EXPECT_GT(l.page.StepWidth, 0.0f);
}

TEST(BlinkPatternPage, ConfirmPendingChangesAcceptsOrKeepsTheWorkingCopy)
{
    for (Answer answer : {Answer::Yes, Answer::No}) {
        Loaded l(kStelldua, deliveredTable(false));
        l.type("edt_Anzahl", "20");
        l.prompter.answers.push_back(answer);
        EXPECT_EQ(l.session.pages.ConfirmPendingPageChanges(l.prompter), answer == Answer::Yes);
        ASSERT_EQ(l.prompter.texts(), std::vector<std::string>{"Geänderte Werte übernehmen?"});
        EXPECT_EQ(l.lowByte(53), answer == Answer::Yes ? 20 : 10);
        EXPECT_EQ(l.pending(), answer != Answer::Yes);
    }
}

// ---- The working copy as comparison and migration see it ----------------------------------

TEST(BlinkPatternPage, WorkingCopyPartsNameEveryEntryOnce)
{
    struct Named {
        int entry;
        std::string name;
        int first; // of the part, so that [i] counts from the part's start
    };
    const struct {
        int id;
        std::vector<Named> named;
    } layouts[] = {
        {kStelldua,
         {{0, "Muster 1 Schritte", 0},
          {64 + 49, "Muster 2 Schritte", 64},
          {64 + 50, "Muster 2 Bytes 50..52", 64 + 50},
          {64 + 53, "Muster 2 Anzahl Schritte", 64 + 53},
          {64 + 54, "Muster 2 Stretch-Faktor", 64 + 54},
          {64 + 55, "Muster 2 Loop/Out#1-4 verwendet", 64 + 55},
          {192 + 63, "Muster 4 Bytes 56..63", 192 + 56}}},
        {kLumo360,
         {{256 + 7, "Muster 2 Schritte Out#1-4", 256},
          {256 + 100, "Muster 2 Loop/Out#1-4 verwendet", 256 + 100},
          {256 + 101, "Muster 2 Anzahl Schritte", 256 + 101},
          {256 + 102, "Muster 2 Stretch-Faktor Low-Byte", 256 + 102},
          {256 + 103, "Muster 2 Out#5-10 verwendet", 256 + 103},
          {256 + 104, "Muster 2 Stretch-Faktor High-Byte", 256 + 104},
          {256 + 127, "Muster 2 Bytes 105..127", 256 + 105},
          {256 + 128 + 7, "Muster 2 Schritte Out#5-10", 256 + 128},
          {768 + 255, "Muster 4 Bytes 228..255", 768 + 228}}},
    };
    for (const auto& layout : layouts) {
        Loaded l(layout.id, deliveredTable(layout.id != kStelldua));
        const std::vector<DataPart> parts = l.page.dataParts();
        const std::size_t size = l.page.data().size();
        std::vector<int> owner(size, 0);
        for (const DataPart& p : parts)
            for (int e = p.first; e < p.first + p.count; ++e) {
                ASSERT_GE(e, 0);
                ASSERT_LT(e, static_cast<int>(size));
                ++owner[static_cast<std::size_t>(e)];
            }
        EXPECT_EQ(std::count(owner.begin(), owner.end(), 1), static_cast<std::ptrdiff_t>(size))
            << "every entry in exactly one part";
        for (const Named& n : layout.named) {
            const auto it = std::find_if(parts.begin(), parts.end(), [&](const DataPart& p) {
                return p.first <= n.entry && n.entry < p.first + p.count;
            });
            ASSERT_NE(it, parts.end());
            EXPECT_EQ(it->name, n.name) << n.entry;
            EXPECT_EQ(it->first, n.first) << n.name;
        }
    }
}

TEST(BlinkPatternPage, DiffNamesThePatternStepAndValue)
{
    Loaded a(kLumo360, deliveredTable(true)), b(kLumo360, deliveredTable(true));
    b.select(2);
    b.drag(6, {{48 * 3 + 5, 30}}); // Out#6 off in step 3 of address 2 (48 pixels a step)
    b.type("edt_stretch", "255");  // high 2, low 0
    b.page.userClick(b.page.name("btn_uebernehmen"));
    std::vector<std::string> data;
    for (const tools::Difference& d : tools::DiffSessions(a.session, b.session))
        if (d.where == "data")
            data.push_back(tools::DescribeDifference(d));
    // step 3 of address 2, Out#5..10: (3 * 3 + 1) % 64 = 10, bit 1 (Out#6) cleared
    EXPECT_EQ(data, (std::vector<std::string>{
                        "Muster 2 Stretch-Faktor Low-Byte[0]: 10 → 0",
                        "Muster 2 Stretch-Faktor High-Byte[0]: 1 → 2",
                        "Muster 2 Schritte Out#5-10[3]: 10 → 8",
                    }));
}

TEST(BlinkPatternPage, SetDataTakesAWholeTableAndHoldsItPending)
{
    for (int id : {kStelldua, kLumo360}) {
        Loaded l(id, deliveredTable(id != kStelldua));
        const int block = l.led() ? 256 : 64;
        const int count = l.led() ? 101 : 53, stretch = l.led() ? 102 : 54, flags = l.led() ? 100 : 55;
        l.select(2);
        std::vector<int> table = l.page.data();
        table[static_cast<std::size_t>(block + count)] = 3;
        table[static_cast<std::size_t>(block + stretch)] = 20;
        table[static_cast<std::size_t>(block + flags)] = 0x20;  // loop off, only Out#2 used
        table[static_cast<std::size_t>(block + 1)] = 0x02;      // step 1: Out#2 on
        table[static_cast<std::size_t>(3 * block + count)] = 0; // a count out of range elsewhere
        ASSERT_TRUE(l.page.setData(table)) << id;
        EXPECT_EQ(l.page.data(), table);
        EXPECT_TRUE(l.pending());
        EXPECT_TRUE(l.c(l.n("btn_uebernehmen")).enabled);
        // the selected address shows the new values
        EXPECT_EQ(l.text("edt_Anzahl"), "3");
        EXPECT_EQ(l.text("edt_stretch"), "20"); // on V3.60 high byte 1: 1 x 255 + 20 - 255
        EXPECT_FALSE(l.c(l.n("cbx_loop")).checked);
        EXPECT_TRUE(l.c(l.page.outputName(2)).checked);
        EXPECT_FALSE(l.c(l.page.outputName(1)).checked);
        EXPECT_FALSE(l.c(l.page.imageName(1)).visible);
        EXPECT_TRUE(l.c(l.page.imageName(2)).visible);
        // redrawn: three steps of 160 pixels, step 1 on (red at its top half), step 0 off
        EXPECT_FLOAT_EQ(l.page.StepWidth, 160.0f);
        EXPECT_EQ(l.pixel(2, 240, l.led() ? 20 : 10), colours::Red);
        EXPECT_EQ(l.pixel(2, 80, l.led() ? 20 : 10), colours::White);
        // the address with a count of 0 is shown clamped; the copy keeps the other file's 0
        l.select(4);
        EXPECT_EQ(l.at(3 * block + count), 1);
        ASSERT_TRUE(l.page.setData(table));
        EXPECT_EQ(l.page.data(), table);
        EXPECT_EQ(l.text("edt_Anzahl"), "1");

        // what no table of this page can hold is refused and changes nothing
        l.page.userClick(l.n("btn_uebernehmen"));
        const std::vector<int> kept = l.page.data();
        std::vector<int> tooShort(table.begin(), table.end() - 1), tooLong = table, negative = table, tooLarge = table;
        tooLong.push_back(0);
        negative[7] = -1;
        tooLarge[static_cast<std::size_t>(block + 1)] = 256;
        for (const std::vector<int>* bad : {&tooShort, &tooLong, &negative, &tooLarge}) {
            EXPECT_FALSE(l.page.setData(*bad));
            EXPECT_EQ(l.page.data(), kept);
            EXPECT_FALSE(l.pending());
            EXPECT_EQ(l.text("edt_Anzahl"), "1");
        }
        // accepted: the image holds the table
        ASSERT_TRUE(l.page.setData(table));
        l.page.accept();
        EXPECT_EQ(l.lowByte(block + 1), 0x02);
        EXPECT_EQ(l.lowByte(3 * block + count), 0);
    }
}

TEST(BlinkPatternPage, MigrationCarriesTheTableBetweenFilesOfOneLayout)
{
    for (int id : {kStelldua, kLumo359, kLumo360}) {
        const bool led = id != kStelldua;
        Loaded from(id, deliveredTable(led)), to(id, {}); // the target's table is not programmed
        from.select(3);
        from.drag(2, {{5, 30}, {50, 30}, {100, 30}}); // steps 0..2 of address 3: Out#2 off
        from.type("edt_Anzahl", "17");
        from.page.accept();
        const tools::MigrationReport report = tools::MigrateSettings(from.session, to.session);
        ASSERT_TRUE(report.refusal.empty()) << report.refusal;
        const auto carried = std::find_if(report.carried.begin(), report.carried.end(), [&](const auto& c) {
            return c.where == "data" && c.name == from.page.objectName();
        });
        EXPECT_NE(carried, report.carried.end()) << id;
        EXPECT_EQ(to.page.data(), from.page.data()) << id;
        EXPECT_TRUE(to.pending());
        EXPECT_EQ(to.text("edt_Anzahl"), "17"); // address 3 selected and shown, as in the old file
        to.page.accept();
        const int block = led ? 256 : 64;
        EXPECT_EQ(to.lowByte(2 * block + (led ? 101 : 53)), 17);
        EXPECT_EQ(to.lowByte(2 * block + 1), 1); // (1 + 2) % 16 = 3, Out#2 cleared
    }
}

TEST(BlinkPatternPage, MigrationBetweenLedFirmwaresListsTheTableAsNotCarried)
{
    // The older LED firmware keeps the stretch in one byte, the newer one in two to base 255:
    // the same entries mean another stretch, so the table is listed, not copied byte for byte.
    for (const auto& [a, b] : {std::pair{kLumo359, kLumo360}, std::pair{kLumo360, kLumo359}}) {
        std::map<int, int> table = deliveredTable(true);
        if (a == kLumo359)
            for (int k = 0; k < 4; ++k)
                table[256 * k + 104] = 0;
        Loaded from(a, table), to(b, {});
        const std::vector<int> before = to.page.data();
        const tools::MigrationReport report = tools::MigrateSettings(from.session, to.session);
        ASSERT_TRUE(report.refusal.empty()) << report.refusal;
        const auto listed = std::find_if(report.notCarried.begin(), report.notCarried.end(),
                                         [](const auto& c) { return c.where == "data"; });
        ASSERT_NE(listed, report.notCarried.end());
        EXPECT_EQ(listed->reason, a == kLumo359 ? "Die Arbeitskopie ist in NEU anders aufgebaut (Stretch-Faktor in "
                                                  "zwei Bytes zur Basis 255 statt Stretch-Faktor in einem Byte)."
                                                : "Die Arbeitskopie ist in NEU anders aufgebaut (Stretch-Faktor in "
                                                  "einem Byte statt Stretch-Faktor in zwei Bytes zur Basis 255).");
        // the shown address's stretch, count and loop are entries of that table: they stay
        // behind with it, listed, and the table stays as the new file has it, entry for entry
        for (const char* suffix : {"edt_stretch", "edt_Anzahl", "cbx_loop"}) {
            const std::string name = to.page.name(suffix);
            const auto left = std::find_if(report.notCarried.begin(), report.notCarried.end(),
                                           [&](const auto& c) { return c.name == name; });
            ASSERT_NE(left, report.notCarried.end()) << name;
            EXPECT_EQ(left->reason, "Der Wert steht in der Arbeitskopie <LED-Blinkmuster>, die nicht übernommen wird.");
            EXPECT_TRUE(std::none_of(report.carried.begin(), report.carried.end(), [&](const auto& c) {
                return c.name == name;
            })) << name;
        }
        EXPECT_EQ(to.page.data(), before);
    }
}
