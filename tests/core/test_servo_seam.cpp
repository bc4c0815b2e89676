// The two servo pages together, on the gpasm-built Kornel-4 firmware: what the address page
// changes in the curve page's working copy is pending there and reaches the image at the right
// program word with "übernehmen"; the pulse buttons' values reach EEPROM 0x60..0x67 the same
// way; "verwerfen" brings the address lists back but keeps the pulse values; and the working
// copy as the comparison and the carrying of settings see it (parts, setData).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/firmware/HexText.h"
#include "core/pages/PageAction.h"
#include "core/pages/servo/KornelAdrPage.h"
#include "core/pages/servo/KornelPage.h"
#include "core/tools/SettingsDiff.h"
#include "core/tools/SettingsMigration.h"

using namespace hz;
using namespace hz::pages;
using hz::test::ScriptedPrompter;

namespace {

// The fixture (tests/fixtures/servo_kornel4.asm): address 1 is 0x01/0x11 (words 0x567/0x568),
// address 6 is 0x02/0x21 (0x5EA/0x5EB), the flags of servo 2 are 0x02 (0x5E4); pulse bytes
// 7D 00 7D 7F 32 80 FF FD at EEPROM 0x60..0x67; curve 1 point 1 is 20.
struct Servo {
    ScriptedPrompter prompter;
    Session session{prompter};
    KornelPage& curves = session.pages.page<KornelPage>();
    KornelAdrPage& adr = session.pages.page<KornelAdrPage>();

    explicit Servo(const char* file = "servo_kornel4.hex")
    {
        EXPECT_EQ(session.LoadFile(hz::test::fixture(file)), LoadOutcome::Done);
        prompter.clear();
    }
    bool act(const std::string& action)
    {
        std::string error;
        const bool ok = ApplyPageAction(session.shownPages(), action, error);
        EXPECT_TRUE(ok) << action << ": " << error;
        return ok;
    }
    const Control& c(const std::string& name) const
    {
        const Control* found = curves.find(name);
        if (!found)
            found = adr.find(name);
        EXPECT_TRUE(found) << name;
        static const Control none;
        return found ? *found : none;
    }
    std::string shown(const std::string& list) const
    {
        const Control& l = c(list);
        return l.selected >= 0 && l.selected < static_cast<int>(l.items.size())
                   ? l.items[static_cast<std::size_t>(l.selected)]
                   : std::string();
    }
    // Low bytes of the table's program words 0x500..0x6FF as the image holds them.
    std::vector<std::string> table() const
    {
        std::vector<std::string> t;
        for (int w = 0x500; w < 0x700; ++w)
            t.push_back(session.image.get_Hex_ROM(2 * w));
        return t;
    }
    std::vector<std::string> highBytes() const
    {
        std::vector<std::string> t;
        for (int w = 0x500; w < 0x700; ++w)
            t.push_back(session.image.get_Hex_ROM(2 * w + 1));
        return t;
    }
    std::vector<std::string> pulses() const
    {
        std::vector<std::string> p;
        for (int i = 0x60; i < 0x68; ++i)
            p.push_back(session.image.get_Hex_EE(i));
        return p;
    }
};

const std::vector<std::string> kFixturePulses{"7D", "00", "7D", "7F", "32", "80", "FF", "FD"};

} // namespace

TEST(ServoPages, AnAddressChangeIsPendingAndLandsAtItsProgramWord)
{
    const struct Case {
        std::vector<std::string> actions;
        int word;
        const char* low;
    } cases[] = {
        {{"cbx_a6_servo=Servo 3", "cbx_a6_action=Beenden"}, 0x5EA, "44"},
        {{"cbx_a1_curve=Kurve 4", "cbx_a1_relais=Relais 2"}, 0x568, "82"},
        {{"cbx_a3_action=Start Loop"}, 0x667, "14"},
        {{"cbx_a8_curve=Kurve 1"}, 0x6EB, "11"},
        {{"cbx_no_rep_2=1"}, 0x5E4, "82"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.actions.front());
        Servo s;
        ASSERT_FALSE(s.curves.hasPending());
        const std::vector<std::string> before = s.table();
        const std::vector<std::string> high = s.highBytes();
        for (const std::string& a : k.actions)
            ASSERT_TRUE(s.act(a));
        // the address page enables the curve page's "übernehmen"; the image waits for it
        EXPECT_TRUE(s.curves.hasPending());
        EXPECT_TRUE(s.c("servo_btn_uebernehmen").enabled);
        EXPECT_TRUE(s.session.HasUnsavedChanges());
        EXPECT_EQ(s.table(), before);

        // the save asks and writes the working copy: one byte moves, at its word
        s.prompter.answers = {Answer::Yes};
        ASSERT_TRUE(s.session.PrepareSave());
        EXPECT_EQ(s.prompter.texts(), std::vector<std::string>{"Geänderte Werte übernehmen?"});
        EXPECT_FALSE(s.curves.hasPending());
        std::vector<std::string> expected = before;
        expected[static_cast<std::size_t>(k.word - 0x500)] = k.low;
        EXPECT_EQ(s.table(), expected);
        EXPECT_EQ(s.highBytes(), high);
        EXPECT_EQ(s.pulses(), kFixturePulses);
    }
}

