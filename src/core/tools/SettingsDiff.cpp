#include "core/tools/SettingsDiff.h"

#include <algorithm>
#include <cstddef>

#include "core/firmware/HexText.h"
#include "core/tools/PageValues.h"
#include "core/tools/RowReport.h"

namespace hz::tools {

namespace {

using Opt = std::optional<std::string>;

void add(std::vector<Difference>& out, const char* where, std::string name, std::string caption, const Opt& a,
         const Opt& b)
{
    if (a != b)
        out.push_back({where, std::move(name), std::move(caption), a, b});
}

// What a captioned row of the address page holds; nothing for a row without caption.
struct RowValues {
    Opt caption, address, rg, function;
};

RowValues rowValues(const Session& s, int row)
{
    RowValues v;
    const IdentificationState& id = s.ident;
    if (!id.hasCaption(row))
        return v;
    const auto i = static_cast<std::size_t>(row);
    v.caption = id.Captions[i];
    if (!pages::AddressPage::hasStorage(row))
        return v;
    v.address = s.addresses.addressText(row);
    if (id.RedGreen)
        v.rg = s.addresses.RowState[i] == 1 ? "green" : "red";
    else if (id.FunctionDecoder)
        v.function = s.addresses.functionText(row);
    return v;
}

void diffRows(std::vector<Difference>& out, const Session& a, const Session& b)
{
    for (int r = 1; r < pages::AddressPage::kRows; ++r) {
        const RowValues va = rowValues(a, r), vb = rowValues(b, r);
        if (!va.caption && !vb.caption)
            continue;
        const std::string caption = va.caption ? *va.caption : *vb.caption;
        const std::string n = std::to_string(r);
        add(out, "row", n + ":caption", caption, va.caption, vb.caption);
        add(out, "row", n + ":address", caption, va.address, vb.address);
        add(out, "row", n + ":rg", caption, va.rg, vb.rg);
        add(out, "row", n + ":function", caption, va.function, vb.function);
    }
}

std::string joined(const std::vector<int>& v, std::size_t from, std::size_t to)
{
    std::string s;
    for (std::size_t k = from; k < to; ++k)
        s += (k > from ? " " : "") + std::to_string(v[k]);
    return s;
}

// Runs of differing entries within [first, end) of two working copies of equal size.
void diffStretch(std::vector<Difference>& out, const std::string& prefix, const std::string& caption,
                 const std::vector<int>& a, const std::vector<int>& b, std::size_t first, std::size_t end)
{
    for (std::size_t k = first; k < end;) {
        if (a[k] == b[k]) {
            ++k;
            continue;
        }
        std::size_t last = k;
        while (last + 1 < end && a[last + 1] != b[last + 1])
            ++last;
        const std::size_t i = k - first, j = last - first;
        const std::string at = i == j ? strprintf("[%zu]", i) : strprintf("[%zu..%zu]", i, j);
        out.push_back({"data", prefix + at, caption, joined(a, k, last + 1), joined(b, k, last + 1)});
        k = last + 1;
    }
}

void diffData(std::vector<Difference>& out, const pages::Page& pa, const pages::Page& pb)
{
    const std::vector<int> a = pa.data(), b = pb.data();
    if (a.empty() && b.empty())
        return;
    const std::string frame = pa.objectName();
    if (a.size() != b.size()) {
        add(out, "data", frame + ":count", "Umfang der Arbeitskopie", std::to_string(a.size()),
            std::to_string(b.size()));
        out.back().label = pa.dataName() + ": Anzahl Werte";
        return;
    }
    std::vector<pages::DataPart> parts = pa.dataParts();
    if (parts.empty())
        parts.push_back({"", 0, static_cast<int>(a.size())});
    for (const pages::DataPart& part : parts) {
        const std::size_t first = static_cast<std::size_t>(std::clamp(part.first, 0, static_cast<int>(a.size())));
        const std::size_t end =
            static_cast<std::size_t>(std::clamp(part.first + part.count, part.first, static_cast<int>(a.size())));
        const std::size_t before = out.size();
        diffStretch(out, part.name.empty() ? frame : frame + ":" + part.name, part.name, a, b, first, end);
        // A copy without parts is named as the page names its table, with the entries.
        for (std::size_t k = before; k < out.size(); ++k)
            if (part.name.empty())
                out[k].label = pa.dataName() + out[k].name.substr(out[k].name.find('['));
    }
}

} // namespace

std::string TypeText(const DecoderSummary& s)
{
    return s.type ? *s.type : strprintf("nicht erkannt (0x%X)", static_cast<unsigned>(s.identifier));
}

DecoderSummary Summarise(const Session& s)
{
    DecoderSummary d;
    if (s.ident.Type)
        d.type = s.ident.Type->Name;
    d.identifier = s.ident.Identifier;
    d.version = s.image.facts.versionText();
    d.pic = s.image.PicModel;
    d.format = s.ident.formatText();
    return d;
}

std::vector<Difference> DiffPages(const pages::Page& a, const pages::Page& b)
{
    std::vector<Difference> out;
    // Settings of A, in A's order, then those only B has.
    for (const pages::Control& ca : a.controls()) {
        if (!HoldsSetting(ca))
            continue;
        const pages::Control* cb = b.find(ca.name);
        const bool shownA = ControlShown(a, ca);
        const bool shownB = cb && HoldsSetting(*cb) && ControlShown(b, *cb);
        if (!shownA && !shownB)
            continue;
        const std::size_t before = out.size();
        add(out, "page", ca.name, ControlCaption(shownA ? a : b, shownA ? ca : *cb),
            shownA ? Opt(SettingText(ca)) : std::nullopt, shownB ? Opt(SettingText(*cb)) : std::nullopt);
        if (out.size() > before) {
            out.back().label = SettingName(shownA ? a : b, shownA ? ca : *cb);
            out.back().yesNo = ca.kind == pages::ControlKind::Check || ca.kind == pages::ControlKind::Radio;
        }
    }
    for (const pages::Control& cb : b.controls())
        if (HoldsSetting(cb) && ControlShown(b, cb) && !a.find(cb.name)) {
            out.push_back({"page", cb.name, ControlCaption(b, cb), std::nullopt, SettingText(cb)});
            out.back().label = SettingName(b, cb);
            out.back().yesNo = cb.kind == pages::ControlKind::Check || cb.kind == pages::ControlKind::Radio;
        }
    diffData(out, a, b);
    return out;
}

namespace {

// A byte a page corrected when it was shown reads the same on both sides afterwards, whatever
// the files hold: a file and the one a save wrote from it would look alike. Such bytes are
// compared as the files store them.
void diffCorrectedBytes(std::vector<Difference>& out, const Session& a, const Session& b)
{
    std::vector<std::pair<std::pair<bool, int>, std::string>> bytes; // (eeprom, index), reason
    for (const Session* s : {&a, &b})
        for (const hz::LoadCorrection& k : s->loadCorrections) {
            const std::pair<bool, int> at{!k.change.eeprom, k.change.index}; // program memory sorts first
            bool known = false;
            for (const auto& seen : bytes)
                known = known || seen.first == at;
            if (!known)
                bytes.push_back({at, k.reason});
        }
    std::sort(bytes.begin(), bytes.end());
    for (const auto& [at, reason] : bytes) {
        const bool eeprom = !at.first;
        auto stored = [&, index = at.second](const Session& s) {
            return hz::ByteValue(eeprom ? s.storedMemory().eepromText(index) : s.storedMemory().romText(index));
        };
        add(out, "stored", hz::ByteLocation(eeprom, at.second), reason, Opt(stored(a)), Opt(stored(b)));
    }
}

} // namespace

std::vector<Difference> DiffSessions(const Session& a, const Session& b)
{
    std::vector<Difference> out;
    const DecoderSummary sa = Summarise(a), sb = Summarise(b);
    add(out, "type", "type", "Typ", TypeText(sa), TypeText(sb));
    add(out, "type", "version", "Version", sa.version, sb.version);
    add(out, "type", "pic", "PIC", std::to_string(sa.pic), std::to_string(sb.pic));
    add(out, "type", "format", "Adressformat", sa.format, sb.format);

    diffRows(out, a, b);

    const auto& pagesA = a.pages.shown();
    const auto& pagesB = b.pages.shown();
    auto findFrame = [](const std::vector<pages::Page*>& in, const pages::Page& p) -> const pages::Page* {
        for (const pages::Page* q : in)
            if (std::string(q->objectName()) == p.objectName())
                return q;
        return nullptr;
    };
    for (const pages::Page* pa : pagesA) {
        if (const pages::Page* pb = findFrame(pagesB, *pa)) {
            for (Difference& d : DiffPages(*pa, *pb)) {
                d.page = pa->objectName();
                out.push_back(std::move(d));
            }
        } else {
            out.push_back(
                {"page", pa->objectName(), "Seite", std::string(pa->frameName()), std::nullopt, pa->objectName()});
        }
    }
    for (const pages::Page* pb : pagesB)
        if (!findFrame(pagesA, *pb))
            out.push_back(
                {"page", pb->objectName(), "Seite", std::nullopt, std::string(pb->frameName()), pb->objectName()});

    for (std::size_t k = 0; k < 4; ++k) {
        auto word = [k](const Session& s) {
            return s.image.ConfigPresent[k] ? Opt(s.image.ConfigWords[k]) : std::nullopt;
        };
        add(out, "config", strprintf("CONFIG%zu", k + 1), strprintf("Konfigurationswort %zu", k + 1), word(a), word(b));
    }
    auto id = [](const Session& s) { return s.image.IdFound ? Opt(s.image.IdText) : std::nullopt; };
    add(out, "id", "ID", "ID-Wörter", id(a), id(b));
    diffCorrectedBytes(out, a, b);
    return out;
}

namespace {

std::string rowField(const Difference& d) { return d.name.substr(d.name.find(':') + 1); }

} // namespace

std::string DifferenceValue(const Difference& d, const std::optional<std::string>& v)
{
    if (!v)
        return "(fehlt)";
    if (v->empty())
        return "(leer)";
    // The red/green state is kept as an identifier ("green", "red"); the reader gets the word.
    if (d.where == "row" && rowField(d) == "rg")
        return *v == "green" ? "grün" : "rot";
    if (d.yesNo)
        return ReadableValue(pages::ControlKind::Check, *v);
    // A page only one file shows: its frame's class stands for "shown".
    if (d.where == "page" && !d.page.empty() && d.name == d.page)
        return "gezeigt";
    return *v;
}

std::string DescribeDifference(const Difference& d)
{
    std::string what;
    if (d.where == "row") {
        what = DifferenceSetting(d);
    } else if (d.where == "stored") {
        what = "In der Datei " + d.name + " <" + d.caption + ">";
    } else if (d.where == "page" || d.where == "data") {
        what = DifferenceSetting(d);
    } else {
        what = d.caption;
    }
    return what + ": " + DifferenceValue(d, d.a) + " → " + DifferenceValue(d, d.b);
}

std::string DifferenceArea(const Difference& d)
{
    if (d.where == "type")
        return "Dekoder";
    if (d.where == "row")
        return "Adresszeilen";
    if (d.where == "page" || d.where == "data")
        return d.page.empty() ? std::string("Seite") : PageTitle(d.page);
    if (d.where == "stored")
        return "Datei";
    return "Konfiguration";
}

std::string DifferenceSetting(const Difference& d)
{
    if (d.where == "row") {
        const std::string field = rowField(d);
        const char* fieldName = field == "address"    ? "Adresse"
                                : field == "rg"       ? "R/G"
                                : field == "function" ? "Funktion"
                                                      : "Beschriftung";
        return "Zeile " + d.name.substr(0, d.name.find(':')) + " <" + d.caption + ">: " + fieldName;
    }
    if (d.where == "stored")
        return d.name + " <" + d.caption + ">";
    if (!d.label.empty())
        return d.label;
    if (d.where == "data") {
        // "FrameKornel1:Kurve 1 Punkte[3..5]" is "Kurve 1 Punkte[3..5]" on its page; a copy
        // without parts is the page's "Arbeitskopie[3..5]"; its size says so in its caption.
        const std::size_t colon = d.name.find(':');
        if (colon != std::string::npos)
            return d.name.substr(colon + 1) == "count" ? d.caption : d.name.substr(colon + 1);
        const std::size_t at = d.name.find('[');
        return "Arbeitskopie" + (at == std::string::npos ? std::string() : d.name.substr(at));
    }
    return d.caption.empty() ? d.name : d.caption;
}

std::string SummaryText(const DecoderSummary& s)
{
    std::string t = TypeText(s);
    if (!s.version.empty())
        t += ", V " + s.version;
    return t + ", PIC " + std::to_string(s.pic) + ", " + s.format;
}

std::string DifferenceCount(std::size_t n)
{
    if (n == 0)
        return "Keine Unterschiede";
    return n == 1 ? std::string("1 Unterschied") : std::to_string(n) + " Unterschiede";
}

std::size_t ProgramWordsNoPageShows(const Session& a, const Session& b)
{
    auto shownByAPage = [&](int byte) {
        for (const Session* s : {&a, &b})
            for (const pages::Page* p : s->pages.shown())
                if (!p->describeByte(false, byte).empty())
                    return true;
        return false;
    };
    std::size_t words = 0;
    for (int w = 0; 2 * w + 1 < FirmwareImage::kRomSize; ++w) {
        bool counted = false;
        for (int byte = 2 * w; byte <= 2 * w + 1 && !counted; ++byte)
            counted = a.image.rom(byte) != b.image.rom(byte) && !shownByAPage(byte);
        words += counted ? 1 : 0;
    }
    return words;
}

std::string DifferenceCount(std::size_t n, std::size_t programWords)
{
    return n == 0 && programWords > 0 ? std::string("Keine Unterschiede in den Einstellungen") : DifferenceCount(n);
}

std::string ProgramWordsLine(std::size_t programWords)
{
    if (programWords == 0)
        return {};
    return "Das Programm ist verschieden: " +
           (programWords == 1 ? std::string("1 Programmwort, das")
                              : std::to_string(programWords) + " Programmwörter, die") +
           " keine Seite zeigt.";
}

namespace {

// Whether a row of `s` carries `caption`.
bool hasRowCaption(const IdentificationState& s, const std::string& caption)
{
    for (int r = 1; r < pages::AddressPage::kRows; ++r)
        if (s.hasCaption(r) && s.Captions[static_cast<std::size_t>(r)] == caption)
            return true;
    return false;
}

} // namespace

bool SettingsInCommon(const Session& a, const Session& b)
{
    for (int r = 1; r < pages::AddressPage::kRows; ++r)
        if (a.ident.hasCaption(r) && hasRowCaption(b.ident, a.ident.Captions[static_cast<std::size_t>(r)]))
            return true;
    const int kindA = a.ident.Type ? a.ident.Type->Page : PageNone;
    const int kindB = b.ident.Type ? b.ident.Type->Page : PageNone;
    return kindA != PageNone && kindA == kindB;
}

std::string DecoderInReport(const Session& s)
{
    return s.ident.Type ? "<" + s.ident.Type->Name + ">" : std::string("eine nicht erkannte Firmware");
}

SettingsComparison CompareSettings(const Session& here, const std::string& hereName, const Session& there,
                                   const std::string& thereName)
{
    SettingsComparison c;
    if (!SettingsInCommon(here, there)) {
        c.refusal = "Die geladene Datei (" + DecoderInReport(here) + ") und \"" + DisplayName(thereName) + "\" (" +
                    DecoderInReport(there) +
                    ") haben weder Adresszeilen gleicher Beschriftung noch dieselbe Seite: ihre Einstellungen lassen "
                    "sich nicht vergleichen.";
        return c;
    }
    c.differences = DiffSessions(here, there);
    c.programWords = ProgramWordsNoPageShows(here, there);
    c.programLine = ProgramWordsLine(c.programWords);
    c.hereLine = "Geladen: " + DisplayName(hereName) + " - " + SummaryText(Summarise(here));
    if (here.HasUnsavedChanges())
        c.hereLine += here.pages.hasPending() ? " (mit den ungespeicherten Änderungen, auch den noch nicht "
                                                "übernommenen der Seite)"
                                              : " (mit den ungespeicherten Änderungen)";
    c.thereLine = "Verglichen mit: " + DisplayName(thereName) + " - " + SummaryText(Summarise(there));
    c.countLine = DifferenceCount(c.differences.size(), c.programWords) + ".";
    return c;
}

} // namespace hz::tools
