#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "ScriptedPrompter.h"
#include "core/firmware/FirmwareImage.h"
#include "core/pages/register/CvLists.h"

using hz::CvEditResult;
using hz::CvInputKind;
using hz::CvListFor;

namespace {

// CV number written in a caption ("CV029: ..." -> 29).
int cvNumber(const std::string& caption) { return std::atoi(caption.c_str() + 2); }

} // namespace

TEST(CvLists, OnlyTheThreeCvDecodersHaveAList)
{
    EXPECT_EQ(CvListFor(0x4400).size(), 25u);
    EXPECT_EQ(CvListFor(0x14B00).size(), 73u);
    EXPECT_EQ(CvListFor(0x15000).size(), 73u);
    for (int other : {0, 0x4401, 0x14B01, 0x14A00, 0x1500, -1})
        EXPECT_TRUE(CvListFor(other).empty()) << std::hex << other;
}

// Both lists run through the EEPROM upwards with rising CV numbers; a slipped start address or
// a caption put into the wrong run breaks one of the two orders.
TEST(CvLists, AddressesAndCvNumbersRiseRowByRow)
{
    for (int id : {0x4400, 0x14B00, 0x15000}) {
        const auto& list = CvListFor(id);
        for (std::size_t k = 0; k < list.size(); ++k) {
            EXPECT_EQ(list[k].caption.rfind("CV", 0), 0u) << list[k].caption;
            EXPECT_GE(list[k].address, 0x60);
            EXPECT_LE(list[k].address, 0xFF);
            if (k > 0) {
                EXPECT_GT(list[k].address, list[k - 1].address) << std::hex << id << " row " << k;
                EXPECT_GT(cvNumber(list[k].caption), cvNumber(list[k - 1].caption)) << list[k].caption;
            }
        }
    }
}

TEST(CvLists, RowsHoldTheFirmwareAddresses)
{
    struct Case {
        int id;
        std::size_t row;
        const char* caption;
        int address;
    } cases[] = {
        {0x4400, 0, "CV1: Kurze Adresse", 0x60},
        {0x4400, 1, "CV15: Dekoder Sperren", 0x62},
        {0x4400, 4, "CV18: Lange Adresse H", 0x65},
        {0x4400, 5, "CV29: Konfiguration", 0x68},
        {0x4400, 7, "CV50: Verzögerung 1", 0x6F},
        {0x4400, 10, "CV54: Länge Neon-Effekt", 0x73},
        {0x4400, 15, "CV115: LISSY: Zug-Kategorie (1-4)", 0x83},
        {0x4400, 20, "CV144: Mapping Befehl 5", 0xA0},
        {0x4400, 24, "CV153: Betriebs-Art Out 4", 0xA9},
        {0x14B00, 0, "CV001: Kurze Adresse", 0x60},
        {0x14B00, 5, "CV018: extended Adress LOW-Byte", 0x65},
        {0x14B00, 6, "CV029: Konfigbyte", 0x6A},
        {0x14B00, 7, "CV048: Betriebsart", 0x6D},
        {0x14B00, 8, "CV054: Länge des Neon-Effektes", 0x73},
        {0x14B00, 9, "CV061: Blinker Frequenz", 0x7A},
        {0x14B00, 13, "CV115: Zug-Kategorie f. Lissy", 0x83},
        {0x14B00, 14, "CV120: Lokadresse#2, High-Byte", 0x88},
        {0x14B00, 31, "CV137: Mapping Lokadresse DIMM B", 0x99},
        {0x14B00, 32, "CV140: F-Nummer Out 1", 0x9C},
        {0x14B00, 47, "CV157: Dimmen Befehl B Maske", 0xAD},
        {0x14B00, 48, "CV160: PWM Out 1 HELL", 0xB0},
        {0x14B00, 60, "CV172: Fade Value", 0xBC},
        {0x14B00, 61, "CV180: Einschaltverzögerung OUT1", 0xC4},
        {0x14B00, 72, "CV191: Ausschaltverzögerung OUT6", 0xCF},
        {0x15000, 8, "CV054: Länge des Neon-Effektes 18324", 0x73},
        {0x15000, 9, "CV061: Blinker Frequenz 18324", 0x7A},
        {0x15000, 72, "CV191: Ausschaltverzögerung OUT6", 0xCF},
    };
    for (const auto& c : cases) {
        const auto& list = CvListFor(c.id);
        ASSERT_LT(c.row, list.size());
        EXPECT_EQ(list[c.row].caption, c.caption) << std::hex << c.id << " row " << std::dec << c.row;
        EXPECT_EQ(list[c.row].address, c.address) << c.caption;
    }
}

