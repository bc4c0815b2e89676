// The servo address page model: how the address lists, the servo flags and the pulse buttons
// read and write the curve page's working copy and the pulse values, per decoder type, all
// without a window.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "ScriptedPrompter.h"
#include "core/Session.h"
#include "core/firmware/FirmwareImage.h"
#include "core/pages/servo/KornelAdrPage.h"
#include "core/pages/servo/KornelPage.h"

using namespace hz;
using namespace hz::pages;
using hz::test::ScriptedPrompter;

namespace {

constexpr int kKornel4 = 0xD3;
constexpr int kKornelchen = 0xD2;

struct AdrPage {
    ScriptedPrompter prompter;
    FirmwareImage image{prompter};
    KornelPage curves;
    KornelAdrPage adr{curves};

    explicit AdrPage(int identifier = kKornel4) { adr.setUp(identifier, image); }

    const Control& c(const std::string& name) const
    {
        const Control* found = adr.find(name);
        if (!found) {
            ADD_FAILURE() << "no control " << name;
            static const Control none;
            return none;
        }
        return *found;
    }
    // Picks a list item by its text, as the window's drop-down list and `--do NAME=ITEM` do.
    void choose(const std::string& list, const std::string& item)
    {
        const auto& items = c(list).items;
        const auto it = std::find(items.begin(), items.end(), item);
        ASSERT_NE(it, items.end()) << list << ": " << item;
        adr.userSelect(list, static_cast<int>(it - items.begin()));
    }
    std::int32_t& e(std::size_t index) { return curves.CurveData[index]; }
    // The working-copy entry that holds the low byte of program word `word`.
    std::int32_t& word(int word) { return curves.CurveData[static_cast<std::size_t>(word - 0x500)]; }
    // A working copy with a different byte in every entry, to see that nothing else moves.
    void fillPattern()
    {
        for (std::size_t k = 0; k < curves.CurveData.size(); ++k)
            curves.CurveData[k] = static_cast<std::int32_t>((k * 37 + 11) & 0xFF);
    }
};

// Positions of the lists a test reads: item index, -1 for no selection.
int selected(const AdrPage& p, const std::string& name) { return p.c(name).selected; }

} // namespace

TEST(KornelAdrBits, LowestBitIndexAndBitOfIndex)
{
    const std::pair<int, int> lowest[] = {{0x00, 0}, {0x01, 0}, {0x02, 1},  {0x06, 1},  {0x80, 7}, {0xF0, 4},
                                          {0x48, 3}, {0xFF, 0}, {0x100, 0}, {0x300, 0}, {0x140, 6}};
    for (const auto& [value, index] : lowest)
        EXPECT_EQ(LowestBitIndex(value), index) << std::hex << value;
    const std::pair<int, int> bits[] = {{0, 0x01}, {1, 0x02}, {3, 0x08}, {7, 0x80}, {8, 0}, {-1, 0}, {100, 0}};
    for (const auto& [k, bit] : bits)
        EXPECT_EQ(BitOfIndex(k), bit) << k;
}

TEST(KornelAdrPage, AddressesAndFlagsLieAtTheirProgramWords)
{
    const struct {
        int address, servoAction, curveRelay;
    } addresses[] = {{1, 0x567, 0x568}, {2, 0x5E7, 0x5E8}, {3, 0x667, 0x668}, {4, 0x6E7, 0x6E8},
                     {5, 0x56A, 0x56B}, {6, 0x5EA, 0x5EB}, {7, 0x66A, 0x66B}, {8, 0x6EA, 0x6EB}};
    for (const auto& a : addresses) {
        EXPECT_EQ(0x500 + KornelAdrPage::ServoActionEntry(a.address), std::size_t(a.servoAction)) << a.address;
        EXPECT_EQ(0x500 + KornelAdrPage::CurveRelayEntry(a.address), std::size_t(a.curveRelay)) << a.address;
    }
    const int flags[] = {0x564, 0x5E4, 0x664, 0x6E4};
    for (int s = 1; s <= 4; ++s)
        EXPECT_EQ(0x500 + KornelAdrPage::FlagsEntry(s), std::size_t(flags[s - 1])) << s;
}

