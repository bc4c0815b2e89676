#include "FuzzChecks.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <unistd.h>

#include "FirmwareBuilder.h"
#include "core/BatchPrompter.h"
#include "core/IniFile.h"
#include "core/Session.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/CodeTables.h"
#include "core/firmware/HexReader.h"
#include "core/firmware/HexRecord.h"
#include "core/firmware/HexText.h"
#include "core/firmware/HexWriter.h"
#include "core/inspect/HexCompare.h"
#include "core/pages/address/AddressPage.h"

namespace hz::fuzz {

using pages::AddressPage;

namespace {

// Answers as the command-line tool does: Ignore where Ignore is offered, Yes to a yes/no
// question, and for the standard configuration Yes only when asked to (`--default-config`).
// The command-line tool's answers (core/BatchPrompter), silent, remembering whether the load
// offered the standard configuration.
std::ostream& nowhere()
{
    static std::ostream stream(nullptr); // no buffer: every write is dropped
    return stream;
}

class BatchAnswers final : public BatchPrompter {
public:
    explicit BatchAnswers(bool defaultConfig) : BatchPrompter(nowhere(), defaultConfig) {}

    Answer ask(MsgKind kind, const std::string& text, Buttons buttons) override
    {
        if (buttons == Buttons::YesIgnore)
            askedForDefaultConfig = true;
        return BatchPrompter::ask(kind, text, buttons);
    }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> t;
        for (const auto& m : shown)
            t.push_back(m.text);
        return t;
    }
    std::string last() const { return shown.empty() ? std::string("(no message)") : shown.back().text; }

