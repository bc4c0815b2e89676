#include "core/tools/LayoutReport.h"

#include <algorithm>
#include <limits>

#include "core/Utf8Text.h"
#include "core/firmware/HexText.h"
#include "core/firmware/TextFile.h"

namespace hz::tools {

const std::array<const char*, kOverviewColumns>& OverviewHeadings()
{
    static const std::array<const char*, kOverviewColumns> headings{"Datei",  "Typ",      "Version",        "PIC",
                                                                    "Format", "Zeile",    "Bezeichnung",    "Adresse",
                                                                    "R/G",    "Funktion", "Doppelt belegt", "Auch in"};
    return headings;
}

bool IsNumberColumn(std::size_t column)
{
    return column == ColPic || column == ColRow || column == ColAddress || column == ColFunction;
}

namespace {

std::string plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "b.hex: Weiche 1" for every other row of the double uses a row belongs to.
std::string alsoIn(const LayoutScan& scan, std::size_t decoder, const ScannedRow& row)
{
    std::string text;
    for (const DoubleUse& use : scan.doubleUses) {
        const bool mine = std::any_of(use.uses.begin(), use.uses.end(), [&](const DoubleUse::Use& u) {
            return u.decoder == decoder && u.row == row.row;
        });
        if (!mine)
            continue;
        for (const DoubleUse::Use& u : use.uses) {
            if (u.decoder == decoder && u.row == row.row)
                continue;
            if (!text.empty())
                text += ", ";
            text += (u.decoder == decoder ? std::string("hier") : DisplayName(u.file)) + ": " + u.caption;
        }
    }
    return text;
}

// The index of the double use a row belongs to; -1 when none.
int useOf(const LayoutScan& scan, std::size_t decoder, const ScannedRow& row)
{
    for (std::size_t k = 0; k < scan.doubleUses.size(); ++k)
        for (const DoubleUse::Use& u : scan.doubleUses[k].uses)
            if (u.decoder == decoder && u.row == row.row)
                return static_cast<int>(k);
    return -1;
}

std::string csvField(const std::string& raw)
{
    const std::string text = ValidUtf8(raw);
    if (text.find_first_of(";\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string html(const std::string& raw)
{
    std::string out;
    for (const char c : ValidUtf8(raw)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        case '\n': out += "<br>"; break;
        case '\r': break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

std::string OneLine(const std::string& text)
{
    std::string line;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '\n' && text[i] != '\r') {
            line += text[i++];
            continue;
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        while (i < text.size() && (text[i] == '\n' || text[i] == '\r' || text[i] == ' '))
            ++i;
        if (!line.empty() && i < text.size())
            line += ' ';
    }
    return line;
}

std::vector<OverviewLine> OverviewLines(const LayoutScan& scan)
{
    std::vector<OverviewLine> lines;
    for (std::size_t d = 0; d < scan.decoders.size(); ++d) {
        const ScannedDecoder& dec = scan.decoders[d];
        OverviewLine head;
        head.decoder = d;
        head.cells[ColFile] = dec.file;
        head.cells[ColType] = dec.type.empty() ? strprintf("(nicht erkannt: Kennung 0x%X)", dec.identifier) : dec.type;
        head.cells[ColVersion] = dec.version;
        head.cells[ColPic] = dec.pic ? std::to_string(dec.pic) : std::string();
        head.cells[ColFormat] = dec.format;
        if (!dec.unchecked.empty())
            head.cells[ColDoubleUse] = std::string(kAddressNotChecked) + ": " + dec.unchecked;
        if (dec.rows.empty()) {
            lines.push_back(head);
            continue;
        }
        auto holdsAddress = [](const ScannedRow& row) { return row.address && *row.address != 0; };
        const bool anyAddress = std::any_of(dec.rows.begin(), dec.rows.end(), holdsAddress);
        for (std::size_t r = 0; r < dec.rows.size(); ++r) {
            const ScannedRow& row = dec.rows[r];
            OverviewLine line = head;
            line.row = static_cast<int>(r);
            line.doubleUse = row.doubleUse;
            line.noAddress = !holdsAddress(row) && (anyAddress || r > 0);
            line.cells[ColRow] = row.row > 0 ? std::to_string(row.row) : std::string();
            line.cells[ColCaption] = row.caption;
            line.cells[ColAddress] = row.addressText;
            line.cells[ColState] = row.state == "green" ? "grün" : row.state == "red" ? "rot" : "";
            line.cells[ColFunction] = row.function ? std::to_string(*row.function) : std::string();
            if (row.doubleUse) {
                line.use = useOf(scan, d, row);
                if (line.use >= 0)
                    line.cells[ColDoubleUse] = CommandText(scan.doubleUses[static_cast<std::size_t>(line.use)]);
                line.cells[ColAlsoIn] = alsoIn(scan, d, row);
            }
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

std::string OverviewSummary(const LayoutScan& scan)
{
    std::string text = plural(scan.filesFound, "Datei", "Dateien") + ", " +
                       plural(scan.decoders.size(), "Dekoder", "Dekoder") + " geladen, " +
                       plural(scan.doubleUses.size(), "Adresse", "Adressen") + " doppelt belegt";
    const auto unchecked = static_cast<std::size_t>(std::count_if(
        scan.decoders.begin(), scan.decoders.end(), [](const ScannedDecoder& d) { return !d.unchecked.empty(); }));
    if (unchecked > 0)
        text += ", " + std::string(kAddressNotChecked) + " bei " + plural(unchecked, "Dekoder", "Dekodern");
    if (!scan.errors.empty())
        text += ", " + plural(scan.errors.size(), "Eintrag", "Einträge") + " nicht geladen oder übersprungen";
    const auto unreadable = static_cast<std::size_t>(
        std::count_if(scan.errors.begin(), scan.errors.end(), [](const ScanError& e) { return e.unreadable; }));
    if (unreadable > 0)
        text += ", davon " + std::to_string(unreadable) + " nicht lesbar: die Übersicht ist unvollständig";
    if (scan.cancelled)
        text += ", abgebrochen";
    return text + ".";
}

std::string DoubleUseLine(const DoubleUse& use, const std::string& folder)
{
    std::string line = CommandText(use) + ": ";
    for (std::size_t k = 0; k < use.uses.size(); ++k) {
        const std::string& file = use.uses[k].file;
        const bool below = !folder.empty() && file.size() > folder.size() && file.rfind(folder, 0) == 0;
        line +=
            (k ? "; " : "") + DisplayName(below ? file.substr(folder.size()) : file) + " – " + UsePlace(use.uses[k]);
    }
    return line;
}

std::string OverviewCsv(const LayoutScan& scan)
{
    std::string out;
    auto line = [&](const std::array<std::string, kOverviewColumns>& cells, const std::string& error) {
        // The file cell stays the name itself (the window opens the file from it); it is shown.
        for (std::size_t c = 0; c < kOverviewColumns; ++c)
            out += csvField(c == ColFile ? DisplayName(cells[c]) : cells[c]) + ";";
        out += csvField(error) + "\r\n";
    };
    std::array<std::string, kOverviewColumns> headings;
    for (std::size_t c = 0; c < kOverviewColumns; ++c)
        headings[c] = OverviewHeadings()[c];
    line(headings, "Fehler");
    for (const OverviewLine& l : OverviewLines(scan))
        line(l.cells, "");
    for (const ScanError& e : scan.errors) {
        std::array<std::string, kOverviewColumns> cells;
        cells[ColFile] = e.file;
        line(cells, OneLine(e.reason));
    }
    return out;
}

std::string OverviewHtml(const LayoutScan& scan)
{
    std::string out;
    out += "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<title>Anlagen-Übersicht</title>\n<style>\n"
           "body { font-family: sans-serif; font-size: 10pt; margin: 1.5em; }\n"
           "h1 { font-size: 16pt; } h2 { font-size: 12pt; margin-top: 1.5em; }\n"
           "table { border-collapse: collapse; }\n"
           "th, td { border: 1px solid #999; padding: 2px 6px; text-align: left; vertical-align: top; }\n"
           "th { background: #e8e8e8; cursor: pointer; user-select: none; }\n"
           "th.num, td.num { text-align: right; }\n"
           "th[aria-sort=ascending]::after { content: \" \\25B2\"; }\n"
           "th[aria-sort=descending]::after { content: \" \\25BC\"; }\n"
           "tr.doppelt td { background: #ffd8a8; font-weight: bold; }\n"
           "tr.doppelt td:first-child::before { content: \"\\26A0  \"; }\n"
           ".fehler { color: #a00000; }\n"
           "@media print { th { cursor: auto; } tr { break-inside: avoid; } "
           "tr.doppelt td { -webkit-print-color-adjust: exact; print-color-adjust: exact; } }\n"
           "</style>\n</head>\n<body>\n<h1>Anlagen-Übersicht</h1>\n";
    out += "<p>" + html(OverviewSummary(scan)) + "</p>\n";

    if (!scan.doubleUses.empty()) {
        out += "<h2>Doppelt belegte Adressen</h2>\n<p>Diese Befehle schalten mehr als einen Ausgang. Ist das nicht "
               "gewollt, bekommt einer davon eine eigene Adresse.</p>\n<ul>\n";
        for (const DoubleUse& use : scan.doubleUses) {
            out += "<li><b>" + html(CommandText(use)) + "</b>: ";
            for (std::size_t k = 0; k < use.uses.size(); ++k)
                out +=
                    (k ? "; " : "") + html(DisplayName(use.uses[k].file)) + " &ndash; " + html(UsePlace(use.uses[k]));
            out += "</li>\n";
        }
        out += "</ul>\n";
    }

    if (std::any_of(scan.decoders.begin(), scan.decoders.end(),
                    [](const ScannedDecoder& d) { return !d.unchecked.empty(); })) {
        out += "<h2>" + html(kAddressNotChecked) +
               "</h2>\n<p>Bei diesen Dekodern kennt die Übersicht die Adresse nicht; ob sie doppelt belegt ist, "
               "bleibt offen.</p>\n<ul>\n";
        for (const ScannedDecoder& d : scan.decoders)
            if (!d.unchecked.empty())
                out += "<li><b>" + html(d.file) + "</b>: " + html(d.unchecked) + "</li>\n";
        out += "</ul>\n";
    }

    out += "<h2>Dekoder und Adressen</h2>\n<table id=\"uebersicht\">\n<thead><tr>";
    for (std::size_t c = 0; c < kOverviewColumns; ++c)
        out += std::string("<th") + (IsNumberColumn(c) ? " class=\"num\"" : "") + ">" + html(OverviewHeadings()[c]) +
               "</th>";
    out += "</tr></thead>\n<tbody>\n";
    for (const OverviewLine& l : OverviewLines(scan)) {
        out += l.doubleUse ? "<tr class=\"doppelt\">" : "<tr>";
        for (std::size_t c = 0; c < kOverviewColumns; ++c)
            out += std::string("<td") + (IsNumberColumn(c) ? " class=\"num\"" : "") + ">" +
                   html(c == ColFile ? DisplayName(l.cells[c]) : l.cells[c]) + "</td>";
        out += "</tr>\n";
    }
    out += "</tbody>\n</table>\n";

    if (!scan.errors.empty()) {
        out += "<h2>Nicht geladen oder übersprungen</h2>\n<table>\n<thead><tr><th>Datei</th><th>Grund</th></tr>"
               "</thead>\n<tbody>\n";
        for (const ScanError& e : scan.errors)
            out +=
                "<tr><td>" + html(DisplayName(e.file)) + "</td><td class=\"fehler\">" + html(e.reason) + "</td></tr>\n";
        out += "</tbody>\n</table>\n";
    }

    // Sorting by a click on a heading; numbers as numbers, texts in German order. The page
    // works without it (printing, a mail program that blocks scripts).
    out += "<script>\n"
           "(function () {\n"
           "  var table = document.getElementById('uebersicht');\n"
           "  var heads = table.tHead.rows[0].cells;\n"
           "  var collator = new Intl.Collator('de', {numeric: true});\n"
           "  Array.prototype.forEach.call(heads, function (th, column) {\n"
           "    th.addEventListener('click', function () {\n"
           "      var up = th.getAttribute('aria-sort') !== 'ascending';\n"
           "      Array.prototype.forEach.call(heads, function (h) { h.removeAttribute('aria-sort'); });\n"
           "      th.setAttribute('aria-sort', up ? 'ascending' : 'descending');\n"
           "      var body = table.tBodies[0];\n"
           "      var rows = Array.prototype.slice.call(body.rows);\n"
           "      var numeric = th.classList.contains('num');\n"
           "      rows.sort(function (a, b) {\n"
           "        var x = a.cells[column].textContent, y = b.cells[column].textContent, d;\n"
           "        if (numeric && x !== '' && y !== '') d = Number(x) - Number(y);\n"
           "        else if (numeric && (x === '' || y === '')) d = (x === '') - (y === '');\n"
           "        else d = collator.compare(x, y);\n"
           "        return up ? d : -d;\n"
           "      });\n"
           "      rows.forEach(function (r) { body.appendChild(r); });\n"
           "    });\n"
           "  });\n"
           "})();\n"
           "</script>\n</body>\n</html>\n";
    return out;
}

WriteResult WriteOverviewFile(const std::string& path, const std::string& text, const LayoutScan& scan)
{
    constexpr std::size_t kAll = std::numeric_limits<std::size_t>::max();
    FileSet file;
    for (const ScannedDecoder& d : scan.decoders)
        file.keepIntact(d.file);
    for (const ScanError& e : scan.errors)
        file.keepIntact(e.file);
    file.add(path, splitLines(text, kAll, nullptr, kAll));
    return file.commit();
}

} // namespace hz::tools
