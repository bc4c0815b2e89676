#include "core/tools/SettingsMigration.h"

#include <algorithm>
#include <map>

#include "core/firmware/HexText.h"
#include "core/pages/PageAction.h"
#include "core/tools/PageValues.h"
#include "core/tools/SettingsDiff.h"
#include "core/tools/SideSession.h"

namespace hz::tools {

namespace {

using pages::Control;
using pages::ControlKind;

bool takesAddresses(const IdentificationState& id) { return !id.NoAddressInput && (id.Mot || id.DCC); }

std::string rowValue(const Session& s, int row)
{
    const auto i = static_cast<std::size_t>(row);
    const std::string& address = s.addresses.addressText(row);
    if (s.ident.RedGreen)
        return address + (s.addresses.RowState[i] == 1 ? " grün" : " rot");
    if (s.ident.FunctionDecoder)
        return address + "/" + s.addresses.functionText(row);
    return address;
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// The row of `s` that carries the k-th occurrence (from 0) of `caption`; -1 when none.
int rowWithCaption(const IdentificationState& s, const std::string& caption, int k)
{
    for (int r = 1; r < pages::AddressPage::kRows; ++r)
        if (s.hasCaption(r) && s.Captions[static_cast<std::size_t>(r)] == caption && k-- == 0)
            return r;
    return -1;
}

void carryRows(const Session& from, Session& to, MigrationReport& report)
{
    const IdentificationState& a = from.ident;
    const IdentificationState& b = to.ident;
    if (!takesAddresses(a))
        return;
    pages::AddressPage& target = to.addresses;
    const std::vector<std::string> keptAddress = target.addressTexts();
    const std::vector<std::string> keptFunction = target.functionTexts();
    const auto keptState = target.RowState;

    std::vector<int> targetRow; // parallel to report.carried entries made here
    const std::size_t firstCarried = report.carried.size();
    std::map<std::string, int> seen;
    for (int r = 1; r < pages::AddressPage::kRows; ++r) {
        if (!a.hasCaption(r) || !pages::AddressPage::hasStorage(r))
            continue;
        const auto i = static_cast<std::size_t>(r);
        const std::string& caption = a.Captions[i];
        const int occurrence = seen[caption]++;
        const int t = rowWithCaption(b, caption, occurrence);
        CarriedSetting item{"row", std::to_string(r), caption, rowValue(from, r), "", std::max(t, 0)};
        item.label = "Zeile " + item.name + " <" + caption + ">";
        if (t >= 0 && takesAddresses(b)) {
            item.before = rowValue(to, t);
            item.unchanged = item.before == item.value;
        }
        item.address = from.addresses.addressText(r);
        if (a.RedGreen)
            item.state = from.addresses.RowState[i] == 1 ? "green" : "red";
        else if (a.FunctionDecoder)
            item.function = from.addresses.functionText(r);
        if (t < 0)
            item.reason = occurrence == 0 ? "NEU hat keine Zeile <" + caption + ">."
                                          : strprintf("NEU hat keine %d. Zeile <%s>.", occurrence + 1, caption.c_str());
        else if (from.addresses.addressText(r).empty())
            item.reason = "In ALT steht hier keine gültige Adresse.";
        else if (a.RedGreen != b.RedGreen || a.FunctionDecoder != b.FunctionDecoder)
            item.reason = b.FunctionDecoder ? "In NEU ist es eine Funktionsdekoder-Zeile (Adresse und Funktion)."
                          : b.RedGreen      ? "In NEU ist es eine Zeile mit roter und grüner Adresse."
                                            : "In NEU hat die Zeile eine andere Art.";
        else {
            std::string error;
            const std::string function = from.addresses.functionText(r);
            const int state = from.addresses.RowState[i];
            if (!target.TypeRow(t, from.addresses.addressText(r), b.FunctionDecoder ? &function : nullptr,
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
    for (int round = 0; round < pages::AddressPage::kRows; ++round) {
        target.focusRequest.clear();
        if (target.ValidateRows())
            return;
        // The validation asked for the focus in the field it refused.
        int refused = -1;
        bool refusedFunction = false;
        pages::AddressPage::rowOfField(target.focusRequest, refused, refusedFunction);
        target.focusRequest.clear();
        std::size_t k = 0;
        while (k < targetRow.size() && targetRow[k] != refused)
            ++k;
        if (k == targetRow.size())
            return; // a row the new file had refused already; its own save will say so
        const auto i = static_cast<std::size_t>(refused);
        std::string ignored;
        target.TypeRow(refused, keptAddress[i], b.FunctionDecoder ? &keptFunction[i] : nullptr,
                       b.RedGreen ? &keptState[i] : nullptr, ignored);
        CarriedSetting item = report.carried[firstCarried + k];
        item.reason = "NEU nimmt den Wert nicht an (" +
                      firstLine(refusedFunction ? target.FunctionHint(refused) : target.AddressHint(refused)) + ").";
        report.notCarried.push_back(item);
        report.carried.erase(report.carried.begin() + static_cast<std::ptrdiff_t>(firstCarried + k));
        targetRow.erase(targetRow.begin() + static_cast<std::ptrdiff_t>(k));
    }
}

// A kind of control as a user calls it.
std::string kindInWords(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Edit: return "ein Eingabefeld";
    case ControlKind::Check: return "ein Kästchen zum Ankreuzen";
    case ControlKind::Radio: return "eine Auswahl unter mehreren";
    case ControlKind::TrackBar: return "ein Schieberegler";
    case ControlKind::List: return "eine Auswahlliste";
    default: return "keine Einstellung";
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

// Carries the whole working copy where both pages read its entries the same way; true when it
// was carried.
bool carryData(const pages::Page& from, pages::Page& to, MigrationReport& report)
{
    const std::vector<int> data = from.data();
    if (data.empty())
        return false;
    CarriedSetting item{"data", from.objectName(), "Arbeitskopie", strprintf("%zu Werte", data.size()), ""};
    item.page = from.objectName();
    item.label = from.dataName();
    item.unchanged = to.data() == data;
    item.before = item.unchanged ? "dieselben Werte" : "andere Werte";
    const std::size_t size = to.data().size();
    if (size != data.size())
        item.reason =
            strprintf("Die Arbeitskopie hat in NEU einen anderen Aufbau (%zu statt %zu Werte).", size, data.size());
    else if (from.dataLayout() != to.dataLayout())
        item.reason =
            "Die Arbeitskopie ist in NEU anders aufgebaut (" + to.dataLayout() + " statt " + from.dataLayout() + ").";
    else if (to.data() != data && (!to.setData(data) || to.data() != data))
        item.reason = "Die Seite nimmt diese Arbeitskopie nicht an.";
    const bool carried = item.reason.empty();
    (carried ? report.carried : report.notCarried).push_back(item);
    return carried;
}

// What became of the working copy of page `objectName` in a migration so far.
enum class CopyFate { NotTried, Carried, NotCarried };
CopyFate copyFate(const MigrationReport& report, const std::string& objectName)
{
    auto in = [&](const std::vector<CarriedSetting>& list) {
        return std::any_of(list.begin(), list.end(),
                           [&](const CarriedSetting& c) { return c.where == "data" && c.name == objectName; });
    };
    return in(report.carried) ? CopyFate::Carried : in(report.notCarried) ? CopyFate::NotCarried : CopyFate::NotTried;
}

// The working copy of `from` into `to`, unless the report has decided it already.
CopyFate carryCopy(const pages::Page& from, pages::Page& to, MigrationReport& report)
{
    const CopyFate fate = copyFate(report, to.objectName());
    if (fate != CopyFate::NotTried)
        return fate;
    if (carryData(from, to, report))
        return CopyFate::Carried;
    return copyFate(report, to.objectName());
}

// A message as one line: its line breaks become blanks, trailing blanks go.
std::string oneLine(const std::string& text)
{
    std::string line;
    for (const char ch : text) {
        if (ch != '\r' && ch != '\n')
            line += ch;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

// Hears what the target's pages say while settings are typed in. A warning or an error is the
// page refusing the value it was given (a number outside its range, say); the first one is
// kept. While `quiet`, messages are kept from the user: the target's own value typed back
// after a refusal needs no second message. With CarryMessages::KeptBack none is shown at all.
class HandlerMessages {
public:
    HandlerMessages(Session* session, CarryMessages messages) : m_session(session)
    {
        const bool keptBack = messages == CarryMessages::KeptBack;
        if (m_session)
            m_session->listenToMessages([this, keptBack](MsgKind kind, const std::string& text) {
                if (kind != MsgKind::Plain && first.empty())
                    first = text;
                return !quiet && !keptBack;
            });
    }
    ~HandlerMessages()
    {
        if (m_session)
            m_session->listenToMessages({});
    }
    HandlerMessages(const HandlerMessages&) = delete;
    HandlerMessages& operator=(const HandlerMessages&) = delete;

    std::string first;
    bool quiet = false;

private:
    Session* m_session;
};

} // namespace

void CarryPage(const pages::Page& from, pages::Page& to, MigrationReport& report, Session* target, CarryMessages shown)
{
    HandlerMessages messages(target, shown);
    // The working copy first: settings shown beside it (a selected curve, say) refer to it.
    const bool copyCarried = carryCopy(from, to, report) == CopyFate::Carried;

    struct Item {
        CarriedSetting setting;
        std::string own; // the target's setting before anything was carried
        std::string lastError;
        bool final = false; // decided: not carried
        bool typed = false; // an action reached the target's handlers
    };
    std::vector<Item> items;
    for (const Control& c : from.controls()) {
        if (!HoldsSetting(c) || !ControlShown(from, c) || (c.kind == ControlKind::Radio && !c.checked))
            continue;
        Item item{{"page", c.name, ControlCaption(from, c), SettingText(c), ""}, "", "", false, false};
        item.setting.page = from.objectName();
        item.setting.label = SettingName(from, c);
        item.setting.yesNo = c.kind == ControlKind::Check || c.kind == ControlKind::Radio;
        const Control* t = to.find(c.name);
        if (!t)
            item.setting.reason = "NEU hat diese Einstellung nicht.";
        else if (t->kind != c.kind)
            item.setting.reason = "In NEU ist es eine andere Art Einstellung (" + kindInWords(t->kind) + ").";
        else if (!t->inCopyOf.empty() && copyFate(report, t->inCopyOf) == CopyFate::NotCarried)
            // The value is an entry of a table that stays as NEU has it: typing it in would
            // change that table after all, and mix the two files' entries.
            item.setting.reason =
                "Der Wert steht in der Arbeitskopie <" + PageTitle(t->inCopyOf) + ">, die nicht übernommen wird.";
        else if (ControlCaption(to, *t) != item.setting.caption)
            // A hidden control may carry no caption at all: then it is no setting of NEU.
            item.setting.reason = ControlShown(to, *t)
                                      ? "In NEU bedeutet es etwas anderes: <" + SettingName(to, *t) + ">."
                                      : "NEU zeigt <" + item.setting.label + "> nicht an.";
        else if (SettingText(*t) != item.setting.value && actionFor(*t, item.setting.value).empty())
            item.setting.reason = "NEU bietet \"" + item.setting.value + "\" nicht an.";
        if (t) {
            item.own = SettingText(*t);
            if (t->kind == c.kind && HoldsSetting(*t) && ControlShown(to, *t)) {
                item.setting.before = item.own;
                item.setting.unchanged = item.own == item.setting.value;
            }
        }
        item.final = !item.setting.reason.empty();
        items.push_back(std::move(item));
    }

    // The target's own setting typed back where a carried one did not stay: nothing of a
    // setting listed as not carried may reach the new file. A radio button can only be
    // clicked on, and a list without a selection cannot be given one back.
    auto putBack = [&](const Item& item) {
        const Control& t = *to.find(item.setting.name);
        if (SettingText(t) == item.own || (t.kind == ControlKind::Radio && item.own != "1"))
            return false;
        const std::string action = actionFor(t, item.own);
        if (action.empty())
            return false;
        std::string error;
        messages.quiet = true;
        const bool done = pages::ApplyPageAction(to, action, error);
        messages.quiet = false;
        to.focusRequest.clear();
        return done;
    };

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
            messages.first.clear();
            if (!pages::ApplyPageAction(to, actionFor(*t, item.setting.value), error)) {
                item.lastError = error;
                continue;
            }
            acted = true;
            item.typed = true;
            if (!messages.first.empty() || !to.focusRequest.empty()) {
                // The handler refused the value: it said why, or took the focus back as for a
                // typing error. The target keeps its own value.
                item.setting.reason = "NEU nimmt \"" + item.setting.value + "\" nicht an" +
                                      (messages.first.empty() ? "" : " (" + oneLine(messages.first) + ")") + ".";
                item.final = true;
                to.focusRequest.clear();
                putBack(item);
            }
        }
        if (!acted)
            break;
    }

    // What each setting shows now decides. A page with a working copy shows the copy afresh
    // first: an edit keeps a number as typed while its handler stores it limited to the range
    // (a count of 150 is a curve of 100 points), and the copy is what the new file gets. A
    // setting typed back may change another one, so the check runs again after it.
    const std::vector<int> copy = from.data();
    bool refresh = std::any_of(items.begin(), items.end(), [](const Item& i) { return i.typed; });
    auto decide = [&](Item& item) {
        const Control& t = *to.find(item.setting.name);
        const std::string now = SettingText(t);
        // A control the new firmware keeps hidden is no setting there, whatever it holds
        // (a switch-off option that a later version replaced by others).
        if (!ControlShown(to, t))
            item.setting.reason = "NEU zeigt <" + item.setting.label + "> nicht an.";
        else if (now != item.setting.value && item.typed)
            item.setting.reason =
                "NEU nimmt \"" + item.setting.value + "\" nicht an (die Seite zeigt danach \"" + now + "\").";
        else if (now != item.setting.value)
            item.setting.reason = !item.lastError.empty() ? item.lastError : "NEU zeigt danach \"" + now + "\".";
        item.final = !item.setting.reason.empty();
    };
    for (int pass = 0; pass < 4; ++pass) {
        // A copy not carried stays as NEU has it, and no setting shown from it was typed in.
        if (refresh && copyCarried)
            to.setData(copy);
        refresh = false;
        for (Item& item : items) {
            if (item.final)
                continue;
            decide(item);
            if (item.final && item.typed)
                refresh = putBack(item) || refresh;
        }
        if (!refresh)
            break;
    }
    for (Item& item : items) {
        if (!item.final)
            decide(item);
        (item.setting.reason.empty() ? report.carried : report.notCarried).push_back(std::move(item.setting));
    }
}

MigrationReport MigrateSettings(const Session& from, Session& to, CarryMessages messages)
{
    MigrationReport report;
    if (!SettingsInCommon(from, to)) {
        report.refusal = "ALT (" + DecoderInReport(from) + ") und NEU (" + DecoderInReport(to) +
                         ") haben weder Adresszeilen gleicher Beschriftung noch dieselbe Seite: es gibt nichts, das "
                         "sich übertragen ließe.";
        return report;
    }

    {
        // The rows' check speaks when it refuses a carried address; the report names it.
        struct KeptBack {
            Session& s;
            const bool on;
            KeptBack(Session& session, bool keep) : s(session), on(keep)
            {
                if (on)
                    s.listenToMessages([](MsgKind, const std::string&) { return false; });
            }
            ~KeptBack()
            {
                if (on)
                    s.listenToMessages({});
            }
            KeptBack(const KeptBack&) = delete;
            KeptBack& operator=(const KeptBack&) = delete;
        } keptBack(to, messages == CarryMessages::KeptBack);
        carryRows(from, to, report);
    }

    auto counterpart = [&to](const pages::Page& pf) -> pages::Page* {
        for (pages::Page* q : to.pages.shown())
            if (std::string(q->objectName()) == pf.objectName())
                return q;
        return nullptr;
    };
    // What NEU's pages show before anything reaches them: a setting that shows an entry of a
    // working copy shows the carried copy's entry once the copy is in, and what NEU held
    // there is what the report names beside it.
    std::map<std::pair<std::string, std::string>, std::string> held; // (page, control) -> setting
    for (const pages::Page* pt : to.pages.shown())
        for (const Control& c : pt->controls())
            if (HoldsSetting(c) && !c.inCopyOf.empty())
                held[{pt->objectName(), c.name}] = SettingText(c);
    const std::size_t carriedBefore = report.carried.size();

    // Every working copy before any setting: a page's controls may show another page's copy
    // (the servo address page's lists are entries of the curve page's table), and whether
    // that copy goes decides whether they can.
    for (const pages::Page* pf : from.pages.shown())
        if (pages::Page* pt = counterpart(*pf))
            carryCopy(*pf, *pt, report);
    for (const pages::Page* pf : from.pages.shown()) {
        pages::Page* pt = counterpart(*pf);
        if (pt) {
            CarryPage(*pf, *pt, report, &to, messages);
            continue;
        }
        bool hasSettings = !pf->data().empty();
        for (const Control& c : pf->controls())
            hasSettings = hasSettings || (HoldsSetting(c) && ControlShown(*pf, c));
        if (hasSettings) {
            CarriedSetting item{"page", pf->objectName(), "Seite", pf->frameName(), "NEU zeigt diese Seite nicht."};
            item.page = pf->objectName();
            item.label = "ganze Seite";
            report.notCarried.push_back(std::move(item));
        }
    }
    for (std::size_t k = carriedBefore; k < report.carried.size(); ++k) {
        CarriedSetting& s = report.carried[k];
        const auto it = held.find({s.page, s.name});
        if (s.where == "page" && it != held.end()) {
            s.before = it->second;
            s.unchanged = s.before == s.value;
        }
    }
    return report;
}

MigrationReport CarrySettingsInto(Session& window, const Session& from)
{
    MigrationReport report;
    // The user did one thing: one step, apart from anything typed before or after it.
    window.editAsOneStep([&] {
        report = MigrateSettings(from, window, CarryMessages::KeptBack);
        for (const CarriedSetting& c : report.carried)
            if (c.where == "data")
                for (pages::Page* p : window.pages.shown())
                    if (c.page == p->objectName() && p->hasPending())
                        p->accept();
    });
    return report;
}

MigrationReport PreviewMigration(const Session& from, const Session& window)
{
    SideSession trial;
    if (!trial.loadShownState(window)) {
        MigrationReport report;
        // Only a file whose lines cannot be built (a byte that is no byte) gets here; its save
        // would fail the same way.
        report.refusal = "Die geladene Datei ließ sich für die Vorschau nicht nachbilden" +
                         (trial.lastMessage().empty() ? std::string(".") : ": " + trial.lastMessage());
        return report;
    }
    return MigrateSettings(from, trial.session, CarryMessages::KeptBack);
}

namespace {

// A value of the report as the reader reads it.
std::string readable(const CarriedSetting& s, const std::string& value)
{
    if (value.empty())
        return "(leer)";
    return s.yesNo ? ReadableValue(ControlKind::Check, value) : value;
}

} // namespace

std::string CarriedValue(const CarriedSetting& s)
{
    if (s.where == "row" && !s.state.empty())
        return s.address + " " + (s.state == "green" ? "grün" : "rot");
    if (s.where == "page" && !s.page.empty() && s.name == s.page)
        return "gezeigt"; // a page NEU does not show; the value is its frame's class
    return readable(s, s.value);
}

std::string CarriedBefore(const CarriedSetting& s)
{
    if (s.where == "data" || (s.before.empty() && !s.unchanged))
        return s.before;
    return readable(s, s.before);
}

std::string CarriedSubject(const CarriedSetting& s)
{
    if (!s.label.empty())
        return s.label;
    if (s.where == "row")
        return "Zeile " + s.name + " <" + s.caption + ">";
    return s.caption.empty() ? s.name : s.caption;
}

std::string CarriedArea(const CarriedSetting& s)
{
    return s.where == "row" ? std::string("Adresszeilen") : PageTitle(s.page.empty() ? s.name : s.page);
}

std::string DescribeCarried(const CarriedSetting& s)
{
    std::string what = CarriedSubject(s) + ": " + CarriedValue(s);
    if (!s.reason.empty())
        return what + " - " + s.reason;
    if (s.unchanged)
        return what + " (unverändert)";
    const std::string before = CarriedBefore(s);
    return before.empty() ? what : what + " (bisher " + before + ")";
}

std::size_t UnchangedCount(const std::vector<CarriedSetting>& list)
{
    return static_cast<std::size_t>(
        std::count_if(list.begin(), list.end(), [](const CarriedSetting& s) { return s.unchanged; }));
}

std::string UnchangedLine(std::size_t count)
{
    if (count == 0)
        return {};
    return std::to_string(count) + " davon hatte NEU schon so.";
}

std::string CarriedHeading(bool carried, std::size_t count, bool beforehand)
{
    const char* what = beforehand ? (carried ? "Wird übernommen" : "Wird nicht übernommen")
                                  : (carried ? "Übernommen" : "Nicht übernommen");
    return std::string(what) + " (" + std::to_string(count) + ")";
}

std::string MigrationPreviewText(const Session& from, const std::string& fromName, const Session& to,
                                 const std::string& toName)
{
    return "ALT: " + fromName + " - " + SummaryText(Summarise(from)) + "\nNEU: " + toName + " (geladen) - " +
           SummaryText(Summarise(to)) +
           "\n\"Übernehmen\" trägt die übernommenen Einstellungen in die geladene Datei ein; gespeichert wird sie "
           "erst mit \"speichern\".";
}

} // namespace hz::tools
