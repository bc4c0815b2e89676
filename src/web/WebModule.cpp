// The functions the web page calls in the core.

#include <emscripten.h>

#include "core/Version.h"

extern "C" {

// The program's version, as "--version" prints it.
EMSCRIPTEN_KEEPALIVE const char* hz_version() { return hz::kProgramVersion; }
}
