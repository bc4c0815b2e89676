#include "core/pages/zusatz/ZusatzPage.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/Prompter.h"
#include "core/firmware/FirmwareImage.h"
#include "core/firmware/HexText.h"
#include "core/pages/common/NumberText.h"

namespace hz::pages {

using zusatz::BitBox;
using zusatz::BitBoxSet;
using zusatz::Lock;
using zusatz::RowDef;
using zusatz::ZusatzType;

namespace {

constexpr const char* kTrackBarHint = "rechts = HELL, Links = dunkel";
constexpr const char* kModeAdvice = "Wird hier ein Mode ausgewählt, so sollte die Mode-\r\n"
                                    "Umschaltung gesperrt werden, da  sich sonst der gewählte\r\n"
                                    "Mode während des \"Brennen\" wieder verstellen kann.";
constexpr const char* kNeonDelay = "Die Verzögerungszeit definiert eine Einschalt-Verzögerung. \r\n"
                                   "Diese ist dann aktiv, wenn noch kein Ausgang eingeschaltet \r\n"
                                   "ist, also wenn alle Ausgäne dunkel sind. Alle weiteren \r\n"
                                   "Ausgänge werden dann ohne Verzögerungszeit dazu \r\n"
                                   "geschaltet";

constexpr int kModeByte = 0x00;
constexpr int kSettingByte = 0x20; // fading code, effect speed, neon output bits
constexpr int kNeonDark = 0x40;
constexpr int kNeonBright = 0x41;

// Designed size of the mode group's advice label: three lines.
constexpr int kAdviceWidth = 285;
constexpr int kAdviceHeight = 3 * ZusatzPage::kLineHeight;
constexpr int kModeGroupWidth = 300;
constexpr int kModeBoxWidth = 280;

} // namespace

ZusatzPage::ZusatzPage()
{
    m_controls.reserve(40 + 3 * kRows);
    auto make = [this](const std::string& name, ControlKind kind, const Rect& r, const char* parent,
                       const std::string& caption = {}, const std::string& hint = {},
                       bool visible = false) -> Control& {
        Control c;
        c.name = name;
        c.kind = kind;
        c.geometry = r;
        c.parent = parent;
        c.caption = caption;
        c.hint = hint;
        c.visible = visible;
        return add(std::move(c));
    };
    const char* panel = "pnl_Zusatz";
    make(panel, ControlKind::Group, Rect{0, 0, kWidth, kDesignHeight}, "", "", "", true);
    make("lbl_zusatz", ControlKind::Label, Rect{kRowLeft, 16, kBoxWidth, kLineHeight}, panel, "", "", true);
    make("lbl_zusatz3", ControlKind::Label, Rect{kRowLeft, 18, kBoxWidth, kLineHeight}, panel);
    make("lbl_text_1", ControlKind::Label, Rect{kRowLeft, 230, kBoxWidth, kLineHeight}, panel);
    for (int k = 1; k <= 8; ++k)
        make("cbx_zusatz_" + std::to_string(k), ControlKind::Check, Rect{kRowLeft, 20 + 20 * k, kBoxWidth, kBoxHeight},
             panel)
            .on<&ZusatzPage::storeOptions>();
    make("cbx_weiche_ab", ControlKind::Check, Rect{kRowLeft, 100, kBoxWidth, kBoxHeight}, panel,
         "Abschalten des Antriebes NUR nach TimeOut",
         "Der Abschaltebefehl der Zentrale wird ignoriert, sodass der Antrieb immer genau nach der TimeOut Zeit "
         "abschaltet")
        .on<&ZusatzPage::storeTimeOutOnly>();
    make("TrackBar_01", ControlKind::TrackBar, Rect{70, 70, 184, kTrackBarHeight}, panel, "", kTrackBarHint)
        .on<&ZusatzPage::storeFadingOrSpeed>();
    make("lbl_trackbar_01", ControlKind::Label, Rect{16, 50, 200, kLineHeight}, panel);
    make("lbl_trackbar_01_l", ControlKind::Label, Rect{16, 73, 44, kLineHeight}, panel, "schnell");
    make("lbl_trackbar_01_r", ControlKind::Label, Rect{260, 73, 44, kLineHeight}, panel, "langsam");
    make("TrackBar_neon_1", ControlKind::TrackBar, Rect{120, 40, 180, kTrackBarHeight}, panel)
        .on<&ZusatzPage::storeNeonDark>();
    make("TrackBar_neon_2", ControlKind::TrackBar, Rect{120, 60, 180, kTrackBarHeight}, panel)
        .on<&ZusatzPage::storeNeonBright>();
    make("lbl_fNeon_01", ControlKind::Label, Rect{kRowLeft, 44, 105, kLineHeight}, panel, "Leuchtstufe DUNKEL");
    make("lbl_fNeon_02", ControlKind::Label, Rect{kRowLeft, 64, 105, kLineHeight}, panel, "Leuchtstufe HELL");
    make("lbl_fNeon_03", ControlKind::Label, Rect{kRowLeft, 104, 300, 5 * kLineHeight}, panel, kNeonDelay);
    for (const char* name : {"TrackBar_neon_1", "TrackBar_neon_2"}) {
        Control& t = ctl(name);
        t.max = 15;
    }
    make("group_mode", ControlKind::Group, Rect{kRowLeft, 100, kModeGroupWidth, 200}, panel, "Mode Auswahl");
    make("lbl_mode", ControlKind::Label, Rect{kRowLeft, 20, kAdviceWidth, kAdviceHeight}, "group_mode", kModeAdvice, "",
         true);
    for (int k = 1; k <= 6; ++k)
        make("rad_mode" + std::to_string(k), ControlKind::Radio,
             Rect{kRowLeft, 69 + kBoxHeight * (k - 1), kModeBoxWidth, kBoxHeight}, "group_mode",
             "Mode " + std::to_string(k), "", k <= 2)
            .on<&ZusatzPage::selectMode>(k);
    make("cbx_mode_bit6", ControlKind::Check, Rect{kRowLeft, 150, kModeBoxWidth, kBoxHeight}, "group_mode",
         "Dumm Mode: startet immer mit Ausgängen AUS",
         "Dekoder startet mit abgeschalteten Ausgängen. der Zustand beim Abschalten wird also NICHT wieder "
         "hergestellt.")
        .on<&ZusatzPage::storeModeFlags>();
    make("cbx_mode_bit7", ControlKind::Check, Rect{kRowLeft, 69, kModeBoxWidth, kBoxHeight}, "group_mode",
         "Mode-Umschaltung SPERREN",
         "Aktiviert: eine Mode-Umschaltung (Taste beim Starten) ist dann nicht mehr möglich. Voreingestellte Modus "
         "ist damit garantiert. ")
        .on<&ZusatzPage::storeModeFlags>();
    // The value rows, made hidden; setUp places the ones a decoder type uses.
    m_firstRow = m_controls.size();
    for (int row = 0; row < kRows; ++row) {
        make(rowLabelName(row), ControlKind::Label, Rect{0, 0, 100, 20}, panel);
        make(rowEditName(row), ControlKind::Edit, Rect{0, 0, kEditWidth, kEditHeight}, panel)
            .on<&ZusatzPage::storeRow>(row);
        make(rowSecondsName(row), ControlKind::Label, Rect{0, 0, 100, 20}, panel);
    }
}

// ---- helpers --------------------------------------------------------------------------------

const Control& ZusatzPage::control(const std::string& name) const
{
    const Control* c = find(name);
    if (!c)
        throw std::out_of_range("ZusatzPage has no control " + name);
    return *c;
}

Control& ZusatzPage::ctl(const std::string& name) { return const_cast<Control&>(control(name)); }

void ZusatzPage::setTop(Control& c, int top)
{
    Rect r = c.geometry.value_or(Rect{});
    r.top = top;
    setGeometry(c, r);
}

void ZusatzPage::setLeftTop(Control& c, int left, int top)
{
    Rect r = c.geometry.value_or(Rect{});
    r.left = left;
    r.top = top;
    setGeometry(c, r);
}

void ZusatzPage::setAutoCaption(Control& c, const std::string& caption)
{
    setCaption(c, caption);
    Rect r = c.geometry.value_or(Rect{});
    r.width = textWidth(caption);
    r.height = kLineHeight;
    setGeometry(c, r);
}

void ZusatzPage::setTrackBar(Control& c, int min, int max, int position, int tickFrequency)
{
    position = std::clamp(position, min, max);
    if (c.min != min || c.max != max || c.position != position || c.tickFrequency != tickFrequency) {
        c.min = min;
        c.max = max;
        c.position = position;
        c.tickFrequency = tickFrequency;
        touch(c);
    }
}

int ZusatzPage::eeValue(int address) const { return HexByteValue(m_context->image.get_Hex_EE(address)); }

std::string ZusatzPage::eeText(int address) const { return m_context->image.get_Hex_EE(address); }

void ZusatzPage::writeEe(int address, int value)
{
    m_context->image.set_Hex_EE(address, HexByteTexts()[static_cast<std::size_t>(value & 0xFF)]);
}

bool ZusatzPage::firmwareAbove354() const
{
    const std::optional<Version>& version = m_context->image.facts.version;
    return version && version->hundredths() > 354;
}

// ---- set-up ---------------------------------------------------------------------------------

void ZusatzPage::showFor(const PageContext& context)
{
    m_context.emplace(context);
    clearControls();
    setUp();
}

void ZusatzPage::clearControls()
{
    Control& panel = ctl("pnl_Zusatz");
    setGeometry(panel, Rect{0, 0, kWidth, kHeight});
    setVisible(panel, true);
    for (int row = 0; row < kRows; ++row) {
        setCaption(rowControl(row, 0), "");
        setHint(rowControl(row, 1), "");
        for (int which = 0; which < 3; ++which)
            setVisible(rowControl(row, which), false);
    }
    RowCount = 0;
    m_firstRowTop = 20;

    Control& drive = ctl("cbx_weiche_ab");
    setVisible(drive, false);
    setTop(drive, 100);
    setVisible(ctl("lbl_text_1"), false);
    for (int k = 1; k <= 8; ++k)
        setVisible(box(k), false);
    for (const char* name : {"TrackBar_01", "lbl_trackbar_01", "lbl_trackbar_01_l", "lbl_trackbar_01_r"})
        setVisible(ctl(name), false);
    // A hint left behind by another decoder type's track bar would describe the wrong setting.
    setHint(ctl("TrackBar_01"), kTrackBarHint);

    Control& group = ctl("group_mode");
    setVisible(group, false);
    setLeftTop(group, kRowLeft, 100);
    for (int k = 1; k <= 6; ++k) {
        Control& radio = ctl("rad_mode" + std::to_string(k));
        setCaption(radio, "Mode " + std::to_string(k));
        setVisible(radio, k <= 2);
        // No mode of the previous file stays selected: a file whose mode byte selects none
        // shows none.
        setChecked(radio, false);
    }
    setVisible(ctl("lbl_mode"), true);
    setVisible(ctl("cbx_mode_bit6"), false);
    setVisible(ctl("cbx_mode_bit7"), false);

    const std::pair<const char*, int> neonTops[] = {{"TrackBar_neon_1", 40},
                                                    {"TrackBar_neon_2", 60},
                                                    {"lbl_fNeon_01", 44},
                                                    {"lbl_fNeon_02", 64},
                                                    {"lbl_fNeon_03", 104}};
    for (const auto& [name, top] : neonTops) {
        Control& c = ctl(name);
        setVisible(c, false);
        setTop(c, top);
    }

    Control& heading = ctl("lbl_zusatz");
    setCaption(heading, "");
    setTop(heading, 16);
    Control& heading3 = ctl("lbl_zusatz3");
    setCaption(heading3, "");
    setTop(heading3, 18);
    setVisible(heading3, false);
}

void ZusatzPage::setUp()
{
    if (!m_context)
        return;
    Updating = true;
    RowCount = 0;

    // The mode byte is shown for every decoder type, also where the group stays hidden: the
    // lowest of bits 0..5 selects its mode; none leaves the radio buttons as they are.
    const int mode = eeValue(kModeByte);
    for (int bit = 0; bit < 6; ++bit) {
        if ((mode & (1 << bit)) == 0)
            continue;
        for (int k = 1; k <= 6; ++k)
            setChecked(ctl("rad_mode" + std::to_string(k)), k == bit + 1);
        break;
    }
    setChecked(ctl("cbx_mode_bit6"), (mode & 0x40) != 0);
    setChecked(ctl("cbx_mode_bit7"), (mode & 0x80) != 0);

    m_type = zusatz::FindZusatzType(m_context->identifier);
    if (m_type) {
        const ZusatzType& t = *m_type;
        for (const RowDef& row : t.rows)
            defineRow(row);
        m_firstRowTop = t.firstRowTop;
        if (t.modes && (!t.modesAbove354 || firmwareAbove354()))
            showModes(t);
        if (t.options & zusatz::OptDriveSwitchOff)
            showDriveSwitchOff();
        if (t.options & zusatz::OptSwitchOff)
            showSwitchOff(t.switchOffByte);
        if (t.options & zusatz::OptBrightness)
            showBrightness();
        if (t.options & zusatz::OptFading)
            showFading(t.fadingTop);
        if (t.options & zusatz::OptEffectSpeed)
            showEffectSpeed();
        if ((t.options & zusatz::OptBitBoxes) && t.bits)
            showBitBoxes(*t.bits);
    }
    RowCount = std::min(RowCount, kRows);

    for (int row = 0; row < RowCount; ++row) {
        const auto k = static_cast<std::size_t>(row);
        const int value = eeValue(RowAddress[k]);
        setText(rowControl(row, 1), std::to_string(value));
        Control& seconds = rowControl(row, 2);
        if (RowFactor[k] != 0.0f) {
            // The factor is a single-precision float, as the firmware's documentation gives it.
            const float secondsValue = RowFactor[k] * static_cast<float>(value);
            setAutoCaption(seconds, PrintfNumber("(%3.1f sec.)", static_cast<double>(secondsValue)));
            setVisible(seconds, true);
        } else {
            setVisible(seconds, false);
        }
    }
    layoutRows();
    if (control("group_mode").visible)
        layoutModeGroup();
    Updating = false;
}

void ZusatzPage::defineRow(const RowDef& def)
{
    if (RowCount >= kRows)
        return;
    const int row = RowCount++;
    const auto k = static_cast<std::size_t>(row);
    setCaption(rowControl(row, 0), def.caption);
    setHint(rowControl(row, 1), def.hint);
    RowAddress[k] = def.address;
    RowFactor[k] = def.factor;
    RowMin[k] = def.min;
    RowMax[k] = def.max;
}

void ZusatzPage::showModes(const ZusatzType& t)
{
    setVisible(ctl("group_mode"), true);
    bool any = false;
    for (std::size_t k = 0; k < t.modes->captions.size(); ++k) {
        Control& radio = ctl("rad_mode" + std::to_string(k + 1));
        const char* caption = t.modes->captions[k];
        if (caption) {
            setCaption(radio, caption);
            any = true;
        }
        setVisible(radio, caption != nullptr);
    }
    // The advice belongs to the radio buttons; a group of flag boxes only has none.
    setVisible(ctl("lbl_mode"), any);
    setVisible(ctl("cbx_mode_bit6"), t.dumb);
    setVisible(ctl("cbx_mode_bit7"), t.lock == Lock::Always || (t.lock == Lock::Above354 && firmwareAbove354()));
}

void ZusatzPage::showDriveSwitchOff()
{
    Control& drive = ctl("cbx_weiche_ab");
    setTop(drive, 100);
    setCaption(drive, "Abschalten des Antriebes NUR nach TimeOut");
    setHint(drive, "Der Abschaltebefehl der Zentrale wird ignoriert, sodass der Antrieb immer genau nach der "
                   "TimeOut Zeit abschaltet");
    // The firmware tests the byte for 0xAB; a file written in lower case means the same.
    setChecked(drive, upperAscii(eeText(kModeByte)) == "AB");
    setVisible(drive, true);
}

void ZusatzPage::showSwitchOff(int byte)
{
    Control& heading = ctl("lbl_zusatz3");
    setTop(heading, 150);
    setCaption(heading, "Abschaltfunktion: Ausgänge abschalten durch...");
    setVisible(heading, true);
    Control& central = box(1);
    setTop(central, 170);
    setCaption(central, "OFF-Befehl der Zentrale");
    setHint(central, "Abschaltbefehl gesendet durch die Zentrale");
    setVisible(central, true);
    Control& timeOut = box(2);
    setTop(timeOut, 190);
    setCaption(timeOut, "Time-Out des Dekoders");
    setHint(timeOut, "Sicherheitsfunktion, wenn OFF-Befehl der Zentrale nicht empfangen wird");
    setVisible(timeOut, true);
    Control& warning = ctl("lbl_text_1");
    setTop(warning, 230);
    setCaption(warning, "Achtung: Durchbrenn-Gefahr für Weichen-Antriebe!");

    // A nibble 0xA disables switching off by its source; any other value enables it.
    const int value = eeValue(byte);
    setChecked(timeOut, (value & 0x0F) != 0x0A);
    setChecked(central, (value >> 4) != 0x0A);
    setVisible(warning, !central.checked && !timeOut.checked);
}

void ZusatzPage::showBrightness()
{
    Control& dark = ctl("TrackBar_neon_1");
    // Once per showing of the page: later builds leave the track bars as the user moved them.
    if (dark.visible)
        return;
    Control& bright = ctl("TrackBar_neon_2");
    const int top = 170;
    for (Control* t : {&dark, &bright}) {
        setGeometry(*t, Rect{120, t == &dark ? top : top + 40, 180, kTrackBarHeight});
        setHint(*t, "Rechts = HELL, Links = dunkel");
        setVisible(*t, true);
    }
    Control& darkLabel = ctl("lbl_fNeon_01");
    setLeftTop(darkLabel, kRowLeft, top + 3);
    setVisible(darkLabel, true);
    Control& brightLabel = ctl("lbl_fNeon_02");
    setLeftTop(brightLabel, kRowLeft, top + 40 + 3);
    setVisible(brightLabel, true);
    Control& delay = ctl("lbl_fNeon_03");
    setLeftTop(delay, kRowLeft, 70);
    setVisible(delay, true);
    setTrackBar(dark, 0, 15, eeValue(kNeonDark));
    setTrackBar(bright, 0, 15, eeValue(kNeonBright));
}

void ZusatzPage::placeSpeedTrackBar(int captionTop)
{
    const int panelWidth = control("pnl_Zusatz").geometry->width;
    Control& caption = ctl("lbl_trackbar_01");
    setLeftTop(caption, 16, captionTop);
    Control& left = ctl("lbl_trackbar_01_l");
    setAutoCaption(left, "schnell");
    setLeftTop(left, 16, captionTop + 23);
    Control& right = ctl("lbl_trackbar_01_r");
    setAutoCaption(right, "langsam");
    setLeftTop(right, panelWidth - 16 - right.geometry->width, captionTop + 23);
    const int trackLeft = 16 + left.geometry->width + 10;
    setGeometry(ctl("TrackBar_01"),
                Rect{trackLeft, captionTop + 20, right.geometry->left - 10 - trackLeft, kTrackBarHeight});
    for (const char* name : {"TrackBar_01", "lbl_trackbar_01", "lbl_trackbar_01_l", "lbl_trackbar_01_r"})
        setVisible(ctl(name), true);
}

void ZusatzPage::showFading(int captionTop)
{
    setAutoCaption(ctl("lbl_trackbar_01"), "Geschwindigkeit Überblendung (Fading)");
    placeSpeedTrackBar(captionTop);
    const std::string code = upperAscii(eeText(kSettingByte));
    const auto& codes = zusatz::kFadingCodes;
    const auto it = std::find(codes.begin(), codes.end(), code);
    int position = 5;
    if (it != codes.end()) {
        position = static_cast<int>(it - codes.begin());
    } else {
        // The firmware knows only these six codes; anything else is set to the fastest at once
        // and the load tells the user so.
        m_context->image.set_Hex_EE(kSettingByte, codes[5]);
        corrections.push_back({true, kSettingByte, "unbekannter Überblend-Code"});
    }
    setTrackBar(ctl("TrackBar_01"), 0, 5, position);
}

void ZusatzPage::showEffectSpeed()
{
    const int speed = eeValue(kSettingByte);
    setAutoCaption(ctl("lbl_trackbar_01"), strprintf("Geschwindigkeit: %i", speed));
    Control& track = ctl("TrackBar_01");
    // The track bar is set up once per showing of the page; the caption follows every change.
    if (track.visible)
        return;
    placeSpeedTrackBar(50);
    setHint(track, "");
    // 255 steps: a tick at every fifth.
    setTrackBar(track, 1, 255, speed, 5);
}

void ZusatzPage::showBitBoxes(const BitBoxSet& set)
{
    setCaption(ctl("lbl_zusatz"), set.heading);
    const int value = eeValue(kSettingByte);
    for (const BitBox& b : set.boxes) {
        Control& c = box(b.box);
        setCaption(c, b.caption);
        setHint(c, b.hint);
        setChecked(c, (value & (1 << b.bit)) != 0);
        if (b.shown) {
            setLeftTop(c, kRowLeft, b.top);
            setVisible(c, true);
        }
    }
    if (set.tip) {
        Control& tip = ctl("lbl_text_1");
        setTop(tip, set.tipTop);
        setCaption(tip, set.tip);
        setVisible(tip, true);
    }
}

void ZusatzPage::layoutRows()
{
    int top = m_firstRowTop;
    int widest = 0;
    for (int row = 0; row < kRows; ++row) {
        Control& label = rowControl(row, 0);
        Control& edit = rowControl(row, 1);
        if (label.caption.empty()) {
            setVisible(label, false);
            setVisible(edit, false);
            continue;
        }
        setVisible(label, true);
        setVisible(edit, true);
        setAutoCaption(label, label.caption);
        setTop(label, top + kCaptionDrop);
        setTop(edit, top);
        setTop(rowControl(row, 2), top + kCaptionDrop);
        widest = std::max(widest, label.geometry->width);
        top += kRowPitch;
    }
    const int editLeft = widest + 20;
    for (int row = 0; row < kRows; ++row) {
        setLeftTop(rowControl(row, 0), kRowLeft, rowControl(row, 0).geometry->top);
        Control& edit = rowControl(row, 1);
        setGeometry(edit, Rect{editLeft, edit.geometry->top, kEditWidth, kEditHeight});
        Control& seconds = rowControl(row, 2);
        setLeftTop(seconds, editLeft + kEditWidth + 10, seconds.geometry->top);
    }
}

void ZusatzPage::layoutModeGroup()
{
    int y = 20;
    Control& advice = ctl("lbl_mode");
    if (advice.visible) {
        setTop(advice, y);
        y += advice.geometry->height + 10;
    }
    Control& lock = ctl("cbx_mode_bit7");
    if (lock.visible) {
        setTop(lock, y);
        y += lock.geometry->height + 10;
    }
    for (int k = 1; k <= 6; ++k) {
        Control& radio = ctl("rad_mode" + std::to_string(k));
        if (radio.visible) {
            setTop(radio, y);
            y += radio.geometry->height;
        }
    }
    Control& dumb = ctl("cbx_mode_bit6");
    if (dumb.visible) {
        y += 10;
        setTop(dumb, y);
        y += dumb.geometry->height;
    }
    const int height = y + 10;
    const int panelHeight = control("pnl_Zusatz").geometry->height;
    Control& group = ctl("group_mode");
    setGeometry(group, Rect{group.geometry->left, panelHeight - height - 10, kModeGroupWidth, height});
}

// ---- handlers -------------------------------------------------------------------------------

void ZusatzPage::storeRow(int row)
{
    if (Updating || !m_context)
        return;
    if (row < 0 || row >= RowCount)
        return;
    const auto k = static_cast<std::size_t>(row);
    const Control& edit = rowControl(row, 1);
    if (edit.text.empty())
        return;
    int value = 0;
    if (!parseWholeNumber(edit.text, value)) {
        m_context->prompter.tell(MsgKind::Warning, kNotANumber, Buttons::Cancel);
        focusRequest = edit.name;
        return;
    }
    if (value < RowMin[k] || value > RowMax[k]) {
        m_context->prompter.tell(MsgKind::Warning, RangeWarning(RowMin[k], RowMax[k]), Buttons::Cancel);
        return;
    }
    writeEe(RowAddress[k], value);
    setUp();
}

void ZusatzPage::selectMode(int mode)
{
    if (Updating || !m_context)
        return;
    // A radio button writes its mode alone, which clears both flags ...
    writeEe(kModeByte, 1 << (mode - 1));
    // ... and the flags the page shows are set again as their boxes say.
    storeModeFlags();
}

void ZusatzPage::storeModeFlags()
{
    if (Updating || !m_context)
        return;
    const std::pair<const char*, int> flags[] = {{"cbx_mode_bit6", 0x40}, {"cbx_mode_bit7", 0x80}};
    for (const auto& [name, bit] : flags) {
        const Control& flag = control(name);
        if (!flag.visible)
            continue;
        const int mode = eeValue(kModeByte);
        writeEe(kModeByte, flag.checked ? (mode | bit) : (mode & ~bit));
    }
}

void ZusatzPage::storeOptions()
{
    if (Updating || !m_context || !m_type)
        return;
    if (m_type->options & zusatz::OptSwitchOff) {
        const bool central = box(1).checked, timeOut = box(2).checked;
        writeEe(m_type->switchOffByte, (timeOut ? 0 : 0x0A) + (central ? 0 : 0xA0));
        setVisible(ctl("lbl_text_1"), !central && !timeOut);
    } else if ((m_type->options & zusatz::OptBitBoxes) && m_type->bits) {
        int value = eeValue(kSettingByte);
        for (const BitBox& b : m_type->bits->boxes) {
            if (!b.shown)
                continue; // its bit stays as the firmware has it
            if (box(b.box).checked)
                value |= 1 << b.bit;
            else
                value &= ~(1 << b.bit);
        }
        writeEe(kSettingByte, value);
    }
}

void ZusatzPage::storeTimeOutOnly()
{
    if (Updating || !m_context)
        return;
    m_context->image.set_Hex_EE(kModeByte, control("cbx_weiche_ab").checked ? "AB" : "01");
}

void ZusatzPage::storeFadingOrSpeed()
{
    if (Updating || !m_context || !m_type)
        return;
    Control& track = ctl("TrackBar_01");
    if (m_type->options & zusatz::OptFading) {
        setHint(track, "Überblend-Zeit");
        const auto position = static_cast<std::size_t>(std::clamp(track.position, 0, 5));
        m_context->image.set_Hex_EE(kSettingByte, zusatz::kFadingCodes[position]);
        setUp();
    } else if (m_type->options & zusatz::OptEffectSpeed) {
        setHint(track, "Ablauf-Geschwindigkeit der Effekte");
        writeEe(kSettingByte, track.position);
        focusRequest = track.name;
        setUp();
    }
}

void ZusatzPage::storeNeonDark()
{
    if (Updating || !m_context)
        return;
    writeEe(kNeonDark, control("TrackBar_neon_1").position);
    focusRequest = "TrackBar_neon_1";
    setUp();
}

void ZusatzPage::storeNeonBright()
{
    if (Updating || !m_context)
        return;
    writeEe(kNeonBright, control("TrackBar_neon_2").position);
    focusRequest = "TrackBar_neon_2";
    setUp();
}

PagePlace ZusatzPage::placeIn(const AddressArea& area) const
{
    // Beside the address rows, as wide as the mode group reaches.
    const Rect mode = rectOf("group_mode");
    const int width = mode.left + mode.width + 10;
    return {Rect{410, area.top + 5, width, kHeight}, WindowArrangement{5, 410, kHeight, width}};
}

} // namespace hz::pages
