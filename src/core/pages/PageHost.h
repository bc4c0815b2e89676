#pragma once
// The page host's part in core: which page models a decoder type shows, their set-up when
// the host shows them, and the question about pending working copies before a save. Where a
// frame stands in the window is the window's business (it places its frames around the
// models); what a page shows and does is decided here, for the window and the tool alike.
//
// The host owns its pages. Which pages exist, which page kind shows them and in which order
// is one table in PageHost.cpp; the host knows no page class by name, so a new page is a new
// folder and one line of that table.
//
// Page kinds: 0 none, 1 additional functions, 2 blink pattern, 3 LED blink pattern, 4 servo
// (the curve frame and the address frame), 6 register. There is no kind 5.

#include <memory>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "core/pages/Page.h"

namespace hz {
class Prompter;
}

namespace hz::pages {

class PageHost {
public:
    // Makes every page of the table, once; they are never destroyed. Showing a page again
    // re-runs its set-up, which re-reads the image.
    PageHost();
    PageHost(const PageHost&) = delete;
    PageHost& operator=(const PageHost&) = delete;

    // The host's page of class P (exactly that class). A class the table does not list is a
    // fault of the program: std::logic_error.
    template <class P> P& page()
    {
        static_assert(std::is_base_of_v<Page, P>);
        return static_cast<P&>(pageOfClass(typeid(P)));
    }
    template <class P> const P& page() const
    {
        static_assert(std::is_base_of_v<Page, P>);
        return static_cast<const P&>(pageOfClass(typeid(P)));
    }

    // The models the host shows for a page kind, in the order the window places them (none
    // for kind 0 and for kinds that do not exist).
    std::vector<Page*> pagesFor(int kind);
    // Every page model, each once, in the order of the page kinds: the window makes one frame
    // for each.
    std::vector<Page*> all();
    // The models shown for the loaded file.
    const std::vector<Page*>& shown() const { return m_shown; }

    // Shows the pages of `kind` for the loaded file: each page's set-up runs with `context`
    // and reads its image.
    void ShowPage(int kind, const PageContext& context);
    // Runs the set-up of the shown pages again, so that they show what the image holds now
    // (after an undo or redo has put an earlier image back).
    void ShowAgain(const PageContext& context);
    // The load hides every page before it reads a file.
    void HidePages();

    // At the beginning of a save: for every shown page with a working copy not yet written
    // into the image, "Geänderte Werte übernehmen?" (Yes/No). Yes writes it; No abandons the
    // save at once. Returns whether the save may go on.
    bool ConfirmPendingPageChanges(Prompter& prompter);
    // Whether any shown page holds changes not yet written into the image.
    bool hasPending() const;

private:
    Page& pageOfClass(const std::type_info& type) const;

    struct Hosted {
        int kind;
        std::unique_ptr<Page> page;
    };
    std::vector<Hosted> m_pages; // in the order of the table: by kind, then set-up order
    std::vector<Page*> m_shown;
};

} // namespace hz::pages
