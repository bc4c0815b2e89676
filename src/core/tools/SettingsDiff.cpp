#include "core/tools/SettingsDiff.h"

#include <algorithm>

#include "core/firmware/HexText.h"
#include "core/tools/PageValues.h"

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
        return;
    }
    std::vector<pages::DataPart> parts = pa.dataParts();
    if (parts.empty())
        parts.push_back({"", 0, static_cast<int>(a.size())});
    for (const pages::DataPart& part : parts) {
        const std::size_t first = static_cast<std::size_t>(std::clamp(part.first, 0, static_cast<int>(a.size())));
        const std::size_t end =
            static_cast<std::size_t>(std::clamp(part.first + part.count, part.first, static_cast<int>(a.size())));
        diffStretch(out, part.name.empty() ? frame : frame + ":" + part.name, part.name, a, b, first, end);
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
    d.version = s.status.text[1].rfind("V ", 0) == 0 ? s.status.text[1].substr(2) : s.status.text[1];
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
        add(out, "page", ca.name, ControlCaption(shownA ? a : b, shownA ? ca : *cb),
            shownA ? Opt(SettingText(ca)) : std::nullopt, shownB ? Opt(SettingText(*cb)) : std::nullopt);
    }
    for (const pages::Control& cb : b.controls())
        if (HoldsSetting(cb) && ControlShown(b, cb) && !a.find(cb.name))
            out.push_back({"page", cb.name, ControlCaption(b, cb), std::nullopt, SettingText(cb)});
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
        for (const Session::LoadCorrection& k : s->loadCorrections) {
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
        auto stored = [&](const Session& s) {
            return Session::ByteValue(eeprom ? s.storedMemory().eepromText(at.second)
                                             : s.storedMemory().romText(at.second));
        };
        add(out, "stored", Session::ByteLocation(eeprom, at.second), reason, Opt(stored(a)), Opt(stored(b)));
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
            for (Difference& d : DiffPages(*pa, *pb))
                out.push_back(std::move(d));
        } else {
            out.push_back({"page", pa->objectName(), "Seite", std::string(pa->frameName()), std::nullopt});
        }
    }
    for (const pages::Page* pb : pagesB)
        if (!findFrame(pagesA, *pb))
            out.push_back({"page", pb->objectName(), "Seite", std::nullopt, std::string(pb->frameName())});

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

std::string DescribeDifference(const Difference& d)
{
    std::string what;
    std::string field;
    if (d.where == "row")
        field = d.name.substr(d.name.find(':') + 1);
    // The red/green state is kept as an identifier ("green", "red"); the reader gets the word.
    auto value = [&](const Opt& v) {
        if (!v)
            return std::string("(fehlt)");
        if (v->empty())
            return std::string("(leer)");
        if (field == "rg")
            return std::string(*v == "green" ? "grün" : "rot");
        return *v;
    };
    if (d.where == "row") {
        const std::size_t colon = d.name.find(':');
        const char* fieldName = field == "address"    ? "Adresse"
                                : field == "rg"       ? "R/G"
                                : field == "function" ? "Funktion"
                                                      : "Beschriftung";
        what = "Zeile " + d.name.substr(0, colon) + " <" + d.caption + ">: " + fieldName;
    } else if (d.where == "stored") {
        what = "In der Datei " + d.name + " <" + d.caption + ">";
    } else if (d.where == "page" || d.where == "data") {
        what =
            d.name + (d.caption.empty() || d.name.find(d.caption) != std::string::npos ? "" : " <" + d.caption + ">");
    } else {
        what = d.caption;
    }
    return what + ": " + value(d.a) + " → " + value(d.b);
}

} // namespace hz::tools
