#pragma once
// The page host's part in core: which page models a decoder type shows, their set-up when
// the host shows them, and the question about pending working copies before a save. Where a
// frame stands in the window is the window's business (it places its frames around the
// models); what a page shows and does is decided here, for the window and the tool alike.
//
// Page kinds: 0 none, 1 additional functions, 2 blink pattern, 3 LED blink pattern, 4 servo
// (the curve frame and the address frame), 6 register. There is no kind 5.

#include <vector>

#include "core/pages/Page.h"
#include "core/pages/blink/BlinkmusterPage.h"
#include "core/pages/register/RegisterPage.h"
#include "core/pages/servo/KornelAdrPage.h"
#include "core/pages/servo/KornelPage.h"
#include "core/pages/zusatz/ZusatzPage.h"

namespace hz {
class Prompter;
class Session;
}

namespace hz::pages {

class PageHost {
public:
    PageHost();
    PageHost(const PageHost&) = delete;
    PageHost& operator=(const PageHost&) = delete;

    // The six pages, created once and never destroyed; showing a page again re-runs its
    // set-up, which re-reads the image.
    ZusatzPage Zusatz;
    BlinkmusterPage Blinkmuster;
    BlinkmusterLedPage BlinkmusterLed;
    // The servo pages: the curve page owns the working copy the address page edits.
    KornelPage Kornel;
    KornelAdrPage KornelAdr{Kornel};
    RegisterPage Register;

    // The models the host shows for a page kind, in the order the window places them (none
    // for kind 0 and for kinds that do not exist).
    std::vector<Page*> pagesFor(int kind);
    // Every page model, each once, in the order of the page kinds: the window makes one frame
    // for each.
    std::vector<Page*> all();
    // The models shown for the loaded file.
    const std::vector<Page*>& shown() const { return m_shown; }

    // Shows the pages of `kind` for the session's file: each page's set-up runs and reads the
    // image.
    void ShowPage(int kind, Session& session);
    // The load hides every page before it reads a file.
    void HidePages();

    // At the beginning of a save: for every shown page with a working copy not yet written
    // into the image, "Geänderte Werte übernehmen?" (Yes/No). Yes writes it; No abandons the
    // save at once. Returns whether the save may go on.
    bool ConfirmPendingPageChanges(Prompter& prompter);
    // Whether any shown page holds changes not yet written into the image.
    bool hasPending() const;

private:
    std::vector<Page*> m_shown;
};

} // namespace hz::pages
