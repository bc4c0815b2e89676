#include "core/pages/servo/KornelAdrPage.h"

#include "core/pages/servo/KornelPage.h"

namespace hz::pages {

KornelAdrPage::KornelAdrPage(KornelPage& curves) : m_curves(curves) {}

void KornelAdrPage::RefreshPage() {}

} // namespace hz::pages

namespace hz::pages {

void KornelAdrPage::showFor(Session&) { Updating = false; }

} // namespace hz::pages
