// The additional-functions page model: which rows, modes and options each decoder type shows,
// how typed values, mode clicks, boxes and track bars write the EEPROM bytes, and where
// setUp places the controls - all without a window.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>

#include "GermanNumbers.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/catalogue/Catalogue.h"
#include "core/firmware/HexText.h"
#include "core/pages/PageAction.h"
#include "core/pages/zusatz/ZusatzPage.h"
#include "core/pages/zusatz/ZusatzTypes.h"

using namespace hz;
using namespace hz::pages;
using hz::test::ScriptedPrompter;

namespace {

struct Shown {
    ScriptedPrompter prompter;
    Session session{prompter};
    ZusatzPage& page = session.pages.page<ZusatzPage>();

    // Shows the page as the host does after loading a file of this type, version and EEPROM.
    void show(int identifier, Version version = {3, 60}, const std::map<int, std::string>& eeprom = {})
    {
        session.image.resetMemory();
        for (const auto& [address, text] : eeprom)
            session.image.set_Hex_EE(address, text);
        session.image.facts.version = version;
        session.ident.Identifier = identifier;
        session.pages.ShowPage(PageZusatz, {session.image, session.prompter(), session.ident.Identifier});
    }
    std::string ee(int address) const { return session.image.get_Hex_EE(address); }
    const Control& c(const std::string& name) const { return page.control(name); }
    // Visible on the screen: the control and every group it sits in.
    bool onScreen(const std::string& name) const
    {
        for (const Control* at = &page.control(name); at; at = at->parent.empty() ? nullptr : page.find(at->parent))
            if (!at->visible)
                return false;
        return true;
    }
    bool checked(const std::string& name) const { return c(name).checked; }
    Rect at(const std::string& name) const { return *c(name).geometry; }
    // Runs a scripted action as `set --do` does.
    void act(const std::string& action)
    {
        std::string error;
        ASSERT_TRUE(ApplyPageAction(session.shownPages(), action, error)) << action << ": " << error;
    }
    // The captions of the rows shown, in order.
    std::vector<std::string> rows() const
    {
        std::vector<std::string> r;
        for (int k = 0; k < ZusatzPage::kRows; ++k) {
            EXPECT_EQ(page.rowLabel(k).visible, page.rowEdit(k).visible) << k;
            if (page.rowLabel(k).visible)
                r.push_back(page.rowLabel(k).caption);
        }
        return r;
    }
    std::vector<std::string> modes() const
    {
        std::vector<std::string> m;
        for (int k = 1; k <= 6; ++k) {
            const std::string name = "rad_mode" + std::to_string(k);
            if (onScreen(name))
                m.push_back(c(name).caption);
        }
        return m;
    }
    // The option controls on the screen, by name, in the page's order.
    std::string options() const
    {
        static const char* const names[] = {
            "lbl_zusatz3",     "lbl_text_1",      "cbx_zusatz_1",    "cbx_zusatz_2",      "cbx_zusatz_3",
            "cbx_zusatz_4",    "cbx_zusatz_5",    "cbx_zusatz_6",    "cbx_zusatz_7",      "cbx_zusatz_8",
            "cbx_weiche_ab",   "TrackBar_01",     "lbl_trackbar_01", "lbl_trackbar_01_l", "lbl_trackbar_01_r",
            "TrackBar_neon_1", "TrackBar_neon_2", "lbl_fNeon_01",    "lbl_fNeon_02",      "lbl_fNeon_03"};
        std::string s;
        for (const char* n : names)
            if (onScreen(n))
                s += (s.empty() ? "" : " ") + std::string(n);
        return s;
    }
};

const std::string kTimeOut = "Time Out (1..127)";
const std::string kMode3 = "Abschaltzeit in Mode 3 (1..255)";
const std::string kNormal = "Mode 1: Normale Betriebsart";
const std::vector<std::string> kM3{kNormal, "Mode 2: Dumm-Mode", "Mode 3: Selbstabschaltungs-Mode"};
const std::vector<std::string> kDunkel{kNormal, "Mode 2: mit Dunkeltastung"};
const std::vector<std::string> kDumm{kNormal, "Mode 2: Dumm-Mode"};
const std::vector<std::string> kNeon{"Mode 1: Normale Betriebsart Neon", "Mode 2: Steuerwagen Neon",
                                     "Mode 3: Normale Betriebsart ohne Neon", "Mode 4: Steuerwagen ohne Neon"};
const std::vector<std::string> kLand{"Mode 1: Deutschland", "Mode 2: Österreich"};

const std::string kDrive = "cbx_weiche_ab";
const std::string kSwitchOff = "lbl_zusatz3 cbx_zusatz_1 cbx_zusatz_2";
const std::string kSpeed = "TrackBar_01 lbl_trackbar_01 lbl_trackbar_01_l lbl_trackbar_01_r";
const std::string kBrightness = "TrackBar_neon_1 TrackBar_neon_2 lbl_fNeon_01 lbl_fNeon_02 lbl_fNeon_03";

enum LockShown { NoLock, Lock, LockAbove354 };

struct TypeCase {
    int identifier;
    std::vector<std::string> rows;
    std::vector<std::string> modes; // with a group: the radio buttons on the screen
    bool group;                     // group_mode on the screen (from 3.55 on where modesAbove354)
    bool dumb;
    LockShown lock;
    std::string options;
    std::string heading; // lbl_zusatz
    bool groupAbove354 = false;
};

// Every decoder type of the additional-functions page, with blank EEPROM.
const std::vector<TypeCase> kTypes = {
    {0x8, {kTimeOut}, {}, false, false, NoLock, "", ""},
    {0xA, {kTimeOut}, {}, false, false, NoLock, "", ""},
    {0x2, {kTimeOut}, {}, false, false, NoLock, "", ""},
    {0x65, {kTimeOut}, {}, false, false, NoLock, "", ""},
    {0x208, {kTimeOut}, {}, false, false, NoLock, kDrive, ""},
    {0x20A, {kTimeOut}, {}, false, false, NoLock, kDrive, ""},
    {0x202, {kTimeOut}, {}, false, false, NoLock, kDrive, ""},
    {0x265, {kTimeOut}, {}, false, false, NoLock, kDrive, ""},
    {0x308, {kTimeOut}, {}, false, false, NoLock, kSwitchOff, ""},
    {0x30A, {kTimeOut}, {}, false, false, NoLock, kSwitchOff, ""},
    {0x30C, {kTimeOut}, {}, false, false, NoLock, kSwitchOff, ""},
    {0x302, {kTimeOut}, {}, false, false, NoLock, kSwitchOff, ""},
    {0x365, {kTimeOut}, {}, false, false, NoLock, kSwitchOff, ""},
    {0x408,
     {kTimeOut},
     {"Mode 1: Laternen-Ausgang weich einblenden (Fading)", "Mode 2: Laternen-Ausgang geschaltet"},
     true,
     false,
     Lock,
     kSwitchOff,
     ""},
    {0xB, {kMode3}, kM3, true, false, LockAbove354, "", ""},
    {0x69, {kMode3}, {kM3[0], kM3[1], kM3[2], "Mode 4: Single Output-Mode"}, true, false, LockAbove354, "", ""},
    {0x3, {}, kDunkel, true, false, LockAbove354, "", ""},
    {0x3D00, {}, {kNormal, "Mode 2: Steuerwagen"}, true, false, NoLock, "", ""},
    {0x13D00, {}, {kNormal, "Mode 2: Steuerwagen"}, true, true, Lock, "", ""},
    {0x13F00, {}, {}, true, true, NoLock, "", ""},
    {0x1A4100, {kTimeOut}, kNeon, true, false, NoLock, kBrightness, ""},
    {0x1B4100, {kTimeOut}, kNeon, true, false, NoLock, kBrightness, ""},
    {0x2A4100, {kTimeOut}, kNeon, true, true, Lock, kBrightness, ""},
    {0x2B4100, {kTimeOut}, kNeon, true, true, Lock, kBrightness, ""},
    {0x6A, {kMode3}, kM3, true, false, LockAbove354, "", ""},
    {0x6C, {}, kDunkel, true, false, LockAbove354, "", ""},
    {0x6D, {}, kDunkel, true, false, LockAbove354, "", ""},
    {0x68, {}, kDumm, true, false, LockAbove354, "", ""},
    {0x167, {}, {}, false, false, NoLock, kSpeed, ""},
    {0x267, {"Grünphase Haupt (x 0.2 s)", "Grünphase Neben (x 0.2 s)"}, kLand, true, false, LockAbove354, kSpeed, ""},
    {0x367,
     {"Strasse 1 GRÜN", "Strasse 2 GRÜN", "GELB Phase", "ROT/GELB Phase", "alles ROT", "Fußgänger Vorlauf GRÜN",
      "Fußgänger Vorlauf ROT"},
     kLand,
     true,
     false,
     LockAbove354,
     kSpeed,
     ""},
    {0x6F, {}, {}, false, false, NoLock, kSpeed, ""},
    {0x170, {}, {}, false, false, NoLock, "cbx_zusatz_1 cbx_zusatz_2", "Spezial-Funktion Ausgang 9 / 10:"},
    {0x270,
     {},
     {},
     false,
     false,
     NoLock,
     "lbl_text_1 cbx_zusatz_1 cbx_zusatz_2 cbx_zusatz_3 cbx_zusatz_4 cbx_zusatz_5 cbx_zusatz_7 cbx_zusatz_8",
     "Funktion der Ausgänge:"},
    {0x66,
     {},
     {kNormal, "Mode 2: kein Einschaltblitz", "Mode 3: keine Druckschwankungen",
      "Mode 4: kein Blitz, keine Schwankungen"},
     true,
     false,
     Lock,
     "",
     "",
     true},
    {0x71, {"Ablaufgeschwindigkeit (1..255)", "Mindestanzahl (1..9)"}, {}, false, false, NoLock, "", ""},
    {0x171,
     {"Ablaufgeschwindigkeit (1..255)", "Mindestanzahl (1..9)"},
     {"Mode 1: Einblenden (Fading)", "Mode 2: geschaltet"},
     true,
     false,
     Lock,
     "",
     ""},
    {0x3E00, {}, kDumm, true, false, NoLock, "", ""},
    {0x13E00, {}, {kNormal, "Mode 2: Steuerwagen (Ausgang 3/4)"}, true, true, Lock, "", ""},
    {0xC9, {}, kDunkel, true, false, LockAbove354, "", ""},
    {0x1C9, {}, kDunkel, true, false, LockAbove354, "", ""},
    {0xCA, {}, kDunkel, true, false, LockAbove354, "", ""},
    {0x1CA, {}, kDunkel, true, false, LockAbove354, "", ""},
    {0xCB, {}, {"Mode 1: ohne ROT", "Mode 2: mit ROT "}, true, false, LockAbove354, "", ""},
    {0xCD, {}, kDunkel, true, false, LockAbove354, "", ""},
    {0xCE, {}, kDunkel, true, false, LockAbove354, "", ""},
    {0xCF, {}, kDunkel, true, false, LockAbove354, "", ""},
    // no set-up: an empty page
    {0x16D, {}, {}, false, false, NoLock, "", ""},
};

void expectType(Shown& s, const TypeCase& t, Version version)
{
    SCOPED_TRACE(testing::Message() << std::hex << "0x" << t.identifier << " V" << VersionText(version));
    s.show(t.identifier, version);
    const bool above = version.hundredths() > 354;
    const bool group = t.group && (!t.groupAbove354 || above);
    EXPECT_EQ(s.rows(), t.rows);
    EXPECT_EQ(s.onScreen("group_mode"), group);
    EXPECT_EQ(s.modes(), group ? t.modes : std::vector<std::string>{});
    EXPECT_EQ(s.onScreen("lbl_mode"), group && !t.modes.empty());
    EXPECT_EQ(s.onScreen("cbx_mode_bit6"), group && t.dumb);
    EXPECT_EQ(s.onScreen("cbx_mode_bit7"), group && (t.lock == Lock || (t.lock == LockAbove354 && above)));
    EXPECT_EQ(s.options(), t.options);
    EXPECT_EQ(s.c("lbl_zusatz").caption, t.heading);
    EXPECT_TRUE(s.onScreen("pnl_Zusatz"));
    EXPECT_FALSE(s.page.Updating);
    EXPECT_TRUE(s.prompter.shown.empty());
}

} // namespace

