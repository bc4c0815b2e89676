#pragma once
// The settings sheet from the window: printed through the print dialog or saved as a PDF. The
// sheet shows what the window shows, an unsaved state included (the sheet says so).

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace hz {
class Editor;
}

namespace hz::gui {

class FileDialogs;

// Asks how to print (the print dialog); false when the user cancels.
using PrintDialogFunction = std::function<bool(QPrinter& printer, QWidget* parent)>;

// "Einstellungsblatt drucken…": the editor's sheet, naming the file the window shows.
void PrintSettingsSheet(const Editor& editor, QWidget* parent, const PrintDialogFunction& dialog);

// "Einstellungsblatt als PDF…": asks for the name (proposing the firmware's name with ".pdf")
// and writes the PDF as every file is saved, whole or not at all. Returns whether it was
// written.
bool SaveSettingsSheetPdf(Editor& editor, QWidget* parent, FileDialogs& dialogs);

} // namespace hz::gui
