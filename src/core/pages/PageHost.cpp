#include "core/pages/PageHost.h"

#include "core/Prompter.h"
#include "core/Session.h"
#include "core/catalogue/Catalogue.h"

namespace hz::pages {

PageHost::PageHost()
{
    Kornel.AddressPage = &KornelAdr;
}

std::vector<Page*> PageHost::pagesFor(int kind)
{
    switch (kind) {
    case PageZusatz: return {&Zusatz};
    case PageBlinkmuster: return {&Blinkmuster};
    case PageBlinkmusterLed: return {&BlinkmusterLed};
    // The curve frame first, then the address frame: the order the host sets them up in.
    case PageServo: return {&Kornel, &KornelAdr};
    case PageRegister: return {&Register};
    default: return {};
    }
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