TEST(ZusatzPage, EachDecoderTypeShowsItsRowsModesAndOptions)
{
    // One session through all types, as one window loads file after file, and a fresh one
    // per type: nothing of an earlier type may stay on the page.
    Shown shared;
    for (Version version : {Version{3, 54}, Version{3, 55}})
        for (const TypeCase& t : kTypes) {
            expectType(shared, t, version);
            Shown fresh;
            expectType(fresh, t, version);
        }
}

TEST(ZusatzPage, TheTableCoversEveryTypeOfThePageAndNamesThemAsTheCatalogue)
{
    for (const DecoderType& type : DecoderCatalogue()) {
        if (type.Page != PageZusatz)
            continue;
        bool listed = false;
        for (const TypeCase& t : kTypes)
            listed = listed || t.identifier == type.Identifier;
        EXPECT_TRUE(listed) << type.Name;
    }
    for (const zusatz::ZusatzType& t : zusatz::ZusatzTypeTable()) {
        const DecoderType* type = FindDecoderType(t.identifier);
        ASSERT_NE(type, nullptr) << t.name;
        EXPECT_EQ(type->Name, t.name);
        EXPECT_EQ(type->Page, PageZusatz) << t.name;
        EXPECT_EQ(type->Identifier2, t.identifier2) << t.name;
    }
    EXPECT_EQ(zusatz::FindZusatzType(0x16D), nullptr);
    EXPECT_EQ(zusatz::FindZusatzType(0), nullptr);
}

