#include "core/tools/SettingsSheet.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>

#include "core/Version.h"
#include "core/firmware/HexText.h"
#include "core/platform/Platform.h"
#include "core/tools/PageValues.h"
#include "core/tools/SettingsDiff.h"

namespace hz::tools {

namespace {

using pages::Control;
using pages::ControlKind;

std::string Trimmed(std::string caption)
{
    // Captions end in a colon on the page ("Anzahl Punkte:") or in dots ("Parameter für ..."); the
    // sheet has its own column.
    while (!caption.empty() && (caption.back() == ':' || caption.back() == '.' || caption.back() == ' '))
        caption.pop_back();
    return caption;
}

// The caption of the group a radio button sits in ("Funktion für Taster SW1"); "" when none.
std::string GroupCaption(const pages::Page& page, const Control& c)
{
    const Control* group = c.parent.empty() ? nullptr : page.find(c.parent);
    return group ? Trimmed(group->caption) : std::string();
}

SheetPage ReadPage(const pages::Page& page)
{
    SheetPage out;
    out.title = PageTitle(page.objectName());
    out.pending = page.hasPending();
    for (const Control& c : page.controls()) {
        if (!ControlShown(page, c))
            continue;
        if (c.kind == ControlKind::Image) {
            if (c.geometry)
                out.pictures.push_back({SettingName(page, c), c.geometry->width, c.geometry->height, c.drawing});
            continue;
        }
        // The sheet records the decoder: what chooses the shown part, or draws the graph's
        // grid, is the editor's; the values of the shown part stand with every part's picture.
        if (!HoldsSetting(c) || c.valueOf != pages::ValueOf::Decoder)
            continue;
        if (c.kind == ControlKind::Radio) {
            // Of a group of radio buttons only the chosen one says something: the group's
            // caption and the button's.
            if (!c.checked)
                continue;
            const std::string group = GroupCaption(page, c);
            out.settings.push_back({group.empty() ? std::string("Auswahl") : group, Trimmed(c.caption)});
            continue;
        }
        // An edit the page limits prints the number the page stored, which the file will hold,
        // not the one still typed in the field (a count typed as 150 is kept as 100).
        std::string value =
            c.kind == ControlKind::Check ? (c.checked ? "ja" : "nein") : page.storedText(c).value_or(SettingText(c));
        if (value.empty())
            value = "–";
        out.settings.push_back({SettingName(page, c), value});
    }
    const std::vector<pages::PagePicture> all = page.sheetPictures();
    if (!all.empty()) {
        out.pictures.clear();
        for (const pages::PagePicture& p : all)
            out.pictures.push_back({p.caption, p.width, p.height, p.drawing});
    }
    return out;
}

std::string HexColour(const pages::Colour& c) { return strprintf("#%02x%02x%02x", c.r, c.g, c.b); }

} // namespace

std::string PicName(int model)
{
    if (model <= 0)
        return {};
    return (model == 629 ? "12F" : "16F") + std::to_string(model);
}

std::string TodayText()
{
    const std::tm local = platform::LocalTime(std::time(nullptr));
    return strprintf("%02d.%02d.%04d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900);
}

SettingsSheet BuildSettingsSheet(const Session& s, const std::string& file, const std::string& printedOn)
{
    SettingsSheet sheet;
    const DecoderSummary d = Summarise(s);
    sheet.type = TypeText(d);
    sheet.version = d.version;
    sheet.pic = PicName(d.pic);
    sheet.identifier = strprintf("0x%X", static_cast<unsigned>(d.identifier));
    sheet.format = d.format;
    if (!file.empty()) {
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
        sheet.file = DisplayName(ec ? file : absolute.lexically_normal().string());
    }
    sheet.printedOn = printedOn;
    sheet.program = std::string("HEX Zwirbel ") + kProgramVersion;
    sheet.unsaved = s.HasUnsavedChanges();
    sheet.rows = rowReports(s);
    for (const pages::Page* page : s.pages.shown())
        sheet.pages.push_back(ReadPage(*page));
    return sheet;
}

std::vector<const SheetPicture*> SheetPictures(const SettingsSheet& sheet)
{
    std::vector<const SheetPicture*> out;
    for (const SheetPage& page : sheet.pages)
        for (const SheetPicture& p : page.pictures)
            out.push_back(&p);
    return out;
}

std::string HtmlEscaped(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += ch;
        }
    }
    return out;
}

