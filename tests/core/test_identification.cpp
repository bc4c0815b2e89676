#include <gtest/gtest.h>

#include "FirmwareBuilder.h"
#include "RecordingView.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/catalogue/CodeTables.h"
#include "core/pages/zusatz/ZusatzPage.h"

#include <stdexcept>

using namespace hz;
using namespace hz::test;

namespace {

// Format "ohne": not one control of any row shows.
bool allRowsHidden(const pages::AddressPage& rows)
{
    for (const pages::Control& c : rows.controls())
        if (c.visible)
            return false;
    return true;
}

struct Loaded {
    ScriptedPrompter prompter;
    Session session{prompter};
    RecordingView view;
    Loaded() { session.setView(&view); }
    LoadOutcome load(const FirmwareBuilder& fw) { return session.LoadLines(fw.lines(), "/f/x.hex"); }
};

FirmwareBuilder withWords(std::map<int, int> words)
{
    FirmwareBuilder fw;
    fw.words = std::move(words);
    return fw;
}

} // namespace

TEST(Identification, IdentifierFromTheFirstProgramWords)
{
    struct Case {
        std::map<int, int> words;
        int identifier;
        int bytes[3];
    } cases[] = {
        {{{0, 0x3008}, {1, 0x3002}, {2, 0x3500}}, 0x208, {8, 2, 0}},          // word 2 is no movlw
        {{{0, 0x3001}, {1, 0x3001}, {2, 0x3000}}, 0x1, {1, 1, 0}},            // 0x101 is applied as 0x1
        {{{0, 0x3000}, {1, 0x3041}, {2, 0x301B}}, 0x1B4100, {0, 0x41, 0x1B}}, // second identifier kept
        {{{0, 0x2805}, {137, 0x302F}}, 0x30FF, {0, 0, 0}},                    // turntable fallbacks
        {{{0, 0x2805}, {137, 0x3017}}, 0x17E800, {0, 0, 0}},
        {{{0, 0x2805}, {137, 0x3018}}, 0, {0, 0, 0}},
        {{{0, 0x3000}, {1, 0x3000}, {2, 0x3000}, {137, 0x302F}}, 0x30FF, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        Loaded l;
        l.load(withWords(c.words));
        const auto& id = l.session.ident;
        EXPECT_EQ(id.Identifier, c.identifier);
        EXPECT_EQ(id.IdByte0, c.bytes[0]);
        EXPECT_EQ(id.IdByte1, c.bytes[1]);
        EXPECT_EQ(id.IdByte2, c.bytes[2]);
    }
}

TEST(Identification, AddressFormatFromTheSignatures)
{
    struct Case {
        int w8, w35;
        const char* format;
        bool noInput;
    } cases[] = {
        {kMotW8, -1, "Mot", false},          {kDccW8, -1, "DCC", false},          {kNoInputW8, -1, "ohne", true},
        {kPrologueW8, kMotW8, "Mot", false}, {kPrologueW8, kDccW8, "DCC", false}, {kPrologueW8, 0x1234, "ohne", false},
        {kDccW8Late, -1, "DCC", false},      {0x3FFF, kMotW8, "ohne", false}, // word 35 alone says nothing
    };
    for (const auto& c : cases) {
        Loaded l;
        FirmwareBuilder fw;
        fw.identifier(0x8).signature(c.w8, c.w35);
        l.prompter.answers = {};
        l.load(fw);
        EXPECT_EQ(l.session.ident.formatText(), c.format) << std::hex << c.w8;
        EXPECT_EQ(l.session.statusTexts().text[2], c.format);
        EXPECT_EQ(l.session.ident.NoAddressInput, c.noInput);
    }
}

TEST(Identification, AppliesTheCatalogueEntry)
{
    Loaded l;
    FirmwareBuilder fw;
    fw.identifier(0x69).signature(kDccW8);
    for (int row = 1; row <= 9; ++row)
        fw.code(row, DccAccessoryCodes(row * 10));
    ASSERT_EQ(l.load(fw), LoadOutcome::Done);
    EXPECT_TRUE(l.prompter.shown.empty());
    const auto& id = l.session.ident;
    EXPECT_EQ(id.DecoderName, "Relaisdekoder 8");
    EXPECT_EQ(l.session.image.PicModel, 684);
    EXPECT_TRUE(id.RedGreen);
    EXPECT_EQ(id.Captions[9], "All");
    EXPECT_TRUE(id.Captions[10].empty());
    EXPECT_EQ(id.MaxAddress, 2044);
    EXPECT_EQ(id.MaxFunction, 12);
    EXPECT_EQ(l.session.statusTexts().text[3], "/f/x.hex (16F684)");
    EXPECT_EQ(l.session.image.DefaultConfig, (std::array<std::string, 4>{"CC33", "", "", ""}));
    EXPECT_EQ(id.DocPage, "typen/0x69.html"); // no manual folder known: relative to the manual
    // the window was reset, the page shown, the header named
    const std::vector<std::string> expected{"hidePages", "resetLayout", "showPage 1", "fitHeader Relaisdekoder 8"};
    EXPECT_EQ(l.view.calls, expected);
    // the rows laid out in one column below the header with the gap after row 8, the nine
    // captioned rows shown and coloured by their state
    const pages::AddressPage& rows = l.session.addresses;
    auto top = [&](int row) { return rows.find(pages::AddressPage::addressName(row))->geometry->top; };
    EXPECT_TRUE(rows.headerShown());
    EXPECT_EQ(top(8) - top(7), 25);
    EXPECT_EQ(top(9) - top(8), 35);
    EXPECT_TRUE(rows.find("lbl_adr_9")->visible);
    EXPECT_FALSE(rows.find("lbl_adr_10")->visible);
    EXPECT_TRUE(rows.find("edt_adr_1")->background == pages::colours::Red ||
                rows.find("edt_adr_1")->background == pages::colours::Green);
}

TEST(Identification, RangesByFormatAndRowMode)
{
    struct Case {
        int identifier, w8;
        int maxAddress, maxFunction;
    } cases[] = {
        {0x8, kMotW8, 320, 4},       // red/green, Mot
        {0x8, kDccW8, 2044, 12},     // red/green, DCC
        {0x3D00, kDccW8, 16128, 12}, // function decoder, DCC
        {0x3D00, kMotW8, 320, 4},
        // a 16F18324 type sets DCC, but a Mot signature wins
        {0x14B00, kMotW8, 320, 4},
    };
    for (const auto& c : cases) {
        Loaded l;
        FirmwareBuilder fw;
        fw.identifier(c.identifier).signature(c.w8);
        fw.f18324 = c.identifier == 0x14B00;
        l.load(fw);
        EXPECT_EQ(l.session.ident.MaxAddress, c.maxAddress) << std::hex << c.identifier;
        EXPECT_EQ(l.session.ident.MaxFunction, c.maxFunction) << std::hex << c.identifier;
    }
}

TEST(Identification, RangesKeepTheirValuesForAFileWithoutFormat)
{
    Loaded l;
    FirmwareBuilder fw;
    fw.identifier(0x8).signature(kMotW8);
    l.load(fw);
    FirmwareBuilder none;
    none.identifier(0x14B00).signature(0x3FFF);
    none.f18324 = true;
    l.load(none);
    EXPECT_EQ(l.session.ident.formatText(), "DCC"); // the 16F18324 entry sets DCC
    EXPECT_EQ(l.session.ident.MaxAddress, 16128);
    Loaded l2;
    l2.load(fw);
    FirmwareBuilder unformatted;
    unformatted.identifier(0x9).signature(0x3FFF);
    l2.prompter.shown.clear();
    l2.load(unformatted);
    EXPECT_EQ(l2.session.statusTexts().text[2], "ohne");
    EXPECT_EQ(l2.session.ident.MaxAddress, 320);
    EXPECT_TRUE(allRowsHidden(l2.session.addresses));
}

TEST(Identification, NoAddressInputClearsRedGreen)
{
    Loaded l;
    FirmwareBuilder fw;
    fw.identifier(0x8).signature(kNoInputW8);
    fw.eeprom[0x70] = "12";
    ASSERT_EQ(l.load(fw), LoadOutcome::Done);
    EXPECT_FALSE(l.session.ident.RedGreen);
    EXPECT_TRUE(allRowsHidden(l.session.addresses));
    EXPECT_EQ(l.prompter.texts(), std::vector<std::string>{}); // no decoding, so no undecodable rows
}

TEST(Identification, PlacementChecks)
{
    struct Case {
        int identifier;
        bool f18324;
        std::vector<std::string> messages;
    } cases[] = {
        {0x8, false, {}},
        {0x14B00, true, {}},
        // a classic type whose records lie where the 16F18324 keeps them
        {0x69,
         true,
         {"Das HEX-File wurde dem 12f629/16f630/16f684/16f688 zugeordnet, die ID liegt aber nicht bei 0x2000 (0x8000)",
          "Das HEX-File wurde dem 12f629/16f630/16f684/16f688 zugeordnet, CONFIG liegt aber nicht bei 0x2007 (0x8007)",
          "Das HEX-File wurde dem 12f629/16f630/16f684/16f688 zugeordnet, EEPROM liegt aber nicht bei 0x2100 "
          "(0xf000)"}},
        {0x15000,
         false,
         {"Das HEX-File wurde dem 16F18324 zugeordnet, die ID liegt aber nicht bei 0x8000 (0x2000)",
          "Das HEX-File wurde dem 16F18324 zugeordnet, CONFIG liegt aber nicht bei 0x8007 (0x2007)",
          "Das HEX-File wurde dem 16F18324 zugeordnet, EEPROM liegt aber nicht bei 0xF000 (0x2100)"}},
        // the turntables (16F676) are not checked
        {0x17E800, true, {}},
    };
    for (const auto& c : cases) {
        Loaded l;
        FirmwareBuilder fw;
        fw.f18324 = c.f18324;
        if (c.identifier == 0x17E800)
            fw.words[137] = 0x3017;
        else
            fw.identifier(c.identifier);
        fw.signature(kMotW8);
        fw.eeprom[0x70] = "12"; // some EEPROM, so that its location is known
        l.load(fw);
        std::vector<std::string> errors;
        for (const auto& m : l.prompter.shown)
            if (m.kind == MsgKind::Error) {
                errors.push_back(m.text);
                EXPECT_EQ(m.buttons, Buttons::Ok);
            }
        EXPECT_EQ(errors, c.messages) << std::hex << c.identifier;
    }
}

TEST(Identification, NotRecognised)
{
    struct Case {
        const char* version;
        bool withId;
        std::string message;
    } cases[] = {
        {"325", true,
         "Das HEX-File konnte leider nicht erkannt werden, da Version vor V3.26\n\nVersion des HEX-File: 3.25 "},
        {"326", true, "Das HEX-File konnte leider nicht erkannt werden: Identifier 1026 (2/4/0)"},
        {"000", true, "Das HEX-File konnte leider nicht erkannt werden: Identifier 1026 (2/4/0)"},
    };
    for (const auto& c : cases) {
        Loaded l;
        FirmwareBuilder fw;
        fw.identifier(0x402).signature(kMotW8); // a version of 0x2 that does not exist
        fw.version = c.version;
        l.prompter.answers = {Answer::Ignore};
        l.load(fw);
        ASSERT_GE(l.prompter.shown.size(), 1u);
        EXPECT_EQ(l.prompter.shown[0].text, c.message);
        EXPECT_EQ(l.prompter.shown[0].kind, MsgKind::Error);
        EXPECT_EQ(l.session.ident.DocPage, kManualIndex);
        EXPECT_EQ(l.session.image.PicModel, 0);
    }
}

TEST(Identification, UnknownFileKeepsThePreviousNameButNotItsPage)
{
    Loaded l;
    FirmwareBuilder known;
    known.identifier(0x65).signature(kMotW8);
    l.load(known);
    EXPECT_EQ(l.session.ident.DecoderName, "Meldino");
    FirmwareBuilder unknown;
    unknown.identifier(0x402).signature(kMotW8);
    l.view.calls.clear();
    l.prompter.answers = {Answer::Ok, Answer::Ignore}; // not recognised; go on without a PIC
    EXPECT_EQ(l.load(unknown), LoadOutcome::Done);
    EXPECT_TRUE(l.view.called("fitHeader Meldino"));
    EXPECT_EQ(l.session.ident.DecoderName, "Meldino");
    EXPECT_EQ(l.session.ident.DocPage, kManualIndex);
    EXPECT_EQ(l.session.ident.Type, nullptr);
    // the rows of the earlier file are gone: no caption, no row shown
    for (int r = 0; r < 48; ++r)
        EXPECT_FALSE(l.session.ident.hasCaption(r));
}

TEST(Identification, ALoadThatStopsLeavesNoFileShown)
{
    // Cancel at a question and a refused line both end with nothing of the earlier file
    // shown: no name, rows, captions, page or save - only what the user must load anew.
    struct Case {
        const char* what;
        bool badLine;
    } cases[] = {{"cancel at the PIC question", false}, {"refused line", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Loaded l;
        FirmwareBuilder known;
        known.identifier(0x65).signature(kMotW8);
        ASSERT_EQ(l.load(known), LoadOutcome::Done);
        ASSERT_TRUE(l.session.SaveEnabled);
        FirmwareBuilder next;
        next.identifier(0x402).signature(kMotW8);
        std::vector<std::string> lines = next.lines();
        if (c.badLine)
            lines.insert(lines.begin() + 3, ":020000020000FC"); // record type 02: E203
        else
            l.prompter.answers = {Answer::Ok, Answer::Cancel};
        l.view.calls.clear();
        EXPECT_EQ(l.session.LoadLines(lines, "next.hex"), LoadOutcome::Stopped);
        EXPECT_FALSE(l.session.SaveEnabled);
        EXPECT_EQ(l.session.ident.DecoderName, "Hex Zwirbel");
        EXPECT_TRUE(l.view.called("fitHeader Hex Zwirbel"));
        EXPECT_EQ(l.session.ident.Type, nullptr);
        EXPECT_TRUE(l.session.pages.shown().empty());
        for (int r = 0; r < 48; ++r) {
            EXPECT_FALSE(l.session.ident.hasCaption(r)) << r;
            EXPECT_TRUE(l.session.addresses.addressText(r).empty()) << r;
        }
        EXPECT_FALSE(l.session.HasUnsavedChanges());
        // a save says what to do instead and builds nothing
        l.prompter.clear();
        EXPECT_FALSE(l.session.PrepareSave());
        EXPECT_EQ(l.prompter.texts(), std::vector<std::string>{Session::kNoCompleteFile});
    }
}

// A page whose set-up fails part-way (here its text measure throws, as a broken font could)
// ends the load as a stopped one: the message names the file and the reason, and nothing of
// either file is shown, savable, unsaved or to be undone.
TEST(Identification, APageSetUpThatFailsEndsTheLoadAsAStoppedOne)
{
    Loaded l;
    l.session.keepHistory(); // as the window does
    ASSERT_EQ(l.session.LoadFile(fixture("classic_629_turnout.hex")), LoadOutcome::Done);
    std::string error;
    ASSERT_TRUE(l.session.addresses.TypeRow(1, "33", nullptr, nullptr, error)) << error;
    l.session.noteEdit();
    ASSERT_TRUE(l.session.canUndo());
    ASSERT_TRUE(l.session.HasUnsavedChanges());

    l.session.pages.page<pages::ZusatzPage>().TextWidth = [](const std::string&) -> int {
        throw std::runtime_error("Schrift nicht gefunden");
    };
    l.prompter.clear();
    const std::string file = fixture("zusatz_629_stellino361.hex");
    EXPECT_EQ(l.session.LoadFile(file), LoadOutcome::Stopped);
    EXPECT_EQ(l.prompter.texts(), std::vector<std::string>{"Die Datei \"" + file +
                                                           "\" konnte nicht angezeigt werden: Schrift nicht "
                                                           "gefunden\nSie wurde nicht geladen."});
    EXPECT_FALSE(l.session.SaveEnabled);
    EXPECT_EQ(l.session.ident.DecoderName, "Hex Zwirbel");
    EXPECT_TRUE(l.session.pages.shown().empty());
    for (int r = 0; r < 48; ++r) {
        EXPECT_FALSE(l.session.ident.hasCaption(r)) << r;
        EXPECT_TRUE(l.session.addresses.addressText(r).empty()) << r;
    }
    EXPECT_FALSE(l.session.HasUnsavedChanges());
    EXPECT_FALSE(l.session.canUndo());
    EXPECT_FALSE(l.session.canRedo());
    EXPECT_FALSE(l.session.PrepareSave());

    // The next load that goes through shows its file as usual.
    l.session.pages.page<pages::ZusatzPage>().TextWidth = nullptr;
    EXPECT_EQ(l.session.LoadFile(file), LoadOutcome::Done);
    EXPECT_TRUE(l.session.SaveEnabled);
    EXPECT_FALSE(l.session.pages.shown().empty());
}

TEST(Identification, RedoLayoutRepeatsNoMessageAndNoSuffix)
{
    Loaded l;
    FirmwareBuilder fw;
    fw.identifier(0x15000).signature(kDccW8);
    fw.f18324 = true;
    ASSERT_EQ(l.load(fw), LoadOutcome::Done);
    const std::string panel = l.session.statusTexts().text[3];
    const auto shown = l.prompter.shown.size();
    l.view.calls.clear();
    l.session.identification.RedoLayout(l.view);
    EXPECT_EQ(l.session.statusTexts().text[3], panel);
    EXPECT_EQ(panel, "/f/x.hex (16F18324)");
    EXPECT_EQ(l.prompter.shown.size(), shown);
    EXPECT_EQ(l.view.calls, (std::vector<std::string>{"resetLayout", "layoutRows 48 0", "showPage 6",
                                                      "fitHeader Knipso 16F18324", "showRows"}));
}
