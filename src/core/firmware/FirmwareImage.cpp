#include "core/firmware/FirmwareImage.h"

#include <algorithm>

#include "core/firmware/HexText.h"

namespace hz {

namespace {

bool inRange(int i, int size) { return i >= 0 && i < size; }

void refuse(Prompter& p, const std::string& text) { p.tell(MsgKind::Warning, text, Buttons::Ok); }

} // namespace

FirmwareImage::FirmwareImage(Prompter& prompter)
    : m_prompter(prompter), m_texts(&HexByteTexts()), m_lines(kLineCapacity), m_rom(kRomSize), m_ee(kEepromSize)
{
    resetMemory();
}

void FirmwareImage::resetMemory()
{
    changing();
    for (std::size_t i = 0; i + 1 < m_rom.size(); i += 2) {
        m_rom[i] = 0xFF;
        m_rom[i + 1] = 0x3F;
    }
    std::fill(m_ee.begin(), m_ee.end(), ByteCode{0xFF});
    m_odd.clear();
    m_freeOdd.clear();
}

void FirmwareImage::store(ByteCode& byte, std::string_view text)
{
    changing();
    // One of the 256 texts "00".."FF"?
    const int high = text.size() == 2 ? UpperHexDigit(text[0]) : -1;
    const int low = high >= 0 ? UpperHexDigit(text[1]) : -1;
    if (low >= 0)
        return storeValue(byte, static_cast<std::uint8_t>(16 * high + low));
    if (byte < 256) {
        if (m_freeOdd.empty()) {
            m_odd.emplace_back();
            byte = static_cast<ByteCode>(256 + m_odd.size() - 1);
        } else {
            byte = m_freeOdd.back();
            m_freeOdd.pop_back();
        }
    }
    m_odd[static_cast<std::size_t>(byte - 256)] = text;
}

int FirmwareImage::highestRomWordNotBlank(int lowest) const
{
    // Blank memory is compared a block of words at a time: a firmware fills the lower half of
    // program memory at most, and the upper half is searched on every save.
    constexpr int kBlockWords = 32;
    static const std::array<ByteCode, 2 * kBlockWords> blank = [] {
        std::array<ByteCode, 2 * kBlockWords> b{};
        for (std::size_t i = 0; i < b.size(); i += 2) {
            b[i] = 0xFF;
            b[i + 1] = 0x3F;
        }
        return b;
    }();
    int w = kRomSize / 2 - 1;
    lowest = std::max(lowest, 0);
    while (w + 1 - kBlockWords >= lowest &&
           std::equal(blank.begin(), blank.end(), m_rom.begin() + 2 * static_cast<std::ptrdiff_t>(w + 1 - kBlockWords)))
        w -= kBlockWords;
    for (; w >= lowest; --w)
        if (m_rom[static_cast<std::size_t>(2 * w)] != 0xFF || m_rom[static_cast<std::size_t>(2 * w + 1)] != 0x3F)
            return w;
    return -1;
}

FirmwareImage::Memory FirmwareImage::memory() const
{
    if (!m_taken) {
        auto bytes = std::make_shared<Memory::Bytes>();
        bytes->codes.reserve(m_rom.size() + m_ee.size());
        bytes->codes.insert(bytes->codes.end(), m_rom.begin(), m_rom.end());
        bytes->codes.insert(bytes->codes.end(), m_ee.begin(), m_ee.end());
        bytes->odd.assign(m_odd.begin(), m_odd.end());
        m_taken = std::move(bytes);
    }
    Memory m;
    m.m_texts = m_texts;
    m.m_bytes = m_taken;
    return m;
}

const std::string& FirmwareImage::Memory::text(std::size_t i) const
{
    const ByteCode code = m_bytes->codes[i];
    return code < 256 ? (*m_texts)[code] : m_bytes->odd[static_cast<std::size_t>(code - 256)];
}

void FirmwareImage::restore(const Memory& m)
{
    if (m.m_bytes == m_taken && m_taken)
        return;
    if (m.size() == m_rom.size() + m_ee.size() && !m.anyOdd() && m_odd.empty()) {
        // Only the 256 plain texts on either side: the numbers are the texts, and the image
        // then holds exactly the bytes `m` took, which memory() can hand out again.
        const auto& codes = m.m_bytes->codes;
        const auto romEnd = codes.begin() + static_cast<std::ptrdiff_t>(m_rom.size());
        std::copy(codes.begin(), romEnd, m_rom.begin());
        std::copy(romEnd, codes.end(), m_ee.begin());
        m_taken = m.m_bytes;
        return;
    }
    for (std::size_t i = 0; i < m_rom.size(); ++i)
        store(m_rom[i], m.text(i));
    for (std::size_t i = 0; i < m_ee.size(); ++i)
        store(m_ee[i], m.text(m_rom.size() + i));
}

namespace {

// Where two byte-number arrays may differ in text: the first index at or after `i` whose numbers
// differ, or hold an odd slot (whose text the numbers alone do not tell). Runs of equal
// canonical numbers - nearly all of a memory - are skipped a block at a time.
std::size_t nextCandidate(const std::vector<std::uint16_t>& a, const std::vector<std::uint16_t>& b, std::size_t i,
                          std::size_t n, bool anyOdd)
{
    constexpr std::size_t kBlock = 64;
    if (!anyOdd)
        while (i + kBlock <= n && std::equal(a.begin() + static_cast<std::ptrdiff_t>(i),
                                             a.begin() + static_cast<std::ptrdiff_t>(i + kBlock),
                                             b.begin() + static_cast<std::ptrdiff_t>(i)))
            i += kBlock;
    while (i < n && a[i] == b[i] && a[i] < 256)
        ++i;
    return i;
}

} // namespace

std::vector<FirmwareImage::ByteChange> FirmwareImage::changedBytes(const Memory& before, const Memory& after)
{
    std::vector<ByteChange> changes;
    if (before.m_bytes == after.m_bytes)
        return changes;
    const std::size_t n = std::min(before.size(), after.size());
    const bool anyOdd = before.anyOdd() || after.anyOdd();
    for (std::size_t i = 0; i < n; ++i) {
        i = nextCandidate(before.m_bytes->codes, after.m_bytes->codes, i, n, anyOdd);
        if (i >= n)
            break;
        const std::string& a = before.text(i);
        const std::string& b = after.text(i);
        if (a == b)
            continue;
        const bool eeprom = i >= static_cast<std::size_t>(kRomSize);
        const int index = static_cast<int>(eeprom ? i - static_cast<std::size_t>(kRomSize) : i);
        changes.push_back({eeprom, index, a, b});
    }
    return changes;
}

bool operator==(const FirmwareImage::Memory& a, const FirmwareImage::Memory& b)
{
    if (a.m_bytes == b.m_bytes)
        return true;
    if (a.size() != b.size())
        return false;
    // Equal canonical numbers are equal texts; an odd slot number says nothing by itself.
    const std::size_t n = a.size();
    const bool anyOdd = a.anyOdd() || b.anyOdd();
    const auto& ac = a.m_bytes->codes;
    const auto& bc = b.m_bytes->codes;
    for (std::size_t i = nextCandidate(ac, bc, 0, n, anyOdd); i < n; i = nextCandidate(ac, bc, i + 1, n, anyOdd))
        if (a.text(i) != b.text(i))
            return false;
    return true;
}

void FirmwareImage::clearLines()
{
    for (auto& l : m_lines)
        l.clear();
}

int FirmwareImage::romWord(int word) const
{
    return HexByteValue(rom(2 * word)) + 256 * HexByteValue(rom(2 * word + 1));
}

void FirmwareImage::set_HexString(int i, const std::string& text)
{
    if (!inRange(i, kLineCapacity))
        return refuse(m_prompter,
                      strprintf("Error: schreiben HexString Bereichsüberschreitung (%i) in set_HexString", i));
    m_lines[static_cast<std::size_t>(i)] = text;
}

void FirmwareImage::set_HexString(int i, std::string&& text)
{
    if (!inRange(i, kLineCapacity))
        return refuse(m_prompter,
                      strprintf("Error: schreiben HexString Bereichsüberschreitung (%i) in set_HexString", i));
    m_lines[static_cast<std::size_t>(i)] = std::move(text);
}

std::string FirmwareImage::get_HexString(int i) const
{
    if (!inRange(i, kLineCapacity)) {
        refuse(m_prompter, strprintf("Error: lesen HexString Bereichsüberschreitung (%i) in get_HexString", i));
        return "error";
    }
    return m_lines[static_cast<std::size_t>(i)];
}

void FirmwareImage::set_Hex_ROM(int i, std::string_view text)
{
    if (!inRange(i, kRomSize))
        return refuse(m_prompter, strprintf("Error: schreiben HEX_ROM Bereichsüberschreitung (%i) in set_Hex_ROM", i));
    store(m_rom[static_cast<std::size_t>(i)], text);
}

std::string FirmwareImage::get_Hex_ROM(int i) const
{
    if (!inRange(i, kRomSize)) {
        refuse(m_prompter, strprintf("Error: lesen HEX_ROM Bereichsüberschreitung (%i) in get_Hex_ROM", i));
        return "error";
    }
    return rom(i);
}

void FirmwareImage::set_Hex_EE(int i, std::string_view text)
{
    if (!inRange(i, kEepromSize))
        return refuse(m_prompter, strprintf("Error: schreiben Hex_EE Bereichsüberschreitung (%i) in set_Hex_EE", i));
    store(m_ee[static_cast<std::size_t>(i)], text);
}

std::string FirmwareImage::get_Hex_EE(int i) const
{
    if (!inRange(i, kEepromSize)) {
        refuse(m_prompter, strprintf("Error: lesen Hex_EE Bereichsüberschreitung (%i) in get_Hex_EE", i));
        return "error";
    }
    return eeprom(i);
}

AddressRowStore::AddressRowStore(Prompter& prompter) : m_prompter(prompter) {}

void AddressRowStore::set_Adresse_hex(int i, const std::string& text)
{
    if (!inRange(i, kRows))
        return refuse(m_prompter,
                      strprintf("Error: schreiben Adresse Bereichsüberschreitung (%i) in set_Adresse_hex", i));
    m_hex[static_cast<std::size_t>(i)] = text;
}

std::string AddressRowStore::get_Adresse_hex(int i) const
{
    if (!inRange(i, kRows)) {
        refuse(m_prompter, strprintf("Error: lesen Adresse Bereichsüberschreitung (%i) in get_Adresse_hex", i));
        return "error";
    }
    return m_hex[static_cast<std::size_t>(i)];
}

void AddressRowStore::set_Adresse_hex_f(int i, const std::string& text)
{
    if (!inRange(i, kRows))
        return refuse(m_prompter,
                      strprintf("Error: schreiben Adresse F Bereichsüberschreitung (%i) in set_Adresse_hex_f", i));
    m_hexF[static_cast<std::size_t>(i)] = text;
}

std::string AddressRowStore::get_Adresse_hex_f(int i) const
{
    if (!inRange(i, kRows)) {
        refuse(m_prompter, strprintf("Error: lesen Adresse F Bereichsüberschreitung (%i) in get_Adresse_hex_f", i));
        return "error";
    }
    return m_hexF[static_cast<std::size_t>(i)];
}

void AddressRowStore::set_Adresse_dez(int i, int n)
{
    if (!inRange(i, kRows))
        return refuse(m_prompter, strprintf("Error: Bereichsüberschreitung (%d) in set_Adresse_dez", i));
    m_dez[static_cast<std::size_t>(i)] = n;
}

int AddressRowStore::get_Adresse_dez(int i) const
{
    if (!inRange(i, kRows)) {
        refuse(m_prompter, strprintf("Error: Bereichsüberschreitung (%d) in get_Adresse_dez", i));
        return -1;
    }
    return m_dez[static_cast<std::size_t>(i)];
}

void AddressRowStore::set_Adresse_dez2(int i, int n)
{
    if (!inRange(i, kRows))
        return refuse(m_prompter, strprintf("Error: Bereichsüberschreitung (%d) in set_Adresse_dez2", i));
    m_dez2[static_cast<std::size_t>(i)] = n;
}

int AddressRowStore::get_Adresse_dez2(int i) const
{
    if (!inRange(i, kRows)) {
        refuse(m_prompter, strprintf("Error: Bereichsüberschreitung (%d) in get_Adresse_dez2", i));
        return -1;
    }
    return m_dez2[static_cast<std::size_t>(i)];
}

} // namespace hz
