#include "core/tools/PageValues.h"

#include <climits>
#include <utility>

namespace hz::tools {

using pages::Control;
using pages::ControlKind;

bool IsSpinner(const Control& c)
{
    return c.kind == ControlKind::TrackBar && c.geometry && c.geometry->width < c.geometry->height;
}

bool HoldsSetting(const Control& c)
{
    switch (c.kind) {
    case ControlKind::Edit:
    case ControlKind::Check:
    case ControlKind::Radio:
    case ControlKind::List: return true;
    case ControlKind::TrackBar: return !IsSpinner(c);
    case ControlKind::Label:
    case ControlKind::Button:
    case ControlKind::Group:
    case ControlKind::Image: return false;
    }
    return false;
}

std::string SettingText(const Control& c)
{
    switch (c.kind) {
    case ControlKind::Edit: return c.text;
    case ControlKind::Check:
    case ControlKind::Radio: return c.checked ? "1" : "0";
    case ControlKind::TrackBar: return std::to_string(c.position);
    case ControlKind::List:
        if (c.selected >= 0 && static_cast<std::size_t>(c.selected) < c.items.size())
            return c.items[static_cast<std::size_t>(c.selected)];
        return {};
    case ControlKind::Label:
    case ControlKind::Button:
    case ControlKind::Group:
    case ControlKind::Image: break;
    }
    return {};
}

namespace {

// The caption of the label on the control's line, directly left of it in the same group; ""
// when there is none.
std::string LabelBeside(const pages::Page& page, const Control& c)
{
    if (c.geometry) {
        // The nearest label to the left whose height overlaps the control's line.
        const pages::Rect& r = *c.geometry;
        const Control* best = nullptr;
        int bestGap = INT_MAX;
        for (const Control& l : page.controls()) {
            if (l.kind != ControlKind::Label || !l.geometry || l.parent != c.parent || l.caption.empty())
                continue;
            const pages::Rect& g = *l.geometry;
            const bool sameLine = g.top < r.top + r.height && r.top < g.top + g.height;
            const int gap = r.left - (g.left + g.width);
            if (sameLine && g.left < r.left && gap >= -2 && gap < bestGap) {
                best = &l;
                bestGap = gap;
            }
        }
        if (best)
            return best->caption;
    }
    return {};
}

// A caption as a part of a name: the page's colon, the dots of "Parameter für ..." and the
// blanks around them go.
std::string NamePart(std::string caption)
{
    while (!caption.empty() && (caption.back() == ':' || caption.back() == '.' || caption.back() == ' '))
        caption.pop_back();
    std::size_t first = 0;
    while (first < caption.size() && caption[first] == ' ')
        ++first;
    return caption.substr(first);
}

// The caption of the nearest group around the control that has one.
std::string GroupCaption(const pages::Page& page, const Control& c)
{
    for (const Control* g = c.parent.empty() ? nullptr : page.find(c.parent); g;
         g = g->parent.empty() ? nullptr : page.find(g->parent))
        if (const std::string caption = NamePart(g->caption); !caption.empty())
            return caption;
    return {};
}

} // namespace

std::string ControlCaption(const pages::Page& page, const Control& c)
{
    if (!c.caption.empty())
        return c.caption;
    if (std::string beside = LabelBeside(page, c); !beside.empty())
        return beside;
    return c.hint.substr(0, c.hint.find('\n'));
}

std::string SettingName(const pages::Page& page, const Control& c)
{
    std::string own = NamePart(!c.title.empty() ? c.title : c.caption);
    std::string beside = c.caption.empty() ? NamePart(LabelBeside(page, c)) : std::string();
    if (own.empty())
        std::swap(own, beside);
    std::string name;
    for (const std::string& part : {GroupCaption(page, c), beside, own}) {
        // A part that repeats the one before it says nothing new ("Servo 1: Servo 1").
        if (part.empty() || name == part || (name.size() > part.size() && name.ends_with(": " + part)))
            continue;
        name += (name.empty() ? "" : ": ") + part;
    }
    return name.empty() ? c.name : name;
}

std::string ReadableValue(ControlKind kind, const std::string& text)
{
    if (kind == ControlKind::Check || kind == ControlKind::Radio)
        return text == "1" ? "ja" : text == "0" ? "nein" : text;
    return text;
}

bool ControlShown(const pages::Page& page, const Control& c)
{
    for (const Control* at = &c; at; at = at->parent.empty() ? nullptr : page.find(at->parent))
        if (!at->visible)
            return false;
    return true;
}

std::string PageTitle(const std::string& objectName)
{
    static const std::pair<const char*, const char*> titles[] = {
        {"AddressRows", "Adresszeilen"},      {"FrameZusatz1", "Zusatzfunktionen"},
        {"FrameBlinkmuster1", "Blinkmuster"}, {"FrameBlinkmuster_led1", "LED-Blinkmuster"},
        {"FrameKornel1", "Servokurven"},      {"FrameKornelAdr1", "Servo-Adressen und Aktionen"},
        {"FrameRegister1", "CV-Register"},
    };
    for (const auto& [name, title] : titles)
        if (objectName == name)
            return title;
    return objectName;
}

} // namespace hz::tools
