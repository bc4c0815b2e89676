#pragma once
// The window's side of the page host: one frame per page model of the session, created with
// the window and never destroyed, and the placing of the shown page's frames. Which pages a
// decoder shows and what they do is the core page host's business (pages/PageHost.h); here
// the frames are put where the pages were designed to stand, and the window is arranged
// around them.

#include <vector>

#include "core/pages/Page.h"

class QWidget;
namespace hz::gui {
class FileDialogs;
}
class TFormMain;
class PageFrame;
class RegisterFrame;

class PageHostView {
public:
    // Creates the six frames as children of `parent`, hidden, in the host's order; buttons of
    // the pages that open a file dialog open the window's `dialogs`.
    PageHostView(TFormMain& window, QWidget* parent, hz::gui::FileDialogs* dialogs);

    PageFrame* FrameZusatz1 = nullptr;
    PageFrame* FrameBlinkmuster1 = nullptr;
    PageFrame* FrameBlinkmuster_led1 = nullptr;
    PageFrame* FrameKornelAdr1 = nullptr;
    PageFrame* FrameKornel1 = nullptr;
    RegisterFrame* FrameRegister1 = nullptr;

    const std::vector<PageFrame*>& frames() const { return m_frames; }

    // Hides the frames of kinds 1 to 4 and places the frames of `kind`, whose models the
    // core host has just set up, then arranges the window around them.
    void ShowPage(int kind);
    // The load hides all six frames.
    void HidePages();
    // Copies what changed in the models into the shown frames.
    void Refresh();

private:
    TFormMain& m_window;
    std::vector<PageFrame*> m_frames;
};
