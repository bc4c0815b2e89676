#include "core/pages/PageAction.h"

#include <utility>
#include <vector>

#include "core/firmware/HexText.h"

namespace hz::pages {

namespace {

bool refuse(std::string& error, std::string text)
{
    error = std::move(text);
    return false;
}

// A control is usable when it and every group it sits in are visible and enabled.
bool usable(const Page& page, const Control& c, bool& hidden)
{
    for (const Control* at = &c; at; at = at->parent.empty() ? nullptr : page.find(at->parent)) {
        if (!at->visible) {
            hidden = true;
            return false;
        }
        if (!at->enabled) {
            hidden = false;
            return false;
        }
    }
    return true;
}

bool parsePoints(const std::string& text, std::vector<std::pair<int, int>>& points)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string point = text.substr(start, end - start);
        const std::size_t comma = point.find(',');
        int x = 0, y = 0;
        if (comma == std::string::npos || !parseWholeNumber(point.substr(0, comma), x) ||
            !parseWholeNumber(point.substr(comma + 1), y))
            return false;
        points.emplace_back(x, y);
        start = end + 1;
    }
    return !points.empty();
}

} // namespace

bool ApplyPageAction(const std::vector<Page*>& pages, const std::string& action, std::string& error)
{
    const std::string name = action.substr(0, action.find('='));
    for (Page* p : pages)
        if (p->find(name))
            return ApplyPageAction(*p, action, error);
    return refuse(error, "Ein Bedienelement \"" + name + "\" gibt es auf dieser Seite nicht.");
}

bool ApplyPageActionAndLeave(const std::vector<Page*>& pages, const std::string& action, std::string& error,
                             std::vector<LimitedInput>& limited)
{
    const std::string name = action.substr(0, action.find('='));
    Page* page = nullptr;
    for (Page* p : pages)
        if (p->find(name)) {
            page = p;
            break;
        }
    if (!page)
        return ApplyPageAction(pages, action, error);
    std::vector<std::string> before;
    for (const Control& c : page->controls())
        before.push_back(c.text);
    const unsigned events = page->userEvents();
    if (!ApplyPageAction(*page, action, error))
        return false;
    for (std::size_t k = 0; k < page->controls().size() && k < before.size(); ++k) {
        const Control& c = page->controls()[k];
        // What the edit was given: the text typed into it (by the action, or by a spinner
        // the action moved), even where its handler has written the stored number back at
        // once; otherwise what the action left in it.
        const bool typed = page->userEvents() != events && page->lastTyped() == c.name;
        if (c.kind != ControlKind::Edit || (!typed && c.text == before[k]))
            continue;
        const std::string edit = c.name, given = typed ? page->lastTypedText() : c.text;
        page->userLeave(edit);
        const std::string& stored = page->controls()[k].text;
        int a = 0, b = 0;
        if (parseWholeNumber(given, a) && parseWholeNumber(stored, b) && a != b)
            limited.push_back({edit, given, stored});
    }
    return true;
}

bool ApplyPageAction(Page& target, const std::string& action, std::string& error)
{
    const std::size_t eq = action.find('=');
    const std::string name = action.substr(0, eq);
    const bool hasValue = eq != std::string::npos;
    const std::string value = hasValue ? action.substr(eq + 1) : std::string();

    Page* page = &target;
    const Control* c = target.find(name);
    if (!c)
        return refuse(error, "Ein Bedienelement \"" + name + "\" gibt es auf dieser Seite nicht.");
    bool hidden = false;
    if (!usable(*page, *c, hidden))
        return refuse(error, "\"" + name + (hidden ? "\" ist nicht sichtbar." : "\" ist gesperrt."));

    const std::string kind = controlKindName(c->kind);
    auto misfit = [&](const char* what) {
        return refuse(error, "\"" + name + "\" (" + kind + ") erwartet " + what + ", nicht \"" + action + "\".");
    };

    switch (c->kind) {
    case ControlKind::Edit:
        if (!hasValue)
            return misfit("NAME=TEXT");
        if (c->readOnly)
            return refuse(error, "\"" + name + "\" zeigt nur an und nimmt keine Eingabe.");
        page->userText(name, value);
        return true;
    case ControlKind::Check:
        if (value != "1" && value != "0")
            return misfit("NAME=1 oder NAME=0");
        page->userChecked(name, value == "1");
        return true;
    case ControlKind::Radio:
        if (hasValue)
            return misfit("NAME ohne Wert");
        page->userClick(name);
        return true;
    case ControlKind::Button:
        if (c->fileDialog != FileDialogKind::None) {
            if (!hasValue || value.empty())
                return misfit("NAME=DATEI");
            page->userFile(name, value);
            return true;
        }
        if (hasValue)
            return misfit("NAME ohne Wert");
        page->userClick(name);
        return true;
    case ControlKind::TrackBar: {
        int n = 0;
        if (!hasValue || !parseWholeNumber(value, n))
            return misfit("NAME=ZAHL");
        if (n < c->min || n > c->max)
            return refuse(error,
                          strprintf("\"%s\" geht nur von %d bis %d, nicht %d.", name.c_str(), c->min, c->max, n));
        page->userPosition(name, n);
        return true;
    }
    case ControlKind::List: {
        if (!hasValue)
            return misfit("NAME=EINTRAG oder NAME=#INDEX");
        int index = -1;
        if (value.size() > 1 && value[0] == '#') {
            if (!parseWholeNumber(value.substr(1), index) || index < 0 || index >= static_cast<int>(c->items.size()))
                return refuse(error, "\"" + name + "\" hat keinen Eintrag " + value + ".");
        } else {
            for (std::size_t k = 0; k < c->items.size(); ++k)
                if (c->items[k] == value) {
                    index = static_cast<int>(k);
                    break;
                }
            if (index < 0)
                return refuse(error, "\"" + name + "\" hat keinen Eintrag \"" + value + "\".");
        }
        page->userSelect(name, index);
        return true;
    }
    case ControlKind::Image: {
        std::vector<std::pair<int, int>> points;
        if (value.rfind("draw:", 0) != 0 || !parsePoints(value.substr(5), points))
            return misfit("NAME=draw:X,Y[;X,Y...]");
        page->userMouse(name, MouseAction::Press, points[0].first, points[0].second);
        for (const auto& [x, y] : points)
            page->userMouse(name, MouseAction::Move, x, y);
        page->userMouse(name, MouseAction::Release, points.back().first, points.back().second);
        return true;
    }
    case ControlKind::Label:
    case ControlKind::Group: return refuse(error, "\"" + name + "\" (" + kind + ") lässt sich nicht bedienen.");
    }
    return refuse(error, "\"" + name + "\" lässt sich nicht bedienen.");
}

} // namespace hz::pages
