// The servo curve page model: set-up per decoder type, the table read from and written into
// program memory, the count/stretch/threshold edits, mouse drawing, the graphs' drawing lists
// and pixels, the buttons, and the curve and set files - all through the entry points the
// frame and the command-line tool use.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>

#include "FirmwareBuilder.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/pages/PageAction.h"
#include "core/pages/servo/CurveFiles.h"
#include "core/pages/servo/KornelAdrPage.h"
#include "core/pages/servo/KornelPage.h"

using namespace hz;
using namespace hz::pages;
using hz::test::FirmwareBuilder;
using hz::test::ScriptedPrompter;

namespace {

// A servo table with something in every record: points i*3 + r (relay on at even points of
// curve 1), counts 10, 5, 100, 0, stretch 10, 20, 1, 0, actions 0x01, 0x00, 0x04, 0x80.
int tableByte(int e)
{
    const int r = e / 128 + 1, i = e % 128;
    if (i < 100)
        return ((i * 3 + r) & 0x7F) | (r == 1 && i % 2 == 0 ? 0x80 : 0);
    switch (i) {
    case 100: return r == 2 ? 0x02 : 0;
    case 101: return std::array{10, 5, 100, 0}[static_cast<std::size_t>(r - 1)];
    case 102: return std::array{10, 20, 1, 0}[static_cast<std::size_t>(r - 1)];
    case 103: return 0x10 + r;
    case 104: return 0x21;
    case 110: return std::array{0x01, 0x00, 0x04, 0x80}[static_cast<std::size_t>(r - 1)];
    default: return i;
    }
}

struct Servo {
    ScriptedPrompter prompter;
    Session session{prompter};
    KornelPage& page = session.pages.page<KornelPage>();

    explicit Servo(int identifier, const std::function<void(FirmwareBuilder&)>& tweak = {})
    {
        FirmwareBuilder b;
        b.identifier(identifier).signature(hz::test::kMotW8);
        for (int e = 0; e < 512; ++e)
            b.words[0x500 + e] = 0x3400 | tableByte(e);
        b.eeprom[0x00] = "01";
        b.eeprom[0x30] = "40";
        for (int k = 0; k < 8; ++k)
            b.eeprom[0x60 + k] = HexByteTexts()[static_cast<std::size_t>(0x70 + k)];
        if (tweak)
            tweak(b);
        session.LoadLines(b.lines(), "servo.hex");
        prompter.clear();
    }
    const Control& c(const char* name) const { return *page.find(name); }
    bool act(const std::string& action)
    {
        std::string error;
        const bool ok = ApplyPageAction(session.shownPages(), action, error);
        EXPECT_TRUE(ok) << action << ": " << error;
        return ok;
    }
    std::string rom(int word, int high = 0) const { return session.image.get_Hex_ROM(2 * word + high); }
    std::string ee(int i) const { return session.image.get_Hex_EE(i); }
    int entry(int curve, int i) const { return page.CurveData[static_cast<std::size_t>(128 * (curve - 1) + i)]; }
    std::vector<Colour> pixels(const char* image) const
    {
        const Control& im = c(image);
        return RenderDrawing(im.geometry->width, im.geometry->height, im.drawing);
    }
    Colour pixel(const char* image, int x, int y) const
    {
        return pixels(image)[static_cast<std::size_t>(y * c(image).geometry->width + x)];
    }
};

std::vector<DrawOp> linesOf(const Drawing& d, Colour pen)
{
    std::vector<DrawOp> out;
    for (const DrawOp& op : d)
        if (op.kind == DrawOp::Kind::Line && op.pen == pen)
            out.push_back(op);
    return out;
}

} // namespace

