#pragma once
// The JSON builder of the tool's --json output lives in core (the browser's module writes the
// same objects).

#include "core/tools/Json.h"

namespace hz::cli {

using tools::isUtf8;
using tools::jsonFileFields;
using tools::jsonSchemaField;
using tools::jsonString;
using tools::kJsonSchema;
using tools::writeJsonStringList;

} // namespace hz::cli
