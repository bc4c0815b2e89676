#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "FirmwareBuilder.h"
#include "HexRecords.h"
#include "core/Session.h"

using namespace hz;
using namespace hz::test;

namespace {

// Answers the questions about missing records with `toQuestions`, everything else with its
// first button, and keeps what the status bar showed while each message was up.
class Answering : public Prompter {
public:
    Answer ask(MsgKind, const std::string& text, Buttons buttons) override
    {
        texts.push_back(text);
        if (session)
            statusAtMessage.push_back(session->statusTexts());
        if (buttons == Buttons::CancelIgnore)
            return toQuestions;
        return buttons == Buttons::YesIgnore ? Answer::Ignore : Answer::Ok;
    }
    Answer toQuestions = Answer::Ignore;
    const Session* session = nullptr;
    std::vector<std::string> texts;
    std::vector<StatusPanels> statusAtMessage;
};

struct Loaded {
    Answering prompter;
    Session session{prompter};
    Loaded() { prompter.session = &session; }
    LoadOutcome load(const std::vector<std::string>& lines) { return session.LoadLines(lines, "/f/x.hex"); }
};

} // namespace

namespace hz {
// Test output names the four texts.
void PrintTo(const StatusPanels& s, std::ostream* os)
{
    *os << "{\"" << s.text[0] << "\", \"" << s.text[1] << "\", \"" << s.text[2] << "\", \"" << s.text[3] << "\"}";
}
} // namespace hz

namespace {

StatusPanels panels(std::string id, std::string version, std::string format, std::string file)
{
    return StatusPanels{{std::move(id), std::move(version), std::move(format), std::move(file)}};
}

std::vector<std::string> relay8(int version)
{
    FirmwareBuilder fw;
    fw.identifier(0x69).signature(0x1905); // DCC, 16F684
    fw.version = std::to_string(version);
    return fw.lines();
}

} // namespace

// Every form of ID record the reader meets, through a whole load: what the status bar shows
// and the version the pages compare with.
TEST(StatusTexts, IdRecordFormsAsTheStatusBarShowsThem)
{
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        Answer toQuestions;
        LoadOutcome outcome;
        StatusPanels status;
        std::optional<Version> version;
    } cases[] = {
        {"classic", relay8(358), Answer::Ignore, LoadOutcome::Done,
         panels("ID: 1", "V 3.58", "DCC", "/f/x.hex (16F684)"), Version{3, 58}},
        {"classic, minor below ten", relay8(305), Answer::Ignore, LoadOutcome::Done,
         panels("ID: 1", "V 3.05", "DCC", "/f/x.hex (16F684)"), Version{3, 5}},
        {"classic, identifier digit A",
         {rec(0x4000, "0A00030005000800"), kEnd},
         Answer::Ignore,
         LoadOutcome::Done,
         panels("ID: A", "V 3.58", "ohne", "/f/x.hex"),
         Version{3, 58}},
        // the minor as the first ID byte, two digits as written; the identifier two digits
        {"16F18324 form",
         {kBase1, rec(0x0000, "05000000014B0000"), kEnd},
         Answer::Ignore,
         LoadOutcome::Done,
         panels("ID: 01", "V 0.05", "ohne", "/f/x.hex"),
         Version{0, 5}},
        {"16F18324 form, identifier 1F",
         {kBase1, rec(0x0000, "580000001F4B0000"), kEnd},
         Answer::Ignore,
         LoadOutcome::Done,
         panels("ID: 1F", "V 0.58", "ohne", "/f/x.hex"),
         Version{0, 58}},
        // a damaged record whose first byte is a signed number: read, and shown as written
        {"16F18324 form, signed minor",
         {kBase1, ":08000000+5000000014B0000FF", kEnd},
         Answer::Ignore,
         LoadOutcome::Done,
         panels("ID: 01", "V 0.+5", "ohne", "/f/x.hex"),
         Version{0, 5}},
        // the load stops at a version that is no number: the characters stay as they stand
        {"classic, letter in the version",
         {rec(0x4000, "08000A0005000800"), kEnd},
         Answer::Ignore,
         LoadOutcome::Stopped,
         panels("ID: 8", "V A.58", "", "/f/x.hex"),
         std::nullopt},
        {"16F18324 form, letter in the version",
         {kBase1, rec(0x0000, "5A000000014B0000"), kEnd},
         Answer::Ignore,
         LoadOutcome::Stopped,
         panels("ID: 01", "V 0.5A", "", "/f/x.hex"),
         std::nullopt},
        {"no ID record",
         [] {
             FirmwareBuilder fw;
             fw.identifier(0x69).signature(0x1905);
             fw.withId = false;
             return fw.lines();
         }(),
         Answer::Ignore, LoadOutcome::Done, panels("", "", "DCC", "/f/x.hex (16F684)"), std::nullopt},
        // Cancel at the question about the missing ID: the PIC was named already and stays
        {"no ID record, cancelled",
         [] {
             FirmwareBuilder fw;
             fw.identifier(0x69).signature(0x1905);
             fw.withId = false;
             return fw.lines();
         }(),
         Answer::Cancel, LoadOutcome::Stopped, panels("", "", "", "/f/x.hex (16F684)"), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Loaded l;
        l.prompter.toQuestions = c.toQuestions;
        EXPECT_EQ(l.load(c.lines), c.outcome);
        EXPECT_EQ(l.session.statusTexts().text, c.status.text);
        EXPECT_EQ(l.session.image.facts.version, c.version);
    }
}