TEST(KornelPage, ControlsCarryTheirTextsAndStandInsideTheFrame)
{
    Servo s(0xD3);
    struct Expect {
        const char* name;
        ControlKind kind;
        const char* caption;
        const char* hint;
    } expected[] = {
        {"RadioGroup1", ControlKind::Group, "Parameter für ...", ""},
        {"servo_rad_a3", ControlKind::Radio, "Kurve 3",
         "Auswahl, für welche Adresse die Angezeigten Parameter gültig sind"},
        {"Label1", ControlKind::Label, "Anzahl Punkte", ""},
        {"edt_Anzahl", ControlKind::Edit, "", "Anzahl der Kurven-Punkte"},
        {"edt_stretch", ControlKind::Edit, "", "ermöglicht es, den Ablauf zu Verlangsamen"},
        {"Label6", ControlKind::Label, "Raster X", ""},
        {"Label7", ControlKind::Label, "Raster Y", ""},
        {"servo_Image1", ControlKind::Image, "", "Definieren der Kurvenform (Maus: Klick & Move)"},
        {"servo_Image2", ControlKind::Image, "",
         "Definieren, ob Relais zu einem bestimmten Kurven-Zeitpunkt AUS oder EIN (rotes Feld) ist"},
        {"text_kornelchen_schwelle", ControlKind::Label, "Schwellwert Ausgang X7",
         "X7 kann ein Relais ansteuern in Abhängigkeit des Kurven-Wertes (unverstärkter Logik-Pegel)"},
        {"edt_kornelchen_schwelle", ControlKind::Edit, "", "In der Grafik: rote Linie"},
        {"btn_Lin", ControlKind::Button, "Lin", "lineare Kurvenform erstellen"},
        {"btn_Sin", ControlKind::Button, "1/4 Sin", "Sinus-Kurvenform erstellen (halbe Welle)"},
        {"btn_Log", ControlKind::Button, "Log", "log, Kurvenform erstellen"},
        {"btn_sin2", ControlKind::Button, "1/2 Sin", "Sinus-Kurvenform erstellen (Welle)"},
        {"btn_MirrorHorizontal", ControlKind::Button, "horizontal", "horizonzales Spiegeln der Kurvenform"},
        {"btn_copy4", ControlKind::Button, "von #4", "Kopieren der Kurvenformen von Kurve 4"},
        {"servo_load_all", ControlKind::Button, "laden", "laden Kurven-Daten inkl. Pukte-Anzahl, Stretch-Faktor etc."},
        {"servo_save_1", ControlKind::Button, "speichern", "speichern von Kurven-Daten"},
        {"Label9", ControlKind::Label, "Hoch/Runter", ""},
        {"edt_scale", ControlKind::Edit, "",
         "Wert, mit dem die Kurve multipliziert wird. \nD.h. Werte > 1 ziehen die Kurve in der Y-Achse auseinander, "
         "Werte < 1 stauchen die Kurve"},
        {"edt_shift", ControlKind::Edit, "",
         "Wert, um den die Kurve nach oben (positive Werte) oder nach unten (negative Werte) verschoben wird\nEin Wert "
         "von 64 verschiebt die Kurve um die halbe Y-Achse nach oben"},
        {"servo_GroupBox1", ControlKind::Group, "Funktion für Taster SW1", ""},
        {"servo_cbx_s2o", ControlKind::List, "", "ermöglicht das Auslösen von Aktionen \r\nvia (Justage-)Taster"},
        {"servo_btn_verwerfen", ControlKind::Button, "verwerfen", "Daten verwerfen"},
        {"servo_btn_uebernehmen", ControlKind::Button, "übernehmen", "Daten übernehmen"},
    };
    for (const auto& e : expected) {
        const Control* c = s.page.find(e.name);
        ASSERT_NE(c, nullptr) << e.name;
        EXPECT_EQ(c->kind, e.kind) << e.name;
        EXPECT_EQ(c->caption, e.caption) << e.name;
        EXPECT_EQ(c->hint, e.hint) << e.name;
    }
    EXPECT_EQ(*s.c("servo_Image1").geometry, (Rect{5, 95, 530, 201}));
    EXPECT_EQ(*s.c("servo_Image2").geometry, (Rect{5, 315, 530, 57}));
    EXPECT_EQ(s.c("cbx_raster_x").items.size(), 71u);
    EXPECT_EQ(s.c("cbx_raster_x").items.back(), "70");
    EXPECT_EQ(s.c("cbx_raster_y").items.size(), 11u);
    EXPECT_EQ(s.c("servo_load_1").fileFilter, "CUR|*.cur|TXT|*.txt|*.*|*.*");
    EXPECT_EQ(s.c("servo_save_all").fileDialog, FileDialogKind::Save);
    EXPECT_EQ(s.c("servo_load_all").fileFilter, "SET|*.set|TXT|*.txt|*.*|*.*");

    // every control lies inside its group, and the groups inside the frame the host gives it
    const Rect accept = *s.c("servo_btn_uebernehmen").geometry;
    const int width = accept.left + accept.width + 15, height = accept.top + accept.height + 15;
    EXPECT_EQ(width, 540);
    EXPECT_EQ(height, 555);
    for (const Control& c : s.page.controls()) {
        ASSERT_TRUE(c.geometry) << c.name;
        int w = width, h = height;
        if (!c.parent.empty() && c.parent != "pnl_servo") {
            w = s.page.find(c.parent)->geometry->width;
            h = s.page.find(c.parent)->geometry->height;
        }
        EXPECT_LE(c.geometry->left + c.geometry->width, w) << c.name;
        EXPECT_LE(c.geometry->top + c.geometry->height, h) << c.name;
    }
}

