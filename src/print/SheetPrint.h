#pragma once
// The settings sheet on paper: the sheet's HTML page (core/tools/SettingsSheet) laid out by
// QTextDocument onto a PDF writer or a printer, A4 portrait. Qt Gui only, no widgets: the
// command-line tool prints without a display through the module in SheetPdfModule.cpp, the
// window through the same functions.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

class QPagedPaintDevice;
class QTextDocument;

namespace hz::print {

// Where the sheet's HTML refers to picture number `index` (tools::PrintPictureTag): the
// document's resources are registered under it.
QString PictureUrl(int index);

// An image of `width` x `height` pixels given as RGB bytes, row by row (3 bytes a pixel): the
// pixels the core renders from a page's drawing, as the window paints them.
QImage PixelImage(int width, int height, const unsigned char* rgb);

// A4 portrait with 15 mm margins, as the sheet is meant to be filed.
void SetSheetPage(QPagedPaintDevice& device);

// Lays the sheet's HTML out with its pictures into `doc` for `device`, page by page: a caption
// and its picture are never parted by a page break (the paragraph that holds a picture starts
// on a new page when it would not end on the page it starts on), nor a heading from what it
// heads (it starts on the next page with it). Returns the height of a page
// in the document's units; the foot of every page below it is left for the page number.
qreal LayOutSheet(QTextDocument& doc, QPagedPaintDevice& device, const QString& html, const QList<QImage>& pictures);

// Lays out the sheet's HTML with its pictures on `device`, page after page, each page numbered.
void PrintSheet(QPagedPaintDevice& device, const QString& html, const QList<QImage>& pictures);

// The sheet as PDF bytes (A4 portrait); the title goes into the PDF's properties.
QByteArray SheetPdf(const QString& html, const QList<QImage>& pictures, const QString& title);

} // namespace hz::print
