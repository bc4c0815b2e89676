// Undo and redo over the session's states: what the user typed into the rows, the R/G
// buttons, a page's working copy and its "übernehmen", and how a load and a save bound the
// history. The tests drive the pages through their user-event doors and call noteEdit() after
// each event, as the window does after every forwarded widget event.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FirmwareBuilder.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/pages/PageAction.h"
#include "core/pages/address/AddressPage.h"
#include "core/pages/servo/KornelPage.h"
#include "core/tools/SettingsMigration.h"

using namespace hz;
using namespace hz::pages;
using hz::test::FirmwareBuilder;
using hz::test::ScriptedPrompter;

namespace {

constexpr int kStellino = 0x8; // red/green rows "Weiche", "Licht"

struct Rows {
    ScriptedPrompter prompter;
    Session session{prompter};
    FirmwareBuilder fw;

    Rows()
    {
        fw.identifier(kStellino).signature(hz::test::kMotW8);
        fw.code(1, "0300C3");
        session.keepHistory(); // as the window does
        EXPECT_EQ(load(), LoadOutcome::Done);
    }
    LoadOutcome load() { return session.LoadLines(fw.lines(), "/f/x.hex"); }
    void type(int row, const std::string& text)
    {
        session.addresses.userText(AddressPage::addressName(row), text);
        session.noteEdit();
    }
    void click(const std::string& name)
    {
        session.addresses.userClick(name);
        session.noteEdit();
    }
    std::string text(int row) const { return session.addresses.addressText(row); }
    int state(int row) const { return session.addresses.RowState[static_cast<std::size_t>(row)]; }
    // Row 1's text and state, and whether anything is unsaved.
    std::string seen() const
    {
        return text(1) + "/" + std::to_string(state(1)) + (session.HasUnsavedChanges() ? " *" : "");
    }
};

} // namespace

TEST(EditHistory, RowTypingAndRedGreenGoBackAndForth)
{
    Rows r;
    const std::string loaded = r.seen();
    EXPECT_FALSE(r.session.canUndo());
    // keystrokes into one field are one step; R/G is another
    r.type(1, "1");
    r.type(1, "12");
    r.click("btn_RG_1");
    const std::string edited = r.seen();
    ASSERT_NE(edited, loaded);
    EXPECT_TRUE(r.session.HasUnsavedChanges());

    ASSERT_TRUE(r.session.undo());
    EXPECT_EQ(r.text(1), "12");
    EXPECT_NE(r.seen(), edited) << "the R/G state went back";
    ASSERT_TRUE(r.session.undo());
    EXPECT_EQ(r.seen(), loaded) << "back at the loaded state: nothing unsaved";
    EXPECT_FALSE(r.session.HasUnsavedChanges());
    EXPECT_FALSE(r.session.canUndo());
    EXPECT_FALSE(r.session.undo());

    ASSERT_TRUE(r.session.redo());
    EXPECT_EQ(r.text(1), "12");
    ASSERT_TRUE(r.session.redo());
    EXPECT_EQ(r.seen(), edited);
    EXPECT_FALSE(r.session.canRedo());
    EXPECT_FALSE(r.session.redo());
}

// The command-line tool's session keeps no history: an edit is still an unsaved change, but
// there is nothing to undo, and undo must not throw the edit away.
TEST(EditHistory, ASessionWithoutHistoryUndoesNothing)
{
    ScriptedPrompter prompter;
    Session session{prompter};
    FirmwareBuilder fw;
    fw.identifier(kStellino).signature(hz::test::kMotW8);
    fw.code(1, "0300C3");
    ASSERT_EQ(session.LoadLines(fw.lines(), "/f/x.hex"), LoadOutcome::Done);
    session.addresses.userText(AddressPage::addressName(1), "12");
    session.noteEdit();
    EXPECT_TRUE(session.HasUnsavedChanges());
    EXPECT_FALSE(session.canUndo());
    EXPECT_FALSE(session.undo());
    EXPECT_FALSE(session.revertToFile());
    EXPECT_EQ(session.addresses.addressText(1), "12");
}

