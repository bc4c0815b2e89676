// Comparing two loaded firmware files, carrying settings from one into another and numbering
// a series - on the page models' controls and working copies and on the address rows alone.
// The pages here are small test models: what holds for them holds for every page that
// exposes its controls the same way.

#include <gtest/gtest.h>

#include <map>

#include "FirmwareBuilder.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/catalogue/CodeTables.h"
#include "core/pages/PageAction.h"
#include "core/pages/servo/KornelPage.h"
#include "core/pages/zusatz/ZusatzPage.h"
#include "core/tools/AddressSeries.h"
#include "core/tools/PageValues.h"
#include "core/tools/SettingsDiff.h"
#include "core/tools/SettingsMigration.h"

using namespace hz;
using namespace hz::pages;
using namespace hz::tools;
using hz::test::FirmwareBuilder;
using hz::test::ScriptedPrompter;

namespace {

// A page with a bit of everything: a labelled edit that refuses values above 99, a mode radio
// pair that enables a check box, a track bar, a list and a working copy of two "curves" of
// four points, a count and a flag each.
class ToyPage : public Page {
    static Control make(const std::string& name, ControlKind kind, const std::string& caption = "")
    {
        Control c;
        c.name = name;
        c.kind = kind;
        c.caption = caption;
        return c;
    }

public:
    explicit ToyPage(std::string timeCaption = "Zeit (s)", std::size_t dataSize = 12) : m_copy(dataSize, 0)
    {
        add(make("lbl_time", ControlKind::Label, timeCaption)).geometry = Rect{5, 12, 60, 20};
        add(make("lbl_far", ControlKind::Label, "Weit weg")).geometry = Rect{5, 80, 60, 20};
        Control& time = add(make("edt_time", ControlKind::Edit)).on<&ToyPage::timeTyped>();
        time.text = "10";
        time.geometry = Rect{70, 10, 40, 20};
        Control& mode1 = add(make("rad_mode1", ControlKind::Radio, "Dauer")).on<&ToyPage::modeClicked>(false);
        mode1.checked = true;
        mode1.parent = "grp";
        add(make("rad_mode2", ControlKind::Radio, "Blinken")).on<&ToyPage::modeClicked>(true).parent = "grp";
        add(make("grp", ControlKind::Group, "Betrieb"));
        add(make("cbx_fast", ControlKind::Check, "schnell")).on<&ToyPage::clicked>().enabled = false;
        Control& level = add(make("trk_level", ControlKind::TrackBar));
        level.position = 3;
        level.max = 10;
        Control& curve = add(make("lst_curve", ControlKind::List));
        curve.items = {"Kurve 1", "Kurve 2"};
        curve.selected = 0;
        add(make("btn_go", ControlKind::Button, "übernehmen")).on<&ToyPage::clicked>();
    }
    const char* frameName() const override { return "TFrameToy"; }
    const char* objectName() const override { return "FrameToy1"; }
    void showFor(const pages::PageContext&) override { Updating = false; }
    std::vector<int> data() const override { return m_copy; }
    bool setData(const std::vector<int>& d) override
    {
        if (d.size() != m_copy.size())
            return false;
        m_copy = d;
        return true;
    }
    std::vector<DataPart> dataParts() const override
    {
        if (m_copy.size() != 12)
            return {};
        return {{"Kurve 1 Punkte", 0, 4}, {"Kurve 1 Anzahl", 4, 1},  {"Kurve 1 Flags", 5, 1},
                {"Kurve 2 Punkte", 6, 4}, {"Kurve 2 Anzahl", 10, 1}, {"Kurve 2 Flags", 11, 1}};
    }

    Control& control(const std::string& name) { return *findMutable(name); }
    std::vector<int> m_copy;
    int handlerCalls = 0;

private:
    void timeTyped()
    {
        ++handlerCalls;
        int v = 0;
        if (!parseWholeNumber(control("edt_time").text, v) || v > 99)
            focusRequest = "edt_time";
    }
    void modeClicked(bool blinking)
    {
        ++handlerCalls;
        setEnabled(control("cbx_fast"), blinking);
    }
    void clicked() { ++handlerCalls; }
};

} // namespace

