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

// Makes one page. The host passes itself, holding the pages made before this one, for a page
// that works together with another.
using MakePage = std::unique_ptr<Page> (*)(PageHost& host);

template <class P> std::unique_ptr<Page> make(PageHost&) { return std::make_unique<P>(); }

// The servo address page edits the working copy of the curve page, and the curve page
// refreshes the address page when it reloads its table and writes its pulse values on
// "übernehmen": the address page is made after the curve page, on it, and the two are linked.
std::unique_ptr<Page> makeServoAddressPage(PageHost& host)
{
    KornelPage& curves = host.page<KornelPage>();
    auto page = std::make_unique<KornelAdrPage>(curves);
    curves.AddressPage = page.get();
    return page;
}

struct KindEntry {
    int kind;
    std::vector<MakePage> pages; // in the order they are made, set up and placed
};

// Which pages each page kind shows. A new page: one line here (the page itself says where its
// frame stands, Page::placeIn).
const std::vector<KindEntry>& registry()
{
    static const std::vector<KindEntry> kinds = {
        {PageZusatz, {make<ZusatzPage>}},
        {PageBlinkmuster, {make<BlinkmusterPage>}},
        {PageBlinkmusterLed, {make<BlinkmusterLedPage>}},
        // The curve page first: the address page edits its working copy.
        {PageServo, {make<KornelPage>, makeServoAddressPage}},
        {PageRegister, {make<RegisterPage>}},
    };
    return kinds;
}

} // namespace

PageHost::PageHost()
{
    for (const KindEntry& e : registry())
        for (MakePage makePage : e.pages) {
            std::unique_ptr<Page> page = makePage(*this);
            m_pages.push_back({e.kind, std::move(page)});
        }
}

Page& PageHost::pageOfClass(const std::type_info& type) const
{
    for (const Hosted& h : m_pages) {
        Page& page = *h.page;
        if (typeid(page) == type)
            return page;
    }
    throw std::logic_error(std::string("PageHost has no page of class ") + type.name());
}

std::vector<Page*> PageHost::pagesFor(int kind)
{
    std::vector<Page*> pages;
    for (const Hosted& h : m_pages)
        if (h.kind == kind)
            pages.push_back(h.page.get());
    return pages;
}

std::vector<Page*> PageHost::all()
{
    std::vector<Page*> pages;
    for (const Hosted& h : m_pages)
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
