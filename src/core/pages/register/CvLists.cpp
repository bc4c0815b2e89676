#include "core/pages/register/CvLists.h"

#include <initializer_list>

#include "core/firmware/HexText.h"

namespace hz {

namespace {

// Appends captions to `list` at consecutive EEPROM addresses starting at `first`.
void addRun(std::vector<CvEntry>& list, int first, std::initializer_list<const char*> captions)
{
    int address = first;
    for (const char* caption : captions)
        list.push_back({caption, address++});
}

std::vector<CvEntry> buildFDecoderList()
{
    std::vector<CvEntry> l;
    addRun(l, 0x60, {"CV1: Kurze Adresse"});
    addRun(l, 0x62,
           {"CV15: Dekoder Sperren", "CV16: Dekoder Sperren", "CV17: Lange Adresse L", "CV18: Lange Adresse H"});
    addRun(l, 0x68, {"CV29: Konfiguration"});
    addRun(l, 0x6D, {"CV48: Dekoder Betriebsart 1"});
    addRun(l, 0x6F, {"CV50: Verzögerung 1"});
    addRun(l, 0x71, {"CV52: PWM-Wert 1", "CV53: PWM-Wert 2", "CV54: Länge Neon-Effekt"});
    addRun(l, 0x7A,
           {"CV61: Blinker Frequenz", "CV62: Bremslicht Dauer", "CV63: Bremslicht Schwelle",
            "CV64: Bremslicht Dauer Stand"});
    addRun(l, 0x83, {"CV115: LISSY: Zug-Kategorie (1-4)"});
    addRun(l, 0x9C,
           {"CV140: Mapping Befehl 1", "CV141: Mapping Befehl 2", "CV142: Mapping Befehl 3", "CV143: Mapping Befehl 4",
            "CV144: Mapping Befehl 5"});
    addRun(l, 0xA6,
           {"CV150: Betriebs-Art Out 1", "CV151: Betriebs-Art Out 2", "CV152: Betriebs-Art Out 3",
            "CV153: Betriebs-Art Out 4"});
    return l;
}

// The 16F18324 function decoders share one EEPROM layout; the Knipso firmware names two of
// its CVs with the PIC appended.
std::vector<CvEntry> build18324List(bool knipso)
{
    std::vector<CvEntry> l;
    addRun(l, 0x60,
           {"CV001: Kurze Adresse", "CV007: Versions-Nummer", "CV015: Dekoder Lock #1", "CV016: Dekoder Lock #2",
            "CV017: extended Adress HIGH-Byte", "CV018: extended Adress LOW-Byte"});
    addRun(l, 0x6A, {"CV029: Konfigbyte"});
    addRun(l, 0x6D, {"CV048: Betriebsart"});
    addRun(l, 0x73, {knipso ? "CV054: Länge des Neon-Effektes 18324" : "CV054: Länge des Neon-Effektes"});
    addRun(l, 0x7A,
           {knipso ? "CV061: Blinker Frequenz 18324" : "CV061: Blinker Frequenz", "CV062: Bremslicht Dauer",
            "CV063: Bremslicht Schwellwert", "CV064: Bremslicht Dauer Stand"});
    addRun(l, 0x83, {"CV115: Zug-Kategorie f. Lissy"});
    addRun(l, 0x88,
           {"CV120: Lokadresse#2, High-Byte", "CV121: Lokadresse#2, Low-Byte", "CV122: Lokadresse#3, High-Byte",
            "CV123: Lokadresse#3, Low-Byte", "CV124: Lokadresse#4, High-Byte", "CV125: Lokadresse#4, Low-Byte",
            "CV126: Lokadresse#5, High-Byte", "CV127: Lokadresse#5, Low-Byte", "CV128: Lokadresse#6, High-Byte",
            "CV129: Lokadresse#6, Low-Byte", "CV130: Mapping Lokadresse Out 1", "CV131: Mapping Lokadresse Out 2",
            "CV132: Mapping Lokadresse Out 3", "CV133: Mapping Lokadresse Out 4", "CV134: Mapping Lokadresse Out 5",
            "CV135: Mapping Lokadresse Out 6", "CV136: Mapping Lokadresse DIMM A", "CV137: Mapping Lokadresse DIMM B"});
    addRun(l, 0x9C,
           {"CV140: F-Nummer Out 1", "CV141: F-Nummer Out 2", "CV142: F-Nummer Out 3", "CV143: F-Nummer Out 4",
            "CV144: F-Nummer Out 5", "CV145: F-Nummer Out 6", "CV146: F-Nummer DIMM A", "CV147: F-Nummer DIMM B"});
    addRun(l, 0xA6,
           {"CV150: Betriebsart Out 1", "CV151: Betriebsart Out 2", "CV152: Betriebsart Out 3",
            "CV153: Betriebsart Out 4", "CV154: Betriebsart Out 5", "CV155: Betriebsart Out 6",
            "CV156: Dimmen Befehl A Maske", "CV157: Dimmen Befehl B Maske"});
    addRun(l, 0xB0,
           {"CV160: PWM Out 1 HELL", "CV161: PWM Out 1 GEDIMMT", "CV162: PWM Out 2 HELL", "CV163: PWM Out 2 GEDIMMT",
            "CV164: PWM Out 3 HELL", "CV165: PWM Out 3 GEDIMMT", "CV166: PWM Out 4 HELL", "CV167: PWM Out 4 GEDIMMT",
            "CV168: PWM Out 5 HELL", "CV169: PWM Out 5 GEDIMMT", "CV170: PWM Out 6 HELL", "CV171: PWM Out 6 GEDIMMT",
            "CV172: Fade Value"});
    addRun(l, 0xC4,
           {"CV180: Einschaltverzögerung OUT1", "CV181: Einschaltverzögerung OUT2", "CV182: Einschaltverzögerung OUT3",
            "CV183: Einschaltverzögerung OUT4", "CV184: Einschaltverzögerung OUT5", "CV185: Einschaltverzögerung OUT6",
            "CV186: Ausschaltverzögerung OUT1", "CV187: Ausschaltverzögerung OUT2", "CV188: Ausschaltverzögerung OUT3",
            "CV189: Ausschaltverzögerung OUT4", "CV190: Ausschaltverzögerung OUT5",
            "CV191: Ausschaltverzögerung OUT6"});
    return l;
}

} // namespace

const std::vector<CvEntry>& CvListFor(int identifier)
{
    static const std::vector<CvEntry> fDecoder = buildFDecoderList();
    static const std::vector<CvEntry> forsta = build18324List(false);
    static const std::vector<CvEntry> knipso = build18324List(true);
    static const std::vector<CvEntry> none;
    switch (identifier) {
    case kIdFDecoderCv: return fDecoder;
    case kIdForsta18324: return forsta;
    case kIdKnipso18324: return knipso;
    default: return none;
    }
}

int CvEepromAddress(int identifier, int cv)
{
    for (const CvEntry& e : CvListFor(identifier)) {
        // "CV29: ..." and "CV029: ..." alike
        const std::size_t colon = e.caption.find(':');
        int number = 0;
        if (e.caption.rfind("CV", 0) == 0 && colon != std::string::npos &&
            parseWholeNumber(std::string_view(e.caption).substr(2, colon - 2), number) && number == cv)
            return e.address;
    }
    return -1;
}

std::optional<CvAddress> ReadCvAddress(const FirmwareImage& image, int identifier)
{
    const int at1 = CvEepromAddress(identifier, 1), at17 = CvEepromAddress(identifier, 17),
              at18 = CvEepromAddress(identifier, 18), at29 = CvEepromAddress(identifier, 29);
    if (at1 < 0 || at17 < 0 || at18 < 0 || at29 < 0)
        return std::nullopt;
    CvAddress a;
    auto value = [&](int cv, int at, int& v) {
        v = image.eepromValue(at);
        if (v < 0)
            a.problem =
                strprintf("CV%d (EEPROM 0x%02X) ist kein Byte, sondern \"%s\".", cv, at, image.eeprom(at).c_str());
        return v >= 0;
    };
    int cv29 = 0;
    if (!value(29, at29, cv29))
        return a;
    a.isLong = (cv29 & 0x20) != 0;
    if (!a.isLong) {
        int cv1 = 0;
        if (!value(1, at1, cv1))
            return a;
        if (cv1 < 1 || cv1 > 127)
            a.problem = strprintf("CV1 = %d ist keine kurze Adresse (1 bis 127).", cv1);
        else
            a.address = cv1;
        return a;
    }
    // The F-Dekoder's list names CV17 the low and CV18 the high byte, against the DCC norm that
    // every command station programs by; which long address this firmware reads is not sure.
    if (identifier == kIdFDecoderCv) {
        a.problem = "CV29 wählt die lange Adresse; diese Firmware nennt CV17 das niedrige und CV18 das hohe Byte, "
                    "gegen die DCC-Norm - welche Adresse sie liest, ist nicht sicher.";
        return a;
    }
    int cv17 = 0, cv18 = 0;
    if (!value(17, at17, cv17) || !value(18, at18, cv18))
        return a;
    if (cv17 < 192 || cv17 > 231) {
        a.problem = strprintf("CV29 wählt die lange Adresse, aber CV17 = %d liegt nicht zwischen 192 und 231.", cv17);
        return a;
    }
    const int address = (cv17 - 192) * 256 + cv18;
    if (address < 1)
        a.problem = "CV29 wählt die lange Adresse, aber CV17 und CV18 ergeben 0.";
    else
        a.address = address;
    return a;
}

CvInput ParseCvInput(std::string_view text)
{
    if (text.empty())
        return {CvInputKind::Empty, 0};
    int value = 0;
    if (!parseWholeNumber(text, value))
        return {CvInputKind::NotANumber, 0};
    if (value < 0 || value > 255)
        return {CvInputKind::OutOfRange, 0};
    return {CvInputKind::Value, value};
}

CvEditResult ApplyCvEdit(FirmwareImage& image, Prompter& prompter, int address, std::string_view text)
{
    const CvInput in = ParseCvInput(text);
    switch (in.kind) {
    case CvInputKind::Empty: return CvEditResult::Ignored;
    case CvInputKind::NotANumber:
        prompter.tell(MsgKind::Warning, kCvNotANumber, Buttons::Cancel);
        return CvEditResult::Refused;
    case CvInputKind::OutOfRange:
        prompter.tell(MsgKind::Warning, kCvOutOfRange, Buttons::Cancel);
        return CvEditResult::Refused;
    case CvInputKind::Value: break;
    }
    image.set_Hex_EE(address, HexByteTexts()[static_cast<std::size_t>(in.value)]);
    return CvEditResult::Stored;
}

} // namespace hz
