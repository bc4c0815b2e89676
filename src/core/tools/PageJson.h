#pragma once
// The shown pages of a session as JSON, for `info --json` and the browser: one object per frame the page
// host shows for the loaded type, with every control of the page and its state.

#include <iosfwd>

#include "core/Session.h"

namespace hz::tools {

// Writes the value of "pages" (a JSON array), indented by `indent` blanks.
void writePagesJson(std::ostream& out, const Session& s, int indent);
// One page as an object: its frame, whether it holds changes not yet taken over, every
// control and the working copy ("data") where it keeps one. The object's later lines are
// indented by `indent` blanks.
void writePageJson(std::ostream& out, const pages::Page& page, int indent);
// One control as the two above write it: {"name": ..., "kind": ..., ...} on one line.
void writeControlJson(std::ostream& out, const pages::Control& c);

} // namespace hz::tools