TEST(PageValues, SettingsCaptionsAndVisibility)
{
    ToyPage p;
    struct Case {
        const char* name;
        bool holds;
        const char* text;
        const char* caption;
    } cases[] = {
        {"edt_time", true, "10", "Zeit (s)"}, // the label on its line, left of it
        {"rad_mode1", true, "1", "Dauer"},    {"rad_mode2", true, "0", "Blinken"}, {"cbx_fast", true, "0", "schnell"},
        {"trk_level", true, "3", ""},         {"lst_curve", true, "Kurve 1", ""},  {"btn_go", false, "", "übernehmen"},
        {"lbl_time", false, "", "Zeit (s)"},  {"grp", false, "", "Betrieb"},
    };
    for (const Case& c : cases) {
        const Control& ctl = *p.find(c.name);
        EXPECT_EQ(HoldsSetting(ctl), c.holds) << c.name;
        if (c.holds) {
            EXPECT_EQ(SettingText(ctl), c.text) << c.name;
        }
        EXPECT_EQ(ControlCaption(p, ctl), c.caption) << c.name;
    }
    // no selection reads as empty; a hidden group hides what sits in it
    p.control("lst_curve").selected = -1;
    EXPECT_EQ(SettingText(*p.find("lst_curve")), "");
    EXPECT_TRUE(ControlShown(p, *p.find("rad_mode1")));
    p.control("grp").visible = false;
    EXPECT_FALSE(ControlShown(p, *p.find("rad_mode1")));
}

TEST(PageValues, ASettingIsNamedByGroupLabelAndCaptionNeverByItsHint)
{
    ToyPage p;
    p.control("trk_level").hint = "Wie hell es leuchtet";
    p.control("lst_curve").title = "Kurve";
    p.control("lst_curve").geometry = Rect{115, 10, 40, 20}; // beside the time's edit, on its line
    p.control("cbx_fast").parent = "grp";
    struct Case {
        const char* name;
        const char* expected;
    } cases[] = {
        {"edt_time", "Zeit (s)"},         // the label on its line
        {"rad_mode1", "Betrieb: Dauer"},  // the group's caption before its own
        {"cbx_fast", "Betrieb: schnell"}, //
        {"trk_level", "trk_level"},       // no word on the page: its name, not the hint
        {"lst_curve", "Zeit (s): Kurve"}, // the line's label and its title
    };
    for (const Case& c : cases)
        EXPECT_EQ(SettingName(p, *p.find(c.name)), c.expected) << c.name;
    // the page's colon and the dots of "Parameter für ..." are no part of a name
    p.control("grp").caption = "Parameter für ...";
    p.control("lbl_time").caption = "Zeit (s):";
    EXPECT_EQ(SettingName(p, *p.find("rad_mode2")), "Parameter für: Blinken");
    EXPECT_EQ(SettingName(p, *p.find("edt_time")), "Zeit (s)");
}

// Every setting of every page a fixture shows has a name of words from the page, and no two
// settings of one page share a name - the fault was the servo pages' four lists of one address
// row all called "Adresse 01", the pulse times called by their tool tips, and each number's
// spinner listed again under the number's caption.
TEST(PageValues, EverySettingOfEveryPageHasANameOfItsOwn)
{
    for (const char* file :
         {"servo_kornel4.hex", "servo_kornelchen.hex", "servo_kornelchen_358.hex", "servo_kornelchen_f.hex",
          "servo_kornelchen_v2.hex", "classic_684_blinkmuster.hex", "classic_684_lumo_blinkmuster.hex",
          "f18324_function.hex", "zusatz_629_neon060.hex", "zusatz_629_stellino361.hex", "zusatz_684_ampel340.hex",
          "zusatz_684_kirmes.hex", "zusatz_684_neon338.hex", "classic_629_turnout.hex", "classic_676_turntable.hex"}) {
        SCOPED_TRACE(file);
        ScriptedPrompter prompter;
        Session s(prompter);
        ASSERT_EQ(s.LoadFile(hz::test::fixture(file)), LoadOutcome::Done);
        for (const pages::Page* page : s.pages.shown()) {
            std::map<std::string, std::string> named; // name -> control
            for (const Control& c : page->controls()) {
                if (!HoldsSetting(c) || !ControlShown(*page, c))
                    continue;
                const std::string name = SettingName(*page, c);
                EXPECT_NE(name, c.name) << page->objectName() << ": no word on the page names it";
                const std::string hint = c.hint.substr(0, c.hint.find('\r'));
                if (!hint.empty() && hint != c.caption) {
                    EXPECT_EQ(name.find(hint), std::string::npos) << c.name << " is named by its hint: " << name;
                }
                const auto [at, fresh] = named.emplace(name, c.name);
                EXPECT_TRUE(fresh) << page->objectName() << ": \"" << name << "\" names " << at->second << " and "
                                   << c.name;
            }
        }
    }
}

