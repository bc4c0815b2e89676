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
#include "core/catalogue/Catalogue.h"

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
    *os << "{\"" << s.text[0] << "\", \"" << s.text[1] << "\", \"" << s.text[2] << "\", \"" << s.text[3]
        << "\", type \"" << s.type << "\"}";
}
} // namespace hz

namespace {

StatusPanels panels(std::string id, std::string version, std::string format, std::string file, std::string type = {})
{
    return StatusPanels{{std::move(id), std::move(version), std::move(format), std::move(file)}, std::move(type)};
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
    const StatusPanels loaded = panels("ID: 1", "V 3.58", "DCC", "/f/x.hex (16F684)", "Relaisdekoder 8 V3.58");
    EXPECT_EQ(l.session.statusTexts(), loaded);

    // a saved file, or the one a cancelled save proposed, is named without its PIC
    l.session.nameInStatus("/f/y.hex");
    const StatusPanels saved = panels("ID: 1", "V 3.58", "DCC", "/f/y.hex", "Relaisdekoder 8 V3.58");
    EXPECT_EQ(l.session.statusTexts(), saved);

    // a file that cannot be opened changes nothing, not even while its message is up
    l.prompter.statusAtMessage.clear();
    EXPECT_EQ(l.session.LoadFile("/nonexistent/folder/z.hex"), LoadOutcome::Unreadable);
    EXPECT_EQ(l.prompter.statusAtMessage, std::vector<StatusPanels>{saved});
    EXPECT_EQ(l.session.statusTexts(), saved);

    // The next load names its own file from the start; the type once it is identified, which
    // is before the questions about missing records; the format once they are answered.
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
              panels("", "", "", "/f/x.hex (16F684)", "Relaisdekoder 8"));
    // the rows' messages (blank EEPROM) come after the questions
    EXPECT_EQ(l.prompter.statusAtMessage.back(), panels("", "", "DCC", "/f/x.hex (16F684)", "Relaisdekoder 8"));
    EXPECT_EQ(l.session.statusTexts(), panels("", "", "DCC", "/f/x.hex (16F684)", "Relaisdekoder 8"));

    // a load that stops takes the format and the type away and keeps what was read
    ASSERT_EQ(l.load({rec(0x4000, "08000A0005000800"), kEnd}), LoadOutcome::Stopped);
    EXPECT_EQ(l.session.statusTexts(), panels("ID: 8", "V A.58", "", "/f/x.hex"));

    // a file no type claims says so
    FirmwareBuilder unknown;
    unknown.identifier(0x7E).signature(0x1905);
    unknown.version = "358";
    ASSERT_EQ(l.load(unknown.lines()), LoadOutcome::Done);
    EXPECT_EQ(l.session.statusTexts().type, "Typ nicht erkannt");
}

// The type as the title and the status bar name it: the catalogue's name with single blanks,
// and the file's version where the name gives none of its own.
TEST(StatusTexts, DecoderTypeText)
{
    struct Case {
        int identifier; // 0: no type
        std::optional<Version> version;
        const char* expected;
    } cases[] = {
        {0x208, Version{3, 58}, "Stellino ab V3.51"}, // "Stellino  ab V3.51": the name's own version
        {0x8, Version{3, 40}, "Stellino V3.40"},
        {0x167, Version{3, 40}, "Lumo - Ampel V3.40"},
        {0x67, Version{3, 30}, "Lumo - Ampel < V3.40"},
        {0xD0, Version{3, 58}, "Lumo - Signal 008 - 2x Ausfahr-Signal (V2) V3.58"}, // (V2) is no version
        {0x7DD2, Version{3, 80}, "Kornelchen V2 Servo-Dekoder ab V3.73"},
        {0x14B00, Version{0, 5}, "Forsta 16F18324 V0.05"},
        {0xD3, std::nullopt, "Kornel-4 Servo-Dekoder"}, // no ID record
        {0, Version{3, 58}, "Typ nicht erkannt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        FirmwareFacts facts;
        facts.version = c.version;
        const DecoderType* type = c.identifier ? FindDecoderType(c.identifier) : nullptr;
        ASSERT_TRUE(type || !c.identifier);
        EXPECT_EQ(DecoderTypeText(type, facts), c.expected);
    }
}