TEST(ZusatzPage, RowsShowTheirBytesAndSeconds)
{
    struct Case {
        int identifier, row, address;
        std::string stored, text, seconds;
    } cases[] = {
        {0x8, 0, 0x20, "14", "20", "(10.0 sec.)"},
        {0x8, 0, 0x20, "FF", "255", "(127.5 sec.)"}, // outside the range: shown as it is
        {0x267, 0, 0x60, "19", "25", "(5.0 sec.)"},
        {0x367, 6, 0x75, "03", "3", "(0.6 sec.)"},
        {0x71, 1, 0x2F, "05", "5", ""},
        {0x171, 1, 0x30, "07", "7", ""},
    };
    // The seconds read with a point also where the process runs with a German LC_NUMERIC.
    for (const bool german : {false, true}) {
        std::optional<GermanNumbers> locale;
        if (german) {
            locale.emplace();
            ASSERT_TRUE(GermanNumbers::active()) << "no German locale to test with: install \"locales\"";
        }
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text + (german ? " (de_DE)" : ""));
            Shown s;
            s.show(c.identifier, Version{3, 60}, {{c.address, c.stored}});
            EXPECT_EQ(s.page.RowAddress[static_cast<std::size_t>(c.row)], c.address);
            EXPECT_EQ(s.page.rowEdit(c.row).text, c.text);
            EXPECT_EQ(s.page.rowSeconds(c.row).visible, !c.seconds.empty());
            if (!c.seconds.empty()) {
                EXPECT_EQ(s.page.rowSeconds(c.row).caption, c.seconds);
            }
        }
    }
    Shown hint;
    hint.show(0x71);
    EXPECT_EQ(hint.page.rowEdit(0).hint, "1 = schnell\n255 = langsam");
    EXPECT_EQ(hint.page.rowEdit(1).hint, "Anzahl der mindest aktiven Ausgänge beim Ablauf");
    EXPECT_EQ(hint.page.rowLabel(0).hint, "");
}

