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

// A number a page keeps otherwise than it was given, because it limits what it stores: the
// servo count given as 150 is kept as 100.
struct LimitedInput {
    std::string control; // the edit
    std::string given;   // the number it was given: typed, or put there by its spinner
    std::string stored;  // what the page keeps and the edit shows now
};

// ApplyPageAction, after which the user leaves the edits the action changed (they lose the
// input focus, as when the next thing is done in the window): an edit whose number the page
// stored otherwise shows the stored one (Page::userLeave) and is listed in `limited`.
bool ApplyPageActionAndLeave(const std::vector<Page*>& pages, const std::string& action, std::string& error,
                             std::vector<LimitedInput>& limited);

} // namespace hz::pages
