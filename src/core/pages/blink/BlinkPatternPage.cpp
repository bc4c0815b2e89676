#include "core/pages/blink/BlinkPatternPage.h"

#include <algorithm>

#include "core/Prompter.h"
#include "core/firmware/FirmwareImage.h"
#include "core/firmware/HexText.h"
#include "core/pages/common/Canvas.h"
#include "core/pages/common/GraphSteps.h"
#include "core/pages/common/NumberText.h"

namespace hz::pages {

namespace {

// "Lumo - Blinkmuster ab V3.60": the stretch in two bytes, to base 255.
constexpr int kIdLumoBlinkmuster360 = 0x1DD;

const char* const kAddressHint = "Auswahl, für welche Adresse die Angezeigten Parameter gültig sind";
const char* const kStretchHint = "ermöglicht es, den Ablauf zu Verlangsamen";
const char* const kCountHint = "Anzahl der Kurven-Punkte";

Control make(std::string name, ControlKind kind, std::string caption, const char* parent)
{
    Control c;
    c.name = std::move(name);
    c.kind = kind;
    c.caption = std::move(caption);
    c.parent = parent;
    return c;
}

} // namespace

std::pair<std::string, std::string> BlinkPatternPage::TimeLabels(long long stretch, long long count)
{
    const long long t = stretch * 20;
    const long long total = t * count;
    const double st = static_cast<double>(t), tt = static_cast<double>(total);
    std::string step =
        t < 1000 ? PrintfNumber("Zeit-Raster = %3.0f ms", st) : PrintfNumber("Zeit-Raster = %3.4f s", st * 0.001);
    std::string all;
    if (total < 1000)
        all = PrintfNumber("Gesamtzeit = %3.0f ms", tt);
    else if (total < 60000)
        all = PrintfNumber("Gesamtzeit = %3.4f s", tt * 0.001);
    else if (total < 6000000)
        all = PrintfNumber("Gesamtzeit = %3.4f min", tt / 60000.0);
    else
        all = PrintfNumber("Gesamtzeit = %3.4f h", tt / 3600000.0);
    return {std::move(step), std::move(all)};
}

BlinkPatternPage::BlinkPatternPage(BlinkLayout layout) : m_layout(std::move(layout))
{
    const BlinkLayout& L = m_layout;
    PatternData.assign(static_cast<std::size_t>(kAddresses * L.blockSize), 0xFF);
    const char* panel = L.panel;
    auto next = [this] { return m_controls.size(); };

    m_panel = next();
    add(make(panel, ControlKind::Group, "", ""));
    m_group = next();
    add(make(L.group, ControlKind::Group, "Parameter für ...", panel));
    m_firstRadio = next();
    for (int a = 1; a <= kAddresses; ++a) {
        Control r = make(radioName(a), ControlKind::Radio, "Adresse " + std::to_string(a), panel);
        r.hint = kAddressHint;
        r.checked = a == 1;
        r.valueOf = ValueOf::Editor;
        add(std::move(r)).on<&BlinkPatternPage::selectAddress>();
    }
    m_loop = next();
    // The loop flag, the step count, the stretch and the outputs used are entries of the
    // selected address's block in the working copy.
    Control loop = make(name("cbx_loop"), ControlKind::Check, "Loop", panel);
    loop.hint = "Ablauf wieder immer wieder neu gestartet";
    loop.inCopyOf = L.objectName;
    loop.valueOf = ValueOf::ShownPart;
    add(std::move(loop)).on<&BlinkPatternPage::storeLoop>();

    auto numberRow = [&](const char* labelName, const char* caption, const char* editName, const char* spinnerName,
                         const char* hint, int max, std::size_t& label, std::size_t& edit, std::size_t& spinner) {
        label = next();
        Control l = make(labelName, ControlKind::Label, caption, panel);
        l.hint = hint;
        add(std::move(l));
        edit = next();
        Control e = make(name(editName), ControlKind::Edit, "", panel);
        e.hint = hint;
        e.text = "10";
        e.inCopyOf = L.objectName;
        e.valueOf = ValueOf::ShownPart;
        add(std::move(e));
        // The spinner is a track bar of the page: its position goes into the edit.
        spinner = next();
        Control s = make(spinnerName, ControlKind::TrackBar, "", panel);
        s.hint = hint;
        s.min = 1;
        s.max = max;
        s.position = 10;
        s.inCopyOf = L.objectName;
        s.valueOf = ValueOf::ShownPart;
        add(std::move(s));
    };
    numberRow(L.stretchLabel, "Stretch-Faktor", "edt_stretch", L.stretchSpinner, kStretchHint, 200, m_stretchLabel,
              m_stretchEdit, m_stretchSpinner);
    numberRow(L.countLabel, "Anzahl Punkte", "edt_Anzahl", L.countSpinner, kCountHint, L.steps, m_countLabel,
              m_countEdit, m_countSpinner);
    at(m_stretchEdit).on<&BlinkPatternPage::stretchTyped>();
    at(m_stretchSpinner).on<&BlinkPatternPage::stretchSpun>();
    at(m_countEdit).on<&BlinkPatternPage::countTyped>();
    at(m_countSpinner).on<&BlinkPatternPage::countSpun>();
    m_info1 = next();
    add(make(name("lbl_KurveInfo1"), ControlKind::Label, "", panel));
    m_info2 = next();
    add(make(name("lbl_KurveInfo2"), ControlKind::Label, "", panel));

    m_firstOutput = next();
    for (int k = 1; k <= L.outputs; ++k) {
        add(make(L.outputLabels[static_cast<std::size_t>(k - 1)], ControlKind::Label, "Out#" + std::to_string(k),
                 panel));
        // A click alone paints nothing: a step is set by pressing and dragging across it.
        Control image = make(imageName(k), ControlKind::Image, "", panel);
        image.hint = "Maustaste drücken und ziehen: oben = an, unten = aus";
        add(std::move(image)).onMouse<&BlinkPatternPage::paint>(k);
        Control used = make(outputName(k), ControlKind::Check, "", panel);
        used.hint = "Ausgang " + std::to_string(k) + " verwenden (wird sonst nicht beeinflusst)";
        used.title = "Out#" + std::to_string(k) + " verwendet"; // the box has no caption on the page
        used.inCopyOf = L.objectName;
        used.valueOf = ValueOf::ShownPart;
        add(std::move(used)).on<&BlinkPatternPage::useOutput>(k);
    }

    m_copyLabel = next();
    add(make(L.copyLabel, ControlKind::Label, "Kurve kopieren", panel));
    m_firstCopy = next();
    for (int a = 1; a <= kAddresses; ++a) {
        Control b = make(copyName(a), ControlKind::Button, "von #" + std::to_string(a), panel);
        b.hint = "Kopieren der Kurvenformen von Adresse " + std::to_string(a);
        add(std::move(b)).on<&BlinkPatternPage::copyPattern>(a);
    }
    m_verwerfen = next();
    add(make(name("btn_verwerfen"), ControlKind::Button, "Verwerfen", panel))
        .on<&BlinkPatternPage::discardWorkingCopy>();
    m_uebernehmen = next();
    Control accept = make(name("btn_uebernehmen"), ControlKind::Button, "Übernehmen", panel);
    accept.enabled = false;
    add(std::move(accept)).on<&BlinkPatternPage::acceptWorkingCopy>();
}

void BlinkPatternPage::place(const std::string& control, const Rect& r)
{
    if (Control* c = findMutable(control))
        setGeometry(*c, r);
}

int BlinkPatternPage::hostWidth() const
{
    const Rect r = at(m_uebernehmen).geometry.value_or(Rect{});
    return r.left + r.width + 15;
}

int BlinkPatternPage::SelectedAddress() const
{
    for (int a = 1; a <= kAddresses; ++a)
        if (at(m_firstRadio + static_cast<std::size_t>(a - 1)).checked)
            return a;
    return 1;
}

int BlinkPatternPage::DecodedStretch(int address) const
{
    const int low = entry(address, m_layout.stretchIndex);
    if (m_layout.stretchHighIndex < 0)
        return low;
    if (m_base255)
        return entry(address, m_layout.stretchHighIndex) * 255 + low - 255;
    return low;
}

bool BlinkPatternPage::StepOn(int address, int step, int output) const
{
    if (output <= 4)
        return (entry(address, step) >> (output - 1) & 1) != 0;
    return (entry(address, m_layout.secondStepBase + step) >> (output - 5) & 1) != 0;
}

bool BlinkPatternPage::OutputUsed(int address, int output) const
{
    return output <= 4 ? (entry(address, m_layout.flagsIndex) >> (output + 3) & 1) != 0
                       : (entry(address, m_layout.usedHighIndex) >> (output - 5) & 1) != 0;
}

bool BlinkPatternPage::hasPending() const { return at(m_uebernehmen).enabled; }

void BlinkPatternPage::accept() { acceptWorkingCopy(); }

void BlinkPatternPage::enableAccept(bool on) { setEnabled(at(m_uebernehmen), on); }

bool BlinkPatternPage::setData(const std::vector<int>& data)
{
    if (!IsByteTable(data, PatternData.size()))
        return false;
    Drawing = false;
    PatternData = data;
    // Showing the selected address writes its count and stretch into the edits, whose handlers
    // may clamp a value out of range into the working copy. The table taken over stays as the
    // other file holds it, as a loaded table does until the user touches it.
    ShowPatternValues();
    PatternData = data;
    DrawPatterns();
    enableAccept(true);
    return true;
}

std::string BlinkPatternPage::dataLayout() const
{
    if (m_layout.stretchHighIndex < 0)
        return {};
    return m_base255 ? "Stretch-Faktor in zwei Bytes zur Basis 255" : "Stretch-Faktor in einem Byte";
}

std::vector<DataPart> BlinkPatternPage::dataParts() const
{
    const BlinkLayout& L = m_layout;
    const bool split = L.secondStepBase >= 0;
    const std::string lowOutputs = "Out#1-" + std::to_string(std::min(L.outputs, 4));
    const std::string highOutputs = "Out#5-" + std::to_string(L.outputs);
    // What the firmware reads from a block, by index within the block.
    std::vector<DataPart> known;
    known.push_back({split ? "Schritte " + lowOutputs : std::string("Schritte"), 0, L.steps});
    if (split)
        known.push_back({"Schritte " + highOutputs, L.secondStepBase, L.steps});
    known.push_back({"Anzahl Schritte", L.countIndex, 1});
    if (L.stretchHighIndex >= 0) {
        known.push_back({"Stretch-Faktor Low-Byte", L.stretchIndex, 1});
        known.push_back({"Stretch-Faktor High-Byte", L.stretchHighIndex, 1});
    } else {
        known.push_back({"Stretch-Faktor", L.stretchIndex, 1});
    }
    known.push_back({"Loop/" + lowOutputs + " verwendet", L.flagsIndex, 1});
    if (L.usedHighIndex >= 0)
        known.push_back({highOutputs + " verwendet", L.usedHighIndex, 1});
    std::sort(known.begin(), known.end(), [](const DataPart& a, const DataPart& b) { return a.first < b.first; });

    std::vector<DataPart> parts;
    for (int a = 1; a <= kAddresses; ++a) {
        const int start = (a - 1) * L.blockSize;
        const std::string pattern = "Muster " + std::to_string(a) + " ";
        // The entries between the known ones: the firmware leaves them alone, the page
        // carries them along.
        auto unused = [&](int from, int to) {
            if (from >= to)
                return;
            const std::string which = to - from == 1 ? "Byte " + std::to_string(from)
                                                     : "Bytes " + std::to_string(from) + ".." + std::to_string(to - 1);
            parts.push_back({pattern + which, start + from, to - from});
        };
        int next = 0;
        for (const DataPart& k : known) {
            unused(next, k.first);
            parts.push_back({pattern + k.name, start + k.first, k.count});
            next = k.first + k.count;
        }
        unused(next, L.blockSize);
    }
    return parts;
}

void BlinkPatternPage::showFor(const PageContext& context)
{
    m_context.emplace(context);
    // Only the newer LED firmware keeps the stretch in two bytes.
    m_base255 = m_layout.stretchHighIndex >= 0 && context.identifier == kIdLumoBlinkmuster360;
    Control& spinner = at(m_stretchSpinner);
    spinner.max = StretchMax();
    touch(spinner);
    setUp(hostWidth());
    refresh();
}

void BlinkPatternPage::setUp(int width)
{
    Updating = true;
    Drawing = false; // a press of the page shown before does not paint on this one
    setVisible(at(m_panel), true);
    ImageHeight = m_layout.imageHeight;
    LevelScale = static_cast<float>(ImageHeight) * 0.0078125f;
    const int imageWidth = width - kImageLeft - 10;
    for (int k = 1; k <= m_layout.outputs; ++k) {
        Control& image = at(imageIndex(k));
        Rect r = image.geometry.value_or(Rect{kImageLeft, 0, 0, ImageHeight});
        r.width = imageWidth;
        setGeometry(image, r);
    }
    recomputeStepWidth();
    ReloadPatterns();
    enableAccept(false);
    if (m_layout.drawAtEndOfInit)
        DrawPatterns();
    Updating = false;
}

void BlinkPatternPage::refresh()
{
    ShowPatternValues();
    DrawPatterns();
}

void BlinkPatternPage::ReloadPatterns()
{
    ReadPatterns();
    ShowPatternValues();
    DrawPatterns();
}

void BlinkPatternPage::ReadPatterns()
{
    if (!m_context)
        return;
    const FirmwareImage& image = m_context->image;
    for (std::size_t n = 0; n < PatternData.size(); ++n)
        PatternData[n] = HexByteValue(image.get_Hex_ROM(2 * (kTableWord + static_cast<int>(n))));
}

void BlinkPatternPage::writeCopy(FirmwareImage& image) const
{
    const auto& texts = HexByteTexts();
    // Only the low byte of each word is the table's; the high byte (the instruction that
    // returns the entry) stays as the firmware has it.
    for (std::size_t n = 0; n < PatternData.size(); ++n)
        image.set_Hex_ROM(2 * (kTableWord + static_cast<int>(n)),
                          texts[static_cast<std::size_t>(PatternData[n] & 0xFF)]);
}

std::string BlinkPatternPage::describeByte(bool eeprom, int index) const
{
    const int entry = index / 2 - kTableWord;
    if (eeprom || index % 2 != 0 || entry < 0 || entry >= static_cast<int>(PatternData.size()))
        return {};
    return partOfEntry(entry);
}

void BlinkPatternPage::writeEdit(std::size_t edit, const std::string& text)
{
    Control& c = at(edit);
    if (c.text == text)
        return;
    setText(c, text);
    syncSpinner(edit);
    const bool was = m_ownWrite;
    m_ownWrite = true;
    if (edit == m_countEdit)
        changeCount();
    else if (edit == m_stretchEdit)
        changeStretch();
    m_ownWrite = was;
}

std::optional<std::string> BlinkPatternPage::storedText(const Control& edit) const
{
    int typed = 0;
    if (!parseWholeNumber(edit.text, typed))
        return std::nullopt;
    if (&edit == &at(m_countEdit))
        return std::to_string(entry(m_layout.countIndex));
    if (&edit == &at(m_stretchEdit))
        return std::to_string(DecodedStretch());
    return std::nullopt;
}

void BlinkPatternPage::showStored(Control& edit, const std::string& text)
{
    writeEdit(&edit == &at(m_countEdit) ? m_countEdit : m_stretchEdit, text);
}

void BlinkPatternPage::syncSpinner(std::size_t edit)
{
    followEdit(at(edit == m_countEdit ? m_countSpinner : m_stretchSpinner), at(edit).text);
}

void BlinkPatternPage::ShowPatternValues()
{
    const int selected = SelectedAddress();
    for (int a = 1; a <= kAddresses; ++a)
        setEnabled(at(m_firstCopy + static_cast<std::size_t>(a - 1)), a != selected);
    // Each text is taken from the working copy when it is written: the count's handler may
    // have clamped the block in between.
    writeEdit(m_countEdit, std::to_string(entry(m_layout.countIndex)));
    writeEdit(m_stretchEdit, std::to_string(DecodedStretch()));
    const int flags = entry(m_layout.flagsIndex);
    setChecked(at(m_loop), (flags & 1) != 0);
    for (int k = 1; k <= m_layout.outputs; ++k)
        setChecked(at(checkIndex(k)), OutputUsed(SelectedAddress(), k));
    int count = 0, stretch = 0;
    if (parseWholeNumber(at(m_countEdit).text, count) && parseWholeNumber(at(m_stretchEdit).text, stretch)) {
        const auto [step, total] = TimeLabels(stretch, count);
        setCaption(at(m_info1), step);
        setCaption(at(m_info2), total);
    }
}

void BlinkPatternPage::recomputeStepWidth()
{
    // From the selected block's count and the present image width, never zero or negative.
    const int width = at(imageIndex(1)).geometry.value_or(Rect{}).width;
    const int count = std::clamp(entry(m_layout.countIndex), 1, m_layout.steps);
    StepWidth = static_cast<float>(std::max(width - 10, 1)) / static_cast<float>(count);
}

void BlinkPatternPage::DrawPatterns()
{
    recomputeStepWidth();
    for (int k = 1; k <= m_layout.outputs; ++k) {
        Control& image = at(imageIndex(k));
        setVisible(image, at(checkIndex(k)).checked);
        setDrawing(image, patternDrawing(SelectedAddress(), k, StepWidth));
    }
}

pages::Drawing BlinkPatternPage::patternDrawing(int address, int output, float stepWidth) const
{
    const int count = std::clamp(entry(address, m_layout.countIndex), 0, m_layout.steps);
    const int onTop = static_cast<int>(static_cast<float>(ImageHeight) - 100.0f * LevelScale);
    const int offTop = ImageHeight;
    const Rect r = at(imageIndex(output)).geometry.value_or(Rect{});
    Canvas canvas(r.width, r.height);
    canvas.brush = colours::White;
    canvas.Clear();
    canvas.pen = colours::Black;
    canvas.brush = colours::Red;
    for (int i = 0; i < count; ++i) {
        const int x1 = static_cast<int>(static_cast<double>(i) * static_cast<double>(stepWidth));
        const int x2 = static_cast<int>(static_cast<double>(i + 1) * static_cast<double>(stepWidth));
        const int top = StepOn(address, i, output) ? onTop : offTop;
        const int bottom = m_layout.barEndsAtImageHeight ? ImageHeight : 100 - top;
        canvas.Rectangle(x1, top, x2, bottom);
    }
    return canvas.take();
}

std::vector<PagePicture> BlinkPatternPage::sheetPictures() const
{
    // Every address with its used outputs, each drawn as the page draws the selected address;
    // the step width follows each address's own count, as it does on the page.
    std::vector<PagePicture> out;
    const int width = at(imageIndex(1)).geometry.value_or(Rect{}).width;
    for (int a = 1; a <= kAddresses; ++a) {
        const int count = std::clamp(entry(a, m_layout.countIndex), 1, m_layout.steps);
        const float step = static_cast<float>(std::max(width - 10, 1)) / static_cast<float>(count);
        const std::string address = at(m_firstRadio + static_cast<std::size_t>(a - 1)).caption;
        const std::string head = (address.empty() ? "Adresse " + std::to_string(a) : address) + ": " +
                                 std::to_string(entry(a, m_layout.countIndex)) +
                                 (entry(a, m_layout.countIndex) == 1 ? " Punkt" : " Punkte") + ", Stretch-Faktor " +
                                 std::to_string(DecodedStretch(a)) +
                                 ((entry(a, m_layout.flagsIndex) & 1) != 0 ? ", Loop" : "");
        bool first = true;
        for (int k = 1; k <= m_layout.outputs; ++k) {
            if (!OutputUsed(a, k))
                continue;
            const Rect r = at(imageIndex(k)).geometry.value_or(Rect{});
            const std::string output = at(imageIndex(k) - 1).caption; // the "Out#k" label before the image
            out.push_back(
                {(first ? head + " - " : std::string()) + output, r.width, r.height, patternDrawing(a, k, step)});
            first = false;
        }
        if (first)
            out.push_back({head + " - kein Ausgang verwendet", 0, 0, {}});
    }
    return out;
}

void BlinkPatternPage::selectAddress()
{
    if (Updating || !m_context)
        return;
    // Showing another address writes its count and stretch into the edits, whose handlers
    // store them again. That alone is no change: "Übernehmen" stays as it was unless a value
    // out of range was clamped into the working copy.
    const bool pending = hasPending();
    const std::vector<int> before = PatternData;
    ShowPatternValues();
    DrawPatterns();
    if (!pending && PatternData == before)
        enableAccept(false);
}

void BlinkPatternPage::storeLoop()
{
    if (Updating || !m_context)
        return;
    int& flags = entryRef(m_layout.flagsIndex);
    flags = at(m_loop).checked ? (flags | 1) : (flags & ~1);
    enableAccept(true);
}

void BlinkPatternPage::useOutput(int output)
{
    if (Updating || !m_context || output < 1 || output > m_layout.outputs)
        return;
    const bool on = at(checkIndex(output)).checked;
    int& flags = output <= 4 ? entryRef(m_layout.flagsIndex) : entryRef(m_layout.usedHighIndex);
    const int bit = output <= 4 ? 1 << (output + 3) : 1 << (output - 5);
    flags = on ? (flags | bit) : (flags & ~bit);
    DrawPatterns();
    enableAccept(true);
}

void BlinkPatternPage::changeCount()
{
    if (!m_context)
        return;
    Control& edit = at(m_countEdit);
    if (edit.text.empty())
        return;
    int n = 0;
    if (!parseWholeNumber(edit.text, n)) {
        m_context->prompter.tell(MsgKind::Warning, RangeWarning(1, m_layout.steps), Buttons::Cancel);
        focusRequest = edit.name;
        return;
    }
    entryRef(m_layout.countIndex) = std::clamp(n, 1, m_layout.steps);
    recomputeStepWidth();
    DrawPatterns();
    if (!Updating)
        ShowPatternValues();
    enableAccept(true);
}

void BlinkPatternPage::storeStretch(int stretch)
{
    if (m_layout.stretchHighIndex < 0) {
        entryRef(m_layout.stretchIndex) = stretch;
    } else if (m_base255) {
        // Base 255 and one more in the high byte: 254 is 1/254, 255 is 2/0.
        entryRef(m_layout.stretchHighIndex) = stretch / 255 + 1;
        entryRef(m_layout.stretchIndex) = stretch % 255;
    } else {
        entryRef(m_layout.stretchHighIndex) = 0;
        entryRef(m_layout.stretchIndex) = stretch;
    }
}

void BlinkPatternPage::changeStretch()
{
    if (!m_context)
        return;
    // The LED page leaves a stretch out of range as the table has it until the user edits it:
    // neither the set-up nor showing another address clamps it.
    if (!m_layout.clampStretchWhenShown && (Updating || m_ownWrite))
        return;
    Control& edit = at(m_stretchEdit);
    if (edit.text.empty())
        return;
    int n = 0;
    if (!parseWholeNumber(edit.text, n)) {
        m_context->prompter.tell(MsgKind::Warning, RangeWarning(1, StretchMax()), Buttons::Cancel);
        focusRequest = edit.name;
        return;
    }
    storeStretch(std::clamp(n, 1, StretchMax()));
    DrawPatterns();
    if (!Updating)
        ShowPatternValues();
    enableAccept(true);
}

void BlinkPatternPage::drawStep(int output, int x, int y)
{
    if (!Drawing || !m_context || output < 1 || output > m_layout.outputs)
        return;
    // Left of the first step, right of the last shown one or outside the image while the
    // button is held: the nearest step the user sees, never a step beyond the count (which
    // the firmware does not play) nor an entry outside the block. The servo page's rule.
    const int shown = std::clamp(entry(m_layout.countIndex), 1, m_layout.steps);
    const int i = TruncClamped(static_cast<double>(static_cast<float>(x) / StepWidth), 0, shown - 1);
    const float level = (static_cast<float>(ImageHeight) - static_cast<float>(y)) / LevelScale;
    int& e = output <= 4 ? entryRef(i) : entryRef(m_layout.secondStepBase + i);
    const int bit = 1 << (output <= 4 ? output - 1 : output - 5);
    e = level > 50.0f ? (e | bit) : (e & ~bit);
    DrawPatterns();
    enableAccept(true);
}

void BlinkPatternPage::copyPattern(int from)
{
    const int to = SelectedAddress();
    if (!m_context || from < 1 || from > kAddresses || from == to)
        return;
    const auto source = PatternData.begin() + (from - 1) * m_layout.blockSize;
    std::copy(source, source + m_layout.copyCount, PatternData.begin() + (to - 1) * m_layout.blockSize);
    DrawPatterns();
    ShowPatternValues();
    enableAccept(true);
}

void BlinkPatternPage::discardWorkingCopy()
{
    if (!m_context)
        return;
    ReloadPatterns();
    enableAccept(false);
}

void BlinkPatternPage::acceptWorkingCopy()
{
    if (!m_context)
        return;
    writeCopy(m_context->image);
    enableAccept(false);
}

void BlinkPatternPage::countTyped()
{
    syncSpinner(m_countEdit);
    changeCount();
}

void BlinkPatternPage::stretchTyped()
{
    syncSpinner(m_stretchEdit);
    changeStretch();
}

// A spinner click puts its number into the edit beside it, as if typed.
void BlinkPatternPage::countSpun()
{
    if (spinIntoEdit(m_countSpinner, m_countEdit))
        countTyped();
}

void BlinkPatternPage::stretchSpun()
{
    if (spinIntoEdit(m_stretchSpinner, m_stretchEdit))
        stretchTyped();
}

bool BlinkPatternPage::spinIntoEdit(std::size_t spinner, std::size_t edit)
{
    const std::string text = std::to_string(at(spinner).position);
    if (at(edit).text == text)
        return false;
    setText(at(edit), text);
    return true;
}

void BlinkPatternPage::paint(int output, MouseAction action, int x, int y)
{
    if (action == MouseAction::Release)
        Drawing = false;
    else if (!at(imageIndex(output)).visible) // a hidden image takes no painting
        return;
    else if (action == MouseAction::Press)
        Drawing = true;
    else
        drawStep(output, x, y);
}

PagePlace BlinkPatternPage::placeIn(const AddressArea& area) const
{
    // Beside the address rows, down to "Übernehmen" and as wide as it reaches.
    const Rect accept = rectOf(name("btn_uebernehmen"));
    const int height = accept.top + accept.height + 15;
    const int width = accept.left + accept.width + 15;
    return {Rect{410, area.top + 5, width, height}, WindowArrangement{5, 410, height, width}};
}

} // namespace hz::pages
