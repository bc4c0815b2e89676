#include "core/platform/Platform.h"

#include <fcntl.h>

#include <sys/stat.h>

#include <filesystem>
#include <system_error>
#include <thread>

namespace hz::platform {

std::string ProgramPath()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

mode_t FileCreationMask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

unsigned WorkerThreads()
{
    const unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? n : 1;
}

bool LoadsModules() { return true; }

bool ReachesDescriptor(int) { return true; }

int DescriptorAccess(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags < 0 ? -1 : flags & O_ACCMODE;
}

} // namespace hz::platform
