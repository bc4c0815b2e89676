#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <unistd.h>

#include "FirmwareBuilder.h"
#include "HexRecords.h"
#include "RecordingView.h"
#include "ScriptedPrompter.h"
#include "core/Session.h"
#include "core/catalogue/CodeTables.h"

using namespace hz;
using namespace hz::test;
using hz::pages::AddressPage;
using hz::pages::LayoutAddressRows;
using hz::pages::RowLayout;
using hz::pages::RowPlace;

namespace {

// A row's field as a test types into it and reads it: typing goes through the page's door
// for typed text, as the window's edits and `--do` do.
struct Field {
    AddressPage& page;
    std::string name;
    Field& operator=(const std::string& text)
    {
        page.userText(name, text);
        return *this;
    }
    std::string text() const { return page.find(name)->text; }
    friend bool operator==(const Field& f, const std::string& s) { return f.text() == s; }
    friend void PrintTo(const Field& f, std::ostream* os) { *os << '"' << f.text() << '"'; }
};

constexpr int kStellino = 0x8;     // red/green rows "Weiche", "Licht"
constexpr int kSchalten = 0x3D00;  // function-decoder rows "Ausgang / Out 1..4"
constexpr int kDkEntry = 0xEA;     // 16 red/green rows
constexpr int kTurntable = 0x30FF; // rows 4..31

struct Loaded {
    ScriptedPrompter prompter;
    Session session{prompter};
    RecordingView view;
    FirmwareBuilder fw;

    explicit Loaded(int identifier, int w8 = kMotW8)
    {
        session.setView(&view);
        if (identifier == kTurntable)
            fw.words[137] = 0x302F;
        else
            fw.identifier(identifier);
        fw.signature(w8);
    }
    LoadOutcome load() { return session.LoadLines(fw.lines(), "/f/x.hex"); }
    std::string ee(int i) { return session.image.get_Hex_EE(i); }
    std::string slotBytes(int row)
    {
        const int s = AddressPage::slotOf(row);
        return ee(s) + ee(s + 16) + ee(s + 32);
    }
    Field address(int row) { return {session.addresses, AddressPage::addressName(row)}; }
    Field function(int row) { return {session.addresses, AddressPage::functionName(row)}; }
    int state(int row) { return session.addresses.RowState[static_cast<std::size_t>(row)]; }
    // "focus 2 address": the field the page asked the focus for, as the window would take it.
    std::string focus() const
    {
        int row = -1;
        bool function = false;
        if (!AddressPage::rowOfField(session.addresses.focusRequest, row, function))
            return {};
        return "focus " + std::to_string(row) + (function ? " function" : " address");
    }
    std::optional<pages::Colour> colour(int row) const
    {
        return session.addresses.find(AddressPage::addressName(row))->background;
    }
};

} // namespace

TEST(AddressPage, SlotsOfTheRows)
{
    const std::pair<int, int> cases[] = {{0, 0},
                                         {1, 1},
                                         {15, 15},
                                         {16, 65},
                                         {17, 66},
                                         {30, 79},
                                         // rows beyond 30 have no storage of their own
                                         {31, -1},
                                         {46, -1},
                                         {47, -1},
                                         {-1, -1}};
    for (const auto& [row, slot] : cases)
        EXPECT_EQ(AddressPage::slotOf(row), slot) << row;
}

TEST(AddressPage, DecodesEveryRowModeAndFormat)
{
    struct Case {
        int identifier, w8;
        std::string bytes; // the three slot bytes of row 1
        std::string address, function;
        int state;
    } cases[] = {
        {kStellino, kMotW8, "0300C3", "1", "", 1},
        {kStellino, kMotW8, "030003", "1", "", 0},
        {kStellino, kMotW8, "0000C3", "317", "", 1}, // decoder 80 is coded with all trits zero
        {kStellino, kMotW8, "FFFFFF", "0", "", 1},
        {kStellino, kMotW8, "0000FF", "320", "", 1}, // the highest address
        {kStellino, kDccW8, "79F005", "1", "", 0},
        {kStellino, kDccW8, "78F205", "1", "", 1},
        {kStellino, kDccW8, "311CFD", "2044", "", 0},
        {kStellino, kDccW8, "000000", "0", "", 0}, // how the page stores DCC address 0
        {kSchalten, kDccW8, "840300", "3", "3", 0},
        {kSchalten, kDccW8, "A810C4", "1040", "12", 0},
        {kSchalten, kMotW8, "010055", "81", "4", 0},
        {kSchalten, kMotW8, "030051", "1", "1", 0},
    };
    for (const auto& c : cases) {
        Loaded l(c.identifier, c.w8);
        l.fw.code(1, c.bytes);
        ASSERT_EQ(l.load(), LoadOutcome::Done) << c.bytes;
        EXPECT_EQ(l.address(1), c.address) << c.bytes;
        if (!c.function.empty()) {
            EXPECT_EQ(l.function(1), c.function) << c.bytes;
        }
        if (l.session.ident.RedGreen) {
            EXPECT_EQ(l.state(1), c.state) << c.bytes;
        }
    }
}

