#include "core/editor/WindowLayout.h"

namespace hz {

namespace {

// Heights and fixed sizes of the lower controls as the window was designed; the arrangement
// only moves them and sets the widths of the four wide buttons.
constexpr int kButtonTop = 16;
constexpr int kButtonHeight = 25;
constexpr int kArrowWidth = 15;
constexpr int kInfoHeight = 24;
constexpr int kCloseTop = 40;
constexpr int kProgressTop = 49;
constexpr int kProgressHeight = 17;
constexpr int kButtonGroupHeight = 74;
constexpr int kGowebHeight = 25;

} // namespace

const WindowLayout::Place* WindowLayout::find(const std::string& name) const
{
    for (const Place& p : places)
        if (p.name == name)
            return &p;
    return nullptr;
}

WindowLayout ArrangeWindow(const pages::WindowArrangement& a)
{
    WindowLayout w;
    w.width = a.right + a.width + 10;
    w.height = a.height + kButtonGroupHeight + 50;
    // Integer division truncates toward zero, as the layout formulas want.
    const int wide = ((a.width - 40) * 4) / 10 - 15;
    const int narrow = (2 * (a.width - 40)) / 10;
    const pages::Rect prev{10, kButtonTop, kArrowWidth, kButtonHeight};
    const pages::Rect load{prev.left + prev.width, kButtonTop, wide, kButtonHeight};
    const pages::Rect next{load.left + load.width, kButtonTop, kArrowWidth, kButtonHeight};
    const pages::Rect save{next.left + next.width + 10, kButtonTop, wide, kButtonHeight};
    const pages::Rect info{save.left + save.width + 10, kButtonTop, narrow, kInfoHeight};
    const pages::Rect close{info.left, kCloseTop, narrow, kButtonHeight};
    const pages::Rect buttons{a.right, a.height + 15, info.left + info.width + 10, kButtonGroupHeight};
    const pages::Rect image{a.left, a.height + 15, a.right - a.left - 5, kButtonGroupHeight - kGowebHeight - 5};
    w.places = {
        {"GroupBoxMain", "", {kAddressArea.left, kAddressArea.top, kAddressArea.width, a.height + 5}},
        {"GroupBoxImage", "", image},
        {"Image2",
         "GroupBoxImage",
         {image.width / 2 - kLinkPictureWidth / 2, image.height / 2 - kLinkPictureHeight / 2, kLinkPictureWidth,
          kLinkPictureHeight}},
        {"btn_goweb", "", {image.left, image.top + image.height + 4, image.width, kGowebHeight}},
        {"GroupBoxButtons", "", buttons},
        {"btn_prev", "GroupBoxButtons", prev},
        {"btn_load", "GroupBoxButtons", load},
        {"btn_next", "GroupBoxButtons", next},
        {"btn_save", "GroupBoxButtons", save},
        {"btn_info", "GroupBoxButtons", info},
        {"btn_close", "GroupBoxButtons", close},
        {"ProgressBar1", "GroupBoxButtons", {load.left, kProgressTop, load.width + save.width + 10, kProgressHeight}},
    };
    return w;
}

} // namespace hz