TEST(KornelAdrPage, ChoosingAnItemReplacesItsNibbleOnly)
{
    const struct Case {
        int address;
        const char* list; // servo, action, curve, relais
        const char* item;
        int before, after;
    } cases[] = {
        {1, "servo", "Servo 1", 0x28, 0x21},   {1, "servo", "Servo 2", 0x28, 0x22},
        {3, "servo", "Servo 3", 0x4F, 0x44},   {8, "servo", "Servo 4", 0x10, 0x18},
        {2, "action", "Start", 0x48, 0x08},    {2, "action", "Start Loop", 0x08, 0x18},
        {5, "action", "Abbruch", 0xF1, 0x21},  {7, "action", "Beenden", 0x14, 0x44},
        {1, "curve", "Kurve 1", 0x03, 0x13},   {4, "curve", "Kurve 2", 0xF8, 0x28},
        {6, "curve", "Kurve 3", 0x11, 0x41},   {8, "curve", "Kurve 4", 0x24, 0x84},
        {1, "relais", "Relais 1", 0x2C, 0x21}, {3, "relais", "Relais 2", 0x80, 0x82},
        {5, "relais", "Relais 3", 0xFF, 0xF4}, {8, "relais", "Relais 4", 0x40, 0x48},
    };
    for (const Case& k : cases) {
        AdrPage p(kKornel4);
        p.fillPattern();
        const bool servoByte = std::string(k.list) == "servo" || std::string(k.list) == "action";
        const std::size_t at =
            servoByte ? KornelAdrPage::ServoActionEntry(k.address) : KornelAdrPage::CurveRelayEntry(k.address);
        p.e(at) = k.before;
        p.adr.refresh();
        const auto expected = [&] {
            auto data = p.curves.CurveData;
            data[at] = k.after;
            return data;
        }();
        p.choose("cbx_a" + std::to_string(k.address) + "_" + k.list, k.item);
        EXPECT_EQ(p.curves.CurveData, expected) << k.address << " " << k.list << " " << k.item;
    }
}

TEST(KornelAdrPage, Address6OfAKornel4EndsWithServo3)
{
    AdrPage p(kKornel4);
    p.word(0x5EA) = 0x11;
    p.word(0x5EB) = 0x21;
    p.adr.refresh();
    EXPECT_TRUE(p.c("cbx_a6_curve").visible);
    EXPECT_TRUE(p.c("cbx_a6_relais").visible);

    p.choose("cbx_a6_servo", "Servo 3");
    p.choose("cbx_a6_action", "Beenden");
    EXPECT_EQ(p.word(0x5EA), 0x44);
    EXPECT_EQ(p.word(0x5EB), 0x21);
    EXPECT_FALSE(p.c("cbx_a6_curve").visible);
    EXPECT_FALSE(p.c("cbx_a6_relais").visible);
    EXPECT_TRUE(p.c("cbx_a5_curve").visible);
    // The curve and relay stay stored, and come back with an action that starts the curve.
    EXPECT_EQ(selected(p, "cbx_a6_curve"), 1);
    p.choose("cbx_a6_action", "Start Loop");
    EXPECT_EQ(p.word(0x5EA), 0x14);
    EXPECT_TRUE(p.c("cbx_a6_curve").visible);
    EXPECT_TRUE(p.c("cbx_a6_relais").visible);

    p.choose("cbx_a1_curve", "Kurve 4");
    p.choose("cbx_a1_relais", "Relais 2");
    EXPECT_EQ(p.word(0x568), 0x82);
}

