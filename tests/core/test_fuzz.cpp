// Random and mutated input for the reader and the writer. Whatever the lines hold, the reader
// must not crash or step outside its arrays (the sanitizer build checks that), and every file
// the writer produces must be well-formed Intel HEX.

#include <gtest/gtest.h>

#include <random>

#include "FirmwareBuilder.h"
#include "FuzzChecks.h"
#include "ScriptedPrompter.h"
#include "core/Session.h"
#include "core/firmware/FirmwareImage.h"
#include "core/firmware/HexReader.h"
#include "core/firmware/HexText.h"
#include "core/firmware/HexWriter.h"

using namespace hz;
using namespace hz::test;

namespace {

const char kAlphabet[] = "0123456789ABCDEFabcdef:GZ \t-";

std::string mutate(std::string line, std::mt19937& rng)
{
    std::uniform_int_distribution<int> op(0, 4), ch(0, sizeof kAlphabet - 2);
    const int n = 1 + static_cast<int>(rng() % 3);
    for (int k = 0; k < n; ++k) {
        const std::size_t pos = line.empty() ? 0 : rng() % line.size();
        switch (op(rng)) {
        case 0:
            if (!line.empty())
                line[pos] = kAlphabet[ch(rng)];
            break;
        case 1: line.insert(pos, 1, kAlphabet[ch(rng)]); break;
        case 2:
            if (!line.empty())
                line.erase(pos, 1);
            break;
        case 3: line = line.substr(0, pos); break;
        default: line += line.substr(pos); break;
        }
    }
    return line;
}

std::string randomLine(std::mt19937& rng)
{
    std::string line = ":";
    const std::size_t len = rng() % 60;
    for (std::size_t i = 0; i < len; ++i)
        line += kAlphabet[rng() % (sizeof kAlphabet - 1)];
    return line;
}

} // namespace

TEST(Fuzz, ReaderAndWriterSurviveMutatedFilesAndWriteOnlyWellFormedLines)
{
    std::mt19937 rng(20261210);
    FirmwareBuilder classic;
    classic.identifier(0x208).signature(kMotW8).code(1, "0300C3").code(2, "030003");
    classic.eeprom[0xFF] = "5A";
    FirmwareBuilder modern;
    modern.f18324 = true;
    modern.identifier(0x14B00).signature(kDccW8);
    modern.eeprom[0x6A] = "06";
    const std::vector<std::vector<std::string>> seeds{classic.lines(), modern.lines()};

    for (int round = 0; round < 3000; ++round) {
        std::vector<std::string> lines = seeds[static_cast<std::size_t>(round % 2)];
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = rng() % lines.size();
            if (rng() % 5 == 0)
                lines.insert(lines.begin() + static_cast<long>(at), randomLine(rng));
            else
                lines[at] = mutate(lines[at], rng);
        }
        ScriptedPrompter prompter;
        // answer every question with its last button (Ignore, Yes...) so the load goes on
        Session session(prompter);
        session.LoadLines(lines, "fuzz.hex");
        if (BuildHexLines(session.image) > 0) {
            for (int i = 0; i < session.image.LineCount; ++i)
                ASSERT_EQ(fuzz::lineFault(session.image.get_HexString(i)), "") << "round " << round;
            // and every record of the file written is one the reader accepts (the ID digits may
            // still be refused as a version, as they were in the file that was read)
            ScriptedPrompter again;
            FirmwareImage img(again);
            HexReader reader(img);
            std::vector<std::string> out;
            for (int i = 0; i < session.image.LineCount; ++i)
                out.push_back(session.image.get_HexString(i));
            reader.ReadHexLines(out, "back.hex");
            for (const auto& m : again.shown)
                EXPECT_NE(m.text.substr(0, 2), "E2") << "round " << round << ": " << m.text;
        }
    }
}

TEST(Fuzz, ArbitraryImageTextsNeverProduceAMalformedLine)
{
    std::mt19937 rng(7);
    const std::vector<std::string> texts{"", "F", "FF", "0g", "error", "3F", "00", "AB", "C43", "8C17", "zz"};
    for (int round = 0; round < 500; ++round) {
        ScriptedPrompter p;
        FirmwareImage img(p);
        img.RomFound = img.EepromFound = img.IdFound = img.ConfigFound = true;
        img.RomTop = static_cast<int>(rng() % 64);
        img.EepromTop = static_cast<int>(rng() % 300);
        img.IdLocation = rng() % 2 ? 0x2000 : 0x8000;
        img.EepromLocation = rng() % 2 ? 0x2100 : 0xF000;
        img.ConfigLocation = rng() % 2 ? 0x2007 : 0x8007;
        img.PicModel = std::vector<int>{0, 629, 676, 18324}[rng() % 4];
        img.IdText = texts[rng() % texts.size()] + texts[rng() % texts.size()];
        for (auto& w : img.ConfigWords)
            w = texts[rng() % texts.size()];
        for (int k = 0; k < 8; ++k) {
            img.set_Hex_ROM(static_cast<int>(rng() % 64), texts[rng() % texts.size()]);
            img.set_Hex_EE(static_cast<int>(rng() % 256), texts[rng() % texts.size()]);
        }
        if (BuildHexLines(img) == 0) {
            EXPECT_EQ(img.LineCount, 0);
            continue;
        }
        for (int i = 0; i < img.LineCount; ++i)
            ASSERT_EQ(fuzz::lineFault(img.get_HexString(i)), "");
    }
}
