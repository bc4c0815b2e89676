#include "core/pages/servo/KornelPage.h"

#include "core/pages/servo/KornelAdrPage.h"

namespace hz::pages {

KornelPage::KornelPage() = default;

void KornelPage::EnableAccept() {}

} // namespace hz::pages
