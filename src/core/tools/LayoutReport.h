#pragma once
// The layout overview as a table: one line per address row (a decoder without rows gets one
// line of its own), the same columns in the window, in the CSV file and on the printable web
// page, so that what a user sorts on the screen is what the export holds.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/firmware/FileSet.h"
#include "core/tools/LayoutScan.h"

namespace hz::tools {

enum OverviewColumn : std::size_t {
    ColFile,
    ColType,
    ColVersion,
    ColPic,
    ColFormat,
    ColRow,
    ColCaption,
    ColAddress,
    ColState,
    ColFunction,
    ColDoubleUse,
    ColAlsoIn,
    kOverviewColumns
};

// The German column headings.
const std::array<const char*, kOverviewColumns>& OverviewHeadings();
// Whether a column holds numbers (sorted as numbers).
bool IsNumberColumn(std::size_t column);

struct OverviewLine {
    std::size_t decoder = 0;
    int row = -1; // index into the decoder's rows; -1 for a decoder without rows
    bool doubleUse = false;
    // The double use the line's row belongs to (index into LayoutScan::doubleUses); -1: none.
    int use = -1;
    // A row that holds no address (0, or a field that says nothing): it answers no command.
    // The first line of a decoder none of whose rows holds an address is not counted among
    // them, so that the decoder keeps a line where such rows are left out.
    bool noAddress = false;
    std::array<std::string, kOverviewColumns> cells;
};

std::vector<OverviewLine> OverviewLines(const LayoutScan& scan);

// A message of several lines (a reader message quotes the line it stopped at) as one line
// for a table cell or a list: every run of line breaks and blanks around them is one blank.
std::string OneLine(const std::string& text);

// "3 Dateien, 2 Dekoder geladen, 1 Adresse doppelt belegt, 1 Datei nicht geladen."
std::string OverviewSummary(const LayoutScan& scan);

// A double use in one line, as the web page lists it: "Mot-Zubehör 17 rot: a.hex – Zeile 1
// (Weiche); b.hex – Zeile 1 (Weiche)". `folder` ("layout/") is taken off the front of the
// file names that begin with it.
std::string DoubleUseLine(const DoubleUse& use, const std::string& folder = {});

// CSV for a spreadsheet: separated by ";" (what a German spreadsheet expects), UTF-8, lines
// ended by CR LF, every field quoted where it must be. The files that did not load follow as
// lines with their reason in a last column "Fehler".
std::string OverviewCsv(const LayoutScan& scan);

// One self-contained web page (no file or script from elsewhere): the summary, the double
// uses, the table (sortable by a click on a heading, double uses marked also in black and
// white print) and the files that did not load.
std::string OverviewHtml(const LayoutScan& scan);

// Writes a CSV or HTML text to `path` as every file of the program is written: whole or not
// at all (FileSet), and never over a file the scan found (a firmware file, or a file that did
// not load). Lines end in CR LF.
WriteResult WriteOverviewFile(const std::string& path, const std::string& text, const LayoutScan& scan);

} // namespace hz::tools
