// The demo firmware in examples/ is what a newcomer opens first: every value in it must be one
// a decoder carries and its pages accept as it stands.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ScriptedPrompter.h"
#include "core/Session.h"
#include "core/tools/PageValues.h"

using namespace hz;
using hz::pages::Control;
using hz::pages::ControlKind;
using hz::test::ScriptedPrompter;

namespace {

std::vector<std::string> demoFiles()
{
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(HZ_SOURCE_DIR) / "examples"))
        if (e.path().extension() == ".hex")
            files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

// What is wrong with the shown controls of `page`: a list without a selection, a track bar
// beyond its range, an edit whose own number the page refuses when it is typed back.
std::vector<std::string> refusedValues(pages::Page& page, ScriptedPrompter& prompter)
{
    std::vector<std::string> wrong;
    const std::vector<Control> controls = page.controls(); // typing may rebuild the page
    for (const Control& c : controls) {
        if (!tools::ControlShown(page, c) || !tools::HoldsSetting(c))
            continue;
        if (c.kind == ControlKind::List && c.selected < 0)
            wrong.push_back(c.name + ": keine Auswahl");
        if (c.kind == ControlKind::TrackBar && (c.position < c.min || c.position > c.max))
            wrong.push_back(c.name + ": " + std::to_string(c.position));
        if (c.kind == ControlKind::Edit && !c.readOnly) {
            // Typed anew, as a user does: cleared, then the number.
            prompter.clear();
            page.userText(c.name, "");
            page.userText(c.name, c.text);
            if (!prompter.shown.empty())
                wrong.push_back(c.name + "=" + c.text + ": " + prompter.shown.front().text);
        }
    }
    return wrong;
}

} // namespace

TEST(DemoFirmware, HoldsOnlyValuesItsPagesAccept)
{
    const std::vector<std::string> files = demoFiles();
    ASSERT_GE(files.size(), 7u);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        ScriptedPrompter prompter;
        Session session{prompter};
        ASSERT_EQ(session.LoadFile(file), LoadOutcome::Done);
        // Nothing to ask or tell at the load: every address decodes, no page corrects a byte.
        EXPECT_EQ(prompter.texts(), std::vector<std::string>{});
        for (pages::Page* page : session.shownPages()) {
            SCOPED_TRACE(page->objectName());
            EXPECT_TRUE(page->corrections.empty());
            // A table value out of range is clamped into the working copy when the page shows it.
            EXPECT_FALSE(page->hasPending());
            const std::vector<int> copy = page->data();
            EXPECT_EQ(refusedValues(*page, prompter), std::vector<std::string>{});
            // Every part of a working copy shown one at a time: each curve, each address.
            for (const Control& c : std::vector<Control>(page->controls())) {
                if (c.kind != ControlKind::Radio || c.valueOf != pages::ValueOf::Editor ||
                    !tools::ControlShown(*page, c))
                    continue;
                SCOPED_TRACE(c.caption);
                page->userClick(c.name);
                EXPECT_EQ(page->data(), copy);
                EXPECT_EQ(refusedValues(*page, prompter), std::vector<std::string>{});
            }
        }
    }
}