TEST(AddressPage, UndecodableRowIsReportedEmptiedAndFocused)
{
    Loaded l(kStellino, kDccW8);
    l.fw.code(1, "79F005");
    l.fw.code(2, "123456");
    ASSERT_EQ(l.load(), LoadOutcome::Done);
    EXPECT_EQ(l.prompter.texts(), std::vector<std::string>{"Ungültige Adresse für <Licht> mit 0x123456"});
    EXPECT_EQ(l.prompter.shown[0].buttons, Buttons::Cancel);
    EXPECT_EQ(l.prompter.shown[0].kind, MsgKind::Warning);
    EXPECT_EQ(l.address(2), "");
    EXPECT_EQ(l.address(1), "1");
    EXPECT_EQ(l.focus(), "focus 2 address");
    {
        // EEPROM bytes from a damaged line are quoted with their control characters escaped
        Loaded d(kStellino, kDccW8);
        d.fw.code(1, "79F005");
        d.fw.code(2, "\x1B"
                     "23456");
        ASSERT_EQ(d.load(), LoadOutcome::Done);
        ASSERT_EQ(d.prompter.texts().size(), 2u);
        EXPECT_EQ(d.prompter.texts()[1], "Ungültige Adresse für <Licht> mit 0x\\x1B23456");
    }
    // the progress follows the rows and ends at 0
    EXPECT_EQ(l.view.progress.front(), -1);
    EXPECT_EQ(l.view.progress.back(), 0);
    // the next save stops at that row until an address is typed in
    EXPECT_FALSE(l.session.PrepareSave());
    EXPECT_EQ(l.prompter.texts().back(), "Ungültige Eingabe für <Licht> ");
}

// Each row mode and format: what is typed in is written into exactly the row's three slot
// bytes, and loads back as typed.
TEST(AddressPage, SaveWritesTheCodesAndLoadsBackAsTyped)
{
    struct Case {
        int identifier, w8, row;
        const char* address;
        const char* function;
        int state;
        std::string bytes;
    } cases[] = {
        {kStellino, kMotW8, 1, "1", "", 1, "0300C3"},
        {kStellino, kMotW8, 2, "1", "", 0, "030003"},
        {kStellino, kMotW8, 1, "0", "", 1, "FFFFFF"},
        {kStellino, kDccW8, 1, "1", "", 0, "79F005"},
        {kStellino, kDccW8, 1, "1", "", 1, "78F205"},
        {kStellino, kDccW8, 2, "0", "", 1, "000000"}, // no packet for 0
        {kSchalten, kDccW8, 1, "100", "1", 0, "816400"},
        {kSchalten, kDccW8, 2, "200", "1", 0, "81C8C0"}, // low byte above 127: long form
        {kSchalten, kDccW8, 3, "1040", "12", 0, "A810C4"},
        {kSchalten, kMotW8, 4, "81", "4", 0, "010055"},
        {kDkEntry, kMotW8, 16, "5", "", 1, "0200C3"}, // row 16 lives in bytes 0x41, 0x51, 0x61
    };
    for (const auto& c : cases) {
        Loaded l(c.identifier, c.w8);
        ASSERT_EQ(l.load(), LoadOutcome::Done);
        // start from decodable rows everywhere
        for (int r = 1; r < 48; ++r)
            if (l.session.ident.hasCaption(r)) {
                l.address(r) = "1";
                l.function(r) = "1";
            }
        l.address(c.row) = c.address;
        l.function(c.row) = c.function;
        l.session.addresses.RowState[static_cast<std::size_t>(c.row)] = c.state;
        const FirmwareImage before = l.session.image;
        l.prompter.shown.clear();
        ASSERT_TRUE(l.session.PrepareSave()) << (l.prompter.shown.empty() ? "" : l.prompter.shown[0].text);
        EXPECT_EQ(l.slotBytes(c.row), c.bytes) << c.address;
        if (c.row == 16) {
            EXPECT_EQ(l.ee(0x41), "02");
            EXPECT_EQ(l.ee(0x51), "00");
            EXPECT_EQ(l.ee(0x61), "C3");
        }
        // nothing outside the captioned rows' slots changed
        for (int i = 0; i < 256; ++i) {
            bool inSlot = false;
            for (int r = 0; r < 48; ++r) {
                const int s = AddressPage::slotOf(r);
                inSlot = inSlot || (l.session.ident.hasCaption(r) && s >= 0 && (i == s || i == s + 16 || i == s + 32));
            }
            if (!inSlot) {
                EXPECT_EQ(l.ee(i), before.get_Hex_EE(i)) << i;
            }
        }
        // load the written lines again
        Loaded back(c.identifier, c.w8);
        ASSERT_EQ(back.session.LoadLines(builtLinesOf(l.session.image), "/f/y.hex"), LoadOutcome::Done);
        EXPECT_EQ(back.address(c.row), c.address);
        if (*c.function) {
            EXPECT_EQ(back.function(c.row), c.function);
        }
        if (back.session.ident.RedGreen && std::string(c.address) != "0") {
            EXPECT_EQ(back.state(c.row), c.state);
        }
    }
}

