#include "core/pages/PlaceholderPage.h"

namespace hz::pages {

void PlaceholderPage::addGroup(const std::string& name, const std::string& caption, const Rect& r)
{
    Control c;
    c.name = name;
    c.kind = ControlKind::Group;
    c.caption = caption;
    c.geometry = r;
    // Measured by the host, not shown: an empty group would only puzzle the user.
    c.visible = false;
    add(std::move(c));
}

void PlaceholderPage::addAcceptButton(const std::string& name, const std::string& caption, const Rect& r)
{
    Control c;
    c.name = name;
    c.kind = ControlKind::Button;
    c.caption = caption;
    c.geometry = r;
    c.enabled = false;
    c.visible = false;
    add(std::move(c));
    m_accept = name;
}

bool PlaceholderPage::hasPending() const
{
    const Control* b = m_accept.empty() ? nullptr : find(m_accept);
    return b && b->enabled;
}

void PlaceholderPage::accept()
{
    if (Control* b = m_accept.empty() ? nullptr : findMutable(m_accept))
        setEnabled(*b, false);
}

void PlaceholderPage::markPending()
{
    if (Control* b = m_accept.empty() ? nullptr : findMutable(m_accept))
        setEnabled(*b, true);
}

void PlaceholderPage::onClick(Control& c)
{
    if (c.name == m_accept)
        accept();
}

} // namespace hz::pages