TEST(SettingsDiff, PagesDifferInSettingsAndInTheWorkingCopyByPart)
{
    ToyPage a, b;
    EXPECT_TRUE(DiffPages(a, b).empty());

    b.control("edt_time").text = "20";
    b.m_copy[2] = 77; // a point of curve 1
    b.m_copy[3] = 78; // the next one: one stretch
    b.m_copy[11] = 1; // curve 2's flags
    const auto d = DiffPages(a, b);
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d[0].where, "page");
    EXPECT_EQ(d[0].name, "edt_time");
    EXPECT_EQ(d[0].caption, "Zeit (s)");
    EXPECT_EQ(*d[0].a, "10");
    EXPECT_EQ(*d[0].b, "20");
    EXPECT_EQ(d[1].where, "data");
    EXPECT_EQ(d[1].name, "FrameToy1:Kurve 1 Punkte[2..3]");
    EXPECT_EQ(d[1].caption, "Kurve 1 Punkte");
    EXPECT_EQ(*d[1].a, "0 0");
    EXPECT_EQ(*d[1].b, "77 78");
    EXPECT_EQ(d[2].name, "FrameToy1:Kurve 2 Flags[0]");
    EXPECT_EQ(DescribeDifference(d[0]), "Zeit (s): 10 → 20");

    // a working copy of another size is one difference, not hundreds
    ToyPage small("Zeit (s)", 8);
    const auto sized = DiffPages(a, small);
    ASSERT_EQ(sized.size(), 1u);
    EXPECT_EQ(sized[0].name, "FrameToy1:count");
    // a hidden control counts only where it is shown
    b.control("edt_time").visible = false;
    const auto hidden = DiffPages(a, b);
    EXPECT_EQ(hidden[0].name, "edt_time");
    EXPECT_FALSE(hidden[0].b.has_value());
}

TEST(SettingsMigration, PageSettingsGoThroughTheHandlersOrAreListed)
{
    ToyPage from, to;
    from.control("edt_time").text = "42";
    from.control("rad_mode1").checked = false;
    from.control("rad_mode2").checked = true;
    from.control("cbx_fast").enabled = true;
    from.control("cbx_fast").checked = true; // enabled in `to` only once mode 2 is clicked
    from.control("trk_level").position = 7;
    from.control("lst_curve").selected = 1;
    from.m_copy[5] = 3;

    MigrationReport r;
    CarryPage(from, to, r);
    EXPECT_TRUE(r.notCarried.empty()) << r.notCarried[0].name << ": " << r.notCarried[0].reason;
    EXPECT_EQ(to.find("edt_time")->text, "42");
    EXPECT_TRUE(to.find("rad_mode2")->checked);
    EXPECT_FALSE(to.find("rad_mode1")->checked);
    EXPECT_TRUE(to.find("cbx_fast")->checked);
    EXPECT_EQ(to.find("trk_level")->position, 7);
    EXPECT_EQ(to.find("lst_curve")->selected, 1);
    EXPECT_EQ(to.data(), from.data());
    EXPECT_GT(to.handlerCalls, 0); // through the handlers, not beside them

    // a value the target refuses, a control with another meaning, a copy of another layout
    ToyPage other("Zeit (min)", 8);
    from.control("edt_time").text = "420";
    MigrationReport refused;
    CarryPage(from, other, refused);
    std::map<std::string, std::string> reasons;
    for (const auto& s : refused.notCarried)
        reasons[s.name] = s.reason;
    EXPECT_NE(reasons["edt_time"].find("<Zeit (min)>"), std::string::npos) << reasons["edt_time"];
    EXPECT_NE(reasons["FrameToy1"].find("anderen Aufbau"), std::string::npos);
    EXPECT_EQ(other.find("edt_time")->text, "10");

    ToyPage same;
    MigrationReport tooLarge;
    CarryPage(from, same, tooLarge);
    ASSERT_FALSE(tooLarge.notCarried.empty());
    EXPECT_EQ(tooLarge.notCarried[0].name, "edt_time");
    EXPECT_EQ(tooLarge.notCarried[0].reason, "NEU nimmt \"420\" nicht an.");
}

