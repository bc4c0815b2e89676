// The settings sheet: what it says about a loaded decoder, that its pictures are the pages'
// own drawings, and that its HTML page stands on its own.

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/pages/blink/BlinkmusterPage.h"
#include "core/pages/servo/KornelPage.h"
#include "core/tools/SettingsSheet.h"

using namespace hz;
using namespace hz::tools;
using hz::test::fixture;
using hz::test::ScriptedPrompter;

namespace {

struct Loaded {
    ScriptedPrompter prompter;
    Session session{prompter};
    explicit Loaded(const std::string& name) { EXPECT_EQ(session.LoadFile(fixture(name)), LoadOutcome::Done); }
    SettingsSheet sheet() const { return BuildSettingsSheet(session, "decoder.hex", "11.12.2026"); }
};

const SheetPage* pageTitled(const SettingsSheet& s, const std::string& title)
{
    for (const SheetPage& p : s.pages)
        if (p.title == title)
            return &p;
    return nullptr;
}

std::string valueOf(const SheetPage& p, const std::string& caption)
{
    for (const SheetSetting& s : p.settings)
        if (s.caption == caption)
            return s.value;
    return "(fehlt)";
}

} // namespace

// One fixture of each page kind: the header, a setting by its caption, and the pictures.
TEST(SettingsSheet, NamesTheDecoderAndEverySettingOfItsPage)
{
    struct Case {
        const char* file;
        const char* type;
        const char* pic;
        const char* page;
        const char* caption;
        const char* value;
        std::size_t pictures;
        const char* firstPicture;
    };
    const Case cases[] = {
        {"servo_kornel4.hex", "Kornel-4 Servo-Dekoder", "16F684", "Servokurven", "Funktion für Taster SW1",
         "Servo-Bedienung", 8, "Kurve 1: 10 Punkte, Stretch-Faktor 10"},
        {"classic_684_blinkmuster.hex", "Stelldua - Blinkmuster", "16F684", "Blinkmuster", "Loop", "ja", 15,
         "Adresse 1: 10 Punkte, Stretch-Faktor 10, Loop - Out#1"},
        {"f18324_function.hex", "Forsta 16F18324", "16F18324", "CV-Register", "CV001: Kurze Adresse", "3", 0, ""},
        {"zusatz_684_ampel340.hex", "Lumo - Ampel V3.40", "16F684", "Zusatzfunktionen", "schnell", "5", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Loaded l(c.file);
        const SettingsSheet s = l.sheet();
        EXPECT_EQ(s.type, c.type);
        EXPECT_EQ(s.pic, c.pic);
        EXPECT_EQ(s.file, "decoder.hex");
        EXPECT_EQ(s.printedOn, "11.12.2026");
        EXPECT_EQ(s.program.rfind("HEX Zwirbel ", 0), 0u);
        EXPECT_FALSE(s.unsaved);
        const SheetPage* page = pageTitled(s, c.page);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(valueOf(*page, c.caption), c.value);
        ASSERT_EQ(page->pictures.size(), c.pictures);
        if (c.pictures > 0) {
            EXPECT_EQ(page->pictures[0].caption, c.firstPicture);
        }
    }
}

TEST(SettingsSheet, CarriesTheAddressRowsAndTheServoGroupsByCaption)
{
    Loaded l("servo_kornel4.hex");
    const SettingsSheet s = l.sheet();
    ASSERT_EQ(s.rows.size(), 8u);
    EXPECT_EQ(s.rows[0].caption, "Adresse 01");
    EXPECT_EQ(s.rows[0].state, "green");
    const SheetPage* addresses = pageTitled(s, "Servo-Adressen und Aktionen");
    ASSERT_NE(addresses, nullptr);
    // Like check boxes of the four servos are told apart by their group.
    EXPECT_EQ(valueOf(*addresses, "Servo 2: Spannung aus"), "ja");
    EXPECT_EQ(valueOf(*addresses, "Servo 1: Spannung aus"), "nein");
    // The four lists of an address row by the row's caption and what each list chooses, the
    // pulse times by what they are - not by their tool tips.
    EXPECT_EQ(valueOf(*addresses, "Adresse 01: Servo"), "Servo 1");
    EXPECT_EQ(valueOf(*addresses, "Adresse 02: Aktion"), "Start Loop");
    EXPECT_EQ(valueOf(*addresses, "Servo 3: Impuls-Zeit Min (ms)"), "0,400");
    for (const SheetSetting& setting : addresses->settings)
        EXPECT_EQ(setting.caption.find("Diese Zeit"), std::string::npos) << setting.caption;
    const SheetPage* curves = pageTitled(s, "Servokurven");
    ASSERT_NE(curves, nullptr);
    EXPECT_EQ(valueOf(*curves, "Parameter für"), "Kurve 1");

    Loaded blink("classic_684_blinkmuster.hex");
    const SettingsSheet b = blink.sheet();
    const SheetPage* pattern = pageTitled(b, "Blinkmuster");
    ASSERT_NE(pattern, nullptr);
    EXPECT_EQ(valueOf(*pattern, "Out#4 verwendet"), "nein");
}

// Every curve is drawn as the page draws it when its button is chosen; every blink pattern
// address as the page draws it when it is chosen.
TEST(SettingsSheet, PicturesAreThePagesOwnDrawingOfEachPart)
{
    {
        Loaded l("servo_kornel4.hex");
        auto& page = l.session.pages.page<pages::KornelPage>();
        const SettingsSheet s = l.sheet();
        const SheetPage* sheet = pageTitled(s, "Servokurven");
        ASSERT_NE(sheet, nullptr);
        for (int k = 1; k <= 4; ++k) {
            SCOPED_TRACE(k);
            page.userClick("servo_rad_a" + std::to_string(k));
            ASSERT_EQ(sheet->pictures.size(), 8u);
            EXPECT_EQ(sheet->pictures[std::size_t(2 * (k - 1))].drawing, page.find("servo_Image1")->drawing);
            EXPECT_EQ(sheet->pictures[std::size_t(2 * (k - 1) + 1)].drawing, page.find("servo_Image2")->drawing);
        }
    }
    {
        Loaded l("classic_684_blinkmuster.hex");
        auto& page = l.session.pages.page<pages::BlinkmusterPage>();
        const SettingsSheet s = l.sheet();
        const SheetPage* sheet = pageTitled(s, "Blinkmuster");
        ASSERT_NE(sheet, nullptr);
        page.userClick("blinkmuster_rad_a2");
        const SheetPicture* second = nullptr;
        for (const SheetPicture& p : sheet->pictures)
            if (p.caption.rfind("Adresse 2:", 0) == 0)
                second = &p;
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->drawing, page.find("Image_Blink1")->drawing);
    }
}