TEST(KornelPage, SetUpPerDecoderType)
{
    struct Case {
        int identifier;
        bool relay, threshold;
        const char* slot1;
        std::size_t items12, items34;
        const char* first34;
    } cases[] = {
        {0xD3, true, false, "Taster 1 close", 9, 9, "Adr.-Lernen"},
        {0xD2, false, false, "Taster 3 close", 5, 5, "keine Aktion"},
        {0x1D2, false, true, "Taster 3 close", 5, 5, "keine Aktion"},
        {0x7DD2, false, true, "Taster 3 close", 5, 5, "keine Aktion"},
        {0x4200, false, false, "Taster 3 close", 5, 5, "keine Aktion"},
    };
    for (const auto& c : cases) {
        Servo s(c.identifier);
        SCOPED_TRACE(c.identifier);
        EXPECT_EQ(s.session.pages.shown().front(), &s.page);
        EXPECT_EQ(s.c("servo_Image2").visible, c.relay);
        EXPECT_EQ(s.c("Label_Servo_Relais").visible, c.relay);
        EXPECT_EQ(s.c("servo_GroupBox1").visible, c.relay);
        EXPECT_EQ(s.c("edt_kornelchen_schwelle").visible, c.threshold);
        EXPECT_EQ(s.c("UpDown4").visible, c.threshold);
        EXPECT_EQ(s.c("Label_Servo_sw1a").caption, c.slot1);
        EXPECT_EQ(s.c("servo_cbx_s1o").items.size(), c.items12);
        EXPECT_EQ(s.c("servo_cbx_s2c").items.size(), c.items34);
        EXPECT_EQ(s.c("servo_cbx_s2o").items.front(), c.first34);
        EXPECT_EQ(s.c("servo_cbx_s1c").items.back(), c.relay ? "wie Adr.8" : "wie Adr.4");
        // slot actions 0x01, 0x00, 0x04, 0x80: "wie Adr.1", none, "wie Adr.3", "wie Adr.8" (beyond five items)
        EXPECT_EQ(s.c("servo_cbx_s1c").selected, 1);
        EXPECT_EQ(s.c("servo_cbx_s1o").selected, 0);
        EXPECT_EQ(s.c("servo_cbx_s2c").selected, 3);
        EXPECT_EQ(s.c("servo_cbx_s2o").selected, c.relay ? 8 : -1);
        EXPECT_EQ(s.c("edt_kornelchen_schwelle").text, c.threshold ? "64" : "10");
        EXPECT_FALSE(s.page.hasPending());
        EXPECT_TRUE(s.prompter.shown.empty());
        // the red threshold line at y = trunc(201 - 64 x 1.5703125) = 100
        const auto red = linesOf(s.c("servo_Image1").drawing, colours::Red);
        EXPECT_EQ(red.size(), c.threshold ? 1u : 0u);
        if (c.threshold) {
            EXPECT_EQ(red[0], (DrawOp{DrawOp::Kind::Line, 0, 100, 530, 100, colours::Red, colours::Red}));
        }
    }
}

TEST(KornelPage, TheTableComesFromTheLowBytesAndGoesBackWithThePulses)
{
    Servo s(0xD3);
    for (int e : {0, 1, 101, 127, 128, 356, 511})
        EXPECT_EQ(s.page.CurveData[static_cast<std::size_t>(e)], tableByte(e)) << e;
    EXPECT_EQ(s.page.data().size(), 512u);
    EXPECT_EQ(s.c("edt_Anzahl").text, "10");
    EXPECT_EQ(s.c("lbl_KurveInfo1").caption, "Zeit zwischen 2 Punkten = 200 ms");
    EXPECT_EQ(s.c("lbl_KurveInfo2").caption, "Gesamtzeit für diese Kurve = 1800 ms");

    // one point drawn: "übernehmen" writes all 512 low bytes and the eight pulse bytes; the
    // high bytes stay
    s.session.pages.page<KornelAdrPage>().PulseOffset = {50, 125, 255, 300};
    s.session.pages.page<KornelAdrPage>().PulseFactor = {1, 127, 128, 253};
    for (int e = 0; e < 512; ++e)
        s.page.CurveData[static_cast<std::size_t>(e)] = (e * 5) & 0xFF;
    ASSERT_TRUE(s.act("servo_Image1=draw:0,0"));
    EXPECT_TRUE(s.page.hasPending());
    s.page.accept();
    EXPECT_FALSE(s.page.hasPending());
    for (int e = 0; e < 512; ++e) {
        EXPECT_EQ(s.rom(0x500 + e), HexByteTexts()[static_cast<std::size_t>(e == 0 ? 127 : (e * 5) & 0xFF)]) << e;
        EXPECT_EQ(s.rom(0x500 + e, 1), "34") << e;
    }
    const char* pulses[8] = {"32", "01", "7D", "7F", "FF", "80", "2C", "FD"};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(s.ee(0x60 + k), pulses[k]) << k;

    // "verwerfen" reads the table again
    s.page.CurveData[5] = 99;
    s.page.EnableAccept();
    ASSERT_TRUE(s.act("servo_btn_verwerfen"));
    EXPECT_EQ(s.entry(1, 5), 25);
    EXPECT_FALSE(s.page.hasPending());
}

