#pragma once
// What the program asks of the machine it runs on and that differs between a POSIX system and
// WebAssembly (Node.js with its real file system for the tool, the browser with files in
// memory). The build links one implementation: PlatformPosix.cpp or PlatformWeb.cpp.

#include <sys/types.h>

#include <string>

namespace hz::platform {

// The file of the running program (the tool's .js file under Node.js); empty where there is
// none to tell (the browser).
std::string ProgramPath();

// The permission bits a new file must not get (the process's umask), read without changing it
// for good.
mode_t FileCreationMask();

// How many threads may work at once: 1 where there are no threads.
unsigned WorkerThreads();

// Whether the program may load a module of its own at run time (the PDF module of "sheet").
bool LoadsModules();

// Whether an open descriptor the program was started with can be written through (the
// WebAssembly tool has only its three standard streams; a descriptor a shell opened beyond them
// is out of its reach).
bool ReachesDescriptor(int fd);
// The access mode of an open descriptor (O_RDONLY, O_WRONLY, O_RDWR); -1 when it is not open.
int DescriptorAccess(int fd);

} // namespace hz::platform