    bool askedForDefaultConfig = false;
};

// A text for an explanation: quoted, cut after 60 characters, line breaks visible.
std::string inQuotes(const std::string& text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < 60; ++i) {
        const char c = text[i];
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (static_cast<unsigned char>(c) < 0x20)
            out += strprintf("\\x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
        else
            out += c;
    }
    return out + (text.size() > 60 ? "...\"" : "\"");
}

std::string listing(const std::vector<std::string>& lines)
{
    std::string out;
    for (std::size_t i = 0; i < lines.size() && i < 24; ++i)
        out += "\n  " + lines[i];
    if (lines.size() > 24)
        out += strprintf("\n  ... %zu lines in all", lines.size());
    return out;
}

// The lines of a file's content, as the reader gets them from a file.
std::vector<std::string> fileLines(std::string_view content)
{
    return splitLines(std::string(content), FirmwareImage::kLineCapacity + 1);
}

// A scratch file of this process, for checks that need the file path of the reader.
std::string scratchFile()
{
    return (std::filesystem::temp_directory_path() / ("hz-fuzz-" + std::to_string(::getpid()) + ".hex")).string();
}

// Everything a loaded file shows the user and keeps for the save. Texts are compared as the
// image keeps them; the status bar's file name and the messages are left out.
std::string differences(const Session& a, const Session& b)
{
    std::vector<std::string> found;
    auto note = [&](std::string what) {
        if (found.size() < 8)
            found.push_back(std::move(what));
    };
    auto texts = [&](const char* what, int index, const std::string& x, const std::string& y) {
        if (x != y)
            note(strprintf(what, static_cast<unsigned>(index)) + ": " + inQuotes(x) + " / " + inQuotes(y));
    };
    for (int i = 0; i < FirmwareImage::kRomSize; ++i)
        texts("program byte 0x%04X", i, a.image.rom(i), b.image.rom(i));
    for (int i = 0; i < FirmwareImage::kEepromSize; ++i)
        texts("EEPROM byte 0x%02X", i, a.image.eeprom(i), b.image.eeprom(i));
    if (a.image.IdText != b.image.IdText)
        note("ID text " + inQuotes(a.image.IdText) + " / " + inQuotes(b.image.IdText));
    for (std::size_t k = 0; k < 4; ++k)
        texts("CONFIG %u", static_cast<int>(k + 1), a.image.ConfigWords[k], b.image.ConfigWords[k]);
    if (a.image.facts.versionText() != b.image.facts.versionText())
        note("firmware version " + inQuotes(a.image.facts.versionText()) + " / " +
             inQuotes(b.image.facts.versionText()));
    if (a.image.PicModel != b.image.PicModel)
        note(strprintf("PIC %d / %d", a.image.PicModel, b.image.PicModel));
    if (a.ident.Identifier != b.ident.Identifier)
        note(strprintf("identifier 0x%X / 0x%X", static_cast<unsigned>(a.ident.Identifier),
                       static_cast<unsigned>(b.ident.Identifier)));
    if (a.ident.Type != b.ident.Type)
        note("decoder type " + std::string(a.ident.Type ? a.ident.Type->Name : "(none)") + " / " +
             (b.ident.Type ? b.ident.Type->Name : "(none)"));
    for (std::size_t k = 0; k < 3; ++k)
        texts("status panel %u", static_cast<int>(k), a.statusTexts().text[k], b.statusTexts().text[k]);
    for (int r = 0; r < AddressPage::kRows; ++r) {
        if (!a.ident.hasCaption(r) && !b.ident.hasCaption(r))
            continue;
        const auto i = static_cast<std::size_t>(r);
        // The function field belongs to function-decoder rows and the R/G state to red/green
        // rows with an address; elsewhere the window does not show them.
        texts("address of row %u", r, a.addresses.addressText(r), b.addresses.addressText(r));
        if (a.ident.FunctionDecoder)
            texts("function of row %u", r, a.addresses.functionText(r), b.addresses.functionText(r));
        if (a.ident.RedGreen && AddressPage::hasStorage(r) && !a.addresses.addressText(r).empty() &&
            a.addresses.RowState[i] != b.addresses.RowState[i])
            note(strprintf("state of row %d: %d / %d", r, a.addresses.RowState[i], b.addresses.RowState[i]));
    }
    std::string out;
    for (const auto& f : found)
        out += (out.empty() ? "" : "; ") + f;
    return out;
}

// ---------------------------------------------------------------------------------------------
// load, load_save_load
// ---------------------------------------------------------------------------------------------

// Load, save, load the written lines, save them again. `askedForDefault` tells whether the
// load asked about the standard configuration.
std::string saveRoundTrip(std::string_view input, bool defaultConfig, bool& askedForDefault)
{
    const std::string policy = defaultConfig ? " [standard configuration accepted]" : "";
    BatchAnswers pa(defaultConfig);
    Session a(pa);
    if (a.LoadLines(fileLines(input), "a.hex") != LoadOutcome::Done)
        return {};
    askedForDefault = pa.askedForDefaultConfig;

    std::size_t before = pa.shown.size();
    if (!a.PrepareSave())
        return pa.shown.size() > before ? std::string() : "the save was refused without a message" + policy;
    const std::vector<std::string> written = builtLines(a.image);
    if (written.empty())
        return "the save went through but built no lines" + policy;
    for (std::size_t i = 0; i < written.size(); ++i)
        if (const std::string fault = lineFault(written[i]); !fault.empty())
            return strprintf("the save wrote a malformed line %zu: ", i + 1) + fault + policy;

    BatchAnswers pb(defaultConfig);
    Session b(pb);
    if (b.LoadLines(written, "b.hex") != LoadOutcome::Done)
        return "what the save wrote does not load" + policy + ": " + pb.last() + "\nwritten:" + listing(written);
    if (const std::string diff = differences(a, b); !diff.empty())
        return "what the save wrote says something else than what was saved" + policy + " (saved / written): " + diff +
               "\nwritten:" + listing(written);

    before = pb.shown.size();
    if (!b.PrepareSave())
        return "what the save wrote cannot be saved again" + policy + ": " +
               (pb.shown.size() > before ? pb.last() : std::string("(no message)")) + "\nwritten:" + listing(written);
    const std::vector<std::string> again = builtLines(b.image);
    if (again != written) {
        std::size_t i = 0;
        while (i < written.size() && i < again.size() && written[i] == again[i])
            ++i;
        return strprintf("saving what the save wrote gives other lines, from line %zu", i + 1) + policy +
               "\nfirst save:" + listing(written) + "\nsecond save:" + listing(again);
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// address_rows
// ---------------------------------------------------------------------------------------------

// The catalogue entries with at least one captioned row that has storage.
const std::vector<const DecoderType*>& typesWithRows()
{
    static const std::vector<const DecoderType*> types = [] {
        std::vector<const DecoderType*> out;
        for (const DecoderType& t : DecoderCatalogue())
            for (int r = 0; r < AddressPage::kRows; ++r)
                if (!t.Captions[static_cast<std::size_t>(r)].empty() && AddressPage::hasStorage(r)) {
                    out.push_back(&t);
                    break;
                }
        return out;
    }();
    return types;
}

// What a field text stands for, read without the program's parser: an optional sign and
// decimal digits.
struct Typed {
    bool number = false;
    bool negative = false; // a minus sign in front of a number other than 0
    std::string digits;    // without leading zeros; "0" for zero
};

Typed readTyped(const std::string& text)
{
    Typed t;
    std::size_t i = 0;
    bool minus = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        minus = text[0] == '-';
        i = 1;
    }
    if (i == text.size())
        return t;
    for (std::size_t k = i; k < text.size(); ++k)
        if (text[k] < '0' || text[k] > '9')
            return t;
    std::size_t first = i;
    while (first + 1 < text.size() && text[first] == '0')
        ++first;
    t.number = true;
    t.digits = text.substr(first);
    t.negative = minus && t.digits != "0";
    return t;
}

bool within(const Typed& t, int low, int high)
{
    if (!t.number || t.negative || t.digits.size() > 9)
        return false;
    const int v = std::stoi(t.digits);
    return v >= low && v <= high;
}

// The firmware's codes of address 1 (green) and function 1, so that every row starts as a
// row the page can show.
std::string firstAddressCode(bool mot, bool redGreen)
{
    const auto& t = HexByteTexts();
    if (redGreen)
        return mot ? MotAccessoryCodes(1) : DccGreenVariant(DccAccessoryCodes(1));
    if (mot)
        return MotDecoderCodes(1) + MotFunctionCode(1);
    return DccFunctionCode(1) + t[1] + t[0];
}

struct RowInput {
    std::optional<std::string> address, function, code;
    std::optional<int> state;
};

} // namespace

std::string lineFault(const std::string& line)
{
    // The reader's own rule for a well-formed record, the one that warns about damaged lines.
    switch (CheckRecord(line)) {
    case RecordDamage::None: return {};
    case RecordDamage::Characters: return "not a record: " + inQuotes(line);
    case RecordDamage::Length: return "length does not match RECLEN: " + inQuotes(line);
    case RecordDamage::Checksum: return "checksum: " + inQuotes(line);
    }
    return {};
}

std::string checkLoad(std::string_view input)
{
    // The window keeps one session for all the files it opens. An input with a line "#next"
    // is two files: the one before the line is loaded first, and the one after must then
    // load into that session as it loads into a fresh one.
    std::string_view previous, file = input;
    for (std::size_t at = 0; at < input.size();) {
        const std::size_t end = std::min(input.find_first_of("\r\n", at), input.size());
        if (input.substr(at, end - at) == "#next") {
            std::size_t next = end;
            if (next < input.size() && input[next] == '\r')
                ++next;
            if (next < input.size() && input[next] == '\n')
                ++next;
            previous = input.substr(0, at);
            file = input.substr(next);
            break;
        }
        at = end + 1;
    }

    BatchAnswers plain(false);
    Session s(plain);
    const LoadOutcome outcome = s.LoadLines(fileLines(file), "fuzz.hex");
    if (!previous.empty()) {
        BatchAnswers again(false);
        Session reused(again);
        reused.LoadLines(fileLines(previous), "previous.hex");
        again.shown.clear();
        if (reused.LoadLines(fileLines(file), "fuzz.hex") != outcome)
            return "after another file the file loads with another outcome: " + again.last();
        if (outcome == LoadOutcome::Done)
            if (const std::string diff = differences(s, reused); !diff.empty())
                return "after another file the file says something else (fresh / after the other): " + diff;
    }
    if (outcome != LoadOutcome::Done)
        return {};

    // Windows editors put a byte order mark in front of a UTF-8 text. It belongs to no record
    // and must change nothing. It is checked through a file, the way the window reads one.
    const std::string path = scratchFile();
    {
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        f << "\xEF\xBB\xBF" << file;
    }
    BatchAnswers marked(false);
    Session t(marked);
    const LoadOutcome withMark = t.LoadFile(path);
    std::remove(path.c_str());
    if (withMark != LoadOutcome::Done)
        return "behind a UTF-8 byte order mark the file does not load: " + marked.last();
    if (const std::string diff = differences(s, t); !diff.empty())
        return "behind a UTF-8 byte order mark the file says something else (without / with): " + diff;
    if (plain.texts() != marked.texts())
        return "behind a UTF-8 byte order mark the load shows other messages";
    return {};
}

std::string checkLoadSaveLoad(std::string_view input)
{
    bool asked = false;
    if (std::string failure = saveRoundTrip(input, false, asked); !failure.empty())
        return failure;
    // The same with the standard configuration taken where the load offered it.
    bool askedAgain = false;
    return asked ? saveRoundTrip(input, true, askedAgain) : std::string();
}

// Input: lines separated by LF.
//   first line   the number of the decoder type (counted over the types with address rows)
//                and the format: "m" in the line chooses Motorola (not for the 16F18324 types,
//                which are DCC only), else DCC; "p" puts the signature behind the common
//                prologue (word 35), "l" chooses the late DCC signature
//   "<row>a=TEXT"   typed into the address field of row <row> (0..47; larger numbers wrap)
//   "<row>f=TEXT"   typed into the function-number field
//   "<row>s=g"      the R/G state: "g" green, anything else red
//   "<row>c=XXXXXX" the row's three code bytes in the firmware as loaded (hex digits)
// Rows start with the code of address 1 (green, function 1).
std::string checkAddressRows(std::string_view input)
{
    const auto& types = typesWithRows();
    std::vector<std::string> lines;
    {
        std::size_t start = 0;
        while (start <= input.size()) {
            const std::size_t end = std::min(input.find('\n', start), input.size());
            lines.emplace_back(input.substr(start, end - start));
            start = end + 1;
        }
    }
    const std::string& head = lines[0];
    std::size_t number = 0;
    for (char c : head)
        if (c >= '0' && c <= '9')
            number = (number * 10 + static_cast<std::size_t>(c - '0')) % 1000003;
    const DecoderType& type = *types[number % types.size()];
    const bool mot = head.find('m') != std::string::npos && type.PicModel != 18324;
    int w8 = mot ? test::kMotW8 : test::kDccW8, w35 = -1;
    if (head.find('p') != std::string::npos) {
        w35 = w8;
        w8 = test::kPrologueW8;
    } else if (!mot && head.find('l') != std::string::npos) {
        w8 = test::kDccW8Late;
    }

    std::array<RowInput, AddressPage::kRows> typed{};
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const std::string& l = lines[k];
        std::size_t i = 0;
        int row = 0;
        while (i < l.size() && l[i] >= '0' && l[i] <= '9')
            row = (row * 10 + (l[i++] - '0')) % 4800;
        if (i == 0 || i + 1 >= l.size() || l[i + 1] != '=')
            continue;
        RowInput& in = typed[static_cast<std::size_t>(row % AddressPage::kRows)];
        const std::string text = l.substr(i + 2);
        switch (l[i]) {
        case 'a': in.address = text; break;
        case 'f': in.function = text; break;
        case 's': in.state = !text.empty() && (text[0] == 'g' || text[0] == 'G') ? 1 : 0; break;
        case 'c':
            if (text.size() == 6 && isHexDigits(text))
                in.code = upperAscii(text);
            break;
        default: break;
        }
    }