TEST(KornelPage, SaveAsksAboutPendingChanges)
{
    for (Answer answer : {Answer::Yes, Answer::No}) {
        Servo s(0xD2);
        ASSERT_TRUE(s.act("btn_Lin"));
        s.prompter.answers = {answer};
        EXPECT_EQ(s.session.pages.ConfirmPendingPageChanges(s.prompter), answer == Answer::Yes);
        EXPECT_EQ(s.prompter.texts(), std::vector<std::string>{"Geänderte Werte übernehmen?"});
        EXPECT_EQ(s.page.hasPending(), answer == Answer::No);
        EXPECT_EQ(s.rom(0x509), answer == Answer::Yes ? "7F" : "1C");
    }
}

TEST(KornelPage, CountStretchAndTimeLabels)
{
    Servo s(0xD3);
    ASSERT_TRUE(s.act("edt_stretch=15"));
    EXPECT_EQ(s.entry(1, 102), 15);
    EXPECT_EQ(s.c("lbl_KurveInfo1").caption, "Zeit zwischen 2 Punkten = 300 ms");
    EXPECT_EQ(s.c("lbl_KurveInfo2").caption, "Gesamtzeit für diese Kurve = 2700 ms");
    EXPECT_TRUE(s.page.hasPending());

    // a count above 100 is stored as 100 and stays as typed while the field is being typed
    // in, and the labels take the number typed; once the field is left it shows the 100
    // stored, and the labels follow
    ASSERT_TRUE(s.act("edt_Anzahl=150"));
    EXPECT_EQ(s.entry(1, 101), 100);
    EXPECT_EQ(s.c("edt_Anzahl").text, "150");
    EXPECT_EQ(s.c("UpDown1").position, 150);
    EXPECT_EQ(s.c("lbl_KurveInfo2").caption, "Gesamtzeit für diese Kurve = 44700 ms");
    EXPECT_FLOAT_EQ(s.page.StepWidth, 5.2f);
    EXPECT_EQ(s.page.storedText(s.c("edt_Anzahl")), "100");
    EXPECT_TRUE(s.page.userLeave("edt_Anzahl"));
    EXPECT_EQ(s.c("edt_Anzahl").text, "100");
    EXPECT_EQ(s.c("UpDown1").position, 100);
    EXPECT_EQ(s.c("lbl_KurveInfo2").caption, "Gesamtzeit für diese Kurve = 29700 ms");
    EXPECT_FALSE(s.page.userLeave("edt_Anzahl")); // nothing more to show
    ASSERT_TRUE(s.act("edt_Anzahl=0"));
    EXPECT_EQ(s.entry(1, 101), 1);
    EXPECT_EQ(s.c("lbl_KurveInfo2").caption, "Gesamtzeit für diese Kurve = -300 ms");
    EXPECT_TRUE(s.page.userLeave("edt_Anzahl"));
    EXPECT_EQ(s.c("edt_Anzahl").text, "1");
    EXPECT_EQ(s.c("lbl_KurveInfo2").caption, "Gesamtzeit für diese Kurve = 0 ms");
    // a text that is no number stays as typed when the field is left, for the user to mend
    ASSERT_TRUE(s.act("edt_Anzahl=x"));
    EXPECT_FALSE(s.page.userLeave("edt_Anzahl"));
    EXPECT_EQ(s.c("edt_Anzahl").text, "x");
    ASSERT_TRUE(s.act("UpDown1=12"));
    EXPECT_EQ(s.c("edt_Anzahl").text, "12");
    EXPECT_EQ(s.entry(1, 101), 12);

    struct Refused {
        const char* action;
        const char* message;
        const char* focus;
    } refused[] = {
        {"edt_Anzahl=x", KornelPage::kCountRange, "edt_Anzahl"},
        {"edt_stretch=1,5", KornelPage::kStretchRange, "edt_stretch"},
    };
    for (const auto& r : refused) {
        const auto before = s.page.CurveData;
        s.prompter.clear();
        ASSERT_TRUE(s.act(r.action));
        EXPECT_EQ(s.prompter.texts(), std::vector<std::string>{r.message}) << r.action;
        EXPECT_EQ(s.prompter.shown[0].buttons, Buttons::Cancel);
        EXPECT_EQ(s.page.focusRequest, r.focus);
        EXPECT_EQ(s.page.CurveData, before) << r.action;
        s.page.focusRequest.clear();
    }
    // an emptied field waits for the next character
    s.prompter.clear();
    ASSERT_TRUE(s.act("edt_Anzahl="));
    EXPECT_TRUE(s.prompter.shown.empty());
}

