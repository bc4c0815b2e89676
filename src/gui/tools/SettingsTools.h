#pragma once
// "Vergleichen mit…" and "Einstellungen übernehmen aus…" of the window's file menu: ask for the
// other file, load it beside the window's session, let core/tools compare or try the carrying,
// and show the result. Messages go through the window's session, as every message of the
// window does.

#include <functional>

#include "core/Session.h"
#include "gui/common/FileDialogs.h"

class QWidget;

namespace hz::gui {

// Whether the window holds a file the two tools work on: loaded all the way through and of a
// decoder type the catalogue knows.
bool SettingsToolsAvailable(const hz::Session& session);

// Asks for another HEX file and shows how its settings differ from what the window shows now.
// Nothing in the window changes.
void CompareWithFile(QWidget* window, hz::Session& session, FileDialogs& dialogs);

// Asks for the old HEX file, shows what of its settings the loaded file would take and what not,
// and on "Übernehmen" calls `apply` with the old file's session: the window carries them in.
void TakeSettingsFromFile(QWidget* window, hz::Session& session, FileDialogs& dialogs,
                          const std::function<void(const hz::Session& from)>& apply);

} // namespace hz::gui
