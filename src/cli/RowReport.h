#pragma once
// One captioned address row as the address page shows it, for the reports of the tool.

#include <string>
#include <vector>

#include "core/Session.h"

namespace hz::cli {

struct RowReport {
    int row;
    std::string caption, address, state, function;
};

std::vector<RowReport> rowReports(const Session& s);

} // namespace hz::cli
