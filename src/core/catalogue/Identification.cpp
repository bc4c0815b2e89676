#include "core/catalogue/Identification.h"

#include "core/firmware/HexText.h"

namespace hz {

namespace {

// A program word compared as its two byte texts, the way the image keeps it.
bool wordIs(const FirmwareImage& img, int word, const char* low, const char* high)
{
    return img.rom(2 * word) == low && img.rom(2 * word + 1) == high;
}

void placementCheck(Prompter& p, int found, int expected, const char* text)
{
    if (found != expected)
        p.tell(MsgKind::Error, strprintf(text, static_cast<unsigned>(found)), Buttons::Ok);
}

} // namespace

std::string IdentificationState::formatText() const
{
    if (Mot)
        return "Mot";
    if (DCC)
        return "DCC";
    return "ohne";
}

Identification::Identification(FirmwareImage& image, IdentificationState& state) : m_image(image), m_state(state) {}

void Identification::IdentifyDecoder()
{
    IdentificationState& s = m_state;
    // The firmware starts with three "movlw kk" instructions (0x30kk) whose literals are the
    // identifier's bytes, low byte first.
    int bytes[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k)
        if (m_image.rom(2 * k + 1) == "30")
            bytes[k] = HexByteValue(m_image.rom(2 * k));
    s.IdByte0 = bytes[0];
    s.IdByte1 = bytes[1];
    s.IdByte2 = bytes[2];
    s.Identifier = bytes[0] + 256 * bytes[1] + 65536 * bytes[2];
    if (s.Identifier == 0) {
        // The two turntable firmwares carry no identifier words; the literal of program word
        // 137 tells them apart.
        const std::string& low = m_image.rom(274);
        if (low == "2F")
            s.Identifier = 0x30FF;
        else if (low == "17")
            s.Identifier = 0x17E800;
    }
}

void Identification::DetectAddressFormat()
{
    IdentificationState& s = m_state;
    s.Mot = s.DCC = s.NoAddressInput = false;
    // Signatures of the address receivers: the instruction at word 8 (and, behind a common
    // prologue 0x1C0C, the one at word 35) differs between the Motorola and DCC firmwares.
    const FirmwareImage& img = m_image;
    if (wordIs(img, 8, "8B", "1C"))
        s.Mot = true;
    else if (wordIs(img, 8, "05", "19"))
        s.DCC = true;
    else if (wordIs(img, 8, "81", "01"))
        s.NoAddressInput = true;
    else if (wordIs(img, 8, "0C", "1C") && wordIs(img, 35, "8B", "1C"))
        s.Mot = true;
    else if (wordIs(img, 8, "0C", "1C") && wordIs(img, 35, "05", "19"))
        s.DCC = true;
    else if (wordIs(img, 8, "12", "28"))
        s.DCC = true;
}

void Identification::ApplyDecoderType(IdentificationView& view)
{
    IdentificationState& s = m_state;
    s.RedGreen = s.FunctionDecoder = s.PageOnly = false;

    s.Captions.fill({});
    s.ColumnBreak = 15;
    s.GapAfterRow = 0;
    view.ResetLayout();

    m_image.DefaultConfig = {"", "", "", ""};

    const DecoderType* type = FindDecoderType(s.Identifier);
    s.Type = type;
    if (type) {
        // 0x101 is a later build of the blink pattern firmware 0x1; the pages know it as 0x1.
        if (s.Identifier == 0x101)
            s.Identifier = 0x1;
        s.RedGreen = type->RedGreen;
        s.FunctionDecoder = HasFunctionRows(*type); // the early neon firmware 0x4000 too
        s.PageOnly = type->PageOnly;
        s.Captions = type->Captions;
        s.DecoderName = type->Name;
        s.ColumnBreak = type->ColumnBreak == 0 ? kAddressRows : type->ColumnBreak;
        s.GapAfterRow = type->GapAfterRow;
        view.LayoutRows(s.ColumnBreak, s.GapAfterRow);
        s.DocPage = DocAddress(s.Site, type);
        m_image.PicModel = type->PicModel;
        if (type->SetsDcc)
            s.DCC = true;
        if (type->Page != PageNone)
            view.ShowPage(type->Page);
    }
    FinishIdentification(view);
}

void Identification::FinishIdentification(IdentificationView& view)
{
    IdentificationState& s = m_state;
    FirmwareImage& img = m_image;
    Prompter& p = img.prompter();

    if (const PicInfo* pic = FindPic(img.PicModel)) {
        img.facts.pic = img.PicModel; // the status bar names it from here on
        img.DefaultConfig = pic->DefaultConfig;
    }

    view.FitHeader(s.DecoderName);

    if (s.Mot) {
        s.MaxAddress = 320;
        s.MaxFunction = 4;
    } else if (s.DCC) {
        s.MaxAddress = s.RedGreen ? 2044 : 16128;
        s.MaxFunction = 12;
    }

    bool anyRowShown = false;
    for (int r = 0; r < kAddressRows; ++r)
        anyRowShown = anyRowShown || s.hasCaption(r);
    view.ShowRows();

    // Placement checks: where the assigned PIC keeps ID, CONFIG and EEPROM. The turntables
    // (16F676) are not checked. A mismatch is reported and the file stays editable.
    struct Placement {
        int expectedId, expectedConfig, expectedEeprom;
        const char* id;
        const char* config;
        const char* eeprom;
    };
    static const Placement classic{
        0x2000,
        0x2007,
        0x2100,
        "Das HEX-File wurde dem 12f629/16f630/16f684/16f688 zugeordnet, die ID liegt aber nicht bei 0x2000 (0x%x)",
        "Das HEX-File wurde dem 12f629/16f630/16f684/16f688 zugeordnet, CONFIG liegt aber nicht bei 0x2007 (0x%x)",
        "Das HEX-File wurde dem 12f629/16f630/16f684/16f688 zugeordnet, EEPROM liegt aber nicht bei 0x2100 (0x%x)"};
    static const Placement f18324{
        0x8000,
        0x8007,
        0xF000,
        "Das HEX-File wurde dem 16F18324 zugeordnet, die ID liegt aber nicht bei 0x8000 (0x%x)",
        "Das HEX-File wurde dem 16F18324 zugeordnet, CONFIG liegt aber nicht bei 0x8007 (0x%x)",
        "Das HEX-File wurde dem 16F18324 zugeordnet, EEPROM liegt aber nicht bei 0xF000 (0x%x)"};
    const Placement* placement = nullptr;
    if (img.PicModel == 629 || img.PicModel == 684 || img.PicModel == 688)
        placement = &classic;
    else if (img.PicModel == 18324)
        placement = &f18324;
    if (placement) {
        placementCheck(p, img.IdLocation, placement->expectedId, placement->id);
        placementCheck(p, img.ConfigLocation, placement->expectedConfig, placement->config);
        placementCheck(p, img.EepromLocation, placement->expectedEeprom, placement->eeprom);
    }

    if (!anyRowShown && !s.PageOnly) {
        s.DocPage = DocAddress(s.Site, nullptr);
        const std::optional<Version>& version = img.facts.version;
        if (version && version->hundredths() > 0 && version->hundredths() < 326)
            p.tell(MsgKind::Error,
                   "Das HEX-File konnte leider nicht erkannt werden, da Version vor V3.26\n\nVersion des HEX-File: " +
                       VersionText(*version) + " ",
                   Buttons::Ok);
        else
            p.tell(MsgKind::Error,
                   strprintf("Das HEX-File konnte leider nicht erkannt werden: Identifier %i (%i/%i/%i)", s.Identifier,
                             s.IdByte0, s.IdByte1, s.IdByte2),
                   Buttons::Ok);
    }

    view.DocPageChanged(s.DocPage);
}

void Identification::RedoLayout(IdentificationView& view)
{
    const IdentificationState& s = m_state;
    view.ResetLayout();
    if (s.Type) {
        view.LayoutRows(s.ColumnBreak, s.GapAfterRow);
        if (s.Type->Page != PageNone)
            view.ShowPage(s.Type->Page);
    }
    view.FitHeader(s.DecoderName);
    view.ShowRows();
    view.DocPageChanged(s.DocPage);
}

} // namespace hz
