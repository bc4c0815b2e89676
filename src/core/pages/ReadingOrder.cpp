#include "core/pages/ReadingOrder.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "core/pages/Page.h"

namespace hz::pages {

namespace {

// A place where nothing stands: it starts at `at` and is `width` wide (0 where two boxes
// touch).
struct Gap {
    int at = 0;
    int width = 0;
};

// The gaps between the spans [first, second) of the boxes along one direction, in order.
std::vector<Gap> gapsBetween(std::vector<std::pair<int, int>> spans)
{
    std::sort(spans.begin(), spans.end());
    std::vector<Gap> gaps;
    int reach = spans.front().second;
    for (std::size_t k = 1; k < spans.size(); ++k) {
        if (spans[k].first >= reach)
            gaps.push_back(Gap{reach, spans[k].first - reach});
        reach = std::max(reach, spans[k].second);
    }
    return gaps;
}

std::optional<Gap> widest(const std::vector<Gap>& gaps)
{
    std::optional<Gap> w;
    for (const Gap& g : gaps)
        if (!w || g.width > w->width)
            w = g;
    return w;
}

std::vector<std::pair<int, int>> spans(const std::vector<Rect>& boxes, const std::vector<std::size_t>& items,
                                       bool across)
{
    std::vector<std::pair<int, int>> s;
    for (std::size_t i : items) {
        const Rect& r = boxes[i];
        s.emplace_back(across ? r.left : r.top, across ? r.left + std::max(0, r.width) : r.top + std::max(0, r.height));
    }
    return s;
}

// The boxes before and after a cut at `at` (left or top edges before it go first).
std::pair<std::vector<std::size_t>, std::vector<std::size_t>>
cutAt(const std::vector<Rect>& boxes, const std::vector<std::size_t>& items, bool byLeft, int at)
{
    std::pair<std::vector<std::size_t>, std::vector<std::size_t>> parts;
    for (std::size_t i : items)
        ((byLeft ? boxes[i].left : boxes[i].top) < at ? parts.first : parts.second).push_back(i);
    return parts;
}

// Whether the boxes can be read as lines: one box, or a gap runs across them.
bool readsAsLines(const std::vector<Rect>& boxes, const std::vector<std::size_t>& items)
{
    return items.size() <= 1 || !gapsBetween(spans(boxes, items, false)).empty();
}

void order(const std::vector<Rect>& boxes, std::vector<std::size_t> items, std::vector<std::size_t>& out)
{
    if (items.size() <= 1) {
        out.insert(out.end(), items.begin(), items.end());
        return;
    }
    const std::vector<Gap> columns = gapsBetween(spans(boxes, items, true));
    const std::optional<Gap> column = widest(columns);
    const std::optional<Gap> band = widest(gapsBetween(spans(boxes, items, false)));
    auto split = [&](bool byLeft, const Gap& gap) {
        auto [before, after] = cutAt(boxes, items, byLeft, gap.at + gap.width);
        order(boxes, std::move(before), out);
        order(boxes, std::move(after), out);
    };
    if (column && column->width >= kColumnGutter) {
        split(true, *column);
    } else if (band) {
        split(false, *band);
    } else if (column) {
        // A box as high as the rest stands beside them (a group beside rows): cut where both
        // sides can be read as lines, so that the rows stay rows; else at the widest gap.
        const Gap* best = nullptr;
        int bestLines = -1;
        for (const Gap& g : columns) {
            const auto [before, after] = cutAt(boxes, items, true, g.at + g.width);
            const int lines = (readsAsLines(boxes, before) ? 1 : 0) + (readsAsLines(boxes, after) ? 1 : 0);
            if (lines > bestLines || (lines == bestLines && g.width > best->width)) {
                best = &g;
                bestLines = lines;
            }
        }
        split(true, *best);
    } else {
        // Boxes lying over each other: the higher first, then the one further left.
        std::stable_sort(items.begin(), items.end(), [&](std::size_t a, std::size_t b) {
            return std::pair(boxes[a].top, boxes[a].left) < std::pair(boxes[b].top, boxes[b].left);
        });
        out.insert(out.end(), items.begin(), items.end());
    }
}

} // namespace

std::vector<std::size_t> ReadingOrder(const std::vector<Rect>& boxes)
{
    std::vector<std::size_t> items(boxes.size());
    for (std::size_t k = 0; k < items.size(); ++k)
        items[k] = k;
    std::vector<std::size_t> out;
    out.reserve(boxes.size());
    order(boxes, std::move(items), out);
    return out;
}

bool TakesFocus(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Edit:
    case ControlKind::Check:
    case ControlKind::Radio:
    case ControlKind::TrackBar:
    case ControlKind::List:
    case ControlKind::Button: return true;
    case ControlKind::Label:
    case ControlKind::Group:
    case ControlKind::Image: return false;
    }
    return false;
}

std::vector<std::string> FocusOrder(const Page& page)
{
    const std::vector<Control>& controls = page.controls();
    // The visible controls of each group ("" for the page itself), in the page's order.
    std::map<std::string, std::vector<std::size_t>> inGroup;
    for (std::size_t k = 0; k < controls.size(); ++k)
        if (controls[k].visible)
            inGroup[controls[k].parent].push_back(k);

    std::vector<std::string> names;
    auto readGroup = [&](auto& self, const std::string& group) -> void {
        const auto members = inGroup.find(group);
        if (members == inGroup.end())
            return;
        std::vector<std::size_t> placed, unplaced;
        std::vector<Rect> boxes;
        for (std::size_t k : members->second) {
            if (controls[k].geometry) {
                placed.push_back(k);
                boxes.push_back(*controls[k].geometry);
            } else {
                unplaced.push_back(k);
            }
        }
        std::vector<std::size_t> read;
        for (std::size_t i : ReadingOrder(boxes))
            read.push_back(placed[i]);
        read.insert(read.end(), unplaced.begin(), unplaced.end());
        for (std::size_t k : read) {
            const Control& c = controls[k];
            if (TakesFocus(c.kind))
                names.push_back(c.name);
            if (!c.name.empty() && c.name != group)
                self(self, c.name);
        }
    };
    readGroup(readGroup, std::string());
    return names;
}

} // namespace hz::pages