TEST(ServoPages, PulseButtonsAreWrittenByUebernehmen)
{
    Servo s;
    ASSERT_TRUE(s.act("btn_inc10offset_1"));
    ASSERT_TRUE(s.act("btn_inc10faktor_1"));
    ASSERT_TRUE(s.act("btn_dec1faktor_4"));
    EXPECT_EQ(s.c("servo_edt_Offset_1").text, "1,080");
    EXPECT_TRUE(s.curves.hasPending());
    EXPECT_EQ(s.pulses(), kFixturePulses) << "nothing written before übernehmen";

    const std::vector<std::string> table = s.table();
    ASSERT_TRUE(s.act("servo_btn_uebernehmen"));
    EXPECT_FALSE(s.curves.hasPending());
    // 125 + 10, 0 + 10; servo 4's code 253 steps down to 252
    EXPECT_EQ(s.pulses(), (std::vector<std::string>{"87", "0A", "7D", "7F", "32", "80", "FF", "FC"}));
    EXPECT_EQ(s.table(), table);
}

TEST(ServoPages, VerwerfenBringsBackTheAddressListsButKeepsThePulses)
{
    Servo s;
    ASSERT_EQ(s.shown("cbx_a6_action"), "Start");
    ASSERT_TRUE(s.c("cbx_a6_curve").visible);
    const auto data = s.curves.CurveData;
    ASSERT_TRUE(s.act("cbx_a6_servo=Servo 3"));
    ASSERT_TRUE(s.act("cbx_a6_action=Beenden"));
    ASSERT_TRUE(s.act("cbx_v_off_3=1"));
    ASSERT_TRUE(s.act("btn_inc10offset_2"));
    EXPECT_FALSE(s.c("cbx_a6_curve").visible);
    EXPECT_FALSE(s.c("cbx_a6_relais").visible);

    ASSERT_TRUE(s.act("servo_btn_verwerfen"));
    EXPECT_EQ(s.curves.CurveData, data);
    EXPECT_EQ(s.shown("cbx_a6_servo"), "Servo 2");
    EXPECT_EQ(s.shown("cbx_a6_action"), "Start");
    EXPECT_TRUE(s.c("cbx_a6_curve").visible);
    EXPECT_TRUE(s.c("cbx_a6_relais").visible);
    EXPECT_FALSE(s.c("cbx_v_off_3").checked);
    EXPECT_FALSE(s.curves.hasPending());
    EXPECT_FALSE(s.adr.Updating);
    // the pulse values are the address page's own: they stay, shown, for the next übernehmen
    EXPECT_EQ(s.adr.PulseOffset[1], 0x87);
    EXPECT_EQ(s.c("servo_edt_Offset_2").text, "1,080");
    EXPECT_EQ(s.pulses(), kFixturePulses);
    ASSERT_TRUE(s.act("cbx_a1_servo=Servo 1")); // no change of the byte, but a user choice
    ASSERT_TRUE(s.act("servo_btn_uebernehmen"));
    EXPECT_EQ(s.pulses()[2], "87");
}

TEST(ServoPages, ASetFileRefillsTheAddressPage)
{
    Servo s;
    const auto dir = hz::test::tempDir("servo-seam");
    const std::string set = (dir / "setup.set").string();
    // address 1 to "Kurve 3" / "Relais 4" and servo 1 "keine Unterbrechung", then saved as a
    // set-up and thrown away
    ASSERT_TRUE(s.act("cbx_a1_curve=Kurve 3"));
    ASSERT_TRUE(s.act("cbx_a1_relais=Relais 4"));
    ASSERT_TRUE(s.act("cbx_no_ir_1=1"));
    ASSERT_TRUE(s.act("servo_save_all=" + set));
    ASSERT_TRUE(s.act("servo_btn_verwerfen"));
    ASSERT_EQ(s.shown("cbx_a1_curve"), "Kurve 1");

    ASSERT_TRUE(s.act("servo_load_all=" + set));
    EXPECT_EQ(s.shown("cbx_a1_curve"), "Kurve 3");
    EXPECT_EQ(s.shown("cbx_a1_relais"), "Relais 4");
    EXPECT_TRUE(s.c("cbx_no_ir_1").checked);
    EXPECT_FALSE(s.adr.Updating);
    EXPECT_TRUE(s.curves.hasPending());
    std::filesystem::remove_all(dir);
}

