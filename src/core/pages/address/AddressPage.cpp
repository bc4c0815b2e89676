#include "core/pages/address/AddressPage.h"

#include "core/catalogue/CodeTables.h"
#include "core/firmware/HexText.h"

#include <algorithm>

namespace hz::pages {

AddressPage::AddressPage(FirmwareImage& image, AddressRowStore& rows, IdentificationState& state)
    : m_image(image), m_rows(rows), m_state(state)
{
    m_controls.reserve(4 * kRows);
    // Until the first layout every control stands at the group box's corner, hidden.
    auto make = [this](std::string name, ControlKind kind, int width, int height) -> Control& {
        Control c;
        c.name = std::move(name);
        c.kind = kind;
        c.visible = false;
        c.geometry = Rect{0, 0, width, height};
        return add(std::move(c));
    };
    for (int k = 0; k < kRows; ++k) {
        RowControls& r = m_row[static_cast<std::size_t>(k)];
        r.caption = m_controls.size();
        make(captionName(k), ControlKind::Label, 0, kCaptionHeight);
        r.address = m_controls.size();
        make(addressName(k), ControlKind::Edit, kAddressWidth, kAddressHeight);
        r.function = m_controls.size();
        make(functionName(k), ControlKind::Edit, kFunctionWidth, kFunctionHeight).hint = "Funktion Nummer";
        r.rg = m_controls.size();
        Control& button = make(rgName(k), ControlKind::Button, kRgWidth, kRgHeight);
        button.caption = "R/G";
        button.hint = "Wechsel zwischen ROTer und GRÜNer Adresse ";
        button.on<&AddressPage::toggleRedGreen>(k);
    }
}

std::string AddressPage::captionName(int row) { return "lbl_adr_" + std::to_string(row); }
std::string AddressPage::addressName(int row) { return "edt_adr_" + std::to_string(row); }
std::string AddressPage::functionName(int row) { return "edt_fkt_" + std::to_string(row); }
std::string AddressPage::rgName(int row) { return "btn_RG_" + std::to_string(row); }

const std::string& AddressPage::addressText(int row) const { return control(row, &RowControls::address).text; }
const std::string& AddressPage::functionText(int row) const { return control(row, &RowControls::function).text; }

std::vector<std::string> AddressPage::addressTexts() const
{
    std::vector<std::string> texts;
    for (int k = 0; k < kRows; ++k)
        texts.push_back(addressText(k));
    return texts;
}

std::vector<std::string> AddressPage::functionTexts() const
{
    std::vector<std::string> texts;
    for (int k = 0; k < kRows; ++k)
        texts.push_back(functionText(k));
    return texts;
}

bool AddressPage::rowOfField(const std::string& name, int& row, bool& functionField)
{
    for (const bool function : {false, true}) {
        const std::string prefix = function ? "edt_fkt_" : "edt_adr_";
        int k = 0;
        if (name.rfind(prefix, 0) == 0 && parseWholeNumber(name.substr(prefix.size()), k) && k >= 0 && k < kRows) {
            row = k;
            functionField = function;
            return true;
        }
    }
    return false;
}

int AddressPage::slotOf(int row)
{
    // The firmware keeps the codes of rows 0..15 in slots 0..15 and those of rows 16..30 in
    // slots 65..79 (slot 64 stays unused). The EEPROM has no room for more: rows from 31 on
    // have no slot of their own, and handing them a used slot would let one row's save
    // overwrite another row's address.
    if (row < 0 || row > 30)
        return -1;
    return row <= 15 ? row : 64 + (row - 15);
}

bool AddressPage::hasStorage(int row) { return slotOf(row) >= 0; }

namespace {

std::string byteAt(const FirmwareImage& img, int index) { return img.get_Hex_EE(index); }

// Value of a byte text as the table of the 256 texts "00".."FF" has it; 0 for any other text.
int tableValue(const std::string& text)
{
    return isHexByteText(text) && text == upperAscii(text) ? HexByteValue(text) : 0;
}

} // namespace

RowLayout LayoutAddressRows(int columnBreak, int gap, int widestCaption)
{
    constexpr int kAddressWidth = 40;
    RowLayout layout;
    layout.headerShown = columnBreak >= kAddressRows;
    int x = 5;
    int y = layout.headerShown ? 60 : 15;
    for (int k = 1; k < kAddressRows; ++k) {
        RowPlace& p = layout.places[static_cast<std::size_t>(k)];
        if (layout.headerShown) {
            const int right = widestCaption + 15 + kAddressWidth + 10;
            p = {5, y + 4, widestCaption + 15, y, right, y, right, y + 2};
            y += k == gap ? 35 : 25;
        } else {
            p = {x, y + 4, x + 100, y, x + 150, y, x + 150, y + 2};
            if (k == columnBreak) {
                y = 15;
                x += 200;
            } else {
                y += k == gap ? 35 : 25;
            }
        }
    }
    return layout;
}

void AddressPage::syncCaption(int row)
{
    Control& c = caption(row);
    const std::string& text = m_state.Captions[static_cast<std::size_t>(row)];
    setCaption(c, text);
    Rect r = c.geometry.value_or(Rect{});
    r.width = text.empty() ? 0 : textWidth(text);
    r.height = kCaptionHeight;
    setGeometry(c, r);
}

void AddressPage::layOut(int columnBreak, int gap)
{
    int widest = 0;
    for (int k = 0; k < kRows; ++k) {
        syncCaption(k);
        if (k > 0)
            widest = std::max(widest, caption(k).geometry->width);
    }
    const RowLayout layout = LayoutAddressRows(columnBreak, gap, widest);
    m_headerShown = layout.headerShown;
    auto moveTo = [this](Control& c, int x, int y) {
        Rect r = *c.geometry;
        r.left = x;
        r.top = y;
        setGeometry(c, r);
    };
    for (int k = 1; k < kRows; ++k) {
        const RowPlace& p = layout.places[static_cast<std::size_t>(k)];
        moveTo(caption(k), p.captionX, p.captionY);
        moveTo(address(k), p.addressX, p.addressY);
        moveTo(function(k), p.functionX, p.functionY);
        moveTo(rg(k), p.rgX, p.rgY);
    }
}

void AddressPage::showRows()
{
    const IdentificationState& id = m_state;
    for (int k = 0; k < kRows; ++k) {
        syncCaption(k);
        if (!id.hasCaption(k)) {
            for (Control* c : {&caption(k), &address(k), &function(k), &rg(k)})
                setVisible(*c, false);
            setHint(address(k), {});
            continue;
        }
        setVisible(caption(k), true);
        setVisible(address(k), true);
        // A row without EEPROM room of its own is neither loaded nor saved: show it, but
        // let nobody type an address that would go nowhere.
        const bool stored = hasStorage(k);
        setEnabled(address(k), stored);
        setEnabled(function(k), stored);
        setVisible(rg(k), id.RedGreen);
        setVisible(function(k), !id.RedGreen);
        setHint(address(k), AddressHint(k));
        setHint(function(k), FunctionHint(k));
    }
}

void AddressPage::hideAllRows()
{
    for (int k = 0; k < kRows; ++k)
        for (Control* c : {&caption(k), &address(k), &function(k), &rg(k)})
            setVisible(*c, false);
}

void AddressPage::colourRow(int row)
{
    Colour c = colours::White;
    if (m_state.RedGreen)
        c = RowState[static_cast<std::size_t>(row)] == 1 ? colours::Green : colours::Red;
    setBackground(address(row), c);
}

void AddressPage::colourRows()
{
    for (int k = 0; k < kRows; ++k)
        colourRow(k);
}

void AddressPage::clearRows()
{
    for (int k = 0; k < kRows; ++k) {
        setText(address(k), {});
        setText(function(k), {});
    }
    RowState.fill(0);
}

void AddressPage::restoreRows(const std::array<std::string, kRows>& address,
                              const std::array<std::string, kRows>& function, const std::array<int, kRows>& state)
{
    for (int k = 0; k < kRows; ++k) {
        setText(this->address(k), address[static_cast<std::size_t>(k)]);
        setText(this->function(k), function[static_cast<std::size_t>(k)]);
    }
    RowState = state;
    colourRows();
}

void AddressPage::DecodeRows(const std::function<void(int, int)>& progress)
{
    const IdentificationState& s = m_state;
    Prompter& p = m_image.prompter();
    for (int r = 0; r < kRows; ++r) {
        progress(32, r - 1);
        m_rows.set_Adresse_dez(r, kUndecoded);
        // A function code that names no function shows as 0, not as the number an earlier
        // file left in the row.
        m_rows.set_Adresse_dez2(r, 0);
        const int slot = slotOf(r);
        if (slot < 0)
            continue;
        const std::string e0 = byteAt(m_image, slot), e1 = byteAt(m_image, slot + 16), e2 = byteAt(m_image, slot + 32);

        if (s.RedGreen) {
            m_rows.set_Adresse_hex(r, e0 + e1 + e2);
        } else if (s.FunctionDecoder && s.DCC) {
            m_rows.set_Adresse_hex_f(r, e0);
        } else if (s.FunctionDecoder) {
            m_rows.set_Adresse_hex(r, e0 + e1);
            m_rows.set_Adresse_hex_f(r, e2);
        }

        const std::string code = m_rows.get_Adresse_hex(r);
        // Red/green rows: the table holds one half of each pair (Motorola: green, DCC: red),
        // the other half is derived from it.
        auto searchPair = [&](PairCode (*lookUp)(const std::string&), int tableState) {
            const PairCode found = lookUp(code);
            if (found.address < 0 || found.address > s.MaxAddress)
                return;
            m_rows.set_Adresse_dez(r, found.address);
            RowState[static_cast<std::size_t>(r)] = found.tableHalf ? tableState : 1 - tableState;
        };
        if (s.Mot && s.RedGreen) {
            searchPair(FindMotAccessoryPair, 1);
        } else if (s.DCC && s.RedGreen) {
            // Address 0 has no packet; the page stores it as 000000 and reads it back as 0.
            if (code == "000000") {
                m_rows.set_Adresse_dez(r, 0);
                RowState[static_cast<std::size_t>(r)] = 0;
            } else {
                searchPair(FindDccAccessoryPair, 0);
            }
        } else if (s.Mot && s.FunctionDecoder) {
            for (int n = 0; n <= s.MaxAddress; ++n) {
                const std::string& c = MotDecoderCodes(n);
                if (!c.empty() && code == c) {
                    m_rows.set_Adresse_dez(r, n);
                    break;
                }
            }
        }

        if (s.Mot && s.FunctionDecoder) {
            if (const int f = MotFunctionNumber(m_rows.get_Adresse_hex_f(r)))
                m_rows.set_Adresse_dez2(r, f);
        } else if (s.DCC && s.FunctionDecoder) {
            // DCC function decoders keep the function code, the low address byte and the high
            // address byte; the high byte of a long address carries the marker bits 11.
            const int low = tableValue(e1), high = tableValue(e2);
            m_rows.set_Adresse_dez(r, (high & 0x3F) * 256 + low);
            if (const int f = DccFunctionNumber(m_rows.get_Adresse_hex_f(r)))
                m_rows.set_Adresse_dez2(r, f);
        }

        if (!s.hasCaption(r))
            continue;
        const std::size_t i = static_cast<std::size_t>(r);
        if (m_rows.get_Adresse_dez(r) > s.MaxAddress) {
            setText(address(r), {});
            setText(function(r), {});
            p.tell(MsgKind::Warning,
                   strprintf("Ungültige Adresse für <%s> mit 0x%s", s.Captions[i].c_str(),
                             QuotedText(m_rows.get_Adresse_hex(r)).c_str()),
                   Buttons::Cancel);
            focusRequest = addressName(r);
        } else {
            setText(address(r), std::to_string(m_rows.get_Adresse_dez(r)));
            setText(function(r), std::to_string(m_rows.get_Adresse_dez2(r)));
        }
    }
    progress(32, 0);
}

bool AddressPage::ValidateRows()
{
    const IdentificationState& s = m_state;
    Prompter& p = m_image.prompter();
    auto refuse = [&](const char* format, int row, bool functionField) {
        p.tell(MsgKind::Warning, strprintf(format, s.Captions[static_cast<std::size_t>(row)].c_str()), Buttons::Cancel);
        focusRequest = functionField ? functionName(row) : addressName(row);
        return false;
    };
    auto validated = [&](int row) { return s.hasCaption(row) && hasStorage(row); };

    // One field: a whole number within 0..max, or its message and the focus.
    struct Messages {
        const char* invalid;
        const char* tooSmall;
        const char* tooLarge;
    };
    auto check = [&](const std::string& text, int max, int row, bool functionField, const Messages& m, int& value) {
        if (!parseWholeNumber(text, value))
            return refuse(m.invalid, row, functionField);
        if (functionField)
            m_rows.set_Adresse_dez2(row, value);
        else
            m_rows.set_Adresse_dez(row, value);
        if (value < 0)
            return refuse(m.tooSmall, row, functionField);
        if (value > max)
            return refuse(m.tooLarge, row, functionField);
        return true;
    };
    static const Messages functionMessages{"Ungültige Eingabe Funktion von <%s> ",
                                           "Funktions-Nummer für <%s> ist zu klein",
                                           "Funktions-Nummer für <%s> ist zu gross"};
    static const Messages addressMessages{"Ungültige Eingabe für <%s> ", "Adresse für <%s> ist zu klein",
                                          "Adresse für <%s> ist zu gross"};

    // Function numbers first: the firmware needs both halves of a function-decoder row, and
    // a wrong number is reported before any address.
    if (s.FunctionDecoder) {
        for (int j = 0; j < kRows; ++j) {
            int f = 0;
            if (!validated(j))
                continue;
            if (!check(functionText(j), s.MaxFunction, j, true, functionMessages, f))
                return false;
            // Function 0 has no code: the row keeps the function byte it has. That is right
            // for a byte that names no function (it reads back as 0), but a row holding a real
            // function would silently keep it - the 0 would not be saved.
            const std::string& code = m_rows.get_Adresse_hex_f(j);
            const int stored = s.Mot ? MotFunctionNumber(code) : DccFunctionNumber(code);
            if (f == 0 && stored != 0)
                return refuse(functionMessages.tooSmall, j, true);
        }
    }

    for (int i = 0; i < kRows; ++i) {
        if (!validated(i))
            continue;
        int n = 0;
        if (!check(addressText(i), s.MaxAddress, i, false, addressMessages, n))
            return false;
        // Motorola function decoders have codes for addresses 1..255 only; anything else
        // would leave part of the slot without a code.
        if (s.Mot && s.FunctionDecoder && !s.RedGreen && MotDecoderCodes(n).empty())
            return refuse("Adresse für <%s> ist im Mot-Format nicht möglich: Funktionsdekoder haben dort nur die "
                          "Adressen 1 bis 255",
                          i, false);
    }
    return true;
}

bool AddressPage::TypeRow(int row, const std::string& address, const std::string* function, const int* state,
                          std::string& error)
{
    const IdentificationState& s = m_state;
    if (s.NoAddressInput) {
        error = "Diese Firmware nimmt keine Adressen an.";
        return false;
    }
    if (!s.Mot && !s.DCC) {
        error = "In dieser Firmware wurde kein Adressformat erkannt (\"ohne\"): es gibt keine Adressen.";
        return false;
    }
    if (row < 1 || row >= kRows || !s.hasCaption(row)) {
        error = strprintf("Zeile %d gibt es bei diesem Dekoder nicht.", row);
        return false;
    }
    const auto i = static_cast<std::size_t>(row);
    if (!hasStorage(row)) {
        error = strprintf("Für Zeile %d <%s> hat die Firmware keinen Speicherplatz.", row, s.Captions[i].c_str());
        return false;
    }
    if (s.FunctionDecoder && !function) {
        error = strprintf("Zeile %d ist eine Funktionsdekoder-Zeile: sie braucht Adresse und Funktions-Nummer.", row);
        return false;
    }
    if (function && !s.FunctionDecoder) {
        error = strprintf("Zeile %d hat keine Funktions-Nummer.", row);
        return false;
    }
    if (state && !s.RedGreen) {
        error = strprintf("Zeile %d hat keine rote und grüne Adresse.", row);
        return false;
    }
    setText(this->address(row), address);
    if (function)
        setText(this->function(row), *function);
    if (state) {
        RowState[i] = *state == 1 ? 1 : 0;
        colourRow(row);
    }
    return true;
}

std::string AddressPage::AddressHint(int row) const
{
    const IdentificationState& s = m_state;
    if (!s.hasCaption(row))
        return {};
    if (!hasStorage(row))
        return "Für diese Position hält die Firmware keine Adresse bereit:\nsie wird weder gelesen noch gespeichert.";
    if (s.Mot && s.FunctionDecoder && !s.RedGreen)
        return "gültiger Adressbereich: 1 bis 255\n(Funktionsdekoder haben im Mot-Format nur diese Adressen)";
    return strprintf("gültiger Adressbereich: 1 bis %d\n'0' für unbenutzt (keine Reaktion auf irgendeinen Befehl)",
                     s.MaxAddress);
}

std::string AddressPage::FunctionHint(int row) const
{
    if (!m_state.hasCaption(row) || !hasStorage(row))
        return {};
    return strprintf("gültiger Bereich für die Funktions-Nummer: 1 bis %d", m_state.MaxFunction);
}

void AddressPage::EncodeRows()
{
    const IdentificationState& s = m_state;
    const auto& t = HexByteTexts();
    for (int k = 0; k < kRows; ++k) {
        if (!s.hasCaption(k) || !hasStorage(k))
            continue;
        const int n = m_rows.get_Adresse_dez(k);
        const int f = m_rows.get_Adresse_dez2(k);
        const bool green = RowState[static_cast<std::size_t>(k)] == 1;
        if (s.Mot && s.RedGreen) {
            const std::string& code = MotAccessoryCodes(n);
            m_rows.set_Adresse_hex(k, green ? code : MotRedVariant(code));
        } else if (s.DCC && s.RedGreen) {
            const std::string& code = DccAccessoryCodes(n);
            m_rows.set_Adresse_hex(k, green ? DccGreenVariant(code) : code);
        } else if (s.Mot && s.FunctionDecoder) {
            if (!MotFunctionCode(f).empty())
                m_rows.set_Adresse_hex_f(k, MotFunctionCode(f));
            m_rows.set_Adresse_hex(k, MotDecoderCodes(n) + m_rows.get_Adresse_hex_f(k));
        } else if (s.DCC && s.FunctionDecoder) {
            // Short addresses (up to 127) fit the low byte; longer ones use the two-byte form
            // whose first byte is 11AAAAAA.
            int high = n / 256;
            const int low = n - 256 * high;
            if (low > 127 || high > 0)
                high |= 0xC0;
            if (!DccFunctionCode(f).empty())
                m_rows.set_Adresse_hex_f(k, DccFunctionCode(f));
            m_rows.set_Adresse_hex(k, m_rows.get_Adresse_hex_f(k) + t[static_cast<std::size_t>(low & 0xFF)] +
                                          t[static_cast<std::size_t>(high & 0xFF)]);
        }
    }
}

void AddressPage::WriteRows()
{
    const IdentificationState& s = m_state;
    if (!s.FunctionDecoder && !s.RedGreen)
        return;
    for (int m = 0; m < kRows; ++m) {
        const int slot = slotOf(m);
        if (!s.hasCaption(m) || slot < 0)
            continue;
        std::string code = m_rows.get_Adresse_hex(m);
        if (code.empty())
            code = "000000";
        // Only whole byte texts reach the image; a code that is not three bytes of hex digits
        // cannot come out of validation and encoding, and is never written half.
        if (code.size() != 6 || !isHexDigits(code))
            continue;
        m_image.set_Hex_EE(slot, code.substr(0, 2));
        m_image.set_Hex_EE(slot + 16, code.substr(2, 2));
        m_image.set_Hex_EE(slot + 32, code.substr(4, 2));
    }
}

void AddressPage::toggleRedGreen(int row)
{
    int& state = RowState[static_cast<std::size_t>(row)];
    state = state == 0 ? 1 : 0;
    colourRow(row);
}

} // namespace hz::pages