PicturePixels FramedPixels(const SheetPicture& picture)
{
    const int w = std::max(picture.width, 0), h = std::max(picture.height, 0);
    const std::vector<pages::Colour> inner = pages::RenderDrawing(w, h, picture.drawing);
    PicturePixels out{w + 2, h + 2, std::vector<pages::Colour>(std::size_t(w + 2) * std::size_t(h + 2), kPictureFrame)};
    for (int y = 0; y < h; ++y)
        std::copy_n(inner.begin() + std::ptrdiff_t(y) * w, w,
                    out.pixels.begin() + std::ptrdiff_t(y + 1) * out.width + 1);
    return out;
}

std::string PictureSvg(const SheetPicture& picture)
{
    const PicturePixels framed = FramedPixels(picture);
    const int w = framed.width, h = framed.height;
    const std::vector<pages::Colour>& px = framed.pixels;
    // Runs of one colour along each pixel row, gathered per colour into one path.
    std::vector<std::pair<pages::Colour, std::string>> paths;
    auto pathOf = [&paths](const pages::Colour& c) -> std::string& {
        for (auto& [colour, d] : paths)
            if (colour == c)
                return d;
        paths.emplace_back(c, std::string());
        return paths.back().second;
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w;) {
            const pages::Colour c = px[std::size_t(y) * std::size_t(w) + std::size_t(x)];
            int end = x + 1;
            while (end < w && px[std::size_t(y) * std::size_t(w) + std::size_t(end)] == c)
                ++end;
            if (!(c == pages::colours::White))
                pathOf(c) += strprintf("M%d %dh%dv1h-%dz", x, y, end - x, end - x);
            x = end;
        }
    }
    std::string svg = strprintf("<svg width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" shape-rendering=\"crispEdges\" "
                                "role=\"img\" aria-label=\"%s\"><rect width=\"%d\" height=\"%d\" fill=\"#ffffff\"/>",
                                w, h, w, h, HtmlEscaped(picture.caption).c_str(), w, h);
    for (const auto& [colour, d] : paths)
        svg += "<path fill=\"" + HexColour(colour) + "\" d=\"" + d + "\"/>";
    return svg + "</svg>";
}

std::string PrintPictureTag(std::size_t index, const SheetPicture& picture)
{
    // The frame adds a pixel on every side (FramedPixels).
    return strprintf("<img src=\"%s%zu\" width=\"%d\" height=\"%d\">", kSheetPictureScheme, index,
                     std::max(picture.width, 0) + 2, std::max(picture.height, 0) + 2);
}

