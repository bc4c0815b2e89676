#pragma once
// What the editor shows for a loaded file as one JSON object: `info --json` prints it, the
// browser's module hands it to the web page.

#include <iosfwd>
#include <string>
#include <vector>

#include "core/BatchPrompter.h"
#include "core/Session.h"

namespace hz::tools {

// The object for `session`, whose file `file` names as reports name it; `loaded` tells whether
// its load went through; `messages` are the load's messages with the answers they got.
void writeSessionJson(std::ostream& out, const Session& session, const std::string& file, bool loaded,
                      const std::vector<BatchPrompter::Shown>& messages);

} // namespace hz::tools
