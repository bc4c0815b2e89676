#pragma once
// Where the main window's own controls stand around a shown page: the address group, the
// buttons, the link picture and the documentation button, as the window arranges them for the
// page's WindowArrangement (or the base arrangement when no page asks for one). Every face
// that draws the window (the Qt window, the browser) places them from here.

#include <string>
#include <vector>

#include "core/pages/Page.h"

namespace hz {

struct WindowLayout {
    struct Place {
        std::string name;   // "btn_load", "GroupBoxButtons", ...
        std::string parent; // the group it stands in; empty: the window's client area
        pages::Rect geometry;
    };
    // In the order a reader meets them: the groups first, then what they hold.
    std::vector<Place> places;
    // The client area's size (without a menu bar and the status bar).
    int width = 0, height = 0;

    const Place* find(const std::string& name) const;
};

// The link picture in its group, 200 x 32 pixels.
inline constexpr int kLinkPictureWidth = 200, kLinkPictureHeight = 32;

// The arrangement of a window that shows no page of its own.
inline constexpr pages::WindowArrangement kBaseArrangement{5, 410, 500, 300};

// The address group's place, where the pages are placed from (Page::placeIn).
inline constexpr pages::AddressArea kAddressArea{5, 5, 400};

WindowLayout ArrangeWindow(const pages::WindowArrangement& a);

} // namespace hz
