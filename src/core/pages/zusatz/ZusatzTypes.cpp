#include "core/pages/zusatz/ZusatzTypes.h"

namespace hz::pages::zusatz {

namespace {

// ---- value rows -----------------------------------------------------------------------------

constexpr const char* kTimeOutHint = "Zeit, nach der der Antrieb immer spätestens abgeschaltet wird";

constexpr RowDef kTimeOut[] = {{"Time Out (1..127)", kTimeOutHint, 0x20, 0.5f, 1, 127}};
// The neon function decoders take the whole byte, although the caption says 1..127.
constexpr RowDef kTimeOutNeon[] = {{"Time Out (1..127)", kTimeOutHint, 0x20, 0.5f, 1, 255}};
constexpr RowDef kMode3SwitchOff[] = {
    {"Abschaltzeit in Mode 3 (1..255)", "Zeit, nach der in Mode 3 abgeschaltet wird", 0x20, 0.5f, 1, 255}};

constexpr RowDef kTrafficLight341[] = {
    {"Grünphase Haupt (x 0.2 s)", "Länge der Grünphase Hauptstrasse", 0x60, 0.2f, 1, 255},
    {"Grünphase Neben (x 0.2 s)", "Länge der Grünphase Nebenstrasse", 0x70, 0.2f, 1, 255},
};
constexpr RowDef kTrafficLight361[] = {
    {"Strasse 1 GRÜN", "Länge GRÜN-Phase Straße 1 (= GRÜN für Strasse und Fussgänger)", 0x60, 0.2f, 1, 255},
    {"Strasse 2 GRÜN", "Länge GRÜN-Phase Straße 2 (= GRÜN für Strasse und Fussgänger)", 0x70, 0.2f, 1, 255},
    {"GELB Phase", "Länge für Straße = GELB", 0x71, 0.2f, 1, 255},
    {"ROT/GELB Phase", "Länge für Straße = ROT/GELB", 0x72, 0.2f, 1, 255},
    {"alles ROT", "Länge alle Ampeln Rot (alle Straßen und alle Fußgänger)", 0x73, 0.2f, 1, 255},
    {"Fußgänger Vorlauf GRÜN", "Zeit zwischen Fußgänger GRÜN und Strasse GRÜN", 0x74, 0.2f, 1, 255},
    {"Fußgänger Vorlauf ROT", "Zeit zwischen Fußgänger ROT und Strasse ROT", 0x75, 0.2f, 1, 255},
};

constexpr const char* kHouseSpeed = "Ablaufgeschwindigkeit (1..255)";
constexpr const char* kHouseSpeedHint = "1 = schnell\n255 = langsam";
constexpr const char* kHouseCount = "Mindestanzahl (1..9)";
constexpr const char* kHouseCountHint = "Anzahl der mindest aktiven Ausgänge beim Ablauf";
constexpr RowDef kHouse[] = {
    {kHouseSpeed, kHouseSpeedHint, 0x20, 0.0f, 1, 255},
    {kHouseCount, kHouseCountHint, 0x2F, 0.0f, 1, 9},
};
constexpr RowDef kHouse361[] = {
    {kHouseSpeed, kHouseSpeedHint, 0x20, 0.0f, 1, 255},
    {kHouseCount, kHouseCountHint, 0x30, 0.0f, 1, 9},
};

constexpr std::span<const RowDef> kNoRows{};

// ---- mode sets ------------------------------------------------------------------------------

constexpr const char* kNormal = "Mode 1: Normale Betriebsart";

constexpr ModeSet kM3{{kNormal, "Mode 2: Dumm-Mode", "Mode 3: Selbstabschaltungs-Mode", nullptr}};
constexpr ModeSet kM4{{kNormal, "Mode 2: Dumm-Mode", "Mode 3: Selbstabschaltungs-Mode", "Mode 4: Single Output-Mode"}};
constexpr ModeSet kDunkel{{kNormal, "Mode 2: mit Dunkeltastung", nullptr, nullptr}};
constexpr ModeSet kSteuer{{kNormal, "Mode 2: Steuerwagen", nullptr, nullptr}};
constexpr ModeSet kLaterne{
    {"Mode 1: Laternen-Ausgang weich einblenden (Fading)", "Mode 2: Laternen-Ausgang geschaltet", nullptr, nullptr}};
constexpr ModeSet kNeon{{"Mode 1: Normale Betriebsart Neon", "Mode 2: Steuerwagen Neon",
                         "Mode 3: Normale Betriebsart ohne Neon", "Mode 4: Steuerwagen ohne Neon"}};
constexpr ModeSet kDumm{{kNormal, "Mode 2: Dumm-Mode", nullptr, nullptr}};
constexpr ModeSet kLand{{"Mode 1: Deutschland", "Mode 2: Österreich", nullptr, nullptr}};
constexpr ModeSet kHaus{{"Mode 1: Einblenden (Fading)", "Mode 2: geschaltet", nullptr, nullptr}};
constexpr ModeSet kGas{{kNormal, "Mode 2: kein Einschaltblitz", "Mode 3: keine Druckschwankungen",
                        "Mode 4: kein Blitz, keine Schwankungen"}};
constexpr ModeSet kSteuer34{{kNormal, "Mode 2: Steuerwagen (Ausgang 3/4)", nullptr, nullptr}};
constexpr ModeSet kRot{{"Mode 1: ohne ROT", "Mode 2: mit ROT ", nullptr, nullptr}};
// The group with its flag boxes only.
constexpr ModeSet kFlagsOnly{{nullptr, nullptr, nullptr, nullptr}};

// ---- bit boxes of byte 0x20 -----------------------------------------------------------------

constexpr const char* kNormalNeon = "Wenn nicht aktiviert, dann ist dieser Ausgang ein normaler 'Neon' Effekt Ausgang";
constexpr const char* kDefectNeon = "Wenn nicht aktiviert, dann ist dieser Ausgang ein 'Neon' Effekt Ausgang, der auch "
                                    "als 'defekt' definiert werden kann";
constexpr const char* kOut9Defect = "Ausgang 9 = 'Neon defekt'";
constexpr const char* kOut9DefectHint = "keine Wirkung, wenn Ausgang 9 als 'Schweißer' definiert";
constexpr const char* kOut10Welder = "Ausgang 10 = 'Schweißer'";

constexpr BitBox kOutputBoxes[] = {
    {3, 40, "Ausgang 1/2/3 = 'Schweißer'", kNormalNeon, 2, true},
    {4, 60, "Ausgang 4 = 'Schweißer'", kDefectNeon, 3, true},
    {5, 80, "Ausgang 5/6/7/8 = 'Schweißer'", kNormalNeon, 4, true},
    {7, 100, "Ausgang 9 = 'Schweißer'", kDefectNeon, 6, true},
    {2, 120, kOut10Welder, kNormalNeon, 1, true},
    {8, 160, "Ausgang 4 = 'Neon defekt'", "keine Wirkung, wenn Ausgang 4 als 'Schweißer' definiert", 7, true},
    {1, 180, kOut9Defect, kOut9DefectHint, 0, true},
    // Bit 5 has no function the user may choose; the firmware's value stays.
    {6, 0, " ", " ", 5, false},
};
constexpr BitBoxSet kOutputFunctions{"Funktion der Ausgänge:", kOutputBoxes,
                                     "Tipp: Im Stelldua Dekoder sind Ausgang 1-4 nutzbar", 220};

// The earlier neon firmware knows bits 0 and 1 of the same byte, with the same meaning as its
// successor; the two boxes stand where that one starts its list.
constexpr BitBox kSpecialBoxes[] = {
    {1, 40, kOut9Defect, kOut9DefectHint, 0, true},
    {2, 60, kOut10Welder, kNormalNeon, 1, true},
};
constexpr BitBoxSet kSpecialOutputs{"Spezial-Funktion Ausgang 9 / 10:", kSpecialBoxes, nullptr, 0};

// ---- the decoder types ----------------------------------------------------------------------

constexpr Lock kNoLock = Lock::None;
constexpr Lock kLock = Lock::Always;
constexpr Lock kLock354 = Lock::Above354;

const std::vector<ZusatzType> kTable = {
    // id, id2, name, rows, first-row top, modes, dumb, lock, modes only above 3.54, options,
    // switch-off byte, fading caption top, bit boxes
    // Turnout, switching and function decoders
    {0x8, 0, "Stellino", kTimeOut, 20, nullptr, false, kNoLock, false, OptNone, 0, 0, nullptr},
    {0xA, 0, "Stelldua", kTimeOut, 20, nullptr, false, kNoLock, false, OptNone, 0, 0, nullptr},
    {0x2, 0, "Stelldua - Spur 1", kTimeOut, 20, nullptr, false, kNoLock, false, OptNone, 0, 0, nullptr},
    {0x65, 0, "Meldino", kTimeOut, 20, nullptr, false, kNoLock, false, OptNone, 0, 0, nullptr},
    {0x208, 0, "Stellino  ab V3.51", kTimeOut, 20, nullptr, false, kNoLock, false, OptDriveSwitchOff, 0, 0, nullptr},
    {0x20A, 0, "Stelldua ab V3.51", kTimeOut, 20, nullptr, false, kNoLock, false, OptDriveSwitchOff, 0, 0, nullptr},
    {0x202, 0, "Stelldua - Spur 1  ab V3.51", kTimeOut, 20, nullptr, false, kNoLock, false, OptDriveSwitchOff, 0, 0,
     nullptr},
    {0x265, 0, "Meldino ab V3.51", kTimeOut, 20, nullptr, false, kNoLock, false, OptDriveSwitchOff, 0, 0, nullptr},
    {0x308, 0, "Stellino  ab V3.58", kTimeOut, 20, nullptr, false, kNoLock, false, OptSwitchOff, 0x00, 0, nullptr},
    {0x30A, 0, "Stelldua ab V3.58", kTimeOut, 20, nullptr, false, kNoLock, false, OptSwitchOff, 0x00, 0, nullptr},
    {0x30C, 0, "Stellino-Schmelzwacht ab V3.58", kTimeOut, 20, nullptr, false, kNoLock, false, OptSwitchOff, 0x00, 0,
     nullptr},
    {0x302, 0, "Stelldua - Spur 1  ab V3.58", kTimeOut, 20, nullptr, false, kNoLock, false, OptSwitchOff, 0x00, 0,
     nullptr},
    {0x365, 0, "Meldino ab V3.58", kTimeOut, 20, nullptr, false, kNoLock, false, OptSwitchOff, 0x00, 0, nullptr},
    // Its byte 0x00 holds the lantern mode, so the switch-off nibbles moved to 0x30.
    {0x408, 0, "Stellino  ab V3.61", kTimeOut, 20, &kLaterne, false, kLock, false, OptSwitchOff, 0x30, 0, nullptr},
    {0xB, 0, "Stelldua - Schalten", kMode3SwitchOff, 20, &kM3, false, kLock354, false, OptNone, 0, 0, nullptr},
    {0x69, 0, "Relaisdekoder 8", kMode3SwitchOff, 20, &kM4, false, kLock354, false, OptNone, 0, 0, nullptr},
    {0x3, 0, "Stelldua - Signal 2x2", kNoRows, 20, &kDunkel, false, kLock354, false, OptNone, 0, 0, nullptr},
    {0x3D00, 0, "Stelldua - F-Dekoder Schalten", kNoRows, 20, &kSteuer, false, kNoLock, false, OptNone, 0, 0, nullptr},
    {0x13D00, 0, "Stelldua - F-Dekoder Schalten ab V0.60", kNoRows, 20, &kSteuer, true, kLock, false, OptNone, 0, 0,
     nullptr},
    {0x13F00, 0, "Stelldua - F-Dekoder Blinken ab V0.60", kNoRows, 20, &kFlagsOnly, true, kNoLock, false, OptNone, 0, 0,
     nullptr},
    {0x1A4100, 0x1B4100, "Stelldua/Forsta - F-Dekoder Neon ab V0.44", kTimeOutNeon, 20, &kNeon, false, kNoLock, false,
     OptBrightness, 0, 0, nullptr},
    {0x2A4100, 0x2B4100, "Stelldua/Forsta - F-Dekoder Neon ab V0.60", kTimeOutNeon, 20, &kNeon, true, kLock, false,
     OptBrightness, 0, 0, nullptr},
    // LED decoders
    {0x6A, 0, "Lumo - Schalten", kMode3SwitchOff, 20, &kM3, false, kLock354, false, OptNone, 0, 0, nullptr},
    {0x6C, 0, "Lumo - Signal 4", kNoRows, 20, &kDunkel, false, kLock354, false, OptNone, 0, 0, nullptr},
    {0x6D, 0, "Lumo - Signal SBB", kNoRows, 20, &kDunkel, false, kLock354, false, OptNone, 0, 0, nullptr},
    {0x68, 0, "Lumo - Andreaskreuz / Schranke", kNoRows, 20, &kDumm, false, kLock354, false, OptNone, 0, 0, nullptr},
    {0x167, 0, "Lumo - Ampel V3.40", kNoRows, 20, nullptr, false, kNoLock, false, OptFading, 0, 50, nullptr},
    {0x267, 0, "Lumo - Ampel ab V3.41", kTrafficLight341, 120, &kLand, false, kLock354, false, OptFading, 0, 50,
     nullptr},
    {0x367, 0, "Lumo - Ampel ab V3.61", kTrafficLight361, 60, &kLand, false, kLock354, false, OptFading, 0, 10,
     nullptr},
    {0x6F, 0, "Lumo - Kirmes", kNoRows, 20, nullptr, false, kNoLock, false, OptEffectSpeed, 0, 0, nullptr},
    {0x170, 0, "Lumo - Neon ab V3.38", kNoRows, 20, nullptr, false, kNoLock, false, OptBitBoxes, 0, 0,
     &kSpecialOutputs},
    {0x270, 0, "Lumo - Neon ab V3.48", kNoRows, 20, nullptr, false, kNoLock, false, OptBitBoxes, 0, 0,
     &kOutputFunctions},
    {0x66, 0, "Lumo - Gas", kNoRows, 20, &kGas, false, kLock, true, OptNone, 0, 0, nullptr},
    {0x71, 0, "Lumo - Haus", kHouse, 20, nullptr, false, kNoLock, false, OptNone, 0, 0, nullptr},
    {0x171, 0, "Lumo - Haus ab V3.61", kHouse361, 20, &kHaus, false, kLock, false, OptNone, 0, 0, nullptr},
    {0x3E00, 0, "Lumo - Funktionsdekoder Schalten", kNoRows, 20, &kDumm, false, kNoLock, false, OptNone, 0, 0, nullptr},
    {0x13E00, 0, "Lumo - F-Dekoder Schalten ab V0.60", kNoRows, 20, &kSteuer34, true, kLock, false, OptNone, 0, 0,
     nullptr},
    {0xC9, 0, "Lumo - Signal 001 - Einfahrsignal", kNoRows, 20, &kDunkel, false, kLock354, false, OptNone, 0, 0,
     nullptr},
    {0x1C9, 0, "Lumo - Signal 001 - Einfahrsignal ab V3.37", kNoRows, 20, &kDunkel, false, kLock354, false, OptNone, 0,
     0, nullptr},
    {0xCA, 0, "Lumo - Signal 002 - Ausfahrsignal", kNoRows, 20, &kDunkel, false, kLock354, false, OptNone, 0, 0,
     nullptr},
    {0x1CA, 0, "Lumo - Signal 002 - Ausfahrsignal ab V3.37", kNoRows, 20, &kDunkel, false, kLock354, false, OptNone, 0,
     0, nullptr},
    {0xCB, 0, "Lumo - Signal 003 - ÖBB", kNoRows, 20, &kRot, false, kLock354, false, OptNone, 0, 0, nullptr},
    {0xCD, 0, "Lumo - Signal 005 - HL", kNoRows, 20, &kDunkel, false, kLock354, false, OptNone, 0, 0, nullptr},
    {0xCE, 0, "Lumo - Signal 006 - PKP", kNoRows, 20, &kDunkel, false, kLock354, false, OptNone, 0, 0, nullptr},
    {0xCF, 0, "Lumo - Signal 007 - Ks", kNoRows, 20, &kDunkel, false, kLock354, false, OptNone, 0, 0, nullptr},
    // "Lumo - Signal SBB ab V3.59" (0x16D) has no entry: its page stays empty.
};

} // namespace

const std::vector<ZusatzType>& ZusatzTypeTable() { return kTable; }

const ZusatzType* FindZusatzType(int identifier)
{
    if (identifier == 0)
        return nullptr;
    for (const ZusatzType& t : kTable)
        if (t.identifier == identifier || t.identifier2 == identifier)
            return &t;
    return nullptr;
}

} // namespace hz::pages::zusatz
