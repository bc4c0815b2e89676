// HEX Zwirbel: start-up of the desktop program.
//
//   hexzwirbel [FILE.hex]                      open the window, FILE loaded before it shows
//   hexzwirbel --screenshot OUT.png [FILE.hex] load FILE, render the window to OUT.png, exit
//   hexzwirbel --screenshot OUT.png --draw PART [FILE.hex]
//                                              the same with a menu open, or the window a menu
//                                              entry opens (the manual's pictures)
//   hexzwirbel --help | --version              print and exit, without a window
//
// In screenshot mode nobody is there to answer a message: each one is printed to standard
// error and answered as the command-line tool answers it. The window then reads no settings file:
// the picture shows the window as it comes, the same on every machine that builds the manual.

#include <QApplication>
#include <QLocale>
#include <QPixmap>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>

#include "core/BatchPrompter.h"
#include "core/Version.h"
#include "gui/app/StartupPhases.h"
#include "gui/app/TFormMain.h"
#include "gui/app/Translations.h"
#include "gui/app/WindowPictures.h"

namespace {

const char* const kHelp = "Aufruf: hexzwirbel [DATEI.hex]\n"
                          "        hexzwirbel --screenshot BILD.png [--draw TEIL] [DATEI.hex]\n"
                          "        hexzwirbel --help | --version\n"
                          "\n"
                          "Öffnet das Fenster von HEX Zwirbel, mit DATEI.hex geladen, wenn sie angegeben ist.\n"
                          "\n"
                          "Optionen:\n"
                          "  --screenshot BILD.png  Das Fenster (mit DATEI.hex geladen) als PNG-Bild zeichnen und\n"
                          "                         beenden, ohne es zu zeigen. Meldungen erscheinen auf stderr und\n"
                          "                         werden beantwortet wie von hexzwirbel-cli. Eine\n"
                          "                         Einstellungsdatei wird nicht gelesen.\n"
                          "  --draw TEIL            Mit --screenshot: statt des Fensters zeichnen\n"
                          "                           menu_file, menu_edit, menu_help  das Fenster mit offenem Menü\n"
                          "                           act_NAME=ANTWORT  das Fenster, das der Menüeintrag öffnet\n"
                          "                             (z.B. act_compare=andere.hex, act_overview=ORDNER); jede\n"
                          "                             Frage nach einer Datei oder einem Ordner bekommt ANTWORT.\n"
                          "  -h, --help             Diese Hilfe.\n"
                          "  --version              Die Version.\n"
                          "Dazu die Optionen von Qt, etwa -platform offscreen.\n"
                          "\n"
                          "Umgebung:\n"
                          "  HZ_STARTUP_PHASES      Gesetzt: jeder Schritt des Starts schreibt eine Zeile\n"
                          "                         \"phase NAME MS\" auf stderr.\n"
                          "  QT_QPA_PLATFORM        Wie bei jedem Qt-Programm; offscreen zeichnet ohne Bildschirm.\n"
                          "\n"
                          "Ohne Fenster arbeitet hexzwirbel-cli(1) mit denselben Dateien.\n";

// A usage error: one line on stderr, exit status 2.
int usageError(const std::string& what)
{
    std::fprintf(stderr, "hexzwirbel: Fehler: %s Hilfe: hexzwirbel --help\n", what.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Help and version need no window, nor a display to open one on; a file named like one
    // of them is given as ./--help.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("hexzwirbel %s\n", hz::kProgramVersion);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    }
    const StartupPhases phases;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("HEX Zwirbel"));
    // The installed desktop entry (hexzwirbel.desktop): the desktop takes its name and icon
    // for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("hexzwirbel"));

    // German dialogs and number formats whatever the system locale says: the program's own
    // texts are German, and a file dialog or a decimal comma in English would not match them.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    InstallGermanQtTranslations();
    phases.mark("application");

    QStringList args = QApplication::arguments();
    args.removeFirst();
    QString screenshotPath;
    const qsizetype shot = args.indexOf(QStringLiteral("--screenshot"));
    if (shot >= 0) {
        if (shot + 1 >= args.size())
            return usageError("Nach --screenshot fehlt der Name des Bildes (BILD.png).");
        screenshotPath = args.at(shot + 1);
        args.remove(shot, 2);
    }
    QString drawPart;
    const qsizetype draw = args.indexOf(QStringLiteral("--draw"));
    if (draw >= 0) {
        if (draw + 1 >= args.size())
            return usageError("Nach --draw fehlt, was gezeichnet werden soll.");
        if (screenshotPath.isEmpty())
            return usageError("--draw gibt es nur mit --screenshot.");
        drawPart = args.at(draw + 1);
        args.remove(draw, 2);
    }
    // Qt has taken its own options out; an option left is not one of ours, and opening it as a
    // file would only end in a puzzling message.
    for (const QString& a : args)
        if (a.size() > 1 && a.startsWith(QLatin1Char('-')))
            return usageError("Unbekannte Option " + a.toStdString() + ".");
    const QString fileArgument = args.isEmpty() ? QString() : args.first();

    // The same answers as the command-line tool gives.
    hz::BatchPrompter batchPrompter(std::cerr);
    batchPrompter.prefix = "hexzwirbel: ";
    hz::gui::MainWindowServices services;
    const hz::gui::DrawRequest request = hz::gui::ParseDrawRequest(drawPart);
    hz::gui::AnsweringFileDialogs answers(request.answer);
    QTemporaryDir noSettings;
    if (!screenshotPath.isEmpty()) {
        services.prompter = &batchPrompter;
        services.dialogs = &answers;
        services.settingsPath = noSettings.filePath(QStringLiteral("hexzwirbel.ini"));
    }
    TFormMain window(services);
    phases.mark("window");

    if (!fileArgument.isEmpty()) {
        try {
            window.LoadFile(fileArgument);
            // The second pass of the identification only redoes the window layout, so the PIC
            // suffix is added once and no message is repeated.
            window.RedoLayout();
        } catch (const std::exception& e) {
            window.session.prompter().tell(hz::MsgKind::Error, e.what(), hz::Buttons::Ok);
        }
        phases.mark("load");
    }

    if (!screenshotPath.isEmpty()) {
        // Shown without reaching the screen, so that the layouts that wait for the window to
        // show (the status bar's panels) are done and the picture is the window as seen.
        window.setAttribute(Qt::WA_DontShowOnScreen);
        window.show();
        QApplication::processEvents();
        QString error;
        const QPixmap picture = hz::gui::DrawWindowPart(window, request.name, error);
        phases.mark("render");
        if (picture.isNull()) {
            std::fprintf(stderr, "hexzwirbel: Fehler: %s\n", error.toLocal8Bit().constData());
            return 1;
        }
        if (!picture.save(screenshotPath, "PNG")) {
            std::fprintf(stderr, "hexzwirbel: %s: Fehler: Das Bild konnte nicht geschrieben werden.\n",
                         screenshotPath.toLocal8Bit().constData());
            return 1;
        }
        phases.mark("png");
        return 0;
    }

    window.show();
    return QApplication::exec();
}
