// The CV register page model: which rows a decoder type shows, where they stand, how values
// come out of the EEPROM image and how typing writes them back - all without a window.

#include <gtest/gtest.h>

#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/pages/PageAction.h"
#include "core/pages/register/CvLists.h"
#include "core/pages/register/RegisterPage.h"

using namespace hz;
using namespace hz::pages;
using hz::test::ScriptedPrompter;

namespace {

struct Shown {
    ScriptedPrompter prompter;
    Session session{prompter};
    RegisterPage& page = session.pages.page<RegisterPage>();

    // Shows the page for a blank image of the given type, as the host does after a load.
    void show(int identifier)
    {
        session.ident.Identifier = identifier;
        session.pages.ShowPage(PageRegister, {session.image, session.prompter(), session.ident.Identifier});
    }
    int shownRows() const
    {
        int n = 0;
        for (int k = 0; k < RegisterPage::kRows; ++k) {
            EXPECT_EQ(page.label(k).visible, page.edit(k).visible) << k;
            n += page.label(k).visible ? 1 : 0;
        }
        return n;
    }
    std::string ee(int address) const { return session.image.get_Hex_EE(address); }
};

} // namespace

TEST(RegisterPage, RowsStandInColumnsAndAreHiddenUntilFilled)
{
    Shown s;
    EXPECT_EQ(s.page.controls().size(), 4u + 2u * RegisterPage::kRows);
    EXPECT_EQ(s.shownRows(), 0);
    // Four columns share the 940-pixel frame: caption, 4 pixels, a 30-pixel field; the first
    // column's captions have a little more room, for the longest caption stands there. Rows from
    // 81 on would start a fifth column outside the frame.
    struct Row {
        int row, x, room, k;
    } rows[] = {{0, 5, 204, 0},     {1, 5, 204, 1},     {20, 5, 204, 20},   {21, 253, 187, 0},
                {41, 253, 187, 20}, {42, 484, 187, 0},  {62, 484, 187, 20}, {63, 715, 187, 0},
                {72, 715, 187, 9},  {80, 715, 187, 17}, {81, 945, 187, 0},  {511, 945, 187, 430}};
    for (const auto& r : rows) {
        EXPECT_EQ(*s.page.label(r.row).geometry, (Rect{r.x, 19 + 25 * r.k, r.room, 20})) << r.row;
        EXPECT_EQ(*s.page.edit(r.row).geometry, (Rect{r.x + r.room + 4, 15 + 25 * r.k, 30, 20})) << r.row;
        EXPECT_EQ(s.page.edit(r.row).parent, "pnl_cv");
        EXPECT_EQ(s.page.edit(r.row).name, "CvEdits[" + std::to_string(r.row) + "]");
        EXPECT_EQ(s.page.label(r.row).name, "CvLabels[" + std::to_string(r.row) + "]");
    }
    // the fourth column's fields end within the frame
    EXPECT_LE(s.page.edit(80).geometry->left + s.page.edit(80).geometry->width, 940);
    s.show(0x4400);
    EXPECT_EQ(*s.page.find("pnl_cv")->geometry, (Rect{0, 0, 940, 555}));
    // each separator stands midway between a column's fields and the next column's captions
    EXPECT_EQ(*s.page.find("Line1")->geometry, (Rect{247, 8, 2, 554}));
    EXPECT_EQ(*s.page.find("Line2")->geometry, (Rect{478, 8, 2, 554}));
    EXPECT_EQ(*s.page.find("Line3")->geometry, (Rect{709, 8, 2, 554}));
    EXPECT_FALSE(s.page.Updating);
}

