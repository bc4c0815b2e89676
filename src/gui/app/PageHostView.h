#pragma once
// The window's side of the page host: one frame per page model of the core host, created with
// the window and never destroyed, and the placing of the shown pages' frames. Which pages a
// decoder shows, and where each page's frame stands, the core decides (pages/PageHost.h,
// Page::placeIn); here the frames are made, put there, and the window is told how it wants to
// be arranged around them.

#include <optional>
#include <vector>

#include "core/pages/Page.h"
#include "core/pages/PageHost.h"

class QWidget;
namespace hz::gui {
class FileDialogs;
}
class PageFrame;

class PageHostView {
public:
    // Creates one frame for every page of `host`, as children of `parent`, hidden; buttons of
    // the pages that open a file dialog open the window's `dialogs`.
    PageHostView(hz::pages::PageHost& host, QWidget* parent, hz::gui::FileDialogs* dialogs);

    // The frame of the page with this object name ("FrameKornel1"); nullptr when none.
    PageFrame* frame(const char* objectName) const;
    const std::vector<PageFrame*>& frames() const { return m_frames; }

    // Shows the frames of the pages of `kind` (which the core host has just set up) where the
    // pages say they stand beside or over the window's address `area`, and hides the other
    // pages' frames (but those only a load hides). Returns how the window is to be arranged
    // around them; none for a kind without pages, which keeps the base layout.
    std::optional<hz::pages::WindowArrangement> ShowPage(int kind, const hz::pages::AddressArea& area);
    // The load hides every frame.
    void HidePages();
    // Copies what changed in the models into the shown frames.
    void Refresh();

private:
    hz::pages::PageHost& m_host;
    std::vector<PageFrame*> m_frames; // one per page of m_host.all(), in that order
};
