#include "pages/PageHost.h"

#include "Prompter.h"
#include "catalogue/Catalogue.h"

namespace hz::pages {

PageHost::PageHost() { m_all = {&Register}; }

std::vector<Page*> PageHost::pagesFor(int kind)
{
    switch (kind) {
    case PageRegister: return {&Register};
    default: return {};
    }
}

void PageHost::ShowPage(int kind, Session& session)
{
    m_kind = kind;
    m_shown = pagesFor(kind);
    for (Page* p : m_shown) {
        p->Updating = true;
        p->showFor(session);
    }
}

void PageHost::HidePages()
{
    m_kind = 0;
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