namespace {

struct Loaded {
    ScriptedPrompter prompter;
    Session session{prompter};
    explicit Loaded(const FirmwareBuilder& fw)
    {
        EXPECT_EQ(session.LoadLines(fw.lines(), "/f/x.hex"), LoadOutcome::Done);
    }
};

// A classic turnout decoder (red/green rows) in the Mot format with the given green addresses.
FirmwareBuilder turnout(int identifier, const std::vector<int>& addresses)
{
    FirmwareBuilder fw;
    fw.identifier(identifier).signature(hz::test::kMotW8);
    for (std::size_t k = 0; k < addresses.size(); ++k)
        fw.code(AddressPage::slotOf(static_cast<int>(k) + 1), MotAccessoryCodes(addresses[k]));
    return fw;
}

} // namespace

TEST(SettingsDiff, SessionsOfTheSameFileAndOfAChangedOne)
{
    Loaded a(turnout(0x208, {5, 6})), same(turnout(0x208, {5, 6})), moved(turnout(0x308, {5, 9}));
    EXPECT_TRUE(DiffSessions(a.session, same.session).empty());
    const auto d = DiffSessions(a.session, moved.session);
    ASSERT_GE(d.size(), 2u);
    EXPECT_EQ(d[0].where, "type");
    EXPECT_EQ(*d[0].b, "Stellino  ab V3.58");
    EXPECT_EQ(d[1].where, "row");
    EXPECT_EQ(d[1].name, "2:address");
    EXPECT_EQ(d[1].caption, "Licht");
    EXPECT_EQ(DescribeDifference(d[1]), "Zeile 2 <Licht>: Adresse: 6 → 9");
    // From V3.58 on the additional-functions page offers other switch-off options: what one
    // version shows and the other does not is named with both sides.
    std::vector<std::string> page;
    for (const auto& x : d)
        if (x.where == "page")
            page.push_back(DescribeDifference(x));
    EXPECT_EQ(page, (std::vector<std::string>{
                        "OFF-Befehl der Zentrale: (fehlt) → ja",
                        "Time-Out des Dekoders: (fehlt) → ja",
                        "Abschalten des Antriebes NUR nach TimeOut: nein → (fehlt)",
                    }));
}

TEST(SettingsMigration, RowsFollowTheirCaptionsInOrder)
{
    // Caption set 23 repeats "FB 1" .. "FB 3": the k-th row of a caption goes to its k-th row.
    const DecoderType* repeated = nullptr;
    for (const DecoderType& t : DecoderCatalogue())
        if (t.CaptionSet == 23 && t.RedGreen && !repeated)
            repeated = &t;
    ASSERT_NE(repeated, nullptr);
    Loaded from(turnout(repeated->Identifier, {11, 12, 13, 14, 15, 16, 17, 18}));
    Loaded to(turnout(repeated->Identifier, {1, 1, 1, 1, 1, 1, 1, 1}));
    const MigrationReport r = MigrateSettings(from.session, to.session);
    EXPECT_TRUE(r.refusal.empty());
    EXPECT_TRUE(r.notCarried.empty());
    for (int row = 1; row <= 8; ++row)
        EXPECT_EQ(to.session.addresses.addressText(row), std::to_string(10 + row)) << row;
}

