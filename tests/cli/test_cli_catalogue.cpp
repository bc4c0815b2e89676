// Every decoder type of the catalogue, as a real PIC assembler builds its firmware with the
// addresses where the firmware keeps them: `info` must name it and report every address as
// placed, and `set` must write exactly the firmware's code into exactly the row's three bytes.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "CliRun.h"
#include "FirmwareBuilder.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "cli/Json.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/CodeTables.h"
#include "core/firmware/HexReader.h"
#include "core/pages/address/AddressPage.h"

using namespace hz;
using namespace hz::test;
using hz::pages::AddressPage;

namespace {

std::string processorOf(int pic)
{
    switch (pic) {
    case 629: return "p12f629";
    case 676: return "p16f676";
    case 684: return "p16f684";
    case 688: return "p16f688";
    default: return "p16f1824"; // shares the 16F18324's addresses
    }
}

// One placed row: what the firmware holds and what the page must show.
struct Placed {
    int row;
    int address, function, green;
    std::string bytes;
};

struct Mode {
    bool redGreen, mot;
};

// The firmware's code for an address, built independently of the page's encoder.
std::string codeFor(Mode m, int n, int f, int green)
{
    const auto& t = HexByteTexts();
    if (m.redGreen && m.mot)
        return green ? MotAccessoryCodes(n) : MotRedVariant(MotAccessoryCodes(n));
    if (m.redGreen)
        return green ? DccGreenVariant(DccAccessoryCodes(n)) : DccAccessoryCodes(n);
    if (m.mot)
        return MotDecoderCodes(n) + MotFunctionCode(f);
    const int high = n >> 8, low = n & 0xFF;
    return DccFunctionCode(f) + t[static_cast<std::size_t>(low)] +
           t[static_cast<std::size_t>((low > 127 || high > 0) ? (high | 0xC0) : high)];
}

Placed place(Mode m, int row, unsigned& seed)
{
    auto next = [&](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<unsigned>(range));
    };
    Placed p{row, 0, 0, 0, ""};
    if (m.redGreen && m.mot) {
        p.address = next(321);
        p.green = next(2);
    } else if (m.redGreen) {
        p.address = 1 + next(2044);
        p.green = next(2);
    } else if (m.mot) {
        p.address = 1 + next(255);
        p.function = 1 + next(4);
    } else {
        p.address = 1 + next(16128);
        p.function = 1 + next(12);
    }
    p.bytes = codeFor(m, p.address, p.function, p.green);
    return p;
}

std::string assemble(const std::filesystem::path& dir, const std::string& name, const std::string& source)
{
    const auto asmFile = dir / (name + ".asm");
    const auto hexFile = dir / (name + ".hex");
    writeFile(asmFile.string(), source);
    const std::string cmd =
        std::string(HZ_GPASM) + " -q -w 2 -o '" + hexFile.string() + "' '" + asmFile.string() + "' > /dev/null 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << source;
    return hexFile.string();
}

std::vector<std::string> eepromOf(const std::string& file)
{
    ScriptedPrompter p;
    FirmwareImage img(p);
    HexReader reader(img);
    EXPECT_EQ(reader.ReadHexFile(file), LoadOutcome::Done);
    std::vector<std::string> ee;
    for (int i = 0; i < 256; ++i)
        ee.push_back(img.eeprom(i));
    return ee;
}

} // namespace

TEST(CliCatalogue, EveryTypeIsIdentifiedAndItsAddressesReportedAndSet)
{
    const auto dir = tempDir("catalogue");
    unsigned seed = 7;
    int index = 0;
    for (const DecoderType& type : DecoderCatalogue()) {
        SCOPED_TRACE(type.Name);
        const bool mot = index++ % 2 == 0 && !type.SetsDcc;
        FirmwareBuilder fw;
        fw.f18324 = type.PicModel == 18324;
        if (type.Identifier == 0x30FF)
            fw.words[137] = 0x302F;
        else if (type.Identifier == 0x17E800)
            fw.words[137] = 0x3017;
        else
            fw.identifier(type.Identifier2 ? type.Identifier2 : type.Identifier);
        fw.signature(mot ? kMotW8 : kDccW8);

        // 0x4000 has captions but no row mode; its rows work as function-decoder rows.
        const Mode mode{type.RedGreen, mot};
        std::vector<Placed> placed;
        for (int r = 1; r < 48; ++r) {
            if (type.Captions[static_cast<std::size_t>(r)].empty() || !AddressPage::hasStorage(r))
                continue;
            placed.push_back(place(mode, r, seed));
            fw.code(AddressPage::slotOf(r), placed.back().bytes);
        }
        fw.eeprom[0x70] = "A5"; // a byte no row owns

        const std::string file = assemble(dir, strprintf("t%06X", static_cast<unsigned>(type.Identifier)),
                                          fw.asmSource(processorOf(type.PicModel)));
        const CliRun info = runCli({"info", file, "--json"});
        ASSERT_EQ(info.code, 0) << info.err;
        // nothing is said but the pattern and curve tables these files leave unprogrammed,
        // which their pages bring into range (one line per byte)
        std::istringstream said(info.err);
        for (std::string line; std::getline(said, line);)
            EXPECT_NE(line.find(": beim Anzeigen geändert: Programmwort "), std::string::npos) << line;
        EXPECT_NE(info.out.find("\"type\": " + cli::jsonString(type.Name)), std::string::npos);
        EXPECT_NE(info.out.find("\"pic\": " + std::to_string(type.PicModel)), std::string::npos);
        EXPECT_NE(info.out.find(std::string("\"format\": ") + (mot ? "\"Mot\"" : "\"DCC\"")), std::string::npos);
        EXPECT_NE(info.out.find("\"page\": " + std::to_string(type.Page)), std::string::npos);
        for (const Placed& p : placed) {
            std::string row = "{\"row\": " + std::to_string(p.row) +
                              ", \"caption\": " + cli::jsonString(type.Captions[static_cast<std::size_t>(p.row)]) +
                              ", \"address\": " + std::to_string(p.address);
            if (type.RedGreen)
                row += std::string(", \"state\": ") + (p.green ? "\"green\"" : "\"red\"");
            else
                row += ", \"function\": " + std::to_string(p.function);
            EXPECT_NE(info.out.find(row + "}"), std::string::npos) << row;
        }
        if (placed.empty())
            continue;

        // set the last placed row to a new value: exactly its three bytes change
        const Placed& target = placed.back();
        Placed changed = place(mode, target.row, seed);
        std::string value = std::to_string(changed.address);
        if (type.RedGreen)
            value += changed.green ? "g" : "r";
        else
            value += "/" + std::to_string(changed.function);
        const std::string out = file + ".set.hex";
        const CliRun set = runCli({"set", file, "-o", out, "--row", std::to_string(target.row) + "=" + value});
        ASSERT_EQ(set.code, 0) << set.err;
        EXPECT_TRUE(srecCatAccepts(out));
        auto before = eepromOf(file);
        const auto after = eepromOf(out);
        const int s = AddressPage::slotOf(target.row);
        for (int k = 0; k < 3; ++k)
            before[static_cast<std::size_t>(s + 16 * k)] = changed.bytes.substr(static_cast<std::size_t>(2 * k), 2);
        EXPECT_EQ(after, before) << value;
    }
    std::filesystem::remove_all(dir);
}
