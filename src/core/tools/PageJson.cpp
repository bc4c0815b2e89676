#include "core/tools/PageJson.h"

#include <ostream>
#include <string>

#include "core/tools/Json.h"
#include "core/firmware/HexText.h"

namespace hz::tools {

namespace {

using pages::Control;
using pages::ControlKind;

void writeControl(std::ostream& out, const Control& c)
{
    out << "{\"name\": " << jsonString(c.name) << ", \"kind\": " << jsonString(pages::controlKindName(c.kind))
        << ", \"visible\": " << (c.visible ? "true" : "false") << ", \"enabled\": " << (c.enabled ? "true" : "false");
    switch (c.kind) {
    case ControlKind::Label:
    case ControlKind::Button:
    case ControlKind::Group: out << ", \"caption\": " << jsonString(c.caption); break;
    case ControlKind::Check:
    case ControlKind::Radio:
        out << ", \"caption\": " << jsonString(c.caption) << ", \"checked\": " << (c.checked ? "true" : "false");
        break;
    case ControlKind::Edit:
        out << ", \"text\": " << jsonString(c.text);
        if (c.readOnly)
            out << ", \"readonly\": true";
        break;
    case ControlKind::TrackBar:
        out << ", \"position\": " << c.position << ", \"min\": " << c.min << ", \"max\": " << c.max;
        if (c.tickFrequency != 1)
            out << ", \"tick_frequency\": " << c.tickFrequency;
        break;
    case ControlKind::List: {
        out << ", \"items\": [";
        for (std::size_t k = 0; k < c.items.size(); ++k)
            out << (k ? ", " : "") << jsonString(c.items[k]);
        out << "], \"selected\": " << c.selected;
        break;
    }
    case ControlKind::Image: break;
    }
    if (c.fileDialog != pages::FileDialogKind::None)
        out << ", \"file_dialog\": " << (c.fileDialog == pages::FileDialogKind::Open ? "\"open\"" : "\"save\"")
            << ", \"file_filter\": " << jsonString(c.fileFilter) << ", \"file_suffix\": " << jsonString(c.fileSuffix);
    if (c.background)
        out << ", \"background\": "
            << jsonString(strprintf("#%02x%02x%02x", c.background->r, c.background->g, c.background->b));
    if (!c.hint.empty())
        out << ", \"hint\": " << jsonString(c.hint);
    if (c.geometry)
        out << ", \"geometry\": [" << c.geometry->left << ", " << c.geometry->top << ", " << c.geometry->width << ", "
            << c.geometry->height << "]";
    if (!c.parent.empty())
        out << ", \"parent\": " << jsonString(c.parent);
    out << "}";
}

} // namespace

void writeControlJson(std::ostream& out, const pages::Control& c) { writeControl(out, c); }

void writePagesJson(std::ostream& out, const Session& s, int indent)
{
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    const auto& shown = s.pages.shown();
    if (shown.empty()) {
        out << "[]";
        return;
    }
    out << "[";
    for (std::size_t p = 0; p < shown.size(); ++p) {
        out << (p ? "," : "") << "\n" << pad << "  ";
        writePageJson(out, *shown[p], indent + 2);
    }
    out << "\n" << pad << "]";
}

void writePageJson(std::ostream& out, const pages::Page& page, int indent)
{
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    out << "{\"frame\": " << jsonString(page.frameName()) << ", \"pending\": " << (page.hasPending() ? "true" : "false")
        << ",\n"
        << pad << " \"controls\": [";
    const auto& controls = page.controls();
    for (std::size_t k = 0; k < controls.size(); ++k) {
        out << (k ? "," : "") << "\n" << pad << "   ";
        writeControl(out, controls[k]);
    }
    out << "]";
    const std::vector<int> data = page.data();
    if (!data.empty()) {
        out << ",\n" << pad << " \"data\": [";
        for (std::size_t k = 0; k < data.size(); ++k)
            out << (k ? ", " : "") << data[k];
        out << "]";
    }
    out << "}";
}

} // namespace hz::tools