TEST(SettingsMigration, ARangeTheNewFileRefusesKeepsItsOwnValue)
{
    FirmwareBuilder dcc;
    dcc.identifier(0x308).signature(hz::test::kDccW8);
    dcc.code(1, DccAccessoryCodes(1000)).code(2, DccAccessoryCodes(7));
    Loaded from(dcc), to(turnout(0x308, {5, 6}));
    const MigrationReport r = MigrateSettings(from.session, to.session);
    ASSERT_EQ(r.notCarried.size(), 1u);
    EXPECT_EQ(r.notCarried[0].caption, "Weiche");
    EXPECT_EQ(r.notCarried[0].reason, "NEU nimmt den Wert nicht an (gültiger Adressbereich: 1 bis 320).");
    std::vector<std::string> rows;
    for (const auto& x : r.carried)
        if (x.where == "row")
            rows.push_back(x.caption);
    EXPECT_EQ(rows, std::vector<std::string>{"Licht"});
    EXPECT_EQ(to.session.addresses.addressText(1), "5");
    EXPECT_EQ(to.session.addresses.addressText(2), "7");
    EXPECT_TRUE(to.session.PrepareSave());
}

TEST(AddressSeries, MembersMoveEveryAddressButKeepUnusedRows)
{
    Loaded l(turnout(0x308, {5, 0}));
    EXPECT_EQ(SeriesRows(l.session), (std::vector<int>{1, 2}));
    const std::vector<std::string> base = l.session.addresses.addressTexts();
    std::string error;
    ASSERT_TRUE(TypeSeriesMember(l.session, base, 3, 2, error)) << error;
    EXPECT_EQ(l.session.addresses.addressText(1), "11");
    EXPECT_EQ(l.session.addresses.addressText(2), "0");
    // far out of range is refused by the save, never wrapped round into a valid address
    ASSERT_TRUE(TypeSeriesMember(l.session, base, 2000000000, 2000000000, error));
    EXPECT_EQ(l.session.addresses.addressText(1), "999999");
    EXPECT_FALSE(l.session.PrepareSave());

    struct Name {
        const char* pattern;
        int index, count;
        const char* name;
    } names[] = {{"dec{n}.hex", 0, 3, "dec1.hex"},     {"dec{n}.hex", 9, 10, "dec10.hex"},
                 {"dec{n}.hex", 0, 10, "dec01.hex"},   {"{n}/a{n}.hex", 4, 100, "005/a005.hex"},
                 {"einzeln.hex", 0, 1, "einzeln.hex"}, {"x{n.hex", 0, 2, "x{n.hex"}};
    for (const Name& n : names)
        EXPECT_EQ(SeriesFileName(n.pattern, n.index, n.count), n.name) << n.pattern;
}

