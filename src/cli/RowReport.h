#pragma once
// The address rows as the tool's reports name them; the settings sheet in core reads them too.

#include "core/tools/RowReport.h"

namespace hz::cli {

using tools::RowReport;
using tools::rowReports;

} // namespace hz::cli