TEST(KornelPage, CurveButtonsShowACurveWithoutChangingIt)
{
    // curve 4 holds count 0 and stretch 0: showing it puts both right (1 point, stretch 1)
    Servo s(0xD3);
    ASSERT_TRUE(s.act("servo_rad_a2"));
    EXPECT_EQ(s.page.SelectedCurve(), 2);
    EXPECT_EQ(s.c("edt_Anzahl").text, "5");
    EXPECT_EQ(s.c("edt_stretch").text, "20");
    EXPECT_FALSE(s.c("btn_copy2").enabled);
    EXPECT_TRUE(s.c("btn_copy1").enabled);
    EXPECT_EQ(s.c("lbl_KurveInfo2").caption, "Gesamtzeit für diese Kurve = 1600 ms");
    EXPECT_FALSE(s.page.hasPending()) << "looking at another curve is no change";
    ASSERT_TRUE(s.act("servo_rad_a4"));
    EXPECT_EQ(s.entry(4, 101), 1);
    EXPECT_EQ(s.entry(4, 102), 1);
    EXPECT_TRUE(s.page.hasPending()) << "the out-of-range count and stretch were put right";
}

TEST(KornelPage, ShowingTheTableKeepsOutOfRangeStretchUntilTouched)
{
    // while the page is set up, the count handler clamps the count, the stretch handler does nothing
    Servo s(0xD3, [](FirmwareBuilder& b) {
        b.words[0x500 + 101] = 0x3400;
        b.words[0x500 + 102] = 0x34FA;
    });
    EXPECT_EQ(s.entry(1, 101), 1);
    EXPECT_EQ(s.entry(1, 102), 250);
    EXPECT_EQ(s.c("edt_stretch").text, "250");
    EXPECT_FALSE(s.page.hasPending());
}

TEST(KornelPage, MouseDrawingSnapsToPoints)
{
    Servo s(0xD3);
    struct Case {
        const char* image;
        int x, y;
        int point;
        int entry;
    } cases[] = {
        // StepWidth 52: X = 25 is point 0, X = 26 point 1 on the curve, point 0 on the relay graph
        {"servo_Image1", 25, 0, 0, 0x80 | 127},
        {"servo_Image1", 26, 201, 1, 0},
        {"servo_Image1", 26, 100, 1, 64},
        {"servo_Image1", -30, 500, 0, 0x80},
        // right of the last point: the last point, not an unseen one
        {"servo_Image1", 529, 0, 9, 127},
        {"servo_Image2", 25, 40, 0, 1},
        {"servo_Image2", 26, 34, 0, 0x80 | 1},
        {"servo_Image2", 52, 35, 1, 4},
        {"servo_Image2", 103, 0, 1, 0x80 | 4},
        {"servo_Image2", 529, 56, 9, 28},
    };
    for (const auto& c : cases) {
        Servo t(0xD3);
        ASSERT_TRUE(t.act(std::string(c.image) + "=draw:" + std::to_string(c.x) + "," + std::to_string(c.y)));
        EXPECT_EQ(t.entry(1, c.point), c.entry) << c.image << " " << c.x << "," << c.y;
        EXPECT_TRUE(t.page.hasPending());
        for (int i = 0; i < 100; ++i)
            if (i != c.point) {
                EXPECT_EQ(t.entry(1, i), tableByte(i)) << i;
            }
    }
    // a press alone and a move without a press change nothing
    s.page.userMouse("servo_Image1", MouseAction::Press, 26, 0);
    s.page.userMouse("servo_Image1", MouseAction::Release, 26, 0);
    s.page.userMouse("servo_Image1", MouseAction::Move, 26, 0);
    EXPECT_EQ(s.entry(1, 1), tableByte(1));
    EXPECT_FALSE(s.page.hasPending());
    // one stroke through several points
    s.page.userMouse("servo_Image1", MouseAction::Press, 0, 0);
    for (int x : {0, 52, 104})
        s.page.userMouse("servo_Image1", MouseAction::Move, x, 201 - 157);
    s.page.userMouse("servo_Image1", MouseAction::Release, 104, 0);
    EXPECT_EQ(s.entry(1, 0), 0x80 | 99);
    EXPECT_EQ(s.entry(1, 1), 99);
    EXPECT_EQ(s.entry(1, 2), 0x80 | 99);
    EXPECT_EQ(s.entry(1, 3), tableByte(3));
}

