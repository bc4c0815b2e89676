#include "core/pages/servo/KornelPage.h"

#include <algorithm>

#include "core/Prompter.h"
#include "core/firmware/FileSet.h"
#include "core/firmware/FirmwareImage.h"
#include "core/firmware/HexText.h"
#include "core/pages/common/Canvas.h"
#include "core/pages/common/GraphSteps.h"
#include "core/pages/common/NumberText.h"
#include "core/pages/servo/CurveFiles.h"
#include "core/pages/servo/KornelAdrPage.h"
#include "core/pages/servo/ServoTypes.h"

namespace hz::pages {

namespace {

constexpr const char* kPanel = "pnl_servo";
constexpr const char* kCurveGroup = "RadioGroup1";
constexpr const char* kSw1Group = "servo_GroupBox1";

constexpr const char* kCurveButtons[4] = {"servo_rad_a1", "servo_rad_a2", "servo_rad_a3", "servo_rad_a4"};
constexpr const char* kCopyButtons[4] = {"btn_copy1", "btn_copy2", "btn_copy3", "btn_copy4"};
// Push-button slots 1..4 and their labels.
constexpr const char* kSlotLists[4] = {"servo_cbx_s1c", "servo_cbx_s1o", "servo_cbx_s2c", "servo_cbx_s2o"};
constexpr const char* kSlotLabels[4] = {"Label_Servo_sw1a", "Label_Servo_sw1b", "Label_Servo_sw2a", "Label_Servo_sw2b"};

std::vector<std::string> slotItems(const char* first, int addresses)
{
    std::vector<std::string> items{first};
    for (int a = 1; a <= addresses; ++a)
        items.push_back("wie Adr." + std::to_string(a));
    return items;
}

std::vector<std::string> numberItems(int last)
{
    std::vector<std::string> items;
    for (int k = 0; k <= last; ++k)
        items.push_back(std::to_string(k));
    return items;
}

int lowestBit(int value)
{
    for (int k = 0; k < 8; ++k)
        if (value & (1 << k))
            return k;
    return 0;
}

} // namespace

const KornelPage::NumberEdit KornelPage::kNumberEdits[3] = {
    {"edt_Anzahl", "UpDown1", &KornelPage::changeCount},
    {"edt_stretch", "UpDown2", &KornelPage::changeStretch},
    {"edt_kornelchen_schwelle", "UpDown4", &KornelPage::changeThreshold},
};

KornelPage::KornelPage()
{
    m_controls.reserve(80);
    auto make = [this](const char* name, ControlKind kind, const char* caption, Rect r,
                       const char* parent = kPanel) -> Control& {
        Control c;
        c.name = name;
        c.kind = kind;
        c.caption = caption;
        c.geometry = r;
        c.parent = parent;
        return add(std::move(c));
    };
    auto label = [&](const char* name, const char* caption, Rect r) { make(name, ControlKind::Label, caption, r); };
    auto edit = [&](const char* name, const char* text, const char* hint, Rect r) -> Control& {
        Control& c = make(name, ControlKind::Edit, "", r);
        c.text = text;
        c.hint = hint;
        return c;
    };
    // A number edit with the spinner beside it (kNumberEdits[k]).
    // The count and the stretch are entries of the selected record; the threshold is an
    // EEPROM byte, written at once.
    auto numberEdit = [&](int k, const char* text, const char* hint, Rect r, int max, const char* spinnerHint,
                          Rect spinnerRect) {
        const NumberEdit& n = kNumberEdits[k];
        const char* copy = k == kThresholdEdit ? "" : kObjectName;
        const ValueOf of = k == kThresholdEdit ? ValueOf::Decoder : ValueOf::ShownPart;
        Control& e = edit(n.edit, text, hint, r).on<&KornelPage::numberTyped>(k);
        e.inCopyOf = copy;
        e.valueOf = of;
        Control& c = make(n.spinner, ControlKind::TrackBar, "", spinnerRect);
        c.inCopyOf = copy;
        c.valueOf = of;
        c.min = 1;
        c.max = max;
        c.position = 10;
        c.hint = spinnerHint;
        c.on<&KornelPage::spinnerMoved>(k);
    };
    auto button = [&](const char* name, const char* caption, const char* hint, Rect r) -> Control& {
        Control& c = make(name, ControlKind::Button, caption, r);
        c.hint = hint;
        return c;
    };
    auto list = [&](const char* name, std::vector<std::string> items, const char* hint, Rect r) -> Control& {
        Control& c = make(name, ControlKind::List, "", r);
        c.items = std::move(items);
        c.selected = 0;
        c.hint = hint;
        return c;
    };
    auto fileButton = [&](const char* name, const char* caption, const char* hint, Rect r, FileDialogKind kind,
                          const char* filter, const char* suffix) -> Control& {
        Control& c = button(name, caption, hint, r);
        c.fileDialog = kind;
        c.fileFilter = filter;
        c.fileSuffix = suffix;
        return c;
    };

    make(kPanel, ControlKind::Group, "", Rect{0, 0, kWidth, kHeight}, "");

    // Curve selection, point count, stretch.
    make(kCurveGroup, ControlKind::Group, "Parameter für ...", Rect{5, 0, 330, 42});
    for (int k = 0; k < 4; ++k) {
        Control& r = make(kCurveButtons[k], ControlKind::Radio, "", Rect{8 + 80 * k, 20, 75, 17}, kCurveGroup);
        r.caption = "Kurve " + std::to_string(k + 1);
        r.hint = "Auswahl, für welche Adresse die Angezeigten Parameter gültig sind";
        r.checked = k == 0;
        r.valueOf = ValueOf::Editor;
        r.on<&KornelPage::selectCurve>();
    }
    label("Label1", "Anzahl Punkte", Rect{345, 4, 85, 15});
    numberEdit(kCountEdit, "10", "Anzahl der Kurven-Punkte", Rect{435, 0, 40, 21}, 200, "Anzahl der Kurven-Punkte",
               Rect{475, 0, 17, 21});
    label("Label2", "Stretch-Faktor", Rect{345, 27, 85, 15});
    numberEdit(kStretchEdit, "10", "ermöglicht es, den Ablauf zu Verlangsamen", Rect{435, 23, 40, 21}, 200,
               "ermöglicht es, den Ablauf zu Verlangsamen", Rect{475, 23, 17, 21});

    // Time labels and grid.
    label("lbl_KurveInfo1", "", Rect{5, 48, 280, 15});
    label("lbl_KurveInfo2", "", Rect{5, 64, 280, 15});
    label("Label6", "Raster X", Rect{300, 50, 55, 15});
    // The grid is the window's, kept in its settings file, not the decoder's.
    list("cbx_raster_x", numberItems(70), "", Rect{357, 47, 50, 21}).on<&KornelPage::changeGrid>().valueOf =
        ValueOf::Editor;
    label("Label7", "Raster Y", Rect{415, 50, 55, 15});
    list("cbx_raster_y", numberItems(10), "", Rect{472, 47, 50, 21}).on<&KornelPage::changeGrid>().valueOf =
        ValueOf::Editor;

    // The two graphs.
    label("Label27", "Servo", Rect{5, 80, 40, 15});
    make("servo_Image1", ControlKind::Image, "", kImage1Rect).onMouse<&KornelPage::paintCurve>().hint =
        "Definieren der Kurvenform (Maus: Klick & Move)";
    label("Label_Servo_Relais", "Relais", Rect{5, 300, 40, 15});
    make("servo_Image2", ControlKind::Image, "", kImage2Rect).onMouse<&KornelPage::paintRelay>().hint =
        "Definieren, ob Relais zu einem bestimmten Kurven-Zeitpunkt AUS oder EIN (rotes Feld) ist";
    // The threshold of output X7 stands where the relay graph stands on the Kornel-4 page.
    const char* thresholdHint =
        "X7 kann ein Relais ansteuern in Abhängigkeit des Kurven-Wertes (unverstärkter Logik-Pegel)";
    make("text_kornelchen_schwelle", ControlKind::Label, "Schwellwert Ausgang X7", Rect{5, 303, 150, 15}).hint =
        thresholdHint;
    numberEdit(kThresholdEdit, "10", "In der Grafik: rote Linie", Rect{160, 300, 40, 21}, 200, thresholdHint,
               Rect{200, 300, 17, 21});

    // Generators, mirrors, copies, files, scale and shift.
    label("Label4", "Funktionen", Rect{5, 384, 93, 15});
    button("btn_Lin", "Lin", "lineare Kurvenform erstellen", Rect{100, 380, 55, 25}).on<&KornelPage::generateLinear>();
    button("btn_Sin", "1/4 Sin", "Sinus-Kurvenform erstellen (halbe Welle)", Rect{157, 380, 55, 25})
        .on<&KornelPage::generateQuarterSine>();
    button("btn_Log", "Log", "log, Kurvenform erstellen", Rect{214, 380, 55, 25})
        .on<&KornelPage::generateLogarithmic>();
    button("btn_sin2", "1/2 Sin", "Sinus-Kurvenform erstellen (Welle)", Rect{271, 380, 55, 25})
        .on<&KornelPage::generateHalfSine>();
    label("Label3", "Spiegeln", Rect{335, 384, 55, 15});
    button("btn_MirrorVertikal", "vertikal", "vertikales Spiegeln der Kurvenform", Rect{393, 380, 68, 25})
        .on<&KornelPage::mirrorVertically>();
    button("btn_MirrorHorizontal", "horizontal", "horizonzales Spiegeln der Kurvenform", Rect{463, 380, 72, 25})
        .on<&KornelPage::mirrorHorizontally>();
    label("Label5", "Kurve kopieren", Rect{5, 412, 93, 15});
    for (int k = 0; k < 4; ++k) {
        Control& b = button(kCopyButtons[k], "", "", Rect{100 + 57 * k, 408, 55, 25});
        b.caption = "von #" + std::to_string(k + 1);
        b.hint = "Kopieren der Kurvenformen von Kurve " + std::to_string(k + 1);
        b.on<&KornelPage::copyCurve>(k + 1);
    }
    label("Label8", "Skalierung", Rect{335, 412, 78, 15});
    // The scale and the shift are what the two buttons apply, kept by no file.
    edit("edt_scale", "0,5", "", Rect{415, 410, 40, 21}).valueOf = ValueOf::Editor;
    button("btn_scale", "anwenden", "", Rect{458, 408, 77, 25}).on<&KornelPage::scaleCurve>();
    label("Label29", "Kurve", Rect{5, 440, 93, 15});
    fileButton("servo_load_1", "laden", "laden von Kurven-Daten", Rect{100, 436, 60, 25}, FileDialogKind::Open,
               servo::kCurveFileFilter, "cur")
        .onFile<&KornelPage::loadCurve>();
    fileButton("servo_save_1", "speichern", "speichern von Kurven-Daten", Rect{162, 436, 72, 25}, FileDialogKind::Save,
               servo::kCurveFileFilter, "cur")
        .onFile<&KornelPage::saveCurve>();
    label("Label9", "Hoch/Runter", Rect{335, 440, 78, 15});
    edit("edt_shift", "10", "", Rect{415, 438, 40, 21}).valueOf = ValueOf::Editor;
    button("btn_shift", "anwenden", "", Rect{458, 436, 77, 25}).on<&KornelPage::shiftCurve>();
    const char* setHint = "laden Kurven-Daten inkl. Pukte-Anzahl, Stretch-Faktor etc.";
    label("Label30", "Setup", Rect{5, 468, 93, 15});
    fileButton("servo_load_all", "laden", setHint, Rect{100, 464, 60, 25}, FileDialogKind::Open, servo::kSetFileFilter,
               "set")
        .onFile<&KornelPage::loadSet>();
    fileButton("servo_save_all", "speichern", setHint, Rect{162, 464, 72, 25}, FileDialogKind::Save,
               servo::kSetFileFilter, "set")
        .onFile<&KornelPage::saveSet>();

    // SW1 mode and the push-button slots.
    make(kSw1Group, ControlKind::Group, "Funktion für Taster SW1", Rect{380, 462, 155, 52});
    make("servo_rad_servo", ControlKind::Radio, "Servo-Bedienung", Rect{8, 20, 140, 15}, kSw1Group)
        .on<&KornelPage::storeSw1Mode>();
    make("servo_rad_lernen", ControlKind::Radio, "Lernen + Justage", Rect{8, 35, 140, 15}, kSw1Group)
        .on<&KornelPage::storeSw1Mode>()
        .checked = true;
    const char* slotHint = "ermöglicht das Auslösen von Aktionen \r\nvia (Justage-)Taster";
    const Rect slotLabels[4] = {{5, 496, 90, 15}, {194, 496, 80, 15}, {5, 522, 90, 15}, {194, 522, 80, 15}};
    const Rect slotLists[4] = {{97, 492, 92, 21}, {276, 492, 92, 21}, {97, 518, 92, 21}, {276, 518, 92, 21}};
    const servo::ServoType& designed = servo::ServoTypeFor(servo::kKornel4Identifier);
    for (int k = 0; k < 4; ++k) {
        label(kSlotLabels[k], designed.slotCaptions[static_cast<std::size_t>(k)], slotLabels[k]);
        list(kSlotLists[k], slotItems("keine Aktion", 4), slotHint, slotLists[k])
            .on<&KornelPage::storeSlotAction>(k + 1)
            .inCopyOf = kObjectName; // entry 110 of record k + 1
    }

    button("servo_btn_verwerfen", "verwerfen", "Daten verwerfen", Rect{372, 515, 71, 25})
        .on<&KornelPage::discardWorkingCopy>();
    button("servo_btn_uebernehmen", "übernehmen", "Daten übernehmen", kAcceptRect)
        .on<&KornelPage::acceptWorkingCopy>()
        .enabled = false;
}

Control& KornelPage::ctl(const char* name) { return *findMutable(name); }
const Control& KornelPage::ctl(const char* name) const { return *find(name); }

servo::Record KornelPage::record(int r)
{
    return servo::Record(CurveData.data() + servo::kRecordSize * std::clamp(r - 1, 0, 3), servo::kRecordSize);
}

servo::ConstRecord KornelPage::record(int r) const
{
    return servo::ConstRecord(CurveData.data() + servo::kRecordSize * std::clamp(r - 1, 0, 3), servo::kRecordSize);
}

int KornelPage::SelectedCurve() const
{
    for (int k = 0; k < 4; ++k)
        if (ctl(kCurveButtons[k]).checked)
            return k + 1;
    return 1;
}

bool KornelPage::hasThreshold() const { return servo::ServoTypeFor(m_identifier).threshold; }

void KornelPage::setItems(Control& c, std::vector<std::string> items)
{
    if (c.items != items) {
        c.items = std::move(items);
        touch(c);
    }
}

void KornelPage::setSelected(Control& c, int index)
{
    if (c.selected != index) {
        c.selected = index;
        touch(c);
    }
}

void KornelPage::warn(const char* text, const char* focus)
{
    if (m_context)
        m_context->prompter.tell(MsgKind::Warning, text, Buttons::Cancel);
    focusRequest = focus;
}

void KornelPage::EnableAccept() { setEnabled(ctl("servo_btn_uebernehmen"), true); }

bool KornelPage::hasPending() const { return ctl("servo_btn_uebernehmen").enabled; }

void KornelPage::accept() { acceptWorkingCopy(); }

std::vector<int> KornelPage::data() const { return std::vector<int>(CurveData.begin(), CurveData.end()); }

bool KornelPage::setData(const std::vector<int>& data)
{
    if (!IsByteTable(data, CurveData.size()))
        return false;
    std::copy(data.begin(), data.end(), CurveData.begin());
    ShowButtonActions();
    DrawCurve();
    DrawRelay();
    ShowCurveValues();
    if (AddressPage)
        AddressPage->refresh();
    // Showing a count or stretch out of range can correct it in the working copy; the table
    // taken over stays as the other file holds it, as a loaded table does until it is touched.
    std::copy(data.begin(), data.end(), CurveData.begin());
    EnableAccept();
    return true;
}

std::vector<DataPart> KornelPage::dataParts() const
{
    std::vector<DataPart> parts;
    for (int r = 1; r <= 4; ++r) {
        const int at = servo::kRecordSize * (r - 1);
        const std::string curve = "Kurve " + std::to_string(r);
        auto part = [&](std::string name, int entry, int count) {
            parts.push_back({std::move(name), at + entry, count});
        };
        auto address = [](int n) { return "Adresse " + std::to_string(n); };
        part(curve + " Punkte", 0, servo::kMaxPoints);
        part(curve + " Flags", servo::kServoFlags, 1);
        part(curve + " Anzahl Punkte", servo::kPointCount, 1);
        part(curve + " Stretch-Faktor", servo::kStretch, 1);
        part(address(r) + " Servo/Aktion", 103, 1);
        part(address(r) + " Kurve/Relais", 104, 1);
        part(curve + " Byte 105", 105, 1);
        part(address(r + 4) + " Servo/Aktion", 106, 1);
        part(address(r + 4) + " Kurve/Relais", 107, 1);
        part(curve + " Bytes 108..109", 108, 2);
        // The slot's caption says which push button it is on this decoder type.
        part(ctl(kSlotLabels[r - 1]).caption + " Aktion", servo::kButtonAction, 1);
        part(curve + " Bytes 111..127", servo::kButtonAction + 1, servo::kRecordSize - servo::kButtonAction - 1);
    }
    return parts;
}

std::string KornelPage::dataLayout() const { return servo::ServoTypeFor(m_identifier).tableLayout; }

// ---- Set-up and table ----------------------------------------------------------------------

void KornelPage::showFor(const PageContext& context) { setUp(context); }

void KornelPage::setUp(const PageContext& context)
{
    m_context.emplace(context);
    m_identifier = context.identifier;
    Updating = true;
    Drawing = false;

    ImageHeight = kImageHeight;
    RelayImageHeight = kRelayImageHeight;
    LevelScale = static_cast<float>(ImageHeight * 0.0078125);
    RelayLevelScale = static_cast<float>(RelayImageHeight * 0.0078125);
    {
        Canvas blank(kImageWidth, kImageHeight);
        blank.brush = colours::White;
        blank.Clear();
        setDrawing(ctl("servo_Image1"), blank.take());
    }

    const servo::ServoType& type = servo::ServoTypeFor(m_identifier);
    const std::vector<std::string> fiveItems = slotItems("keine Aktion", 4);
    for (const char* name : kSlotLists)
        setItems(ctl(name), fiveItems);
    for (const char* name : {"text_kornelchen_schwelle", "edt_kornelchen_schwelle", "UpDown4"})
        setVisible(ctl(name), type.threshold);
    for (const char* name : {"servo_Image2", "Label_Servo_Relais", kSw1Group})
        setVisible(ctl(name), type.kornel4);
    for (int k = 0; k < 4; ++k)
        setCaption(ctl(kSlotLabels[k]), type.slotCaptions[static_cast<std::size_t>(k)]);
    if (type.kornel4) {
        const std::vector<std::string> eight = slotItems("keine Aktion", 8);
        const std::vector<std::string> learn = slotItems("Adr.-Lernen", 8);
        setItems(ctl(kSlotLists[0]), eight);
        setItems(ctl(kSlotLists[1]), eight);
        setItems(ctl(kSlotLists[2]), learn);
        setItems(ctl(kSlotLists[3]), learn);
    }

    // The grid as the settings file left it.
    Control& rx = ctl("cbx_raster_x");
    Control& ry = ctl("cbx_raster_y");
    setSelected(rx, RasterX >= 0 && RasterX < static_cast<int>(rx.items.size()) ? RasterX : 0);
    setSelected(ry, RasterY >= 0 && RasterY < static_cast<int>(ry.items.size()) ? RasterY : 0);

    setHint(ctl("edt_shift"), "Wert, um den die Kurve nach oben (positive Werte) oder nach unten (negative Werte) "
                              "verschoben wird\nEin Wert von 64 verschiebt die Kurve um die halbe Y-Achse nach oben");
    setHint(ctl("edt_scale"), "Wert, mit dem die Kurve multipliziert wird. \nD.h. Werte > 1 ziehen die Kurve in der "
                              "Y-Achse auseinander, Werte < 1 stauchen die Kurve");

    reloadCurves();
    setEnabled(ctl("servo_btn_uebernehmen"), false);
    Updating = false;
}

void KornelPage::ReadCurves()
{
    if (!m_context)
        return;
    const FirmwareImage& image = m_context->image;
    for (int e = 0; e < servo::kTableSize; ++e)
        CurveData[static_cast<std::size_t>(e)] = HexByteValue(image.get_Hex_ROM(2 * (kFirstWord + e)));
}

void KornelPage::writeCopy(FirmwareImage& image) const
{
    for (int e = 0; e < servo::kTableSize; ++e)
        image.set_Hex_ROM(2 * (kFirstWord + e),
                          HexByteTexts()[static_cast<std::size_t>(tableByte(CurveData[static_cast<std::size_t>(e)]))]);
    // The pulse times of the address page go with the table.
    if (AddressPage)
        for (std::size_t s = 0; s < 4; ++s) {
            const int at = kEepromPulses + 2 * static_cast<int>(s);
            image.set_Hex_EE(at, HexByteTexts()[static_cast<std::size_t>(AddressPage->PulseOffset[s] & 0xFF)]);
            image.set_Hex_EE(at + 1, HexByteTexts()[static_cast<std::size_t>(AddressPage->PulseFactor[s] & 0xFF)]);
        }
}

std::string KornelPage::describeByte(bool eeprom, int index) const
{
    if (eeprom) {
        const int pulse = index - kEepromPulses;
        if (pulse >= 0 && pulse < 8)
            return strprintf("Servo %d Impuls-Zeit %s", pulse / 2 + 1, pulse % 2 == 0 ? "Min" : "Max");
        return {};
    }
    const int entry = index / 2 - kFirstWord;
    if (index % 2 != 0 || entry < 0 || entry >= servo::kTableSize)
        return {};
    return partOfEntry(entry);
}

void KornelPage::reloadCurves()
{
    ReadCurves();
    ShowButtonActions();

    // SW1 mode: 01 is "Lernen + Justage", anything else "Servo-Bedienung". Showing the mode
    // does not write it: the byte is rewritten only when the user picks a mode, so that a
    // file loaded and saved again is the same file whatever was loaded before it.
    if (m_context) {
        const bool learn = m_context->image.get_Hex_EE(kEepromSw1Mode) == "01";
        setChecked(ctl("servo_rad_lernen"), learn);
        setChecked(ctl("servo_rad_servo"), !learn);
        applySw1Visibility();
        if (hasThreshold()) {
            Threshold = HexByteValue(m_context->image.get_Hex_EE(kEepromThreshold));
            putText("edt_kornelchen_schwelle", std::to_string(Threshold));
        }
    }

    DrawCurve();
    DrawRelay();
    ShowCurveValues();
    if (AddressPage)
        AddressPage->refresh();
    setEnabled(ctl("servo_btn_uebernehmen"), false);
}

void KornelPage::ShowButtonActions()
{
    // The push-button actions: "wie Adr.k" for the lowest set bit k-1, "keine Aktion" (or
    // "Adr.-Lernen") for none; a bit beyond the list leaves the list without a selection.
    for (int slot = 1; slot <= 4; ++slot) {
        const int action = record(slot)[servo::kButtonAction] & 0xFF;
        const int index = action == 0 ? 0 : 1 + lowestBit(action);
        Control& list = ctl(kSlotLists[slot - 1]);
        setSelected(list, index < static_cast<int>(list.items.size()) ? index : -1);
    }
}

void KornelPage::ShowCurveValues()
{
    servo::ConstRecord rec = record(SelectedCurve());
    const bool was = m_programWrite;
    m_programWrite = true;
    // The edit the user is typing in keeps the text as typed (a count of 150 stays 150 there
    // while the record holds 100).
    if (m_typing != &ctl("edt_Anzahl"))
        putText("edt_Anzahl", std::to_string(rec[servo::kPointCount]));
    if (m_typing != &ctl("edt_stretch"))
        putText("edt_stretch", std::to_string(rec[servo::kStretch]));
    m_programWrite = was;

    const int selected = SelectedCurve();
    for (int k = 1; k <= 4; ++k)
        setEnabled(ctl(kCopyButtons[k - 1]), k != selected);

    // The time labels follow the edits as typed: a count typed as 150 gives 149 steps while
    // the record holds 100, until the user leaves the edit and it shows the 100 stored. An
    // edit that holds no number shows the record's value. 64 bits hold any product of two
    // whole numbers typed.
    int count = 0, stretch = 0;
    if (!parseWholeNumber(ctl("edt_Anzahl").text, count))
        count = rec[servo::kPointCount];
    if (!parseWholeNumber(ctl("edt_stretch").text, stretch))
        stretch = rec[servo::kStretch];
    const long long step = static_cast<long long>(stretch) * 20;
    setCaption(ctl("lbl_KurveInfo1"), "Zeit zwischen 2 Punkten = " + std::to_string(step) + " ms");
    setCaption(ctl("lbl_KurveInfo2"),
               "Gesamtzeit für diese Kurve = " + std::to_string((static_cast<long long>(count) - 1) * step) + " ms");
}

float KornelPage::stepWidthOf(int curve) const
{
    const int n = servo::PointCount(record(curve));
    return static_cast<float>(ctl("servo_Image1").geometry->width - 10) / static_cast<float>(n);
}

void KornelPage::DrawCurve()
{
    StepWidth = stepWidthOf(SelectedCurve());
    setDrawing(ctl("servo_Image1"), curveDrawing(SelectedCurve(), StepWidth));
}

pages::Drawing KornelPage::curveDrawing(int curve, float stepWidth) const
{
    servo::ConstRecord rec = record(curve);
    const int n = servo::PointCount(rec);
    const Rect r = *ctl("servo_Image1").geometry;
    const int m = std::min(3, static_cast<int>(static_cast<double>(stepWidth) * 0.3333333333333333));

    Canvas canvas(r.width, r.height);
    canvas.brush = colours::White;
    canvas.Clear();
    for (int i = 0; i < n; ++i) {
        const int x = static_cast<int>(i * static_cast<double>(stepWidth));
        const int v = rec[static_cast<std::size_t>(i)] & 0x7F;
        const int y = static_cast<int>(ImageHeight - v * static_cast<double>(LevelScale));
        canvas.pen = colours::Black;
        if (i == 0)
            canvas.MoveTo(0, y);
        else
            canvas.LineTo(x, y);
        canvas.brush = colours::Red;
        canvas.Rectangle(x - m, y - m, x + m, y + m);
    }
    // Horizontal grid: k lines divide the height into k + 1 bands.
    const int ky = ctl("cbx_raster_y").selected;
    canvas.pen = colours::Green;
    for (int j = 1; j <= ky; ++j) {
        const int y = static_cast<int>(ImageHeight - j * static_cast<double>(LevelScale) * 128 / (ky + 1));
        canvas.MoveTo(0, y);
        canvas.LineTo(r.width, y);
    }
    // Vertical grid: k + 1 lines, the last at the curve's right end.
    const int kx = ctl("cbx_raster_x").selected;
    if (kx >= 1)
        for (int j = 1; j <= kx + 1; ++j) {
            const int x = static_cast<int>(j * static_cast<double>(stepWidth) * n / (kx + 1));
            canvas.MoveTo(x, 0);
            canvas.LineTo(x, r.height);
        }
    if (hasThreshold()) {
        const int y = TruncClamped(ImageHeight - Threshold * static_cast<double>(LevelScale), -1, r.height);
        canvas.pen = colours::Red;
        canvas.MoveTo(0, y);
        canvas.LineTo(r.width, y);
    }
    return canvas.take();
}

void KornelPage::DrawRelay() { setDrawing(ctl("servo_Image2"), relayDrawing(SelectedCurve(), StepWidth)); }

pages::Drawing KornelPage::relayDrawing(int curve, float stepWidth) const
{
    servo::ConstRecord rec = record(curve);
    const int n = servo::PointCount(rec);
    const Rect r = *ctl("servo_Image2").geometry;
    Canvas canvas(r.width, r.height);
    canvas.brush = colours::White;
    canvas.Clear();
    canvas.pen = colours::Black;
    canvas.brush = colours::Red;
    for (int i = 0; i < n; ++i) {
        const int x1 = static_cast<int>(i * static_cast<double>(stepWidth));
        const int x2 = static_cast<int>((i + 1) * static_cast<double>(stepWidth));
        const int level = servo::RelayOf(rec[static_cast<std::size_t>(i)]) ? 100 : 0;
        const int top = static_cast<int>(RelayImageHeight - level * static_cast<double>(RelayLevelScale));
        canvas.Rectangle(x1, top, x2, RelayImageHeight);
    }
    const int kx = ctl("cbx_raster_x").selected;
    canvas.pen = colours::Green;
    if (kx >= 1)
        for (int j = 1; j <= kx + 1; ++j) {
            const int x = static_cast<int>(j * static_cast<double>(stepWidth) * n / (kx + 1));
            canvas.MoveTo(x, 0);
            canvas.LineTo(x, r.height);
        }
    return canvas.take();
}

std::vector<PagePicture> KornelPage::sheetPictures() const
{
    // Every curve the type offers, each as the page draws it when its button is chosen.
    std::vector<PagePicture> out;
    const Rect curveRect = *ctl("servo_Image1").geometry;
    const Rect relayRect = *ctl("servo_Image2").geometry;
    const bool relay = ctl("servo_Image2").visible;
    for (int k = 1; k <= 4; ++k) {
        if (!ctl(kCurveButtons[k - 1]).visible)
            continue;
        servo::ConstRecord rec = record(k);
        const float step = stepWidthOf(k);
        const std::string name = ctl(kCurveButtons[k - 1]).caption.empty() ? "Kurve " + std::to_string(k)
                                                                           : ctl(kCurveButtons[k - 1]).caption;
        const int points = servo::PointCount(rec);
        out.push_back({name + ": " + std::to_string(points) + (points == 1 ? " Punkt" : " Punkte") +
                           ", Stretch-Faktor " + std::to_string(rec[servo::kStretch]),
                       curveRect.width, curveRect.height, curveDrawing(k, step)});
        if (relay)
            out.push_back({name + ": Relais", relayRect.width, relayRect.height, relayDrawing(k, step)});
    }
    return out;
}

// ---- Edits ---------------------------------------------------------------------------------

void KornelPage::putText(const char* name, const std::string& text)
{
    Control& c = ctl(name);
    if (c.text == text)
        return;
    setText(c, text);
    const bool was = m_programWrite;
    m_programWrite = true;
    handle(c);
    m_programWrite = was;
}

std::optional<std::string> KornelPage::storedText(const Control& edit) const
{
    int typed = 0;
    if (!parseWholeNumber(edit.text, typed))
        return std::nullopt;
    servo::ConstRecord rec = record(SelectedCurve());
    if (&edit == &ctl("edt_Anzahl"))
        return std::to_string(rec[servo::kPointCount]);
    if (&edit == &ctl("edt_stretch"))
        return std::to_string(rec[servo::kStretch]);
    if (&edit == &ctl("edt_kornelchen_schwelle") && hasThreshold())
        return std::to_string(Threshold);
    return std::nullopt;
}

void KornelPage::showStored(Control& edit, const std::string& text) { putText(edit.name.c_str(), text); }

void KornelPage::numberTyped(int k)
{
    const NumberEdit& n = kNumberEdits[k];
    Control& edit = ctl(n.edit);
    // The user typed: ShowCurveValues leaves this edit's text as it stands.
    const Control* was = m_typing;
    if (!m_programWrite)
        m_typing = &edit;
    // The spinner beside the edit shows the edit's number where it can.
    followEdit(ctl(n.spinner), edit.text);
    (this->*n.change)();
    m_typing = was;
}

void KornelPage::spinnerMoved(int k)
{
    // A spinner click types its new number into its edit.
    const NumberEdit& n = kNumberEdits[k];
    userText(n.edit, std::to_string(ctl(n.spinner).position));
}

void KornelPage::changeCount()
{
    Control& c = ctl("edt_Anzahl");
    if (c.text.empty())
        return;
    int value = 0;
    if (!parseWholeNumber(c.text, value)) {
        warn(kCountRange, "edt_Anzahl");
        return;
    }
    value = std::clamp(value, 1, servo::kMaxPoints);
    servo::Record rec = record(SelectedCurve());
    const bool changed = rec[servo::kPointCount] != value;
    rec[servo::kPointCount] = value;
    StepWidth = static_cast<float>(ctl("servo_Image1").geometry->width - 10) / static_cast<float>(value);
    if (Updating)
        return;
    DrawCurve();
    DrawRelay();
    ShowCurveValues();
    // Showing another curve writes its count into the edit: that is no change of the table.
    if (!m_programWrite || changed)
        EnableAccept();
}

void KornelPage::changeStretch()
{
    if (Updating)
        return;
    Control& c = ctl("edt_stretch");
    if (c.text.empty())
        return;
    int value = 0;
    if (!parseWholeNumber(c.text, value)) {
        warn(kStretchRange, "edt_stretch");
        return;
    }
    value = std::clamp(value, 1, 200);
    servo::Record rec = record(SelectedCurve());
    const bool changed = rec[servo::kStretch] != value;
    rec[servo::kStretch] = value;
    DrawCurve();
    DrawRelay();
    ShowCurveValues();
    if (!m_programWrite || changed)
        EnableAccept();
}

void KornelPage::changeThreshold()
{
    Control& c = ctl("edt_kornelchen_schwelle");
    if (Updating || c.text.empty())
        return;
    int value = 0;
    if (!parseWholeNumber(c.text, value)) {
        warn(strprintf(kThresholdInput, ctl("text_kornelchen_schwelle").caption.c_str()).c_str(),
             "edt_kornelchen_schwelle");
        return;
    }
    Threshold = std::clamp(value, 0, 127);
    putText("edt_kornelchen_schwelle", std::to_string(Threshold));
    if (m_context)
        m_context->image.set_Hex_EE(kEepromThreshold, HexByteTexts()[static_cast<std::size_t>(Threshold)]);
    DrawCurve();
}

// ---- Lists, radio buttons, buttons ---------------------------------------------------------

void KornelPage::selectCurve()
{
    if (Updating)
        return;
    DrawCurve();
    DrawRelay();
    ShowCurveValues();
}

void KornelPage::changeGrid()
{
    if (Updating)
        return;
    RasterX = ctl("cbx_raster_x").selected;
    RasterY = ctl("cbx_raster_y").selected;
    DrawCurve();
    DrawRelay();
}

void KornelPage::storeSlotAction(int slot)
{
    if (slot < 1 || slot > 4)
        return;
    const int k = ctl(kSlotLists[slot - 1]).selected;
    if (k < 0 || k > 8)
        return;
    record(slot)[servo::kButtonAction] = k == 0 ? 0 : 1 << (k - 1);
    EnableAccept();
}

void KornelPage::applySw1Visibility()
{
    const bool learn = ctl("servo_rad_lernen").checked;
    for (const char* name : {kSlotLists[0], kSlotLists[1], kSlotLabels[0], kSlotLabels[1]})
        setVisible(ctl(name), !learn);
}

void KornelPage::storeSw1Mode()
{
    const bool learn = ctl("servo_rad_lernen").checked;
    if (m_context)
        m_context->image.set_Hex_EE(kEepromSw1Mode, learn ? "01" : "F0");
    applySw1Visibility();
    EnableAccept();
}

void KornelPage::transform(void (*fn)(servo::Record))
{
    fn(record(SelectedCurve()));
    DrawCurve();
    DrawRelay();
    EnableAccept();
}

void KornelPage::generateLinear() { transform(servo::GenerateLin); }
void KornelPage::generateLogarithmic() { transform(servo::GenerateLog); }
void KornelPage::generateQuarterSine() { transform(servo::GenerateQuarterSine); }
void KornelPage::generateHalfSine() { transform(servo::GenerateHalfSine); }
void KornelPage::mirrorVertically() { transform(servo::MirrorVertical); }
void KornelPage::mirrorHorizontally() { transform(servo::MirrorHorizontal); }

void KornelPage::scaleCurve()
{
    const std::string& text = ctl("edt_scale").text;
    if (text.empty())
        return;
    float f = 0;
    if (!servo::ParseFieldNumber(text, f) || f > 10.0 || f < 0.1) {
        warn(kScaleRange, "edt_scale");
        return;
    }
    // Typed with a point or a comma; the field shows the factor with the page's comma.
    setText(ctl("edt_scale"), WithDecimalComma(text));
    servo::ScaleCurve(record(SelectedCurve()), f);
    DrawCurve();
    DrawRelay();
    EnableAccept();
}

void KornelPage::shiftCurve()
{
    const std::string& text = ctl("edt_shift").text;
    if (text.empty())
        return;
    float d = 0;
    if (!servo::ParseFieldNumber(text, d) || d > 100.0 || d < -100.0) {
        warn(kShiftRange, "edt_shift");
        return;
    }
    setText(ctl("edt_shift"), WithDecimalComma(text));
    servo::ShiftCurve(record(SelectedCurve()), d);
    DrawCurve();
    DrawRelay();
    EnableAccept();
}

void KornelPage::copyCurve(int k)
{
    const int selected = SelectedCurve();
    if (k < 1 || k > 4 || k == selected)
        return;
    servo::CopyCurve(record(selected), record(k));
    DrawCurve();
    DrawRelay();
    ShowCurveValues();
    if (AddressPage)
        AddressPage->refresh();
    EnableAccept();
}

void KornelPage::acceptWorkingCopy()
{
    if (m_context)
        writeCopy(m_context->image);
    setEnabled(ctl("servo_btn_uebernehmen"), false);
}

void KornelPage::discardWorkingCopy()
{
    reloadCurves();
    setEnabled(ctl("servo_btn_uebernehmen"), false);
}

// ---- Mouse ---------------------------------------------------------------------------------

void KornelPage::drawCurvePoint(int x, int y)
{
    if (!Drawing)
        return;
    servo::Record rec = record(SelectedCurve());
    // The pointer snaps to the nearest point. Only the points the graph shows can be drawn:
    // a point right of the curve's end would change unseen.
    const float at = static_cast<float>(x) / StepWidth + 0.5f;
    const int i = TruncClamped(at, 0, servo::PointCount(rec) - 1);
    const int v = TruncClamped((ImageHeight - y) / static_cast<double>(LevelScale), 0, 127);
    std::int32_t& e = rec[static_cast<std::size_t>(i)];
    e = (e & 0x80) | v;
    DrawCurve();
    EnableAccept();
}

void KornelPage::drawRelayStep(int x, int y)
{
    if (!Drawing)
        return;
    servo::Record rec = record(SelectedCurve());
    // The relay graph takes the point whose step holds the pointer.
    const int i = TruncClamped(static_cast<double>(static_cast<float>(x) / StepWidth), 0, servo::PointCount(rec) - 1);
    const float level = static_cast<float>((RelayImageHeight - y) / static_cast<double>(RelayLevelScale));
    std::int32_t& e = rec[static_cast<std::size_t>(i)];
    e = level > 50.0f ? (e | 0x80) : (e & 0x7F);
    DrawRelay();
    EnableAccept();
}

void KornelPage::paintCurve(MouseAction action, int x, int y)
{
    switch (action) {
    case MouseAction::Press: Drawing = true; break;
    case MouseAction::Move: drawCurvePoint(x, y); break;
    case MouseAction::Release: Drawing = false; break;
    }
}

void KornelPage::paintRelay(MouseAction action, int x, int y)
{
    switch (action) {
    case MouseAction::Press: Drawing = true; break;
    case MouseAction::Move: drawRelayStep(x, y); break;
    case MouseAction::Release: Drawing = false; break;
    }
}

// ---- Curve and set files -------------------------------------------------------------------

namespace {

bool readLines(Prompter* prompter, const std::string& path, std::size_t keep, std::vector<std::string>& lines,
               std::size_t& total)
{
    std::string error;
    if (servo::ReadTextLines(path, keep, lines, total, error))
        return true;
    if (prompter)
        prompter->tell(
            MsgKind::Error,
            strprintf("Die Datei \"%s\" kann nicht geöffnet werden: %s.", DisplayName(path).c_str(), error.c_str()),
            Buttons::Ok);
    return false;
}

// A curve or set file, never over the loaded firmware file (`loaded`).
bool writeLines(Prompter* prompter, const std::string& path, const std::vector<std::string>& lines,
                const std::string& loaded)
{
    const WriteResult result = writeLinesAtomically(path, lines, {loaded});
    if (prompter)
        return ReportWrite(result, *prompter);
    return result.written;
}

} // namespace

std::string KornelPage::loadedFile() const { return m_context ? m_context->image.LastFileName : std::string(); }

void KornelPage::saveCurve(const std::string& path)
{
    writeLines(prompter(), path, servo::CurveFileLines(record(SelectedCurve())), loadedFile());
}

void KornelPage::saveSet(const std::string& path)
{
    writeLines(prompter(), path, servo::SetFileLines(CurveData), loadedFile());
}

void KornelPage::loadCurve(const std::string& path)
{
    std::vector<std::string> lines;
    std::size_t total = 0;
    if (!readLines(prompter(), path, servo::kMaxPoints, lines, total))
        return;
    const servo::CurveFileContent content = servo::ReadCurveFile(lines, total);
    if (content.cut && m_context)
        m_context->prompter.tell(MsgKind::Warning, servo::kCurveFileCut, Buttons::Cancel);
    if (content.badLine >= 0) {
        if (m_context)
            m_context->prompter.tell(MsgKind::Warning, strprintf(servo::kFileBadLine, content.badLine),
                                     Buttons::Cancel);
        return;
    }
    servo::Record rec = record(SelectedCurve());
    for (std::size_t k = 0; k < content.points.size(); ++k)
        rec[k] = content.points[k];
    rec[servo::kPointCount] = static_cast<std::int32_t>(content.points.size());
    DrawCurve();
    DrawRelay();
    ShowCurveValues();
    EnableAccept();
}

void KornelPage::loadSet(const std::string& path)
{
    std::vector<std::string> lines;
    std::size_t total = 0;
    if (!readLines(prompter(), path, servo::kTableSize, lines, total))
        return;
    const servo::SetFileContent content = servo::ReadSetFile(lines, total);
    if (content.tooLong || content.badLine >= 0) {
        if (m_context)
            m_context->prompter.tell(MsgKind::Warning,
                                     content.tooLong ? std::string(servo::kSetFileTooLong)
                                                     : strprintf(servo::kFileBadLine, content.badLine),
                                     Buttons::Cancel);
        return;
    }
    CurveData = content.table;
    DrawCurve();
    DrawRelay();
    ShowCurveValues();
    if (AddressPage) {
        AddressPage->Updating = true;
        AddressPage->refresh();
        AddressPage->Updating = false;
    }
    EnableAccept();
}

PagePlace KornelPage::placeIn(const AddressArea& area) const
{
    // Right of the address area, down to "übernehmen"; the servo address page below the rows
    // takes the address area's width, so the picture and the web button move right under it.
    const Rect accept = rectOf("servo_btn_uebernehmen");
    const int height = accept.top + accept.height + 15;
    const int reach = accept.left + accept.width;
    return {Rect{410, area.top + 5, reach + 15, height}, WindowArrangement{410, 650, height, reach - 225}};
}

} // namespace hz::pages
