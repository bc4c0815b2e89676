#include "core/pages/servo/KornelPage.h"

#include "core/pages/servo/KornelAdrPage.h"

namespace hz::pages {

KornelPage::KornelPage() = default;

void KornelPage::EnableAccept() {}

} // namespace hz::pages

namespace hz::pages {

void KornelPage::showFor(Session&) { Updating = false; }
bool KornelPage::hasPending() const { return false; }
void KornelPage::accept() {}
std::vector<int> KornelPage::data() const { return std::vector<int>(CurveData.begin(), CurveData.end()); }

} // namespace hz::pages
