#pragma once
// The address rows for the tool's reports: the core's row report.

#include "core/tools/RowReport.h"

namespace hz::cli {

using tools::RowReport;
using tools::rowReports;

} // namespace hz::cli
