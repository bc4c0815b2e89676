#include "core/pages/PageHost.h"

#include <stdexcept>
#include <string>

#include "core/Prompter.h"
#include "core/catalogue/Catalogue.h"
#include "core/pages/blink/BlinkmusterPage.h"
#include "core/pages/register/RegisterPage.h"
#include "core/pages/servo/KornelAdrPage.h"
#include "core/pages/servo/KornelPage.h"
#include "core/pages/zusatz/ZusatzPage.h"

namespace hz::pages {

namespace {

using MakePage = PageHost::MakePage;

struct PageEntry {
    const std::type_info* type;
    MakePage make;
};

template <class P> std::unique_ptr<Page> makePlain(PageHost&) { return std::make_unique<P>(); }
// A page of class P made by `how` (by default on its own).
template <class P, MakePage how = makePlain<P>> PageEntry make() { return {&typeid(P), how}; }

// The servo address page edits the working copy of the curve page, and the curve page
// refreshes the address page when it reloads its table and writes its pulse values on
// "übernehmen": the address page is made on the curve page (which the host makes first if it
// was not yet), and the two are linked.
std::unique_ptr<Page> makeServoAddressPage(PageHost& host)
{
    KornelPage& curves = host.page<KornelPage>();
    auto page = std::make_unique<KornelAdrPage>(curves);
    curves.AddressPage = page.get();
    return page;
}

struct KindEntry {
    int kind;
    std::vector<PageEntry> pages; // in the order they are set up and placed
};

// Which pages each page kind shows. A new page: one line here (the page itself says where its
// frame stands, Page::placeIn).
const std::vector<KindEntry>& registry()
{
    static const std::vector<KindEntry> kinds = {
        {PageZusatz, {make<ZusatzPage>()}},
        {PageBlinkmuster, {make<BlinkmusterPage>()}},
        {PageBlinkmusterLed, {make<BlinkmusterLedPage>()}},
        // The curve page first: the address page edits its working copy.
        {PageServo, {make<KornelPage>(), make<KornelAdrPage, makeServoAddressPage>()}},
        {PageRegister, {make<RegisterPage>()}},
    };
    return kinds;
}

} // namespace

PageHost::PageHost()
{
    for (const KindEntry& e : registry())
        for (const PageEntry& p : e.pages)
            m_pages.push_back({e.kind, p.type, p.make, nullptr});
}

Page& PageHost::ensureMade(Hosted& h) const
{
    // The table is laid out in full before any page is made, so `h` stays where it is while a
    // page that makes another page first runs.
    if (!h.page)
        h.page = h.make(const_cast<PageHost&>(*this));
    return *h.page;
}

Page& PageHost::pageOfClass(const std::type_info& type) const
{
    for (Hosted& h : m_pages)
        if (*h.type == type)
            return ensureMade(h);
    throw std::logic_error(std::string("PageHost has no page of class ") + type.name());
}

std::vector<Page*> PageHost::pagesFor(int kind)
{
    std::vector<Page*> pages;
    for (Hosted& h : m_pages)
        if (h.kind == kind)
            pages.push_back(&ensureMade(h));
    return pages;
}

std::vector<Page*> PageHost::all()
{
    std::vector<Page*> pages;
    for (Hosted& h : m_pages)
        pages.push_back(&ensureMade(h));
    return pages;
}

std::vector<const Page*> PageHost::made() const
{
    std::vector<const Page*> pages;
    for (const Hosted& h : m_pages)
        if (h.page)
            pages.push_back(h.page.get());
    return pages;
}

void PageHost::ShowPage(int kind, const PageContext& context)
{
    m_shown = pagesFor(kind);
    ShowAgain(context);
}

void PageHost::ShowAgain(const PageContext& context)
{
    for (Page* p : m_shown) {
        p->Updating = true;
        p->corrections.clear();
        p->showFor(context);
    }
}

void PageHost::HidePages() { m_shown.clear(); }

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