TEST(RegisterPage, EachDecoderTypeShowsItsList)
{
    const std::pair<int, int> cases[] = {{0x4400, 25}, {0x14B00, 73}, {0x15000, 73}, {0x14B01, 0}};
    for (const auto& [identifier, rows] : cases) {
        Shown s;
        s.session.image.resetMemory();
        s.show(identifier);
        EXPECT_EQ(s.page.CvCount(), rows) << std::hex << identifier;
        EXPECT_EQ(s.shownRows(), rows);
        const auto& list = CvListFor(identifier);
        for (int k = 0; k < rows; ++k) {
            const auto& entry = list[static_cast<std::size_t>(k)];
            EXPECT_EQ(s.page.label(k).caption, entry.caption);
            EXPECT_EQ(s.page.label(k).hint, entry.caption); // the whole caption, always readable
            EXPECT_EQ(s.page.CvAddress(k), entry.address);
            EXPECT_EQ(s.page.edit(k).text, "255"); // blank EEPROM
        }
        EXPECT_TRUE(s.prompter.shown.empty());
    }
    // the one caption that tells the 0x15000 list from the 0x14B00 list
    Shown knipso;
    knipso.show(0x15000);
    EXPECT_EQ(knipso.page.label(8).caption, "CV054: Länge des Neon-Effektes 18324");
    EXPECT_EQ(knipso.page.label(9).caption, "CV061: Blinker Frequenz 18324");
}

TEST(RegisterPage, AShorterListHidesTheRowsOfTheLongerOne)
{
    Shown s;
    s.session.image.resetMemory();
    s.show(0x14B00);
    s.show(0x4400);
    EXPECT_EQ(s.page.CvCount(), 25);
    EXPECT_EQ(s.shownRows(), 25);
    EXPECT_EQ(s.page.label(5).caption, "CV29: Konfiguration");
    EXPECT_EQ(s.page.label(61).caption, "");
    EXPECT_EQ(s.page.label(61).hint, "");
    // Row 30 still remembers address 0x98 of the longer list; it is not in use and must not
    // write there.
    s.page.userText(RegisterPage::editName(30), "5");
    EXPECT_EQ(s.ee(0x98), "FF");
    EXPECT_TRUE(s.prompter.shown.empty());
}

TEST(RegisterPage, ValuesComeFromTheLoadedFile)
{
    Shown s;
    ASSERT_EQ(s.session.LoadFile(hz::test::fixture("f18324_function.hex")), LoadOutcome::Done);
    ASSERT_EQ(s.session.ident.Identifier, 0x14B00);
    EXPECT_EQ(s.session.pages.shown(), std::vector<Page*>{&s.page}); // the load showed the page
    // a byte text as a foreign tool may write it: showing the page must not rewrite it
    s.session.image.set_Hex_EE(0x62, "0a");
    s.prompter.clear();
    s.session.pages.ShowPage(PageRegister, {s.session.image, s.session.prompter(), s.session.ident.Identifier});
    const std::pair<int, const char*> values[] = {{0, "3"}, {1, "10"}, {2, "10"}, {3, "0"}, {6, "6"}, {7, "255"}};
    for (const auto& [row, text] : values)
        EXPECT_EQ(s.page.edit(row).text, text) << row;
    EXPECT_EQ(s.ee(0x62), "0a");
    EXPECT_TRUE(s.prompter.shown.empty());
}