TEST(KornelAdrPage, BytesReadBackAsItemsOrNone)
{
    // -1: no item for the bits; the list shows no selection.
    const struct Case {
        int servoAction, servo, action;
    } servoBytes[] = {
        {0x00, 0, 0},  {0x01, 0, 0},  {0x02, 1, 0},   {0x04, 2, 0},  {0x08, 3, 0},  {0x0F, 0, 0},
        {0x11, 0, 1},  {0x22, 1, 2},  {0x44, 2, 3},   {0x30, -1, 1}, {0x28, 3, 2},  {0x10, -1, 1},
        {0x20, -1, 2}, {0x40, -1, 3}, {0x80, -1, -1}, {0x81, 0, -1}, {0xF0, -1, 1},
    };
    for (const Case& k : servoBytes) {
        AdrPage p(kKornel4);
        p.word(0x567) = k.servoAction; // address 1
        p.word(0x6EA) = k.servoAction; // address 8
        p.adr.refresh();
        for (int n : {1, 8}) {
            EXPECT_EQ(selected(p, "cbx_a" + std::to_string(n) + "_servo"), k.servo) << std::hex << k.servoAction;
            EXPECT_EQ(selected(p, "cbx_a" + std::to_string(n) + "_action"), k.action) << std::hex << k.servoAction;
            // no selection counts as an action that starts the curve
            EXPECT_EQ(p.c("cbx_a" + std::to_string(n) + "_curve").visible, k.action < 2) << std::hex << k.servoAction;
        }
        EXPECT_EQ(p.word(0x567), k.servoAction);
    }
    const struct {
        int curveRelay, curve, relay;
    } curveBytes[] = {
        {0x00, 0, 0}, {0x11, 0, 0}, {0x82, 3, 1}, {0x44, 2, 2}, {0x28, 1, 3},
        {0x30, 0, 0}, {0xC0, 2, 0}, {0x0C, 0, 2}, {0xFF, 0, 0}, {0x80, 3, 0},
    };
    for (const auto& k : curveBytes) {
        AdrPage p(kKornel4);
        p.word(0x5E8) = k.curveRelay; // address 2
        p.adr.refresh();
        EXPECT_EQ(selected(p, "cbx_a2_curve"), k.curve) << std::hex << k.curveRelay;
        EXPECT_EQ(selected(p, "cbx_a2_relais"), k.relay) << std::hex << k.curveRelay;
    }
}

TEST(KornelAdrPage, BitsWithoutAnItemStayUntilTheUserPicksOne)
{
    AdrPage p(kKornel4);
    p.word(0x567) = 0x80; // an action bit no list item has, no servo bit
    p.word(0x568) = 0x0C; // two relay bits
    p.adr.refresh();
    // Another field of the same byte keeps them.
    p.choose("cbx_a1_curve", "Kurve 2");
    EXPECT_EQ(p.word(0x568), 0x2C);
    EXPECT_EQ(p.word(0x567), 0x80);
    p.choose("cbx_a1_servo", "Servo 2");
    EXPECT_EQ(p.word(0x567), 0x82);
    p.choose("cbx_a1_action", "Start");
    EXPECT_EQ(p.word(0x567), 0x02);
    p.choose("cbx_a1_relais", "Relais 1");
    EXPECT_EQ(p.word(0x568), 0x21);
}

TEST(KornelAdrPage, FlagBoxesShowAndSetTheirBitOnly)
{
    const struct Box {
        const char* prefix;
        int bit;
    } boxes[] = {{"cbx_v_off_", 0x02}, {"cbx_imp_off_", 0x04}, {"cbx_no_ir_", 0x40}, {"cbx_no_rep_", 0x80}};
    const int flags[] = {0x00, 0x3B, 0xC6, 0xFF};
    for (const Box& b : boxes) {
        for (int s = 1; s <= 4; ++s) {
            AdrPage p(kKornel4);
            p.fillPattern();
            for (int t = 1; t <= 4; ++t)
                p.e(KornelAdrPage::FlagsEntry(t)) = flags[t - 1];
            p.adr.refresh();
            for (int t = 1; t <= 4; ++t)
                EXPECT_EQ(p.c(b.prefix + std::to_string(t)).checked, (flags[t - 1] & b.bit) != 0) << b.prefix << t;

            auto expected = p.curves.CurveData;
            const std::string name = b.prefix + std::to_string(s);
            const bool on = !p.c(name).checked;
            std::int32_t& f = expected[KornelAdrPage::FlagsEntry(s)];
            f = on ? (f | b.bit) : (f & ~b.bit);
            p.adr.userChecked(name, on);
            EXPECT_EQ(p.curves.CurveData, expected) << name;
        }
    }
}

