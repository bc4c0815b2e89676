#include "core/tools/SettingsMigration.h"

#include <map>

#include "core/firmware/HexText.h"
#include "core/pages/PageAction.h"
#include "core/tools/PageValues.h"

namespace hz::tools {

namespace {

using pages::Control;
using pages::ControlKind;

bool takesAddresses(const IdentificationState& id) { return !id.NoAddressInput && (id.Mot || id.DCC); }

std::string rowValue(const Session& s, int row)
{
    const auto i = static_cast<std::size_t>(row);
    const std::string& address = s.addresses.AddressText[i];
    if (s.ident.RedGreen)
        return address + (s.addresses.RowState[i] == 1 ? " grün" : " rot");
    if (s.ident.FunctionDecoder)
        return address + "/" + s.addresses.FunctionText[i];
    return address;
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// The row of `s` that carries the k-th occurrence (from 0) of `caption`; -1 when none.
int rowWithCaption(const IdentificationState& s, const std::string& caption, int k)
{
    for (int r = 1; r < AddressPage::kRows; ++r)
        if (s.hasCaption(r) && s.Captions[static_cast<std::size_t>(r)] == caption && k-- == 0)
            return r;
    return -1;
}

// Remembers which row and field the address page's validation refused.
class RefusedRow : public SessionView {
public:
    void FocusRow(int r, bool functionField) override
    {
        row = r;
        function = functionField;
    }
    int row = -1;
    bool function = false;
};

void carryRows(const Session& from, Session& to, MigrationReport& report)
{
    const IdentificationState& a = from.ident;
    const IdentificationState& b = to.ident;
    if (!takesAddresses(a))
        return;
    AddressPage& target = to.addresses;
    const auto keptAddress = target.AddressText;
    const auto keptFunction = target.FunctionText;
    const auto keptState = target.RowState;

    std::vector<int> targetRow; // parallel to report.carried entries made here
    const std::size_t firstCarried = report.carried.size();
    std::map<std::string, int> seen;
    for (int r = 1; r < AddressPage::kRows; ++r) {
        if (!a.hasCaption(r) || !AddressPage::hasStorage(r))
            continue;
        const auto i = static_cast<std::size_t>(r);
        const std::string& caption = a.Captions[i];
        const int occurrence = seen[caption]++;
        CarriedSetting item{"row", std::to_string(r), caption, rowValue(from, r), ""};
        const int t = rowWithCaption(b, caption, occurrence);
        if (t < 0)
            item.reason = occurrence == 0 ? "NEU hat keine Zeile <" + caption + ">."
                                          : strprintf("NEU hat keine %d. Zeile <%s>.", occurrence + 1, caption.c_str());
        else if (from.addresses.AddressText[i].empty())
            item.reason = "In ALT steht hier keine gültige Adresse.";
        else if (a.RedGreen != b.RedGreen || a.FunctionDecoder != b.FunctionDecoder)
            item.reason = b.FunctionDecoder ? "In NEU ist es eine Funktionsdekoder-Zeile (Adresse und Funktion)."
                          : b.RedGreen      ? "In NEU ist es eine Zeile mit roter und grüner Adresse."
                                            : "In NEU hat die Zeile eine andere Art.";
        else {
            std::string error;
            const std::string function = from.addresses.FunctionText[i];
            const int state = from.addresses.RowState[i];
            if (!target.TypeRow(t, from.addresses.AddressText[i], b.FunctionDecoder ? &function : nullptr,
                                b.RedGreen ? &state : nullptr, error))
                item.reason = error;
        }
        if (item.reason.empty()) {
            report.carried.push_back(item);
            targetRow.push_back(t);
        } else {
            report.notCarried.push_back(item);
        }
    }

    // What the new file's ranges refuse: the save's own validation names the row; that row
    // gets its own value back and is listed, and the check runs again.
    if (!takesAddresses(b))
        return;
    for (int round = 0; round < AddressPage::kRows; ++round) {
        RefusedRow refused;
        if (target.ValidateRows(refused))
            return;
        std::size_t k = 0;
        while (k < targetRow.size() && targetRow[k] != refused.row)
            ++k;
        if (k == targetRow.size())
            return; // a row the new file had refused already; its own save will say so
        const auto i = static_cast<std::size_t>(refused.row);
        target.AddressText[i] = keptAddress[i];
        target.FunctionText[i] = keptFunction[i];
        target.RowState[i] = keptState[i];
        CarriedSetting item = report.carried[firstCarried + k];
        item.reason = "NEU nimmt den Wert nicht an (" +
                      firstLine(refused.function ? target.FunctionHint(refused.row) : target.AddressHint(refused.row)) +
                      ").";
        report.notCarried.push_back(item);
        report.carried.erase(report.carried.begin() + static_cast<std::ptrdiff_t>(firstCarried + k));
        targetRow.erase(targetRow.begin() + static_cast<std::ptrdiff_t>(k));
    }
}

// The action of `set --do` that gives control `c` the setting `want`.
std::string actionFor(const Control& c, const std::string& want)
{
    switch (c.kind) {
    case ControlKind::Radio: return c.name;
    case ControlKind::List:
        for (std::size_t k = 0; k < c.items.size(); ++k)
            if (c.items[k] == want)
                return c.name + "=#" + std::to_string(k);
        return {};
    default: return c.name + "=" + want;
    }
}

void carryData(const pages::Page& from, pages::Page& to, MigrationReport& report)
{
    const std::vector<int> data = from.data();
    if (data.empty())
        return;
    CarriedSetting item{"data", from.objectName(), "Arbeitskopie", strprintf("%zu Werte", data.size()), ""};
    const std::size_t size = to.data().size();
    if (size != data.size())
        item.reason = strprintf("Die Arbeitskopie hat in NEU einen anderen Aufbau (%zu statt %zu Werte).", size,
                                data.size());
    else if (from.dataLayout() != to.dataLayout())
        item.reason = "Die Arbeitskopie ist in NEU anders aufgebaut (" + to.dataLayout() + " statt " +
                      from.dataLayout() + ").";
    else if (to.data() != data && (!to.setData(data) || to.data() != data))
        item.reason = "Die Seite nimmt diese Arbeitskopie nicht an.";
    (item.reason.empty() ? report.carried : report.notCarried).push_back(item);
}

} // namespace

void CarryPage(const pages::Page& from, pages::Page& to, MigrationReport& report)
{
    // The working copy first: settings shown beside it (a selected curve, say) refer to it.
    carryData(from, to, report);

    struct Item {
        CarriedSetting setting;
        std::string lastError;
        bool final = false;
    };
    std::vector<Item> items;
    for (const Control& c : from.controls()) {
        if (!HoldsSetting(c) || !ControlShown(from, c) || (c.kind == ControlKind::Radio && !c.checked))
            continue;
        Item item{{"page", c.name, ControlCaption(from, c), SettingText(c), ""}, "", false};
        const Control* t = to.find(c.name);
        if (!t)
            item.setting.reason = "NEU hat kein Bedienelement \"" + c.name + "\".";
        else if (t->kind != c.kind)
            item.setting.reason = std::string("In NEU ist es ein anderes Bedienelement (") +
                                  pages::controlKindName(t->kind) + ").";
        else if (ControlCaption(to, *t) != item.setting.caption)
            item.setting.reason = "In NEU bedeutet es etwas anderes: <" + ControlCaption(to, *t) + ">.";
        else if (SettingText(*t) != item.setting.value && actionFor(*t, item.setting.value).empty())
            item.setting.reason = "NEU bietet \"" + item.setting.value + "\" nicht an.";
        item.final = !item.setting.reason.empty();
        items.push_back(std::move(item));
    }

    // Rounds, because one setting may show or enable another (a mode that opens its times),
    // or a handler may change a setting carried before; a few rounds settle every real page.
    for (int round = 0; round < 4; ++round) {
        bool acted = false;
        for (Item& item : items) {
            if (item.final)
                continue;
            const Control* t = to.find(item.setting.name);
            if (SettingText(*t) == item.setting.value)
                continue;
            std::string error;
            to.focusRequest.clear();
            if (!pages::ApplyPageAction(to, actionFor(*t, item.setting.value), error)) {
                item.lastError = error;
                continue;
            }
            acted = true;
            if (!to.focusRequest.empty()) {
                // The handler refused the value and took the focus back, as for a typing error.
                item.setting.reason = "NEU nimmt \"" + item.setting.value + "\" nicht an.";
                item.final = true;
                to.focusRequest.clear();
            }
        }
        if (!acted)
            break;
    }
    for (Item& item : items) {
        if (!item.final) {
            const Control& t = *to.find(item.setting.name);
            const std::string now = SettingText(t);
            // A control the new firmware keeps hidden is no setting there, whatever it holds
            // (a switch-off option that a later version replaced by others).
            if (!ControlShown(to, t))
                item.setting.reason = "NEU zeigt <" + item.setting.caption + "> nicht an.";
            else if (now != item.setting.value)
                item.setting.reason = !item.lastError.empty() ? item.lastError
                                                              : "NEU zeigt danach \"" + now + "\".";
        }
        (item.setting.reason.empty() ? report.carried : report.notCarried).push_back(std::move(item.setting));
    }
    // A setting may have changed the working copy; the copy of the old file is what counts.
    const std::vector<int> data = from.data();
    if (!data.empty() && to.data().size() == data.size() && from.dataLayout() == to.dataLayout() && to.data() != data)
        to.setData(data);
}

MigrationReport MigrateSettings(const Session& from, Session& to)
{
    MigrationReport report;
    const IdentificationState& a = from.ident;
    const IdentificationState& b = to.ident;
    bool sharedCaption = false;
    for (int r = 1; r < AddressPage::kRows && !sharedCaption; ++r)
        sharedCaption = a.hasCaption(r) && rowWithCaption(b, a.Captions[static_cast<std::size_t>(r)], 0) >= 0;
    const int kindA = a.Type ? a.Type->Page : PageNone;
    const int kindB = b.Type ? b.Type->Page : PageNone;
    if (!sharedCaption && (kindA == PageNone || kindA != kindB)) {
        auto name = [](const IdentificationState& s) {
            return s.Type ? "<" + s.Type->Name + ">" : std::string("eine nicht erkannte Firmware");
        };
        report.refusal = "ALT (" + name(a) + ") und NEU (" + name(b) +
                         ") haben weder Adresszeilen gleicher Beschriftung noch dieselbe Seite: es gibt nichts, das "
                         "sich übertragen ließe.";
        return report;
    }

    carryRows(from, to, report);

    for (const pages::Page* pf : from.pages.shown()) {
        pages::Page* pt = nullptr;
        for (pages::Page* q : to.pages.shown())
            if (std::string(q->objectName()) == pf->objectName())
                pt = q;
        if (pt) {
            CarryPage(*pf, *pt, report);
            continue;
        }
        bool hasSettings = !pf->data().empty();
        for (const Control& c : pf->controls())
            hasSettings = hasSettings || (HoldsSetting(c) && ControlShown(*pf, c));
        if (hasSettings)
            report.notCarried.push_back({"page", pf->objectName(), "Seite", pf->frameName(),
                                         "NEU zeigt diese Seite nicht."});
    }
    return report;
}

} // namespace hz::tools