TEST(EditHistory, StepsEndWhereTheFieldChangesAndRedoEndsAtANewEdit)
{
    Rows r;
    const std::string row2 = r.text(2);
    r.type(1, "5");
    r.type(2, "6"); // another field: a step of its own
    r.type(1, "7"); // back in the first field after another one: again its own step
    ASSERT_TRUE(r.session.undo());
    EXPECT_EQ(r.text(1), "5");
    EXPECT_EQ(r.text(2), "6");
    ASSERT_TRUE(r.session.undo());
    EXPECT_EQ(r.text(2), row2);
    EXPECT_EQ(r.text(1), "5");
    EXPECT_TRUE(r.session.canRedo());

    r.type(1, "9");
    EXPECT_FALSE(r.session.canRedo()) << "a new edit ends what redo could bring back";
    // an event that changes nothing is no step: one undo takes the "9" back
    r.session.addresses.userText(AddressPage::addressName(1), "9");
    r.session.noteEdit();
    ASSERT_TRUE(r.session.undo());
    EXPECT_EQ(r.text(1), "5");
}

TEST(EditHistory, ALoadStartsAFreshHistory)
{
    Rows r;
    r.type(1, "5");
    r.click("btn_RG_1");
    ASSERT_TRUE(r.session.undo());
    ASSERT_EQ(r.load(), LoadOutcome::Done);
    EXPECT_FALSE(r.session.canUndo());
    EXPECT_FALSE(r.session.canRedo());
    EXPECT_FALSE(r.session.revertToFile());
}

