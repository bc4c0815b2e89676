// The decoder catalogue: every decoder type and firmware version the program knows, the
// captions of their address rows and the PIC table.
//
// The data are written as two tables. The caption sets come first: many firmwares share the
// same row captions (all versions of a type, and several types with the same outputs), so each
// set is written once and the entries name it by number. The entry table follows, one line per
// firmware in the order the window has always listed them. The entries are turned into
// DecoderType values once, on first use; the rows of a caption set when they are first read.
#include "core/catalogue/Catalogue.h"

#include <atomic>
#include <cstddef>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace hz {

const char* const kHomePage = "https://hexzwirbel.example.org/";

namespace {

// ---------------------------------------------------------------------------------------------
// Caption sets
// ---------------------------------------------------------------------------------------------

struct CaptionSet {
    int FirstRow = 1; // address row of the first caption
    std::vector<std::string> Captions;
};

constexpr int kCaptionSetCount = 55;

// The four operating keys of a turntable, then its track positions "Position1", "Position2",
// ... - written without a blank, as the turntable firmwares call them.
std::vector<std::string> TurntableCaptions(int positions)
{
    std::vector<std::string> captions{"Licht", "Step", "Turn (180°)", "Drehrichtung"};
    for (int p = 1; p <= positions; ++p)
        captions.push_back("Position" + std::to_string(p));
    return captions;
}

// Index = set number; set 0 is the empty set of the page-only types.
const std::vector<CaptionSet>& CaptionSets()
{
    static const std::vector<CaptionSet> sets = [] {
        std::vector<CaptionSet> s(kCaptionSetCount + 1);
        auto set = [&s](int number, std::vector<std::string> captions, int firstRow = 1) {
            s[static_cast<std::size_t>(number)] = CaptionSet{firstRow, std::move(captions)};
        };
        // Turntables: rows 1..3 stay unused, the operating keys take rows 4..7 and the
        // positions start at row 8.
        set(1, TurntableCaptions(24), 4);
        set(2, TurntableCaptions(12), 4);
        set(3, {"Weiche", "Licht"});
        set(4, {"Blinken", "Signal"});
        set(5, {"Weiche 1", "Weiche 2"});
        set(6, {"Links", "Mitte", "Rechts"});
        set(7, {"Signal 1 grün", "Signal 1 rot", "Signal 2 grün", "Signal 2 rot"});
        set(8, {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3", "Ausgang / Out 4"});
        set(9, {"Weichen-Adresse"});
        set(10, {"Vorsignal: Vmax", "Vorsignal: Halt", "Vorsignal: 100", "Vorsignal: 40/60", "Hauptsignal: Vmax",
                 "Hauptsignal: Halt", "Hauptsignal: 100/40/60"});
        set(11, {"Signal", "Kennlicht"});
        set(12, {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3 (FL)", "Ausgang / Out 4"});
        set(13, {"Blink 1", "Blink 2", "Blink 3", "Blink 4"});
        set(14, {"Ein"});
        set(15, {"Ein", "Hell-Dunkel"});
        set(16, {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3", "Ausgang / Out 4", "Hell-Dunkel"});
        set(17, {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3 (FL)", "Ausgang / Out 4", "Hell-Dunkel"});
        set(18, {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3", "Ausgang / Out 4", "Ausgang / Out 5",
                 "Ausgang / Out 6", "Ausgang / Out 7", "Ausgang / Out 8", "All"});
        set(19, {"Weiche 1", "Weiche 2", "Weiche 3", "Weiche 4"});
        set(20, {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3", "Ausgang / Out 4", "Ausgang / Out 5",
                 "Ausgang / Out 6", "Ausgang / Out 7", "Ausgang / Out 8", "Ausgang / Out 9", "Ausgang / Out 10"});
        set(21, {"Signal 1", "Signal 2", "Signal 3", "Signal 4", "Signal 5"});
        set(22, {"HP00", "HP1", "HP2", "SH1", "VR0", "VR1", "VR2"});
        set(23, {"HALT", "FB 1", "FB 2", "FB 3", "Warnung", "FB 1", "FB 2", "FB 3"});
        set(24, {"HALT", "FB 1", "FB 2", "FB 3", "Warnung", "FB 1", "FB 2", "FB 3", "Out 5", "Out 6"});
        set(25, {"Auto", "Nacht", "Grün", "Rot"});
        set(26, {"Blink 1", "Blink 2", "Blink 3", "Lauf", "Leit", "Warn", "Foto", "aus"});
        set(27, {"Blink 1", "Blink 2", "Blink 3", "aus"});
        set(28, {"Ausgang / Out 1", "Ausgang / Out 2", "Ausgang / Out 3", "Ausgang / Out 4", "Ausgang / Out 5",
                 "Ausgang / Out 6", "Ausgang / Out 7", "Ausgang / Out 8", "Ausgang / Out 9 (FL)", "Ausgang / Out 10"});
        set(29,
            {"Hauptsignal: Hp0", "Hauptsignal: Hp1", "Hauptsignal: Hp2", "Hauptsignal: Nebenrot + Zs1",
             "Hauptsignal: Hp1 + Zs3", "Hauptsignal: Hp2 + Zs3", "Vorsignal: Vr0", "Vorsignal: Vr1", "Vorsignal: Vr2"});
        set(30, {"Hauptsignal: Hp0", "Hauptsignal: Hp1", "Hauptsignal: Hp2", "Hauptsignal: Nebenrot + Zs1",
                 "Hauptsignal: Hp1 + Zs3", "Hauptsignal: Hp2 + Zs3", "Vorsignal: Vr0", "Vorsignal: Vr1",
                 "Vorsignal: Vr2", "Vorsignal: Vr0", "Vorsignal: Vr1", "Vorsignal: Vr2"});
        set(31, {"Hauptsignal: Hp00", "Hauptsignal: Hp1", "Hauptsignal: Hp2", "Hauptsignal: Hp0 + Sh1",
                 "Hauptsignal: Hp0 + Zs1", "Hauptsignal: Hp0 + Zs8 (blink)", "Vorsignal: Vr0", "Vorsignal: Vr1",
                 "Vorsignal: Vr2"});
        // Rows 10..12 all read Vr0 in the firmware's own labelling; kept as shipped.
        set(32, {"Hauptsignal: Hp00", "Hauptsignal: Hp1", "Hauptsignal: Hp2", "Hauptsignal: Hp0 + Sh1",
                 "Hauptsignal: Hp0 + Zs1", "Hauptsignal: Hp0 + Zs8 (blink)", "Vorsignal: Vr0", "Vorsignal: Vr1",
                 "Vorsignal: Vr2", "Vorsignal: Vr0", "Vorsignal: Vr0", "Vorsignal: Vr0"});
        set(33,
            {"Signal 1: Halt", "Signal 1: Frei", "Signal 1: Frei 40", "Signal 1: Frei 60", "Signal 1: Frei 40/60",
             "Signal 1: Verschub", "Signal 1: Ersatz-Signal", "Signal 2: Halt", "Signal 2: Frei", "Signal 2: Frei 40",
             "Signal 2: Frei 60", "Signal 2: Frei 40/60", "Signal 2: Verschub", "Signal 2: Ersatz-Signal"});
        set(34, {"Signal 1: Hp00", "Signal 1: Hp1", "Signal 1: Hp2", "Signal 1: Hp0 + Sh1", "Signal 2: Hp00",
                 "Signal 2: Hp1", "Signal 2: Hp2", "Signal 2: Hp0 + Sh1"});
        set(35,
            {"Hauptsignal: Halt", "Hauptsignal: Vmax", "Hauptsignal: 40 km/h", "Hauptsignal: 60 km/h",
             "Hauptsignal: 100 km/h", "Hauptsignal: Hp0 + Zs1", "Hauptsignal: Hp0 + Ra12", "Vorsignal: erwarte Halt",
             "Vorsignal: erwarte Vmax", "Vorsignal: erwarte 40 km/h", "Vorsignal: erwarte 60 km/h",
             "Vorsignal: erwarte 100 km/h", "Vorsignal: erwarte Halt", "Vorsignal: erwarte Halt"});
        set(36, {"Hauptsignal: Halt", "Hauptsignal: Vmax", "Hauptsignal: 40 km/h", "Hauptsignal: 60 km/h",
                 "Hauptsignal: 100 km/h", "Hauptsignal: Hp0 + Ersatz", "Hauptsignal: Hp0 + Rangierfahrt",
                 "Vorsignal: erwarte Halt", "Vorsignal: erwarte Vmax", "Vorsignal: erwarte 40 km/h",
                 "Vorsignal: erwarte 60 km/h", "Vorsignal: erwarte 100 km/h", "Vorsignal: erwarte Halt",
                 "Vorsignal: erwarte Halt"});
        set(37, {"Hauptsignal: Hp0", "Hauptsignal: Ks1", "Hauptsignal: Ks1 + Zs3", "Hauptsignal: Ks1 + Zs1",
                 "Hauptsignal: Ks1 + Sh1", "Hauptsignal: Ks1 + Zs7", "Hauptsignal: Kennlicht",
                 "Vorsignal: Ks2 (Halt erwarten)", "Vorsignal: Ks1", "Vorsignal: Ks1 + Zs3v",
                 "Vorsignal: Ks2 (Halt erwarten)", "Vorsignal: Ks2 (Halt erwarten)", "Vorsignal: Ks2 (Halt erwarten)",
                 "Vorsignal: Kennlicht"});
        set(38, {"Signal 1: Hp00", "Signal 1: Hp1", "Signal 1: Hp2", "Signal 1: Hp0 + Sh1", "Signal 2: Hp00",
                 "Signal 2: Hp00", "Signal 2: Hp1", "Signal 2: Hp2", "Signal 2: Hp0 + Sh1", "Signal 2: Hp00"});
        set(39, {"Signal 1: Vr0", "Signal 1: Vr1", "Signal 1: Vr2", "Signal 1: Dunkel", "Signal 2: Vr0",
                 "Signal 2: Vr1", "Signal 2: Vr2", "Signal 2: Dunkel"});
        set(40, {"Signal 1: Vr0", "Signal 1: Vr1", "Signal 1: Vr1 + Zs3v", "Signal 1: Vr2", "Signal 1: Vr2 + Zs3v",
                 "Signal 1: Dunkel", "Signal 2: Vr0", "Signal 2: Vr1", "Signal 2: Vr1 + Zs3v", "Signal 2: Vr2",
                 "Signal 2: Vr2 + Zs3v", "Signal 2: Dunkel"});
        set(41, {"C - Stop Carré", "S - red", "(S) - red flash.", "VL - green", "(VL) - green flash.", "Cv - violet",
                 "M - white", "(M) - white flash.", "A - yellow", "(A) - yellow flash.", "30 R - slow", "60 (R) - slow",
                 "30 RR - remember", "60 (RR) - remember"});
        set(42, {"Stop", "Ride on Sight", "reduce to 30", "reduce to x", "reduce to x", "pass with 40", "pass with x",
                 "pass", "Stop", "Ride on Sight", "reduce to 30", "reduce to x", "reduce to x", "pass with 40",
                 "pass with x", "pass"});
        set(43,
            {"Hp00", "Hp1 + Zs3 + Zs6", "Hp2 + Zs3 + Zs6", "Hp0 + Sh1", "Hp0 + Zs1", "Hp0 + Zs8", "Weg 1", "Weg 2"});
        set(44, {"Hp00", "Hp1 + Zs3 + Zs6", "Hp2 + Zs3 + Zs6", "Hp0 + Sh1", "Hp0 + Zs1", "Hp0 + Zs8", "Kennlicht 1",
                 "Kennlicht 2", "Weg 1", "Weg 2"});
        set(45, {"Vr0 bei Weg 1", "Vr1 bei Weg 1", "Vr2 bei Weg 2", "Vr0 bei Weg 2", "Vr1 bei Weg 2", "Vr2 bei Weg 2",
                 "Weg 1", "Weg 2", "Dunkel EIN", "Dunkel EIN", "Dunkel EIN", "Dunkel EIN", "Dunkel AUS", "Dunkel AUS"});
        // The Belgian signal shows its 16 rows without labels. A single blank keeps each row
        // visible (an empty caption would hide it) while it looks uncaptioned.
        set(46, std::vector<std::string>(16, " "));
        set(47, {"Stop", "Stop and Proceed", "Stop and Proceed (w/o speed signal box)", "Proceed (high speed)",
                 "Proceed through", "Proceed through (diversion route)", "Proceed w/ limited speed (60 km/h)",
                 "Proceed w/ limited speed (40 km/h)", "Proceed w/ limited speed (60 km/h, diversion)",
                 "Proceed w/ limited speed (40 km/h, diversion)", "Proceed through w/ limited speed (60 km/h)",
                 "Proceed through w/ limited speed (40 km/h)", "Proceed - no safety overlap (40 km/h)",
                 "Proceed - no safety overlap (40 km/h, divert)", "Proceed (stop at entry block signal)",
                 "Proceed through (low speed at entry block signal)"});
        set(48, {"Stop", "Stop and Proceed", "Proceed (optional: route towards A-city)",
                 "Proceed though (optional: route towards A-city)", "Pass", "Pass with caution", "No passing",
                 "Signal cancelled", "Proceed (route towards B-city)", "Proceed though (route towards B-city)",
                 "Proceed (route towards C-city)", "Proceed though (route towards C-city)", "Sweden: Proceed",
                 "Sweden: Proceed, max speed 40 km/h", "Sweden: Proceed w caution, next signal 40 or stop",
                 "Sweden: Proceed w caution, next signalstop"});
        set(49, {"Signal 1: Stop", "Signal 1: Stop and Proceed", "Signal 1: Proceed", "Signal 1: Proceed through",
                 "Signal 1: Proceed through (signal w/ 2 lamps)", "Signal 1: 'Dark Green' proceed",
                 "Signal 1: 'Dark Green' proceed through", "Signal 2: Stop", "Signal 2: Stop and Proceed",
                 "Signal 2: Proceed", "Signal 2: Proceed through", "Signal 2: Proceed through (signal w/ 2 lamps)",
                 "Signal 2: 'Dark Green' proceed", "Signal 2: 'Dark Green' proceed through"});
        set(50,
            {"Signal 1: Pass", "Signal 1: Pass with caution", "Signal 1: No passing", "Signal 1: Signal cancelled",
             "Signal 1: Proceed", "Signal 1: Proceed through", "Signal 2: Pass", "Signal 2: Pass with caution",
             "Signal 2: No passing", "Signal 2: Signal cancelled", "Signal 2: Proceed", "Signal 2: Proceed through"});
        set(51, {"Stop", "Stop and Proceed", "Stop and Proceed (w/o speed signal box)", "Proceed (high speed)",
                 "Proceed through", "Proceed w/ limited speed (60 km/h)", "Proceed w/ limited speed (40 km/h)",
                 "Proceed through w/ limited speed (60 km/h)", "Proceed through w/ limited speed (40 km/h)",
                 "Proceed - no safety overlap (40 km/h)", "Sweden: Proceed 40 km/h with short route",
                 "Sweden: Proceed 80 km/h, expect stop", "Sweden: Proceed 80 km/h, expect proceed 40 km/h",
                 "Norway: Reduced speed"});
        set(52, {"Adresse 01", "Adresse 02", "Adresse 03", "Adresse 04", "Adresse 05", "Adresse 06", "Adresse 07",
                 "Adresse 08"});
        set(53, {"Adresse 01", "Adresse 02", "Adresse 03", "Adresse 04"});
        set(54, {"Adresse 01", "Adresse 02"});
        set(55, {"Muster 1", "Muster 2", "Muster 3", "Muster 4"});
        return s;
    }();
    return sets;
}

// ---------------------------------------------------------------------------------------------
// Documentation pages
// ---------------------------------------------------------------------------------------------
//
// One page per decoder family. All firmware versions of one type share the page of that type
// (0x8/0x208/0x308/0x408 Stellino, 0xA/0x20A/0x30A Stelldua, 0x2/0x202/0x302, 0x65.., 0x67..,
// 0x70.., 0x71/0x171, 0x6D/0x16D, 0xC9/0x1C9, 0xCA/0x1CA, 0xD4/0x1D4, 0xE7/0x1E7, 0xDD/0x1DD,
// and the function decoders whose version sits in the third byte, 0x3D00/0x13D00,
// 0x3F00/0x13F00, 0x3E00/0x13E00). Some types are documented together with a relative:
// the Stellino-Schmelzwacht 0x30C is a Stelldua firmware; the F-decoder Kornelchen 0x4200 and
// the Kornelchen V2 0x7DD2 are on the Kornelchen page; the four neon function decoders 0x4000,
// 0x4100, 0x1A4100, 0x2A4100 form one family; the Scandinavian signals 0xEA..0xEE are one
// set. The turntables 0x30FF and 0x17E800 and the two types 0x7 and 0x6C have no page yet and
// lead to the start page of the documentation. Types that merely resemble another one keep
// their own page: "Stellino Andreas" 0x9, "2x Ausfahr-Signal (V2)" 0xD0 next to 0xCC, and
// "Lumo - Neon" 0x70 next to the neon function decoders, which are a different product.

const char* const kPageStellino = "stellino";
const char* const kPageStellinoAndreas = "stellino-andreas";
const char* const kPageStelldua = "stelldua";
const char* const kPageStelldua3Wege = "stelldua-3wege";
const char* const kPageStelldua2x2 = "stelldua-signal-2x2";
const char* const kPageStelldua1x4 = "stelldua-signal-1x4";
const char* const kPageStellduaSchalten = "stelldua-schalten";
const char* const kPageStellduaSpur1 = "stelldua-spur1";
const char* const kPageStellduaHl = "stelldua-signal-hl";
const char* const kPageFDekoderCv = "f-dekoder-cv";
const char* const kPageFdSchalten = "stelldua-f-dekoder-schalten";
const char* const kPageFdBlinken = "stelldua-f-dekoder-blinken";
const char* const kPageFdNeon = "f-dekoder-neon";
const char* const kPageFdWeiche = "stelldua-f-dekoder-weiche";
const char* const kPageRelais8 = "relaisdekoder-8";
const char* const kPageMeldino = "meldino";
const char* const kPageLumoSchalten = "lumo-schalten";
const char* const kPageLumo5x2 = "lumo-signal-5x2";
const char* const kPageLumoSbb = "lumo-signal-sbb";
const char* const kPageLumoAndreas = "lumo-andreaskreuz";
const char* const kPageLumoAmpel = "lumo-ampel";
const char* const kPageLumoBlink = "lumo-blink";
const char* const kPageLumoKirmes = "lumo-kirmes";
const char* const kPageLumoNeon = "lumo-neon";
const char* const kPageLumoGas = "lumo-gas";
const char* const kPageLumoHaus = "lumo-haus";
const char* const kPageLumoFeuer = "lumo-feuer";
const char* const kPageLumoFdSchalten = "lumo-f-dekoder-schalten";
const char* const kPageSignal001 = "lumo-signal-001";
const char* const kPageSignal002 = "lumo-signal-002";
const char* const kPageSignal003 = "lumo-signal-003";
const char* const kPageSignal004 = "lumo-signal-004";
const char* const kPageSignal005 = "lumo-signal-005";
const char* const kPageSignal006 = "lumo-signal-006";
const char* const kPageSignal007 = "lumo-signal-007";
const char* const kPageSignal008 = "lumo-signal-008";
const char* const kPageSignal009 = "lumo-signal-009";
const char* const kPageSignal010 = "lumo-signal-010";
const char* const kPageSignal011 = "lumo-signal-011";
const char* const kPageSignal020 = "lumo-signal-020";
const char* const kPageSignal021 = "lumo-signal-021";
const char* const kPageSignal022 = "lumo-signal-022";
const char* const kPageSignalNordic = "lumo-signal-030-034";
const char* const kPageKornel4 = "kornel-4";
const char* const kPageKornelchen = "kornelchen";
const char* const kPageStellduaBlinkmuster = "stelldua-blinkmuster";
const char* const kPageLumoBlinkmuster = "lumo-blinkmuster";
const char* const kPageForsta18324 = "forsta-16f18324";
const char* const kPageKnipso18324 = "knipso-16f18324";
const char* const kPageStart = nullptr; // the general start page

// The page's name under the documentation base address (DocLinks.h); empty for the start page.
std::string DocPageName(const char* family)
{
    return family == nullptr ? std::string() : std::string(family) + ".html";
}

// ---------------------------------------------------------------------------------------------
// The entry table
// ---------------------------------------------------------------------------------------------

enum class Rows { RedGreen, Function, PageOnly, None };

struct Entry {
    int Identifier;
    int Identifier2;
    const char* Name;
    int Pic;
    PageKind Page;
    Rows Mode;
    int CaptionSet;
    int ColumnBreak;
    int GapAfterRow;
    const char* Doc;
};

constexpr Rows RG = Rows::RedGreen;
constexpr Rows F = Rows::Function;
constexpr Rows PO = Rows::PageOnly;

// clang-format off
const Entry kEntries[] = {
    // Identifier(s)       Name                                                 PIC    Page               Rows  Set Break Gap  Doc
    {0x30FF,   0,        "Drehscheibe 48 Position",                             676, PageNone,          RG,  1, 15, 0, kPageStart},
    {0x17E800, 0,        "Drehscheibe 24 Position",                             676, PageNone,          RG,  2,  7, 0, kPageStart},
    {0x8,      0,        "Stellino",                                            629, PageZusatz,        RG,  3,  0, 0, kPageStellino},
    {0x208,    0,        "Stellino  ab V3.51",                                  629, PageZusatz,        RG,  3,  0, 0, kPageStellino},
    {0x308,    0,        "Stellino  ab V3.58",                                  629, PageZusatz,        RG,  3,  0, 0, kPageStellino},
    {0x408,    0,        "Stellino  ab V3.61",                                  629, PageZusatz,        RG,  3,  0, 0, kPageStellino},
    {0x9,      0,        "Stellino Andreas",                                    629, PageNone,          RG,  4,  0, 0, kPageStellinoAndreas},
    {0xA,      0,        "Stelldua",                                            629, PageZusatz,        RG,  5,  0, 0, kPageStelldua},
    {0x20A,    0,        "Stelldua ab V3.51",                                   629, PageZusatz,        RG,  5,  0, 0, kPageStelldua},
    {0x30A,    0,        "Stelldua ab V3.58",                                   629, PageZusatz,        RG,  5,  0, 0, kPageStelldua},
    {0x30C,    0,        "Stellino-Schmelzwacht ab V3.58",                      629, PageZusatz,        RG,  5,  0, 0, kPageStelldua},
    {0x4,      0,        "Stelldua - 3Wege",                                    629, PageNone,          RG,  6,  0, 0, kPageStelldua3Wege},
    {0x3,      0,        "Stelldua - Signal 2x2",                               629, PageZusatz,        RG,  7,  0, 0, kPageStelldua2x2},
    {0x5,      0,        "Stelldua - Signal 1x4",                               629, PageNone,          RG,  8,  0, 0, kPageStelldua1x4},
    {0xB,      0,        "Stelldua - Schalten",                                 629, PageZusatz,        RG,  8,  0, 0, kPageStellduaSchalten},
    {0x2,      0,        "Stelldua - Spur 1",                                   629, PageZusatz,        RG,  9,  0, 0, kPageStellduaSpur1},
    {0x202,    0,        "Stelldua - Spur 1  ab V3.51",                         629, PageZusatz,        RG,  9,  0, 0, kPageStellduaSpur1},
    {0x302,    0,        "Stelldua - Spur 1  ab V3.58",                         629, PageZusatz,        RG,  9,  0, 0, kPageStellduaSpur1},
    {0x6,      0,        "Stelldua - Signal HL",                                629, PageNone,          RG, 10,  0, 0, kPageStellduaHl},
    {0x7,      0,        "Stelldua - Signal StraBa",                            629, PageNone,          RG, 11,  0, 0, kPageStart},
    {0x4400,   0,        "F-Dekoder mit CV",                                    688, PageRegister,      PO,  0,  0, 0, kPageFDekoderCv},
    {0x3D00,   0,        "Stelldua - F-Dekoder Schalten",                       629, PageZusatz,        F,   8,  0, 0, kPageFdSchalten},
    {0x13D00,  0,        "Stelldua - F-Dekoder Schalten ab V0.60",              629, PageZusatz,        F,  12,  0, 0, kPageFdSchalten},
    {0x3F00,   0,        "Stelldua - F-Dekoder Blinken",                        629, PageNone,          F,  13,  0, 0, kPageFdBlinken},
    {0x13F00,  0,        "Stelldua - F-Dekoder Blinken ab V0.60",               629, PageZusatz,        F,  13,  0, 0, kPageFdBlinken},
    // The first neon firmware predates the function-decoder row mode; its rows carry none.
    {0x4000,   0,        "Stelldua - F-Dekoder Neon ab V0.37",                  629, PageNone,          Rows::None, 15, 0, 0, kPageFdNeon},
    {0x4100,   0,        "Stelldua/Forsta - F.Dekoder Neon ab V0.42",           629, PageNone,          F,  16,  0, 0, kPageFdNeon},
    {0x1A4100, 0x1B4100, "Stelldua/Forsta - F-Dekoder Neon ab V0.44",           629, PageZusatz,        F,  16,  0, 0, kPageFdNeon},
    {0x2A4100, 0x2B4100, "Stelldua/Forsta - F-Dekoder Neon ab V0.60",           629, PageZusatz,        F,  17,  0, 0, kPageFdNeon},
    {0x3C00,   0,        "Stelldua - Funktionsdekoder Weiche",                  629, PageNone,          F,   5,  0, 0, kPageFdWeiche},
    {0x69,     0,        "Relaisdekoder 8",                                     684, PageZusatz,        RG, 18,  0, 8, kPageRelais8},
    {0x65,     0,        "Meldino",                                             684, PageZusatz,        RG, 19,  0, 0, kPageMeldino},
    {0x265,    0,        "Meldino ab V3.51",                                    684, PageZusatz,        RG, 19,  0, 0, kPageMeldino},
    {0x365,    0,        "Meldino ab V3.58",                                    684, PageZusatz,        RG, 19,  0, 0, kPageMeldino},
    {0x6A,     0,        "Lumo - Schalten",                                     684, PageZusatz,        RG, 20,  0, 0, kPageLumoSchalten},
    {0x6B,     0,        "Lumo - Signal 5x2",                                   684, PageNone,          RG, 21,  0, 0, kPageLumo5x2},
    {0x6C,     0,        "Lumo - Signal 4",                                     684, PageZusatz,        RG, 22,  0, 4, kPageStart},
    {0x6D,     0,        "Lumo - Signal SBB",                                   684, PageZusatz,        RG, 23,  0, 0, kPageLumoSbb},
    {0x16D,    0,        "Lumo - Signal SBB ab V3.59",                          684, PageZusatz,        RG, 24,  0, 0, kPageLumoSbb},
    {0x68,     0,        "Lumo - Andreaskreuz / Schranke",                      684, PageZusatz,        RG, 14,  0, 0, kPageLumoAndreas},
    {0x67,     0,        "Lumo - Ampel < V3.40",                                684, PageNone,          RG, 25,  0, 2, kPageLumoAmpel},
    {0x167,    0,        "Lumo - Ampel V3.40",                                  684, PageZusatz,        RG, 25,  0, 2, kPageLumoAmpel},
    {0x267,    0,        "Lumo - Ampel ab V3.41",                               684, PageZusatz,        RG, 25,  0, 2, kPageLumoAmpel},
    {0x367,    0,        "Lumo - Ampel ab V3.61",                               684, PageZusatz,        RG, 25,  0, 2, kPageLumoAmpel},
    {0x6E,     0,        "Lumo - Blink",                                        684, PageNone,          RG, 26,  0, 0, kPageLumoBlink},
    {0x6F,     0,        "Lumo - Kirmes",                                       684, PageZusatz,        RG, 27,  0, 0, kPageLumoKirmes},
    {0x70,     0,        "Lumo - Neon",                                         684, PageNone,          RG, 14,  0, 0, kPageLumoNeon},
    {0x170,    0,        "Lumo - Neon ab V3.38",                                684, PageZusatz,        RG, 14,  0, 0, kPageLumoNeon},
    {0x270,    0,        "Lumo - Neon ab V3.48",                                684, PageZusatz,        RG, 14,  0, 0, kPageLumoNeon},
    {0x66,     0,        "Lumo - Gas",                                          684, PageZusatz,        RG, 14,  0, 0, kPageLumoGas},
    {0x71,     0,        "Lumo - Haus",                                         684, PageZusatz,        RG, 14,  0, 0, kPageLumoHaus},
    {0x171,    0,        "Lumo - Haus ab V3.61",                                684, PageZusatz,        RG, 14,  0, 0, kPageLumoHaus},
    {0x72,     0,        "Lumo - Feuer",                                        684, PageNone,          RG, 14,  0, 0, kPageLumoFeuer},
    {0x3E00,   0,        "Lumo - Funktionsdekoder Schalten",                    684, PageZusatz,        F,  20,  0, 0, kPageLumoFdSchalten},
    {0x13E00,  0,        "Lumo - F-Dekoder Schalten ab V0.60",                  684, PageZusatz,        F,  28,  0, 0, kPageLumoFdSchalten},
    {0xC9,     0,        "Lumo - Signal 001 - Einfahrsignal",                   684, PageZusatz,        RG, 29,  0, 0, kPageSignal001},
    {0x1C9,    0,        "Lumo - Signal 001 - Einfahrsignal ab V3.37",          684, PageZusatz,        RG, 30,  0, 6, kPageSignal001},
    {0xCA,     0,        "Lumo - Signal 002 - Ausfahrsignal",                   684, PageZusatz,        RG, 31,  0, 6, kPageSignal002},
    {0x1CA,    0,        "Lumo - Signal 002 - Ausfahrsignal ab V3.37",          684, PageZusatz,        RG, 32,  0, 6, kPageSignal002},
    {0xCB,     0,        "Lumo - Signal 003 - ÖBB",                             684, PageZusatz,        RG, 33,  0, 7, kPageSignal003},
    {0xCC,     0,        "Lumo - Signal 004 - 2x Ausfahr-Signal",               684, PageNone,          RG, 34,  0, 4, kPageSignal004},
    {0xCD,     0,        "Lumo - Signal 005 - HL",                              684, PageZusatz,        RG, 35,  0, 7, kPageSignal005},
    {0xCE,     0,        "Lumo - Signal 006 - PKP",                             684, PageZusatz,        RG, 36,  0, 7, kPageSignal006},
    {0xCF,     0,        "Lumo - Signal 007 - Ks",                              684, PageZusatz,        RG, 37,  0, 7, kPageSignal007},
    {0xD0,     0,        "Lumo - Signal 008 - 2x Ausfahr-Signal (V2)",          684, PageNone,          RG, 38,  0, 5, kPageSignal008},
    {0xD4,     0,        "Lumo - Signal 009 - 2x Vorsignal",                    684, PageNone,          RG, 39,  0, 4, kPageSignal009},
    {0x1D4,    0,        "Lumo - Signal 009 - 2x Vorsignal ab V3.61",           684, PageNone,          RG, 40,  0, 6, kPageSignal009},
    {0xD1,     0,        "Lumo - Signal 010 - Signal SNCF",                     684, PageNone,          RG, 41,  0, 0, kPageSignal010},
    {0xE6,     0,        "Lumo - Signal 011 - Signal NS",                       684, PageNone,          RG, 42,  0, 0, kPageSignal011},
    {0xE7,     0,        "Lumo - Signal 020 - Ausfahrsignal mit fahrstrassenabhängigen Zusatzsignalen", 684, PageNone, RG, 43, 0, 6, kPageSignal020},
    {0x1E7,    0,        "Lumo - Signal 020 ab V3.58",                          684, PageNone,          RG, 44,  0, 6, kPageSignal020},
    {0xE8,     0,        "Lumo - Signal 021 - Vorsignal mit fahrstrassenabhängigen Zusatzsignalen",     684, PageNone, RG, 45, 0, 8, kPageSignal021},
    {0xE9,     0,        "Lumo - Signal 022 - Belgien",                         684, PageNone,          RG, 46,  0, 8, kPageSignal022},
    {0xEA,     0,        "Lumo - Signal 030 - DK Entry Signal",                 684, PageNone,          RG, 47,  0, 0, kPageSignalNordic},
    {0xEB,     0,        "Lumo - Signal 031 - DK PU-signals",                   684, PageNone,          RG, 48,  0, 0, kPageSignalNordic},
    {0xEC,     0,        "Lumo - Signal 032 - SK/N: Block-, Exit signals",      684, PageNone,          RG, 49,  0, 0, kPageSignalNordic},
    {0xED,     0,        "Lumo - Signal 033 - DK/N: Dwarf Signals",             684, PageNone,          RG, 50,  0, 0, kPageSignalNordic},
    {0xEE,     0,        "Lumo - Signal 034 - DK/N/S: Entry Signal",            684, PageNone,          RG, 51,  0, 0, kPageSignalNordic},
    {0xD3,     0,        "Kornel-4 Servo-Dekoder",                              684, PageServo,         RG, 52,  4, 0, kPageKornel4},
    {0xD2,     0,        "Kornelchen Servo-Dekoder",                            684, PageServo,         RG, 53,  2, 0, kPageKornelchen},
    {0x1D2,    0,        "Kornelchen Servo-Dekoder ab V3.58",                   684, PageServo,         RG, 53,  2, 0, kPageKornelchen},
    {0x7DD2,   0,        "Kornelchen V2 Servo-Dekoder ab V3.73",                684, PageServo,         RG, 53,  2, 0, kPageKornelchen},
    {0x4200,   0,        "Kornelchen Servo-Dekoder (F-Dekoder)",                684, PageServo,         F,  54,  4, 0, kPageKornelchen},
    {0x1,      0x101,    "Stelldua - Blinkmuster",                              684, PageBlinkmuster,   RG, 55,  0, 0, kPageStellduaBlinkmuster},
    {0xDD,     0,        "Lumo - Blinkmuster bis V3.59",                        684, PageBlinkmusterLed, RG, 55, 0, 0, kPageLumoBlinkmuster},
    {0x1DD,    0,        "Lumo - Blinkmuster ab V3.60",                         684, PageBlinkmusterLed, RG, 55, 0, 0, kPageLumoBlinkmuster},
    // The 16F18324 firmwares only understand DCC addresses.
    {0x14B00,  0,        "Forsta 16F18324",                                   18324, PageRegister,      PO,  0,  0, 0, kPageForsta18324},
    {0x15000,  0,        "Knipso 16F18324",                                   18324, PageRegister,      PO,  0,  0, 0, kPageKnipso18324},
};
// clang-format on

// The rows of caption set `number`, made the first time they are asked for: a load looks up
// one type, and most files show one set of the fifty-odd or none. The overview loads files on
// several threads, which may ask for the same set at once.
const CaptionArray& CaptionRowsOfSet(int number)
{
    static const CaptionArray empty{};
    if (number <= 0 || number > kCaptionSetCount)
        return empty;
    static std::array<std::atomic<const CaptionArray*>, kCaptionSetCount + 1> made{};
    static std::array<std::unique_ptr<const CaptionArray>, kCaptionSetCount + 1> owned;
    static std::mutex making;
    const auto k = static_cast<std::size_t>(number);
    if (const CaptionArray* rows = made[k].load(std::memory_order_acquire))
        return *rows;
    const std::lock_guard lock(making);
    if (!owned[k]) {
        auto rows = std::make_unique<CaptionArray>();
        const CaptionSet& set = CaptionSets()[k];
        std::size_t row = static_cast<std::size_t>(set.FirstRow);
        for (const std::string& caption : set.Captions)
            (*rows)[row++] = caption;
        owned[k] = std::move(rows);
        made[k].store(owned[k].get(), std::memory_order_release);
    }
    return *owned[k];
}

DecoderType MakeType(const Entry& e)
{
    DecoderType t;
    t.Identifier = e.Identifier;
    t.Identifier2 = e.Identifier2;
    t.Name = e.Name;
    t.PicModel = e.Pic;
    t.Page = e.Page;
    t.RedGreen = e.Mode == Rows::RedGreen;
    t.FunctionDecoder = e.Mode == Rows::Function;
    t.PageOnly = e.Mode == Rows::PageOnly;
    t.SetsDcc = e.Pic == 18324;
    t.CaptionSet = e.CaptionSet;
    t.Captions = CaptionRows(e.CaptionSet);
    t.ColumnBreak = e.ColumnBreak;
    t.GapAfterRow = e.GapAfterRow;
    t.DocPage = DocPageName(e.Doc);
    return t;
}

struct PicRow {
    int PicModel;
    const char* Suffix;
    std::array<const char*, 4> Config;
};

// Per PIC: the text added to the file name in the status bar, and the configuration the
// firmwares are built with, offered when a file carries none. Words are written as the HEX
// record carries them, low byte first ("CC01" is 0x01CC: internal oscillator, watchdog and
// power-up timer on, MCLR pin as input, no code protection). The classic parts have one
// configuration word; the 16F18324 has four.
const PicRow kPics[] = {
    {629, " (12F629/16F630)", {"CC01", "", "", ""}},
    {676, " (16F676)", {"CC01", "", "", ""}},
    {684, " (16F684)", {"CC33", "", "", ""}},
    {688, " (16F688)", {"CC33", "", "", ""}},
    {18324, " (16F18324)", {"8C17", "3C25", "FF1F", "FF3F"}},
};

} // namespace

const CaptionArray& CaptionRows::rows() const { return CaptionRowsOfSet(m_set); }

const std::vector<DecoderType>& DecoderCatalogue()
{
    static const std::vector<DecoderType> catalogue = [] {
        std::vector<DecoderType> c;
        c.reserve(std::size(kEntries));
        for (const Entry& e : kEntries)
            c.push_back(MakeType(e));
        return c;
    }();
    return catalogue;
}

std::string ShownTypeName(const DecoderType& type)
{
    std::string name;
    for (char c : type.Name)
        if (c != ' ' || (!name.empty() && name.back() != ' '))
            name += c;
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

const DecoderType* FindDecoderType(int identifier)
{
    static const std::unordered_map<int, const DecoderType*> byIdentifier = [] {
        std::unordered_map<int, const DecoderType*> m;
        for (const DecoderType& t : DecoderCatalogue()) {
            m.emplace(t.Identifier, &t);
            if (t.Identifier2 != 0)
                m.emplace(t.Identifier2, &t);
        }
        return m;
    }();
    const auto it = byIdentifier.find(identifier);
    return it == byIdentifier.end() ? nullptr : it->second;
}

bool HasFunctionRows(const DecoderType& type)
{
    if (type.FunctionDecoder)
        return true;
    if (type.RedGreen || type.PageOnly)
        return false;
    for (const auto& c : type.Captions)
        if (!c.empty())
            return true;
    return false;
}

const PicInfo* FindPic(int picModel)
{
    static const std::vector<PicInfo> pics = [] {
        std::vector<PicInfo> v;
        for (const PicRow& r : kPics)
            v.push_back(PicInfo{r.PicModel, r.Suffix, {r.Config[0], r.Config[1], r.Config[2], r.Config[3]}});
        return v;
    }();
    for (const PicInfo& p : pics)
        if (p.PicModel == picModel)
            return &p;
    return nullptr;
}

} // namespace hz
