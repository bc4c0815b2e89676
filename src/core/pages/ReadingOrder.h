#pragma once
// The order in which a reader takes in what a page shows, worked out from where its controls
// stand: top to bottom, left to right, and a column read to its end before the next one. The
// window's keyboard focus follows it, so every page gets the order Tab walks without a list
// of its own.

#include <cstddef>
#include <string>
#include <vector>

#include "core/pages/PageControl.h"

namespace hz::pages {

class Page;

// Columns stand at least this far apart; closer boxes belong to one line (a caption, its field
// and its button stand 10 pixels apart).
inline constexpr int kColumnGutter = 16;

// The indices of `boxes` in reading order. The boxes are cut apart where nothing stands:
// into columns left to right where a gap of at least kColumnGutter runs from top to bottom,
// else into bands top to bottom at the widest gap across, else - a box as high as the others
// stands beside them - left to right where both parts can still be read as lines; boxes that
// overlap in both directions are taken by their top, then their left.
std::vector<std::size_t> ReadingOrder(const std::vector<Rect>& boxes);

// Whether a control of this kind takes the keyboard focus.
bool TakesFocus(ControlKind kind);

// The visible controls of `page` that take the keyboard focus, in reading order. The
// controls of a group are read where the group stands, in their own reading order inside it;
// controls without a geometry come last, in the page's order.
std::vector<std::string> FocusOrder(const Page& page);

} // namespace hz::pages