TEST(CvLists, KnipsoDiffersFromForstaInRowsEightAndNineOnly)
{
    const auto& forsta = CvListFor(0x14B00);
    const auto& knipso = CvListFor(0x15000);
    ASSERT_EQ(forsta.size(), knipso.size());
    for (std::size_t k = 0; k < forsta.size(); ++k) {
        EXPECT_EQ(forsta[k].address, knipso[k].address) << k;
        EXPECT_EQ(forsta[k].caption == knipso[k].caption, k != 8 && k != 9) << k;
    }
}

TEST(CvInput, TextIsADecimalByteOrRefused)
{
    struct Case {
        const char* text;
        CvInputKind kind;
        int value;
    } cases[] = {
        {"", CvInputKind::Empty, 0},
        {"0", CvInputKind::Value, 0},
        {"7", CvInputKind::Value, 7},
        {"255", CvInputKind::Value, 255},
        {"+7", CvInputKind::Value, 7},
        {"-0", CvInputKind::Value, 0},
        {"007", CvInputKind::Value, 7},
        {"0000000000000255", CvInputKind::Value, 255},
        {"256", CvInputKind::OutOfRange, 0},
        {"-1", CvInputKind::OutOfRange, 0},
        {"1000", CvInputKind::OutOfRange, 0},
        {"2147483647", CvInputKind::OutOfRange, 0},
        {"-2147483648", CvInputKind::OutOfRange, 0},
        {"99999999999999999999999", CvInputKind::NotANumber, 0}, // no whole number of the program
        {"1a", CvInputKind::NotANumber, 0},
        {"a", CvInputKind::NotANumber, 0},
        {"+", CvInputKind::NotANumber, 0},
        {"-", CvInputKind::NotANumber, 0},
        {"+-1", CvInputKind::NotANumber, 0},
        {" 7", CvInputKind::NotANumber, 0},
        {"7 ", CvInputKind::NotANumber, 0},
        {"1 2", CvInputKind::NotANumber, 0},
        {"0x10", CvInputKind::NotANumber, 0},
        {"$10", CvInputKind::NotANumber, 0},
        {"1.5", CvInputKind::NotANumber, 0},
        {"1e2", CvInputKind::NotANumber, 0},
        {"\xd9\xa1", CvInputKind::NotANumber, 0}, // ARABIC-INDIC DIGIT ONE
    };
    for (const auto& c : cases) {
        const auto in = hz::ParseCvInput(c.text);
        EXPECT_EQ(in.kind, c.kind) << '"' << c.text << '"';
        EXPECT_EQ(in.value, c.value) << '"' << c.text << '"';
    }
}

class CvEdit : public ::testing::Test {
protected:
    hz::test::ScriptedPrompter prompter;
    hz::FirmwareImage image{prompter};
    void SetUp() override
    {
        image.resetMemory();
        image.set_Hex_EE(0x6A, "06");
    }
};

TEST_F(CvEdit, AValueIsStoredAsItsByteTextWithoutMessage)
{
    EXPECT_EQ(hz::ApplyCvEdit(image, prompter, 0x6A, "7"), CvEditResult::Stored);
    EXPECT_EQ(image.get_Hex_EE(0x6A), "07");
    EXPECT_EQ(hz::ApplyCvEdit(image, prompter, 0x6A, "+200"), CvEditResult::Stored);
    EXPECT_EQ(image.get_Hex_EE(0x6A), "C8");
    EXPECT_EQ(hz::ApplyCvEdit(image, prompter, 0x6A, "255"), CvEditResult::Stored);
    EXPECT_EQ(image.get_Hex_EE(0x6A), "FF");
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(image.get_Hex_EE(0x6B), "FF"); // neighbours untouched
    EXPECT_EQ(image.get_Hex_EE(0x69), "FF");
}

