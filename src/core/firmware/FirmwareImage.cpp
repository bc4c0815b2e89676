#include "firmware/FirmwareImage.h"

#include "firmware/HexText.h"

namespace hz {

namespace {

bool inRange(int i, int size) { return i >= 0 && i < size; }

void refuse(Prompter& p, const std::string& text) { p.tell(MsgKind::Warning, text, Buttons::Ok); }

} // namespace

FirmwareImage::FirmwareImage(Prompter& prompter)
    : m_prompter(prompter), m_lines(kLineCapacity), m_rom(kRomSize), m_ee(kEepromSize)
{
    resetMemory();
}

void FirmwareImage::resetMemory()
{
    for (std::size_t i = 0; i < m_rom.size(); ++i)
        m_rom[i] = (i % 2 == 0) ? "FF" : "3F";
    for (auto& b : m_ee)
        b = "FF";
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
        return refuse(m_prompter, strprintf("Error: schreiben HexString Bereichsüberschreitung (%i) in set_HexString", i));
    m_lines[static_cast<std::size_t>(i)] = text;
}

std::string FirmwareImage::get_HexString(int i) const
{
    if (!inRange(i, kLineCapacity)) {
        refuse(m_prompter, strprintf("Error: lesen HexString Bereichsüberschreitung (%i) in get_HexString", i));
        return "error";
    }
    return m_lines[static_cast<std::size_t>(i)];
}

void FirmwareImage::set_Hex_ROM(int i, const std::string& text)
{
    if (!inRange(i, kRomSize))
        return refuse(m_prompter, strprintf("Error: schreiben HEX_ROM Bereichsüberschreitung (%i) in set_Hex_ROM", i));
    m_rom[static_cast<std::size_t>(i)] = text;
}

std::string FirmwareImage::get_Hex_ROM(int i) const
{
    if (!inRange(i, kRomSize)) {
        refuse(m_prompter, strprintf("Error: lesen HEX_ROM Bereichsüberschreitung (%i) in get_Hex_ROM", i));
        return "error";
    }
    return m_rom[static_cast<std::size_t>(i)];
}

void FirmwareImage::set_Hex_EE(int i, const std::string& text)
{
    if (!inRange(i, kEepromSize))
        return refuse(m_prompter, strprintf("Error: schreiben Hex_EE Bereichsüberschreitung (%i) in set_Hex_EE", i));
    m_ee[static_cast<std::size_t>(i)] = text;
}

std::string FirmwareImage::get_Hex_EE(int i) const
{
    if (!inRange(i, kEepromSize)) {
        refuse(m_prompter, strprintf("Error: lesen Hex_EE Bereichsüberschreitung (%i) in get_Hex_EE", i));
        return "error";
    }
    return m_ee[static_cast<std::size_t>(i)];
}

AddressRowStore::AddressRowStore(Prompter& prompter) : m_prompter(prompter) {}

void AddressRowStore::set_Adresse_hex(int i, const std::string& text)
{
    if (!inRange(i, kRows))
        return refuse(m_prompter, strprintf("Error: schreiben Adresse Bereichsüberschreitung (%i) in set_Adresse_hex", i));
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
        return refuse(m_prompter, strprintf("Error: schreiben Adresse F Bereichsüberschreitung (%i) in set_Adresse_hex_f", i));
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