TEST(KornelPage, GraphsAndGridLines)
{
    Servo s(0xD3);
    // the curve: line from point to point, a red square of half-size 3 on each point
    const Drawing& d = s.c("servo_Image1").drawing;
    const auto black = linesOf(d, colours::Black);
    ASSERT_EQ(black.size(), 9u);
    // point 0: position 1 (relay bit off the graph) at y = trunc(201 - 1.5703125) = 199; point 1: 4 -> 194
    EXPECT_EQ(black[0], (DrawOp{DrawOp::Kind::Line, 0, 199, 52, 194, colours::Black, colours::Red}));
    EXPECT_EQ(s.pixel("servo_Image1", 52, 194), colours::Black) << "the line to point 2 starts on point 1";
    EXPECT_EQ(s.pixel("servo_Image1", 49, 191), colours::Black) << "square outline";
    EXPECT_EQ(s.pixel("servo_Image1", 51, 193), colours::Red) << "square inside";
    EXPECT_EQ(s.pixel("servo_Image1", 300, 20), colours::White);
    EXPECT_TRUE(linesOf(d, colours::Green).empty());

    ASSERT_TRUE(s.act("cbx_raster_x=4"));
    ASSERT_TRUE(s.act("cbx_raster_y=1"));
    EXPECT_EQ(s.page.RasterX, 4);
    EXPECT_EQ(s.page.RasterY, 1);
    EXPECT_FALSE(s.page.hasPending()) << "the grid is no change of the table";
    const auto green = linesOf(s.c("servo_Image1").drawing, colours::Green);
    std::vector<std::array<int, 4>> got;
    for (const DrawOp& op : green)
        got.push_back({op.x1, op.y1, op.x2, op.y2});
    EXPECT_EQ(got, (std::vector<std::array<int, 4>>{{0, 100, 530, 100},
                                                    {104, 0, 104, 201},
                                                    {208, 0, 208, 201},
                                                    {312, 0, 312, 201},
                                                    {416, 0, 416, 201},
                                                    {520, 0, 520, 201}}));
    EXPECT_EQ(linesOf(s.c("servo_Image2").drawing, colours::Green).size(), 5u);
    EXPECT_EQ(s.pixel("servo_Image1", 416, 10), colours::Green);

    // relay bars: an "on" point is red from row 12 down, an "off" point leaves the graph white
    EXPECT_EQ(s.pixel("servo_Image2", 20, 11), colours::White);
    EXPECT_EQ(s.pixel("servo_Image2", 0, 12), colours::Black);
    EXPECT_EQ(s.pixel("servo_Image2", 20, 30), colours::Red);
    EXPECT_EQ(s.pixel("servo_Image2", 70, 30), colours::White);
    EXPECT_EQ(s.pixel("servo_Image2", 70, 56), colours::White);

    // three points: a step of single(520 / 3) pixels
    ASSERT_TRUE(s.act("edt_Anzahl=3"));
    const auto three = linesOf(s.c("servo_Image1").drawing, colours::Green);
    // raster x 4 on 3 points: x = trunc(j x 173.33333 x 3 / 5), the last one just short of 520
    EXPECT_EQ(three[1].x1, 103);
    EXPECT_EQ(three.back().x1, 519);
}

TEST(KornelPage, Sw1ModeAndThreshold)
{
    // EEPROM 0x00 = 01: "Lernen + Justage", the SW1 rows hidden
    Servo s(0xD3);
    EXPECT_TRUE(s.c("servo_rad_lernen").checked);
    EXPECT_FALSE(s.c("servo_cbx_s1c").visible);
    EXPECT_FALSE(s.c("Label_Servo_sw1b").visible);
    EXPECT_TRUE(s.c("servo_cbx_s2c").visible);
    ASSERT_TRUE(s.act("servo_rad_servo"));
    EXPECT_EQ(s.ee(0x00), "F0");
    EXPECT_TRUE(s.c("servo_cbx_s1c").visible);
    ASSERT_TRUE(s.act("servo_btn_verwerfen"));
    EXPECT_EQ(s.ee(0x00), "F0") << "written at once, not undone";
    EXPECT_TRUE(s.c("servo_rad_servo").checked);

    // a byte other than 01 and F0 reads as "Servo-Bedienung" and stays until the user picks a mode
    Servo odd(0xD2, [](FirmwareBuilder& b) { b.eeprom[0x00] = "55"; });
    EXPECT_TRUE(odd.c("servo_rad_servo").checked);
    EXPECT_FALSE(odd.c("servo_rad_lernen").checked);
    EXPECT_EQ(odd.ee(0x00), "55");
    EXPECT_TRUE(odd.c("servo_cbx_s1c").visible);
    EXPECT_FALSE(odd.page.hasPending());

    // push-button slots store 1 << (k - 1)
    ASSERT_TRUE(s.act("servo_cbx_s2o=wie Adr.6"));
    EXPECT_EQ(s.entry(4, 110), 32);
    ASSERT_TRUE(s.act("servo_cbx_s2c=Adr.-Lernen"));
    EXPECT_EQ(s.entry(3, 110), 0);
    EXPECT_TRUE(s.page.hasPending());

    Servo k(0x1D2);
    ASSERT_TRUE(k.act("edt_kornelchen_schwelle=200"));
    EXPECT_EQ(k.ee(0x30), "7F");
    EXPECT_EQ(k.c("edt_kornelchen_schwelle").text, "127");
    EXPECT_EQ(k.page.Threshold, 127);
    EXPECT_EQ(linesOf(k.c("servo_Image1").drawing, colours::Red)[0].y1, 1);
    EXPECT_FALSE(k.page.hasPending());
    ASSERT_TRUE(k.act("edt_kornelchen_schwelle=x"));
    EXPECT_EQ(k.prompter.texts(), std::vector<std::string>{"Ungültige Eingabe für <Schwellwert Ausgang X7> "});
    EXPECT_EQ(k.ee(0x30), "7F");
    ASSERT_TRUE(k.act("UpDown4=20"));
    EXPECT_EQ(k.ee(0x30), "14");
}

