#include <gtest/gtest.h>

#include <functional>

#include "ScriptedPrompter.h"
#include "core/firmware/FirmwareImage.h"

using hz::FirmwareImage;
using hz::test::ScriptedPrompter;

TEST(FirmwareImage, StartsBlank)
{
    ScriptedPrompter p;
    FirmwareImage img(p);
    EXPECT_EQ(img.get_Hex_ROM(0x200), "FF");
    EXPECT_EQ(img.get_Hex_ROM(0x201), "3F");
    EXPECT_EQ(img.romWord(0x100), 0x3FFF);
    EXPECT_EQ(img.get_Hex_EE(255), "FF");
    EXPECT_EQ(img.get_HexString(1023), "");
    EXPECT_TRUE(p.shown.empty());
}

// Every guarded accessor refuses an index outside its array with its own warning and leaves
// the array untouched; text getters answer "error", integer getters -1.
TEST(FirmwareImage, GuardedAccessorsRefuseIndicesOutOfRange)
{
    struct Case {
        const char* what;
        std::function<std::string(FirmwareImage&, hz::AddressRowStore&)> call;
        std::string result;
        std::string message;
    } cases[] = {
        {"get_Hex_EE 256", [](auto& i, auto&) { return i.get_Hex_EE(256); }, "error",
         "Error: lesen Hex_EE Bereichsüberschreitung (256) in get_Hex_EE"},
        {"set_Hex_EE -1",
         [](auto& i, auto&) {
             i.set_Hex_EE(-1, "00");
             return std::string();
         },
         "", "Error: schreiben Hex_EE Bereichsüberschreitung (-1) in set_Hex_EE"},
        {"set_Hex_ROM 0x4000",
         [](auto& i, auto&) {
             i.set_Hex_ROM(0x4000, "00");
             return std::string();
         },
         "", "Error: schreiben HEX_ROM Bereichsüberschreitung (16384) in set_Hex_ROM"},
        {"get_Hex_ROM 0x4000", [](auto& i, auto&) { return i.get_Hex_ROM(0x4000); }, "error",
         "Error: lesen HEX_ROM Bereichsüberschreitung (16384) in get_Hex_ROM"},
        {"set_HexString 1024",
         [](auto& i, auto&) {
             i.set_HexString(1024, "x");
             return std::string();
         },
         "", "Error: schreiben HexString Bereichsüberschreitung (1024) in set_HexString"},
        {"get_HexString 1024", [](auto& i, auto&) { return i.get_HexString(1024); }, "error",
         "Error: lesen HexString Bereichsüberschreitung (1024) in get_HexString"},
        {"set_Adresse_hex 48",
         [](auto&, auto& r) {
             r.set_Adresse_hex(48, "x");
             return std::string();
         },
         "", "Error: schreiben Adresse Bereichsüberschreitung (48) in set_Adresse_hex"},
        {"get_Adresse_hex 48", [](auto&, auto& r) { return r.get_Adresse_hex(48); }, "error",
         "Error: lesen Adresse Bereichsüberschreitung (48) in get_Adresse_hex"},
        {"set_Adresse_hex_f 48",
         [](auto&, auto& r) {
             r.set_Adresse_hex_f(48, "x");
             return std::string();
         },
         "", "Error: schreiben Adresse F Bereichsüberschreitung (48) in set_Adresse_hex_f"},
        {"get_Adresse_hex_f -1", [](auto&, auto& r) { return r.get_Adresse_hex_f(-1); }, "error",
         "Error: lesen Adresse F Bereichsüberschreitung (-1) in get_Adresse_hex_f"},
        {"set_Adresse_dez 48",
         [](auto&, auto& r) {
             r.set_Adresse_dez(48, 1);
             return std::string();
         },
         "", "Error: Bereichsüberschreitung (48) in set_Adresse_dez"},
        {"get_Adresse_dez 48", [](auto&, auto& r) { return std::to_string(r.get_Adresse_dez(48)); }, "-1",
         "Error: Bereichsüberschreitung (48) in get_Adresse_dez"},
        {"set_Adresse_dez2 48",
         [](auto&, auto& r) {
             r.set_Adresse_dez2(48, 1);
             return std::string();
         },
         "", "Error: Bereichsüberschreitung (48) in set_Adresse_dez2"},
        {"get_Adresse_dez2 -5", [](auto&, auto& r) { return std::to_string(r.get_Adresse_dez2(-5)); }, "-1",
         "Error: Bereichsüberschreitung (-5) in get_Adresse_dez2"},
    };
    for (const auto& c : cases) {
        ScriptedPrompter p;
        FirmwareImage img(p);
        hz::AddressRowStore rows(p);
        EXPECT_EQ(c.call(img, rows), c.result) << c.what;
        ASSERT_EQ(p.shown.size(), 1u) << c.what;
        EXPECT_EQ(p.shown[0].text, c.message) << c.what;
        EXPECT_EQ(p.shown[0].kind, hz::MsgKind::Warning) << c.what;
        EXPECT_EQ(p.shown[0].buttons, hz::Buttons::Ok) << c.what;
    }
}

