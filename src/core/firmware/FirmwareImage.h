#pragma once
// The loaded firmware file in memory.
//
// Two PIC layouts live in one image (all addresses are PIC word addresses; in the HEX file a
// word takes two bytes, low byte first, at byte address 2 x word):
//
//                    classic 14-bit (12F629 ... 16F688)     16F18324
//   program memory   0x0000..0x0FFF                         the same
//   ID words         0x2000..0x2003 (HEX byte 0x4000)       0x8000..0x8003 (HEX byte 0x10000)
//   configuration    0x2007 (HEX byte 0x400E)               0x8007..0x800A (HEX 0x1000E..0x10014)
//   EEPROM           0x2100..0x21FF (HEX 0x4200..0x43FF)    0xF000..0xF0FF (HEX 0x1E000..0x1E1FF)
//
// In both layouts an EEPROM byte is the low byte of its word; the high byte is 00 and not kept.
// Every byte is kept as its two-digit text, as it stood in the file, so that the reader's
// leniency and the writer's checks see exactly what the file said.

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/AddressRowCount.h"
#include "core/Prompter.h"
#include "core/firmware/FirmwareFacts.h"

namespace hz {

class FirmwareImage {
public:
    static constexpr int kLineCapacity = 1024;
    static constexpr int kRomSize = 0x4000;
    static constexpr int kEepromSize = 256;

    explicit FirmwareImage(Prompter& prompter);

    // Guarded accessors: an index out of range is never stored. The operation shows its
    // "Error: ..." warning; setters then do nothing, text getters return "error".
    void set_HexString(int i, const std::string& text);
    // The same for a text that is not needed any more: no copy.
    void set_HexString(int i, std::string&& text);
    // Unchecked read access to a line, 0 <= i < kLineCapacity.
    const std::string& line(int i) const { return m_lines[static_cast<std::size_t>(i)]; }
    // Unchecked write access to a line, 0 <= i < kLineCapacity: the reader and the writer fill
    // the lines in place, so that a load or save reuses the storage of the lines before it
    // instead of allocating every line anew.
    std::string& lineSlot(int i) { return m_lines[static_cast<std::size_t>(i)]; }
    std::string get_HexString(int i) const;
    void set_Hex_ROM(int i, std::string_view text);
    std::string get_Hex_ROM(int i) const;
    void set_Hex_EE(int i, std::string_view text);
    std::string get_Hex_EE(int i) const;

    // Unchecked read access for loops that stay inside the ranges by construction.
    const std::string& rom(int i) const { return text(m_rom[static_cast<std::size_t>(i)]); }
    // Whether a byte holds one of the 256 texts "00".."FF" (and nothing odd), without looking
    // at the text.
    bool romIsByteText(int i) const { return m_rom[static_cast<std::size_t>(i)] < 256; }
    bool eepromIsByteText(int i) const { return m_ee[static_cast<std::size_t>(i)] < 256; }
    const std::string& eeprom(int i) const { return text(m_ee[static_cast<std::size_t>(i)]); }
    // The value of a byte that holds one of the texts "00".."FF"; -1 for any other text.
    // Unchecked, like rom() and eeprom().
    int romValue(int i) const { return value(m_rom[static_cast<std::size_t>(i)]); }
    int eepromValue(int i) const { return value(m_ee[static_cast<std::size_t>(i)]); }
    // The highest program word from `lowest` on that is not blank (texts "FF" and "3F", word
    // 0x3FFF); -1 when all of them are.
    int highestRomWordNotBlank(int lowest) const;
    // Stores the text of `v` ("00".."FF"), as set_Hex_ROM / set_Hex_EE with that text would,
    // without looking at a text. Unchecked: for the reader's well-formed records, whose
    // addresses it has checked.
    void setRomValue(int i, std::uint8_t v) { storeValue(m_rom[static_cast<std::size_t>(i)], v); }
    void setEepromValue(int i, std::uint8_t v) { storeValue(m_ee[static_cast<std::size_t>(i)], v); }

    // The texts of program memory and EEPROM as one value, to tell later whether any byte
    // changed. Taking it copies the bytes' numbers, not their texts - and only once while the
    // memory stays unchanged: the values taken in between share that copy (the load's stored
    // memory, the edit history's steps, the saved state).
    class Memory {
    public:
        friend bool operator==(const Memory& a, const Memory& b);
        // The text of program-memory byte i or EEPROM byte i, as the image held it.
        const std::string& romText(int i) const { return text(static_cast<std::size_t>(i)); }
        const std::string& eepromText(int i) const { return text(static_cast<std::size_t>(kRomSize + i)); }

    private:
        friend class FirmwareImage;
        struct Bytes {
            std::vector<std::uint16_t> codes; // program memory, then EEPROM
            std::vector<std::string> odd;
        };
        const std::string& text(std::size_t i) const;
        std::size_t size() const { return m_bytes ? m_bytes->codes.size() : 0; }
        bool anyOdd() const { return m_bytes && !m_bytes->odd.empty(); }
        std::shared_ptr<const Bytes> m_bytes; // never changed once taken; none before the first
        const std::array<std::string, 256>* m_texts = nullptr;
    };
    Memory memory() const;
    // Puts every program-memory and EEPROM byte back to what `m` holds.
    void restore(const Memory& m);