// The message about a version before 3.26 gives the number, whatever the status bar shows.
TEST(StatusTexts, OldVersionMessageGivesTheNumber)
{
    for (const auto& [lines, expected] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{rec(0x4000, "0800030002000500"), kEnd}, "3.25"},
             {{kBase1, ":08000000+5000000014B0000FF", kEnd}, "0.05"}}) {
        Loaded l;
        l.load(lines);
        ASSERT_FALSE(l.prompter.texts.empty());
        const std::string message = "Das HEX-File konnte leider nicht erkannt werden, da Version vor V3.26\n\nVersion "
                                    "des HEX-File: " +
                                    expected + " ";
        EXPECT_NE(std::find(l.prompter.texts.begin(), l.prompter.texts.end(), message), l.prompter.texts.end())
            << l.prompter.texts.front();
    }
}

// What the status bar names from one load to the next, a save in between.
TEST(StatusTexts, FollowsLoadsAndSaves)
{
    Loaded l;
    EXPECT_EQ(l.session.statusTexts(), panels("", "", "", " HEX Zwirbel "));

    ASSERT_EQ(l.load(relay8(358)), LoadOutcome::Done);
    const StatusPanels loaded = panels("ID: 1", "V 3.58", "DCC", "/f/x.hex (16F684)");
    EXPECT_EQ(l.session.statusTexts(), loaded);

    // a saved file, or the one a cancelled save proposed, is named without its PIC
    l.session.nameInStatus("/f/y.hex");
    EXPECT_EQ(l.session.statusTexts(), panels("ID: 1", "V 3.58", "DCC", "/f/y.hex"));

    // a file that cannot be opened changes nothing, not even while its message is up
    l.prompter.statusAtMessage.clear();
    EXPECT_EQ(l.session.LoadFile("/nonexistent/folder/z.hex"), LoadOutcome::Unreadable);
    EXPECT_EQ(l.prompter.statusAtMessage, std::vector<StatusPanels>{panels("ID: 1", "V 3.58", "DCC", "/f/y.hex")});
    EXPECT_EQ(l.session.statusTexts(), panels("ID: 1", "V 3.58", "DCC", "/f/y.hex"));

    // The next load names its own file from the start; the format shows once the questions
    // are answered, not while they are asked.
    FirmwareBuilder noId;
    noId.identifier(0x69).signature(0x1905);
    noId.withId = false;
    l.prompter.statusAtMessage.clear();
    l.prompter.texts.clear();
    ASSERT_EQ(l.load(noId.lines()), LoadOutcome::Done);
    const auto question = std::find(l.prompter.texts.begin(), l.prompter.texts.end(),
                                    "In dem HEX-File wurde kein Wert für die ID gefunden.");
    ASSERT_NE(question, l.prompter.texts.end());
    EXPECT_EQ(l.prompter.statusAtMessage[static_cast<std::size_t>(question - l.prompter.texts.begin())],
              panels("", "", "", "/f/x.hex (16F684)"));
    // the rows' messages (blank EEPROM) come after the questions
    EXPECT_EQ(l.prompter.statusAtMessage.back(), panels("", "", "DCC", "/f/x.hex (16F684)"));
    EXPECT_EQ(l.session.statusTexts(), panels("", "", "DCC", "/f/x.hex (16F684)"));

    // a load that stops takes the format away and keeps what was read
    ASSERT_EQ(l.load({rec(0x4000, "08000A0005000800"), kEnd}), LoadOutcome::Stopped);
    EXPECT_EQ(l.session.statusTexts(), panels("ID: 8", "V A.58", "", "/f/x.hex"));
}
