#pragma once
// The shown pages as JSON for `info --json`; core writes them (the browser's module too).

#include "core/tools/PageJson.h"

namespace hz::cli {

using tools::writePageJson;
using tools::writePagesJson;

} // namespace hz::cli
