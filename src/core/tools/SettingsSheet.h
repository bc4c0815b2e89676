#pragma once
// The settings sheet of one decoder: a page a user prints and files with the decoder, saying
// what firmware it carries and how it is set. Type, version, PIC and file; the address rows;
// every setting of the shown pages by caption and value; the curves and blink patterns as
// small pictures of the very drawing the pages paint on their canvas.
//
// The sheet is built from a loaded session as the window shows it (an unsaved state included,
// with a note saying so) and written as a self-contained HTML page: no style sheet, font or
// picture is fetched from anywhere, the pictures are inline SVG made from the canvas's pixels.
// The PDF and the printout lay out the same HTML (src/print).

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/Session.h"
#include "core/pages/common/Canvas.h"
#include "core/tools/RowReport.h"

namespace hz::tools {

struct SheetSetting {
    std::string caption, value;
};

struct SheetPicture {
    std::string caption;
    int width = 0, height = 0;
    pages::Drawing drawing;
};

struct SheetPage {
    std::string title;    // "Servokurven", "CV-Register"
    bool pending = false; // its working copy holds changes not yet taken over
    std::vector<SheetSetting> settings;
    std::vector<SheetPicture> pictures;
};

struct SettingsSheet {
    // The decoder: as the window's header and status bar name it.
    std::string type, version, pic, identifier, format, file;
    std::string printedOn; // "11.12.2026"
    std::string program;   // "HEX Zwirbel 0.9.0"
    bool unsaved = false;  // the state shown differs from every file
    std::vector<RowReport> rows;
    std::vector<SheetPage> pages;
};

// The sheet of what `s` shows. `file` names the file shown ("" for none, such as the standard
// input); the sheet prints it absolute, since a sheet filed away must say where the file was,
// not where it lay from the folder the sheet was made in. `printedOn` is the date printed on it.
SettingsSheet BuildSettingsSheet(const Session& s, const std::string& file, const std::string& printedOn);

// Today's local date as the sheet prints it: "11.12.2026".
std::string TodayText();

// "12F629", "16F684", "16F18324"; "" for 0 (no PIC known).
std::string PicName(int model);

// The pictures of a sheet in the order the HTML shows them.
std::vector<const SheetPicture*> SheetPictures(const SettingsSheet& sheet);

// The markup of picture number `index` (in the order of SheetPictures) inside the HTML page.
using PictureMarkup = std::function<std::string(std::size_t index, const SheetPicture& picture)>;

// The sheet as one self-contained HTML page, A4 portrait when printed. Without `picture` the
// pictures are inline SVG (PictureSvg).
std::string SheetHtml(const SettingsSheet& sheet, const PictureMarkup& picture = {});

// The pictures of the printed sheet are images the printing code hands in by number, at the
// size of their framed pixels: <img src="bild:3" width=".." height="..">.
inline constexpr const char* kSheetPictureScheme = "bild:";
std::string PrintPictureTag(std::size_t index, const SheetPicture& picture);

// A picture as the sheet prints it: the pixels the window paints for the drawing, inside a
// one-pixel grey frame, so that the white ground of a graph - a blink pattern's steps that are
// all off, the room after its last step - still shows where it begins and ends on white paper.
// (width + 2) x (height + 2) pixels, row by row. The HTML page and the printout both show these.
struct PicturePixels {
    int width = 0, height = 0;
    std::vector<pages::Colour> pixels;
};
inline constexpr pages::Colour kPictureFrame{0x80, 0x80, 0x80};
PicturePixels FramedPixels(const SheetPicture& picture);

// A picture as an SVG element of exactly its framed pixels: one path of one-pixel runs per
// colour on a white ground.
std::string PictureSvg(const SheetPicture& picture);

// Text made safe for HTML: & < > " escaped.
std::string HtmlEscaped(const std::string& text);

} // namespace hz::tools
