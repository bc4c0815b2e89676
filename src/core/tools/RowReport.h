#pragma once
// One captioned address row as the address page shows it, for reports: the tool's `info`, the
// layout overview and the settings sheet read the rows through here.

#include <string>
#include <vector>

#include "core/Session.h"

namespace hz::tools {

struct RowReport {
    int row;
    // The texts of the row's fields; `state` is "green" or "red" on red/green rows with EEPROM
    // room, `function` the function number ("null" when its field is empty) on function-decoder
    // rows, empty otherwise.
    std::string caption, address, state, function;
};

std::vector<RowReport> rowReports(const Session& s);

} // namespace hz::tools
