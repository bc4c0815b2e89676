// Bytes a page changes on its own when it is shown: every one is listed with its reason, the
// image as the file stored it stays known, and comparisons see the stored bytes.

#include <gtest/gtest.h>

#include "FirmwareBuilder.h"
#include "HexRecords.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/firmware/HexWriter.h"
#include "core/tools/SettingsDiff.h"

using namespace hz;
using hz::test::FirmwareBuilder;
using hz::test::ScriptedPrompter;

namespace {

struct Loaded {
    ScriptedPrompter prompter;
    Session session{prompter};
    explicit Loaded(const std::string& file, bool setUpPages = true)
    {
        session.setUpPages = setUpPages;
        EXPECT_EQ(session.LoadFile(file), LoadOutcome::Done);
    }
    Loaded(const std::vector<std::string>& lines)
    {
        EXPECT_EQ(session.LoadLines(lines, "/f/x.hex"), LoadOutcome::Done);
    }
};

std::vector<std::string> lines(const Session& s)
{
    std::vector<std::string> out;
    for (const hz::LoadCorrection& c : s.loadCorrections)
        out.push_back(hz::CorrectionLine(c));
    return out;
}

// A four-output blink pattern firmware whose pattern table is not programmed at all: the page
// shows address 1 with its count and stretch brought into range.
std::vector<std::string> unprogrammedBlinkTable()
{
    FirmwareBuilder fw;
    fw.identifier(0x1).signature(hz::test::kMotW8);
    return fw.lines();
}

} // namespace

TEST(LoadCorrections, ARepairedByteIsListedAndTheStoredByteKept)
{
    // The traffic light firmware knows six fading codes; the fixture holds 0x44 in byte 0x20.
    Loaded l(hz::test::fixture("zusatz_684_ampel340.hex"));
    EXPECT_EQ(lines(l.session), std::vector<std::string>{"EEPROM 0x20: 0x44 → 0x11 (unbekannter Überblend-Code)"});
    EXPECT_FALSE(l.session.loadCorrections[0].pending);
    EXPECT_EQ(l.session.image.get_Hex_EE(0x20), "11");
    EXPECT_EQ(l.session.storedMemory().eepromText(0x20), "44");
    // told in one message, not as unsaved changes: the user did nothing
    EXPECT_NE(hz::CorrectionsMessage(l.session.loadCorrections).find("\nEEPROM 0x20: 0x44 → 0x11"), std::string::npos);
    EXPECT_FALSE(l.session.HasUnsavedChanges());

    // Loaded only to look at it, nothing is set up and nothing changes.
    Loaded look(hz::test::fixture("zusatz_684_ampel340.hex"), false);
    EXPECT_TRUE(look.session.loadCorrections.empty());
    EXPECT_EQ(look.session.image.get_Hex_EE(0x20), "44");
    EXPECT_TRUE(look.session.pages.shown().empty());
}

TEST(LoadCorrections, APendingWorkingCopyListsWhatAcceptWouldWriteAndChangesNothingYet)
{
    Loaded l(unprogrammedBlinkTable());
    const Session& s = l.session;
    ASSERT_TRUE(s.pages.hasPending());
    // count (entry 53, word 0x335) and stretch (entry 54, word 0x336) of pattern 1 read 0xFF
    EXPECT_EQ(lines(s), (std::vector<std::string>{
                            "Programmwort 0x0335 Low-Byte: 0xFF → 0x32 (Muster 1 Anzahl Schritte: Wert außerhalb des "
                            "gültigen Bereichs; wird erst mit \"übernehmen\" oder beim Speichern geschrieben)",
                            "Programmwort 0x0336 Low-Byte: 0xFF → 0xC8 (Muster 1 Stretch-Faktor: Wert außerhalb des "
                            "gültigen Bereichs; wird erst mit \"übernehmen\" oder beim Speichern geschrieben)"}));
    for (const auto& c : s.loadCorrections)
        EXPECT_TRUE(c.pending);
    // working out what accept would write left the image as read and the copy pending
    EXPECT_TRUE(s.image.memory() == s.storedMemory());
    // and accepting writes exactly the bytes listed
    l.session.pages.shown()[0]->accept();
    const auto written = FirmwareImage::changedBytes(s.storedMemory(), s.image.memory());
    ASSERT_EQ(written.size(), s.loadCorrections.size());
    for (std::size_t k = 0; k < written.size(); ++k) {
        EXPECT_EQ(written[k].index, s.loadCorrections[k].change.index);
        EXPECT_EQ(written[k].after, s.loadCorrections[k].change.after);
    }
}

TEST(LoadCorrections, AFileWithNothingToCorrectListsNothing)
{
    for (const char* file : {"zusatz_629_stellino361.hex", "classic_629_turnout.hex", "servo_kornel4.hex",
                             "classic_684_blinkmuster.hex"}) {
        Loaded l(hz::test::fixture(file));
        EXPECT_EQ(lines(l.session), std::vector<std::string>{}) << file;
        EXPECT_EQ(hz::CorrectionsMessage(l.session.loadCorrections), "") << file;
    }
}

TEST(LoadCorrections, DiffComparesCorrectedBytesAsTheFilesStoreThem)
{
    // The file and what a save wrote from it show the same page; only the stored byte tells
    // them apart, and the diff must say so instead of "no differences".
    Loaded original(hz::test::fixture("zusatz_684_ampel340.hex"));
    ASSERT_TRUE(original.session.PrepareSave());
    Loaded saved(builtLines(original.session.image));
    Loaded again(hz::test::fixture("zusatz_684_ampel340.hex"));
    const std::vector<tools::Difference> d = tools::DiffSessions(again.session, saved.session);
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].where, "stored");
    EXPECT_EQ(tools::DescribeDifference(d[0]), "In der Datei EEPROM 0x20 <unbekannter Überblend-Code>: 0x44 → 0x11");
    EXPECT_TRUE(tools::DiffSessions(again.session, original.session).empty());
}