TEST_F(CvEdit, EmptyTextIsIgnoredSilently)
{
    EXPECT_EQ(hz::ApplyCvEdit(image, prompter, 0x6A, ""), CvEditResult::Ignored);
    EXPECT_EQ(image.get_Hex_EE(0x6A), "06");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(CvEdit, BadTextWarnsWithCancelAndLeavesTheByte)
{
    struct Case {
        const char* text;
        const char* warning;
    } cases[] = {
        {"1a", "Ungültige Eingabe.\rZugelassen sind nur Zahlen"},
        {"-", "Ungültige Eingabe.\rZugelassen sind nur Zahlen"},
        {"256", "Ungültige Eingabe.\rZugelassen sind nur Zahlen von 0 bis 255"},
        {"-1", "Ungültige Eingabe.\rZugelassen sind nur Zahlen von 0 bis 255"},
    };
    for (const auto& c : cases) {
        prompter.clear();
        EXPECT_EQ(hz::ApplyCvEdit(image, prompter, 0x6A, c.text), CvEditResult::Refused) << c.text;
        EXPECT_EQ(image.get_Hex_EE(0x6A), "06") << c.text;
        ASSERT_EQ(prompter.shown.size(), 1u) << c.text;
        EXPECT_EQ(prompter.shown[0].text, c.warning);
        EXPECT_EQ(prompter.shown[0].kind, hz::MsgKind::Warning);
        EXPECT_EQ(prompter.shown[0].buttons, hz::Buttons::Cancel);
    }
}

// The address a CV decoder answers to, read as the decoder reads it: CV1 short, or with bit 5
// of CV29 the long address from CV17 (192..231) and CV18.
TEST_F(CvEdit, TheDecoderAddressComesFromCv1OrCv17AndCv18)
{
    EXPECT_EQ(hz::CvEepromAddress(0x14B00, 29), 0x6A);
    EXPECT_EQ(hz::CvEepromAddress(0x4400, 29), 0x68);
    EXPECT_EQ(hz::CvEepromAddress(0x4400, 7), -1);
    EXPECT_FALSE(hz::ReadCvAddress(image, 0x208)); // no CV list: not addressed by CVs
    struct Case {
        int id;
        const char *cv1, *cv17, *cv18, *cv29;
        bool isLong;
        int address; // 0: a problem naming `problem`
        const char* problem;
    } cases[] = {
        {0x14B00, "03", "C0", "03", "06", false, 3, ""},
        {0x14B00, "7F", "00", "00", "00", false, 127, ""},
        {0x14B00, "00", "C0", "03", "06", false, 0, "CV1 = 0"},
        {0x14B00, "80", "C0", "03", "06", false, 0, "CV1 = 128"},
        {0x14B00, "03", "C0", "03", "26", true, 3, ""},
        {0x15000, "03", "C4", "D2", "20", true, 1234, ""},
        {0x14B00, "03", "E7", "FF", "20", true, 10239, ""},
        {0x14B00, "03", "E8", "00", "20", true, 0, "CV17 = 232"},
        {0x14B00, "03", "BF", "FF", "20", true, 0, "CV17 = 191"},
        {0x14B00, "03", "C0", "00", "20", true, 0, "ergeben 0"},
        {0x14B00, "3G", "C0", "03", "06", false, 0, "CV1 (EEPROM 0x60) ist kein Byte"},
        // the F-Dekoder's short address is sure, its long one is not (its list swaps L and H)
        {0x4400, "05", "C0", "03", "06", false, 5, ""},
        {0x4400, "05", "C0", "03", "26", true, 0, "nicht sicher"},
    };
    for (const Case& c : cases) {
        image.resetMemory();
        image.set_Hex_EE(hz::CvEepromAddress(c.id, 1), c.cv1);
        image.set_Hex_EE(hz::CvEepromAddress(c.id, 17), c.cv17);
        image.set_Hex_EE(hz::CvEepromAddress(c.id, 18), c.cv18);
        image.set_Hex_EE(hz::CvEepromAddress(c.id, 29), c.cv29);
        const std::string what = std::string(c.cv1) + "/" + c.cv17 + "/" + c.cv18 + "/" + c.cv29;
        const auto a = hz::ReadCvAddress(image, c.id);
        ASSERT_TRUE(a) << what;
        EXPECT_EQ(a->isLong, c.isLong) << what;
        EXPECT_EQ(a->address, c.address) << what;
        if (c.address == 0)
            EXPECT_NE(a->problem.find(c.problem), std::string::npos) << what << ": " << a->problem;
        else
            EXPECT_EQ(a->problem, "") << what;
    }
}