TEST(KornelPage, ButtonsShapeTheSelectedCurve)
{
    Servo s(0xD3);
    ASSERT_TRUE(s.act("btn_Lin"));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(s.entry(1, i) & 0x7F,
                  (std::array{0, 14, 28, 42, 56, 70, 84, 98, 112, 127}[static_cast<std::size_t>(i)]));
    EXPECT_EQ(s.entry(1, 4), 0x80 | 56) << "relay flag kept";
    EXPECT_EQ(s.entry(1, 10), tableByte(10));
    EXPECT_TRUE(s.page.hasPending());
    ASSERT_TRUE(s.act("edt_scale=0,5"));
    ASSERT_TRUE(s.act("btn_scale"));
    EXPECT_EQ(s.entry(1, 9), 63);

    // A factor or a shift may be typed with a point or a comma; once applied, the field shows
    // it with the comma of every number on the pages.
    struct Typed {
        const char *edit, *button, *name, *shown;
        int point9; // entry 9 of curve 1 afterwards, from the "Lin" curve
    } const typed[] = {
        {"edt_scale=0.5", "btn_scale", "edt_scale", "0,5", 63},
        {"edt_scale=1,5", "btn_scale", "edt_scale", "1,5", 127},
        {"edt_shift=-2.5", "btn_shift", "edt_shift", "-2,5", 124},
        {"edt_shift=-2,5", "btn_shift", "edt_shift", "-2,5", 124},
    };
    for (const Typed& t : typed) {
        ASSERT_TRUE(s.act("btn_Lin"));
        s.prompter.clear();
        ASSERT_TRUE(s.act(t.edit));
        ASSERT_TRUE(s.act(t.button));
        EXPECT_TRUE(s.prompter.shown.empty()) << t.edit;
        EXPECT_EQ(s.c(t.name).text, t.shown) << t.edit;
        EXPECT_EQ(s.entry(1, 9) & 0x7F, t.point9) << t.edit;
    }

    struct Refused {
        const char* edit;
        const char* button;
        const char* message;
    } refused[] = {
        {"edt_scale=11", "btn_scale", KornelPage::kScaleRange},
        {"edt_scale=0,05", "btn_scale", KornelPage::kScaleRange},
        {"edt_scale=zwei", "btn_scale", KornelPage::kScaleRange},
        {"edt_shift=101", "btn_shift", KornelPage::kShiftRange},
        {"edt_shift=-100,5", "btn_shift", KornelPage::kShiftRange},
    };
    for (const auto& r : refused) {
        const auto before = s.page.CurveData;
        s.prompter.clear();
        ASSERT_TRUE(s.act(r.edit));
        ASSERT_TRUE(s.act(r.button));
        EXPECT_EQ(s.prompter.texts(), std::vector<std::string>{r.message}) << r.edit;
        EXPECT_EQ(s.page.CurveData, before) << r.edit;
        EXPECT_EQ(s.page.focusRequest, std::string(r.button) == "btn_scale" ? "edt_scale" : "edt_shift");
    }
    // an empty field is ignored; a scale of 1 changes nothing but is taken
    s.prompter.clear();
    ASSERT_TRUE(s.act("edt_shift="));
    ASSERT_TRUE(s.act("btn_shift"));
    EXPECT_TRUE(s.prompter.shown.empty());
    s.page.accept();
    const auto before = s.page.CurveData;
    ASSERT_TRUE(s.act("edt_scale=1"));
    ASSERT_TRUE(s.act("btn_scale"));
    EXPECT_EQ(s.page.CurveData, before);
    EXPECT_TRUE(s.page.hasPending());

    // copying curve 2 into curve 1 takes points, count and stretch; flags, addresses and the
    // push-button action of record 1 stay
    ASSERT_TRUE(s.act("btn_copy2"));
    for (int i = 0; i < 128; ++i) {
        const bool curve = i < 100 || i == 101 || i == 102;
        EXPECT_EQ(s.entry(1, i), curve ? s.entry(2, i) : tableByte(i)) << i;
    }
    EXPECT_EQ(s.c("edt_Anzahl").text, "5");
    std::string error;
    EXPECT_FALSE(ApplyPageAction(s.session.shownPages(), "btn_copy1", error)) << "no copy onto itself";
}

