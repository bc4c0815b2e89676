// HEX Zwirbel: start-up of the desktop program.
//
//   hexzwirbel [FILE.hex]                      open the window, FILE loaded before it shows
//   hexzwirbel --screenshot OUT.png [FILE.hex] load FILE, render the window to OUT.png, exit
//
// In screenshot mode nobody is there to answer a message: each one is printed to standard
// error and answered as the command-line tool answers it.

#include <QApplication>
#include <QLocale>
#include <QPixmap>
#include <QStringList>

#include <cstdio>
#include <exception>
#include <iostream>

#include "core/BatchPrompter.h"
#include "gui/app/StartupPhases.h"
#include "gui/app/TFormMain.h"
#include "gui/app/Translations.h"

int main(int argc, char** argv)
{
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
        if (shot + 1 >= args.size()) {
            std::fprintf(stderr, "usage: hexzwirbel --screenshot OUT.png [FILE.hex]\n");
            return 2;
        }
        screenshotPath = args.at(shot + 1);
        args.remove(shot, 2);
    }
    const QString fileArgument = args.isEmpty() ? QString() : args.first();

    // The same answers as the command-line tool gives.
    hz::BatchPrompter batchPrompter(std::cerr);
    batchPrompter.prefix = "hexzwirbel: ";
    hz::gui::MainWindowServices services;
    if (!screenshotPath.isEmpty())
        services.prompter = &batchPrompter;
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
        const QPixmap picture = window.grab();
        phases.mark("render");
        if (!picture.save(screenshotPath, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", screenshotPath.toLocal8Bit().constData());
            return 1;
        }
        phases.mark("png");
        return 0;
    }

    window.show();
    return QApplication::exec();
}
