#include "core/tools/PageValues.h"

#include <climits>
#include <utility>

namespace hz::tools {

using pages::Control;
using pages::ControlKind;

bool HoldsSetting(const Control& c)
{
    switch (c.kind) {
    case ControlKind::Edit:
    case ControlKind::Check:
    case ControlKind::Radio:
    case ControlKind::TrackBar:
    case ControlKind::List: return true;
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

std::string ControlCaption(const pages::Page& page, const Control& c)
{
    if (!c.caption.empty())
        return c.caption;
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
    return c.hint.substr(0, c.hint.find('\n'));
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
        {"FrameKornel1", "Servokurven"},      {"FrameKornelAdr1", "Servo-Adressen"},
        {"FrameRegister1", "CV-Register"},
    };
    for (const auto& [name, title] : titles)
        if (objectName == name)
            return title;
    return objectName;
}

} // namespace hz::tools