    test::FirmwareBuilder fw;
    fw.f18324 = type.PicModel == 18324;
    fw.identifier(type.Identifier);
    fw.signature(w8, w35);
    const std::string firstCode = firstAddressCode(mot, type.RedGreen);
    for (int r = 0; r < AddressPage::kRows; ++r) {
        const auto i = static_cast<std::size_t>(r);
        if (!type.Captions[i].empty() && AddressPage::hasStorage(r))
            fw.code(AddressPage::slotOf(r), typed[i].code.value_or(firstCode));
    }
    const std::string where =
        strprintf("%s (0x%X, %s): ", type.Name.c_str(), static_cast<unsigned>(type.Identifier), mot ? "Mot" : "DCC");

    BatchAnswers pa(false);
    Session a(pa);
    if (a.LoadLines(fw.lines(), "rows.hex") != LoadOutcome::Done)
        return where + "the firmware built for the rows does not load: " + pa.last();
    const IdentificationState& id = a.ident;
    if (id.Mot != mot || id.DCC == mot)
        return where + "the firmware was not given the address format it was built with";

    for (int r = 0; r < AddressPage::kRows; ++r) {
        const auto i = static_cast<std::size_t>(r);
        if (typed[i].address)
            a.addresses.userText(AddressPage::addressName(r), *typed[i].address);
        if (typed[i].function)
            a.addresses.userText(AddressPage::functionName(r), *typed[i].function);
        if (typed[i].state)
            a.addresses.RowState[i] = *typed[i].state;
    }

