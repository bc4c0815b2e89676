#pragma once
// Building small firmware files for tests: program words, ID, configuration and EEPROM bytes,
// as Intel HEX lines (for in-memory loads) or as PIC assembler source (for gpasm).

#include <map>
#include <string>
#include <vector>

#include "HexRecords.h"
#include "core/firmware/FirmwareImage.h"
#include "core/firmware/HexText.h"

namespace hz::test {

struct FirmwareBuilder {
    bool f18324 = false;
    std::map<int, int> words;          // program word address -> 14-bit word
    std::map<int, std::string> eeprom; // EEPROM index -> byte text
    std::string version = "360";       // classic ID digits 2..4 (3.60); ID digit is "1"
    bool withId = true;
    bool withConfig = true;

    // movlw b0, movlw b1, movlw b2: the identifier in program words 0..2.
    FirmwareBuilder& identifier(int id)
    {
        words[0] = 0x3000 | (id & 0xFF);
        words[1] = 0x3000 | ((id >> 8) & 0xFF);
        words[2] = 0x3000 | ((id >> 16) & 0xFF);
        return *this;
    }
    // Word 8 (and 35): the address receiver signature.
    FirmwareBuilder& signature(int w8, int w35 = -1)
    {
        words[8] = w8;
        if (w35 >= 0)
            words[35] = w35;
        return *this;
    }
    FirmwareBuilder& code(int slot, const std::string& sixDigits)
    {
        for (int k = 0; k < 3; ++k)
            if (static_cast<std::size_t>(2 * k + 2) <= sixDigits.size())
                eeprom[slot + 16 * k] = sixDigits.substr(static_cast<std::size_t>(2 * k), 2);
        return *this;
    }

    std::vector<std::string> lines() const
    {
        const auto& t = HexByteTexts();
        std::vector<std::string> out{kBase0};
        for (const auto& [w, v] : words)
            out.push_back(rec(2 * w, t[static_cast<std::size_t>(v & 0xFF)] + t[static_cast<std::size_t>(v >> 8)]));
        auto eepromLines = [&](int base) {
            for (const auto& [n, text] : eeprom)
                out.push_back(rec(base + 2 * n, text + "00"));
        };
        if (!f18324) {
            if (withId)
                out.push_back(rec(0x4000, std::string("0100") + "0" + version.substr(0, 1) + "000" +
                                              version.substr(1, 1) + "000" + version.substr(2, 1) + "00"));
            if (withConfig)
                out.push_back(rec(0x400E, "C431"));
            eepromLines(0x4200);
        } else {
            out.push_back(kBase1);
            if (withId)
                out.push_back(rec(0x0000, "58000000010B0000"));
            if (withConfig)
                out.push_back(rec(0x000E, "8C173C25FF1FFF3F"));
            eepromLines(0xE000);
        }
        out.push_back(kEnd);
        return out;
    }

    // The EEPROM as one contiguous "de" run from index 0, erased bytes in the gaps. (gpasm
    // places a lone org inside the EEPROM region inconsistently, a run from its start never.)
    std::string eepromRun(const char* base) const
    {
        if (eeprom.empty())
            return {};
        std::string s = std::string("        org ") + base + "\n        de ";
        const int top = eeprom.rbegin()->first;
        for (int n = 0; n <= top; ++n) {
            const auto it = eeprom.find(n);
            s += (n ? ", 0x" : "0x") + (it == eeprom.end() ? std::string("FF") : it->second);
        }
        return s + "\n";
    }

    // Assembler source for gpasm. `processor` is e.g. "p12f629"; the 16F18324 layout is
    // assembled for the p16f1824, which shares its addresses.
    std::string asmSource(const std::string& processor) const
    {
        std::string s = "        processor " + processor + "\n        radix hex\n        errorlevel -220, -302, -303\n";
        for (const auto& [w, v] : words)
            s += strprintf("        org 0x%X\n        dw 0x%04X\n", static_cast<unsigned>(w), static_cast<unsigned>(v));
        if (!f18324) {
            if (withId)
                s += std::string("        org 0x2000\n        dw 0x0001, 0x000") + version[0] + ", 0x000" + version[1] +
                     ", 0x000" + version[2] + "\n";
            if (withConfig)
                s += "        __config 0x31C4\n";
            s += eepromRun("0x2100");
        } else {
            if (withId)
                s += "        org 0x8000\n        dw 0x0058, 0x0000, 0x0B01, 0x0000\n";
            if (withConfig)
                s += "        org 0x8007\n        dw 0x178C, 0x253C, 0x1FFF, 0x3FFF\n";
            s += eepromRun("0xF000");
        }
        return s + "        end\n";
    }
};

// Signatures of program word 8 (and 35).
constexpr int kMotW8 = 0x1C8B; // btfss 0x0B,1
constexpr int kDccW8 = 0x1905; // btfsc 0x05,2
constexpr int kNoInputW8 = 0x0181;
constexpr int kPrologueW8 = 0x1C0C;
constexpr int kDccW8Late = 0x2812;

// The lines the writer built last, as a new file would hold them.
inline std::vector<std::string> builtLinesOf(const FirmwareImage& image)
{
    std::vector<std::string> lines;
    for (int i = 0; i < image.LineCount; ++i)
        lines.push_back(image.get_HexString(i));
    return lines;
}

} // namespace hz::test
