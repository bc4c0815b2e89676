// sheet FILE [--html OUT] [--pdf OUT]: the settings sheet of a decoder, to print and file with
// it. HTML needs nothing but the core; the PDF is laid out by Qt in a module that only this
// path loads, so the tool's other commands start without Qt.

#include <dlfcn.h>
#include <unistd.h>

#include <ostream>
#include <vector>

#include "cli/BatchLoad.h"
#include "cli/Command.h"
#include "core/firmware/FileSet.h"
#include "core/platform/Platform.h"
#include "core/tools/SettingsSheet.h"
#include "print/SheetPdfModule.h"

#ifndef HZ_SHEET_PDF_MODULE_DIR
#define HZ_SHEET_PDF_MODULE_DIR "../lib/hexzwirbel"
#endif

namespace hz::cli {

namespace {

constexpr const char* kModuleName = "hexzwirbel-sheet-pdf.so";

// The folder of the running program.
std::string ProgramFolder()
{
    const std::string exe = platform::ProgramPath();
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string(".") : exe.substr(0, slash);
}

using PdfFunction = int (*)(const HzSheetPdfInput*, HzSheetPdfSink, void*);

// The module beside the program (the build tree) or in the modules folder of the program's
// library folder (installed; a folder of its own, so that the package runs no ldconfig for a
// library nobody else links). The module stays loaded until the program ends: Qt does not take well to being
// unloaded.
PdfFunction LoadPdfModule(std::string& why)
{
    if (!platform::LoadsModules()) {
        why = "Das PDF entsteht mit dem Druckmodul von Qt, das es in der WebAssembly-Fassung nicht gibt.";
        return nullptr;
    }
    const std::string folder = ProgramFolder();
    for (const std::string& path :
         {folder + "/" + kModuleName, folder + "/" + HZ_SHEET_PDF_MODULE_DIR + "/modules/" + kModuleName}) {
        if (access(path.c_str(), R_OK) != 0)
            continue;
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            const char* e = dlerror();
            why = "Das PDF-Modul " + path + " lässt sich nicht laden: " + (e ? e : "unbekannter Grund");
            return nullptr;
        }
        if (auto* f = reinterpret_cast<PdfFunction>(dlsym(module, HZ_SHEET_PDF_FUNCTION)))
            return f;
        why = "Das PDF-Modul " + path + " ist unvollständig.";
        return nullptr;
    }
    why = std::string("Das PDF-Modul ") + kModuleName + " fehlt neben dem Programm; ohne es gibt es kein PDF.";
    return nullptr;
}

// The sheet as PDF bytes; false with the reason in `result`.
bool SheetPdf(const tools::SettingsSheet& sheet, std::string& result)
{
    PdfFunction pdf = LoadPdfModule(result);
    if (!pdf)
        return false;
    // The pictures as the sheet prints them, referred to by number in the page.
    static_assert(sizeof(pages::Colour) == 3, "the module takes 3 bytes a pixel");
    std::vector<tools::PicturePixels> pixels;
    for (const tools::SheetPicture* p : tools::SheetPictures(sheet))
        pixels.push_back(tools::FramedPixels(*p));
    std::vector<HzSheetPicture> pictures;
    for (const tools::PicturePixels& p : pixels)
        pictures.push_back({p.width, p.height, reinterpret_cast<const unsigned char*>(p.pixels.data())});
    const std::string html = tools::SheetHtml(sheet, tools::PrintPictureTag);
    const std::string title = "Einstellungsblatt " + sheet.type;
    const HzSheetPdfInput input{html.c_str(), title.c_str(), pictures.data(), pictures.size()};
    result.clear();
    const int failed = pdf(
        &input,
        [](void* context, const char* data, size_t size) { static_cast<std::string*>(context)->append(data, size); },
        &result);
    return failed == 0;
}

class SheetCommand : public Command {
public:
    const char* name() const override { return "sheet"; }
    Operands operands() const override { return {"DATEI", "genau eine Datei", 1, 1}; }
    std::vector<CommandOption> options() const override
    {
        return {{"--html", nullptr, "AUS", "Das Blatt als HTML-Seite nach AUS (\"-\": stdout; so ohne Angabe).",
                 [](Options& o, const std::string& v) { o.html = v; }},
                {"--pdf", nullptr, "AUS", "Das Blatt als PDF (A4 hoch) nach AUS (\"-\": stdout).",
                 [](Options& o, const std::string& v) { o.pdf = v; }},
                opt::defaultConfig()};
    }
    const char* summary() const override
    {
        return "Das Einstellungsblatt eines Dekoders als HTML-Seite oder PDF, zum Abheften.";
    }
    const char* description() const override
    {
        return "Lädt DATEI wie das Programm und schreibt ihr Einstellungsblatt: Typ, Version,\n"
               "PIC, Datei, die Adresszeilen und jede Einstellung der Seite mit Beschriftung und\n"
               "Wert, Kurven und Blinkmuster als kleine Bilder, dazu Druckdatum und\n"
               "Programmversion. Die HTML-Seite ist in sich vollständig (Bilder als SVG, nichts\n"
               "wird nachgeladen); das PDF ist A4 hoch und braucht keine Anzeige. Ohne --html\n"
               "und --pdf steht die HTML-Seite auf stdout. Eine Datei, deren Dekodertyp nicht\n"
               "erkannt wird, bekommt kein Blatt.\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        const std::string html = o.html.empty() && o.pdf.empty() ? std::string("-") : o.html;
        if (isStdout(html) && isStdout(o.pdf))
            return usageError(err, "--html und --pdf können nicht beide stdout sein.");
        if (outputsClash({html, o.pdf}, inputFiles(o), err))
            return 1;

        BatchLoad in(o, err);
        if (!in.loaded()) {
            in.error("nicht geladen, kein Einstellungsblatt.");
            return 1;
        }
        if (!in.session.ident.Type) {
            in.error("Der Dekodertyp ist nicht erkannt; ohne ihn gibt es kein Einstellungsblatt.");
            return 1;
        }
        // The standard input has no name to print.
        const tools::SettingsSheet sheet = tools::BuildSettingsSheet(
            in.session, isStdin(o.files.front()) ? std::string() : o.files.front(), tools::TodayText());

        // The PDF first: when Qt cannot make it, no HTML file stands there as if all went well.
        std::string pdf;
        if (!o.pdf.empty()) {
            if (!SheetPdf(sheet, pdf)) {
                report(err, isStdout(o.pdf) ? kStdoutName : o.pdf, MsgKind::Error, pdf + " Nichts geschrieben.");
                return 1;
            }
        }
        // The files both or neither, then what goes to stdout.
        FileSet files;
        for (const std::string& input : inputFiles(o))
            files.keepIntact(input);
        std::string toStdout;
        auto put = [&](const std::string& output, std::string content) {
            if (output.empty())
                return;
            if (isStdout(output))
                toStdout = std::move(content);
            else
                files.addContent(output, std::move(content));
        };
        put(html, html.empty() ? std::string() : tools::SheetHtml(sheet));
        put(o.pdf, std::move(pdf));
        if (!reportWrite(err, "", files.commit()))
            return 1;
        out << toStdout;
        return 0;
    }
};

} // namespace

std::unique_ptr<Command> makeSheetCommand() { return std::make_unique<SheetCommand>(); }

} // namespace hz::cli
