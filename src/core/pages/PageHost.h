#pragma once
// The page host's part in core: which page models a decoder type shows, their set-up when
// the host shows them, and the question about pending working copies before a save. Where a
// frame stands in the window is the window's business (it places its frames around the
// models); what a page shows and does is decided here, for the window and the tool alike.
//
// The host owns its pages. Which pages exist, which page kind shows them and in which order
// is one table in PageHost.cpp; the host knows no page class by name, so a new page is a new
// folder and one line of that table. A page is made when it is first asked for (the loaded
// type shows it, or someone asks for its class): a load makes only the pages its type shows,
// and the tool, which loads one file, never makes the others.
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
    // Lays out the table; no page is made yet. A page, once made, is never destroyed: showing
    // it again re-runs its set-up, which re-reads the image.
    PageHost();
    PageHost(const PageHost&) = delete;
    PageHost& operator=(const PageHost&) = delete;

    // The host's page of class P (exactly that class), made now if it was not yet. A class
    // the table does not list is a fault of the program: std::logic_error.
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
    // for kind 0 and for kinds that do not exist); made now if they were not yet.
    std::vector<Page*> pagesFor(int kind);
    // Every page model, each once, in the order of the page kinds, all made now: the window
    // makes one frame for each when it opens.
    std::vector<Page*> all();
    // The page models made so far, in the order of the page kinds.
    std::vector<const Page*> made() const;
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

    // How the table makes one page. The host passes itself, for a page that works together
    // with another it asks the host for.
    using MakePage = std::unique_ptr<Page> (*)(PageHost& host);

private:
    // A page counts as part of the host whether it is made yet or not, so the const accessor
    // makes it too.
    Page& pageOfClass(const std::type_info& type) const;

    struct Hosted {
        int kind;
        const std::type_info* type; // the page's class, known before the page is made
        MakePage make;
        std::unique_ptr<Page> page; // null until first asked for
    };
    Page& ensureMade(Hosted& h) const;
    mutable std::vector<Hosted> m_pages; // in the order of the table: by kind, then set-up order
    std::vector<Page*> m_shown;
};

} // namespace hz::pages
