#pragma once
// The settings sheet from the window: printed through the print dialog or saved as a PDF. The
// sheet shows what the window shows, an unsaved state included (the sheet says so).

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace hz {
class Session;
}

namespace hz::gui {

class FileDialogs;

// Asks how to print (the print dialog); false when the user cancels.
using PrintDialogFunction = std::function<bool(QPrinter& printer, QWidget* parent)>;

// "Einstellungsblatt drucken…": `file` names the decoder's file on the sheet.
void PrintSettingsSheet(Session& session, const QString& file, QWidget* parent, const PrintDialogFunction& dialog);

// "Einstellungsblatt als PDF…": asks for the name (proposing the firmware's name with ".pdf")
// and writes the PDF as every file is saved, whole or not at all. Returns whether it was
// written.
bool SaveSettingsSheetPdf(Session& session, const QString& file, QWidget* parent, FileDialogs& dialogs);

} // namespace hz::gui
