// The reading order the window's keyboard focus follows, worked out from the controls' places.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/pages/Page.h"
#include "core/pages/ReadingOrder.h"

using namespace hz::pages;

namespace {

// One address row as the page lays it out: caption, field 10 pixels right of it, the R/G
// button 10 pixels right of the field; `x`, `y` where the row starts.
std::vector<Rect> row(int x, int y)
{
    return {Rect{x, y + 4, 95, 20}, Rect{x + 100, y, 40, 20}, Rect{x + 150, y + 2, 30, 16}};
}

std::vector<Rect> join(std::initializer_list<std::vector<Rect>> parts)
{
    std::vector<Rect> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace

TEST(ReadingOrder, TopToBottomLeftToRightColumnByColumn)
{
    struct Case {
        const char* what;
        std::vector<Rect> boxes;
        std::vector<std::size_t> expected;
    } cases[] = {
        {"one line, given right to left", {{200, 0, 40, 20}, {5, 4, 100, 20}, {110, 0, 40, 20}}, {1, 2, 0}},
        // boxes of one line stand a few pixels lower or higher than each other
        {"rows 25 apart, the lower one given first", join({row(5, 25), row(5, 0)}), {3, 4, 5, 0, 1, 2}},
        {"rows that touch", {{0, 20, 50, 20}, {0, 0, 50, 20}}, {1, 0}},
        // the second column starts 20 pixels right of the first one's buttons: the first
        // column is read to its end, as the rows are numbered
        {"two columns",
         join({row(5, 0), row(205, 0), row(5, 25), row(205, 25)}),
         {0, 1, 2, 6, 7, 8, 3, 4, 5, 9, 10, 11}},
        {"a box across the top, then two columns",
         join({row(5, 30), row(205, 30), {{5, 0, 380, 20}}, row(5, 55), row(205, 55)}),
         {6, 0, 1, 2, 7, 8, 9, 3, 4, 5, 10, 11, 12}},
        // a group box beside two rows, 5 pixels from them: no gap runs across, and the cut
        // beside the group (not the wider one between field and button) keeps the rows whole
        {"a tall box close beside rows", join({{{190, 0, 100, 60}}, row(5, 0), row(5, 25)}), {1, 2, 3, 4, 5, 6, 0}},
        {"boxes lying over each other", {{10, 10, 50, 50}, {0, 10, 50, 50}, {20, 0, 50, 50}}, {2, 1, 0}},
        {"nothing", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadingOrder(c.boxes), c.expected);
    }
}

namespace {

// A page whose controls are made bottom-up, as a page that lays out from the bottom of its
// panel makes them: the mode group at the bottom first, the field at the top last.
class BottomUpPage : public Page {
public:
    BottomUpPage()
    {
        put("btn_unplaced", ControlKind::Button, std::nullopt, "");
        put("pnl", ControlKind::Group, Rect{0, 0, 300, 200}, "");
        put("group_mode", ControlKind::Group, Rect{10, 100, 200, 80}, "pnl");
        put("rad_mode1", ControlKind::Radio, Rect{10, 20, 80, 17}, "group_mode");
        put("rad_mode2", ControlKind::Radio, Rect{10, 45, 80, 17}, "group_mode");
        put("cbx_lock", ControlKind::Check, Rect{10, 60, 150, 17}, "pnl");
        put("edt_hidden", ControlKind::Edit, Rect{170, 60, 40, 20}, "pnl").visible = false;
        put("img", ControlKind::Image, Rect{220, 60, 60, 30}, "pnl");
        put("lbl_time", ControlKind::Label, Rect{10, 14, 100, 16}, "pnl");
        put("edt_time", ControlKind::Edit, Rect{120, 10, 40, 20}, "pnl");
        put("trk_time", ControlKind::TrackBar, Rect{170, 10, 100, 25}, "pnl");
    }
    const char* frameName() const override { return "TFrameTest"; }
    const char* objectName() const override { return "FrameTest1"; }
    void showFor(const PageContext&) override {}

private:
    Control& put(const char* name, ControlKind kind, std::optional<Rect> geometry, const char* parent)
    {
        Control c;
        c.name = name;
        c.kind = kind;
        c.geometry = geometry;
        c.parent = parent;
        return add(std::move(c));
    }
};

} // namespace

// The focus takes the visible controls that take input, each group where it stands and its
// own controls in their reading order inside it; labels, groups, images and hidden controls
// are passed by, and a control without a place comes last.
TEST(ReadingOrder, FocusOrderOfAPage)
{
    const BottomUpPage page;
    EXPECT_EQ(FocusOrder(page),
              (std::vector<std::string>{"edt_time", "trk_time", "cbx_lock", "rad_mode1", "rad_mode2", "btn_unplaced"}));
}
