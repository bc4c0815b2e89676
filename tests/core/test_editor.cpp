// The user's commands as the editor core offers them to every face: the order of their
// questions, what they keep when the user says No, the name a save proposes, the carrying as
// one step, and which parts of the shown state each one reports as changed.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/editor/Editor.h"
#include "core/firmware/TextFile.h"

using namespace hz;
using hz::pages::AddressPage;
using hz::test::ScriptedPrompter;
namespace fs = std::filesystem;

namespace {

// An editor over a session, with copies of two fixtures in a folder of their own: the file
// settings are carried into ("neu") and the one they come from ("alt").
struct Fixture {
    fs::path dir = hz::test::tempDir("editor");
    std::string neu = copy("zusatz_629_stellino361.hex", "neu.hex");
    std::string alt = copy("classic_629_turnout.hex", "alt.hex");
    ScriptedPrompter prompter;
    Session session{prompter};
    Editor editor{session};
    std::vector<Changes> heard;

    Fixture()
    {
        session.keepHistory(); // as the window does
        editor.onChange([this](Changes c) { heard.push_back(c); });
    }
    ~Fixture() { fs::remove_all(dir); }

    std::string copy(const std::string& fixture, const std::string& name)
    {
        const fs::path to = dir / name;
        fs::copy_file(hz::test::fixture(fixture), to);
        return to.string();
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    void typeAddress(int row, const std::string& text)
    {
        session.addresses.userText(AddressPage::addressName(row), text);
        editor.edited();
    }
    Changes heardTogether() const
    {
        Changes all;
        for (Changes c : heard)
            all |= c;
        return all;
    }
};

constexpr Changes kLoaded = Change::File | kShownState;

} // namespace

TEST(Editor, EveryOperationReportsWhatItChanged)
{
    struct Case {
        const char* name;
        std::function<void(Fixture&)> before; // runs before listening
        std::function<void(Fixture&)> operation;
        Changes expected;
    };
    const auto loadNeu = [](Fixture& f) { ASSERT_EQ(f.editor.load(f.neu), LoadOutcome::Done); };
    const auto loadAndEdit = [](Fixture& f) {
        ASSERT_EQ(f.editor.load(f.neu), LoadOutcome::Done);
        f.typeAddress(1, "77");
    };
    const Case cases[] = {
        {"start-up load", {}, [](Fixture& f) { f.editor.load(f.neu); }, kLoaded | Change::Folder | Change::Recent},
        {"next file after a start-up load", loadNeu, [](Fixture& f) { f.editor.openNext(); },
         kLoaded | Change::Folder | Change::Recent},
        {"open", {}, [](Fixture& f) { f.editor.open(f.neu); }, kLoaded | Change::Folder | Change::Recent},
        {"open lines from memory",
         {},
         [](Fixture& f) { f.editor.openLines(splitLines(hz::test::readFile(f.neu), 100000), "speicher.hex"); },
         kLoaded | Change::Folder | Change::Recent},
        {"open a file that is not there", loadNeu, [](Fixture& f) { f.editor.open(f.path("fehlt.hex")); },
         kLoaded | Change::Folder},
        {"open, unsaved changes kept",
         loadAndEdit,
         [](Fixture& f) {
             f.prompter.answers = {Answer::No};
             f.editor.open(f.alt);
         },
         {}},
        {"next file of the folder", [](Fixture& f) { f.editor.open(f.neu); }, [](Fixture& f) { f.editor.openNext(); },
         kLoaded | Change::Folder | Change::Recent},
        {"save under a name", loadNeu,
         [](Fixture& f) { f.editor.save([&](const std::string&) { return f.path("x.hex"); }); },
         Change::File | Change::Recent | kShownState},
        {"save, name cancelled", loadNeu, [](Fixture& f) { f.editor.save([](const std::string&) { return ""; }); },
         kShownState},
        {"save without a file",
         {},
         [](Fixture& f) { f.editor.save([](const std::string&) { return "x.hex"; }); },
         Change::Rows | Change::Pages | Change::History},
        {"an edit", loadNeu, [](Fixture& f) { f.typeAddress(1, "77"); }, Change::History},
        {"undo", loadAndEdit, [](Fixture& f) { f.editor.undo(); }, kShownState},
        {"undo with nothing to undo", loadNeu, [](Fixture& f) { f.editor.undo(); }, {}},
        {"redo",
         [&](Fixture& f) {
             loadAndEdit(f);
             f.editor.undo();
         },
         [](Fixture& f) { f.editor.redo(); }, kShownState},
        {"revert to the file", loadAndEdit, [](Fixture& f) { f.editor.revertToFile(); }, kShownState},
        {"second layout pass", loadNeu, [](Fixture& f) { f.editor.redoLayout(); },
         Change::Rows | Change::Status | Change::History},
        {"carry settings", loadNeu,
         [](Fixture& f) { f.editor.carrySettingsFrom(f.alt, [](const auto&, const auto&) { return true; }); },
         kShownState},
        {"carry declined",
         loadNeu,
         [](Fixture& f) { f.editor.carrySettingsFrom(f.alt, [](const auto&, const auto&) { return false; }); },
         {}},
        {"compare", loadNeu, [](Fixture& f) { EXPECT_TRUE(f.editor.compareWith(f.alt)); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        if (c.before)
            c.before(f);
        f.heard.clear();
        c.operation(f);
        EXPECT_EQ(f.heardTogether().bits(), c.expected.bits());
    }
}

TEST(Editor, OpenAnsweredNoKeepsEverything)
{
    Fixture f;
    ASSERT_EQ(f.editor.open(f.neu), LoadOutcome::Done);
    const FolderBrowser neighbours = f.editor.folder();
    f.typeAddress(1, "77");
    f.prompter.clear();
    f.prompter.answers = {Answer::No};

    EXPECT_EQ(f.editor.open(f.alt), LoadOutcome::NoFile);
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{kUnsavedChangesQuestion});
    EXPECT_EQ(f.editor.file(), f.neu);
    EXPECT_EQ(f.session.image.LastFileName, f.neu);
    EXPECT_EQ(f.session.addresses.addressText(1), "77");
    EXPECT_TRUE(f.session.HasUnsavedChanges());
    EXPECT_TRUE(f.editor.undo()); // the edit is still the step it was
    EXPECT_EQ(f.editor.folder().PrevFile, neighbours.PrevFile);
    EXPECT_EQ(f.editor.folder().NextFile, neighbours.NextFile);

    // Yes goes on: the question first, then the other file.
    f.typeAddress(1, "77");
    f.prompter.clear();
    f.prompter.answers = {Answer::Yes};
    EXPECT_EQ(f.editor.open(f.alt), LoadOutcome::Done);
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{kUnsavedChangesQuestion});
    EXPECT_EQ(f.editor.file(), f.alt);
    EXPECT_FALSE(f.session.HasUnsavedChanges());
    EXPECT_EQ(f.editor.folder().NextFile, f.neu); // "alt.hex", then "neu.hex"
}

TEST(Editor, SaveProposesTheNameLastSavedTo)
{
    Fixture f;
    ASSERT_EQ(f.editor.open(f.neu), LoadOutcome::Done);
    std::vector<std::string> proposed;
    const auto saveAs = [&](const std::string& name) {
        return f.editor.save([&](const std::string& p) {
            proposed.push_back(p);
            return name;
        });
    };

    // Cancelled: nothing written; the status bar still names the loaded file with its PIC.
    const std::string loadedStatus = f.session.statusTexts().text[3];
    ASSERT_NE(loadedStatus, f.neu) << "the fixture's PIC has a suffix in the status bar";
    EXPECT_FALSE(saveAs(""));
    EXPECT_EQ(f.session.statusTexts().text[3], loadedStatus);
    EXPECT_TRUE(saveAs(f.path("kopie.hex")));
    EXPECT_EQ(f.editor.file(), f.path("kopie.hex"));
    EXPECT_EQ(f.session.statusTexts().text[3], f.path("kopie.hex"));
    EXPECT_TRUE(fs::exists(f.path("kopie.hex")));
    EXPECT_TRUE(saveAs(f.path("kopie.hex")));
    EXPECT_EQ(proposed, (std::vector<std::string>{f.neu, f.neu, f.path("kopie.hex")}));
    EXPECT_EQ(f.session.image.LastFileName, f.neu); // a save leaves the loaded file's name alone

    // A load starts afresh: the loaded file is proposed again.
    ASSERT_EQ(f.editor.open(f.alt), LoadOutcome::Done);
    proposed.clear();
    saveAs("");
    EXPECT_EQ(proposed, std::vector<std::string>{f.alt});

    // A save that cannot write proposes as before and leaves the shown file.
    proposed.clear();
    EXPECT_FALSE(saveAs(f.path("kein/ordner.hex")));
    EXPECT_FALSE(saveAs(""));
    EXPECT_EQ(proposed, (std::vector<std::string>{f.alt, f.alt}));
    EXPECT_EQ(f.editor.file(), f.alt);
}

TEST(Editor, CarryingSettingsIsOneUndoStep)
{
    Fixture f;
    ASSERT_EQ(f.editor.open(f.neu), LoadOutcome::Done);
    ScriptedPrompter p;
    Session old(p);
    ASSERT_EQ(old.LoadFile(f.alt), LoadOutcome::Done);
    const std::string own = f.session.addresses.addressText(1);
    const std::string carried = old.addresses.addressText(1);
    ASSERT_NE(own, carried);
    const auto address = [&] { return f.session.addresses.addressText(1); };

    // Declined after the preview: nothing changed, no step.
    std::string summary;
    EXPECT_FALSE(f.editor.carrySettingsFrom(f.alt, [&](const tools::MigrationReport& preview, const std::string& s) {
        EXPECT_FALSE(preview.carried.empty());
        summary = s;
        return false;
    }));
    EXPECT_EQ(summary.rfind("ALT: alt.hex - ", 0), 0u) << summary;
    EXPECT_EQ(address(), own);
    EXPECT_FALSE(f.session.canUndo());

    ASSERT_TRUE(f.editor.carrySettingsFrom(f.alt, [](const auto&, const auto&) { return true; }));
    EXPECT_EQ(address(), carried);
    EXPECT_TRUE(f.session.HasUnsavedChanges());
    EXPECT_TRUE(f.prompter.shown.empty()); // the refusals were in the preview, not told again

    EXPECT_TRUE(f.editor.undo());
    EXPECT_EQ(address(), own);
    EXPECT_FALSE(f.session.HasUnsavedChanges());
    EXPECT_FALSE(f.session.canUndo());
    EXPECT_TRUE(f.editor.redo());
    EXPECT_EQ(address(), carried);
}

TEST(Editor, SettingsToolsTellWhyTheyCannotWork)
{
    Fixture f;
    // No file shown: the tools do nothing and ask nothing.
    EXPECT_FALSE(f.editor.compareWith(f.alt));
    EXPECT_TRUE(f.prompter.shown.empty());

    ASSERT_EQ(f.editor.open(f.neu), LoadOutcome::Done);
    f.prompter.clear();
    EXPECT_FALSE(f.editor.compareWith(f.path("fehlt.hex")));
    EXPECT_FALSE(f.editor.carrySettingsFrom(f.path("fehlt.hex"), [](const auto&, const auto&) {
        ADD_FAILURE() << "no preview of a file that did not load";
        return true;
    }));
    ASSERT_EQ(f.prompter.shown.size(), 2u);
    for (const auto& m : f.prompter.shown) {
        EXPECT_EQ(m.kind, MsgKind::Error);
        EXPECT_NE(m.text.find("\"fehlt.hex\""), std::string::npos) << m.text;
    }
}

TEST(Editor, TheSheetNamesTheFileShown)
{
    Fixture f;
    ASSERT_EQ(f.editor.open(f.neu), LoadOutcome::Done);
    EXPECT_EQ(f.editor.settingsSheet("11.12.2026").file, f.neu);
    ASSERT_TRUE(f.editor.save([&](const std::string&) { return f.path("kopie.hex"); }));
    EXPECT_EQ(f.editor.settingsSheet("11.12.2026").file, f.path("kopie.hex"));
}

TEST(Editor, TheLoadsCorrectionsAreToldOnceAfterTheLoad)
{
    Fixture f;
    const std::string corrected = f.copy("zusatz_684_ampel340.hex", "ampel.hex");
    std::vector<std::string> order;
    f.editor.onChange([&](Changes) { order.push_back("changed"); });
    ASSERT_EQ(f.editor.open(corrected), LoadOutcome::Done);
    ASSERT_FALSE(f.session.loadCorrections.empty());
    for (const auto& m : f.prompter.shown)
        order.push_back(m.text);
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], "changed"); // the face shows the file before the warning
    EXPECT_EQ(order[1], CorrectionsMessage(f.session.loadCorrections));
    EXPECT_FALSE(f.session.HasUnsavedChanges());

    // A file that cannot be read leaves this one shown; its corrections are not told again.
    f.prompter.clear();
    EXPECT_EQ(f.editor.open(f.path("fehlt.hex")), LoadOutcome::Unreadable);
    ASSERT_EQ(f.prompter.shown.size(), 1u);
    EXPECT_NE(f.prompter.shown[0].text.find("fehlt.hex"), std::string::npos) << f.prompter.shown[0].text;
    EXPECT_EQ(f.editor.file(), corrected);
}