TEST(ServoPages, ShowingAnotherFileSetsUpBothPagesForIt)
{
    Servo s;
    ASSERT_TRUE(s.act("btn_inc10offset_1"));
    ASSERT_TRUE(s.act("cbx_a2_action=Abbruch"));
    ASSERT_EQ(s.session.LoadFile(hz::test::fixture("servo_kornelchen_f.hex")), LoadOutcome::Done);
    EXPECT_FALSE(s.curves.hasPending());
    EXPECT_FALSE(s.curves.Updating);
    EXPECT_FALSE(s.adr.Updating);
    EXPECT_EQ(s.adr.PulseOffset[0], 0x7D);
    EXPECT_EQ(s.c("lbl_servo_adresse02").caption, "Adresse 01 aus");
    EXPECT_FALSE(s.c("GroupBox_Servo2").visible);
    EXPECT_EQ(s.shown("cbx_a2_action"), "Start Loop");
    EXPECT_EQ(s.c("Label_Servo_sw1a").caption, "Taster 3 close");
}

TEST(ServoPages, WorkingCopyPartsNameEveryEntryOnce)
{
    for (const char* file : {"servo_kornel4.hex", "servo_kornelchen.hex"}) {
        Servo s(file);
        const std::vector<DataPart> parts = s.curves.dataParts();
        std::vector<int> owner(512, 0);
        for (const DataPart& p : parts)
            for (int e = p.first; e < p.first + p.count; ++e) {
                ASSERT_GE(e, 0);
                ASSERT_LT(e, 512);
                ++owner[static_cast<std::size_t>(e)];
            }
        EXPECT_EQ(std::count(owner.begin(), owner.end(), 1), 512) << "every entry in exactly one part";
        const bool kornel4 = std::string(file) == "servo_kornel4.hex";
        const struct {
            int entry;
            std::string name;
        } named[] = {
            {128 + 0, "Kurve 2 Punkte"},
            {128 + 99, "Kurve 2 Punkte"},
            {128 + 100, "Kurve 2 Flags"},
            {128 + 101, "Kurve 2 Anzahl Punkte"},
            {128 + 102, "Kurve 2 Stretch-Faktor"},
            {128 + 103, "Adresse 2 Servo/Aktion"},
            {128 + 107, "Adresse 6 Kurve/Relais"},
            {384 + 110, kornel4 ? "Taster 2 open Aktion" : "Taster 4 open Aktion"},
        };
        for (const auto& n : named) {
            const auto it = std::find_if(parts.begin(), parts.end(), [&](const DataPart& p) {
                return p.first <= n.entry && n.entry < p.first + p.count;
            });
            ASSERT_NE(it, parts.end());
            EXPECT_EQ(it->name, n.name) << n.entry;
        }
        const std::vector<DataPart> pulses = s.adr.dataParts();
        ASSERT_EQ(pulses.size(), 8u);
        EXPECT_EQ(pulses[3].name, "Servo 2 Impuls-Zeit Max");
        EXPECT_EQ(pulses[3].first, 3);
    }
}

TEST(ServoPages, DiffNamesTheCurvePointAndThePulse)
{
    Servo a, b;
    ASSERT_TRUE(b.act("servo_Image1=draw:26,0"));
    ASSERT_TRUE(b.act("btn_inc1faktor_3"));
    std::vector<tools::Difference> data;
    for (tools::Difference& d : tools::DiffSessions(a.session, b.session))
        if (d.where == "data")
            data.push_back(d);
    ASSERT_EQ(data.size(), 2u);
    EXPECT_EQ(data[0].name, "FrameKornel1:Kurve 1 Punkte[1]");
    EXPECT_EQ(data[0].caption, "Kurve 1 Punkte");
    EXPECT_EQ(data[0].a, "20");
    EXPECT_EQ(data[0].b, "127");
    EXPECT_EQ(tools::DescribeDifference(data[0]), "Kurve 1 Punkte[1]: 20 → 127");
    EXPECT_EQ(data[1].name, "FrameKornelAdr1:Servo 3 Impuls-Zeit Max[0]");
    EXPECT_EQ(data[1].a, "128");
    EXPECT_EQ(data[1].b, "129");
}