TEST(FirmwareImage, SettersStoreTextsUnchangedAtTheEdgesOfTheirRange)
{
    ScriptedPrompter p;
    FirmwareImage img(p);
    img.set_Hex_ROM(0x3FFF, "ab");
    img.set_Hex_EE(0, "error");
    img.set_HexString(1023, ":00000001FF");
    EXPECT_EQ(img.get_Hex_ROM(0x3FFF), "ab");
    EXPECT_EQ(img.get_Hex_EE(0), "error");
    EXPECT_EQ(img.get_HexString(1023), ":00000001FF");
    EXPECT_TRUE(p.shown.empty());
}

// The image keeps the 256 texts "00".."FF" as numbers and every other text in a slot of its
// own; whatever a byte was given, it must read back exactly, also after many changes between
// the two kinds and after a reset.
TEST(FirmwareImage, EveryByteReadsBackTheTextItWasGiven)
{
    ScriptedPrompter p;
    FirmwareImage img(p);
    const std::vector<std::string> texts{"00", "0A", "FF", "0a", "Ff", "A", "", "error", "G1", " 7", "3F"};
    // Bytes that change between odd and canonical texts many times over: slots are freed and
    // taken again, and there are never more than bytes.
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < FirmwareImage::kRomSize; i += 7)
            img.set_Hex_ROM(i, texts[static_cast<std::size_t>(i + round) % texts.size()]);
        for (int i = 0; i < FirmwareImage::kEepromSize; ++i)
            img.set_Hex_EE(i, texts[static_cast<std::size_t>(i * 3 + round) % texts.size()]);
        for (int i = 0; i < FirmwareImage::kRomSize; i += 7)
            ASSERT_EQ(img.rom(i), texts[static_cast<std::size_t>(i + round) % texts.size()]) << i;
        for (int i = 0; i < FirmwareImage::kEepromSize; ++i)
            ASSERT_EQ(img.get_Hex_EE(i), texts[static_cast<std::size_t>(i * 3 + round) % texts.size()]) << i;
    }
    EXPECT_EQ(img.rom(1), "3F"); // untouched: blank
    img.resetMemory();
    EXPECT_EQ(img.rom(0), "FF");
    EXPECT_EQ(img.rom(7), "3F");
    EXPECT_EQ(img.eeprom(2), "FF");
    img.set_Hex_EE(2, "x");
    EXPECT_EQ(img.eeprom(2), "x");
    EXPECT_TRUE(p.shown.empty());
}

// Unsaved changes compare the memory by its texts: the same odd text is the same byte however
// it came there, and a change typed back is no change.
TEST(FirmwareImage, MemoryValuesCompareByText)
{
    ScriptedPrompter p;
    FirmwareImage a(p), b(p);
    EXPECT_TRUE(a.memory() == b.memory());
    a.set_Hex_EE(1, "0a");
    a.set_Hex_EE(2, "zz");
    b.set_Hex_EE(2, "zz"); // the slots are taken in the other order
    b.set_Hex_EE(1, "0a");
    EXPECT_TRUE(a.memory() == b.memory());

    const FirmwareImage::Memory before = a.memory();
    a.set_Hex_EE(2, "zy");
    EXPECT_FALSE(a.memory() == before);
    a.set_Hex_EE(2, "zz");
    EXPECT_TRUE(a.memory() == before);
    a.set_Hex_ROM(100, "0A");
    EXPECT_FALSE(a.memory() == before);
    a.set_Hex_ROM(100, "FF");
    EXPECT_TRUE(a.memory() == before);
    a.set_Hex_EE(1, "0A"); // the same value, another text
    EXPECT_FALSE(a.memory() == before);
}
