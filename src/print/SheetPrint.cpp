#include "print/SheetPrint.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

#include "core/tools/SettingsSheet.h"

namespace hz::print {

QString PictureUrl(int index) { return QString::fromLatin1(tools::kSheetPictureScheme) + QString::number(index); }

QImage PixelImage(int width, int height, const unsigned char* rgb)
{
    QImage img(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const unsigned char* p = rgb + std::size_t(y) * std::size_t(img.width()) * 3;
        for (int x = 0; x < img.width(); ++x, p += 3)
            line[x] = qRgb(p[0], p[1], p[2]);
    }
    return img;
}

void SetSheetPage(QPagedPaintDevice& device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                     QPageLayout::Millimeter));
}

namespace {

// Whether the paragraph holds a picture.
bool HoldsPicture(const QTextBlock& block)
{
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            return true;
    return false;
}

// The foot of a page, where its number stands: one line of the number's font.
QFont FootFont() { return QFont(QStringLiteral("Sans Serif"), 8); }

} // namespace

qreal LayOutSheet(QTextDocument& doc, QPagedPaintDevice& device, const QString& html, const QList<QImage>& pictures)
{
    for (int k = 0; k < pictures.size(); ++k)
        doc.addResource(QTextDocument::ImageResource, QUrl(PictureUrl(k)), pictures[k]);
    doc.setHtml(html);
    // Laid out in the device's own pixels, fonts measured on it, as it prints.
    doc.documentLayout()->setPaintDevice(&device);
    QTextFrameFormat root = doc.rootFrame()->frameFormat();
    root.setMargin(0);
    doc.rootFrame()->setFrameFormat(root);
    const qreal foot = 2 * QFontMetricsF(FootFont(), &device).height();
    const qreal pageHeight = device.height() - foot;
    doc.setPageSize(QSizeF(device.width(), pageHeight));
    // Top to bottom, so that each break moves only what follows it.
    auto pageOf = [&](qreal y) { return int(y / pageHeight); };
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QRectF r = doc.documentLayout()->blockBoundingRect(block);
        bool move = false;
        if (HoldsPicture(block)) {
            // A caption and its picture, parted.
            move = pageOf(r.top()) != pageOf(r.bottom() - 1) && r.height() <= pageHeight;
        } else if (block.blockFormat().headingLevel() > 0 && block.next().isValid()) {
            // A heading alone at the foot of a page, what it heads on the next.
            move = pageOf(doc.documentLayout()->blockBoundingRect(block.next()).top()) > pageOf(r.top());
        }
        if (!move || pageOf(r.top()) * pageHeight == r.top())
            continue;
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
        // Laid out anew from the top: after a format change the layout alone may leave the
        // paragraphs at the end out (the sheet's foot line went missing).
        doc.markContentsDirty(0, doc.characterCount());
    }
    return pageHeight;
}

void PrintSheet(QPagedPaintDevice& device, const QString& html, const QList<QImage>& pictures)
{
    QTextDocument doc;
    const qreal pageHeight = LayOutSheet(doc, device, html, pictures);
    const int pages = doc.pageCount();
    QPainter painter(&device);
    for (int k = 0; k < pages; ++k) {
        if (k > 0)
            device.newPage();
        painter.save();
        const QRectF page(0, k * pageHeight, device.width(), pageHeight);
        painter.translate(0, -page.top());
        painter.setClipRect(page);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = page;
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setFont(FootFont());
        painter.setPen(QColor(0x40, 0x40, 0x40));
        painter.drawText(QRectF(0, pageHeight, device.width(), device.height() - pageHeight),
                         Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Seite %1 von %2").arg(k + 1).arg(pages));
    }
}

QByteArray SheetPdf(const QString& html, const QList<QImage>& pictures, const QString& title)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("HEX Zwirbel"));
        SetSheetPage(pdf);
        PrintSheet(pdf, html, pictures);
    }
    return bytes;
}

} // namespace hz::print
