#include <gtest/gtest.h>

#include <functional>

#include "ScriptedPrompter.h"
#include "firmware/FirmwareImage.h"

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
        {"set_Hex_EE -1", [](auto& i, auto&) { i.set_Hex_EE(-1, "00"); return std::string(); }, "",
         "Error: schreiben Hex_EE Bereichsüberschreitung (-1) in set_Hex_EE"},
        {"set_Hex_ROM 0x4000", [](auto& i, auto&) { i.set_Hex_ROM(0x4000, "00"); return std::string(); }, "",
         "Error: schreiben HEX_ROM Bereichsüberschreitung (16384) in set_Hex_ROM"},
        {"get_Hex_ROM 0x4000", [](auto& i, auto&) { return i.get_Hex_ROM(0x4000); }, "error",
         "Error: lesen HEX_ROM Bereichsüberschreitung (16384) in get_Hex_ROM"},
        {"set_HexString 1024", [](auto& i, auto&) { i.set_HexString(1024, "x"); return std::string(); }, "",
         "Error: schreiben HexString Bereichsüberschreitung (1024) in set_HexString"},
        {"get_HexString 1024", [](auto& i, auto&) { return i.get_HexString(1024); }, "error",
         "Error: lesen HexString Bereichsüberschreitung (1024) in get_HexString"},
        {"set_Adresse_hex 48", [](auto&, auto& r) { r.set_Adresse_hex(48, "x"); return std::string(); }, "",
         "Error: schreiben Adresse Bereichsüberschreitung (48) in set_Adresse_hex"},
        {"get_Adresse_hex 48", [](auto&, auto& r) { return r.get_Adresse_hex(48); }, "error",
         "Error: lesen Adresse Bereichsüberschreitung (48) in get_Adresse_hex"},
        {"set_Adresse_hex_f 48", [](auto&, auto& r) { r.set_Adresse_hex_f(48, "x"); return std::string(); }, "",
         "Error: schreiben Adresse F Bereichsüberschreitung (48) in set_Adresse_hex_f"},
        {"get_Adresse_hex_f -1", [](auto&, auto& r) { return r.get_Adresse_hex_f(-1); }, "error",
         "Error: lesen Adresse F Bereichsüberschreitung (-1) in get_Adresse_hex_f"},
        {"set_Adresse_dez 48", [](auto&, auto& r) { r.set_Adresse_dez(48, 1); return std::string(); }, "",
         "Error: Bereichsüberschreitung (48) in set_Adresse_dez"},
        {"get_Adresse_dez 48", [](auto&, auto& r) { return std::to_string(r.get_Adresse_dez(48)); }, "-1",
         "Error: Bereichsüberschreitung (48) in get_Adresse_dez"},
        {"set_Adresse_dez2 48", [](auto&, auto& r) { r.set_Adresse_dez2(48, 1); return std::string(); }, "",
         "Error: Bereichsüberschreitung (48) in set_Adresse_dez2"},
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
