#pragma once
// Reasons for failed file operations, in German.
//
// The C library's strerror() speaks the language of the process locale, which on most of our
// users' machines is not set for the program (and under Qt is English anyway). The common
// reasons a hobbyist meets - a file that is gone, a folder without write permission, a full
// stick - get a German sentence of their own; rarer ones fall back to the system text.

#include <string>

namespace hz {

// German reason for `err` (an errno value), without a final full stop.
std::string SystemErrorReason(int err);

} // namespace hz
