// WebAssembly: the tool under Node.js works on the real file system (NODERAWFS), whose files
// Node creates with the process's own umask; the browser module keeps its files in memory.
// Emscripten's C library knows neither the umask of the process (it starts with 0777, which
// made every new file mode 0000) nor the path of the script.

#include "core/platform/Platform.h"

#include <fcntl.h>

#include <emscripten.h>

#include <cstdlib>

namespace hz::platform {

namespace {

// The script Node.js runs; 0 in the browser. The string is the caller's to free.
// clang-format off
EM_JS(char*, hzProgramPath, (), {
    if (typeof process === "undefined" || !process.argv || process.argv.length < 2)
        return 0;
    var path = require("path").resolve(process.argv[1]);
    var size = lengthBytesUTF8(path) + 1;
    var text = _malloc(size);
    stringToUTF8(path, text, size);
    return text;
});

// The umask of the Node.js process; the usual 022 in the browser.
EM_JS(int, hzUmask, (), {
    if (typeof process === "undefined" || typeof process.umask !== "function")
        return 18;
    return process.umask();
});
// clang-format on

} // namespace

std::string ProgramPath()
{
    char* path = hzProgramPath();
    if (!path)
        return {};
    std::string result(path);
    std::free(path);
    return result;
}

mode_t FileCreationMask() { return static_cast<mode_t>(hzUmask()) & 0777; }

unsigned WorkerThreads() { return 1; }

bool LoadsModules() { return false; }

bool ReachesDescriptor(int fd) { return fd >= 0 && fd <= 2; }

// The C library of the WebAssembly build reports its standard streams' modes as it likes;
// what they are is fixed: input to read, the two outputs to write.
int DescriptorAccess(int fd) { return fd == 0 ? O_RDONLY : fd == 1 || fd == 2 ? O_WRONLY : -1; }

} // namespace hz::platform
