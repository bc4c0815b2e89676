#pragma once
// One captioned address row as the address page shows it, for the reports of the tool and the
// settings sheet.

#include <string>
#include <vector>

#include "core/Session.h"

namespace hz::tools {

struct RowReport {
    int row;
    // The address as typed or decoded ("" when the row could not be decoded); the red/green
    // state "green" or "red" of a red/green row; the function number of a function-decoder
    // row ("null" when it has none).
    std::string caption, address, state, function;
};

std::vector<RowReport> rowReports(const Session& s);

} // namespace hz::tools
