// The page host: which pages each page kind shows and in which order, and the accessor by
// which the window, the tool and the tests reach one page of the host.

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "core/catalogue/Catalogue.h"
#include "core/pages/PageHost.h"
#include "core/pages/blink/BlinkmusterPage.h"
#include "core/pages/register/RegisterPage.h"
#include "core/pages/servo/KornelAdrPage.h"
#include "core/pages/servo/KornelPage.h"
#include "core/pages/zusatz/ZusatzPage.h"

using namespace hz;
using namespace hz::pages;

TEST(PageHost, EachKindShowsItsPagesInPlacingOrder)
{
    PageHost host;
    Page* zusatz = &host.page<ZusatzPage>();
    Page* blink = &host.page<BlinkmusterPage>();
    Page* blinkLed = &host.page<BlinkmusterLedPage>();
    Page* curves = &host.page<KornelPage>();
    Page* addresses = &host.page<KornelAdrPage>();
    Page* registers = &host.page<RegisterPage>();

    const struct {
        int kind;
        std::vector<Page*> pages;
    } cases[] = {
        {PageNone, {}},
        {PageZusatz, {zusatz}},
        {PageBlinkmuster, {blink}},
        {PageBlinkmusterLed, {blinkLed}},
        // the curve page is set up before the address page that edits its working copy
        {PageServo, {curves, addresses}},
        {5, {}},
        {PageRegister, {registers}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(host.pagesFor(c.kind), c.pages) << "kind " << c.kind;

    // every page once, by kind: the window makes one frame for each
    EXPECT_EQ(host.all(), (std::vector<Page*>{zusatz, blink, blinkLed, curves, addresses, registers}));
    // the curve page reaches the address page it refreshes and whose pulse values it writes
    EXPECT_EQ(host.page<KornelPage>().AddressPage, addresses);
}

TEST(PageHost, AClassTheTableDoesNotListIsRefused)
{
    // Both blink pattern pages are BlinkPatternPages: asking for the shared class must not
    // hand out either of them.
    PageHost host;
    EXPECT_THROW(host.page<BlinkPatternPage>(), std::logic_error);
}
