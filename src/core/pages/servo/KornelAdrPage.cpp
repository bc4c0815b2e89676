#include "core/pages/servo/KornelAdrPage.h"

#include <algorithm>

#include "core/firmware/FirmwareImage.h"
#include "core/firmware/HexText.h"
#include "core/pages/common/NumberText.h"
#include "core/pages/servo/KornelPage.h"

namespace hz::pages {

namespace {

constexpr std::size_t kRecordSize = 128;
// Entries within a record.
constexpr std::size_t kFlags = 100;
constexpr std::size_t kServoAction = 103;
constexpr std::size_t kCurveRelay = 104;
constexpr std::size_t kServoActionHigh = 106; // addresses 5 to 8
constexpr std::size_t kCurveRelayHigh = 107;

// EEPROM bytes of the pulse range: offset and factor of servo s at 0x60 + 2(s-1) and one after.
constexpr int kPulseEeprom = 0x60;

// High-nibble codes of the action and curve lists, item 0..3.
constexpr int kActionCodes[] = {0x00, 0x10, 0x20, 0x40};
constexpr int kCurveCodes[] = {0x10, 0x20, 0x40, 0x80};

const char* const kActionHint = "Start: Kurve einmalig starten\r\n"
                                "Start Loop: Kurve immer wieder starten\r\n"
                                "Abbruch: Kurve sofort abbrechen\r\n"
                                "Beenden: Kurve nach Beendigung abbrechen (Loop Ende)";
const char* const kMinHint = "Diese Zeit definiert die untere Grenze, mit der der Servo\r\n"
                             "angesteuert wird.\r\n"
                             "Dieser Parameter kann später über eine Lern-Funktion \r\n"
                             "an den Servo und die Konstruktion angepasst werden.\r\n"
                             "Eine Änderung der Min-Zeit verschieb auch die Max-Zeit\r\n"
                             "(wirkt wie ein Offset)";
const char* const kMaxHint = "Mit dieser Impuls-Zeit wird der Servo Maximal angesteuert. \r\n"
                             "Dieser Parameter kann später über eine Lern-Funktion \r\n"
                             "an den Servo und die Konstruktion angepasst werden.\r\n"
                             "Eine Änderung der Min-Zeit verschieb auch die Max-Zeit\r\n"
                             "(wirkt wie ein Offset)";

// The step buttons around a pulse time: name part, caption, hint, step.
struct StepButton {
    const char* name;
    const char* caption;
    const char* hint;
    int step;
    int left;
};
constexpr StepButton kStepButtons[] = {
    {"dec10", "<<", "- 80 us", -10, 140},
    {"dec1", "<", "- 8 us", -1, 160},
    {"inc1", ">", "+ 8 us", 1, 223},
    {"inc10", ">>", "+ 80 us", 10, 243},
};
// Within a servo group, below the group's caption and its top border.
constexpr int kBoxLeft = 6, kBoxWidth = 132, kBoxHeight = 15;
constexpr int kBoxTops[] = {20, 35, 50, 65};
constexpr int kMinRowTop = 22, kMaxRowTop = 52;
// The lists of the address rows look alike, and so do the servos' option boxes.
constexpr const char* kListFont = "address lists";
constexpr const char* kBoxFont = "servo options";
constexpr const char* kCaptionFont = "address captions";

// The caption of address row n: up to the servo list, or where the row has none, up to the
// action list.
Rect addressLabelRect(int n, bool servoLists)
{
    const int right = (servoLists ? KornelAdrPage::kListLefts[0] : KornelAdrPage::kListLefts[1]) - 2;
    return Rect{4, KornelAdrPage::kRowTops[static_cast<std::size_t>(n - 1)] + 4, right - 4, 15};
}
constexpr int kStepWidth = 19, kEditLeft = 180, kEditWidth = 42, kUnitLeft = 265, kUnitWidth = 120;

std::string two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// Keeps a flag set while a piece of the page writes its own controls, and gives the flag back
// as it was: the parts run inside setUp, which holds it until its own end.
class UpdatingScope {
public:
    explicit UpdatingScope(bool& flag) : m_flag(flag), m_was(flag) { m_flag = true; }
    ~UpdatingScope() { m_flag = m_was; }
    UpdatingScope(const UpdatingScope&) = delete;
    UpdatingScope& operator=(const UpdatingScope&) = delete;

private:
    bool& m_flag;
    bool m_was;
};

} // namespace

int LowestBitIndex(int value)
{
    for (int k = 0; k < 8; ++k)
        if (value & (1 << k))
            return k;
    return 0;
}

int BitOfIndex(int k) { return k >= 0 && k <= 7 ? 1 << k : 0; }

int PulseSpan(int factor)
{
    // The firmware's span: 127 units scaled by factor/128 up, or (255 - factor)/128 down.
    if (factor > 127)
        return -static_cast<int>(static_cast<float>((255 - factor) * 127) * 0.0078125f);
    return static_cast<int>(static_cast<float>(factor * 127) * 0.0078125f);
}

float PulseMinMs(int offset) { return static_cast<float>(offset) * 0.008f; }

float PulseMaxMs(int offset, int factor) { return static_cast<float>(offset + 127 + PulseSpan(factor)) * 0.008f; }

std::string PulseTimeText(float ms) { return CommaNumber("%.3f", static_cast<double>(ms)); }

int StepPulseOffset(int offset, int step)
{
    const int value = offset + step;
    if (value > 255)
        return 255;
    if (value < 50)
        return 50;
    return value;
}

int StepPulseFactor(int factor, int step)
{
    int value = factor + step;
    if (value > 253)
        value -= 253;
    else if (value < 1)
        value += 253;
    else if (value > 127 && factor <= 127)
        value = 127;
    else if (value < 128 && factor >= 128)
        value = 128;
    return value;
}

std::size_t KornelAdrPage::ServoActionEntry(int address)
{
    const auto n = static_cast<std::size_t>(address);
    return n <= 4 ? kRecordSize * (n - 1) + kServoAction : kRecordSize * (n - 5) + kServoActionHigh;
}

std::size_t KornelAdrPage::CurveRelayEntry(int address)
{
    const auto n = static_cast<std::size_t>(address);
    return n <= 4 ? kRecordSize * (n - 1) + kCurveRelay : kRecordSize * (n - 5) + kCurveRelayHigh;
}

std::size_t KornelAdrPage::FlagsEntry(int servo) { return kRecordSize * static_cast<std::size_t>(servo - 1) + kFlags; }

std::string KornelAdrPage::addressLabelName(int address) { return "lbl_servo_adresse" + two(address); }
std::string KornelAdrPage::servoListName(int address) { return "cbx_a" + std::to_string(address) + "_servo"; }
std::string KornelAdrPage::actionListName(int address) { return "cbx_a" + std::to_string(address) + "_action"; }
std::string KornelAdrPage::curveListName(int address) { return "cbx_a" + std::to_string(address) + "_curve"; }
std::string KornelAdrPage::relayListName(int address) { return "cbx_a" + std::to_string(address) + "_relais"; }
std::string KornelAdrPage::groupName(int servo) { return "GroupBox_Servo" + std::to_string(servo); }
std::string KornelAdrPage::minEditName(int servo) { return "servo_edt_Offset_" + std::to_string(servo); }
std::string KornelAdrPage::maxEditName(int servo) { return "servo_edt_max_" + std::to_string(servo); }

std::size_t KornelAdrPage::addControl(Control c)
{
    add(std::move(c));
    return m_controls.size() - 1;
}

KornelAdrPage::KornelAdrPage(KornelPage& curves)
    : m_curves(curves), m_type(&servo::ServoTypeFor(servo::kKornel4Identifier))
{
    const std::string panel = "pnl_servo2";
    {
        Control c;
        c.name = panel;
        c.kind = ControlKind::Group;
        c.geometry = Rect{0, 0, kWidth, kHeight};
        addControl(c);
    }
    auto list = [&](std::string name, const char* title, std::vector<std::string> items, const char* hint, int column,
                    int address) {
        Control c;
        c.name = std::move(name);
        c.kind = ControlKind::List;
        c.title = title; // the row's caption stands left of all four lists
        c.items = std::move(items);
        c.hint = hint;
        c.parent = panel;
        const auto k = static_cast<std::size_t>(column);
        c.geometry = Rect{kListLefts[k], kRowTops[static_cast<std::size_t>(address - 1)], kListWidths[k], kListHeight};
        c.fontGroup = kListFont;
        c.inCopyOf = KornelPage::kObjectName; // entries 103/104 or 106/107 of the curve table
        return addControl(c);
    };
    for (int n = 1; n <= kAddresses; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        Control label;
        label.name = addressLabelName(n);
        label.kind = ControlKind::Label;
        label.caption = "Adresse " + two(n) + ":";
        label.parent = panel;
        label.geometry = addressLabelRect(n, true);
        label.fontGroup = kCaptionFont;
        m_label[i] = addControl(label);
        m_servo[i] =
            list(servoListName(n), "Servo", {"Servo 1", "Servo 2", "Servo 3", "Servo 4"}, "Auswahl des Servo", 0, n);
        at(m_servo[i]).on<&KornelAdrPage::chooseServo>(n);
        m_action[i] =
            list(actionListName(n), "Aktion", {"Start", "Start Loop", "Abbruch", "Beenden"}, kActionHint, 1, n);
        at(m_action[i]).on<&KornelAdrPage::chooseAction>(n);
        m_curve[i] =
            list(curveListName(n), "Kurve", {"Kurve 1", "Kurve 2", "Kurve 3", "Kurve 4"}, "Auswahl der Kurve", 2, n);
        at(m_curve[i]).on<&KornelAdrPage::chooseCurve>(n);
        m_relay[i] = list(relayListName(n), "Relais", {"Relais 1", "Relais 2", "Relais 3", "Relais 4"},
                          "Auswahl des Relais", 3, n);
        at(m_relay[i]).on<&KornelAdrPage::chooseRelay>(n);
    }

    for (int s = 1; s <= kServos; ++s) {
        const auto i = static_cast<std::size_t>(s - 1);
        const std::string number = std::to_string(s);
        const std::string group = groupName(s);
        {
            Control c;
            c.name = group;
            c.kind = ControlKind::Group;
            c.caption = "Servo " + number;
            c.parent = panel;
            c.geometry = Rect{kGroupLeft, kGroupTops[i], kGroupWidth, kGroupHeight};
            m_group[i] = addControl(c);
        }
        auto box = [&](const char* prefix, const char* caption, std::string hint, int bit, int row) {
            Control c;
            c.name = std::string(prefix) + number;
            c.kind = ControlKind::Check;
            c.caption = caption;
            c.hint = std::move(hint);
            c.parent = group;
            c.geometry = Rect{kBoxLeft, kBoxTops[row], kBoxWidth, kBoxHeight};
            c.fontGroup = kBoxFont;
            c.inCopyOf = KornelPage::kObjectName; // entry 100 of record s
            c.on<&KornelAdrPage::storeFlag>(s, bit);
            return addControl(c);
        };
        m_voltageOff[i] = box("cbx_v_off_", "Spannung aus", "Versorgungs-Spannung des Servos nach Ablauf abschalten",
                              kFlagVoltageOff, 0);
        m_pulsesOff[i] =
            box("cbx_imp_off_", "Impulse aus", "Ansteuer-Impulse des Servos nach Ablauf abschalten", kFlagPulsesOff, 1);
        // The firmware editor has always written servo 2's hint without the blank.
        m_noInterrupt[i] = box("cbx_no_ir_", "keine Unterbrechung",
                               "eine aktive Kurve für Servo" + std::string(s == 2 ? "" : " ") + number +
                                   " kann nicht durch eine andere Kurve unterbrochen werden",
                               kFlagNoInterrupt, 2);
        m_noRepeat[i] = box("cbx_no_rep_", "keine Wiederholung",
                            "es kann nicht 2x hintereinander die selbe Kurve gefahren werden", kFlagNoRepeat, 3);

        // The minimum row and the maximum row: step buttons around a read-only time, then the unit.
        auto pulseRow = [&](const char* kind, bool minimum, int top, std::string editName, const char* title,
                            const char* hint, const char* unitName, const char* unit) {
            for (const StepButton& b : kStepButtons) {
                Control c;
                c.name = std::string("btn_") + b.name + kind + "_" + number;
                c.kind = ControlKind::Button;
                c.caption = b.caption;
                c.hint = b.hint;
                c.parent = group;
                c.geometry = Rect{b.left, top, kStepWidth, 21};
                if (minimum)
                    c.on<&KornelAdrPage::stepMinimum>(s, b.step);
                else
                    c.on<&KornelAdrPage::stepMaximum>(s, b.step);
                addControl(c);
            }
            Control e;
            e.name = std::move(editName);
            e.kind = ControlKind::Edit;
            e.readOnly = true;
            e.title = title;          // its unit stands right of it, the step buttons left
            e.inCopyOf = kObjectName; // the pulse values this page keeps until "übernehmen"
            e.hint = hint;
            e.parent = group;
            e.geometry = Rect{kEditLeft, top, kEditWidth, 21};
            e.on<&KornelAdrPage::restorePulseTimes>();
            const std::size_t edit = addControl(e);
            Control l;
            l.name = std::string(unitName) + number;
            l.kind = ControlKind::Label;
            l.caption = unit;
            l.parent = group;
            l.geometry = Rect{kUnitLeft, top + 3, kUnitWidth, 15};
            addControl(l);
            return edit;
        };
        m_minEdit[i] = pulseRow("offset", true, kMinRowTop, minEditName(s), "Impuls-Zeit Min (ms)", kMinHint,
                                "lbl_servo_min_", "ms Impuls-Zeit (Min)");
        m_maxEdit[i] = pulseRow("faktor", false, kMaxRowTop, maxEditName(s), "Impuls-Zeit Max (ms)", kMaxHint,
                                "lbl_servo_max_", "ms Impuls-Zeit (Max)");
    }
}

void KornelAdrPage::showFor(const PageContext& context) { setUp(context.identifier, context.image); }

std::vector<int> KornelAdrPage::data() const
{
    std::vector<int> values;
    for (std::size_t s = 0; s < kServos; ++s) {
        values.push_back(PulseOffset[s]);
        values.push_back(PulseFactor[s]);
    }
    return values;
}

bool KornelAdrPage::setData(const std::vector<int>& data)
{
    if (!IsByteTable(data, 2 * kServos))
        return false;
    for (std::size_t s = 0; s < kServos; ++s) {
        PulseOffset[s] = data[2 * s];
        PulseFactor[s] = data[2 * s + 1];
    }
    ShowPulseTimes();
    m_curves.EnableAccept();
    return true;
}

std::vector<DataPart> KornelAdrPage::dataParts() const
{
    std::vector<DataPart> parts;
    for (int s = 1; s <= kServos; ++s) {
        const std::string servo = "Servo " + std::to_string(s) + " Impuls-Zeit ";
        parts.push_back({servo + "Min", 2 * (s - 1), 1});
        parts.push_back({servo + "Max", 2 * (s - 1) + 1, 1});
    }
    return parts;
}

std::string KornelAdrPage::dataLayout() const
{
    return m_type->kornel4 ? "Impuls-Zeiten der Servos 1 bis 4" : "Impuls-Zeiten von Servo 1";
}

std::int32_t& KornelAdrPage::entry(std::size_t index) { return m_curves.CurveData[index]; }

void KornelAdrPage::select(std::size_t list, int index)
{
    Control& c = at(list);
    // An index beyond the items (bits the lists have no item for) shows no selection.
    const int shown = index >= 0 && index < static_cast<int>(c.items.size()) ? index : -1;
    if (c.selected != shown) {
        c.selected = shown;
        touch(c);
    }
}

void KornelAdrPage::replaceBits(std::size_t entryIndex, int keepMask, int bits)
{
    std::int32_t& e = entry(entryIndex);
    e = (e & keepMask) | bits;
}

void KornelAdrPage::setUp(int identifier, const FirmwareImage& image)
{
    Updating = true;
    m_type = &servo::ServoTypeFor(identifier);
    const bool all = m_type->kornel4;

    setVisible(at(m_group[1]), all);
    for (std::size_t i = 0; i < 4; ++i)
        setCaption(at(m_label[i]), m_type->addressCaptions[i]);
    // Without the servo lists a caption may run on to the action list: "Adresse 01 aus" keeps
    // the font of the other captions there.
    for (std::size_t i = 0; i < kAddresses; ++i)
        setGeometry(at(m_label[i]), addressLabelRect(static_cast<int>(i) + 1, all));
    setVisible(at(m_group[2]), all);
    setVisible(at(m_group[3]), all);
    for (std::size_t i = 0; i < kAddresses; ++i) {
        setVisible(at(m_relay[i]), all);
        setVisible(at(m_servo[i]), all);
        if (i >= 4) {
            setVisible(at(m_label[i]), all);
            setVisible(at(m_action[i]), all);
            setVisible(at(m_curve[i]), all);
        }
    }

    for (std::size_t s = 0; s < kServos; ++s) {
        const int at0 = kPulseEeprom + 2 * static_cast<int>(s);
        PulseOffset[s] = HexByteValue(image.get_Hex_EE(at0));
        PulseFactor[s] = HexByteValue(image.get_Hex_EE(at0 + 1));
    }

    refresh();
    Updating = false;
}

void KornelAdrPage::refresh()
{
    ShowServoFlags();
    ShowAddressBoxes();
    ShowPulseTimes();
}

void KornelAdrPage::ShowServoFlags()
{
    UpdatingScope scope(Updating);
    for (int s = 1; s <= kServos; ++s) {
        const auto i = static_cast<std::size_t>(s - 1);
        const int flags = entry(FlagsEntry(s)) & 0xFF;
        setChecked(at(m_voltageOff[i]), (flags & kFlagVoltageOff) != 0);
        setChecked(at(m_pulsesOff[i]), (flags & kFlagPulsesOff) != 0);
        setChecked(at(m_noInterrupt[i]), (flags & kFlagNoInterrupt) != 0);
        setChecked(at(m_noRepeat[i]), (flags & kFlagNoRepeat) != 0);
    }
}

void KornelAdrPage::ShowAddressBoxes()
{
    UpdatingScope scope(Updating);
    for (int n = 1; n <= kAddresses; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        const int servoAction = entry(ServoActionEntry(n)) & 0xFF;
        const int curveRelay = entry(CurveRelayEntry(n)) & 0xFF;
        // The servo item is read from the whole byte: without a servo bit the lowest action
        // bit (4..7) answers, which no item has.
        select(m_servo[i], LowestBitIndex(servoAction));
        select(m_curve[i], LowestBitIndex((curveRelay & 0xF0) >> 4));
        // Action bits 4..7 read as items 1..4; 0x80 has no item.
        select(m_action[i], LowestBitIndex((servoAction & 0xF0) >> 3));
    }
    UpdateCurveBoxes();
    for (int n = 1; n <= kAddresses; ++n)
        select(m_relay[static_cast<std::size_t>(n - 1)], LowestBitIndex(entry(CurveRelayEntry(n)) & 0x0F));
}

void KornelAdrPage::UpdateCurveBoxes()
{
    UpdatingScope scope(Updating);
    const int last = m_type->kornel4 ? kAddresses : 4;
    for (int n = 1; n <= last; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        setVisible(at(m_curve[i]), at(m_action[i]).selected < 2);
    }
    if (m_type->kornel4)
        for (std::size_t i = 0; i < kAddresses; ++i)
            setVisible(at(m_relay[i]), at(m_curve[i]).visible);
}

void KornelAdrPage::ShowPulseTimes()
{
    UpdatingScope scope(Updating);
    for (std::size_t s = 0; s < kServos; ++s) {
        setText(at(m_minEdit[s]), PulseTimeText(PulseMinMs(PulseOffset[s])));
        setText(at(m_maxEdit[s]), PulseTimeText(PulseMaxMs(PulseOffset[s], PulseFactor[s])));
    }
}

void KornelAdrPage::chooseServo(int address)
{
    if (Updating)
        return;
    const int k = at(m_servo[static_cast<std::size_t>(address - 1)]).selected;
    if (k < 0 || k > 3)
        return;
    replaceBits(ServoActionEntry(address), ~0x0F, BitOfIndex(k));
    m_curves.EnableAccept();
}

void KornelAdrPage::chooseAction(int address)
{
    if (Updating)
        return;
    const int k = at(m_action[static_cast<std::size_t>(address - 1)]).selected;
    if (k < 0 || k > 3)
        return;
    replaceBits(ServoActionEntry(address), ~0xF0, kActionCodes[k]);
    UpdateCurveBoxes();
    m_curves.EnableAccept();
}

void KornelAdrPage::chooseCurve(int address)
{
    if (Updating)
        return;
    const int k = at(m_curve[static_cast<std::size_t>(address - 1)]).selected;
    if (k < 0 || k > 3)
        return;
    replaceBits(CurveRelayEntry(address), ~0xF0, kCurveCodes[k]);
    m_curves.EnableAccept();
}

void KornelAdrPage::chooseRelay(int address)
{
    if (Updating)
        return;
    const int k = at(m_relay[static_cast<std::size_t>(address - 1)]).selected;
    if (k < 0 || k > 3)
        return;
    replaceBits(CurveRelayEntry(address), ~0x0F, BitOfIndex(k));
    m_curves.EnableAccept();
}

void KornelAdrPage::storeFlag(int servo, int bit)
{
    if (Updating || servo < 1 || servo > kServos)
        return;
    const std::array<std::size_t, kServos>& boxes = bit == kFlagVoltageOff    ? m_voltageOff
                                                    : bit == kFlagPulsesOff   ? m_pulsesOff
                                                    : bit == kFlagNoInterrupt ? m_noInterrupt
                                                                              : m_noRepeat;
    // Only the servo whose box changed: the boxes of the other servos may not show what the
    // working copy holds now (the curve page changes the table too), and their flags must
    // not be overwritten from them.
    replaceBits(FlagsEntry(servo), ~bit, at(boxes[static_cast<std::size_t>(servo - 1)]).checked ? bit : 0);
    m_curves.EnableAccept();
}

void KornelAdrPage::stepMinimum(int servo, int step)
{
    if (Updating || servo < 1 || servo > kServos)
        return;
    std::int32_t& offset = PulseOffset[static_cast<std::size_t>(servo - 1)];
    offset = StepPulseOffset(offset, step);
    ShowPulseTimes();
    m_curves.EnableAccept();
}

void KornelAdrPage::stepMaximum(int servo, int step)
{
    if (Updating || servo < 1 || servo > kServos)
        return;
    std::int32_t& factor = PulseFactor[static_cast<std::size_t>(servo - 1)];
    factor = StepPulseFactor(factor, step);
    ShowPulseTimes();
    m_curves.EnableAccept();
}

void KornelAdrPage::restorePulseTimes()
{
    if (Updating)
        return;
    // The times are read-only: only the step buttons change them. Whatever reached the edit
    // otherwise is replaced by the time again, and nothing is pending because of it.
    ShowPulseTimes();
}

PagePlace KornelAdrPage::placeIn(const AddressArea& area) const
{
    // In the address area below the header; the curve page beside it arranges the window.
    return {Rect{area.left + 1, 120, area.width - 2, kHeight}, std::nullopt};
}

} // namespace hz::pages
