#include "core/pages/Page.h"

#include <algorithm>

#include "core/firmware/HexText.h"

namespace hz::pages {

namespace {

// Advance widths in pixels of an 8-point sans-serif screen font, by character class. Used
// only where no window measures the texts (the command-line tool, the core tests); it errs
// on the wide side, so that nothing laid out after it overlaps.
int estimateAdvance(char32_t ch)
{
    switch (ch) {
    case 'i':
    case 'j':
    case 'l':
    case 'I':
    case '.':
    case ',':
    case ':':
    case ';':
    case '\'':
    case '!':
    case '|': return 3;
    case ' ':
    case 'f':
    case 't':
    case 'r':
    case '(':
    case ')':
    case '[':
    case ']':
    case '/':
    case '-':
    case '"': return 4;
    case 'c':
    case 'k':
    case 's':
    case 'v':
    case 'x':
    case 'y':
    case 'z':
    case 'J': return 5;
    case 'm':
    case 'w': return 9;
    case 'M': return 9;
    case 'W': return 11;
    case U'Ä':
    case U'Ö':
    case U'Ü': return 8;
    case U'ä':
    case U'ö':
    case U'ü':
    case U'ß': return 6;
    case U'°': return 4;
    default: break;
    }
    if (ch >= 'A' && ch <= 'Z')
        return (ch == 'C' || ch == 'D' || ch == 'G' || ch == 'H' || ch == 'N' || ch == 'O' || ch == 'Q' || ch == 'U')
                   ? 8
                   : 7;
    return 6; // lower-case letters, digits and the rest
}

} // namespace

const char* controlKindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label: return "label";
    case ControlKind::Edit: return "edit";
    case ControlKind::Check: return "check";
    case ControlKind::Radio: return "radio";
    case ControlKind::TrackBar: return "trackbar";
    case ControlKind::List: return "list";
    case ControlKind::Button: return "button";
    case ControlKind::Group: return "group";
    case ControlKind::Image: return "image";
    }
    return "label";
}

const Control* Page::find(const std::string& name) const
{
    for (const Control& c : controls())
        if (c.name == name)
            return &c;
    return nullptr;
}

Control* Page::findMutable(const std::string& name) { return const_cast<Control*>(find(name)); }

Control& Page::add(Control c)
{
    c.stamp = ++m_stamp;
    m_controls.push_back(std::move(c));
    return m_controls.back();
}

void Page::setText(Control& c, const std::string& text) { change(c, c.text, text); }
void Page::setCaption(Control& c, const std::string& caption) { change(c, c.caption, caption); }
void Page::setVisible(Control& c, bool visible) { change(c, c.visible, visible); }
void Page::setEnabled(Control& c, bool enabled) { change(c, c.enabled, enabled); }
void Page::setChecked(Control& c, bool checked) { change(c, c.checked, checked); }
void Page::setHint(Control& c, const std::string& hint) { change(c, c.hint, hint); }
void Page::setGeometry(Control& c, const Rect& r) { change(c, c.geometry, std::optional<Rect>(r)); }
void Page::setDrawing(Control& c, Drawing drawing) { change(c, c.drawing, drawing); }
void Page::setBackground(Control& c, const Colour& colour) { change(c, c.background, std::optional<Colour>(colour)); }

int Page::EstimateTextWidth(const std::string& text)
{
    int width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        char32_t ch = b;
        std::size_t length = 1;
        if (b >= 0xC0 && b < 0xE0 && i + 1 < text.size()) {
            ch = static_cast<char32_t>(((b & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F));
            length = 2;
        } else if (b >= 0xE0) {
            length = b >= 0xF0 ? 4 : 3;
            ch = 0xFFFD;
        }
        width += estimateAdvance(ch);
        i += length;
    }
    return width;
}

bool Page::IsByteTable(const std::vector<int>& data, std::size_t size)
{
    return data.size() == size && std::all_of(data.begin(), data.end(), [](int v) { return v >= 0 && v <= 0xFF; });
}

void Page::followEdit(Control& trackBar, const std::string& text)
{
    int value = 0;
    if (parseWholeNumber(text, value))
        change(trackBar, trackBar.position, std::clamp(value, trackBar.min, trackBar.max));
}

void Page::userText(const std::string& name, const std::string& text)
{
    noteUserEvent(name, text);
    if (Control* c = findMutable(name)) {
        // An edit's change event fires on every change of its text, also one to the same
        // text typed over; the handler decides what it means.
        c->text = text;
        touch(*c);
        handle(*c);
    }
}

void Page::userClick(const std::string& name)
{
    noteUserEvent();
    if (Control* c = findMutable(name)) {
        if (c->kind == ControlKind::Radio) {
            // A radio button is checked by its click; its siblings in the same group are not.
            for (Control& other : m_controls)
                if (other.kind == ControlKind::Radio && other.parent == c->parent && &other != c && other.checked) {
                    other.checked = false;
                    touch(other);
                }
            // Also a click on the selected one is stamped: its widget may have unticked itself,
            // and the frame must show it selected again.
            c->checked = true;
            touch(*c);
        }
        handle(*c);
    }
}

void Page::userChecked(const std::string& name, bool checked)
{
    noteUserEvent();
    if (Control* c = findMutable(name)) {
        if (c->checked == checked)
            return;
        c->checked = checked;
        touch(*c);
        handle(*c);
    }
}

void Page::userPosition(const std::string& name, int position)
{
    noteUserEvent();
    if (Control* c = findMutable(name)) {
        c->position = position < c->min ? c->min : (position > c->max ? c->max : position);
        touch(*c);
        handle(*c);
    }
}

void Page::userSelect(const std::string& name, int index)
{
    noteUserEvent();
    if (Control* c = findMutable(name)) {
        c->selected = index;
        touch(*c);
        handle(*c);
    }
}

void Page::userMouse(const std::string& name, MouseAction action, int x, int y)
{
    noteUserEvent();
    if (action != MouseAction::Move)
        m_mouseHeld = action == MouseAction::Press;
    if (Control* c = findMutable(name); c && c->mouseHandler)
        c->mouseHandler(*this, action, x, y);
}

bool Page::userLeave(const std::string& name)
{
    Control* c = findMutable(name);
    if (!c || c->kind != ControlKind::Edit || Updating || !m_context)
        return false;
    const std::optional<std::string> stored = storedText(*c);
    if (!stored || *stored == c->text)
        return false;
    showStored(*c, *stored);
    return true;
}

void Page::userFile(const std::string& name, const std::string& path)
{
    noteUserEvent();
    // A cancelled file dialog answers no path, and nothing happens.
    if (path.empty())
        return;
    if (Control* c = findMutable(name); c && c->fileHandler)
        c->fileHandler(*this, path);
}

std::string Page::partOfEntry(int entry) const
{
    for (const DataPart& part : dataParts())
        if (entry >= part.first && entry < part.first + part.count)
            return part.count > 1 ? part.name + "[" + std::to_string(entry - part.first) + "]" : part.name;
    return {};
}

Rect Page::rectOf(const std::string& name) const
{
    const Control* c = find(name);
    return c && c->geometry ? *c->geometry : Rect{};
}

} // namespace hz::pages