TEST(KornelPage, CurveAndSetFiles)
{
    const auto dir = hz::test::tempDir("kornel-files");
    auto path = [&](const char* name) { return (dir / name).string(); };
    Servo s(0xD3);
    ASSERT_TRUE(s.act(std::string("servo_save_1=") + path("c.cur")));
    EXPECT_EQ(hz::test::readFile(path("c.cur")), "129\r\n4\r\n135\r\n10\r\n141\r\n16\r\n147\r\n22\r\n153\r\n28\r\n");
    ASSERT_TRUE(s.act(std::string("servo_save_all=") + path("all.set")));
    const std::string set = hz::test::readFile(path("all.set"));
    EXPECT_EQ(set.substr(0, 14), "129\r\n3\r\n4\r\n6\r\n");
    EXPECT_FALSE(s.page.hasPending()) << "saving a file changes nothing";

    // a curve into curve 3 (100 points): count 10, points 0..9 replaced, 10..99 kept
    ASSERT_TRUE(s.act("servo_rad_a3"));
    ASSERT_TRUE(s.act(std::string("servo_load_1=") + path("c.cur")));
    EXPECT_EQ(s.entry(3, 101), 10);
    EXPECT_EQ(s.entry(3, 0), 129);
    EXPECT_EQ(s.entry(3, 10), tableByte(256 + 10));
    EXPECT_EQ(s.c("edt_Anzahl").text, "10");
    EXPECT_TRUE(s.page.hasPending()) << "a completed load is a change to take over";

    // the set file brings back the whole table
    s.page.CurveData.fill(0);
    ASSERT_TRUE(s.act(std::string("servo_load_all=") + path("all.set")));
    for (int e = 0; e < 512; ++e)
        EXPECT_EQ(s.page.CurveData[static_cast<std::size_t>(e)], tableByte(e)) << e;
    EXPECT_TRUE(s.prompter.shown.empty());

    struct Bad {
        const char* file;
        std::string content;
        std::vector<std::string> messages;
    } bad[] = {
        {"bad.cur",
         "1\r\n2\r\n3\r\n4\r\n5\r\n12a\r\n",
         {"Dieses File enthält ungültige Zeichen (kein Zahlenwert) in Zeile 5"}},
        {"neg.cur", "-5\r\n", {"Dieses File enthält ungültige Zeichen (kein Zahlenwert) in Zeile 0"}},
        {"empty.cur", "", {"Dieses File enthält ungültige Zeichen (kein Zahlenwert) in Zeile 0"}},
        {"long.set", std::string(513 * 3, 'x'), {}},
        {"short.set", "", {"Dieses File enthält ungültige Zeichen (kein Zahlenwert) in Zeile 300"}},
        {"gone.cur", "", {}},
    };
    std::string longSet, shortSet;
    for (int k = 0; k < 513; ++k)
        longSet += "1\r\n";
    for (int k = 0; k < 300; ++k)
        shortSet += "1\r\n";
    bad[3].content = longSet;
    bad[3].messages = {"Dieses File hat zu viele Zeilen (max. 512)"};
    bad[4].content = shortSet;
    for (const auto& b : bad) {
        if (std::string(b.file) != "gone.cur")
            hz::test::writeFile(path(b.file), b.content);
        s.page.accept();
        const auto before = s.page.CurveData;
        s.prompter.clear();
        const bool cur = std::string(b.file).ends_with(".cur");
        ASSERT_TRUE(s.act(std::string(cur ? "servo_load_1=" : "servo_load_all=") + path(b.file)));
        if (std::string(b.file) == "gone.cur") {
            ASSERT_EQ(s.prompter.shown.size(), 1u);
            EXPECT_EQ(s.prompter.shown[0].kind, MsgKind::Error);
            EXPECT_NE(s.prompter.shown[0].text.find("kann nicht geöffnet werden"), std::string::npos);
        } else {
            EXPECT_EQ(s.prompter.texts(), b.messages) << b.file;
            EXPECT_EQ(s.prompter.shown[0].buttons, Buttons::Cancel);
        }
        EXPECT_EQ(s.page.CurveData, before) << b.file << ": a refused file changes nothing";
        EXPECT_FALSE(s.page.hasPending()) << b.file;
    }

    // a 150-line curve file: the warning once, then 100 points
    std::string many;
    for (int k = 0; k < 150; ++k)
        many += std::to_string(k) + "\n";
    hz::test::writeFile(path("many.cur"), many);
    s.prompter.clear();
    ASSERT_TRUE(s.act(std::string("servo_load_1=") + path("many.cur")));
    EXPECT_EQ(s.prompter.texts(), std::vector<std::string>{"Nur die ersten 100 Zeilen dieses File werden verwendet"});
    EXPECT_EQ(s.entry(3, 101), 100);
    EXPECT_EQ(s.entry(3, 99), 99);

    // a file that cannot be written: an error, nothing left behind
    s.prompter.clear();
    ASSERT_TRUE(s.act(std::string("servo_save_1=") + path("no/such/folder/x.cur")));
    ASSERT_EQ(s.prompter.shown.size(), 1u);
    EXPECT_EQ(s.prompter.shown[0].kind, MsgKind::Error);
    std::filesystem::remove_all(dir);
}
