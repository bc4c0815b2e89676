// The yardstick for the editor's start-up: a bare Qt Widgets program that does what
// `hexzwirbel --screenshot OUT.png FILE` does minus the editor itself. It creates the
// application, one main window of the editor's size with a label in it, shows it, renders it
// offscreen and writes the picture as PNG. bench/compare_processes.sh times both.
//
//   bare_window --screenshot OUT.png

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QStringList>

#include <cstdio>

#include "gui/app/StartupPhases.h"

int main(int argc, char** argv)
{
    const StartupPhases phases;
    QApplication app(argc, argv);
    phases.mark("application");
    const QStringList args = QApplication::arguments();
    const qsizetype shot = args.indexOf(QStringLiteral("--screenshot"));
    if (shot < 0 || shot + 1 >= args.size()) {
        std::fprintf(stderr, "usage: bare_window --screenshot OUT.png\n");
        return 2;
    }

    QMainWindow window;
    auto* label = new QLabel(QStringLiteral("HEX Zwirbel"), &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.resize(750, 630);
    window.show();
    phases.mark("window");

    const QPixmap picture = window.grab();
    phases.mark("render");
    if (!picture.save(args.at(shot + 1), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", args.at(shot + 1).toLocal8Bit().constData());
        return 1;
    }
    phases.mark("png");
    return 0;
}
