#include "gui/app/SheetPrinting.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

#include "core/Session.h"
#include "core/firmware/FileSet.h"
#include "core/tools/SettingsSheet.h"
#include "gui/common/FileDialogs.h"
#include "gui/common/QtText.h"
#include "print/SheetPrint.h"

namespace hz::gui {

namespace {

struct Printable {
    QString html, title;
    QList<QImage> pictures;
};

Printable MakePrintable(const Session& session, const QString& file)
{
    const tools::SettingsSheet sheet = tools::BuildSettingsSheet(session, toPath(file), tools::TodayText());
    Printable p;
    p.html = fromStd(tools::SheetHtml(sheet, tools::PrintPictureTag));
    p.title = fromStd("Einstellungsblatt " + sheet.type);
    for (const tools::SheetPicture* picture : tools::SheetPictures(sheet)) {
        const std::vector<pages::Colour> px = pages::RenderDrawing(picture->width, picture->height, picture->drawing);
        p.pictures.append(
            print::PixelImage(picture->width, picture->height, reinterpret_cast<const unsigned char*>(px.data())));
    }
    return p;
}

} // namespace

void PrintSettingsSheet(Session& session, const QString& file, QWidget* parent, const PrintDialogFunction& dialog)
{
    QPrinter printer(QPrinter::HighResolution);
    print::SetSheetPage(printer);
    const Printable p = MakePrintable(session, file);
    printer.setDocName(p.title);
    const bool go = dialog ? dialog(printer, parent) : [&] {
        QPrintDialog ask(&printer, parent);
        ask.setWindowTitle(QStringLiteral("Einstellungsblatt drucken"));
        return ask.exec() == QDialog::Accepted;
    }();
    if (go)
        print::PrintSheet(printer, p.html, p.pictures);
}

bool SaveSettingsSheetPdf(Session& session, const QString& file, QWidget* parent, FileDialogs& dialogs)
{
    const QFileInfo info(file);
    const QString proposed = info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
    const QString target = dialogs.saveFile(parent, proposed, QStringLiteral("PDF|*.pdf"), QStringLiteral("pdf"));
    if (target.isEmpty())
        return false;
    const Printable p = MakePrintable(session, file);
    const QByteArray pdf = print::SheetPdf(p.html, p.pictures, p.title);
    // Never over the firmware file the sheet describes.
    return ReportWrite(
        writeContentAtomically(toPath(target), std::string(pdf.constData(), std::size_t(pdf.size())), {toPath(file)}),
        session.prompter());
}

} // namespace hz::gui
