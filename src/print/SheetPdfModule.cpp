// The PDF module of hexzwirbel-cli (see SheetPdfModule.h).

#include "print/SheetPdfModule.h"

#include <QGuiApplication>

#include <cstring>
#include <memory>

#include "print/SheetPrint.h"

extern "C" __attribute__((visibility("default"))) int hz_sheet_pdf(const HzSheetPdfInput* input, HzSheetPdfSink sink,
                                                                   void* context)
{
    auto fail = [&](const char* why) {
        sink(context, why, std::strlen(why));
        return 1;
    };
    if (!input || !input->html)
        return fail("Das Blatt ist leer.");
    // Fonts need a running Qt application. The tool never has a window: the "offscreen"
    // platform lays out text without a display, whatever the environment asks for.
    // Qt's own remarks (a missing runtime folder, font fallbacks) are no business of a batch
    // tool's user: its messages have one shape, and a failure is told by the result.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    std::unique_ptr<QGuiApplication> app;
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "hexzwirbel-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    QList<QImage> pictures;
    for (size_t k = 0; k < input->count; ++k) {
        const HzSheetPicture& p = input->pictures[k];
        pictures.append(hz::print::PixelImage(p.width, p.height, p.rgb));
    }
    const QByteArray pdf = hz::print::SheetPdf(QString::fromUtf8(input->html), pictures,
                                               QString::fromUtf8(input->title ? input->title : ""));
    if (pdf.isEmpty())
        return fail("Das PDF konnte nicht angelegt werden.");
    sink(context, pdf.constData(), static_cast<size_t>(pdf.size()));
    return 0;
}
