#include "core/pages/PageHost.h"

#include "core/Prompter.h"
#include "core/Session.h"
#include "core/catalogue/Catalogue.h"

namespace hz::pages {

PageHost::PageHost()
{
    Kornel.AddressPage = &KornelAdr;
}

namespace {

template <auto Member>
Page* member(PageHost& host)
{
    return &(host.*Member);
}

struct KindEntry {
    int kind;
    std::vector<Page* (*)(PageHost&)> pages; // in the order they are set up and placed
};

// Which pages each page kind shows. A new page: its model as a member of PageHost, one line
// here; the page itself says where its frame stands (Page::placeIn).
const std::vector<KindEntry>& registry()
{
    static const std::vector<KindEntry> kinds = {
        {PageZusatz, {member<&PageHost::Zusatz>}},
        {PageBlinkmuster, {member<&PageHost::Blinkmuster>}},
        {PageBlinkmusterLed, {member<&PageHost::BlinkmusterLed>}},
        // The curve page first: the address page edits its working copy.
        {PageServo, {member<&PageHost::Kornel>, member<&PageHost::KornelAdr>}},
        {PageRegister, {member<&PageHost::Register>}},
    };
    return kinds;
}

} // namespace

std::vector<Page*> PageHost::pagesFor(int kind)
{
    std::vector<Page*> pages;
    for (const KindEntry& e : registry())
        if (e.kind == kind)
            for (auto pick : e.pages)
                pages.push_back(pick(*this));
    return pages;
}

std::vector<Page*> PageHost::all()
{
    std::vector<Page*> pages;
    for (const KindEntry& e : registry())
        for (auto pick : e.pages)
            pages.push_back(pick(*this));
    return pages;
}

void PageHost::ShowPage(int kind, Session& session)
{
    m_shown = pagesFor(kind);
    const PageContext context{session.image, session.prompter(), session.ident.Identifier};
    for (Page* p : m_shown) {
        p->Updating = true;
        p->corrections.clear();
        p->showFor(context);
    }
}

void PageHost::HidePages()
{
    m_shown.clear();
}

bool PageHost::ConfirmPendingPageChanges(Prompter& prompter)
{
    for (Page* p : m_shown) {
        if (!p->hasPending())
            continue;
        if (prompter.ask(MsgKind::Warning, "Geänderte Werte übernehmen?", Buttons::YesNo) != Answer::Yes)
            return false;
        p->accept();
    }
    return true;
}

bool PageHost::hasPending() const
{
    for (const Page* p : m_shown)
        if (p->hasPending())
            return true;
    return false;
}

} // namespace hz::pages
