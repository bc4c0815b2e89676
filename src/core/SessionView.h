#pragma once
// What the load sequence asks of a window beyond the pages it shows. The main window
// implements it; the command-line tool and most tests use the do-nothing defaults. Messages
// and questions do not go through here but through the Prompter; what the address rows and the
// editor pages show is their models' state, which the window's frames mirror.

#include <string>

namespace hz {

class SessionView {
public:
    virtual ~SessionView() = default;

    // The reader has reset the image: hide all six editor pages.
    virtual void HidePages() {}
    // Base arrangement of the window (as for a decoder without page).
    virtual void ResetLayout() {}
    // Place the frames of the editor page the session has just shown (kinds 1, 2, 3, 4, 6).
    virtual void ShowPage(int kind) { (void)kind; }
    // Show the decoder name in the header at the largest size that fits.
    virtual void FitHeader(const std::string& name) { (void)name; }
    // Progress of the address decoding (the bar clamps to 0..maximum).
    virtual void SetProgress(int maximum, int position)
    {
        (void)maximum;
        (void)position;
    }
    // The web button's caption follows the documentation page.
    virtual void DocPageChanged(const std::string& url) { (void)url; }
};

} // namespace hz
