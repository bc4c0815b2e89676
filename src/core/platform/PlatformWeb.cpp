// WebAssembly: the tool under Node.js works on the real file system (NODERAWFS), whose files
// Node creates with the process's own umask; the browser module keeps its files in memory
// (MEMFS). Emscripten's C library knows neither the umask of the process (it starts with 0777,
// which made every new file mode 0000) nor the path of the script. Its fsync() returns at once
// without asking Node.js to sync, and its link() refuses every hard link (EMLINK), also on the
// real file system: both go to Node.js here when the file is one of Node's. In memory there is
// no disk to sync to, and no hard links: a file there always has one name, so the save never
// needs a second one but to keep a backup, which it then makes by renaming.

#include "core/platform/Platform.h"

#include <emscripten.h>

#include <cerrno>
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

// The process id of Node.js; 42 in the browser, which has no /proc to name it.
EM_JS(int, hzProcessId, (), {
    return typeof process !== "undefined" && process.pid ? process.pid : 42;
});

// Node.js's error code of `e` as the C library's number; `other` for one it does not know.
// -1: `fd` is not a descriptor of Node's (a file in memory).
EM_JS(int, hzNodeSync, (int fd, int other), {
    if (typeof FS === "undefined" || typeof require !== "function")
        return -1;
    var stream = FS.getStream(fd);
    if (!stream || typeof stream.nfd !== "number")
        return -1;
    try {
        require("fs").fsyncSync(stream.nfd);
        return 0;
    } catch (e) {
        return typeof ERRNO_CODES !== "undefined" && e.code in ERRNO_CODES ? ERRNO_CODES[e.code] : other;
    }
});

// A hard link made by Node.js; -1 where the files are not Node's.
EM_JS(int, hzNodeLink, (const char* existing, const char* name, int other), {
    if (typeof FS === "undefined" || typeof require !== "function" || typeof NODERAWFS === "undefined")
        return -1;
    try {
        require("fs").linkSync(UTF8ToString(existing), UTF8ToString(name));
        return 0;
    } catch (e) {
        return typeof ERRNO_CODES !== "undefined" && e.code in ERRNO_CODES ? ERRNO_CODES[e.code] : other;
    }
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

int ProcessId() { return hzProcessId(); }

unsigned FileCreationMask() { return static_cast<unsigned>(hzUmask()) & 0777; }

unsigned WorkerThreads() { return 1; }

// Built without threads: the work runs once, here, whatever was asked.
void RunOnThreads(unsigned, const std::function<void()>& work) { work(); }

bool LoadsModules() { return false; }

bool ReachesDescriptor(int fd) { return fd >= 0 && fd <= 2; }

// The C library of the WebAssembly build reports its standard streams' modes as it likes;
// what they are is fixed: input to read, the two outputs to write.
Access DescriptorAccess(int fd) { return fd == 0 ? Access::Read : fd == 1 || fd == 2 ? Access::Write : Access::Closed; }

int SyncDescriptor(int fd)
{
    const int err = hzNodeSync(fd, EIO);
    return err < 0 ? 0 : err; // in memory: nothing to sync to
}

int Link(const std::string& existing, const std::string& name)
{
    const int err = hzNodeLink(existing.c_str(), name.c_str(), EIO);
    return err < 0 ? EMLINK : err;
}

// No signals: a pipe whose reader has gone makes the write fail, and nothing else.
struct BrokenPipeGuard::State {};
BrokenPipeGuard::BrokenPipeGuard() = default;
BrokenPipeGuard::~BrokenPipeGuard() = default;

} // namespace hz::platform