TEST(SettingsMigration, AValueThePageRefusesIsListedWithItsMessageAndTheTargetKeepsItsOwn)
{
    // The V3.51 Stellino holds a time-out of 195; from V3.61 on the row takes 1..127 only. The
    // new file's own time-out is 20, or 255 as an unprogrammed EEPROM has it, which the row
    // refuses as well.
    ScriptedPrompter oldPrompter;
    Session from(oldPrompter);
    ASSERT_EQ(from.LoadFile(hz::test::fixture("classic_629_turnout.hex")), LoadOutcome::Done);
    for (const char* own : {"14", "FF"}) {
        SCOPED_TRACE(own);
        ScriptedPrompter newPrompter;
        Session to(newPrompter);
        ASSERT_EQ(to.LoadFile(hz::test::fixture("zusatz_629_stellino361.hex")), LoadOutcome::Done);
        to.image.set_Hex_EE(0x20, own);
        to.pages.page<ZusatzPage>().setUp();
        const std::string shown = to.pages.page<ZusatzPage>().find("RowEdits[0]")->text;
        newPrompter.clear();

        const MigrationReport r = MigrateSettings(from, to);
        ASSERT_TRUE(r.refusal.empty());
        std::map<std::string, std::string> reasons;
        for (const auto& s : r.notCarried)
            reasons[s.name] = s.reason;
        EXPECT_EQ(
            reasons["RowEdits[0]"],
            "NEU nimmt \"195\" nicht an (Ungültige Eingabe. Zugelassen sind nur Zahlen im Werte-Bereich 1..127).");
        for (const auto& s : r.carried)
            EXPECT_NE(s.name, "RowEdits[0]");
        // the page said it once, as to a user; typing the new file's own value back said nothing
        EXPECT_EQ(newPrompter.texts(),
                  std::vector<std::string>{"Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..127"});
        EXPECT_EQ(to.image.get_Hex_EE(0x20), own);
        EXPECT_EQ(to.pages.page<ZusatzPage>().find("RowEdits[0]")->text, shown);
    }

    // Hidden in NEU, and without a caption there: not shown, rather than "another meaning".
    ScriptedPrompter newPrompter;
    Session neu(newPrompter);
    ASSERT_EQ(neu.LoadFile(hz::test::fixture("zusatz_629_stellino361.hex")), LoadOutcome::Done);
    std::map<std::string, std::string> reasons;
    for (const auto& s : MigrateSettings(neu, from).notCarried)
        reasons[s.name] = s.reason;
    EXPECT_EQ(reasons["cbx_zusatz_1"], "NEU zeigt <OFF-Befehl der Zentrale> nicht an.");
}

namespace {

std::vector<std::string> lines(const std::vector<CarriedSetting>& list)
{
    std::vector<std::string> out;
    for (const CarriedSetting& s : list)
        out.push_back(CarriedArea(s) + " | " + CarriedSubject(s) + " | " + DescribeCarried(s));
    return out;
}

} // namespace

TEST(SettingsMigration, TheWindowsCarryingIsItsPreviewSaysNothingAndTakesTheCopiesOver)
{
    struct Case {
        const char* from;
        const char* action; // an edit of ALT before it is carried; "" for none
        const char* into;
        std::size_t refused;
    } cases[] = {
        // rows and additional functions; the V3.51 time-out of 195 is refused by V3.61, which
        // no longer shows the drive switch-off option
        {"classic_629_turnout.hex", "", "zusatz_629_stellino361.hex", 2},
        // a servo curve drawn and not taken over: the working copies go across
        {"servo_kornelchen.hex", "servo_Image1=draw:26,0", "servo_kornelchen_358.hex", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.into);
        ScriptedPrompter oldPrompter, windowPrompter;
        Session from(oldPrompter), window(windowPrompter);
        ASSERT_EQ(from.LoadFile(hz::test::fixture(c.from)), LoadOutcome::Done);
        ASSERT_EQ(window.LoadFile(hz::test::fixture(c.into)), LoadOutcome::Done);
        std::string error;
        if (*c.action) {
            ASSERT_TRUE(pages::ApplyPageAction(from.shownPages(), c.action, error)) << error;
        }
        // an edit of the window's own, not yet saved: the preview starts from it
        std::string refused;
        window.addresses.TypeRow(1, "33", nullptr, nullptr, refused);
        const FirmwareImage::Memory before = window.image.memory();
        const std::vector<std::string> rowsBefore = window.addresses.addressTexts();
        windowPrompter.clear();

        const MigrationReport preview = PreviewMigration(from, window);
        ASSERT_TRUE(preview.refusal.empty()) << preview.refusal;
        EXPECT_EQ(preview.notCarried.size(), c.refused) << ::testing::PrintToString(lines(preview.notCarried));
        EXPECT_TRUE(window.image.memory() == before);
        EXPECT_EQ(window.addresses.addressTexts(), rowsBefore);
        EXPECT_FALSE(window.pages.hasPending());

        const MigrationReport done = CarrySettingsInto(window, from);
        EXPECT_EQ(lines(done.carried), lines(preview.carried));
        EXPECT_EQ(lines(done.notCarried), lines(preview.notCarried));
        // the dialog has listed every refusal; no page speaks up while the values go in
        EXPECT_TRUE(windowPrompter.shown.empty()) << ::testing::PrintToString(windowPrompter.texts());
        EXPECT_EQ(window.addresses.addressText(1), from.addresses.addressText(1));
        EXPECT_TRUE(window.HasUnsavedChanges());
        // "Übernehmen" was the answer for the carried working copies: they are in the image
        EXPECT_FALSE(window.pages.hasPending());
        for (const pages::Page* p : window.pages.shown())
            for (const pages::Page* q : from.pages.shown())
                if (std::string(p->objectName()) == q->objectName() && !p->data().empty()) {
                    EXPECT_EQ(p->data(), q->data()) << p->objectName();
                }
    }
}