// A save marks the state it wrote: undoing to it clears the unsaved mark, and "Auf
// Dateistand zurücksetzen" comes back to it as a step undo takes back.
TEST(EditHistory, TheSavedStateAndRevertingToIt)
{
    Rows r;
    const auto dir = std::filesystem::temp_directory_path() / ("hz-history-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string loaded = r.text(1);
    r.type(1, "7");
    ASSERT_TRUE(r.session.SaveTo((dir / "out.hex").string()));
    const std::string saved = r.seen();
    EXPECT_FALSE(r.session.HasUnsavedChanges());
    r.click("btn_RG_1");
    EXPECT_TRUE(r.session.HasUnsavedChanges());

    ASSERT_TRUE(r.session.undo());
    EXPECT_EQ(r.seen(), saved);
    ASSERT_TRUE(r.session.undo()) << "the save's own writing of the rows is no step";
    EXPECT_EQ(r.text(1), loaded);
    EXPECT_TRUE(r.session.HasUnsavedChanges()) << "the file holds row 1 as typed now";
    EXPECT_FALSE(r.session.canUndo());

    ASSERT_TRUE(r.session.revertToFile());
    EXPECT_EQ(r.seen(), saved);
    EXPECT_FALSE(r.session.canRedo());
    EXPECT_FALSE(r.session.revertToFile()) << "already the file's state";
    ASSERT_TRUE(r.session.undo());
    EXPECT_TRUE(r.session.HasUnsavedChanges());
    std::filesystem::remove_all(dir);
}

namespace {

struct Servo {
    ScriptedPrompter prompter;
    Session session{prompter};
    KornelPage& page = session.pages.page<KornelPage>();

    Servo()
    {
        FirmwareBuilder b;
        b.identifier(0xD3).signature(hz::test::kMotW8);
        for (int e = 0; e < 512; ++e)
            b.words[0x500 + e] = 0x3400 | (e % 128 < 100 ? e % 100 : 10);
        session.keepHistory();
        EXPECT_EQ(session.LoadLines(b.lines(), "servo.hex"), LoadOutcome::Done);
        prompter.clear();
    }
    void mouse(MouseAction action, int x, int y)
    {
        page.userMouse("servo_Image1", action, x, y);
        session.noteEdit();
    }
    void click(const char* name)
    {
        page.userClick(name);
        session.noteEdit();
    }
    std::vector<int> curve() const { return page.data(); }
    FirmwareImage::Memory memory() const { return session.image.memory(); }
};

} // namespace

// A drawing stroke from press to release is one step of the working copy; "übernehmen"
// writes it into the image as the next step, and undo takes both back in turn.
TEST(EditHistory, ACurveStrokeAndItsAcceptance)
{
    Servo s;
    const std::vector<int> loadedCurve = s.curve();
    const FirmwareImage::Memory loadedMemory = s.memory();
    ASSERT_FALSE(s.page.hasPending());

    s.mouse(MouseAction::Press, 26, 100);
    s.mouse(MouseAction::Move, 78, 150);
    s.mouse(MouseAction::Move, 104, 50);
    EXPECT_FALSE(s.session.canUndo()) << "nothing is recorded while the button is held";
    s.mouse(MouseAction::Release, 104, 50);
    ASSERT_TRUE(s.page.hasPending());
    const std::vector<int> drawn = s.curve();
    ASSERT_NE(drawn, loadedCurve);
    s.click("servo_btn_uebernehmen");
    ASSERT_FALSE(s.page.hasPending());
    ASSERT_FALSE(s.memory() == loadedMemory);
    const FirmwareImage::Memory acceptedMemory = s.memory();

    ASSERT_TRUE(s.session.undo());
    EXPECT_TRUE(s.page.hasPending()) << "the drawn curve is pending again";
    EXPECT_EQ(s.curve(), drawn);
    EXPECT_TRUE(s.memory() == loadedMemory);
    EXPECT_TRUE(s.session.HasUnsavedChanges());
    ASSERT_TRUE(s.session.undo()) << "the whole stroke is one step";
    EXPECT_FALSE(s.page.hasPending());
    EXPECT_EQ(s.curve(), loadedCurve);
    EXPECT_FALSE(s.session.HasUnsavedChanges());
    EXPECT_FALSE(s.session.canUndo());

    ASSERT_TRUE(s.session.redo());
    EXPECT_TRUE(s.page.hasPending());
    EXPECT_EQ(s.curve(), drawn);
    ASSERT_TRUE(s.session.redo());
    EXPECT_FALSE(s.page.hasPending());
    EXPECT_TRUE(s.memory() == acceptedMemory);
    EXPECT_FALSE(s.session.canRedo());
}

// "verwerfen" drops the working copy; undo brings the dropped copy back.
TEST(EditHistory, DiscardedWorkingCopyComesBack)
{
    Servo s;
    s.mouse(MouseAction::Press, 26, 100);
    s.mouse(MouseAction::Move, 78, 150);
    s.mouse(MouseAction::Release, 78, 150);
    const std::vector<int> drawn = s.curve();
    ASSERT_TRUE(s.page.hasPending());
    s.click("servo_btn_verwerfen");
    ASSERT_FALSE(s.page.hasPending());
    ASSERT_TRUE(s.session.undo());
    EXPECT_TRUE(s.page.hasPending());
    EXPECT_EQ(s.curve(), drawn);
}

// "Einstellungen übernehmen aus…" is one step of its own: typed into a field, then a value
// carried into that very field, are two steps, and typing there after the carrying a third -
// the history merges keystrokes in one field, never the carrying with them.
TEST(EditHistory, CarriedSettingsAreAStepOfTheirOwn)
{
    ScriptedPrompter windowPrompter, otherPrompter;
    Session window(windowPrompter), other(otherPrompter);
    window.keepHistory();
    ASSERT_EQ(window.LoadFile(hz::test::fixture("f18324_function.hex")), LoadOutcome::Done);
    ASSERT_EQ(other.LoadFile(hz::test::fixture("f18324_function.hex")), LoadOutcome::Done);
    std::string error;
    ASSERT_TRUE(ApplyPageAction(other.shownPages(), "CvEdits[5]=42", error)) << error;
    Page& cvs = *window.pages.shown().front();
    ASSERT_STREQ(cvs.objectName(), "FrameRegister1");
    auto field = [&] { return cvs.find("CvEdits[5]")->text; };
    const std::string loaded = field();
    ASSERT_NE(loaded, "7");

    cvs.userText("CvEdits[5]", "7");
    window.noteEdit();
    hz::tools::CarrySettingsInto(window, other);
    ASSERT_EQ(field(), "42");
    cvs.userText("CvEdits[5]", "43");
    window.noteEdit();

    for (const char* back : {"42", "7"}) {
        ASSERT_TRUE(window.undo());
        EXPECT_EQ(field(), back);
    }
    ASSERT_TRUE(window.undo());
    EXPECT_EQ(field(), loaded);
    EXPECT_FALSE(window.canUndo());
    EXPECT_FALSE(window.HasUnsavedChanges());
    ASSERT_TRUE(window.redo());
    ASSERT_TRUE(window.redo());
    EXPECT_EQ(field(), "42");

    // Carried while the typing was not noted yet (no frame event in between): still two steps.
    ASSERT_EQ(window.LoadFile(hz::test::fixture("f18324_function.hex")), LoadOutcome::Done);
    cvs.userText("CvEdits[5]", "7");
    hz::tools::CarrySettingsInto(window, other);
    ASSERT_TRUE(window.undo());
    EXPECT_EQ(field(), "7");
    ASSERT_TRUE(window.undo());
    EXPECT_EQ(field(), loaded);
}