TEST(ZusatzPage, TypingWritesAcceptedValuesAndRefusesTheRest)
{
    const std::string notANumber = "Ungültige Eingabe.\rZugelassen sind nur Zahlen";
    const std::string range = "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich ";
    struct Step {
        std::string typed, byte, seconds, message;
        bool focus;
    };
    struct Case {
        int identifier, row, address;
        std::vector<Step> steps;
    } cases[] = {
        // keystroke by keystroke: 1, 12, then 128 is refused and 12 stays
        {0x8,
         0,
         0x20,
         {{"1", "01", "(0.5 sec.)", "", false},
          {"12", "0C", "(6.0 sec.)", "", false},
          {"128", "0C", "(6.0 sec.)", range + "1..127", false},
          {"0", "0C", "(6.0 sec.)", range + "1..127", false},
          {"abc", "0C", "(6.0 sec.)", notANumber, true},
          {"", "0C", "(6.0 sec.)", "", false},
          {"127", "7F", "(63.5 sec.)", "", false}}},
        // the neon time-out takes the whole byte, whatever its caption says
        {0x2A4100,
         0,
         0x20,
         {{"200", "C8", "(100.0 sec.)", "", false}, {"256", "C8", "(100.0 sec.)", range + "1..255", false}}},
        {0x71, 1, 0x2F, {{"10", "FF", "", range + "1..9", false}, {"9", "09", "", "", false}}},
        {0x367, 3, 0x72, {{"25", "19", "(5.0 sec.)", "", false}, {"-1", "19", "(5.0 sec.)", range + "1..255", false}}},
    };
    for (const Case& c : cases) {
        Shown s;
        s.show(c.identifier);
        const std::string edit = ZusatzPage::rowEditName(c.row);
        for (const Step& step : c.steps) {
            SCOPED_TRACE(testing::Message() << std::hex << c.identifier << " " << step.typed);
            s.prompter.clear();
            s.page.focusRequest.clear();
            s.act(edit + "=" + step.typed);
            EXPECT_EQ(s.ee(c.address), step.byte);
            if (!step.seconds.empty()) {
                EXPECT_EQ(s.page.rowSeconds(c.row).caption, step.seconds);
            }
            if (step.message.empty()) {
                EXPECT_TRUE(s.prompter.shown.empty());
            } else {
                ASSERT_EQ(s.prompter.shown.size(), 1u);
                EXPECT_EQ(s.prompter.shown[0].text, step.message);
                EXPECT_EQ(s.prompter.shown[0].kind, MsgKind::Warning);
                EXPECT_EQ(s.prompter.shown[0].buttons, Buttons::Cancel);
            }
            EXPECT_EQ(s.page.focusRequest, step.focus ? edit : "");
        }
    }
}

TEST(ZusatzPage, ModeClicksWriteTheModeWithTheFlagsShown)
{
    struct Case {
        int identifier;
        Version version;
        std::string stored;
        int selected;        // radio button ticked after showing; 0: none
        bool dumb, lock;     // flag boxes ticked
        std::string action;  // then this
        std::string written; // byte 0x00 after it
    } cases[] = {
        // mode 1 with the lock: a click on mode 2 keeps the lock only where its box is shown
        {0xB, Version{3, 55}, "81", 1, false, true, "rad_mode2", "82"},
        {0xB, Version{3, 54}, "81", 1, false, true, "rad_mode2", "02"},
        {0x2A4100, Version{3, 60}, "C4", 3, true, true, "rad_mode1", "C1"},
        {0x2A4100, Version{3, 60}, "C4", 3, true, true, "cbx_mode_bit6=0", "84"},
        {0x2A4100, Version{3, 60}, "04", 3, false, false, "cbx_mode_bit7=1", "84"},
        {0x13F00, Version{3, 60}, "02", 2, false, false, "cbx_mode_bit6=1", "42"},
        // the lowest mode bit wins
        {0x3, Version{3, 60}, "06", 2, false, false, "rad_mode1", "01"},
        // no mode bit: no radio button ticked; a click selects one
        {0x66, Version{3, 60}, "40", 0, true, false, "rad_mode4", "08"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action + " on " + c.stored);
        Shown s;
        s.show(c.identifier, c.version, {{0x00, c.stored}});
        for (int k = 1; k <= 6; ++k)
            EXPECT_EQ(s.checked("rad_mode" + std::to_string(k)), k == c.selected) << k;
        EXPECT_EQ(s.checked("cbx_mode_bit6"), c.dumb);
        EXPECT_EQ(s.checked("cbx_mode_bit7"), c.lock);
        s.act(c.action);
        EXPECT_EQ(s.ee(0x00), c.written);
    }
}

TEST(ZusatzPage, AModeOfTheFileBeforeIsNotShownForAFileWithoutOne)
{
    Shown s;
    s.show(0x3, Version{3, 60}, {{0x00, "02"}});
    EXPECT_TRUE(s.checked("rad_mode2"));
    s.show(0x3, Version{3, 60}, {{0x00, "80"}});
    for (int k = 1; k <= 6; ++k)
        EXPECT_FALSE(s.checked("rad_mode" + std::to_string(k))) << k;
    EXPECT_TRUE(s.checked("cbx_mode_bit7"));
}