TEST(KornelAdrPage, TickingVoltageOffOfServo2SetsBit1OfWord5E4)
{
    AdrPage p(kKornel4);
    p.word(0x564) = 0x81;
    p.word(0x5E4) = 0x44;
    p.word(0x664) = 0x02;
    p.adr.refresh();
    p.adr.userChecked("cbx_v_off_2", true);
    EXPECT_EQ(p.word(0x5E4), 0x46);
    EXPECT_EQ(p.word(0x564), 0x81);
    EXPECT_EQ(p.word(0x664), 0x02);
    EXPECT_EQ(p.word(0x6E4), 0x00);
}

TEST(KornelAdrPage, AFlagBoxLeavesTheOtherServosFlagsAsTheTableHoldsThem)
{
    // The curve page changed servo 3's flags after the boxes were last shown; a box of servo 1
    // must not write the old state of servo 3's box back.
    AdrPage p(kKornel4);
    p.word(0x664) = 0x80;
    p.adr.refresh();
    p.word(0x664) = 0x42;
    p.adr.userChecked("cbx_no_rep_1", true);
    EXPECT_EQ(p.word(0x564), 0x80);
    EXPECT_EQ(p.word(0x664), 0x42);
}

TEST(KornelAdrPulse, TimesInMillisecondsWithThreeDecimals)
{
    const struct {
        int offset, factor;
        const char *min, *max;
    } cases[] = {
        {125, 0, "1,000", "2,016"},   {125, 1, "1,000", "2,016"},   {125, 127, "1,000", "3,024"},
        {125, 128, "1,000", "1,008"}, {125, 253, "1,000", "2,008"}, {125, 254, "1,000", "2,016"},
        {125, 255, "1,000", "2,016"}, {125, 64, "1,000", "2,520"},  {125, 200, "1,000", "1,584"},
        {50, 128, "0,400", "0,408"},  {255, 127, "2,040", "4,064"}, {0, 0, "0,000", "1,016"},
        {51, 2, "0,408", "1,432"},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(PulseTimeText(PulseMinMs(k.offset)), k.min) << k.offset << " " << k.factor;
        EXPECT_EQ(PulseTimeText(PulseMaxMs(k.offset, k.factor)), k.max) << k.offset << " " << k.factor;
    }
    // the span of every code truncates toward zero
    const std::pair<int, int> spans[] = {{0, 0},      {1, 0},    {2, 1},   {127, 126}, {128, -126},
                                         {129, -125}, {253, -1}, {254, 0}, {255, 0}};
    for (const auto& [factor, span] : spans)
        EXPECT_EQ(PulseSpan(factor), span) << factor;
}

TEST(KornelAdrPulse, StepRulesOfMinimumAndSpanCode)
{
    const struct {
        int value, step, next;
    } offsets[] = {{250, 10, 255}, {255, 1, 255},  {254, 1, 255}, {55, -10, 50}, {50, -1, 50},
                   {100, 1, 101},  {100, -10, 90}, {20, 1, 50},   {0, -10, 50},  {245, 10, 255}},
      factors[] = {
          {127, 1, 127},   {128, -1, 128}, {253, 1, 1},    {1, -1, 253}, {120, 10, 127},  {5, -10, 248},
          {126, 1, 127},   {129, -1, 128}, {250, 10, 7},   {1, 1, 2},    {200, 10, 210},  {138, -10, 128},
          {0, 1, 1},       {0, -1, 252},   {255, 1, 3},    {255, -1, 1}, {254, -10, 244}, {128, 10, 138},
          {127, -10, 117}, {253, 10, 10},  {10, -10, 253},
      };
    for (const auto& k : offsets)
        EXPECT_EQ(StepPulseOffset(k.value, k.step), k.next) << k.value << " " << k.step;
    for (const auto& k : factors)
        EXPECT_EQ(StepPulseFactor(k.value, k.step), k.next) << k.value << " " << k.step;

    // Walking ">" from the shortest code to the longest passes every code once and the span
    // grows by no more than a unit at a time; "<" walks the same way back.
    int code = 128, steps = 0;
    while (true) {
        const int next = StepPulseFactor(code, 1);
        if (next == code)
            break;
        EXPECT_LE(PulseSpan(next) - PulseSpan(code), 1) << code;
        EXPECT_GE(PulseSpan(next), PulseSpan(code)) << code;
        code = next;
        ++steps;
    }
    EXPECT_EQ(code, 127);
    EXPECT_EQ(steps, 252);
    while (StepPulseFactor(code, -1) != code)
        code = StepPulseFactor(code, -1);
    EXPECT_EQ(code, 128);
}

