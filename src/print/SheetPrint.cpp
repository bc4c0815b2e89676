#include "print/SheetPrint.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QTextDocument>
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

void PrintSheet(QPagedPaintDevice& device, const QString& html, const QList<QImage>& pictures)
{
    QTextDocument doc;
    for (int k = 0; k < pictures.size(); ++k)
        doc.addResource(QTextDocument::ImageResource, QUrl(PictureUrl(k)), pictures[k]);
    doc.setHtml(html);
    doc.print(&device);
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