TEST(ServoPages, SetDataTakesAWholeTableAndHoldsItPending)
{
    Servo s;
    std::vector<int> table = s.curves.data();
    table[1] = 99;                                   // curve 1 point 1
    table[101] = 4;                                  // curve 1 now has four points
    table[KornelAdrPage::CurveRelayEntry(6)] = 0x48; // address 6: "Kurve 3", "Relais 4"
    table[384 + 101] = 0;                            // curve 4 keeps a count of 0
    table[128 + 110] = 0x04;                         // slot 2: "wie Adr.3"
    ASSERT_TRUE(s.curves.setData(table));
    EXPECT_EQ(s.curves.data(), table);
    EXPECT_TRUE(s.curves.hasPending());
    EXPECT_EQ(s.c("edt_Anzahl").text, "4");
    EXPECT_EQ(s.shown("cbx_a6_curve"), "Kurve 3");
    EXPECT_EQ(s.shown("cbx_a6_relais"), "Relais 4");
    EXPECT_EQ(s.shown("servo_cbx_s1o"), "wie Adr.3");
    // shown: four points, the second one at 99
    const Drawing& d = s.c("servo_Image1").drawing;
    EXPECT_EQ(std::count_if(d.begin(), d.end(), [](const DrawOp& op) { return op.kind == DrawOp::Kind::Rectangle; }),
              4);
    // curve 4 shown with its count of 0: drawn and shown as one point, while the copy keeps
    // what the other file holds
    ASSERT_TRUE(s.act("servo_rad_a4"));
    ASSERT_TRUE(s.curves.setData(table));
    EXPECT_EQ(s.curves.data(), table);
    EXPECT_EQ(s.c("edt_Anzahl").text, "1");

    // what no table of this page can hold is refused and changes nothing
    ASSERT_TRUE(s.act("servo_btn_uebernehmen"));
    const std::vector<int> kept = s.curves.data();
    std::vector<int> tooShort(511, 0), negative = table, tooLarge = table;
    negative[7] = -1;
    tooLarge[300] = 256;
    for (const std::vector<int>* bad : {&tooShort, &negative, &tooLarge}) {
        EXPECT_FALSE(s.curves.setData(*bad));
        EXPECT_EQ(s.curves.data(), kept);
        EXPECT_FALSE(s.curves.hasPending());
    }

    // the pulse values: shown, and pending on the curve page, whose übernehmen writes them
    ASSERT_TRUE(s.adr.setData({50, 1, 125, 127, 255, 128, 60, 253}));
    EXPECT_EQ(s.c("servo_edt_Offset_1").text, "0,400");
    EXPECT_EQ(s.c("servo_edt_max_2").text, "3,024");
    EXPECT_TRUE(s.curves.hasPending());
    EXPECT_FALSE(s.adr.setData({1, 2, 3}));
    EXPECT_FALSE(s.adr.setData({1, 2, 3, 4, 5, 6, 7, 300}));
    ASSERT_TRUE(s.act("servo_btn_uebernehmen"));
    EXPECT_EQ(s.pulses(), (std::vector<std::string>{"32", "01", "7D", "7F", "FF", "80", "3C", "FD"}));
}

