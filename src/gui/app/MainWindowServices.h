#pragma once
// What the main window needs from its surroundings. Every member may stay empty; the window
// then uses message boxes, QFileDialog, QDesktopServices, the settings file of
// SettingsFilePath() and the data folder beside the program. Tests and the screenshot mode fill
// them in.

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace hz {
class Prompter;
}

namespace hz::gui {

class FileDialogs;

struct MainWindowServices {
    Prompter* prompter = nullptr;
    FileDialogs* dialogs = nullptr;
    // Opens an address in the user's browser; false when nothing could open it.
    std::function<bool(const QString& url)> openUrl;
    QString settingsPath;
    // The program's data folder, which holds the manual ("share/hexzwirbel").
    QString dataFolder;
    // Replaces the HEX information dialog that "HEX Info" opens modally (InfoDialog).
    std::function<void(QWidget* owner)> showInfo;
    // Replaces the print dialog of "Einstellungsblatt drucken…": sets up the printer, true to
    // print.
    std::function<bool(QPrinter& printer, QWidget* parent)> printDialog;
};

} // namespace hz::gui
