// What `migrate` reports against what it wrote, for every pair of fixture firmwares it accepts:
// the old file once as delivered and once with every setting its pages show changed. The result
// is saved, loaded again and compared with the new file as loaded, and the differences must be
// exactly the settings the report lists as carried that changed a value - nothing listed as
// not carried, and nothing the report does not list at all. A fixture added later takes part
// without a line here.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/firmware/HexText.h"
#include "core/firmware/HexWriter.h"
#include "core/pages/PageAction.h"
#include "core/tools/PageValues.h"
#include "core/tools/SettingsDiff.h"
#include "core/tools/SettingsMigration.h"

using namespace hz;
using namespace hz::tools;
using hz::pages::Control;
using hz::pages::ControlKind;
using hz::test::ScriptedPrompter;

namespace {

struct Loaded {
    ScriptedPrompter prompter;
    Session session{prompter};
    bool loaded = false;
    explicit Loaded(const std::string& path) { loaded = session.LoadFile(path) == LoadOutcome::Done; }
    explicit Loaded(const std::vector<std::string>& lines)
    {
        loaded = !lines.empty() && session.LoadLines(lines, "/f/x.hex") == LoadOutcome::Done;
    }
};

// The lines of a session after the editor's save sequence ("Geänderte Werte übernehmen?": yes).
std::vector<std::string> saved(Loaded& l)
{
    l.prompter.answers = {Answer::Yes};
    if (!l.session.PrepareSave())
        return {};
    return builtLines(l.session.image);
}

// Every setting a user can reach changed to another value the page offers, every working copy
// entry moved by one: the old file of a migration that has something to carry everywhere.
void changeEverything(Session& s)
{
    for (pages::Page* page : s.pages.shown()) {
        std::vector<int> copy = page->data();
        for (int& v : copy)
            v = (v + 1) & 0xFF;
        if (!copy.empty())
            page->setData(copy);
        std::set<std::string> groupsClicked;
        for (std::size_t k = 0; k < page->controls().size(); ++k) {
            const Control c = page->controls()[k];
            if (!HoldsSetting(c) || !ControlShown(*page, c) || !c.enabled)
                continue;
            std::string action;
            int n = 0;
            switch (c.kind) {
            case ControlKind::Check: action = c.name + (c.checked ? "=0" : "=1"); break;
            case ControlKind::Radio:
                if (!c.checked && groupsClicked.insert(c.parent).second)
                    action = c.name;
                break;
            case ControlKind::List:
                if (!c.items.empty())
                    action = c.name + "=#" + std::to_string((c.selected + 1) % static_cast<int>(c.items.size()));
                break;
            case ControlKind::TrackBar:
                action = c.name + "=" + std::to_string(c.position < c.max ? c.position + 1 : c.position - 1);
                break;
            case ControlKind::Edit:
                if (!c.readOnly && parseWholeNumber(c.text, n))
                    action = c.name + "=" + std::to_string(n + 1);
                break;
            default: break;
            }
            std::string error;
            if (!action.empty())
                pages::ApplyPageAction(*page, action, error);
        }
    }
}

const pages::Page* pageNamed(const Session& s, const std::string& objectName)
{
    for (const pages::Page* p : s.pages.shown())
        if (objectName == p->objectName())
            return p;
    return nullptr;
}

const pages::Page* pageOf(const Session& s, const std::string& controlName)
{
    for (const pages::Page* p : s.pages.shown())
        if (p->find(controlName))
            return p;
    return nullptr;
}

const Control* controlNamed(const Session& s, const std::string& name)
{
    const pages::Page* p = pageOf(s, name);
    return p ? p->find(name) : nullptr;
}

// The report of a migration from `old` into `neu`, whose saved result is `out`, against the
// differences between `neu` as loaded and `out`.
void expectReportMatchesResult(const Session& old, const Session& neu, const Session& out, const MigrationReport& r)
{
    const std::vector<Difference> diff = DiffSessions(neu, out);
    // A control the result no longer shows (a curve list after the action "Abbruch" was
    // carried) holds no value of either file; the other side of it is what counts.
    std::set<std::string> pageDiffs, rowDiffs, copyDiffs;
    for (const Difference& d : diff) {
        if (d.where == "page") {
            if (d.b)
                pageDiffs.insert(d.name);
        } else if (d.where == "row") {
            rowDiffs.insert(d.name.substr(0, d.name.find(':')));
        } else if (d.where == "data") {
            copyDiffs.insert(d.name.substr(0, d.name.find_first_of(":[")));
        } else if (d.where == "stored") {
            // a byte the new file's page repairs when it is shown: not the migration's doing,
            // and told when the new file is loaded (one line each on the tool's stderr)
            bool told = false;
            for (const hz::LoadCorrection& k : neu.loadCorrections)
                told = told || hz::ByteLocation(k.change.eeprom, k.change.index) == d.name;
            EXPECT_TRUE(told) << DescribeDifference(d);
        } else {
            ADD_FAILURE() << "the new firmware stays as it was: " << DescribeDifference(d);
        }
    }

    std::set<std::string> carriedPages, carriedRows, copies, copiesLeft;
    for (const CarriedSetting& n : r.notCarried)
        if (n.where == "data")
            copiesLeft.insert(n.name);
    for (const CarriedSetting& c : r.carried) {
        SCOPED_TRACE("carried " + c.where + " " + c.name + ": " + c.value);
        if (c.where == "row") {
            const auto t = static_cast<std::size_t>(c.targetRow);
            const auto a = static_cast<std::size_t>(std::stoi(c.name));
            ASSERT_GT(c.targetRow, 0);
            carriedRows.insert(std::to_string(c.targetRow));
            EXPECT_EQ(out.addresses.addressText(c.targetRow), old.addresses.addressText(std::stoi(c.name)));
            if (neu.ident.FunctionDecoder) {
                EXPECT_EQ(out.addresses.functionText(c.targetRow), old.addresses.functionText(std::stoi(c.name)));
            }
            if (neu.ident.RedGreen) {
                EXPECT_EQ(out.addresses.RowState[t], old.addresses.RowState[a]);
            }
        } else if (c.where == "page") {
            const Control* before = controlNamed(neu, c.name);
            const Control* after = controlNamed(out, c.name);
            ASSERT_TRUE(before && after);
            EXPECT_EQ(SettingText(*after), c.value);
            const bool changed = SettingText(*before) != c.value;
            EXPECT_EQ(pageDiffs.count(c.name) == 1, changed);
            // A setting that is an entry of a copy left behind would have changed that copy.
            EXPECT_EQ(copiesLeft.count(before->inCopyOf), 0u) << c.name << " is a view of " << before->inCopyOf;
            carriedPages.insert(c.name);
        } else {
            ASSERT_EQ(c.where, "data");
            copies.insert(c.name);
            const pages::Page* from = pageNamed(old, c.name);
            const pages::Page* to = pageNamed(out, c.name);
            ASSERT_TRUE(from && to);
            EXPECT_EQ(to->data(), from->data());
        }
    }
    for (const CarriedSetting& n : r.notCarried) {
        SCOPED_TRACE("not carried " + n.where + " " + n.name + ": " + n.value + " - " + n.reason);
        EXPECT_FALSE(n.reason.empty());
        if (n.where == "row" && n.targetRow > 0) {
            EXPECT_EQ(rowDiffs.count(std::to_string(n.targetRow)), 0u);
        } else if (n.where == "page") {
            EXPECT_EQ(pageDiffs.count(n.name), 0u);
        }
    }
    for (const std::string& row : rowDiffs)
        EXPECT_EQ(carriedRows.count(row), 1u) << "row " << row << " changed but is not listed as carried";
    for (const std::string& name : pageDiffs) {
        if (carriedPages.count(name))
            continue;
        // A change the report need not list: clicking one radio button of a group clears the
        // others; a control the new file kept hidden shows its own value once a carried setting
        // opens it (the relay of an address whose action now starts a curve); a control the old
        // file kept hidden shows the old value that came with its carried working copy.
        const Control& c = *controlNamed(out, name);
        const Control* before = controlNamed(neu, name);
        const Control* source = controlNamed(old, name);
        const bool groupCarried = c.kind == ControlKind::Radio &&
                                  std::any_of(carriedPages.begin(), carriedPages.end(), [&](const std::string& n) {
                                      const Control& other = *controlNamed(out, n);
                                      return other.kind == ControlKind::Radio && other.parent == c.parent;
                                  });
        const bool ownCameToLight =
            before && !ControlShown(*pageOf(neu, name), *before) && SettingText(*before) == SettingText(c);
        const bool cameWithCopy = !copies.empty() && source && !ControlShown(*pageOf(old, name), *source) &&
                                  SettingText(*source) == SettingText(c);
        EXPECT_TRUE(groupCarried || ownCameToLight || cameWithCopy)
            << name << " changed to \"" << SettingText(c) << "\" but is not listed as carried";
    }
    // A copy that stayed behind is the new file's, entry for entry: none of the settings shown
    // from it (a curve's count, an address's action) was typed in either.
    for (const std::string& frame : copyDiffs)
        EXPECT_EQ(copies.count(frame), 1u) << frame << " changed, but it was not carried";
    for (const std::string& frame : copiesLeft) {
        const pages::Page* kept = pageNamed(neu, frame);
        const pages::Page* written = pageNamed(out, frame);
        ASSERT_TRUE(kept && written) << frame;
        EXPECT_EQ(written->data(), kept->data()) << frame;
    }
}

std::vector<std::string> fixtureNames()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(HZ_FIXTURE_DIR))
        if (entry.path().extension() == ".hex")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(MigrationReport, AgreesWithTheDifferencesOfEveryFixturePair)
{
    // The old files: every fixture as delivered, and with everything changed and saved.
    std::vector<std::pair<std::string, std::unique_ptr<Loaded>>> olds;
    for (const std::string& name : fixtureNames()) {
        auto delivered = std::make_unique<Loaded>(hz::test::fixture(name));
        ASSERT_TRUE(delivered->loaded) << name;
        Loaded changed(hz::test::fixture(name));
        changeEverything(changed.session);
        auto reloaded = std::make_unique<Loaded>(saved(changed));
        ASSERT_TRUE(reloaded->loaded) << name << " changed";
        olds.emplace_back(name, std::move(delivered));
        olds.emplace_back(name + " (geändert)", std::move(reloaded));
    }

    int accepted = 0;
    for (const auto& [oldName, old] : olds)
        for (const std::string& newName : fixtureNames()) {
            SCOPED_TRACE(oldName + " -> " + newName);
            Loaded neu(hz::test::fixture(newName)), target(hz::test::fixture(newName));
            const MigrationReport r = MigrateSettings(old->session, target.session);
            if (!r.refusal.empty())
                continue;
            ++accepted;
            Loaded out(saved(target));
            ASSERT_TRUE(out.loaded);
            const int failures = ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
            expectReportMatchesResult(old->session, neu.session, out.session, r);
            if (::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count() != failures) {
                std::string text = "Übernommen:\n";
                for (const CarriedSetting& c : r.carried)
                    text += "  " + c.name + " <" + c.caption + ">: " + c.value + "\n";
                text += "Nicht übernommen:\n";
                for (const CarriedSetting& c : r.notCarried)
                    text += "  " + c.name + " <" + c.caption + ">: " + c.value + " - " + c.reason + "\n";
                text += "Unterschiede:\n";
                for (const Difference& d : DiffSessions(neu.session, out.session))
                    text += "  " + DescribeDifference(d) + "\n";
                ADD_FAILURE() << text;
            }
        }
    EXPECT_GT(accepted, 50);
}