    // What validation has to decide, worked out here from the firmware's ranges: Motorola
    // accessory addresses 0..320, DCC accessory addresses 0..2044, DCC decoder addresses
    // 0..16128, Motorola decoder addresses 1..255; functions 1..4 (Motorola) or 1..12 (DCC).
    // A function number 0 names no function code: the save may refuse it, or keep it as 0.
    const bool motDecoder = mot && id.FunctionDecoder && !id.RedGreen;
    const int maxAddress = motDecoder ? 255 : mot ? 320 : id.RedGreen ? 2044 : 16128;
    const int minAddress = motDecoder ? 1 : 0;
    const int maxFunction = mot ? 4 : 12;
    std::string invalid, functionZero;
    for (int r = 0; r < AddressPage::kRows; ++r) {
        if (!id.hasCaption(r) || !AddressPage::hasStorage(r))
            continue;
        if (id.FunctionDecoder) {
            const Typed f = readTyped(a.addresses.functionText(r));
            if (within(f, 0, 0))
                functionZero = strprintf("row %d", r);
            else if (!within(f, 1, maxFunction) && invalid.empty())
                invalid = strprintf("function of row %d: %s", r, inQuotes(a.addresses.functionText(r)).c_str());
        }
        if (!within(readTyped(a.addresses.addressText(r)), minAddress, maxAddress) && invalid.empty())
            invalid = strprintf("address of row %d: %s", r, inQuotes(a.addresses.addressText(r)).c_str());
    }