TEST(ZusatzPage, DriveSwitchOffIsTheMarkerAB)
{
    struct Case {
        std::string stored;
        bool ticked;
    } cases[] = {{"AB", true}, {"ab", true}, {"01", false}, {"FF", false}, {"BA", false}};
    for (const Case& c : cases) {
        Shown s;
        s.show(0x208, Version{3, 51}, {{0x00, c.stored}});
        EXPECT_EQ(s.checked("cbx_weiche_ab"), c.ticked) << c.stored;
        EXPECT_EQ(s.at("cbx_weiche_ab").top, 100);
        EXPECT_EQ(s.c("cbx_weiche_ab").caption, "Abschalten des Antriebes NUR nach TimeOut");
    }
    Shown s;
    s.show(0x208, Version{3, 51}, {{0x00, "AB"}});
    s.act("cbx_weiche_ab=0");
    EXPECT_EQ(s.ee(0x00), "01");
    s.act("cbx_weiche_ab=1");
    EXPECT_EQ(s.ee(0x00), "AB");
    EXPECT_EQ(s.ee(0x20), "FF"); // the time-out is not touched
}

TEST(ZusatzPage, SwitchOffNibblesAndTheirWarning)
{
    struct Case {
        int identifier, byte;
        std::string stored;
        bool central, timeOut;
        std::string action, written;
        bool warning;
    } cases[] = {
        {0x30A, 0x00, "A0", false, true, "cbx_zusatz_2=0", "AA", true},
        {0x30A, 0x00, "AA", false, false, "cbx_zusatz_1=1", "0A", false},
        {0x308, 0x00, "0A", true, false, "cbx_zusatz_2=1", "00", false},
        // any nibble other than A reads as enabled and becomes 0 at the next click
        {0x365, 0x00, "FF", true, true, "cbx_zusatz_1=0", "A0", false},
        {0x30C, 0x00, "5A", true, false, "cbx_zusatz_1=0", "AA", true},
        // the Stellino from V3.61 keeps them in 0x30; its byte 0x00 is the mode
        {0x408, 0x30, "A0", false, true, "cbx_zusatz_2=0", "AA", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action + " on " + c.stored);
        Shown s;
        s.show(c.identifier, Version{3, 60}, {{c.byte, c.stored}, {0x00, c.byte ? "81" : c.stored}});
        EXPECT_EQ(s.checked("cbx_zusatz_1"), c.central);
        EXPECT_EQ(s.checked("cbx_zusatz_2"), c.timeOut);
        EXPECT_EQ(s.onScreen("lbl_text_1"), !c.central && !c.timeOut);
        s.act(c.action);
        EXPECT_EQ(s.ee(c.byte), c.written);
        EXPECT_EQ(s.onScreen("lbl_text_1"), c.warning);
        if (c.byte == 0x30) {
            EXPECT_EQ(s.ee(0x00), "81");
        }
    }
    Shown s;
    s.show(0x308);
    EXPECT_EQ(s.c("lbl_zusatz3").caption, "Abschaltfunktion: Ausgänge abschalten durch...");
    EXPECT_EQ(s.c("cbx_zusatz_1").caption, "OFF-Befehl der Zentrale");
    EXPECT_EQ(s.c("cbx_zusatz_2").caption, "Time-Out des Dekoders");
    EXPECT_EQ(s.c("lbl_text_1").caption, "Achtung: Durchbrenn-Gefahr für Weichen-Antriebe!");
    EXPECT_EQ(s.at("lbl_zusatz3").top, 150);
    EXPECT_EQ(s.at("cbx_zusatz_1").top, 170);
    EXPECT_EQ(s.at("cbx_zusatz_2").top, 190);
    EXPECT_EQ(s.at("lbl_text_1").top, 230);
}

TEST(ZusatzPage, NeonBrightnessLevels)
{
    Shown s;
    s.show(0x1A4100, Version{3, 60}, {{0x40, "05"}, {0x41, "FF"}});
    EXPECT_EQ(s.c("TrackBar_neon_1").position, 5);
    EXPECT_EQ(s.c("TrackBar_neon_2").position, 15); // a byte above the range shows at the end ...
    EXPECT_EQ(s.ee(0x41), "FF");                    // ... and stays as it is
    EXPECT_EQ(s.c("TrackBar_neon_1").max, 15);
    EXPECT_EQ(s.at("TrackBar_neon_1"), (Rect{120, 170, 180, ZusatzPage::kTrackBarHeight}));
    EXPECT_EQ(s.at("TrackBar_neon_2").top, 210);
    EXPECT_EQ(s.at("lbl_fNeon_01").top, 173);
    EXPECT_EQ(s.at("lbl_fNeon_02").top, 213);
    EXPECT_EQ(s.at("lbl_fNeon_03").top, 70);
    EXPECT_EQ(s.c("TrackBar_neon_1").hint, "Rechts = HELL, Links = dunkel");
    EXPECT_EQ(s.c("lbl_fNeon_01").caption, "Leuchtstufe DUNKEL");
    EXPECT_EQ(s.c("lbl_fNeon_02").caption, "Leuchtstufe HELL");

    s.act("TrackBar_neon_1=12");
    EXPECT_EQ(s.ee(0x40), "0C");
    EXPECT_EQ(s.page.focusRequest, "TrackBar_neon_1");
    s.act("TrackBar_neon_2=3");
    EXPECT_EQ(s.ee(0x41), "03");
    EXPECT_EQ(s.c("TrackBar_neon_1").position, 12);

    // Set up once per showing: a rebuild (after a typed time-out) leaves the track bars alone.
    s.session.image.set_Hex_EE(0x40, "01");
    s.act("RowEdits[0]=30");
    EXPECT_EQ(s.c("TrackBar_neon_1").position, 12);
    s.session.pages.ShowPage(PageZusatz, {s.session.image, s.session.prompter(), s.session.ident.Identifier});
    EXPECT_EQ(s.c("TrackBar_neon_1").position, 1);
}