TEST(KornelAdrPage, PulseValuesComeFromTheEepromAndTheButtonsStepThem)
{
    AdrPage p(kKornel4);
    const char* bytes[] = {"FA", "7F", "37", "80", "7D", "FD", "05", "01"}; // 0x60..0x67
    for (int k = 0; k < 8; ++k)
        p.image.set_Hex_EE(0x60 + k, bytes[k]);
    p.adr.setUp(kKornel4, p.image);
    EXPECT_EQ(p.adr.data(), (std::vector<int>{250, 127, 55, 128, 125, 253, 5, 1}));
    EXPECT_EQ(p.c("servo_edt_Offset_1").text, "2,000");
    EXPECT_EQ(p.c("servo_edt_max_1").text, "4,024");
    EXPECT_EQ(p.c("servo_edt_Offset_3").text, "1,000");
    EXPECT_EQ(p.c("servo_edt_max_3").text, "2,008");

    const struct {
        const char* button;
        int offset1, factor1, offset2, factor2, offset3, factor3;
        const char* shown; // the edit that changes, and its new text
        const char* text;
    } clicks[] = {
        {"btn_inc10offset_1", 255, 127, 55, 128, 125, 253, "servo_edt_Offset_1", "2,040"},
        {"btn_inc1faktor_1", 255, 127, 55, 128, 125, 253, "servo_edt_max_1", "4,064"},
        {"btn_dec10offset_2", 255, 127, 50, 128, 125, 253, "servo_edt_Offset_2", "0,400"},
        {"btn_dec1faktor_2", 255, 127, 50, 128, 125, 253, "servo_edt_max_2", "0,408"},
        {"btn_inc1faktor_3", 255, 127, 50, 128, 125, 1, "servo_edt_max_3", "2,016"},
        {"btn_dec1faktor_3", 255, 127, 50, 128, 125, 253, "servo_edt_max_3", "2,008"},
        {"btn_dec1offset_3", 255, 127, 50, 128, 124, 253, "servo_edt_max_3", "2,000"},
        {"btn_dec10faktor_1", 255, 117, 50, 128, 124, 253, "servo_edt_max_1", "3,984"},
    };
    for (const auto& k : clicks) {
        p.adr.userClick(k.button);
        EXPECT_EQ(p.adr.data(),
                  (std::vector<int>{k.offset1, k.factor1, k.offset2, k.factor2, k.offset3, k.factor3, 5, 1}))
            << k.button;
        EXPECT_EQ(p.c(k.shown).text, k.text) << k.button;
    }
    // ">>" and "<<" of servo 4 exist as well, and wrap the code across the seam.
    p.adr.userClick("btn_dec10faktor_4");
    EXPECT_EQ(p.adr.PulseFactor[3], 244);
    p.adr.userClick("btn_inc10offset_4");
    EXPECT_EQ(p.adr.PulseOffset[3], 50);

    // The table reread by the curve page does not touch the pulse values; showing the page
    // again reads them from the EEPROM.
    p.adr.refresh();
    EXPECT_EQ(p.adr.PulseOffset[0], 255);
    p.adr.setUp(kKornel4, p.image);
    EXPECT_EQ(p.adr.PulseOffset[0], 250);
    EXPECT_EQ(p.c("servo_edt_Offset_1").text, "2,000");
    // The page itself writes nothing into the EEPROM.
    EXPECT_EQ(p.image.get_Hex_EE(0x60), "FA");
}

TEST(KornelAdrPage, PulseTimesCannotBeTypedOver)
{
    AdrPage p(kKornel4);
    p.adr.userText("servo_edt_Offset_2", "9,999");
    p.adr.userText("servo_edt_max_4", "");
    EXPECT_EQ(p.c("servo_edt_Offset_2").text, "2,040"); // a blank EEPROM: 0xFF
    EXPECT_EQ(p.c("servo_edt_max_4").text, "3,056");
    EXPECT_EQ(p.adr.data(), std::vector<int>(8, 255));
}