TEST(AddressPage, ValidationMessagesInTheirOrderWithFocus)
{
    struct Case {
        int identifier, w8;
        std::vector<std::pair<std::string, std::string>> rows; // address, function for rows 1..
        std::string message;
        std::string focus;
    } cases[] = {
        {kStellino, kMotW8, {{"12a", ""}, {"1", ""}}, "Ungültige Eingabe für <Weiche> ", "focus 1 address"},
        {kStellino, kMotW8, {{"1", ""}, {"321", ""}}, "Adresse für <Licht> ist zu gross", "focus 2 address"},
        {kStellino, kMotW8, {{"-1", ""}, {"1", ""}}, "Adresse für <Weiche> ist zu klein", "focus 1 address"},
        {kStellino, kDccW8, {{"2045", ""}, {"1", ""}}, "Adresse für <Weiche> ist zu gross", "focus 1 address"},
        {kStellino, kMotW8, {{"", ""}, {"1", ""}}, "Ungültige Eingabe für <Weiche> ", "focus 1 address"},
        // function numbers are checked before any address
        {kSchalten,
         kDccW8,
         {{"x", "1"}, {"1", "1"}, {"1", "1"}, {"1", "x"}},
         "Ungültige Eingabe Funktion von <Ausgang / Out 4> ",
         "focus 4 function"},
        {kSchalten,
         kDccW8,
         {{"1", "1"}, {"1", "13"}, {"1", "1"}, {"1", "1"}},
         "Funktions-Nummer für <Ausgang / Out 2> ist zu gross",
         "focus 2 function"},
        {kSchalten,
         kMotW8,
         {{"1", "-1"}, {"1", "1"}, {"1", "1"}, {"1", "1"}},
         "Funktions-Nummer für <Ausgang / Out 1> ist zu klein",
         "focus 1 function"},
        {kSchalten,
         kMotW8,
         {{"1", "5"}, {"1", "1"}, {"1", "1"}, {"1", "1"}},
         "Funktions-Nummer für <Ausgang / Out 1> ist zu gross",
         "focus 1 function"},
        {kSchalten,
         kDccW8,
         {{"16129", "1"}, {"1", "1"}, {"1", "1"}, {"1", "1"}},
         "Adresse für <Ausgang / Out 1> ist zu gross",
         "focus 1 address"},
        // Motorola function decoders have codes for 1..255 only; the page never stores a
        // shorter code than the slot holds
        {kSchalten,
         kMotW8,
         {{"1", "1"}, {"256", "1"}, {"1", "1"}, {"1", "1"}},
         "Adresse für <Ausgang / Out 2> ist im Mot-Format nicht möglich: Funktionsdekoder haben dort nur die Adressen "
         "1 bis 255",
         "focus 2 address"},
        {kSchalten,
         kMotW8,
         {{"0", "1"}, {"1", "1"}, {"1", "1"}, {"1", "1"}},
         "Adresse für <Ausgang / Out 1> ist im Mot-Format nicht möglich: Funktionsdekoder haben dort nur die Adressen "
         "1 bis 255",
         "focus 1 address"},
    };
    for (const auto& c : cases) {
        Loaded l(c.identifier, c.w8);
        ASSERT_EQ(l.load(), LoadOutcome::Done);
        for (std::size_t k = 0; k < c.rows.size(); ++k) {
            l.address(static_cast<int>(k + 1)) = c.rows[k].first;
            l.function(static_cast<int>(k + 1)) = c.rows[k].second;
        }
        const FirmwareImage before = l.session.image;
        l.prompter.shown.clear();
        l.session.addresses.focusRequest.clear();
        EXPECT_FALSE(l.session.PrepareSave()) << c.message;
        ASSERT_EQ(l.prompter.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(l.prompter.shown[0].buttons, Buttons::Cancel);
        EXPECT_EQ(l.focus(), c.focus);
        for (int i = 0; i < 256; ++i)
            EXPECT_EQ(l.ee(i), before.get_Hex_EE(i));
        EXPECT_EQ(l.session.image.LineCount, before.LineCount); // no lines were built
    }
}

TEST(AddressPage, RedGreenToggle)
{
    Loaded l(kStellino, kMotW8);
    l.fw.code(1, "0300C3"); // slots 1 and 2 are rows 1 and 2
    l.fw.code(2, "0300C3");
    ASSERT_EQ(l.load(), LoadOutcome::Done);
    EXPECT_EQ(l.state(1), 1);
    EXPECT_EQ(l.colour(1), pages::colours::Green);
    l.session.addresses.userClick("btn_RG_1");
    EXPECT_EQ(l.state(1), 0);
    EXPECT_EQ(l.colour(1), pages::colours::Red);
    EXPECT_EQ(l.slotBytes(1), "0300C3"); // the image waits for the save
    ASSERT_TRUE(l.session.PrepareSave());
    EXPECT_EQ(l.slotBytes(1), "030003");
    l.session.addresses.RowState[5] = 7; // anything but red turns red... and red turns green
    l.session.addresses.userClick("btn_RG_5");
    EXPECT_EQ(l.state(5), 0);
}

TEST(AddressPage, TurntablePositionWithoutStorageIsNeverWritten)
{
    Loaded l(kTurntable, kMotW8);
    l.fw.code(AddressPage::slotOf(16), "0300C3"); // Position9 in row 16
    ASSERT_EQ(l.load(), LoadOutcome::Done);
    EXPECT_TRUE(l.session.ident.hasCaption(31));
    EXPECT_EQ(l.address(16), "1");
    EXPECT_EQ(l.address(31), "");
    EXPECT_TRUE(l.prompter.shown.empty()); // no message for the row without storage
    l.address(31) = "7";
    l.address(16) = "2";
    ASSERT_TRUE(l.session.PrepareSave());
    EXPECT_EQ(l.slotBytes(16), MotAccessoryCodes(2)); // row 31 did not overwrite row 16
}

TEST(AddressPage, EarlyNeonFirmwareRowsAreFunctionDecoderRows)
{
    Loaded l(0x4000, kDccW8);
    l.fw.code(1, "840300");
    l.fw.code(2, "810500");
    ASSERT_EQ(l.load(), LoadOutcome::Done);
    EXPECT_TRUE(l.prompter.shown.empty());
    EXPECT_EQ(l.address(1), "3");
    EXPECT_EQ(l.function(1), "3");
    EXPECT_EQ(l.address(2), "5");
    l.address(2) = "6";
    ASSERT_TRUE(l.session.PrepareSave());
    EXPECT_EQ(l.slotBytes(2), "810600");
}

TEST(AddressPage, NoAddressInputSkipsTheRowsAtSave)
{
    Loaded l(kStellino, kNoInputW8);
    l.fw.eeprom[0x70] = "00";
    ASSERT_EQ(l.load(), LoadOutcome::Done);
    l.address(1) = "junk";
    EXPECT_TRUE(l.session.PrepareSave());
}

// What each row's tool tip promises is what a save accepts there.
TEST(AddressPage, HintsStateWhatASaveAccepts)
{
    struct Case {
        int identifier, w8, row;
        std::string address, function;
    } cases[] = {
        {kStellino, kMotW8, 1,
         "gültiger Adressbereich: 1 bis 320\n'0' für unbenutzt (keine Reaktion auf irgendeinen Befehl)",
         "gültiger Bereich für die Funktions-Nummer: 1 bis 4"},
        {kStellino, kDccW8, 1,
         "gültiger Adressbereich: 1 bis 2044\n'0' für unbenutzt (keine Reaktion auf irgendeinen Befehl)",
         "gültiger Bereich für die Funktions-Nummer: 1 bis 12"},
        // Motorola function decoders: codes for 1..255 only, and no "unused" code
        {kSchalten, kMotW8, 1,
         "gültiger Adressbereich: 1 bis 255\n(Funktionsdekoder haben im Mot-Format nur diese Adressen)",
         "gültiger Bereich für die Funktions-Nummer: 1 bis 4"},
        {kSchalten, kDccW8, 1,
         "gültiger Adressbereich: 1 bis 16128\n'0' für unbenutzt (keine Reaktion auf irgendeinen Befehl)",
         "gültiger Bereich für die Funktions-Nummer: 1 bis 12"},
        // the turntable position the firmware keeps no address for
        {kTurntable, kMotW8, 31,
         "Für diese Position hält die Firmware keine Adresse bereit:\nsie wird weder gelesen noch gespeichert.", ""},
        {kStellino, kMotW8, 40, "", ""}, // no caption, no hint
    };
    for (const auto& c : cases) {
        Loaded l(c.identifier, c.w8);
        ASSERT_EQ(l.load(), LoadOutcome::Done);
        EXPECT_EQ(l.session.addresses.AddressHint(c.row), c.address) << std::hex << c.identifier << " row " << c.row;
        EXPECT_EQ(l.session.addresses.FunctionHint(c.row), c.function) << std::hex << c.identifier;
    }
    // and the Motorola function-decoder row really refuses 0 and 256 at save, accepts 1 and 255
    for (const auto& [typed, accepted] :
         std::vector<std::pair<std::string, bool>>{{"0", false}, {"256", false}, {"1", true}, {"255", true}}) {
        Loaded l(kSchalten, kMotW8);
        ASSERT_EQ(l.load(), LoadOutcome::Done);
        for (int r = 1; r <= 4; ++r) {
            l.address(r) = typed;
            l.function(r) = "1";
        }
        EXPECT_EQ(l.session.PrepareSave(), accepted) << typed;
    }
}

// A change is measured against the image and rows as last loaded or saved, not by flags.
TEST(Session, UnsavedChangesAreTheDifferenceToTheLastLoadOrSave)
{
    Loaded l(kStellino, kMotW8);
    l.fw.code(1, "0300C3");
    ASSERT_EQ(l.load(), LoadOutcome::Done);
    EXPECT_FALSE(l.session.HasUnsavedChanges());
    l.prompter.clear();
    EXPECT_TRUE(l.session.ConfirmDiscardChanges()); // nothing to lose: no question
    EXPECT_TRUE(l.prompter.shown.empty());

    // an EEPROM byte written by a page, and written back: no change
    const std::string before = l.ee(0x70);
    l.session.image.set_Hex_EE(0x70, "5A");
    EXPECT_TRUE(l.session.HasUnsavedChanges());
    l.session.image.set_Hex_EE(0x70, before);
    EXPECT_FALSE(l.session.HasUnsavedChanges());

    // an address typed into a row, and the R/G state, count before the save encodes them
    l.address(1) = "7";
    EXPECT_TRUE(l.session.HasUnsavedChanges());
    l.prompter.answers = {Answer::No};
    EXPECT_FALSE(l.session.ConfirmDiscardChanges());
    EXPECT_EQ(l.prompter.texts(), std::vector<std::string>{kUnsavedChangesQuestion});
    EXPECT_EQ(l.prompter.shown[0].buttons, Buttons::YesNoDefaultNo);
    l.prompter.answers = {Answer::Yes};
    EXPECT_TRUE(l.session.ConfirmDiscardChanges());

    // a save takes the new state as the saved one
    const auto dir = std::filesystem::temp_directory_path() / ("hz-snapshot-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(l.session.SaveTo((dir / "out.hex").string()));
    EXPECT_FALSE(l.session.HasUnsavedChanges());
    l.session.addresses.userClick("btn_RG_1");
    EXPECT_TRUE(l.session.HasUnsavedChanges());
    // a refused save changes nothing about that
    l.address(1) = "x";
    EXPECT_FALSE(l.session.SaveTo((dir / "out.hex").string()));
    EXPECT_TRUE(l.session.HasUnsavedChanges());
    // loading a file starts afresh, also a load that stopped on a bad line
    EXPECT_EQ(l.session.LoadLines({rec(0x0000, "0830"), ":020000040002F8"}, "/f/bad.hex"), LoadOutcome::Stopped);
    EXPECT_FALSE(l.session.HasUnsavedChanges());
    std::filesystem::remove_all(dir);
}

// Function number 0 has no code. It is accepted where the row's function byte names no
// function (the byte stays, and reads back as 0), refused where it would silently keep a real
// function; and a byte that names no function never shows the number of an earlier file.
TEST(AddressPage, FunctionZeroIsSavedAsItReadsBackOrRefused)
{
    for (const int w8 : {kMotW8, kDccW8}) {
        const bool mot = w8 == kMotW8;
        Loaded l(kSchalten, w8);
        // row 1: function 2; row 2: a function byte that names no function
        if (mot) {
            l.fw.code(1, MotDecoderCodes(5) + MotFunctionCode(2));
            l.fw.code(2, MotDecoderCodes(6) + "77");
        } else {
            l.fw.code(1, DccFunctionCode(2) + "0500");
            l.fw.code(2, "770600");
        }
        ASSERT_EQ(l.load(), LoadOutcome::Done);
        EXPECT_EQ(l.function(1), "2");
        EXPECT_EQ(l.function(2), "0") << (mot ? "Mot" : "DCC");

        for (int r = 3; r <= 4; ++r) {
            l.address(r) = "7";
            l.function(r) = "1";
        }
        l.function(1) = "0";
        l.prompter.clear();
        EXPECT_FALSE(l.session.PrepareSave());
        ASSERT_EQ(l.prompter.texts().size(), 1u);
        EXPECT_EQ(l.prompter.texts()[0], "Funktions-Nummer für <" + l.session.ident.Captions[1] + "> ist zu klein");
        EXPECT_EQ(l.focus(), "focus 1 function");

        l.function(1) = "2";
        ASSERT_TRUE(l.session.PrepareSave()) << l.prompter.texts().back();
        const int slot2 = AddressPage::slotOf(2);
        EXPECT_EQ(l.ee(mot ? slot2 + 32 : slot2), "77"); // the byte that names no function stays
    }
    // loaded after a file whose row 2 had function 3, the row still shows 0
    Loaded first(kSchalten, kDccW8);
    first.fw.code(2, DccFunctionCode(3) + "0600");
    ASSERT_EQ(first.load(), LoadOutcome::Done);
    EXPECT_EQ(first.function(2), "3");
    first.fw.code(2, "770600");
    ASSERT_EQ(first.load(), LoadOutcome::Done);
    EXPECT_EQ(first.function(2), "0");
}

// The rows' places: two columns broken after a row, or one column below the header with the
// fields right of the widest caption; 10 extra pixels below the gap row.
TEST(AddressPage, RowLayoutInOneOrTwoColumns)
{
    struct Case {
        int columnBreak, gap, widest, row;
        bool header;
        RowPlace place;
    } cases[] = {
        {15, 0, 0, 1, false, {5, 19, 105, 15, 155, 15, 155, 17}},
        {15, 0, 0, 15, false, {5, 369, 105, 365, 155, 365, 155, 367}},
        {15, 0, 0, 16, false, {205, 19, 305, 15, 355, 15, 355, 17}}, // the second column
        {7, 3, 0, 4, false, {5, 104, 105, 100, 155, 100, 155, 102}}, // below the gap after row 3
        {kAddressRows, 0, 90, 1, true, {5, 64, 105, 60, 155, 60, 155, 62}},
        {kAddressRows, 8, 90, 9, true, {5, 274, 105, 270, 155, 270, 155, 272}},
        {kAddressRows, 0, 140, 2, true, {5, 89, 155, 85, 205, 85, 205, 87}},
    };
    for (const auto& c : cases) {
        const RowLayout layout = LayoutAddressRows(c.columnBreak, c.gap, c.widest);
        EXPECT_EQ(layout.headerShown, c.header);
        const RowPlace& p = layout.places[static_cast<std::size_t>(c.row)];
        const RowPlace& e = c.place;
        EXPECT_EQ(
            std::vector<int>({p.captionX, p.captionY, p.addressX, p.addressY, p.functionX, p.functionY, p.rgX, p.rgY}),
            std::vector<int>({e.captionX, e.captionY, e.addressX, e.addressY, e.functionX, e.functionY, e.rgX, e.rgY}))
            << "break " << c.columnBreak << " row " << c.row;
    }
}