TEST(ZusatzPage, FadingSpeedCodes)
{
    struct Case {
        std::string stored;
        int position;
        std::string after; // byte 0x20 right after showing
    } cases[] = {{"11", 5, "11"}, {"12", 4, "12"}, {"22", 3, "22"}, {"33", 2, "33"},
                 {"66", 1, "66"}, {"FF", 0, "FF"}, {"ff", 0, "ff"}, // a known code in lower case is no unknown code
                 {"44", 5, "11"}, {"00", 5, "11"}, {"1G", 5, "11"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        Shown s;
        s.show(0x167, Version{3, 40}, {{0x20, c.stored}});
        EXPECT_EQ(s.c("TrackBar_01").position, c.position);
        EXPECT_EQ(s.ee(0x20), c.after);
        EXPECT_EQ(s.c("TrackBar_01").min, 0);
        EXPECT_EQ(s.c("TrackBar_01").max, 5);
        EXPECT_TRUE(s.prompter.shown.empty());
    }
    const char* codes[] = {"FF", "66", "33", "22", "12", "11"};
    Shown s;
    s.show(0x267, Version{3, 60}, {{0x20, "11"}});
    EXPECT_EQ(s.c("lbl_trackbar_01").caption, "Geschwindigkeit Überblendung (Fading)");
    EXPECT_EQ(s.c("TrackBar_01").hint, "rechts = HELL, Links = dunkel");
    for (int position : {2, 0, 4, 1, 3, 5}) {
        s.act("TrackBar_01=" + std::to_string(position));
        EXPECT_EQ(s.ee(0x20), codes[position]);
        EXPECT_EQ(s.c("TrackBar_01").position, position);
    }
    EXPECT_EQ(s.c("TrackBar_01").hint, "Überblend-Zeit");
    EXPECT_EQ(s.c("TrackBar_01").tickFrequency, 1);
}

TEST(ZusatzPage, TheFadingRepairOfALoadIsNoUnsavedChange)
{
    Shown s;
    ASSERT_EQ(s.session.LoadFile(hz::test::fixture("zusatz_684_ampel340.hex")), LoadOutcome::Done);
    EXPECT_EQ(s.ee(0x20), "11"); // 0x44 in the file
    EXPECT_FALSE(s.session.HasUnsavedChanges());
    s.act("TrackBar_01=0");
    EXPECT_TRUE(s.session.HasUnsavedChanges());
    s.act("TrackBar_01=5");
    EXPECT_FALSE(s.session.HasUnsavedChanges());
}

TEST(ZusatzPage, EffectSpeed)
{
    Shown s;
    s.show(0x6F, Version{3, 60}, {{0x20, "32"}});
    EXPECT_EQ(s.c("lbl_trackbar_01").caption, "Geschwindigkeit: 50");
    EXPECT_EQ(s.c("TrackBar_01").position, 50);
    EXPECT_EQ(s.c("TrackBar_01").min, 1);
    EXPECT_EQ(s.c("TrackBar_01").max, 255);
    EXPECT_EQ(s.c("TrackBar_01").hint, "");
    EXPECT_EQ(s.c("TrackBar_01").tickFrequency, 5);
    EXPECT_EQ(s.c("lbl_trackbar_01_l").caption, "schnell");
    EXPECT_EQ(s.c("lbl_trackbar_01_r").caption, "langsam");
    s.act("TrackBar_01=100");
    EXPECT_EQ(s.ee(0x20), "64");
    EXPECT_EQ(s.c("lbl_trackbar_01").caption, "Geschwindigkeit: 100");
    EXPECT_EQ(s.c("TrackBar_01").hint, "Ablauf-Geschwindigkeit der Effekte");
    EXPECT_EQ(s.page.focusRequest, "TrackBar_01");

    // a stored 0 is below the track bar's range: shown at 1, written only when moved
    s.show(0x6F, Version{3, 60}, {{0x20, "00"}});
    EXPECT_EQ(s.c("TrackBar_01").position, 1);
    EXPECT_EQ(s.c("lbl_trackbar_01").caption, "Geschwindigkeit: 0");
    EXPECT_EQ(s.ee(0x20), "00");
    // the next type's fading bar does not keep the effect bar's hint
    s.show(0x167, Version{3, 40});
    EXPECT_EQ(s.c("TrackBar_01").hint, "rechts = HELL, Links = dunkel");
    EXPECT_EQ(s.c("TrackBar_01").tickFrequency, 1);
}

TEST(ZusatzPage, NeonOutputFunctionBits)
{
    struct Box {
        std::string name;
        int top, bit;
        std::string caption;
    } boxes[] = {
        {"cbx_zusatz_3", 40, 2, "Ausgang 1/2/3 = 'Schweißer'"},   {"cbx_zusatz_4", 60, 3, "Ausgang 4 = 'Schweißer'"},
        {"cbx_zusatz_5", 80, 4, "Ausgang 5/6/7/8 = 'Schweißer'"}, {"cbx_zusatz_7", 100, 6, "Ausgang 9 = 'Schweißer'"},
        {"cbx_zusatz_2", 120, 1, "Ausgang 10 = 'Schweißer'"},     {"cbx_zusatz_8", 160, 7, "Ausgang 4 = 'Neon defekt'"},
        {"cbx_zusatz_1", 180, 0, "Ausgang 9 = 'Neon defekt'"},
    };
    Shown s;
    s.show(0x270, Version{3, 60}, {{0x20, "20"}});
    for (const Box& b : boxes) {
        EXPECT_FALSE(s.checked(b.name)) << b.name;
        EXPECT_EQ(s.at(b.name).top, b.top) << b.name;
        EXPECT_EQ(s.c(b.name).caption, b.caption);
    }
    EXPECT_EQ(s.c("cbx_zusatz_6").caption, " ");
    EXPECT_EQ(s.c("lbl_text_1").caption, "Tipp: Im Stelldua Dekoder sind Ausgang 1-4 nutzbar");
    EXPECT_EQ(s.at("lbl_text_1").top, 220);
    s.act("cbx_zusatz_4=1");
    EXPECT_EQ(s.ee(0x20), "28");

    // every box its own bit; bit 5 stays as the firmware has it, set or clear
    for (const std::string& stored : {std::string("00"), std::string("20")}) {
        Shown t;
        t.show(0x270, Version{3, 60}, {{0x20, stored}});
        int expected = stored == "20" ? 0x20 : 0;
        for (const Box& b : boxes) {
            t.act(b.name + "=1");
            expected |= 1 << b.bit;
            EXPECT_EQ(t.ee(0x20), HexByteTexts()[static_cast<std::size_t>(expected)]) << b.name;
        }
        for (const Box& b : boxes) {
            t.act(b.name + "=0");
            expected &= ~(1 << b.bit);
            EXPECT_EQ(t.ee(0x20), HexByteTexts()[static_cast<std::size_t>(expected)]) << b.name;
        }
    }
    Shown full;
    full.show(0x270, Version{3, 60}, {{0x20, "FF"}});
    for (const Box& b : boxes)
        EXPECT_TRUE(full.checked(b.name)) << b.name;
}

TEST(ZusatzPage, SpecialOutputsOfTheEarlierNeonFirmwareWriteTheirBits)
{
    Shown s;
    s.show(0x170, Version{3, 38}, {{0x20, "A5"}});
    EXPECT_EQ(s.c("lbl_zusatz").caption, "Spezial-Funktion Ausgang 9 / 10:");
    EXPECT_EQ(s.c("cbx_zusatz_1").caption, "Ausgang 9 = 'Neon defekt'");
    EXPECT_EQ(s.c("cbx_zusatz_1").hint, "keine Wirkung, wenn Ausgang 9 als 'Schweißer' definiert");
    EXPECT_EQ(s.c("cbx_zusatz_2").caption, "Ausgang 10 = 'Schweißer'");
    EXPECT_EQ(s.c("cbx_zusatz_2").hint,
              "Wenn nicht aktiviert, dann ist dieser Ausgang ein normaler 'Neon' Effekt Ausgang");
    EXPECT_EQ(s.at("cbx_zusatz_1"), (Rect{10, 40, 290, ZusatzPage::kBoxHeight}));
    EXPECT_EQ(s.at("cbx_zusatz_2"), (Rect{10, 60, 290, ZusatzPage::kBoxHeight}));
    EXPECT_TRUE(s.checked("cbx_zusatz_1"));
    EXPECT_FALSE(s.checked("cbx_zusatz_2"));
    s.act("cbx_zusatz_2=1");
    EXPECT_EQ(s.ee(0x20), "A7");
    s.act("cbx_zusatz_1=0");
    EXPECT_EQ(s.ee(0x20), "A6");
    EXPECT_FALSE(s.onScreen("lbl_text_1"));
}

TEST(ZusatzPage, SetUpLaysOutRowsAndTheModeGroup)
{
    // A measure of 6 pixels per character instead of the screen's font.
    auto sixPerChar = [](const std::string& text) {
        int n = 0;
        for (unsigned char ch : text)
            n += (ch & 0xC0) != 0x80 ? 1 : 0;
        return 6 * n;
    };
    Shown s;
    s.page.TextWidth = sixPerChar;
    s.show(0x367, Version{3, 60});    // seven rows from top 60, Land with the lock, fading caption at 10
    const int editLeft = 6 * 22 + 20; // "Fußgänger Vorlauf GRÜN" is the widest caption
    for (int row = 0; row < 7; ++row) {
        SCOPED_TRACE(row);
        const int top = 60 + 21 * row;
        const int width = sixPerChar(s.page.rowLabel(row).caption);
        EXPECT_EQ(*s.page.rowEdit(row).geometry, (Rect{editLeft, top, 40, 20}));
        EXPECT_EQ(*s.page.rowLabel(row).geometry, (Rect{10, top + 3, width, ZusatzPage::kLineHeight}));
        const Rect seconds = *s.page.rowSeconds(row).geometry;
        EXPECT_EQ(seconds.left, editLeft + 50);
        EXPECT_EQ(seconds.top, top + 3);
        EXPECT_EQ(seconds.width, sixPerChar(s.page.rowSeconds(row).caption));
    }
    EXPECT_EQ(s.page.rowSeconds(0).caption, "(51.0 sec.)"); // blank EEPROM: 255 x 0.2
    EXPECT_FALSE(s.page.rowEdit(7).visible);
    EXPECT_EQ(s.page.rowEdit(7).geometry->left, editLeft); // hidden rows move along
    // lbl_mode 20..59, the lock at 69, the radio buttons at 96 and 113: 140 high, at the bottom
    EXPECT_EQ(s.at("lbl_mode").top, 20);
    EXPECT_EQ(s.at("cbx_mode_bit7").top, 69);
    EXPECT_EQ(s.at("rad_mode1").top, 96);
    EXPECT_EQ(s.at("rad_mode2").top, 113);
    EXPECT_EQ(s.at("group_mode"), (Rect{10, 485 - 140 - 10, 300, 140}));
    EXPECT_EQ(s.at("pnl_Zusatz"), (Rect{0, 0, 320, 485}));
    const Rect group = s.at("group_mode");
    EXPECT_EQ(group.left + group.width + 10, ZusatzPage::kWidth); // the host's frame width
    // the fading track bar between "schnell" and "langsam"
    EXPECT_EQ(s.at("lbl_trackbar_01"), (Rect{16, 10, 6 * 37, 13}));
    EXPECT_EQ(s.at("lbl_trackbar_01_l"), (Rect{16, 33, 42, 13}));
    EXPECT_EQ(s.at("lbl_trackbar_01_r"), (Rect{320 - 16 - 42, 33, 42, 13}));
    EXPECT_EQ(s.at("TrackBar_01"), (Rect{16 + 42 + 10, 30, 262 - 10 - 68, ZusatzPage::kTrackBarHeight}));

    // the neon decoder: advice, lock, four modes, then the dumb flag 10 lower
    s.show(0x2A4100);
    EXPECT_EQ(s.at("rad_mode4").top, 147);
    EXPECT_EQ(s.at("cbx_mode_bit6").top, 174);
    EXPECT_EQ(s.at("group_mode"), (Rect{10, 485 - 201 - 10, 300, 201}));
    EXPECT_EQ(s.page.rowEdit(0).geometry->left, 6 * 17 + 20);
    EXPECT_EQ(s.page.rowEdit(0).geometry->top, 20);
    // only the dumb flag
    s.show(0x13F00);
    EXPECT_EQ(s.at("cbx_mode_bit6").top, 30);
    EXPECT_EQ(s.at("group_mode"), (Rect{10, 485 - 57 - 10, 300, 57}));
    // the traffic light from V3.41 starts its rows at 120, below the fading track bar
    s.show(0x267);
    EXPECT_EQ(s.page.rowEdit(0).geometry->top, 120);
    EXPECT_EQ(s.page.rowEdit(1).geometry->top, 141);
    EXPECT_EQ(s.at("lbl_trackbar_01").top, 50);
    EXPECT_EQ(s.at("TrackBar_01").top, 70);
}

TEST(ZusatzPage, WithoutAWindowTheTextsAreMeasuredByAnEstimate)
{
    Shown s;
    s.show(0x71);
    const int widest = std::max(ZusatzPage::EstimateTextWidth("Ablaufgeschwindigkeit (1..255)"),
                                ZusatzPage::EstimateTextWidth("Mindestanzahl (1..9)"));
    EXPECT_EQ(s.page.rowEdit(0).geometry->left, widest + 20);
    EXPECT_EQ(s.page.rowLabel(0).geometry->width, ZusatzPage::EstimateTextWidth("Ablaufgeschwindigkeit (1..255)"));
    // umlauts count as one character each
    EXPECT_EQ(ZusatzPage::EstimateTextWidth("ü"), ZusatzPage::EstimateTextWidth("u"));
    EXPECT_GT(ZusatzPage::EstimateTextWidth("WWW"), ZusatzPage::EstimateTextWidth("iii"));
}

TEST(ZusatzPage, HandlersDoNothingWhileTheFrameWritesItsOwnControls)
{
    Shown s;
    s.show(0x8, Version{3, 60}, {{0x20, "14"}});
    s.page.Updating = true;
    s.page.userText(ZusatzPage::rowEditName(0), "30");
    s.page.userClick("rad_mode2");
    s.page.Updating = false;
    EXPECT_EQ(s.ee(0x20), "14");
    EXPECT_EQ(s.ee(0x00), "FF");
    // a row the type does not use writes nowhere
    s.page.userText(ZusatzPage::rowEditName(3), "30");
    EXPECT_EQ(s.session.image.memory(), [&] {
        Shown fresh;
        fresh.show(0x8, Version{3, 60}, {{0x20, "14"}});
        return fresh.session.image.memory();
    }());
}