TEST(KornelAdrPage, HandlersWaitWhileThePageWritesItsControls)
{
    AdrPage p(kKornel4);
    const auto before = p.curves.CurveData;
    p.adr.Updating = true;
    p.choose("cbx_a1_servo", "Servo 4");
    p.choose("cbx_a2_action", "Abbruch");
    p.adr.userChecked("cbx_no_rep_1", true);
    p.adr.userClick("btn_inc1offset_1");
    p.adr.userClick("btn_inc1faktor_1");
    EXPECT_EQ(p.curves.CurveData, before);
    EXPECT_EQ(p.adr.data(), std::vector<int>(8, 255));
    EXPECT_TRUE(p.c("cbx_a2_curve").visible);
}

TEST(KornelAdrPage, EachTypeShowsItsAddressesAndServos)
{
    const struct Case {
        int identifier;
        const char* captions[4];
        bool all; // eight addresses, servo and relay lists, four servo groups
    } cases[] = {
        {0xD3, {"Adresse 01", "Adresse 02", "Adresse 03", "Adresse 04"}, true},
        {0xD2, {"Adresse 01", "Adresse 02", "Adresse 03", "Adresse 04"}, false},
        {0x1D2, {"Adresse 01", "Adresse 02", "Adresse 03", "Adresse 04"}, false},
        {0x7DD2, {"Adresse 01", "Adresse 02", "Adresse 03", "Adresse 04"}, false},
        {0x4200, {"Adresse 01 ein", "Adresse 01 aus", "Adresse 02 ein", "Adresse 02 aus"}, false},
    };
    for (const Case& k : cases) {
        // Each type after the other kind, so that nothing is left from the type before.
        AdrPage p(k.all ? kKornelchen : kKornel4);
        p.adr.setUp(k.identifier, p.image);
        SCOPED_TRACE(std::to_string(k.identifier));
        EXPECT_FALSE(p.adr.Updating);
        for (int n = 1; n <= 8; ++n) {
            const std::string a = std::to_string(n);
            const bool row = n <= 4 || k.all;
            EXPECT_EQ(p.c(KornelAdrPage::addressLabelName(n)).visible, row) << n;
            EXPECT_EQ(p.c(KornelAdrPage::addressLabelName(n)).caption,
                      n <= 4 ? std::string(k.captions[n - 1]) : "Adresse 0" + a + ":");
            EXPECT_EQ(p.c("cbx_a" + a + "_servo").visible, k.all) << n;
            EXPECT_EQ(p.c("cbx_a" + a + "_relais").visible, k.all) << n;
            EXPECT_EQ(p.c("cbx_a" + a + "_action").visible, row) << n;
            EXPECT_EQ(p.c("cbx_a" + a + "_curve").visible, row) << n;
        }
        EXPECT_TRUE(p.c("GroupBox_Servo1").visible);
        for (int s = 2; s <= 4; ++s)
            EXPECT_EQ(p.c("GroupBox_Servo" + std::to_string(s)).visible, k.all) << s;
    }
}

TEST(KornelAdrPage, CurveListsFollowTheActionPerType)
{
    // A Kornelchen: the rule covers addresses 1 to 4, relay lists stay hidden.
    AdrPage k(0x1D2);
    k.choose("cbx_a2_action", "Abbruch");
    EXPECT_FALSE(k.c("cbx_a2_curve").visible);
    EXPECT_TRUE(k.c("cbx_a1_curve").visible);
    EXPECT_FALSE(k.c("cbx_a2_relais").visible);
    k.choose("cbx_a2_action", "Start");
    EXPECT_TRUE(k.c("cbx_a2_curve").visible);
    EXPECT_FALSE(k.c("cbx_a2_relais").visible);
    // An action stored for address 5 does not show its hidden lists.
    k.word(0x56A) = 0x00;
    k.adr.refresh();
    EXPECT_FALSE(k.c("cbx_a5_curve").visible);
    EXPECT_FALSE(k.c("cbx_a5_action").visible);

    // The Kornel-4: addresses 5 to 8 too, and the relay list goes with the curve list.
    AdrPage p(kKornel4);
    p.word(0x66A) = 0x21; // address 7: "Abbruch"
    p.word(0x6E7) = 0x41; // address 4: "Beenden"
    p.adr.refresh();
    for (int n = 1; n <= 8; ++n) {
        const std::string a = std::to_string(n);
        const bool shown = n != 7 && n != 4;
        EXPECT_EQ(p.c("cbx_a" + a + "_curve").visible, shown) << n;
        EXPECT_EQ(p.c("cbx_a" + a + "_relais").visible, shown) << n;
    }
}