    const FirmwareImage loaded = a.image;
    const std::size_t before = pa.shown.size();
    if (!a.PrepareSave()) {
        if (pa.shown.size() == before)
            return where + "the save was refused without a message";
        if (invalid.empty() && functionZero.empty())
            return where + "valid rows were refused: " + pa.last();
        return {};
    }
    if (!invalid.empty())
        return where + "the save accepted an invalid field, " + invalid;

    BatchAnswers pb(false);
    Session b(pb);
    if (b.LoadLines(builtLines(a.image), "back.hex") != LoadOutcome::Done)
        return where + "the saved rows do not load: " + pb.last();

    for (int r = 0; r < AddressPage::kRows; ++r) {
        const auto i = static_cast<std::size_t>(r);
        if (!id.hasCaption(r) || !AddressPage::hasStorage(r))
            continue;
        const std::string address = readTyped(a.addresses.addressText(r)).digits;
        if (b.addresses.addressText(r) != address)
            return where + strprintf("row %d was saved as %s and loads back as %s", r,
                                     inQuotes(a.addresses.addressText(r)).c_str(),
                                     inQuotes(b.addresses.addressText(r)).c_str());
        if (id.FunctionDecoder) {
            const std::string function = readTyped(a.addresses.functionText(r)).digits;
            if (function == "0" && b.addresses.functionText(r) != function)
                return where + strprintf("function 0 was accepted for row %d, which loads back with function %s", r,
                                         inQuotes(b.addresses.functionText(r)).c_str());
            if (b.addresses.functionText(r) != function)
                return where + strprintf("the function of row %d was saved as %s and loads back as %s", r,
                                         inQuotes(a.addresses.functionText(r)).c_str(),
                                         inQuotes(b.addresses.functionText(r)).c_str());
        }
        if (id.RedGreen) {
            // DCC has no packet for address 0: the page stores it as 000000, which reads as red.
            const int state = !mot && address == "0" ? 0 : a.addresses.RowState[i];
            if (b.addresses.RowState[i] != state)
                return where + strprintf("the state of row %d (address %s) was saved as %d and loads back as %d", r,
                                         address.c_str(), a.addresses.RowState[i], b.addresses.RowState[i]);
        }
    }
    // No byte outside the slots of the captioned rows changes.
    for (int e = 0; e < FirmwareImage::kEepromSize; ++e) {
        bool owned = false;
        for (int r = 0; r < AddressPage::kRows && !owned; ++r) {
            const int s = AddressPage::slotOf(r);
            owned = id.hasCaption(r) && s >= 0 && (e == s || e == s + 16 || e == s + 32);
        }
        if (!owned && b.image.eeprom(e) != loaded.eeprom(e))
            return where + strprintf("EEPROM byte 0x%02X, owned by no captioned row, changed from %s to %s",
                                     static_cast<unsigned>(e), inQuotes(loaded.eeprom(e)).c_str(),
                                     inQuotes(b.image.eeprom(e)).c_str());
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// settings
// ---------------------------------------------------------------------------------------------

namespace {

bool sameNameAscii(const std::string& a, const std::string& b) { return upperAscii(a) == upperAscii(b); }

// A settings file as the save writes it: every line followed by CR LF.
std::string asWritten(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& l : lines)
        text += l + "\r\n";
    return text;
}

std::string trimmed(const std::string& s)
{
    const std::size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos)
        return {};
    return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

// Section and key names that may be asked for: whatever stands between brackets or before an
// equals sign in some line, and the names the program itself uses.
struct Names {
    std::vector<std::string> sections{"ReloadFile", "Raster", "Window"};
    std::vector<std::string> keys{"LastFileName_HEX", "x", "y", "Width", "Top", "Left"};
};

Names namesIn(const std::vector<std::string>& lines)
{
    Names n;
    auto add = [](std::vector<std::string>& to, const std::string& name) {
        if (to.size() < 40 && std::find(to.begin(), to.end(), name) == to.end())
            to.push_back(name);
    };
    for (const auto& line : lines) {
        const std::string t = trimmed(line);
        const std::size_t close = t.find(']');
        if (!t.empty() && t[0] == '[' && close != std::string::npos)
            add(n.sections, trimmed(t.substr(1, close - 1)));
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            add(n.keys, trimmed(line.substr(0, eq)));
    }
    return n;
}

// The first (section, key) whose value differs between the two files.
std::string valueDifference(const IniFile& a, const IniFile& b, const Names& names)
{
    for (const auto& s : names.sections)
        for (const auto& k : names.keys) {
            const auto x = a.value(s, k), y = b.value(s, k);
            if (x != y)
                return "[" + s + "] " + k + ": " + (x ? inQuotes(*x) : "(none)") + " / " +
                       (y ? inQuotes(*y) : "(none)");
        }
    return {};
}

std::string firstLineDifference(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    return strprintf("line %zu: ", i + 1) + (i < a.size() ? inQuotes(a[i]) : "(none)") + " / " +
           (i < b.size() ? inQuotes(b[i]) : "(none)");
}

// Writes `file`, reads the text again and compares lines and values.
std::string rereads(const IniFile& file, const Names& names, const char* stage)
{
    const std::vector<std::string> lines = file.lines();
    IniFile again;
    again.parse(asWritten(lines));
    if (again.lines() != lines)
        return std::string(stage) + ": the written file reads as other lines (written / read), " +
               firstLineDifference(lines, again.lines());
    if (const std::string diff = valueDifference(file, again, names); !diff.empty())
        return std::string(stage) + ": a value reads differently after the write (written / read), " + diff;
    return {};
}

} // namespace

std::string checkSettings(std::string_view input)
{
    IniFile file;
    file.parse(input);
    const Names names = namesIn(file.lines());
    if (std::string failure = rereads(file, names, "as read"); !failure.empty())
        return failure;

    // The program writes the last file name; a path may hold any character but the line break.
    const std::string value(input.substr(0, std::min(input.find('\n'), input.size())));
    const IniFile before = file;
    file.setValue("ReloadFile", "LastFileName_HEX", value);
    if (file.value("ReloadFile", "LastFileName_HEX") != value)
        return "after setting [ReloadFile] LastFileName_HEX to " + inQuotes(value) + " it reads " +
               inQuotes(file.value("ReloadFile", "LastFileName_HEX").value_or("(none)"));
    for (const auto& s : names.sections)
        for (const auto& k : names.keys)
            if (!(sameNameAscii(s, "ReloadFile") && sameNameAscii(k, "LastFileName_HEX")) &&
                before.value(s, k) != file.value(s, k))
                return "setting [ReloadFile] LastFileName_HEX changed [" + s + "] " + k;
    return rereads(file, names, "after setting a value");
}

// ---------------------------------------------------------------------------------------------
// compare
// ---------------------------------------------------------------------------------------------

namespace {

std::size_t countStarting(const std::vector<std::string>& lines, const char* prefix)
{
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [prefix](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

// A report agrees with its counts: one line per difference of each kind, and the summary
// exactly when every line was compared.
std::string reportFault(const CompareReport& r)
{
    const bool done = r.outcome == CompareReport::Outcome::Done;
    const std::string eeSummary = strprintf("%4i gefundene Unterschiede im EEprom", r.EeDiffCount);
    if (done != (!r.eeprom.empty() && r.eeprom.back() == eeSummary))
        return done ? "the comparison went through without its summary" : "a stopped comparison has a summary";
    if (countStarting(r.eeprom, "EE") != static_cast<std::size_t>(r.EeDiffCount))
        return strprintf("%d EEPROM differences counted, other lines reported", r.EeDiffCount);
    if (countStarting(r.rom, "$") != static_cast<std::size_t>(r.RomDiffCount))
        return strprintf("%d program differences counted, other lines reported", r.RomDiffCount);
    if (countStarting(r.rom, "ID: ") != static_cast<std::size_t>(r.IdDiffCount))
        return strprintf("%d ID differences counted, other lines reported", r.IdDiffCount);
    if (countStarting(r.rom, "CONFIG") != static_cast<std::size_t>(r.ConfigDiffCount))
        return strprintf("%d CONFIG differences counted, other lines reported", r.ConfigDiffCount);
    return {};
}

std::vector<std::string> allLines(std::string_view content)
{
    return splitLines(std::string(content), static_cast<std::size_t>(-1));
}

} // namespace

std::string checkCompare(std::string_view input)
{
    // Against a fixed classic firmware: a consistent report, and file 1 untouched.
    {
        test::FirmwareBuilder fw;
        fw.identifier(0x0208).signature(test::kDccW8).code(0, "030000");
        BatchAnswers p(false);
        Session s(p);
        s.LoadLines(fw.lines(), "file1.hex");
        const FirmwareImage::Memory memory = s.image.memory();
        const std::string id = s.image.IdText;
        const auto config = s.image.ConfigWords;
        const CompareReport r = HexComparison(s.image, p).CompareWithLines(allLines(input), "file2.hex");
        if (std::string fault = reportFault(r); !fault.empty())
            return "against a fixed firmware: " + fault;
        if (!(s.image.memory() == memory) || s.image.IdText != id || s.image.ConfigWords != config)
            return "the comparison changed file 1";
        if (r.outcome != CompareReport::Outcome::Done && p.shown.empty())
            return "the comparison stopped without a message";
    }
    // What the save of a loaded file writes compares equal to the image it was written from.
    BatchAnswers pa(false);
    Session a(pa);
    if (a.LoadLines(fileLines(input), "a.hex") != LoadOutcome::Done || !a.PrepareSave())
        return {};
    const std::vector<std::string> written = builtLines(a.image);
    const std::size_t before = pa.shown.size();
    const CompareReport self = HexComparison(a.image, pa).CompareWithLines(written, "written.hex");
    if (std::string fault = reportFault(self); !fault.empty())
        return "against its own save: " + fault;
    if (self.outcome != CompareReport::Outcome::Done)
        return "the comparison with what the save wrote stopped: " +
               (pa.shown.size() > before ? pa.last() : std::string("(no message)")) + "\nwritten:" + listing(written);
    if (self.differs()) {
        std::string lines;
        for (const auto& l : self.eeprom)
            lines += "\n  " + l;
        for (const auto& l : self.rom)
            lines += "\n  " + l;
        return "what the save wrote differs from the image it was written from:" + lines +
               "\nwritten:" + listing(written);
    }
    return {};
}

const std::vector<Target>& targets()
{
    static const std::vector<Target> all{
        {"load", &checkLoad},
        {"load_save_load", &checkLoadSaveLoad},
        {"address_rows", &checkAddressRows},
        {"settings", &checkSettings},
        {"compare", &checkCompare},
    };
    return all;
}

} // namespace hz::fuzz