    // One byte that differs between two states of the memory.
    struct ByteChange {
        bool eeprom = false; // else program memory
        int index = 0;       // EEPROM index or program-memory byte address
        std::string before, after;
    };
    // Every byte whose text differs between `before` and `after`, program memory first, each
    // in address order.
    static std::vector<ByteChange> changedBytes(const Memory& before, const Memory& after);

    // Blank program memory ("FF" at even, "3F" at odd byte addresses: word 0x3FFF), blank
    // EEPROM ("FF") and no lines.
    void resetMemory();
    void clearLines();
    // Byte value of a program word (low + 256 * high), read leniently.
    int romWord(int word) const;

    Prompter& prompter() const { return m_prompter; }

    // Scalar fields, read and written directly by the reader, writer and identification.
    int LineCount = 0;
    std::string IdText;
    std::array<std::string, 4> ConfigWords{"0000", "0000", "0000", "0000"};
    std::array<std::string, 4> DefaultConfig{"0000", "0000", "0000", "0000"};
    // Identifier, version and PIC as values; the reader empties them when a read begins.
    FirmwareFacts facts;
    int PicModel = 0;
    // Where the reader found ID, CONFIG 1 and EEPROM records. These survive the next load:
    // a file without such a record leaves the location of an earlier file in place.
    int IdLocation = 0;
    int ConfigLocation = 0;
    int EepromLocation = 0;
    int RomTop = 0;
    int EepromTop = 0;
    bool IdFound = false;
    bool ConfigFound = false;
    // Whether the current file carried any program-memory byte / EEPROM byte at all. The
    // writer needs them: RomTop and EepromTop are 0 both for "nothing" and for "byte 0 only".
    bool RomFound = false;
    bool EepromFound = false;
    // Which of the four configuration words the image really has: read from this file, or
    // made from the decoder's standard words when the user asked for them. Only these are
    // written. After the user chose to go on without a configuration the image has none,
    // and a save adds none: on the classic PICs a made-up word 0x0000 would switch on code
    // and data protection and select the LP oscillator, so the decoder would not even run.
    // Where CONFIG 1 stands follows ConfigLocation (0x2007 or 0x8007); CONFIG 2..4 only
    // exist at 0x8008..0x800A.
    std::array<bool, 4> ConfigPresent{};
    int LinearBase = 0;
    std::string LastFileName;

private:
    // A byte is kept as the number of its text. 0..255 stand for "00".."FF" (HexByteTexts()),
    // the text nearly every byte has; a byte holding any other text (lower-case digits, a
    // field cut short, "error") owns a slot in m_odd, numbered from 256 on, so that it still
    // reads back exactly as it was stored. A byte keeps its slot while its text stays odd and
    // frees it when it becomes canonical again, so there are never more slots than bytes and
    // the numbers fit 16 bits. The image takes 32 KiB instead of half a megabyte of strings,
    // and clearing it is a fill.
    using ByteCode = std::uint16_t;
    const std::string& text(ByteCode code) const
    {
        return code < 256 ? (*m_texts)[code] : m_odd[static_cast<std::size_t>(code - 256)];
    }
    void store(ByteCode& byte, std::string_view text);
    void storeValue(ByteCode& byte, std::uint8_t v)
    {
        changing();
        if (byte >= 256)
            m_freeOdd.push_back(byte);
        byte = v;
    }
    static int value(ByteCode code) { return code < 256 ? code : -1; }
    // Every change of a byte passes here: the memory last taken no longer shows the image.
    void changing()
    {
        if (m_taken)
            m_taken.reset();
    }

    Prompter& m_prompter;
    const std::array<std::string, 256>* m_texts;
    std::vector<std::string> m_lines;
    std::vector<ByteCode> m_rom;
    std::vector<ByteCode> m_ee;
    // A deque: rom() and eeprom() hand out references, which a new slot must not move.
    std::deque<std::string> m_odd;
    std::vector<ByteCode> m_freeOdd;
    // The bytes as memory() last took them, while no byte has changed since.
    mutable std::shared_ptr<const Memory::Bytes> m_taken;
};

// The four arrays of kAddressRows entries behind the address rows of the address page.
class AddressRowStore {
public:
    static constexpr int kRows = kAddressRows;
    explicit AddressRowStore(Prompter& prompter);

    void set_Adresse_hex(int i, const std::string& text);
    std::string get_Adresse_hex(int i) const;
    void set_Adresse_hex_f(int i, const std::string& text);
    std::string get_Adresse_hex_f(int i) const;
    void set_Adresse_dez(int i, int n);
    int get_Adresse_dez(int i) const;
    void set_Adresse_dez2(int i, int n);
    int get_Adresse_dez2(int i) const;

private:
    Prompter& m_prompter;
    std::array<std::string, kRows> m_hex{};
    std::array<std::string, kRows> m_hexF{};
    std::array<int, kRows> m_dez{};
    std::array<int, kRows> m_dez2{};
};

} // namespace hz
