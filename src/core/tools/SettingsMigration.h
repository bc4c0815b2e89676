#pragma once
// Carrying the settings of one firmware file into another (typically a newer release of the
// same decoder): every address row of the old file goes to the row of the new one with the
// same caption (the k-th row of a caption to its k-th row, where captions repeat), every page
// setting to the control of the same name, kind and caption - typed, ticked, clicked and
// selected through the page's own handlers, as a user would - and a page's working copy to
// a page of the same frame, size and layout. What cannot be carried (no such row or control,
// another caption, a value the new file refuses, a copy whose entries mean something else
// there) is listed with the reason, never guessed, and the new file keeps its own value for
// it: what the report lists as carried is what the new file holds, and nothing else changed.

#include <string>
#include <vector>

#include "core/Session.h"

namespace hz::tools {

struct CarriedSetting {
    std::string where;   // "row", "page" or "data"
    std::string name;    // "N" (the old file's row), a control name, a page's frame
    std::string caption; // row caption, control caption, "Arbeitskopie"
    std::string value;   // what was carried ("5 grün", "7/2", "17")
    std::string reason;  // empty when carried; otherwise why not (German)
    int targetRow = 0;   // rows: the row of the new file with that caption (0: there is none)
    // Rows: the parts of `value` - the address, the state of a red/green row ("green", "red")
    // and the function number of a function-decoder row (empty where the row has none).
    std::string address{}, state{}, function{};
};

struct MigrationReport {
    // Set when the two files have nothing in common; then nothing was touched.
    std::string refusal;
    std::vector<CarriedSetting> carried;
    std::vector<CarriedSetting> notCarried;
};

// Carries the settings of `from` into `to`. `to` is left ready for the normal save; its rows
// hold the carried texts, its pages the carried settings (working copies pending).
MigrationReport MigrateSettings(const Session& from, Session& to);

// The settings of one page model into another of the same frame, through the target's
// handlers; the working copy through setData. With the target's session, what its handlers
// say about a value counts: a warning refuses the value, and the message is the reason.
void CarryPage(const pages::Page& from, pages::Page& to, MigrationReport& report, Session* target = nullptr);

} // namespace hz::tools