// The Kornel-4 reads the servo table differently from the Kornelchen, so the table stays behind;
// the settings the pages show from it (a curve's count and stretch, an address's action, a
// servo's flags, a push-button slot) stay with it, each listed with the reason, and the written
// table is the Kornelchen's entry for entry - no curve of the Kornelchen's points at the
// Kornel-4's count.
TEST(MigrationReport, SettingsShownFromACopyLeftBehindStayBehindWithIt)
{
    Loaded old(hz::test::fixture("servo_kornel4.hex")), neu(hz::test::fixture("servo_kornelchen_358.hex")),
        target(hz::test::fixture("servo_kornelchen_358.hex"));
    ASSERT_TRUE(old.loaded && neu.loaded && target.loaded);
    // Values that differ from the Kornelchen's, so that carrying any of them would show.
    std::string error;
    ASSERT_STREQ(old.session.pages.shown().front()->objectName(), "FrameKornel1");
    for (const char* action : {"edt_Anzahl=37", "edt_stretch=9", "servo_cbx_s1c=#2"})
        ASSERT_TRUE(pages::ApplyPageAction(*old.session.pages.shown().front(), action, error)) << error;
    for (const char* action : {"cbx_a3_action=#2", "cbx_v_off_1=1"})
        ASSERT_TRUE(pages::ApplyPageAction(*old.session.pages.shown().back(), action, error)) << error;

    const MigrationReport r = MigrateSettings(old.session, target.session);
    ASSERT_TRUE(r.refusal.empty()) << r.refusal;
    auto listed = [](const std::vector<CarriedSetting>& list, const std::string& name) -> const CarriedSetting* {
        for (const CarriedSetting& c : list)
            if (c.name == name)
                return &c;
        return nullptr;
    };
    const CarriedSetting* copy = listed(r.notCarried, "FrameKornel1");
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->where, "data");
    // (the spinners beside the count and the stretch repeat the edits and are no settings)
    for (const char* name :
         {"edt_Anzahl", "edt_stretch", "servo_cbx_s1c", "cbx_a3_action", "cbx_a1_curve", "cbx_v_off_1"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(listed(r.carried, name));
        const CarriedSetting* left = listed(r.notCarried, name);
        ASSERT_TRUE(left);
        EXPECT_EQ(left->reason, "Der Wert steht in der Arbeitskopie <Servokurven>, die nicht übernommen wird.");
    }

    Loaded out(saved(target));
    ASSERT_TRUE(out.loaded);
    EXPECT_EQ(pageNamed(out.session, "FrameKornel1")->data(), pageNamed(neu.session, "FrameKornel1")->data());
    for (const Difference& d : DiffSessions(neu.session, out.session))
        EXPECT_NE(d.where, "data") << DescribeDifference(d);
    expectReportMatchesResult(old.session, neu.session, out.session, r);
}
