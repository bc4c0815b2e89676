#pragma once
// "Vergleichen mit…" and "Einstellungen übernehmen aus…" of the window's file menu: ask for the
// other file, hand it to the editor core's operation, and show what it found in a dialog. The
// loading, the checks and their messages are the core's (core/editor/Editor.h).

#include "core/editor/Editor.h"
#include "gui/common/FileDialogs.h"

class QWidget;

namespace hz::gui {

// Asks for another HEX file and shows how its settings differ from what the window shows now.
// Nothing in the window changes.
void CompareWithFile(QWidget* window, hz::Editor& editor, FileDialogs& dialogs);

// Asks for the old HEX file, shows what of its settings the loaded file would take and what not,
// and on "Übernehmen" lets the editor carry them in.
void TakeSettingsFromFile(QWidget* window, hz::Editor& editor, FileDialogs& dialogs);

} // namespace hz::gui