TEST(SettingsMigration, ReportTextsOfTheWindow)
{
    CarriedSetting row{"row", "1", "Weiche", "17 grün", "", 1};
    row.address = "17";
    row.state = "green";
    row.before = "5 rot";
    CarriedSetting page{"page", "RowEdits[0]", "Time Out (1..127)", "", "NEU zeigt <Time Out (1..127)> nicht an."};
    page.page = "FrameZusatz1";
    CarriedSetting copy{"data", "FrameKornel1", "Arbeitskopie", "512 Werte", ""};
    copy.page = "FrameKornel1";
    copy.label = "Kurventabelle (alle vier Kurven)";
    copy.before = "andere Werte";
    CarriedSetting box{"page", "cbx_v_off_1", "Spannung aus", "1", ""};
    box.page = "FrameKornelAdr1";
    box.label = "Servo 1: Spannung aus";
    box.yesNo = true;
    box.before = "0";
    CarriedSetting same = box;
    same.before = "1";
    same.unchanged = true;
    EXPECT_EQ(lines({row, page, copy, box, same}),
              (std::vector<std::string>{
                  "Adresszeilen | Zeile 1 <Weiche> | Zeile 1 <Weiche>: 17 grün (bisher 5 rot)",
                  "Zusatzfunktionen | Time Out (1..127) | Time Out (1..127): (leer) - NEU zeigt <Time Out (1..127)> "
                  "nicht an.",
                  "Servokurven | Kurventabelle (alle vier Kurven) | Kurventabelle (alle vier Kurven): 512 Werte "
                  "(bisher andere Werte)",
                  "Servo-Adressen und Aktionen | Servo 1: Spannung aus | Servo 1: Spannung aus: ja (bisher nein)",
                  "Servo-Adressen und Aktionen | Servo 1: Spannung aus | Servo 1: Spannung aus: ja (unverändert)",
              }));
    EXPECT_EQ(CarriedBefore(box), "nein");
    EXPECT_EQ(UnchangedCount({row, page, copy, box, same}), 1u);
    EXPECT_EQ(UnchangedLine(72), "72 davon hatte NEU schon so.");
    EXPECT_EQ(UnchangedLine(0), "");
    EXPECT_EQ(CarriedHeading(true, 2, true), "Wird übernommen (2)");
    EXPECT_EQ(CarriedHeading(false, 0), "Nicht übernommen (0)");
}