TEST(ServoPages, MigrationCarriesTheTableAndThePulsesOnlyBetweenTypesThatReadThemAlike)
{
    // Kornelchen and Kornelchen from V3.58 read the table and the pulse bytes the same way.
    Servo from("servo_kornelchen.hex"), to("servo_kornelchen_358.hex");
    ASSERT_TRUE(from.act("servo_Image1=draw:26,0"));
    ASSERT_TRUE(from.act("cbx_a2_curve=Kurve 4"));
    ASSERT_TRUE(from.act("btn_dec10offset_1"));
    const tools::MigrationReport report = tools::MigrateSettings(from.session, to.session);
    ASSERT_TRUE(report.refusal.empty()) << report.refusal;
    for (const char* page : {"FrameKornel1", "FrameKornelAdr1"}) {
        const auto carried = std::find_if(report.carried.begin(), report.carried.end(),
                                          [&](const auto& c) { return c.where == "data" && c.name == page; });
        EXPECT_NE(carried, report.carried.end()) << page;
    }
    EXPECT_EQ(to.curves.data(), from.curves.data());
    EXPECT_EQ(to.adr.data(), from.adr.data());
    EXPECT_TRUE(to.curves.hasPending());
    to.prompter.answers = {Answer::Yes};
    ASSERT_TRUE(to.session.PrepareSave());
    EXPECT_EQ(to.table()[1], "7F");
    EXPECT_EQ(to.pulses()[0], "73"); // servo 1: 125 - 10

    // The Kornel-4 reads addresses 5 to 8, four servos' flags and pulse ranges, and its
    // push-button slots answer buttons 1 and 2; on the Kornelchen those bytes mean something
    // else or nothing. Neither copy goes across, in either direction, and neither do the lists,
    // boxes and counts both pages show from them: they are entries of those tables.
    for (const auto& [a, b] : {std::pair{"servo_kornel4.hex", "servo_kornelchen.hex"},
                               std::pair{"servo_kornelchen.hex", "servo_kornel4.hex"}}) {
        SCOPED_TRACE(std::string(a) + " -> " + b);
        Servo old(a), neu(b);
        // What no control of both pages shows differs: every point, the flags of servos 2 to 4,
        // the bytes from 105 on (addresses 5 to 8, the push-button slots), all pulse values.
        std::vector<int> t = old.curves.data();
        for (std::size_t e = 0; e < t.size(); ++e) {
            const std::size_t i = e % 128;
            if (i < 100 || i >= 105 || (i == 100 && e >= 128))
                t[e] = (t[e] + 1) & 0xFF;
        }
        ASSERT_TRUE(old.curves.setData(t));
        std::vector<int> p = old.adr.data();
        for (int& v : p)
            v = (v + 1) & 0xFF;
        ASSERT_TRUE(old.adr.setData(p));
        // ... and what both show: curve 1's stretch, address 2's curve
        for (const char* action : {"edt_stretch=12", "cbx_a2_curve=Kurve 4"})
            old.act(action);
        const std::vector<std::string> table = neu.table();
        const std::vector<std::string> pulses = neu.pulses();
        const tools::MigrationReport r = tools::MigrateSettings(old.session, neu.session);
        ASSERT_TRUE(r.refusal.empty()) << r.refusal;
        std::map<std::string, std::string> notCarried;
        for (const auto& n : r.notCarried)
            notCarried[n.name] = n.reason;
        EXPECT_EQ(notCarried["FrameKornel1"], "Die Arbeitskopie ist in NEU anders aufgebaut (" +
                                                  neu.curves.dataLayout() + " statt " + old.curves.dataLayout() + ").");
        EXPECT_EQ(notCarried["FrameKornelAdr1"], "Die Arbeitskopie ist in NEU anders aufgebaut (" +
                                                     neu.adr.dataLayout() + " statt " + old.adr.dataLayout() + ").");
        for (const char* name : {"edt_stretch", "cbx_a2_curve"})
            EXPECT_EQ(notCarried[name], "Der Wert steht in der Arbeitskopie <Servokurven>, die nicht übernommen wird.")
                << name;
        neu.prompter.answers = {Answer::Yes};
        ASSERT_TRUE(neu.session.PrepareSave());
        EXPECT_EQ(neu.table(), table);
        EXPECT_EQ(neu.pulses(), pulses);
    }
}

TEST(ServoPages, MigrationKeepsTheTargetsOwnStretchWhenTheTableStaysBehind)
{
    // A stretch of 250 in the old table, which the Kornel-4 reads differently: the stretch is an
    // entry of that table and stays behind with it (typed in, it would have been stored limited
    // to 200); the new file keeps its own 10. The spinner beside the edit repeats its number and
    // is no setting of its own: it is not listed a second time, nor carried.
    Servo from("servo_kornelchen.hex"), to("servo_kornel4.hex");
    from.session.image.set_Hex_ROM(2 * (0x500 + 102), "FA");
    from.curves.showFor({from.session.image, from.session.prompter(),
                         from.session.ident.Identifier}); // as loaded: shown as the table holds it
    ASSERT_EQ(from.c("edt_stretch").text, "250");
    const tools::MigrationReport r = tools::MigrateSettings(from.session, to.session);
    std::map<std::string, std::string> reasons;
    for (const auto& n : r.notCarried)
        reasons[n.name] = n.reason;
    EXPECT_EQ(reasons["edt_stretch"], "Der Wert steht in der Arbeitskopie <Servokurven>, die nicht übernommen wird.");
    EXPECT_EQ(reasons.count("UpDown2"), 0u) << "the spinner is listed as a setting";
    EXPECT_EQ(to.c("edt_stretch").text, "10");
    EXPECT_EQ(to.curves.data()[102], 10);
}