TEST(RegisterPage, TypingWritesThroughAtOnceOrIsRefused)
{
    Shown s;
    ASSERT_EQ(s.session.LoadFile(hz::test::fixture("f18324_function.hex")), LoadOutcome::Done);
    s.prompter.clear();
    const std::string cv29 = RegisterPage::editName(6);
    ASSERT_EQ(s.page.label(6).caption, "CV029: Konfigbyte");

    struct Step {
        const char* typed;
        const char* byte;    // EEPROM 0x6A afterwards
        const char* message; // warning shown, or nullptr
    } steps[] = {
        {"", "06", nullptr}, // clearing the field is no input
        {"7", "07", nullptr},
        {"1", "01", nullptr},
        {"1a", "01", "Ungültige Eingabe.\rZugelassen sind nur Zahlen"},
        {"30", "1E", nullptr},
        {"300", "1E", "Ungültige Eingabe.\rZugelassen sind nur Zahlen von 0 bis 255"},
        {"-1", "1E", "Ungültige Eingabe.\rZugelassen sind nur Zahlen von 0 bis 255"},
        {"+12", "0C", nullptr},
        {"007", "07", nullptr},
    };
    for (const auto& step : steps) {
        s.prompter.clear();
        s.page.userText(cv29, step.typed);
        EXPECT_EQ(s.ee(0x6A), step.byte) << step.typed;
        EXPECT_EQ(s.page.edit(6).text, step.typed); // the text stays as typed
        if (step.message) {
            ASSERT_EQ(s.prompter.shown.size(), 1u) << step.typed;
            EXPECT_EQ(s.prompter.shown[0].text, step.message);
            EXPECT_EQ(s.prompter.shown[0].kind, MsgKind::Warning);
            EXPECT_EQ(s.prompter.shown[0].buttons, Buttons::Cancel);
            EXPECT_EQ(s.page.focusRequest, cv29); // the field gets the focus back
            s.page.focusRequest.clear();
        } else {
            EXPECT_TRUE(s.prompter.shown.empty()) << step.typed;
            EXPECT_TRUE(s.page.focusRequest.empty());
        }
    }
    // the first row of another column writes its own address
    EXPECT_EQ(s.page.label(21).caption, "CV127: Lokadresse#5, Low-Byte");
    s.page.userText(RegisterPage::editName(21), "255");
    EXPECT_EQ(s.ee(0x8F), "FF");
    // the page's own writes are not input
    s.page.Updating = true;
    s.page.userText(cv29, "99");
    s.page.Updating = false;
    EXPECT_EQ(s.ee(0x6A), "07");
}

TEST(RegisterPage, ShowingAgainRereadsTheImage)
{
    Shown s;
    s.session.image.resetMemory();
    s.show(0x15000);
    s.page.userText(RegisterPage::editName(6), "42");
    s.page.userText(RegisterPage::editName(7), "");
    s.session.image.set_Hex_EE(0x60, "0A"); // changed behind the page's back
    EXPECT_EQ(s.ee(0x6A), "2A");
    s.show(0x15000);
    EXPECT_EQ(s.page.edit(0).text, "10");
    EXPECT_EQ(s.page.edit(6).text, "42");
    EXPECT_EQ(s.page.edit(7).text, "255");
}

// Scripted actions reach the page through the same handlers; what does not fit is refused
// before it reaches one.
TEST(PageAction, DrivesTheShownPageOrRefuses)
{
    Shown s;
    ASSERT_EQ(s.session.LoadFile(hz::test::fixture("f18324_function.hex")), LoadOutcome::Done);
    std::string error;
    EXPECT_TRUE(ApplyPageAction(s.session.shownPages(), "CvEdits[5]=17", error)) << error;
    EXPECT_EQ(s.ee(0x65), "11");
    struct Refused {
        const char* action;
        const char* error;
    } refused[] = {
        {"CvEdits[600]=1", "Ein Bedienelement \"CvEdits[600]\" gibt es auf dieser Seite nicht."},
        {"CvEdits[100]=1", "\"CvEdits[100]\" ist nicht sichtbar."},
        {"CvEdits[5]", "\"CvEdits[5]\" (edit) erwartet NAME=TEXT, nicht \"CvEdits[5]\"."},
        {"CvLabels[5]=x", "\"CvLabels[5]\" (label) lässt sich nicht bedienen."},
        {"servo_btn_uebernehmen", "Ein Bedienelement \"servo_btn_uebernehmen\" gibt es auf dieser Seite nicht."},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(ApplyPageAction(s.session.shownPages(), r.action, error)) << r.action;
        EXPECT_EQ(error, r.error);
    }
    EXPECT_EQ(s.ee(0x65), "11");
}