TEST(KornelAdrPage, ControlsCarryTheirNamesTextsAndPlaces)
{
    AdrPage p(kKornel4);
    EXPECT_EQ(p.adr.controls().size(), 1u + 8u * 5u + 4u * 17u);
    EXPECT_EQ(*p.c("pnl_servo2").geometry, (Rect{0, 0, 398, 530}));
    const int tops[] = {8, 32, 56, 80, 112, 136, 160, 184};
    const char* lists[] = {"servo", "action", "curve", "relais"};
    // the action list is wider: its "Start Loop" keeps the row's font
    const int lefts[] = {80, 152, 239, 311}, widths[] = {70, 85, 70, 70};
    for (int n = 1; n <= 8; ++n)
        for (int l = 0; l < 4; ++l) {
            const Control& c = p.c("cbx_a" + std::to_string(n) + "_" + lists[l]);
            EXPECT_EQ(c.kind, ControlKind::List);
            EXPECT_EQ(c.parent, "pnl_servo2");
            EXPECT_EQ(c.geometry->left, lefts[l]);
            EXPECT_EQ(c.geometry->width, widths[l]);
            EXPECT_EQ(c.geometry->top, tops[n - 1]);
            // one font for the lists of all rows, whatever the frame's font makes of them
            EXPECT_EQ(c.fontGroup, p.c("cbx_a1_servo").fontGroup);
            EXPECT_FALSE(c.fontGroup.empty());
        }
    EXPECT_EQ(p.c("cbx_a3_servo").items, (std::vector<std::string>{"Servo 1", "Servo 2", "Servo 3", "Servo 4"}));
    EXPECT_EQ(p.c("cbx_a3_action").items, (std::vector<std::string>{"Start", "Start Loop", "Abbruch", "Beenden"}));
    EXPECT_EQ(p.c("cbx_a3_curve").items, (std::vector<std::string>{"Kurve 1", "Kurve 2", "Kurve 3", "Kurve 4"}));
    EXPECT_EQ(p.c("cbx_a3_relais").items, (std::vector<std::string>{"Relais 1", "Relais 2", "Relais 3", "Relais 4"}));
    EXPECT_EQ(p.c("cbx_a8_servo").hint, "Auswahl des Servo");
    EXPECT_EQ(p.c("cbx_a8_curve").hint, "Auswahl der Kurve");
    EXPECT_EQ(p.c("cbx_a8_relais").hint, "Auswahl des Relais");
    EXPECT_EQ(p.c("cbx_a1_action").hint, "Start: Kurve einmalig starten\r\nStart Loop: Kurve immer wieder starten\r\n"
                                         "Abbruch: Kurve sofort abbrechen\r\n"
                                         "Beenden: Kurve nach Beendigung abbrechen (Loop Ende)");

    // one pixel higher than designed, so that the option boxes clear both borders
    const int groupTops[] = {205, 286, 367, 448};
    for (int s = 1; s <= 4; ++s) {
        const std::string n = std::to_string(s), group = "GroupBox_Servo" + n;
        EXPECT_EQ(p.c(group).caption, "Servo " + n);
        EXPECT_EQ(p.c(group).geometry->top, groupTops[s - 1]);
        EXPECT_EQ(p.c(group).geometry->height, 81);
        EXPECT_EQ(p.c("cbx_v_off_" + n).caption, "Spannung aus");
        EXPECT_EQ(p.c("cbx_v_off_" + n).hint, "Versorgungs-Spannung des Servos nach Ablauf abschalten");
        EXPECT_EQ(p.c("cbx_imp_off_" + n).caption, "Impulse aus");
        EXPECT_EQ(p.c("cbx_imp_off_" + n).hint, "Ansteuer-Impulse des Servos nach Ablauf abschalten");
        EXPECT_EQ(p.c("cbx_no_ir_" + n).caption, "keine Unterbrechung");
        EXPECT_EQ(p.c("cbx_no_rep_" + n).caption, "keine Wiederholung");
        EXPECT_EQ(p.c("cbx_no_rep_" + n).hint, "es kann nicht 2x hintereinander die selbe Kurve gefahren werden");
        for (const char* box : {"cbx_v_off_", "cbx_imp_off_", "cbx_no_ir_", "cbx_no_rep_"}) {
            EXPECT_EQ(p.c(box + n).parent, group);
            EXPECT_EQ(p.c(box + n).fontGroup, p.c("cbx_v_off_1").fontGroup);
            EXPECT_FALSE(p.c(box + n).fontGroup.empty());
        }
        EXPECT_EQ(p.c("servo_edt_Offset_" + n).hint,
                  "Diese Zeit definiert die untere Grenze, mit der der Servo\r\nangesteuert wird.\r\n"
                  "Dieser Parameter kann später über eine Lern-Funktion \r\n"
                  "an den Servo und die Konstruktion angepasst werden.\r\n"
                  "Eine Änderung der Min-Zeit verschieb auch die Max-Zeit\r\n(wirkt wie ein Offset)");
        EXPECT_EQ(p.c("servo_edt_max_" + n).hint,
                  "Mit dieser Impuls-Zeit wird der Servo Maximal angesteuert. \r\n"
                  "Dieser Parameter kann später über eine Lern-Funktion \r\n"
                  "an den Servo und die Konstruktion angepasst werden.\r\n"
                  "Eine Änderung der Min-Zeit verschieb auch die Max-Zeit\r\n(wirkt wie ein Offset)");
        EXPECT_EQ(p.c("lbl_servo_min_" + n).caption, "ms Impuls-Zeit (Min)");
        EXPECT_EQ(p.c("lbl_servo_max_" + n).caption, "ms Impuls-Zeit (Max)");
        const struct {
            const char *name, *caption, *hint;
        } buttons[] = {
            {"dec10", "<<", "- 80 us"}, {"dec1", "<", "- 8 us"}, {"inc1", ">", "+ 8 us"}, {"inc10", ">>", "+ 80 us"}};
        int lastLeft = 0;
        for (const char* row : {"offset", "faktor"})
            for (const auto& b : buttons) {
                const Control& c = p.c(std::string("btn_") + b.name + row + "_" + n);
                EXPECT_EQ(c.kind, ControlKind::Button);
                EXPECT_EQ(c.caption, b.caption);
                EXPECT_EQ(c.hint, b.hint);
                EXPECT_EQ(c.parent, group);
                if (std::string(b.name) == "dec10")
                    lastLeft = 0;
                EXPECT_GT(c.geometry->left, lastLeft);
                lastLeft = c.geometry->left;
            }
    }
    // Servo 2's hint has always been written without the blank.
    EXPECT_EQ(p.c("cbx_no_ir_1").hint,
              "eine aktive Kurve für Servo 1 kann nicht durch eine andere Kurve unterbrochen werden");
    EXPECT_EQ(p.c("cbx_no_ir_2").hint,
              "eine aktive Kurve für Servo2 kann nicht durch eine andere Kurve unterbrochen werden");
    EXPECT_EQ(p.c("cbx_no_ir_4").hint,
              "eine aktive Kurve für Servo 4 kann nicht durch eine andere Kurve unterbrochen werden");
}

TEST(KornelAdrPage, ShownForTheSessionsFile)
{
    ScriptedPrompter prompter;
    Session session{prompter};
    session.ident.Identifier = 0x4200;
    session.image.set_Hex_EE(0x62, "40");
    KornelPage curves;
    KornelAdrPage adr{curves};
    curves.CurveData[KornelAdrPage::ServoActionEntry(2)] = 0x20;
    adr.Updating = true; // as the host sets it
    adr.showFor({session.image, session.prompter(), session.ident.Identifier});
    EXPECT_FALSE(adr.Updating);
    EXPECT_EQ(adr.find("lbl_servo_adresse02")->caption, "Adresse 01 aus");
    EXPECT_FALSE(adr.find("cbx_a2_curve")->visible);
    EXPECT_EQ(adr.PulseOffset[1], 0x40);
    EXPECT_EQ(adr.find("servo_edt_Offset_2")->text, "0,512");
    EXPECT_TRUE(prompter.shown.empty());
}
