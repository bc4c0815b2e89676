// The page host: which pages each page kind shows and in which order, the accessor by which
// the window, the tool and the tests reach one page of the host, and that a page is made only
// when it is first asked for.

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
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

TEST(PageHost, MakesAPageWhenItIsFirstAskedFor)
{
    PageHost host;
    EXPECT_TRUE(host.made().empty());

    // A kind's pages are made when the kind is asked for, and only those.
    const std::vector<Page*> registers = host.pagesFor(PageRegister);
    EXPECT_EQ(host.made(), (std::vector<const Page*>{registers.begin(), registers.end()}));
    // Asking again hands out the same page.
    EXPECT_EQ(host.pagesFor(PageRegister), registers);
    EXPECT_EQ(&host.page<RegisterPage>(), registers.front());
    EXPECT_EQ(host.made().size(), 1u);
}

TEST(PageHost, TheServoAddressPageAskedForFirstIsStillMadeOnTheCurvePage)
{
    // The address page edits the curve page's working copy: asked for on its own, it brings
    // the curve page with it, linked, and the kind still lists the curve page first.
    PageHost host;
    KornelAdrPage& addresses = host.page<KornelAdrPage>();
    ASSERT_EQ(host.made().size(), 2u);
    KornelPage& curves = host.page<KornelPage>();
    EXPECT_EQ(curves.AddressPage, &addresses);
    EXPECT_EQ(host.pagesFor(PageServo), (std::vector<Page*>{&curves, &addresses}));
    EXPECT_EQ(host.made(), (std::vector<const Page*>{&curves, &addresses}));
}

TEST(PageHost, ALoadMakesOnlyThePagesItsTypeShows)
{
    // A servo file makes the two servo pages; a load for looking only (dump, compare) sets up
    // no page and so makes none.
    for (const bool setUp : {true, false}) {
        hz::test::ScriptedPrompter prompter;
        Session session(prompter);
        session.setUpPages = setUp;
        ASSERT_EQ(session.LoadFile(hz::test::fixture("servo_kornel4.hex")), LoadOutcome::Done);
        const std::vector<const Page*> expected =
            setUp ? std::vector<const Page*>{&session.pages.page<KornelPage>(), &session.pages.page<KornelAdrPage>()}
                  : std::vector<const Page*>{};
        EXPECT_EQ(session.pages.made(), expected) << "pages set up: " << setUp;
    }
}

TEST(PageHost, AClassTheTableDoesNotListIsRefused)
{
    // Both blink pattern pages are BlinkPatternPages: asking for the shared class must not
    // hand out either of them.
    PageHost host;
    EXPECT_THROW(host.page<BlinkPatternPage>(), std::logic_error);
}
