#pragma once
// Scripted user actions on the shown pages, as the command-line tool's `--do` gives them:
//
//   NAME=TEXT             an edit receives TEXT as one change
//   NAME=1 / NAME=0       tick or clear a check box (its handler runs when the state changes)
//   NAME                  click a button or a radio button
//   NAME=N                move a track bar to N
//   NAME=ITEM / NAME=#k   select a list item by its text, or by its index k
//   NAME=draw:X,Y[;X,Y]   press the mouse on an image at the first point, move through every
//                         point given, release
//   NAME=PATH             a button that opens a file dialog: the dialog answers PATH
//
// An unknown, hidden or disabled control, or an action that does not fit the control's kind,
// is refused with a German reason and changes nothing.

#include <string>

#include <vector>

#include "core/pages/Page.h"

namespace hz::pages {

// Applies one action to the control of that name among `pages` (the session's shown pages).
// False with `error` when the action was refused before it reached a handler.
bool ApplyPageAction(const std::vector<Page*>& pages, const std::string& action, std::string& error);
// The same on one page.
bool ApplyPageAction(Page& page, const std::string& action, std::string& error);

} // namespace hz::pages