TEST(SettingsDiff, TheWindowsComparisonSeesItsEditsAndRefusesFilesWithNothingInCommon)
{
    Loaded here(turnout(0x308, {5, 6})), there(turnout(0x308, {5, 6}));
    SettingsComparison same = CompareSettings(here.session, "a.hex", there.session, "b.hex");
    EXPECT_TRUE(same.refusal.empty());
    EXPECT_TRUE(same.differences.empty());
    EXPECT_EQ(same.hereLine, "Geladen: a.hex - Stellino  ab V3.58, V 3.60, PIC 629, Mot");
    EXPECT_EQ(same.thereLine, "Verglichen mit: b.hex - Stellino  ab V3.58, V 3.60, PIC 629, Mot");
    EXPECT_EQ(same.countLine, "Keine Unterschiede.");

    // typed, not saved: what the window shows is compared, and the summary says so
    std::string error;
    ASSERT_TRUE(here.session.addresses.TypeRow(2, "9", nullptr, nullptr, error)) << error;
    const SettingsComparison edited = CompareSettings(here.session, "a.hex", there.session, "b.hex");
    ASSERT_EQ(edited.differences.size(), 1u);
    const Difference& d = edited.differences[0];
    EXPECT_EQ(DifferenceArea(d) + " | " + DifferenceSetting(d) + " | " + DifferenceValue(d, d.a) + " | " +
                  DifferenceValue(d, d.b),
              "Adresszeilen | Zeile 2 <Licht>: Adresse | 9 | 6");
    EXPECT_EQ(edited.hereLine,
              "Geladen: a.hex - Stellino  ab V3.58, V 3.60, PIC 629, Mot (mit den ungespeicherten Änderungen)");
    EXPECT_EQ(edited.countLine, "1 Unterschied.");

    ScriptedPrompter p;
    Session cv(p);
    ASSERT_EQ(cv.LoadFile(hz::test::fixture("f18324_function.hex")), LoadOutcome::Done);
    EXPECT_EQ(CompareSettings(here.session, "a.hex", cv, "c.hex").refusal,
              "Die geladene Datei (<Stellino  ab V3.58>) und \"c.hex\" (<" + cv.ident.Type->Name +
                  ">) haben weder Adresszeilen gleicher Beschriftung noch dieselbe Seite: ihre Einstellungen lassen "
                  "sich nicht vergleichen.");
}

TEST(SettingsDiff, WhereAndWhatADifferenceIsInATable)
{
    const Difference cases[] = {
        {"type", "version", "Version", "3.51", "3.60"},
        {"row", "3:rg", "Weiche", "green", "red"},
        {"page", "cbx_zusatz_1", "OFF-Befehl der Zentrale", std::nullopt, "1", "FrameZusatz1"},
        {"page", "CvEdits[5]", "", "0", "", "FrameRegister1"},
        {"data", "FrameKornel1:Kurve 1 Punkte[3..5]", "Kurve 1 Punkte", "1 2 3", "4 5 6", "FrameKornel1"},
        {"data", "FrameToy1[2]", "", "1", "2", "FrameToy1"},
        {"data", "FrameToy1:count", "Umfang der Arbeitskopie", "12", "8", "FrameToy1"},
        {"config", "CONFIG1", "Konfigurationswort 1", "C431", "C421"},
        {"stored", "EEPROM 0x20", "unbekannter Überblend-Code", "0x44", "0x11"},
        {"page", "cbx_v_off_1", "Spannung aus", "0", "1", "FrameKornelAdr1", "Servo 1: Spannung aus", true},
        {"data", "FrameBlinkmuster1[2]", "", "1", "2", "FrameBlinkmuster1", "Mustertabelle (alle vier Muster)[2]"},
        {"page", "FrameZusatz1", "Seite", "TFrameZusatz", std::nullopt, "FrameZusatz1"},
    };
    const char* expected[] = {
        "Dekoder | Version | 3.51 | 3.60",
        "Adresszeilen | Zeile 3 <Weiche>: R/G | grün | rot",
        "Zusatzfunktionen | OFF-Befehl der Zentrale | (fehlt) | 1",
        "CV-Register | CvEdits[5] | 0 | (leer)",
        "Servokurven | Kurve 1 Punkte[3..5] | 1 2 3 | 4 5 6",
        "FrameToy1 | Arbeitskopie[2] | 1 | 2",
        "FrameToy1 | Umfang der Arbeitskopie | 12 | 8",
        "Konfiguration | Konfigurationswort 1 | C431 | C421",
        "Datei | EEPROM 0x20 <unbekannter Überblend-Code> | 0x44 | 0x11",
        "Servo-Adressen und Aktionen | Servo 1: Spannung aus | nein | ja",
        "Blinkmuster | Mustertabelle (alle vier Muster)[2] | 1 | 2",
        "Zusatzfunktionen | Seite | gezeigt | (fehlt)",
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const Difference& d = cases[k];
        EXPECT_EQ(DifferenceArea(d) + " | " + DifferenceSetting(d) + " | " + DifferenceValue(d, d.a) + " | " +
                      DifferenceValue(d, d.b),
                  expected[k]);
    }
}