TEST(SettingsSheet, UnsavedAndPendingChangesAreMarked)
{
    Loaded l("servo_kornel4.hex");
    auto& page = l.session.pages.page<pages::KornelPage>();
    page.userText("edt_Anzahl", "20");
    const SettingsSheet s = l.sheet();
    EXPECT_TRUE(s.unsaved);
    const SheetPage* curves = pageTitled(s, "Servokurven");
    ASSERT_NE(curves, nullptr);
    EXPECT_TRUE(curves->pending);
    // The sheet shows the state as the window shows it, not as the file holds it.
    EXPECT_EQ(curves->pictures[0].caption, "Kurve 1: 20 Punkte, Stretch-Faktor 10");
    const std::string html = SheetHtml(s);
    EXPECT_NE(html.find("Noch nicht gespeichert"), std::string::npos);
    EXPECT_NE(html.find("noch nicht übernommen"), std::string::npos);
    EXPECT_EQ(SheetHtml(Loaded("servo_kornel4.hex").sheet()).find("Noch nicht gespeichert"), std::string::npos);
}

// A number the page keeps within limits prints as stored, also while the field still shows
// what was typed: the file will hold the stored one.
TEST(SettingsSheet, LimitedNumbersPrintAsTheFileWillHoldThem)
{
    struct Case {
        const char *file, *title, *edit, *typed, *caption, *printed;
    } const cases[] = {
        {"servo_kornel4.hex", "Servokurven", "edt_Anzahl", "150", "Anzahl Punkte", "100"},
        {"servo_kornel4.hex", "Servokurven", "edt_stretch", "999", "Stretch-Faktor", "200"},
        {"servo_kornel4.hex", "Servokurven", "edt_Anzahl", "40", "Anzahl Punkte", "40"},
        {"classic_684_blinkmuster.hex", "Blinkmuster", "blinkmuster_edt_Anzahl", "999", "Anzahl Punkte", "50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.edit) + "=" + c.typed);
        Loaded l(c.file);
        pages::Page* page = nullptr;
        for (pages::Page* p : l.session.shownPages())
            if (p->find(c.edit))
                page = p;
        ASSERT_NE(page, nullptr);
        page->userText(c.edit, c.typed);
        const SettingsSheet sheet = l.sheet();
        const SheetPage* shown = pageTitled(sheet, c.title);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(valueOf(*shown, c.caption), c.printed);
    }
}

// The page stands on its own: balanced elements, nothing fetched from elsewhere, texts escaped.
TEST(SettingsSheet, HtmlIsWellFormedAndSelfContained)
{
    for (const char* file : {"servo_kornel4.hex", "classic_684_lumo_blinkmuster.hex", "f18324_function.hex"}) {
        SCOPED_TRACE(file);
        Loaded l(file);
        const std::string html = SheetHtml(BuildSettingsSheet(l.session, "a<b>&\"c\".hex", "11.12.2026"));
        EXPECT_NE(html.find("<td>a&lt;b&gt;&amp;&quot;c&quot;.hex</td>"), std::string::npos);
        for (const char* external : {"http:", "https:", "src=", "href=", "url(", "<link", "<script", "@import"})
            EXPECT_EQ(html.find(external), std::string::npos) << external;

        // Every element closed in order; void elements and self-closed ones stand alone.
        static const std::set<std::string> voids = {"meta", "br", "img"};
        std::vector<std::string> open;
        for (std::size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
            if (html.compare(at, 2, "<!") == 0)
                continue;
            const std::size_t end = html.find('>', at);
            ASSERT_NE(end, std::string::npos);
            const bool closing = html[at + 1] == '/';
            const std::size_t nameStart = at + (closing ? 2 : 1);
            const std::string name = html.substr(nameStart, html.find_first_of(" />", nameStart) - nameStart);
            if (html[end - 1] == '/' || voids.count(name))
                continue;
            if (closing) {
                ASSERT_FALSE(open.empty()) << "</" << name << "> closes nothing";
                ASSERT_EQ(open.back(), name);
                open.pop_back();
            } else {
                open.push_back(name);
            }
        }
        EXPECT_TRUE(open.empty());
        EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    }
}

// The SVG holds exactly the pixels the window paints for the drawing.
TEST(SettingsSheet, SvgPictureHasThePixelsOfTheCanvas)
{
    pages::Canvas canvas(23, 11);
    canvas.Clear();
    canvas.brush = pages::colours::Red;
    canvas.Rectangle(2, 3, 9, 10);
    canvas.pen = pages::colours::Green;
    canvas.MoveTo(0, 10);
    canvas.LineTo(22, 0);
    const SheetPicture picture{"Probe", 23, 11, canvas.take()};
    const std::vector<pages::Colour> want = pages::RenderDrawing(23, 11, picture.drawing);

    std::vector<pages::Colour> got(want.size(), pages::colours::White);
    const std::string svg = PictureSvg(picture);
    const std::regex path(R"re(<path fill="#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})" d="([^"]*)"/>)re");
    const std::regex run(R"(M(\d+) (\d+)h(\d+)v1h-\d+z)");
    for (auto p = std::sregex_iterator(svg.begin(), svg.end(), path); p != std::sregex_iterator(); ++p) {
        const pages::Colour c{static_cast<std::uint8_t>(std::stoi((*p)[1], nullptr, 16)),
                              static_cast<std::uint8_t>(std::stoi((*p)[2], nullptr, 16)),
                              static_cast<std::uint8_t>(std::stoi((*p)[3], nullptr, 16))};
        const std::string d = (*p)[4];
        for (auto r = std::sregex_iterator(d.begin(), d.end(), run); r != std::sregex_iterator(); ++r)
            for (int x = std::stoi((*r)[1]); x < std::stoi((*r)[1]) + std::stoi((*r)[3]); ++x)
                got[std::size_t(std::stoi((*r)[2]) * 23 + x)] = c;
    }
    EXPECT_EQ(got, want);
    EXPECT_NE(svg.find("width=\"23\" height=\"11\""), std::string::npos);
}

TEST(SettingsSheet, PicNamesAndDate)
{
    EXPECT_EQ(PicName(629), "12F629");
    EXPECT_EQ(PicName(684), "16F684");
    EXPECT_EQ(PicName(18324), "16F18324");
    EXPECT_EQ(PicName(0), "");
    EXPECT_TRUE(std::regex_match(TodayText(), std::regex(R"(\d\d\.\d\d\.\d{4})")));
}
