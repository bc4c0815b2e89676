// The settings sheet: what it says about a loaded decoder, that its pictures are the pages'
// own drawings, and that its HTML page stands on its own.

#include <gtest/gtest.h>

#include <filesystem>
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
        const char* caption; // nullptr: the page prints no setting apart from its pictures
        const char* value;
        std::size_t pictures;
        const char* firstPicture;
    };
    const Case cases[] = {
        {"servo_kornel4.hex", "Kornel-4 Servo-Dekoder", "16F684", "Servokurven", "Funktion für Taster SW1",
         "Servo-Bedienung", 8, "Kurve 1: 10 Punkte, Stretch-Faktor 10"},
        {"classic_684_blinkmuster.hex", "Stelldua - Blinkmuster", "16F684", "Blinkmuster", nullptr, "", 15,
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
        EXPECT_EQ(s.file, (std::filesystem::current_path() / "decoder.hex").string());
        EXPECT_EQ(s.printedOn, "11.12.2026");
        EXPECT_EQ(s.program.rfind("HEX Zwirbel ", 0), 0u);
        EXPECT_FALSE(s.unsaved);
        const SheetPage* page = pageTitled(s, c.page);
        ASSERT_NE(page, nullptr);
        if (c.caption) {
            EXPECT_EQ(valueOf(*page, c.caption), c.value);
        } else {
            EXPECT_TRUE(page->settings.empty()) << page->settings.front().caption;
        }
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
    // The curve page's choice of the curve shown is the editor's, not the decoder's: the sheet
    // leaves it out (each curve's values stand with its picture).
    const SheetPage* curves = pageTitled(s, "Servokurven");
    ASSERT_NE(curves, nullptr);
    EXPECT_EQ(valueOf(*curves, "Parameter für"), "(fehlt)");
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
// what was typed: the file will hold the stored one. A count or stretch stands in its curve's
// or address's picture caption, the threshold in the settings.
TEST(SettingsSheet, LimitedNumbersPrintAsTheFileWillHoldThem)
{
    struct Case {
        const char *file, *edit, *typed, *printed, *notPrinted;
    } const cases[] = {
        {"servo_kornel4.hex", "edt_Anzahl", "150", "Kurve 1: 100 Punkte, Stretch-Faktor 10", "150 Punkte"},
        {"servo_kornel4.hex", "edt_stretch", "999", "Kurve 1: 10 Punkte, Stretch-Faktor 200", "Stretch-Faktor 999"},
        {"servo_kornel4.hex", "edt_Anzahl", "40", "Kurve 1: 40 Punkte, Stretch-Faktor 10", nullptr},
        {"classic_684_blinkmuster.hex", "blinkmuster_edt_Anzahl", "999", "Adresse 1: 50 Punkte, Stretch-Faktor 10",
         "999 Punkte"},
        {"servo_kornelchen_358.hex", "edt_kornelchen_schwelle", "200", "<td>127</td>", "<td>200</td>"},
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
        const std::string html = SheetHtml(l.sheet());
        EXPECT_NE(html.find(c.printed), std::string::npos) << c.printed;
        if (c.notPrinted) {
            EXPECT_EQ(html.find(c.notPrinted), std::string::npos) << c.notPrinted;
        }
    }
}

// The sheet records the decoder, not the editor: which curve or address the page shows, and the
// grid drawn over the curve graph, are no setting; the values of the shown part (its count,
// stretch, loop, outputs used) stand with every part's picture instead of once, unnamed.
TEST(SettingsSheet, EditorStateIsNoSetting)
{
    struct Case {
        const char* file;
        const char* otherPart; // the button that shows another part
    } const cases[] = {
        {"servo_kornel4.hex", "servo_rad_a2"},
        {"servo_kornelchen_358.hex", "servo_rad_a3"},
        {"classic_684_blinkmuster.hex", "blinkmuster_rad_a2"},
        {"classic_684_lumo_blinkmuster.hex", "led_blinkmuster_rad_a2"},
    };
    auto rows = [](const SettingsSheet& sheet) {
        std::vector<std::string> out;
        for (const SheetPage& p : sheet.pages) {
            for (const SheetSetting& s : p.settings)
                out.push_back(p.title + " | " + s.caption + " | " + s.value);
            for (const SheetPicture& pic : p.pictures)
                out.push_back(p.title + " [Bild] " + pic.caption);
        }
        return out;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Loaded l(c.file);
        const std::vector<std::string> before = rows(l.sheet());
        for (const std::string& row : before)
            for (const char* editor :
                 {"Parameter für", "| Auswahl |", "Adresse 1 |", "Kurve 1 |", "Raster", "| Anzahl Punkte |",
                  "| Stretch-Faktor |", "| Loop |", "| Out#", "Ausgang 1 verwenden"})
                EXPECT_EQ(row.find(editor), std::string::npos) << row;
        // Showing another part leaves the sheet as it was.
        pages::Page* page = nullptr;
        for (pages::Page* p : l.session.shownPages())
            if (p->find(c.otherPart))
                page = p;
        ASSERT_NE(page, nullptr);
        page->userClick(c.otherPart);
        EXPECT_EQ(rows(l.sheet()), before);
    }
}

// The file line says where the file is, whatever folder the sheet was made in.
TEST(SettingsSheet, FileLineIsAbsolute)
{
    const std::string here = std::filesystem::current_path().string();
    struct Case {
        const char *given, *printed;
    } const cases[] = {
        {"decoder.hex", "/decoder.hex"},
        {"./a/../decoder.hex", "/decoder.hex"},
        {"/anlage/weiche.hex", nullptr},
        {"", nullptr},
    };
    Loaded l("servo_kornel4.hex");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        const SettingsSheet sheet = BuildSettingsSheet(l.session, c.given, "11.12.2026");
        EXPECT_EQ(sheet.file, c.printed ? here + c.printed : std::string(c.given));
    }
    EXPECT_NE(SheetHtml(BuildSettingsSheet(l.session, "", "11.12.2026")).find("<th>Datei</th><td>–</td>"),
              std::string::npos);
}

// The page stands on its own: balanced elements, nothing fetched from elsewhere, texts escaped.
TEST(SettingsSheet, HtmlIsWellFormedAndSelfContained)
{
    for (const char* file : {"servo_kornel4.hex", "classic_684_lumo_blinkmuster.hex", "f18324_function.hex"}) {
        SCOPED_TRACE(file);
        Loaded l(file);
        const std::string html = SheetHtml(BuildSettingsSheet(l.session, "a<b>&\"c\".hex", "11.12.2026"));
        EXPECT_NE(html.find("/a&lt;b&gt;&amp;&quot;c&quot;.hex</td>"), std::string::npos);
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

// The SVG holds exactly the pixels the window paints for the drawing, inside a one-pixel grey
// frame that shows where a white graph begins and ends on white paper.
TEST(SettingsSheet, SvgPictureHasThePixelsOfTheCanvasInAFrame)
{
    pages::Canvas canvas(23, 11);
    canvas.Clear();
    canvas.brush = pages::colours::Red;
    canvas.Rectangle(2, 3, 9, 10);
    canvas.pen = pages::colours::Green;
    canvas.MoveTo(0, 10);
    canvas.LineTo(22, 0);
    const SheetPicture picture{"Probe", 23, 11, canvas.take()};
    const std::vector<pages::Colour> inner = pages::RenderDrawing(23, 11, picture.drawing);
    const int w = 25, h = 13;
    std::vector<pages::Colour> want(std::size_t(w * h), kPictureFrame);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 23; ++x)
            want[std::size_t((y + 1) * w + x + 1)] = inner[std::size_t(y * 23 + x)];

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
                got[std::size_t(std::stoi((*r)[2]) * w + x)] = c;
    }
    EXPECT_EQ(got, want);
    EXPECT_EQ(FramedPixels(picture).pixels, want); // what the printout shows
    EXPECT_NE(svg.find("width=\"25\" height=\"13\""), std::string::npos);
    EXPECT_EQ(PrintPictureTag(4, picture), "<img src=\"bild:4\" width=\"25\" height=\"13\">");
}

TEST(SettingsSheet, PicNamesAndDate)
{
    EXPECT_EQ(PicName(629), "12F629");
    EXPECT_EQ(PicName(684), "16F684");
    EXPECT_EQ(PicName(18324), "16F18324");
    EXPECT_EQ(PicName(0), "");
    EXPECT_TRUE(std::regex_match(TodayText(), std::regex(R"(\d\d\.\d\d\.\d{4})")));
}