std::string SheetHtml(const SettingsSheet& sheet, const PictureMarkup& picture)
{
    const PictureMarkup markup = picture ? picture : [](std::size_t, const SheetPicture& p) { return PictureSvg(p); };
    auto e = HtmlEscaped;
    std::string h;
    h += "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n";
    h += "<title>Einstellungsblatt " + e(sheet.type) + "</title>\n";
    h += "<style>\n"
         "@page { size: A4 portrait; margin: 15mm; }\n"
         "body { font-family: sans-serif; font-size: 10pt; color: #000000; }\n"
         // Margins in px: QTextDocument, which lays the page out for printing, ignores them in pt.
         "h1 { font-size: 16pt; margin-top: 0; margin-bottom: 8px; }\n"
         "h2 { font-size: 12pt; margin-top: 16px; margin-bottom: 5px; }\n"
         "table { border-collapse: collapse; }\n"
         "th, td { border: 1px solid #808080; padding: 2px 6px; text-align: left; vertical-align: top; }\n"
         "th { background-color: #e8e8e8; }\n"
         "table.facts th { width: 30mm; }\n"
         "p.note { font-weight: bold; color: #b00000; }\n"
         "p.picture { margin-top: 8px; margin-bottom: 3px; page-break-inside: avoid; break-inside: avoid; }\n"
         "svg { max-width: 100%; height: auto; }\n"
         "p.footer { margin-top: 19px; font-size: 8pt; color: #404040; }\n"
         "</style>\n</head>\n<body>\n";
    h += "<h1>Einstellungsblatt</h1>\n";
    if (sheet.unsaved)
        h += "<p class=\"note\">Noch nicht gespeichert: Dieses Blatt zeigt Einstellungen, die in keiner Datei "
             "stehen. Erst nach dem Speichern gehört es zu einer Datei.</p>\n";

    h += "<table class=\"facts\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n";
    auto fact = [&](const char* caption, const std::string& value) {
        h += std::string("<tr><th>") + caption + "</th><td>" + e(value.empty() ? "–" : value) + "</td></tr>\n";
    };
    fact("Typ", sheet.type);
    fact("Version", sheet.version);
    fact("PIC", sheet.pic);
    fact("Kennung", sheet.identifier);
    fact("Adressformat", sheet.format);
    fact("Datei", sheet.file);
    h += "</table>\n";

    if (!sheet.rows.empty()) {
        bool state = false, function = false;
        for (const RowReport& r : sheet.rows) {
            state = state || !r.state.empty();
            function = function || !r.function.empty();
        }
        h += "<h2>Adressen</h2>\n<table class=\"rows\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n";
        h += "<tr><th>Zeile</th><th>Bezeichnung</th><th>Adresse</th>";
        h += state ? "<th>Rot/Grün</th>" : "";
        h += function ? "<th>Funktion</th>" : "";
        h += "</tr>\n";
        for (const RowReport& r : sheet.rows) {
            h += "<tr><td>" + std::to_string(r.row) + "</td><td>" + e(r.caption) + "</td><td>" +
                 e(r.address.empty() ? "–" : r.address) + "</td>";
            if (state)
                h += std::string("<td>") + (r.state == "green" ? "grün" : r.state == "red" ? "rot" : "–") + "</td>";
            if (function)
                h += "<td>" + e(r.function.empty() || r.function == "null" ? "–" : r.function) + "</td>";
            h += "</tr>\n";
        }
        h += "</table>\n";
    }

    std::size_t index = 0;
    for (const SheetPage& page : sheet.pages) {
        h += "<h2>" + e(page.title) + "</h2>\n";
        if (page.pending)
            h += "<p class=\"note\">Auf dieser Seite sind Änderungen noch nicht übernommen; das Blatt zeigt sie, "
                 "wie die Seite sie zeigt.</p>\n";
        if (!page.settings.empty()) {
            h += "<table class=\"settings\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n";
            h += "<tr><th>Einstellung</th><th>Wert</th></tr>\n";
            for (const SheetSetting& s : page.settings)
                h += "<tr><td>" + e(s.caption) + "</td><td>" + e(s.value) + "</td></tr>\n";
            h += "</table>\n";
        }
        for (const SheetPicture& p : page.pictures) {
            // A picture of nothing (no output used) is its caption alone.
            const bool drawn = p.width > 0 && p.height > 0;
            h += "<p class=\"picture\">" + e(p.caption) + (drawn ? "<br>\n" + markup(index, p) : std::string()) +
                 "</p>\n";
            ++index;
        }
    }
    h += "<p class=\"footer\">Gedruckt am " + e(sheet.printedOn) + " mit " + e(sheet.program) + "</p>\n";
    h += "</body>\n</html>\n";
    return h;
}

} // namespace hz::tools
