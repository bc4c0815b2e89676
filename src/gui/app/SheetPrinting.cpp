#include "gui/app/SheetPrinting.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

#include "core/editor/Editor.h"
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

Printable MakePrintable(const Editor& editor)
{
    const tools::SettingsSheet sheet = editor.settingsSheet();
    Printable p;
    p.html = fromStd(tools::SheetHtml(sheet, tools::PrintPictureTag));
    p.title = fromStd("Einstellungsblatt " + sheet.type);
    for (const tools::SheetPicture* picture : tools::SheetPictures(sheet)) {
        const tools::PicturePixels px = tools::FramedPixels(*picture);
        p.pictures.append(
            print::PixelImage(px.width, px.height, reinterpret_cast<const unsigned char*>(px.pixels.data())));
    }
    return p;
}

} // namespace

void PrintSettingsSheet(const Editor& editor, QWidget* parent, const PrintDialogFunction& dialog)
{
    QPrinter printer(QPrinter::HighResolution);
    print::SetSheetPage(printer);
    const Printable p = MakePrintable(editor);
    printer.setDocName(p.title);
    const bool go = dialog ? dialog(printer, parent) : [&] {
        QPrintDialog ask(&printer, parent);
        ask.setWindowTitle(QStringLiteral("Einstellungsblatt drucken"));
        return ask.exec() == QDialog::Accepted;
    }();
    if (go)
        print::PrintSheet(printer, p.html, p.pictures);
}

bool SaveSettingsSheetPdf(Editor& editor, QWidget* parent, FileDialogs& dialogs)
{
    const QString file = fromPath(editor.file());
    const QFileInfo info(file);
    const QString proposed = info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
    const QString target = dialogs.saveFile(parent, proposed, QStringLiteral("PDF|*.pdf"), QStringLiteral("pdf"));
    if (target.isEmpty())
        return false;
    const Printable p = MakePrintable(editor);
    const QByteArray pdf = print::SheetPdf(p.html, p.pictures, p.title);
    // Never over the firmware file the sheet describes.
    return ReportWrite(
        writeContentAtomically(toPath(target), std::string(pdf.constData(), std::size_t(pdf.size())), {toPath(file)}),
        editor.session().prompter());
}

} // namespace hz::gui
